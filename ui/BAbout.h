#pragma once
// The About box: the program icon, its name, version and legal notice, a link to the
// product page and a mail link, and "Close".
#include <QDialog>
#include <QIcon>
#include <QString>

class QLabel;
class QPushButton;
class TClURL;

// What the box shows. ProgramAboutInfo() fills it from the program's version record.
struct TAboutInfo {
  QString ProductName;
  QString VersionPrefix;
  QString FileVersion;
  QString LegalNotice;
  QString SiteName;
  QString WebAddress;
  QString MailAddress;
};
TAboutInfo ProgramAboutInfo();

class TAboutBox : public QDialog {
  Q_OBJECT

public:
  TAboutBox(const TAboutInfo& info, const QIcon& icon, QWidget* parent = nullptr);

  QLabel* ProductName() const { return productName_; }
  QLabel* Version() const { return version_; }
  QLabel* Copyright() const { return copyright_; }
  QLabel* WebLabel() const { return webLabel_; }
  QLabel* MailLabel() const { return mailLabel_; }
  TClURL* MailLink() const { return mailLink_; }
  QPushButton* CloseButton() const { return close_; }

private:
  QLabel* productName_;
  QLabel* version_;
  QLabel* copyright_;
  QLabel* webLabel_;
  TClURL* webLink_;
  QLabel* mailLabel_;
  TClURL* mailLink_;
  QPushButton* close_;
};

// Modal; topmost when asked.
void ShowAboutBox(const TAboutInfo& info, bool stayOnTop, const QIcon& icon, QWidget* parent = nullptr);
