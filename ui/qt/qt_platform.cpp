#include "ui/qt/qt_platform.h"

#include <QApplication>
#include <QDate>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <ctime>

#include "core/regional.h"
#include "ui/qt/bmp_saver.h"
#include "ui/qt/f_preview.h"
#include "ui/qt/p_dif2raw.h"
#include "ui/qt/p_oxford2raw.h"

namespace talvo::qt {

QString To_Q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string From_Q(const QString& text) {
  return text.toUtf8().toStdString();
}

namespace {

// The texts hold a carriage return where a line breaks.
QString Message_Text(const std::string& text) {
  QString shown = To_Q(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  return shown;
}

}  // namespace

void Qt_Platform::Show_Message(const std::string& text, Icon icon, const std::string& title) {
  const QMessageBox::Icon shown = icon == Icon::Exclamation ? QMessageBox::Warning
                                  : icon == Icon::Critical  ? QMessageBox::Critical
                                                            : QMessageBox::NoIcon;
  QMessageBox box(shown, To_Q(title), Message_Text(text), QMessageBox::Ok, owner_);
  Exec_Box(box);
}

// A box must be usable whatever pointer the work left: the normal pointer
// while it shows, the busy one back afterwards.
int Qt_Platform::Exec_Box(QMessageBox& box) {
  const bool was_busy = busy_;
  if (was_busy) QGuiApplication::restoreOverrideCursor();
  const int answer = box.exec();
  if (was_busy) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  return answer;
}

bool Qt_Platform::Ask_Yes_No(const std::string& text, const std::string& title) {
  // Built by hand: QMessageBox::question adds a question-mark icon.
  QMessageBox box(QMessageBox::NoIcon, To_Q(title), Message_Text(text), QMessageBox::Yes | QMessageBox::No, owner_);
  box.setDefaultButton(QMessageBox::Yes);
  return Exec_Box(box) == QMessageBox::Yes;
}

std::optional<std::string> Qt_Platform::Ask_Text(const std::string& prompt, const std::string& title,
                                                 const std::string& proposed) {
  bool ok = false;
  const QString answer =
      QInputDialog::getText(owner_, To_Q(title), To_Q(prompt), QLineEdit::Normal, To_Q(proposed), &ok);
  if (!ok) return std::nullopt;
  return From_Q(answer);
}

void Qt_Platform::Set_Busy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy)
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QGuiApplication::restoreOverrideCursor();
}

void Qt_Platform::Do_Events() {
  QCoreApplication::processEvents();
}

// On Windows the regional settings are the user's, which Qt reads; elsewhere
// they are the C library's categories, which Qt would take by name even
// when the locale is not installed.
char Qt_Platform::Decimal_Separator() {
#ifdef _WIN32
  const QString point = QLocale::system().decimalPoint();
  return point.size() == 1 && point[0].unicode() < 128 ? static_cast<char>(point[0].unicode()) : '.';
#else
  return Regional_Decimal_Separator();
#endif
}

std::string Qt_Platform::Short_Date() {
#ifdef _WIN32
  return From_Q(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
#else
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Regional_Short_Date(local);
#endif
}

void Qt_Platform::Show_Dif2Raw(Store& store, Dif2Raw_Opening opening) {
  Show_P_dif2raw(store, *this, opening, owner_);
}
void Qt_Platform::Show_Oxford2Raw(Store& store, const std::string& lines) {
  Show_P_oxford2raw(store, lines, *this, owner_);
}
void Qt_Platform::Show_Preview(const Store& store) {
  Show_F_Preview(store, *this, owner_);
}
void Qt_Platform::Show_BMPSaver(const Store& store, const std::string& path) {
  qt::Show_BMPSaver(store, path, *this, owner_);
}

}  // namespace talvo::qt
