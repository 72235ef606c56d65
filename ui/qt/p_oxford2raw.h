// The Oxford import parameters dialog of the desktop program: a thin view
// that moves text between its widgets and the dialog's logic.
#pragma once

#include <QDialog>
#include <string>

#include "ui/p_oxford2raw.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

// Shown modally over `parent`; returns when it has closed.
void Show_P_oxford2raw(Store& store, const std::string& lines, Platform& platform, QWidget* parent);

class P_oxford2raw_Window : public QDialog {
  Q_OBJECT

 public:
  // Opens on the store's values; closing in any way stores the fields.
  P_oxford2raw_Window(Store& store, const std::string& lines, Platform& platform, QWidget* parent = nullptr);

  QLineEdit* T_Spid;
  QPlainTextEdit* RTB_Lines;
  QLineEdit* T_Anode;
  QLabel* E_Lambda;
  QLineEdit* T_Lambda;
  QLineEdit* T_Time;
  QLineEdit* T_SSize;
  QLineEdit* T_Start;
  QLineEdit* T_End;
  QPushButton* Command1;

  // "OK", the close box and Escape all end here: the fields are stored, or,
  // when they give no scan, the user is told why and the dialog stays open.
  void done(int result) override;

 private slots:
  void on_T_Anode_textChanged(const QString& text);
  void on_Command1_clicked();

 private:
  void Show_Fields();
  void Take_Fields();

  P_oxford2raw logic_;
  Platform& platform_;
};

}  // namespace talvo::qt
