#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>

#include "app/about_box.h"
#include "core/failure.h"
#include "core/messages.h"
#include "formats/format_table.h"
#include "ui/name_fields.h"
#include "ui/request.h"

// The pictures are compiled into the static library: register them by hand.
static void Load_Pictures() {
  Q_INIT_RESOURCE(talvo);
}

namespace talvo::app {

namespace {

// Positions and sizes are laid out in twips; at 96 dpi 15 twips make a pixel,
// and Qt scales the pixels for other densities.
QRect Twips(int left, int top, int width, int height) {
  return {left / 15, top / 15, width / 15, height / 15};
}

// An etched line across the window: grey above white.
class Etched_Line : public QWidget {
 public:
  Etched_Line(QWidget* parent, int top) : QWidget(parent) { setGeometry(0, top, parent->width(), 2); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(Qt::white);
    painter.drawLine(0, 1, width() - 1, 1);
  }
};

QLabel* Make_Label(QWidget* parent, const char* name, const QString& caption, QRect where, bool right = false,
                   qreal points = 0) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(where);
  label->setAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
  if (points > 0) {
    QFont font = label->font();
    font.setPointSizeF(points);
    label->setFont(font);
  }
  return label;
}

// The captions are measured for a narrow 8.25 pt sans-serif face; take the
// first of these that the system has, and a condensed face where none is.
QFont Window_Font() {
  QFont font;
  font.setFamilies({QStringLiteral("Microsoft Sans Serif"), QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                    QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
  font.setPointSizeF(8.25);
  return font;
}

template <typename Widget>
Widget* Make(QWidget* parent, const char* name, QRect where) {
  auto* widget = new Widget(parent);
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(where);
  return widget;
}

// The folder of the path a name field holds (the first file of a selection),
// or nothing when it names no existing folder.
QString Folder_Of_Field(const QString& text, bool input) {
  std::string path;
  if (input) {
    const Conversion_Request request = Split_Request(qt::From_Q(text), "");
    if (!request.calls.empty()) path = request.calls.front().infile;
  } else {
    path = qt::From_Q(text);
    std::erase(path, '"');
  }
  if (path.empty()) return {};
  const QFileInfo info(qt::To_Q(path));
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  return QFileInfo(folder).isDir() ? folder : QString();
}

// The local files of a drop, all of one folder as a file dialog gives them;
// empty when the drop holds anything else.
QStringList Dropped_Files(const QMimeData* data) {
  QStringList paths;
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    const QFileInfo info(url.toLocalFile());
    if (!info.isFile() || (!paths.isEmpty() && info.absolutePath() != QFileInfo(paths.front()).absolutePath()))
      return {};
    paths.push_back(info.absoluteFilePath());
  }
  return paths;
}

}  // namespace

Browse_Result Choose_Files(QWidget* parent, bool open, const QString& pattern, const QString& folder) {
  QFileDialog dialog(parent);
  if (open) {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
  } else {
    // The name is only written into the field: the conversion may still
    // change its base, so nothing is asked about an existing file here.
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  }
  // A pattern "description|filter" names its filter after the "|".
  const qsizetype bar = pattern.indexOf(QLatin1Char('|'));
  QString initial = bar < 0 ? pattern : pattern.mid(bar + 1);
  // Qt matches "*.*" only against names holding a dot; it means every file.
  if (initial == QLatin1String("*.*")) initial = QStringLiteral("*");
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  if (!pattern.isEmpty()) dialog.setNameFilter(bar < 0 ? initial : pattern.left(bar) + " (" + initial + ")");
  if (!initial.isEmpty()) dialog.selectFile(initial);

  Browse_Result result;
  const int code = dialog.exec();
  if (code == QDialog::Accepted) {
    result.paths = dialog.selectedFiles();
    result.outcome = result.paths.isEmpty() ? Browse_Result::Outcome::Cancelled : Browse_Result::Outcome::Chosen;
  } else if (code != QDialog::Rejected) {
    result.outcome = Browse_Result::Outcome::Failed;
    result.error = code;
  }
  return result;
}

Main_Window::Main_Window(Platform* platform, const Registry* registry, QWidget* parent)
    : QMainWindow(parent),
      own_platform_(platform == nullptr ? std::make_unique<qt::Qt_Platform>() : nullptr),
      platform_(platform == nullptr ? *own_platform_ : *platform),
      registry_(registry == nullptr ? Format_Table() : *registry),
      session_{store_, platform_, registry_} {
  Load_Pictures();
  setObjectName(QStringLiteral("TALVO2"));
  // The caption carries the project version, set once in CMake.
  setWindowTitle(QStringLiteral("TALVO " TALVO_VERSION));
  setWindowIcon(QIcon(QStringLiteral(":/talvo/talvo.png")));
  if (own_platform_) own_platform_->Set_Owner(this);
  setFont(Window_Font());

  Main_Window_Load(lists_, store_, registry_);
  Build_Menus();
  Build_Controls();
  QMetaObject::connectSlotsByName(this);
  T_Input->setFocus();
}

Main_Window::~Main_Window() = default;

void Main_Window::Build_Controls() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("Client"));
  client->setFixedSize(Twips(0, 0, 6630, 3180).size());
  setCentralWidget(client);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  // The lines first, so that the Convert button lies over the middle one.
  new Etched_Line(client, 0);
  new Etched_Line(client, 3180 / 15 / 2);

  Make_Label(client, "Label3", QStringLiteral("File type :"), Twips(120, 180, 735, 255), true);
  Make_Label(client, "Label5", QStringLiteral("File name :"), Twips(0, 600, 855, 255), true);
  Make_Label(client, "Label1", QStringLiteral("Input File"), Twips(360, 1080, 1155, 360), false, 13.5);
  Make_Label(client, "Label2", QStringLiteral("Output File"), Twips(120, 1680, 1455, 375), false, 13.5);
  Make_Label(client, "Label4", QStringLiteral("File type :"), Twips(120, 2340, 735, 255), true);
  Make_Label(client, "Label6", QStringLiteral("File name :"), Twips(0, 2760, 855, 255), true);

  // The controls are made in the keyboard order, which Tab then follows
  // (setTabOrder loses the text field of an editable list).
  T_Input = Make<QLineEdit>(client, "T_Input", Twips(960, 600, 5535, 285));
  T_Output = Make<QLineEdit>(client, "T_Output", Twips(960, 2760, 5535, 285));
  // A file dropped anywhere on the window, the fields included, goes to the
  // window, which fills the input field.
  T_Input->setAcceptDrops(false);
  T_Output->setAcceptDrops(false);
  setAcceptDrops(true);

  C_Convertion = Make<QToolButton>(client, "C_Convertion", Twips(5520, 960, 975, 1155));
  C_Convertion->setText(QStringLiteral("&Convert"));
  C_Convertion->setIcon(windowIcon());
  C_Convertion->setIconSize(QSize(32, 32));
  C_Convertion->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  C_Convertion->setFocusPolicy(Qt::StrongFocus);
  QFont bold = C_Convertion->font();
  bold.setBold(true);
  C_Convertion->setFont(bold);
  QPalette face = C_Convertion->palette();
  face.setColor(QPalette::Button, QColor(192, 192, 192));
  C_Convertion->setPalette(face);
  C_Convertion->setAutoFillBackground(true);

  C_InBrowse = Make<QPushButton>(client, "C_InBrowse", Twips(5520, 120, 975, 375));
  C_InBrowse->setText(QStringLiteral("Browse..."));
  C_OutBrowse = Make<QPushButton>(client, "C_OutBrowse", Twips(5520, 2280, 975, 375));
  C_OutBrowse->setText(QStringLiteral("Browse..."));

  Input_Choice = Make<QComboBox>(client, "Input_Choice", Twips(960, 120, 4455, 315));
  Fill_Type_List(Input_Choice, lists_.Input_Choice);
  Output_Choice = Make<QComboBox>(client, "Output_Choice", Twips(960, 2280, 4455, 315));
  Fill_Type_List(Output_Choice, lists_.Output_Choice);
}

