#include "app/about_box.h"

#include <QFont>
#include <QLabel>
#include <QPixmap>

namespace talvo::app {

About_Box::About_Box(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("About"));
  setWindowTitle(QStringLiteral("About Talvo"));
  setFixedSize(338, 101);  // 5070 x 1515 twips

  auto* image = new QLabel(this);
  image->setObjectName(QStringLiteral("Image1"));
  image->setPixmap(QPixmap(QStringLiteral(":/talvo/about.png")));
  image->setScaledContents(true);  // the 320 x 240 picture stretched into its frame
  image->setGeometry(16, 8, 65, 72);

  // Title and line share one vertical axis, centred in the room right of the picture.
  auto* title = new QLabel(QStringLiteral("Talvo"), this);
  title->setObjectName(QStringLiteral("Titre3"));
  QFont title_font(QStringLiteral("Arial"));
  title_font.setPointSizeF(20.25);
  title_font.setBold(true);
  title->setFont(title_font);
  title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  title->setGeometry(96, 12, 226, 40);

  auto* line = new QLabel(QString(), this);
  line->setObjectName(QStringLiteral("Label1"));
  line->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  line->setGeometry(96, 60, 226, 17);
}

}  // namespace talvo::app
