#include "ui/qt/p_oxford2raw.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/cp1252.h"
#include "core/platform.h"
#include "ui/qt/qt_platform.h"

namespace talvo::qt {

namespace {

// Store texts are Windows-1252; the widgets hold Unicode.
QString From_1252(const std::string& bytes) {
  return To_Q(Cp1252_To_Utf8(bytes));
}
std::string To_1252(const QString& text) {
  return Utf8_To_Cp1252(From_Q(text));
}

QLineEdit* Field(QWidget* parent, const char* name) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  return field;
}

}  // namespace

void Show_P_oxford2raw(Store& store, const std::string& lines, Platform& platform, QWidget* parent) {
  P_oxford2raw_Window dialog(store, lines, platform, parent);
  dialog.exec();
}

P_oxford2raw_Window::P_oxford2raw_Window(Store& store, const std::string& lines, Platform& platform, QWidget* parent)
    : QDialog(parent), logic_(store, platform, lines), platform_(platform) {
  setObjectName(QStringLiteral("P_oxford2raw"));
  setWindowTitle(QString::fromLatin1(P_oxford2raw::Caption));

  T_Spid = Field(this, "T_Spid");
  RTB_Lines = new QPlainTextEdit(this);
  RTB_Lines->setObjectName(QStringLiteral("RTB_Lines"));
  RTB_Lines->setReadOnly(true);
  RTB_Lines->setLineWrapMode(QPlainTextEdit::NoWrap);
  RTB_Lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  auto* general = new QGroupBox(tr("General"), this);
  T_Anode = Field(general, "T_Anode");
  T_Lambda = Field(general, "T_Lambda");
  E_Lambda = new QLabel(general);
  E_Lambda->setObjectName(QStringLiteral("E_Lambda"));
  auto* general_form = new QFormLayout(general);
  general_form->addRow(tr("Anode"), T_Anode);
  general_form->addRow(E_Lambda, T_Lambda);

  auto* range = new QGroupBox(tr("Data range"), this);
  T_Time = Field(range, "T_Time");
  T_SSize = Field(range, "T_SSize");
  T_Start = Field(range, "T_Start");
  T_End = Field(range, "T_End");
  auto* range_form = new QFormLayout(range);
  range_form->addRow(tr("Time / Step"), T_Time);
  range_form->addRow(tr("Step Size"), T_SSize);
  range_form->addRow(tr("Start angle"), T_Start);
  range_form->addRow(tr("End angle"), T_End);

  Command1 = new QPushButton(tr("OK"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command1->setDefault(true);

  auto* sample = new QFormLayout;
  sample->addRow(tr("Sample Identification"), T_Spid);
  auto* frames = new QHBoxLayout;
  frames->addWidget(general);
  frames->addWidget(range);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(sample);
  layout->addWidget(RTB_Lines, 1);
  layout->addLayout(frames);
  layout->addLayout(buttons);
  resize(640, 520);

  logic_.Form_Load();
  Show_Fields();
  RTB_Lines->setPlainText(From_1252(logic_.Lines()));
  QMetaObject::connectSlotsByName(this);
}

// The load has run the anode lookup already: showing its result must not
// run it again.
void P_oxford2raw_Window::Show_Fields() {
  const QSignalBlocker quiet(T_Anode);
  T_Spid->setText(From_1252(logic_.T_Spid));
  T_Anode->setText(From_1252(logic_.T_Anode));
  E_Lambda->setText(From_1252(logic_.E_Lambda));
  T_Lambda->setText(From_1252(logic_.T_Lambda));
  T_Time->setText(From_1252(logic_.T_Time));
  T_SSize->setText(From_1252(logic_.T_SSize));
  T_Start->setText(From_1252(logic_.T_Start));
  T_End->setText(From_1252(logic_.T_End));
}

void P_oxford2raw_Window::Take_Fields() {
  logic_.T_Lambda = To_1252(T_Lambda->text());
  logic_.T_Time = To_1252(T_Time->text());
  logic_.T_SSize = To_1252(T_SSize->text());
  logic_.T_Start = To_1252(T_Start->text());
  logic_.T_End = To_1252(T_End->text());
}

void P_oxford2raw_Window::on_T_Anode_textChanged(const QString& text) {
  logic_.T_Anode_Change(To_1252(text));
  E_Lambda->setText(From_1252(logic_.E_Lambda));
  T_Lambda->setText(From_1252(logic_.T_Lambda));
}

void P_oxford2raw_Window::on_Command1_clicked() {
  accept();
}

void P_oxford2raw_Window::done(int) {
  Take_Fields();
  if (auto refused = logic_.Form_Unload()) {
    platform_.Show_Message(*refused, Icon::Exclamation, Program_Title);
    return;
  }
  QDialog::done(QDialog::Accepted);
}

}  // namespace talvo::qt
