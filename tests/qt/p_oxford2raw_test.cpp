// The Oxford import dialog on screen: the fields it opens with, the anode
// lookup as keys are typed, the imported file shown, and closing.
#include "ui/qt/p_oxford2raw.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>
#include <iterator>

#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "qt/pattern_stores.h"

using talvo::Store;
using talvo::qt::P_oxford2raw_Window;
using talvo::testing::Recording_Platform;

class P_oxford2raw_Test : public QObject {
  Q_OBJECT

 private slots:
  void opensOnTheStoreAndShowsTheFile();
  void typingAnAnodeFillsTheWavelengthAndOkStoresIt();
  void fieldsThatGiveNoScanKeepTheDialogOpen();
  void screenshot();

 private:
  // 100 points from 10 in steps of 0.02, read from a Windows-1252 file.
  Store Imported() {
    Store store;
    store.Nb_Points = 100;
    store.Intensities.assign(101, 5.0f);
    store.Start_2Theta = 10;
    store.Step_Size = 0.02;
    store.Sample_ID = "Ros\xE9 quartz" + std::string(21, ' ');
    return store;
  }

  // The text of the file read, as the conversion hands it to the dialog.
  const std::string Lines = "[Ros\xE9 quartz]\r\n2theta counts\r\n10.00 1 5 1 0\r\n";
  Recording_Platform platform;
};

void P_oxford2raw_Test::opensOnTheStoreAndShowsTheFile() {
  Store store = Imported();
  P_oxford2raw_Window dialog(store, Lines, platform);
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Oxford to raw convertion parameters"));
  QCOMPARE(dialog.T_Spid->text(), QStringLiteral("Rosé quartz") + QString(21, ' '));
  QCOMPARE(dialog.T_Time->text(), QStringLiteral("1"));
  QCOMPARE(dialog.T_SSize->text(), QStringLiteral("0.02"));
  QCOMPARE(dialog.T_Start->text(), QStringLiteral("10"));
  QCOMPARE(dialog.T_End->text(), QStringLiteral("12"));
  QCOMPARE(dialog.T_Anode->text(), QStringLiteral("Cu"));
  QCOMPARE(dialog.E_Lambda->text(), QStringLiteral("Lambda K1"));
  QCOMPARE(dialog.T_Lambda->text(), QStringLiteral("1.5419"));
  QVERIFY(dialog.RTB_Lines->isReadOnly());
  QCOMPARE(dialog.RTB_Lines->toPlainText(), QStringLiteral("[Rosé quartz]\n2theta counts\n10.00 1 5 1 0\n"));
}

void P_oxford2raw_Test::typingAnAnodeFillsTheWavelengthAndOkStoresIt() {
  Store store = Imported();
  P_oxford2raw_Window dialog(store, Lines, platform);
  dialog.show();
  dialog.T_Anode->clear();
  QCOMPARE(dialog.T_Lambda->text(), QString());
  QTest::keyClicks(dialog.T_Anode, "m");
  QCOMPARE(dialog.E_Lambda->text(), QStringLiteral("Lambda K1"));
  QCOMPARE(dialog.T_Lambda->text(), QString());
  QTest::keyClicks(dialog.T_Anode, "o");
  QCOMPARE(dialog.E_Lambda->text(), QStringLiteral("Lambda Moy"));
  QCOMPARE(dialog.T_Lambda->text(), QStringLiteral("0.71073"));
  dialog.T_Time->setText(QStringLiteral("2,5"));
  QTest::mouseClick(dialog.Command1, Qt::LeftButton);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(store.Lambda1, 0.71073f);
  QCOMPARE(store.Time_Step, 2.5f);
  QCOMPARE(store.Nb_Points, 100);
  QVERIFY(platform.busy);
}

void P_oxford2raw_Test::fieldsThatGiveNoScanKeepTheDialogOpen() {
  Store store = Imported();
  const Store before = store;
  P_oxford2raw_Window dialog(store, Lines, platform);
  dialog.show();
  dialog.T_SSize->setText(QStringLiteral("0"));
  QTest::keyClick(&dialog, Qt::Key_Escape);  // Escape stores as OK does
  QVERIFY(dialog.isVisible());
  QCOMPARE(platform.messages.size(), std::size_t{1});
  QCOMPARE(platform.messages[0].text, std::string("Step Size: the step size must not be 0."));
  QVERIFY(platform.messages[0].icon == talvo::Icon::Exclamation);
  QVERIFY(store == before);
  dialog.T_SSize->setText(QStringLiteral("0.02"));
  dialog.close();
  QVERIFY(!dialog.isVisible());
  QCOMPARE(store.Nb_Points, 100);
}

// The README's picture of the dialog, over the shipped Oxford sample.
void P_oxford2raw_Test::screenshot() {
  const QString shot = talvo::testing::Screenshot_Path("oxford-parameters.png");
  if (shot.isEmpty()) QSKIP("TALVO_SCREENSHOTS is not set");
  Store store;
  store.Nb_Points = 1100;
  store.Intensities.assign(1101, 30.0f);
  store.Start_2Theta = 15;
  store.Step_Size = 0.05;
  store.Sample_ID = "Quartz synthetic standard" + std::string(7, ' ');
  std::ifstream sample(TALVO_SAMPLES "/quartz.dat", std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(sample)), std::istreambuf_iterator<char>());
  P_oxford2raw_Window dialog(store, text, platform);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QVERIFY(dialog.grab().save(shot));
}

QTEST_MAIN(P_oxford2raw_Test)
#include "p_oxford2raw_test.moc"
