// The Qt platform services: what the boxes show, and the busy pointer.
#include "ui/qt/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

namespace talvo {

class Qt_Platform_Test : public QObject {
  Q_OBJECT

  // Runs `inspect` on the message box once it shows; a watchdog closes a
  // box that stays open, so no test hangs.
  static void When_Box(std::function<void(QMessageBox*)> inspect) {
    QTimer::singleShot(0, [inspect] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY2(box != nullptr, "no message box");
      inspect(box);
    });
    QTimer::singleShot(5000, [] {
      if (QWidget* left = QApplication::activeModalWidget()) left->close();
    });
  }

 private slots:
  void warningShowsItsLinesTitleIconAndOk() {
    qt::Qt_Platform platform;
    bool seen = false;
    When_Box([&](QMessageBox* box) {
      seen = true;
      QCOMPARE(box->text(), QStringLiteral("You must select\nan input file."));
      QCOMPARE(box->windowTitle(), QStringLiteral("Error !"));
      QCOMPARE(box->icon(), QMessageBox::Warning);
      QCOMPARE(box->standardButtons(), QMessageBox::Ok);
      box->button(QMessageBox::Ok)->click();
    });
    platform.Show_Message("You must select\ran input file.", Icon::Exclamation, "Error !");
    QVERIFY(seen);
  }

  void plainMessageHasNoIcon() {
    qt::Qt_Platform platform;
    When_Box([](QMessageBox* box) {
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->windowTitle(), QStringLiteral("Talvo"));
      QCOMPARE(box->text(), QStringLiteral("DIF1 files are no longer supported"));
      box->button(QMessageBox::Ok)->click();
    });
    platform.Show_Message("DIF1 files are no longer supported", Icon::None, Program_Title);
  }

  void questionHasYesAndNoWithoutIcon() {
    qt::Qt_Platform platform;
    for (const bool yes : {true, false}) {
      When_Box([yes](QMessageBox* box) {
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box->text(), QStringLiteral("Do you really want multiple file conversions ?"));
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      });
      QCOMPARE(platform.Ask_Yes_No("Do you really want multiple file conversions ?", Program_Title), yes);
    }
  }

  void busyPointerIsOneStateAndBoxesShowTheNormalOne() {
    qt::Qt_Platform platform;
    platform.Set_Busy(true);
    platform.Set_Busy(true);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    When_Box([](QMessageBox* box) {
      QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
      box->button(QMessageBox::Ok)->click();
    });
    platform.Show_Message("I Can't do that!", Icon::Exclamation, Program_Title);
    QVERIFY(QGuiApplication::overrideCursor() != nullptr);
    platform.Set_Busy(false);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);  // one restore undid both busy calls
    platform.Set_Busy(false);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  }
};

}  // namespace talvo

QTEST_MAIN(talvo::Qt_Platform_Test)
#include "qt_platform_test.moc"
