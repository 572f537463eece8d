#include "report/RP_passw.h"

#include "report/RP_FormButtons.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TrpPasswForm::TrpPasswForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("rpPasswForm"));
  setWindowTitle(rpLoadStr(rpStrings::Password));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(rpLoadStr(rpStrings::EnterPassword), this);
  edit_ = new QLineEdit(this);
  edit_->setEchoMode(QLineEdit::Password);
  edit_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // "*" for each character
  label->setBuddy(edit_);
  layout->addWidget(label);
  layout->addWidget(edit_);
  layout->addWidget(rpOkCancelButtons(this));
}

QString TrpPasswForm::Password() const { return edit_->text(); }

void TrpPasswForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  edit_->setFocus();
}
