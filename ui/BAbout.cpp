#include "ui/BAbout.h"

#include "controls/clurl.h"
#include "core/UtVersion.h"
#include "platform/Desktop.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TAboutInfo ProgramAboutInfo() {
  const TUtVersionInfo version;
  TAboutInfo info;
  info.ProductName = QStringLiteral("Velmora");
  info.VersionPrefix = QStringLiteral("Velmora version ");
  info.FileVersion = version.FileVersion();
  info.LegalNotice = version.LegalCopyright();
  info.SiteName = QStringLiteral("Velmora");
  info.WebAddress = QStringLiteral("https://velmora.example.org/");
  info.MailAddress = QStringLiteral("velmora@example.org");
  return info;
}

TAboutBox::TAboutBox(const TAboutInfo& info, const QIcon& icon, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About ") + info.ProductName);
  auto* grid = new QGridLayout(this);
  auto* picture = new QLabel(this);
  picture->setPixmap(icon.pixmap(32, 32));
  grid->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);

  productName_ = new QLabel(info.ProductName, this);
  QFont bold = productName_->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 2);
  productName_->setFont(bold);
  version_ = new QLabel(info.VersionPrefix + info.FileVersion, this);
  copyright_ = new QLabel(info.LegalNotice, this);
  copyright_->setWordWrap(true);
  webLabel_ = new QLabel(QStringLiteral("Visit ") + info.SiteName + QStringLiteral(" on the Internet:"), this);
  webLink_ = new TClURL(this);
  webLink_->SetCaption(info.WebAddress);
  webLink_->SetURL(info.WebAddress);
  mailLabel_ = new QLabel(QStringLiteral("Send a mail to ") + info.SiteName + QStringLiteral(":"), this);
  mailLink_ = new TClURL(this);
  mailLink_->SetCaption(info.MailAddress);
  mailLink_->SetURL(QStringLiteral("mailto:") + info.MailAddress);
  close_ = new QPushButton(QStringLiteral("Close"), this);
  close_->setDefault(true);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  int row = 0;
  for (QWidget* w : std::initializer_list<QWidget*>{productName_, version_, copyright_, webLabel_, webLink_, mailLabel_,
                                                    mailLink_})
    grid->addWidget(w, row++, 1);
  grid->addWidget(close_, row, 1, Qt::AlignRight);
}

void ShowAboutBox(const TAboutInfo& info, bool stayOnTop, const QIcon& icon, QWidget* parent) {
  std::unique_ptr<TAboutBox> box;
  {
    ScopedWaitCursor wait;
    box = std::make_unique<TAboutBox>(info, icon, parent);
  }
  if (stayOnTop) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box->exec();
}
