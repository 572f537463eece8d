#include "report/RP_Srch.h"

#include "report/RP_FormButtons.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

TrpPreviewSearchForm::TrpPreviewSearchForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("rpPreviewSearchForm"));
  setWindowTitle(rpLoadStr(rpStrings::FindText));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(rpLoadStr(rpStrings::TextToFind), this);
  edit_ = new QLineEdit(this);
  label->setBuddy(edit_);
  layout->addWidget(label);
  layout->addWidget(edit_);

  auto* groups = new QHBoxLayout;
  auto* options = new QGroupBox(rpLoadStr(rpStrings::Options), this);
  auto* optionsLayout = new QVBoxLayout(options);
  caseSensitive_ = new QCheckBox(rpLoadStr(rpStrings::CaseSensitive), options);
  optionsLayout->addWidget(caseSensitive_);
  auto* origin = new QGroupBox(rpLoadStr(rpStrings::Origin), this);
  auto* originLayout = new QVBoxLayout(origin);
  firstPage_ = new QRadioButton(rpLoadStr(rpStrings::FirstPage), origin);
  currentPage_ = new QRadioButton(rpLoadStr(rpStrings::CurrentPage), origin);
  firstPage_->setChecked(true);
  originLayout->addWidget(firstPage_);
  originLayout->addWidget(currentPage_);
  groups->addWidget(options);
  groups->addWidget(origin);
  layout->addLayout(groups);
  layout->addWidget(rpOkCancelButtons(this));
}

void TrpPreviewSearchForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  edit_->setFocus();
  edit_->selectAll();
}
