// The bitmap window under the offscreen platform: the retained picture, its
// activations, and the file it saves however it is closed.
#include "ui/qt/bmp_saver.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/failure.h"
#include "fixtures/bitmap_scans.h"
#include "qt/pattern_stores.h"
#include "ui/qt/qt_platform.h"

using namespace talvo;

namespace {

// A synthesised-like scan: 1000 points, its largest, 1013, at point 700.
Store Thousand_Points() {
  Store store;
  store.Nb_Points = 1000;
  store.Intensities.assign(1001, 0);
  for (int k = 1; k <= 1000; ++k) store.Intensities[k] = 100 + 50 * std::sin(k / 40.0);
  store.Intensities[700] = 1013;
  store.Max_Intensity = 1013;
  return store;
}

bool Is_Black(const QImage& image, int x, int y) {
  return image.pixel(x, y) == qRgb(0, 0, 0);
}

int Black_In_Column(const QImage& image, int x) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) n += Is_Black(image, x, y);
  return n;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class BMPSaver_Test : public QObject {
  Q_OBJECT

 private slots:
  void Activation_Draws_The_Curve_Into_The_Retained_Picture() {
    const Store store = Thousand_Points();
    qt::Qt_Platform platform;
    QTemporaryDir dir;
    qt::BMPSaver window(store, dir.filePath("A.BMP").toStdString(), platform, nullptr);
    QCOMPARE(window.windowTitle(), QStringLiteral("BMP Saver"));
    auto* ok = window.findChild<QPushButton*>("Command1");
    QVERIFY(ok != nullptr);
    QCOMPARE(ok->text(), QStringLiteral("Ok"));
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const QImage first = window.Picture();
    QCOMPARE(first.size(), QSize(320, 240));
    // Point 700 of 1000 sits at (700 - 1) * 320 / 999 = 223.9 pixels.
    int top = -1;
    for (int x = 0; x < 320; ++x)
      if (Is_Black(first, x, 0)) top = x;
    QVERIFY2(top >= 222 && top <= 225, qPrintable(QString::number(top)));
    for (int x : {0, 1, 160, 318, 319}) QVERIFY2(Black_In_Column(first, x) > 0, qPrintable(QString::number(x)));
    QCOMPARE(first.pixel(100, 5), qRgb(255, 255, 255));

    // A second activation draws the same curve over itself.
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&window, &activate);
    QCOMPARE(window.Picture(), first);

    window.close();
  }

  void Screenshot() {
    const QString shot = testing::Screenshot_Path("bmp-saver.png");
    if (shot.isEmpty()) QSKIP("TALVO_SCREENSHOTS is not set");
    const Store store = testing::Quartz_Scan();
    qt::Qt_Platform platform;
    QTemporaryDir dir;
    qt::BMPSaver window(store, dir.filePath("QTZ.BMP").toStdString(), platform, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.grab().save(shot));
    window.close();
  }

  void The_Close_Box_Saves_The_Same_File_As_Ok() {
    const Store store = Thousand_Points();
    qt::Qt_Platform platform;
    QTemporaryDir dir;
    const QString by_ok = dir.filePath("OK.BMP"), by_close = dir.filePath("CLOSE.BMP");
    QFile old(by_close);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("an older file of that name");
    old.close();

    QTimer::singleShot(0, [] {
      if (auto* window = QApplication::activeModalWidget())
        if (auto* ok = window->findChild<QPushButton*>("Command1")) ok->click();
    });
    qt::Show_BMPSaver(store, by_ok.toStdString(), platform, nullptr);
    QTimer::singleShot(0, [] {
      if (auto* window = QApplication::activeModalWidget()) window->close();
    });
    qt::Show_BMPSaver(store, by_close.toStdString(), platform, nullptr);

    const QByteArray ok_bytes = Read(by_ok);
    QCOMPARE(Read(by_close), ok_bytes);
    QCOMPARE(ok_bytes.left(2), QByteArray("BM"));
    QCOMPARE(static_cast<int>(ok_bytes.at(28)), 24);  // bits per pixel
    QImage saved;
    QVERIFY(saved.loadFromData(ok_bytes, "BMP"));
    QCOMPARE(saved.size(), QSize(320, 240));
    QCOMPARE(saved.pixel(100, 5), qRgb(255, 255, 255));
    QVERIFY(Black_In_Column(saved, 319) > 0);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
  }

  // The window shows and saves the picture talvo-convert writes: the
  // reference files of the QPainter painter, byte for byte.
  void Every_Reference_Scan_Is_Saved_As_Its_Reference_File() {
    qt::Qt_Platform platform;
    QTemporaryDir dir;
    for (const auto& scan : testing::Bitmap_Scans()) {
      const Store store = testing::Bitmap_Store(scan);
      const QString path = dir.filePath(QString::fromStdString(scan.file));
      QTimer::singleShot(0, [] {
        if (auto* window = QApplication::activeModalWidget()) window->close();
      });
      qt::Show_BMPSaver(store, path.toStdString(), platform, nullptr);
      const QByteArray want = Read(QStringLiteral(TALVO_TEST_DATA "/bitmaps/") + QString::fromStdString(scan.file));
      QVERIFY2(!want.isEmpty(), scan.file.c_str());
      QVERIFY2(Read(path) == want, scan.file.c_str());
    }
  }

  void A_File_That_Cannot_Be_Written_Is_Reported_After_The_Window_Closes() {
    const Store store = Thousand_Points();
    qt::Qt_Platform platform;
    QTemporaryDir dir;
    QTimer::singleShot(0, [] {
      if (auto* window = QApplication::activeModalWidget()) window->close();
    });
    QString text;
    try {
      qt::Show_BMPSaver(store, dir.filePath("missing/A.BMP").toStdString(), platform, nullptr);
    } catch (const Failure& failure) {
      text = QString::fromUtf8(failure.what());
    }
    QVERIFY2(text.startsWith("A.BMP cannot be written"), qPrintable(text));
  }
};

QTEST_MAIN(BMPSaver_Test)
#include "bmp_saver_test.moc"