// A drop-down list whose text may also be typed: no completion and no new
// entries, so that a typed text stays exactly what was typed.
void Main_Window::Fill_Type_List(QComboBox* combo, const Type_List& list) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setCompleter(nullptr);
  for (const auto& entry : list.Entries) combo->addItem(qt::To_Q(entry));
  if (list.Separator_Before != 0) combo->insertSeparator(static_cast<int>(list.Separator_Before));
  combo->setCurrentIndex(combo->findText(qt::To_Q(list.Text), Qt::MatchExactly | Qt::MatchCaseSensitive));
  combo->setEditText(qt::To_Q(list.Text));
}

void Main_Window::Build_Menus() {
  auto add_action = [this](QMenu* menu, const char* name, const QString& caption) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QString::fromLatin1(name));
    menu->addAction(action);
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("M_MenuFichier"));
  add_action(file, "M_Preview", QStringLiteral("Previe&w"));
  file->addSeparator()->setObjectName(QStringLiteral("M_Separation"));
  add_action(file, "M_Quitter", QStringLiteral("&Quit"));

  QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
  options->setObjectName(QStringLiteral("M_Options"));
  // The entry carries no action: shown, but not offered.
  add_action(options, "M_Decimal_Separator", QStringLiteral("Decimal separator"))->setEnabled(false);
  add_action(options, "M_dif2raw_par", QStringLiteral("Dif to raw convertion parameters"));

  QMenu* help = menuBar()->addMenu(QStringLiteral("&?"));
  help->setObjectName(QStringLiteral("M_MenuAide"));
  add_action(help, "M_Apropos", QStringLiteral("&About"));
}

