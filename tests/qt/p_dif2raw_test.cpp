// The synthesis parameters dialog as a person uses it: the fields it opens
// with, the anode typed key by key, and a refused value keeping it open.
#include "ui/qt/p_dif2raw.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "core/store.h"
#include "fixtures/recording_platform.h"
#include "qt/pattern_stores.h"

using talvo::Store;
using talvo::testing::Recording_Platform;

class P_dif2raw_Test : public QObject {
  Q_OBJECT

 private:
  QLineEdit* Field(QWidget& dialog, const char* name) { return dialog.findChild<QLineEdit*>(name); }

 private slots:
  void opensOnTheStoreAndLooksTheAnodeUpOnEveryKey() {
    Store store;
    Recording_Platform platform;
    talvo::qt::P_dif2raw_Window dialog(store, platform);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Dif to Raw convertion parameters"));
    QCOMPARE(Field(dialog, "T_End")->text(), QStringLiteral("70"));
    QCOMPARE(Field(dialog, "T_FWHM")->text(), QStringLiteral("0.3"));
    QCOMPARE(Field(dialog, "T_Anode")->text(), QStringLiteral("Cu"));
    QCOMPARE(Field(dialog, "T_Lambda")->text(), QStringLiteral("1.54051"));
    QVERIFY(dialog.findChild<QRadioButton*>("O_Function_1")->isChecked());
    QVERIFY(!dialog.findChild<QCheckBox*>("Ch_range_limits")->isChecked());
    QCOMPARE(dialog.findChildren<QPushButton*>().size(), 1);  // "OK", no Cancel

    QLineEdit* anode = Field(dialog, "T_Anode");
    anode->clear();
    QTest::keyClicks(anode, "M");
    QCOMPARE(Field(dialog, "T_Lambda")->text(), QString());
    QTest::keyClicks(anode, "o");
    QCOMPARE(Field(dialog, "T_Lambda")->text(), QStringLiteral("0.70926"));

    dialog.findChild<QRadioButton*>("O_Function_2")->click();
    QTest::mouseClick(dialog.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(store.Lambda1, 0.70926f);
    QCOMPARE(store.Profile_Function, int16_t{2});
    QCOMPARE(platform.calls.back(), std::string("busy"));
  }

  void aRefusedValueKeepsItOpenWhateverClosesIt() {
    Store store;
    Recording_Platform platform;
    talvo::qt::P_dif2raw_Window dialog(store, platform);
    dialog.show();
    QLineEdit* step = Field(dialog, "T_SSize");
    step->setText(QStringLiteral("0"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    dialog.close();
    QVERIFY(dialog.isVisible());
    QCOMPARE(platform.messages.size(), std::size_t{2});
    QCOMPARE(platform.messages[0].text, std::string("The Step Size must not be 0."));
    QCOMPARE(store.Step_Size, 0.02);

    step->setText(QStringLiteral("0,05"));
    QTest::keyClick(&dialog, Qt::Key_Escape);  // Escape stores the fields like "OK"
    QVERIFY(!dialog.isVisible());
    QCOMPARE(store.Step_Size, 0.05);
    QCOMPARE(store.Nb_Points, 1340);
  }

  // The README's picture of the dialog, as it opens at start-up.
  void screenshot() {
    const QString shot = talvo::testing::Screenshot_Path("dif2raw-parameters.png");
    if (shot.isEmpty()) QSKIP("TALVO_SCREENSHOTS is not set");
    Store store;
    Recording_Platform platform;
    talvo::qt::P_dif2raw_Window dialog(store, platform);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().save(shot));
    dialog.hide();
  }
};

QTEST_MAIN(P_dif2raw_Test)
#include "p_dif2raw_test.moc"
