#include "ui/qt/p_dif2raw.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/cp1252.h"
#include "core/platform.h"
#include "ui/qt/qt_platform.h"

namespace talvo::qt {

namespace {

QString Field_Text(const std::string& cp1252) {
  return To_Q(Cp1252_To_Utf8(cp1252));
}
std::string Field_Bytes(const QLineEdit* edit) {
  return Utf8_To_Cp1252(From_Q(edit->text()));
}

// The profile of each option button, top to bottom.
constexpr Profile Button_Profiles[3] = {Profile::Gauss, Profile::Lorentz, Profile::Pearson_VII};

// A group box of text fields, each with its label to the right.
QGroupBox* Field_Box(const QString& title, std::initializer_list<std::pair<QLineEdit**, const char*>> fields,
                     std::initializer_list<const char*> names, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  auto* grid = new QGridLayout(box);
  int row = 0;
  auto name = names.begin();
  for (const auto& [edit, label] : fields) {
    *edit = new QLineEdit(box);
    (*edit)->setObjectName(QString::fromLatin1(*name++));
    grid->addWidget(*edit, row, 0);
    grid->addWidget(new QLabel(QString::fromLatin1(label), box), row, 1);
    ++row;
  }
  return box;
}

}  // namespace

P_dif2raw_Window::P_dif2raw_Window(Store& store, Platform& platform, Dif2Raw_Opening opening, QWidget* parent)
    : QDialog(parent), platform_(platform), logic_(store, platform, opening) {
  setObjectName(QStringLiteral("P_dif2raw"));
  setWindowTitle(QString::fromLatin1(P_Dif2Raw_Caption));
  setModal(true);

  auto* curve = Field_Box(QStringLiteral("Curve generation"),
                          {{&T_Bkg, "Background level"}, {&T_Noise, "Noise Height"}, {&T_FWHM, "FWHM"}},
                          {"T_Bkg", "T_Noise", "T_FWHM"}, this);
  auto* function = new QGroupBox(QStringLiteral("Function"), this);
  auto* options = new QVBoxLayout(function);
  const char* profiles[3] = {"Gauss", "Lorentz", "Pearson VII"};
  for (int i = 0; i < 3; ++i) {
    O_Function[i] = new QRadioButton(QString::fromLatin1(profiles[i]), function);
    O_Function[i]->setObjectName(QStringLiteral("O_Function_%1").arg(i + 1));
    options->addWidget(O_Function[i]);
  }
  options->addStretch();
  auto* range =
      Field_Box(QStringLiteral("Data range"),
                {{&T_Start, "Start angle"}, {&T_End, "End angle"}, {&T_SSize, "Step Size"}, {&T_Time, "Time / Step"}},
                {"T_Start", "T_End", "T_SSize", "T_Time"}, this);
  auto* general = Field_Box(QStringLiteral("General"), {{&T_Anode, "Anode"}, {&T_Lambda, "Lambda1"}},
                            {"T_Anode", "T_Lambda"}, this);
  Ch_range_limits = new QCheckBox(QStringLiteral("Preserve range limits"), general);
  Ch_range_limits->setObjectName(QStringLiteral("Ch_range_limits"));
  static_cast<QGridLayout*>(general->layout())->addWidget(Ch_range_limits, 2, 0, 1, 2);

  auto* command1 = new QPushButton(QStringLiteral("OK"), this);
  command1->setObjectName(QStringLiteral("Command1"));
  command1->setDefault(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(curve, 0, 0);
  grid->addWidget(function, 0, 1);
  grid->addWidget(range, 1, 0, 2, 1);
  grid->addWidget(general, 1, 1);
  grid->addWidget(command1, 2, 1, Qt::AlignRight | Qt::AlignTop);

  QMetaObject::connectSlotsByName(this);
  logic_.Form_Load();
  Show_Fields();
}

void P_dif2raw_Window::Show_Fields() {
  showing_ = true;
  T_Bkg->setText(Field_Text(logic_.T_Bkg));
  T_Noise->setText(Field_Text(logic_.T_Noise));
  T_FWHM->setText(Field_Text(logic_.T_FWHM));
  T_Start->setText(Field_Text(logic_.T_Start));
  T_End->setText(Field_Text(logic_.T_End));
  T_SSize->setText(Field_Text(logic_.T_SSize));
  T_Time->setText(Field_Text(logic_.T_Time));
  T_Anode->setText(Field_Text(logic_.T_Anode));
  T_Lambda->setText(Field_Text(logic_.T_Lambda));
  for (int i = 0; i < 3; ++i) O_Function[i]->setChecked(logic_.O_Function == Button_Profiles[i]);
  Ch_range_limits->setChecked(logic_.Ch_range_limits);
  showing_ = false;
}

void P_dif2raw_Window::Take_Fields() {
  logic_.T_Bkg = Field_Bytes(T_Bkg);
  logic_.T_Noise = Field_Bytes(T_Noise);
  logic_.T_FWHM = Field_Bytes(T_FWHM);
  logic_.T_Start = Field_Bytes(T_Start);
  logic_.T_End = Field_Bytes(T_End);
  logic_.T_SSize = Field_Bytes(T_SSize);
  logic_.T_Time = Field_Bytes(T_Time);
  logic_.T_Anode = Field_Bytes(T_Anode);
  logic_.T_Lambda = Field_Bytes(T_Lambda);
  logic_.O_Function = Profile::None;
  for (int i = 0; i < 3; ++i)
    if (O_Function[i]->isChecked()) logic_.O_Function = Button_Profiles[i];
  logic_.Ch_range_limits = Ch_range_limits->isChecked();
}

void P_dif2raw_Window::on_T_Anode_textChanged(const QString&) {
  if (showing_) return;  // the opening has looked the anode up already
  logic_.T_Anode = Field_Bytes(T_Anode);
  logic_.T_Anode_Change();
  T_Lambda->setText(Field_Text(logic_.T_Lambda));
}

void P_dif2raw_Window::on_Command1_clicked() {
  Try_Close();
}

// Escape and the close box come here too: every way out stores the fields.
void P_dif2raw_Window::reject() {
  Try_Close();
}

void P_dif2raw_Window::Try_Close() {
  Take_Fields();
  if (auto refusal = logic_.Form_Unload()) {
    platform_.Show_Message(Cp1252_To_Utf8(refusal->text), Icon::Exclamation, Program_Title);
    QLineEdit* field = refusal->field == P_dif2raw::Field::Step   ? T_SSize
                       : refusal->field == P_dif2raw::Field::FWHM ? T_FWHM
                                                                  : T_End;
    field->setFocus();
    field->selectAll();
    return;
  }
  QDialog::accept();
}

void Show_P_dif2raw(Store& store, Platform& platform, Dif2Raw_Opening opening, QWidget* parent) {
  P_dif2raw_Window dialog(store, platform, opening, parent);
  dialog.exec();
}

}  // namespace talvo::qt
