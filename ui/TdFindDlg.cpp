#include "ui/TdFindDlg.h"

#include "platform/ApplicationError.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TTdFindDialog::TTdFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FindDialog"));
  setWindowTitle(QStringLiteral("Find"));
  auto* label = new QLabel(QStringLiteral("Fi&nd what:"), this);
  edit_ = new QLineEdit(this);
  edit_->setObjectName(QStringLiteral("FindText"));
  label->setBuddy(edit_);
  findButton_ = new QPushButton(QStringLiteral("&Find Next"), this);
  findButton_->setObjectName(QStringLiteral("FindNext"));
  findButton_->setDefault(true);
  findButton_->setEnabled(false);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(edit_, 1);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(findButton_);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(row, 1);
  layout->addLayout(buttons);

  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) { findButton_->setEnabled(!text.isEmpty()); });
  connect(findButton_, &QPushButton::clicked, this, [this] {
    RunGuarded([this] {
      if (OnFind) OnFind();
    });
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TTdFindDialog::FindText() const { return edit_->text(); }
