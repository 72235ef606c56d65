// The main window under the offscreen platform, with recorded platform
// services, and one conversion through the real readers and writers.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "fixtures/raw_builder.h"
#include "fixtures/recording_platform.h"
#include "formats/format_table.h"

namespace talvo {
namespace {

using testing::Recorded_Message;

// The recording services, with a hook into the event step of a batch.
class Hooked_Platform : public testing::Recording_Platform {
 public:
  std::function<void()> on_events;
  void Do_Events() override {
    Recording_Platform::Do_Events();
    if (on_events) on_events();
  }
};

// The program's types with readers and writers that only log what they
// were called with; no file is opened, and every file reads as RAW version 2.
class Fake_Formats {
 public:
  std::vector<std::string> log;
  Registry functions = Format_Table();

  Fake_Formats() {
    functions.open = [](const std::string& path) { return Input_File{path, path, {}}; };
    functions.signature = [](const Input_File&, Store&) -> int16_t { return 4; };
    for (auto& type : functions.inputs)
      for (auto& rule : type.rules)
        if (rule.reader)
          rule.reader->read = [this](const Input_File& file, Store&) {
            log.push_back("read " + file.path);
            return Read_Result{};
          };
    for (auto& type : functions.outputs)
      for (Output_Rule* rule : {&type.scan, &type.peaks})
        if (rule->writer)
          rule->writer = [this](const std::string& path, const Store&, Platform&) { log.push_back("write " + path); };
    functions.synthesis = {[this](Store&) { log.push_back("synthesis"); }, [](Store&) {}};
  }
};

using Log = std::vector<std::string>;

// Runs `inspect` on the modal window once it shows, then closes what is left
// open; a watchdog closes a window that was not expected, so no test hangs.
void When_Modal(std::function<void(QWidget*)> inspect) {
  QTimer::singleShot(0, [inspect] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY2(modal != nullptr, "no modal window");
    inspect(modal);
    if (QApplication::activeModalWidget() == modal) modal->close();
  });
  QTimer::singleShot(5000, [] {
    if (QWidget* left = QApplication::activeModalWidget()) left->close();
  });
}

}  // namespace

class Main_Window_Test : public QObject {
  Q_OBJECT

  std::unique_ptr<Hooked_Platform> platform;
  std::unique_ptr<Fake_Formats> formats;
  std::unique_ptr<app::Main_Window> window;