void Main_Window::on_C_Convertion_clicked() {
  Conversion_Request();
}
void Main_Window::on_T_Input_returnPressed() {
  Conversion_Request();
}
void Main_Window::on_T_Output_returnPressed() {
  Conversion_Request();
}

// The conversion request yields to events before each file; a second one
// started there would run inside the first, so it is refused.
void Main_Window::Conversion_Request() {
  if (running_) return;
  running_ = true;
  struct Done {
    bool& running;
    ~Done() { running = false; }
  } done{running_};
  Run_Request(platform_, qt::From_Q(T_Input->text()), qt::From_Q(T_Output->text()),
              [this](const Conversion_Call& call, const Failure_Text& failure_text) {
                if (quitting_) return false;
                Session session{session_.store, platform_, session_.registry, failure_text};
                Convert(session, lists_.Input_Choice.Text, lists_.Output_Choice.Text, call.infile, call.outfile);
                return !quitting_;
              });
}

void Main_Window::on_C_InBrowse_clicked() {
  Browse(lists_.Input_Choice, lists_.Input_Patterns, T_Input, true);
}
void Main_Window::on_C_OutBrowse_clicked() {
  Browse(lists_.Output_Choice, lists_.Output_Patterns, T_Output, false);
}

void Main_Window::Browse(const Type_List& list, const std::vector<std::string>& patterns, QLineEdit* field, bool open) {
  const Browse_Result result =
      chooser_(this, open, qt::To_Q(Pattern_Of(list, patterns)), Folder_Of_Field(field->text(), open));
  switch (result.outcome) {
    case Browse_Result::Outcome::Chosen:
      Fill_Field(field, result.paths, open);
      break;
    case Browse_Result::Outcome::Cancelled:
      break;
    case Browse_Result::Outcome::Failed:
      platform_.Show_Message(text::Unexpected_Error + std::to_string(result.error), Icon::None, Program_Title);
      break;
  }
}

void Main_Window::Fill_Field(QLineEdit* field, const QStringList& chosen, bool open) {
  std::vector<std::string> paths;
  for (const QString& path : chosen) paths.push_back(qt::From_Q(QDir::toNativeSeparators(path)));
  field->setText(qt::To_Q(Browse_Text(paths, open)));
}

void Main_Window::dragEnterEvent(QDragEnterEvent* event) {
  if (!Dropped_Files(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void Main_Window::dropEvent(QDropEvent* event) {
  const QStringList paths = Dropped_Files(event->mimeData());
  if (paths.isEmpty()) return;
  Fill_Field(T_Input, paths, true);
  event->acceptProposedAction();
}

void Main_Window::on_Input_Choice_editTextChanged(const QString& text) {
  lists_.Input_Choice.Text = qt::From_Q(text);
}
void Main_Window::on_Output_Choice_editTextChanged(const QString& text) {
  lists_.Output_Choice.Text = qt::From_Q(text);
}

void Main_Window::on_M_Preview_triggered() {
  const std::string path = Preview_Path(qt::From_Q(T_Input->text()));
  if (path.empty()) {
    platform_.Show_Message(text::Select_Valid_Input, Icon::Exclamation, text::Error_Title);
    return;
  }
  Preview(session_, lists_.Input_Choice.Text, path);
}

void Main_Window::on_M_dif2raw_par_triggered() {
  try {
    platform_.Show_Dif2Raw(store_, Dif2Raw_Opening::From_Menu);
  } catch (const Failure& failure) {
    platform_.Show_Message(failure.what(), Icon::Critical, Program_Title);
  }
  platform_.Set_Busy(false);
}

void Main_Window::on_M_Apropos_triggered() {
  About_Box about(this);
  about.exec();
}

// Ends the program at once; a batch waiting on events stops before its next file.
void Main_Window::on_M_Quitter_triggered() {
  quitting_ = true;
  close();
  QApplication::quit();
}

void Main_Window::closeEvent(QCloseEvent* event) {
  quitting_ = true;
  event->accept();
}

}  // namespace talvo::app
