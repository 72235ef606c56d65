// The synthesis parameters dialog of the desktop program.
#pragma once

#include <QDialog>
#include <string>

#include "ui/p_dif2raw.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace talvo {
class Platform;
struct Store;
}  // namespace talvo

namespace talvo::qt {

// Shown modally over `parent`; returns when it has closed.
void Show_P_dif2raw(Store& store, Platform& platform, Dif2Raw_Opening opening, QWidget* parent);

// The widgets of P_dif2raw; the fields' meaning lives in talvo::P_dif2raw.
// "OK", the close box and Escape all store the fields; a value that gives
// no scan is named in a message and the dialog stays open.
class P_dif2raw_Window : public QDialog {
  Q_OBJECT

 public:
  P_dif2raw_Window(Store& store, Platform& platform, Dif2Raw_Opening opening = Dif2Raw_Opening::Before_Synthesis,
                   QWidget* parent = nullptr);

  void reject() override;

 private slots:
  void on_T_Anode_textChanged(const QString& text);
  void on_Command1_clicked();

 private:
  void Show_Fields();
  void Take_Fields();
  void Try_Close();

  Platform& platform_;
  P_dif2raw logic_;
  bool showing_ = false;
  QLineEdit *T_Bkg, *T_Noise, *T_FWHM, *T_Start, *T_End, *T_SSize, *T_Time, *T_Anode, *T_Lambda;
  QRadioButton* O_Function[3];
  QCheckBox* Ch_range_limits;
};

}  // namespace talvo::qt