  template <typename T>
  T* Child(const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) qFatal("no control %s", name);
    return child;
  }
  QLineEdit* Input() { return Child<QLineEdit>("T_Input"); }
  QLineEdit* Output() { return Child<QLineEdit>("T_Output"); }
  QAction* Action(const char* name) { return Child<QAction>(name); }
  void Select(const char* combo, const char* type) {
    QComboBox* list = Child<QComboBox>(combo);
    list->setCurrentIndex(list->findText(QString::fromLatin1(type)));
  }

 private slots:
  void init() {
    platform = std::make_unique<Hooked_Platform>();
    formats = std::make_unique<Fake_Formats>();
    window = std::make_unique<app::Main_Window>(platform.get(), &formats->functions);
  }
  void cleanup() {
    window.reset();
    formats.reset();
    platform.reset();
  }

  void controlsSitWhereTheLayoutPutsThem() {
    QCOMPARE(window->objectName(), QStringLiteral("TALVO2"));
    QCOMPARE(window->windowTitle(), QStringLiteral("TALVO 3.1.1"));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->centralWidget()->size(), QSize(442, 212));
    const struct {
      const char* name;
      QRect twips;
    } layout[] = {
        {"Label3", {120, 180, 735, 255}},         {"Input_Choice", {960, 120, 4455, 315}},
        {"C_InBrowse", {5520, 120, 975, 375}},    {"Label5", {0, 600, 855, 255}},
        {"T_Input", {960, 600, 5535, 285}},       {"Label1", {360, 1080, 1155, 360}},
        {"C_Convertion", {5520, 960, 975, 1155}}, {"Label2", {120, 1680, 1455, 375}},
        {"Label4", {120, 2340, 735, 255}},        {"Output_Choice", {960, 2280, 4455, 315}},
        {"C_OutBrowse", {5520, 2280, 975, 375}},  {"Label6", {0, 2760, 855, 255}},
        {"T_Output", {960, 2760, 5535, 285}},
    };
    for (const auto& control : layout) {
      const QRect& t = control.twips;
      QCOMPARE(Child<QWidget>(control.name)->geometry(),
               QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15));
    }
    for (const char* name : {"Label3", "Label4", "Label5", "Label6"})
      QVERIFY(Child<QLabel>(name)->alignment() & Qt::AlignRight);
    QCOMPARE(Child<QLabel>("Label3")->text(), QStringLiteral("File type :"));
    QCOMPARE(Child<QLabel>("Label6")->text(), QStringLiteral("File name :"));
    QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("Input File"));
    QCOMPARE(Child<QLabel>("Label2")->text(), QStringLiteral("Output File"));
    QCOMPARE(Child<QLabel>("Label1")->font().pointSizeF(), 13.5);
    QCOMPARE(Child<QLabel>("Label2")->font().pointSizeF(), 13.5);

    auto* convert = Child<QToolButton>("C_Convertion");
    QCOMPARE(convert->text(), QStringLiteral("&Convert"));
    QCOMPARE(convert->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QVERIFY(!convert->icon().isNull());
    QVERIFY(convert->font().bold());
    QCOMPARE(convert->palette().color(QPalette::Button), QColor(192, 192, 192));
    QCOMPARE(Child<QPushButton>("C_InBrowse")->text(), QStringLiteral("Browse..."));
  }

  void startsWithTheTypeListsAndFocusInTheInputField() {
    auto* in = Child<QComboBox>("Input_Choice");
    auto* out = Child<QComboBox>("Output_Choice");
    // The system's ten inputs and eight outputs first, then a separator
    // before today's types.
    auto separator = [](QComboBox* list, int at) {
      return list->itemData(at, Qt::AccessibleDescriptionRole).toString() == QStringLiteral("separator");
    };
    QVERIFY(in->count() > 11);
    QVERIFY(separator(in, 10));
    for (int at = 0; at < 10; ++at) QVERIFY(!separator(in, at));
    QVERIFY(out->count() == 8 || separator(out, 8));
    QVERIFY(out->findText(QStringLiteral("GSAS FXYE")) > 8);
    QCOMPARE(in->itemText(9), QStringLiteral("Automatic (by signature)"));
    QCOMPARE(out->itemText(6), QStringLiteral("U-Fit"));
    QCOMPARE(in->currentText(), QStringLiteral("Diffrac-Plus RAW"));
    QCOMPARE(out->currentText(), QStringLiteral("Formatted text (RAW)"));
    QVERIFY(in->isEditable() && out->isEditable());
    QVERIFY(Input()->text().isEmpty() && Output()->text().isEmpty());

    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QCOMPARE(QApplication::focusWidget(), Input());
    // The keyboard order.
    const char* order[] = {"T_Output",     "C_Convertion",  "C_InBrowse", "C_OutBrowse",
                           "Input_Choice", "Output_Choice", "T_Input"};
    for (const char* name : order) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* focus = QApplication::focusWidget();
      auto* expected = Child<QWidget>(name);
      QVERIFY2(focus == expected || focus->parentWidget() == expected, name);
    }
  }

  void menusCarryTheirCaptionsAndAccessKeys() {
    const QList<QAction*> menus = window->menuBar()->actions();
    QCOMPARE(menus.size(), 3);
    QCOMPARE(menus[0]->text(), QStringLiteral("&File"));
    QCOMPARE(menus[1]->text(), QStringLiteral("&Options"));
    QCOMPARE(menus[2]->text(), QStringLiteral("&?"));
    QStringList file;
    for (QAction* entry : menus[0]->menu()->actions()) file << (entry->isSeparator() ? "-" : entry->text());
    QCOMPARE(file, (QStringList{"Previe&w", "-", "&Quit"}));
    QStringList options;
    for (QAction* entry : menus[1]->menu()->actions()) options << entry->text();
    QCOMPARE(options, (QStringList{"Decimal separator", "Dif to raw convertion parameters"}));
    QCOMPARE(menus[2]->menu()->actions().size(), 1);
    QCOMPARE(Action("M_Apropos")->text(), QStringLiteral("&About"));
  }

  void buttonAndEnterInEitherFieldRunTheSameRequest() {
    Input()->setText("/data/a.raw");
    Output()->setText("/out/b.txt");
    const Log one = {"read /data/a.raw", "write /out/b.txt"};
    QTest::mouseClick(Child<QToolButton>("C_Convertion"), Qt::LeftButton);
    QCOMPARE(formats->log, one);
    formats->log.clear();
    QTest::keyClick(Input(), Qt::Key_Return);
    QCOMPARE(formats->log, one);
    formats->log.clear();
    QTest::keyClick(Output(), Qt::Key_Enter);
    QCOMPARE(formats->log, one);
    QVERIFY(platform->messages.empty());
    QVERIFY(platform->questions.empty());
    QCOMPARE(platform->calls.front(), std::string("events"));  // the event step comes before the conversion
  }

  void accessKeyPressesConvert() {
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    Input()->setText("/data/a.raw");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    // The access key presses the button visibly: the click comes a moment later.
    QTRY_COMPARE(formats->log, (Log{"read /data/a.raw", "write /data/a"}));
  }

  void emptyInputWarnsEveryWay() {
    Output()->setText("/out/b.txt");
    const Recorded_Message warning{"You must select\ran input file.", Icon::Exclamation, "Error !"};
    QTest::mouseClick(Child<QToolButton>("C_Convertion"), Qt::LeftButton);
    QTest::keyClick(Input(), Qt::Key_Return);
    QTest::keyClick(Output(), Qt::Key_Return);
    QCOMPARE(platform->messages, (std::vector<Recorded_Message>{warning, warning, warning}));
    QVERIFY(formats->log.empty());
  }

  void listAsksAndConvertsAllOnYesNoneOnNo() {
    Input()->setText("/data a.raw b.raw");
    Output()->setText("/out/*.txt");
    platform->yes_no_answers = {false, true};
    QTest::keyClick(Output(), Qt::Key_Return);
    QVERIFY(formats->log.empty());
    QTest::keyClick(Output(), Qt::Key_Return);
    QCOMPARE(formats->log, (Log{"read /data/a.raw", "write /out/a.txt", "read /data/b.raw", "write /out/b.txt"}));
    QCOMPARE(platform->questions, (std::vector<std::string>(2, "Do you really want multiple file conversions ?")));
  }

  void typesAreReadWhenEachFileConverts() {
    Input()->setText("/data a.raw b.raw");
    Output()->setText("/out/");
    Select("Output_Choice", "Diffrac-Plus RAW (Version 2)");
    // Between the files the user switches the output to a type that refuses a scan.
    platform->on_events = [this] {
      if (formats->log.size() == 2) Select("Output_Choice", "Treor");
    };
    QTest::mouseClick(Child<QToolButton>("C_Convertion"), Qt::LeftButton);
    QCOMPARE(formats->log, (Log{"read /data/a.raw", "write /out/a", "read /data/b.raw"}));
    QCOMPARE(platform->messages.back().text, std::string("I Can't do that!"));
  }

  void secondRequestDuringABatchIsRefused() {
    Input()->setText("/data a.raw b.raw");
    Output()->setText("*.txt");
    int nested = 0;
    platform->on_events = [&] {
      QVERIFY(window->Converting());
      ++nested;
      QTest::mouseClick(Child<QToolButton>("C_Convertion"), Qt::LeftButton);
      QTest::keyClick(Input(), Qt::Key_Return);
    };
    QTest::mouseClick(Child<QToolButton>("C_Convertion"), Qt::LeftButton);
    QCOMPARE(nested, 4);  // before each file and after each write
    QCOMPARE(formats->log.size(), std::size_t{4});
    QCOMPARE(platform->questions.size(), std::size_t{1});
    QVERIFY(!window->Converting());
  }

  void quitDuringABatchStopsBeforeTheNextFile() {
    Input()->setText("/data a.raw b.raw c.raw");
    Output()->setText("*.txt");
    platform->on_events = [this] {
      if (formats->log.size() == 2) Action("M_Quitter")->trigger();
    };
    window->show();
    QTest::mouseClick(Child<QToolButton>("C_Convertion"), Qt::LeftButton);
    QCOMPARE(formats->log, (Log{"read /data/a.raw", "write /data/a.txt"}));
    QVERIFY(!window->isVisible());
  }

  void browseUsesTheTypePatternAndFillsTheField() {
    struct Asked {
      bool open;
      QString pattern;
      QString folder;
    };
    std::vector<Asked> asked;
    app::Browse_Result answer;
    window->Set_File_Chooser([&](QWidget*, bool open, const QString& pattern, const QString& folder) {
      asked.push_back({open, pattern, folder});
      return answer;
    });
    answer.outcome = app::Browse_Result::Outcome::Chosen;
    answer.paths = {"/x ray/a b.raw", "/x ray/c.raw"};
    Select("Input_Choice", "Automatic (by signature)");
    QTest::mouseClick(Child<QPushButton>("C_InBrowse"), Qt::LeftButton);
    QCOMPARE(Input()->text(), QStringLiteral(R"("/x ray" "a b.raw" c.raw)"));
    answer.paths = {"/data/one.raw"};
    QTest::mouseClick(Child<QPushButton>("C_InBrowse"), Qt::LeftButton);
    QCOMPARE(Input()->text(), QStringLiteral("/data/one.raw"));

    Select("Output_Choice", "U-Fit");
    answer.paths = {"/x ray/out.dif"};
    QTest::mouseClick(Child<QPushButton>("C_OutBrowse"), Qt::LeftButton);
    QCOMPARE(Output()->text(), QStringLiteral("/x ray/out.dif"));  // never quoted

    // A typed type that names none: no pattern.
    Child<QComboBox>("Output_Choice")->setEditText("my own type");
    QTest::mouseClick(Child<QPushButton>("C_OutBrowse"), Qt::LeftButton);

    QCOMPARE(asked.size(), std::size_t{4});
    QVERIFY(asked[0].open && asked[1].open && !asked[2].open);
    QCOMPARE(asked[0].pattern, QStringLiteral("*.*"));
    QCOMPARE(asked[2].pattern, QStringLiteral("*.dif"));
    QCOMPARE(asked[3].pattern, QString());
    QVERIFY(platform->messages.empty());
    // Each dialog opens in the folder of the field's path, when it exists.
    QCOMPARE(asked[0].folder, QString());
    QTemporaryDir data;
    Input()->setText(QStringLiteral("%1 a.raw b.raw").arg(data.path()));
    Output()->setText(QStringLiteral("\"%1/my out.txt\"").arg(data.path()));
    QTest::mouseClick(Child<QPushButton>("C_InBrowse"), Qt::LeftButton);
    QTest::mouseClick(Child<QPushButton>("C_OutBrowse"), Qt::LeftButton);
    QCOMPARE(asked.at(4).folder, data.path());
    QCOMPARE(asked.at(5).folder, data.path());

    // Cancel is silent; any other failure is told by its number.
    answer.outcome = app::Browse_Result::Outcome::Cancelled;
    Input()->setText(QStringLiteral("/data/one.raw"));
    QTest::mouseClick(Child<QPushButton>("C_InBrowse"), Qt::LeftButton);
    QVERIFY(platform->messages.empty());
    answer.outcome = app::Browse_Result::Outcome::Failed;
    answer.error = 20476;
    QTest::mouseClick(Child<QPushButton>("C_InBrowse"), Qt::LeftButton);
    QCOMPARE(platform->messages, (std::vector<Recorded_Message>{{"Unexpected error 20476", Icon::None, "Talvo"}}));
    QCOMPARE(Input()->text(), QStringLiteral("/data/one.raw"));
  }

  void fileDialogsOfferTheirOptions() {
    QTemporaryDir dir;
    QFile file(dir.filePath("QTZ.RAW"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    When_Modal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
      QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
      QCOMPARE(dialog->nameFilters(), QStringList{"*.raw"});
      auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
      QVERIFY(name != nullptr);
      QCOMPARE(name->text(), QStringLiteral("*.raw"));  // the pattern is also the initial name
      dialog->setDirectory(dir.path());
      dialog->selectFile(file.fileName());
      static_cast<QDialog*>(dialog)->accept();  // public in QDialog
    });
    const app::Browse_Result chosen = app::Choose_Files(nullptr, true, "*.raw");
    QCOMPARE(chosen.outcome, app::Browse_Result::Outcome::Chosen);
    QCOMPARE(chosen.paths, QStringList{file.fileName()});

    When_Modal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
      QCOMPARE(dialog->nameFilters(), QStringList{"*.dif"});
      dialog->reject();
    });
    QCOMPARE(app::Choose_Files(nullptr, false, "*.dif").outcome, app::Browse_Result::Outcome::Cancelled);

    // "*.*" lists every file, one without an extension too, in the given folder.
    QFile bare(dir.filePath("SCAN"));
    QVERIFY(bare.open(QIODevice::WriteOnly));
    bare.close();
    When_Modal([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog != nullptr);
      QCOMPARE(dialog->nameFilters(), QStringList{"*"});
      QCOMPARE(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
      dialog->selectFile(bare.fileName());
      static_cast<QDialog*>(dialog)->accept();
    });
    QCOMPARE(app::Choose_Files(nullptr, true, "*.*", dir.path()).paths, QStringList{bare.fileName()});
  }

  // Files dropped on the window fill the input field exactly as Browse
  // would: one path, or the folder and the names, quoted where they hold blanks.
  void droppedFilesFillTheInputField() {
    QTemporaryDir dir;
    const QString folder = dir.filePath("x ray");
    QVERIFY(QDir().mkpath(folder));
    QList<QUrl> urls;
    for (const char* name : {"a b.raw", "c.raw", "d.raw"}) {
      QFile file(folder + "/" + name);
      QVERIFY(file.open(QIODevice::WriteOnly));
      urls.push_back(QUrl::fromLocalFile(file.fileName()));
    }
    auto drop = [&](const QList<QUrl>& dropped) {
      QMimeData data;
      data.setUrls(dropped);
      QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window.get(), &enter);
      QDropEvent dropped_event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window.get(), &dropped_event);
      return enter.isAccepted();
    };
    QVERIFY(drop({urls[1]}));
    QCOMPARE(Input()->text(), "\"" + folder + "/c.raw\"");
    QVERIFY(drop(urls));
    QCOMPARE(Input()->text(), "\"" + folder + "\" \"a b.raw\" c.raw d.raw");
    QVERIFY(!drop({QUrl("https://example.org/a.raw")}));
    QCOMPARE(Input()->text(), "\"" + folder + "\" \"a b.raw\" c.raw d.raw");
    QCOMPARE(Output()->text(), QString());
    QVERIFY(platform->messages.empty());
  }

  void previewTakesTheWholeFieldWithoutQuotes() {
    const Recorded_Message warning{"You must select\ra valid input file.", Icon::Exclamation, "Error !"};
    Action("M_Preview")->trigger();
    Input()->setText("*.*");
    Action("M_Preview")->trigger();
    QCOMPARE(platform->messages, (std::vector<Recorded_Message>{warning, warning}));
    QVERIFY(formats->log.empty());

    Input()->setText(R"("/x ray/a.raw")");
    Action("M_Preview")->trigger();
    QCOMPARE(formats->log, (Log{"read /x ray/a.raw"}));
    QCOMPARE(platform->calls.back(), std::string("events"));
    QVERIFY(std::find(platform->calls.begin(), platform->calls.end(), "preview") != platform->calls.end());
  }

  void synthesisParametersMenuShowsTheDialogOnTheStore() {
    platform->on_dif2raw = [this](Store& store) {
      QCOMPARE(&store, &window->Pattern_Store());
      store.FWHM = 0.5f;
    };
    Action("M_dif2raw_par")->trigger();
    QCOMPARE(platform->calls, (Log{"dif2raw", "normal"}));
    QVERIFY(platform->dif2raw_opening == talvo::Dif2Raw_Opening::From_Menu);
    QCOMPARE(window->Pattern_Store().FWHM, 0.5f);
    QVERIFY(!Action("M_Decimal_Separator")->isEnabled());
  }

  void aboutBoxShowsPictureAndTitle() {
    bool seen = false;
    When_Modal([&](QWidget* about) {
      seen = true;
      QCOMPARE(about->windowTitle(), QStringLiteral("About Talvo"));
      QCOMPARE(about->size(), QSize(338, 101));
      auto* title = about->findChild<QLabel*>("Titre3");
      QVERIFY(title != nullptr);
      QCOMPARE(title->text(), QStringLiteral("Talvo"));
      QVERIFY(title->font().bold());
      QCOMPARE(title->font().family(), QStringLiteral("Arial"));
      QCOMPARE(title->font().pointSizeF(), 20.25);
      auto* image = about->findChild<QLabel*>("Image1");
      QVERIFY(image != nullptr);
      QCOMPARE(image->pixmap().size(), QSize(320, 240));
      QCOMPARE(image->geometry(), QRect(16, 8, 65, 72));
      QVERIFY(about->findChildren<QPushButton*>().isEmpty());
    });
    Action("M_Apropos")->trigger();
    QVERIFY(seen);
  }

  // The real window, readers and writers: RAW version 2 in, RAW version 2 out.
  // In a batch every refusal says which file it is about, in its title.
  void batchRefusalsNameTheirFileInTheTitle() {
    window = std::make_unique<app::Main_Window>(platform.get());
    QTemporaryDir dir;
    for (const char* name : {"a.raw", "b.raw"}) {
      QFile file(dir.filePath(QString::fromLatin1(name)));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write("RAW1.01 a version 3 file");
    }
    Input()->setText(QDir::toNativeSeparators(dir.path()) + " a.raw b.raw");
    Output()->setText(QStringLiteral("*.txt"));
    QTest::keyClick(Output(), Qt::Key_Return);
    const std::string refusal = "Raw v3 files not supported. Please save it first to v2";
    QCOMPARE(platform->messages, (std::vector<Recorded_Message>{{refusal, Icon::None, "Talvo \u2013 a.raw"},
                                                                {refusal, Icon::None, "Talvo \u2013 b.raw"}}));
  }

  void rawVersion2ConvertsThroughTheWindow() {
    window = std::make_unique<app::Main_Window>(platform.get());
    QTemporaryDir dir;
    testing::Raw_Scan scan;
    scan.intensities = {120, 340.5f, 98, 7};
    const std::vector<uint8_t> input = testing::Raw2_File(scan);
    const QString in_path = dir.filePath("QTZ.RAW");
    QFile in(in_path);
    QVERIFY(in.open(QIODevice::WriteOnly));
    in.write(reinterpret_cast<const char*>(input.data()), static_cast<qint64>(input.size()));
    in.close();

    QTest::keyClicks(Input(), in_path);
    QTest::keyClicks(Output(), "COPY.RAW");
    Select("Output_Choice", "Diffrac-Plus RAW (Version 2)");
    QTest::keyClick(Output(), Qt::Key_Return);

    QVERIFY(platform->messages.empty());
    QFile out(dir.filePath("COPY.RAW"));
    QVERIFY(out.open(QIODevice::ReadOnly));
    const QByteArray written = out.readAll();
    // The header and the intensities come through whole; only the date is today's.
    std::vector<uint8_t> expected = input;
    const std::string date = platform->date + std::string(20 - platform->date.size(), ' ');
    std::copy(date.begin(), date.end(), expected.begin() + 168);
    QCOMPARE(written,
             QByteArray(reinterpret_cast<const char*>(expected.data()), static_cast<qsizetype>(expected.size())));
  }
};

}  // namespace talvo

QTEST_MAIN(talvo::Main_Window_Test)
#include "main_window_test.moc"
