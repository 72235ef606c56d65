// The platform services of the desktop program, on Qt.
#pragma once

#include <QPointer>
#include <QWidget>

#include "core/platform.h"

class QMessageBox;

namespace talvo::qt {

class Qt_Platform : public Platform {
 public:
  // Dialogs and message boxes are shown over `owner` (the main window).
  void Set_Owner(QWidget* owner) { owner_ = owner; }

  void Show_Message(const std::string& text, Icon icon, const std::string& title) override;
  bool Ask_Yes_No(const std::string& text, const std::string& title) override;
  std::optional<std::string> Ask_Text(const std::string& prompt, const std::string& title,
                                      const std::string& proposed) override;
  void Set_Busy(bool busy) override;
  void Do_Events() override;
  char Decimal_Separator() override;
  std::string Short_Date() override;
  void Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) override;
  void Show_Oxford2Raw(Store& store, const std::string& lines) override;
  void Show_Preview(const Store& store) override;
  void Show_BMPSaver(const Store& store, const std::string& path) override;

 private:
  int Exec_Box(QMessageBox& box);

  QPointer<QWidget> owner_;
  bool busy_ = false;
};

// UTF-8 text of the platform interface to and from Qt.
QString To_Q(const std::string& utf8);
std::string From_Q(const QString& text);

}  // namespace talvo::qt
