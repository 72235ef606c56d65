// The preview window under the offscreen platform: opened by Preview on a
// RAW file, and on a peak list, its picture read back from a grab.
#include "ui/qt/f_preview.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "core/dispatch.h"
#include "core/registry.h"
#include "fixtures/raw_builder.h"
#include "formats/format_table.h"
#include "qt/pattern_stores.h"
#include "ui/qt/qt_platform.h"

using namespace talvo;

namespace {

bool Is(QRgb pixel, int r, int g, int b) {
  return qRed(pixel) == r && qGreen(pixel) == g && qBlue(pixel) == b;
}

// Pixels of `colour` in column x, rows from..to.
int Count_In_Column(const QImage& image, int x, int from, int to, QColor colour) {
  int n = 0;
  for (int y = from; y <= to; ++y) n += image.pixelColor(x, y) == colour;
  return n;
}

// The best of the columns next to x, for an edge that may fall either side.
int Near_Column(const QImage& image, int x, int from, int to, QColor colour) {
  int best = 0;
  for (int dx = -1; dx <= 1; ++dx) best = std::max(best, Count_In_Column(image, x + dx, from, to, colour));
  return best;
}

int Count(const QImage& image, QColor colour) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
  return n;
}

// The frame's edges in pixels: x from -15 to 110, y from 110 down to -20.
int Frame_X(double x, int width) {
  return static_cast<int>((x + 15) / 125 * width);
}
int Frame_Y(double y, int height) {
  return static_cast<int>((110 - y) / 130 * height);
}

void Save_Screenshot(const QImage& image, const char* name) {
  const QString path = testing::Screenshot_Path(name);
  if (!path.isEmpty()) QVERIFY(image.save(path));
}

}  // namespace

class F_Preview_Test : public QObject {
  Q_OBJECT

 private slots:
  void Preview_Of_A_Raw_File_Opens_At_Its_Size_Titled_With_The_Sample() {
    QTemporaryDir dir;
    testing::Raw_Scan scan;
    scan.sample = "Quartz standard";
    scan.start_2theta = 10;
    scan.step = 0.5f;
    scan.intensities.assign(41, 50);  // 10 .. 30 degrees
    scan.intensities[20] = 500;       // the largest, at 20 degrees
    const auto bytes = testing::Raw2_File(scan);
    const QString path = dir.filePath("QTZ.RAW");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    file.close();

    Store store;
    qt::Qt_Platform platform;
    Session session{store, platform, Format_Table()};

    QImage grabbed;
    QString title;
    QSize size;
    QTimer::singleShot(0, [&] {
      QWidget* window = QApplication::activeModalWidget();
      if (window == nullptr) return;
      title = window->windowTitle();
      size = window->size();
      grabbed = window->grab().toImage();
      window->close();
    });
    Preview(session, "Diffrac-Plus RAW", path.toStdString());

    QCOMPARE(title, QStringLiteral("Quartz standard                 "));
    QCOMPARE(size, QSize(415, 307));
    QCOMPARE(grabbed.size(), QSize(415, 307));
    // The red curve fills the frame edge to edge, and its largest point
    // touches the top of the frame.
    const QColor red(255, 0, 0);
    QVERIFY(Count(grabbed, red) > 100);
    QVERIFY(Near_Column(grabbed, Frame_X(0, 415), Frame_Y(12, 307), Frame_Y(8, 307), red) > 0);
    QVERIFY(Near_Column(grabbed, Frame_X(100, 415) - 1, Frame_Y(12, 307), Frame_Y(8, 307), red) > 0);
    QVERIFY(Near_Column(grabbed, Frame_X(50, 415), Frame_Y(101, 307), Frame_Y(99, 307), red) > 0);
    // White inside the frame, black along its left edge.
    QVERIFY(Is(grabbed.pixel(Frame_X(25, 415), Frame_Y(50, 307)), 255, 255, 255));
    QVERIFY(Near_Column(grabbed, Frame_X(0, 415), Frame_Y(90, 307), Frame_Y(20, 307), Qt::black) > 100);
  }

  void Peak_List_Draws_Dark_Blue_Sticks_And_Follows_A_Resize() {
    Store store = testing::Quartz_Peaks();
    qt::Qt_Platform platform;
    qt::F_Preview window(store, platform, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QImage image = window.grab().toImage();
    Save_Screenshot(image, "preview-peaks.png");
    const QColor blue(0, 0, 128);
    // The strongest line, 26.64 at 100, runs from the top of the frame to
    // the axis.
    const int x = Frame_X((26.64 - 15) * 100 / 55, image.width());
    int column = -1;
    for (int dx = -1; dx <= 1 && column < 0; ++dx)
      if (Count_In_Column(image, x + dx, 0, image.height() - 1, blue) > 0) column = x + dx;
    QVERIFY(column >= 0);
    const int rows = Frame_Y(0, image.height()) - Frame_Y(100, image.height());
    QVERIFY(Count_In_Column(image, column, 0, image.height() - 1, blue) >= rows - 2);
    QVERIFY(Count(image, QColor(255, 0, 0)) == 0);

    window.resize(830, 400);
    QTRY_COMPARE(window.grab().size(), QSize(830, 400));
    image = window.grab().toImage();
    QVERIFY(Near_Column(image, Frame_X(0, 830), Frame_Y(90, 400), Frame_Y(10, 400), Qt::black) > 200);
    QVERIFY(Near_Column(image, Frame_X(100, 830), Frame_Y(90, 400), Frame_Y(10, 400), Qt::black) > 200);
  }

  void Scan_Screenshot() {
    if (testing::Screenshot_Path("x").isEmpty()) QSKIP("TALVO_SCREENSHOTS is not set");
    Store store = testing::Quartz_Scan();
    qt::Qt_Platform platform;
    qt::F_Preview window(store, platform, nullptr);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Save_Screenshot(window.grab().toImage(), "preview-scan.png");
  }
};

QTEST_MAIN(F_Preview_Test)
#include "f_preview_test.moc"
