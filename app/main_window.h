// The main window TALVO2: the two type lists and name fields, the Convert
// button, the file dialogs and the menus.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/dispatch.h"
#include "core/registry.h"
#include "core/store.h"
#include "ui/qt/qt_platform.h"
#include "ui/type_lists.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace talvo::app {

// What a file dialog gave: the chosen paths, the user's cancel, or an error
// with its number.
struct Browse_Result {
  enum class Outcome { Chosen, Cancelled, Failed };
  Outcome outcome = Outcome::Cancelled;
  QStringList paths;
  int error = 0;
};

// Shows the "open" dialog (several files may be chosen) or the "save"
// dialog (the name is not checked), with the type's pattern as filter, in
// `folder` when one is given.
using File_Chooser =
    std::function<Browse_Result(QWidget* parent, bool open, const QString& pattern, const QString& folder)>;
Browse_Result Choose_Files(QWidget* parent, bool open, const QString& pattern, const QString& folder = QString());

class Main_Window : public QMainWindow {
  Q_OBJECT

 public:
  // Without a platform the window uses the Qt services over itself; without
  // a registry, the program's types with their readers and writers.
  explicit Main_Window(Platform* platform = nullptr, const Registry* registry = nullptr, QWidget* parent = nullptr);
  ~Main_Window() override;

  void Set_File_Chooser(File_Chooser chooser) { chooser_ = std::move(chooser); }
  Store& Pattern_Store() { return store_; }
  // True while a conversion request runs (it yields to events before each file).
  bool Converting() const { return running_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Files dropped on the window fill the input field as Browse would.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private slots:
  void on_C_Convertion_clicked();
  void on_T_Input_returnPressed();
  void on_T_Output_returnPressed();
  void on_C_InBrowse_clicked();
  void on_C_OutBrowse_clicked();
  void on_Input_Choice_editTextChanged(const QString& text);
  void on_Output_Choice_editTextChanged(const QString& text);
  void on_M_Preview_triggered();
  void on_M_Quitter_triggered();
  void on_M_dif2raw_par_triggered();
  void on_M_Apropos_triggered();

 private:
  void Build_Controls();
  void Build_Menus();
  void Fill_Type_List(QComboBox* combo, const Type_List& list);
  void Conversion_Request();
  void Browse(const Type_List& list, const std::vector<std::string>& patterns, QLineEdit* field, bool open);
  void Fill_Field(QLineEdit* field, const QStringList& chosen, bool open);

  std::unique_ptr<qt::Qt_Platform> own_platform_;
  Platform& platform_;
  const Registry& registry_;
  Store store_;
  Type_Lists lists_;
  Session session_;
  File_Chooser chooser_ = Choose_Files;
  bool running_ = false;
  bool quitting_ = false;

  QComboBox* Input_Choice = nullptr;
  QComboBox* Output_Choice = nullptr;
  QLineEdit* T_Input = nullptr;
  QLineEdit* T_Output = nullptr;
  QToolButton* C_Convertion = nullptr;
  QPushButton* C_InBrowse = nullptr;
  QPushButton* C_OutBrowse = nullptr;
};

}  // namespace talvo::app
