#include "about_dialog.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "resources.h"

namespace nimbra {

namespace {

QLabel* Picture(const QString& resource, QSize size, const QString& name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setFixedSize(size);
  label->setPixmap(SvgPixmap(resource, size, parent->devicePixelRatioF()));
  return label;
}

QLabel* Text(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setWordWrap(true);
  return label;
}

QLabel* Title(QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("Temporal rainfall disaggregation"), parent);
  label->setObjectName(QStringLiteral("Title"));
  QFont font = label->font();
  font.setPixelSize(13);
  font.setBold(true);
  label->setFont(font);
  return label;
}

QFrame* Bevel(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Nimbra"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  QPalette black_text = palette();
  black_text.setColor(QPalette::WindowText, Qt::black);
  setPalette(black_text);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(MakeHeading());
  layout->addWidget(Bevel(this));
  layout->addLayout(MakeMemoryLines());
  layout->addLayout(MakeButtonRow());
  layout->setSizeConstraint(QLayout::SetFixedSize);

  ShowMemoryStatus(ReadMemoryStatus());
  CentreOnScreen();
}

QLayout* AboutDialog::MakeHeading() {
  auto* texts = new QVBoxLayout;
  texts->addWidget(
      Picture(QStringLiteral(":/pictures/nimbra_banner.svg"), QSize(145, 25), QStringLiteral("Banner"), this),
      0, Qt::AlignRight);
  texts->addWidget(Title(this));
  texts->addWidget(Text(QStringLiteral("Developed by the Nimbra developers, for hydrologists who need "
                                       "hourly rainfall where only daily records exist."),
                        this));
  texts->addWidget(Text(QStringLiteral("Thanks to everyone who reported faults in earlier versions."), this));
  texts->addWidget(Text(QStringLiteral("Please send suggestions and fault reports to the project's "
                                       "issue tracker."),
                        this));
  // The version of the project, which the run sidecars of nimbra-cli record too.
  texts->addWidget(Text(QStringLiteral("Version " NIMBRA_VERSION), this));
  texts->addStretch();

  auto* heading = new QHBoxLayout;
  heading->addWidget(Picture(QStringLiteral(":/pictures/nimbra_picture.svg"), QSize(200, 175),
                             QStringLiteral("ProgramIcon"), this),
                     0, Qt::AlignTop);
  heading->addLayout(texts);
  return heading;
}

QLayout* AboutDialog::MakeMemoryLines() {
  PhysMem = new QLabel(this);
  PhysMem->setObjectName(QStringLiteral("PhysMem"));
  FreeRes = new QLabel(this);
  FreeRes->setObjectName(QStringLiteral("FreeRes"));
  auto* lines = new QGridLayout;
  lines->addWidget(new QLabel(QStringLiteral("Total physical memory:"), this), 0, 0);
  lines->addWidget(PhysMem, 0, 1);
  lines->addWidget(new QLabel(QStringLiteral("Memory in use:"), this), 1, 0);
  lines->addWidget(FreeRes, 1, 1);
  lines->setColumnStretch(2, 1);
  return lines;
}

QLayout* AboutDialog::MakeButtonRow() {
  // Return presses the default button; Escape rejects the dialog: both close it.
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(OKButton);
  row->addStretch();
  return row;
}

void AboutDialog::ShowMemoryStatus(const MemoryStatus& status) {
  PhysMem->setText(FormatPhysicalMemory(status.TotalBytes, locale()));
  FreeRes->setText(FormatMemoryLoad(status.LoadPercent));
}

void AboutDialog::CentreOnScreen() {
  // Placing the box ourselves also keeps QDialog from centring it over its parent.
  adjustSize();
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect frame(QPoint(0, 0), size());
  frame.moveCenter(screen->availableGeometry().center());
  move(frame.topLeft());
}

}  // namespace nimbra
