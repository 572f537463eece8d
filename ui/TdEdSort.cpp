#include "ui/TdEdSort.h"

#include "core/BTodo.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "ui/TdDialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

QList<TSortColumn> SortColumns(const TTdAppOptions& o) {
  // The type column stays whatever UseType holds: a type key keeps sorting as before.
  const struct {
    int column;
    bool TTdAppOptions::*use;
  } switched[] = {{3, &TTdAppOptions::UseCategory}, {4, &TTdAppOptions::UsePriority}, {6, &TTdAppOptions::UseDTDue},
                  {8, &TTdAppOptions::UsePercent},  {10, &TTdAppOptions::UseAssociation},
                  {11, &TTdAppOptions::UseNotes},   {12, &TTdAppOptions::UseDTReminder},
                  {13, &TTdAppOptions::UseResource}, {14, &TTdAppOptions::UseFlagged},
                  {16, &TTdAppOptions::UseDTDue}};
  TStringList names;
  FillColumnNames(names);
  QList<TSortColumn> columns;
  for (const TStringItem& item : names) {
    bool off = false;
    for (const auto& s : switched) off = off || (s.column == item.object && !(o.*s.use));
    if (!off) columns.push_back({item.text, item.object});
  }
  return columns;
}

int SortItemIndex(const QList<TSortColumn>& columns, int element) {
  for (int i = 0; i < columns.size(); ++i)
    if (columns[i].Column == element) return i;
  return 0;
}

TTdEditSortDialog::TTdEditSortDialog(const TTdAppOptions& options, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      options_(options),
      columns_(SortColumns(options)) {
  setObjectName(QStringLiteral("SortDialog"));
  setWindowTitle(QStringLiteral("Sort options"));
  auto* grid = new QGridLayout;
  const uint8_t elements[3] = {options_.SortElement1, options_.SortElement2, options_.SortElement3};
  const bool directions[3] = {options_.SortAsc1, options_.SortAsc2, options_.SortAsc3};
  for (int k = 0; k < 3; ++k) {
    grid->addWidget(new QLabel(QStringLiteral("Sort on this column as #%1: ").arg(k + 1), this), k, 0);
    lists_[k] = new QComboBox(this);
    lists_[k]->setObjectName(QStringLiteral("SortList%1").arg(k + 1));
    for (const TSortColumn& c : columns_) lists_[k]->addItem(c.Caption, c.Column);
    lists_[k]->setCurrentIndex(SortItemIndex(columns_, elements[k]));
    ascending_[k] = new QCheckBox(QStringLiteral("Ascending"), this);
    ascending_[k]->setObjectName(QStringLiteral("SortAsc%1").arg(k + 1));
    ascending_[k]->setChecked(directions[k]);
    grid->addWidget(lists_[k], k, 1);
    grid->addWidget(ascending_[k], k, 2);
  }
  grid->setColumnStretch(1, 1);

  QBoxLayout* buttons = OkCommandCancelHelpRow(
      *this, QStringLiteral("&Reset"), "ResetButton", [this] { btnResetClick(); },
      [] { ShowHelpContext(kSortDialogHelpContext); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch(1);
  layout->addLayout(buttons);
}

TTdEditSortDialog::~TTdEditSortDialog() = default;

void TTdEditSortDialog::btnResetClick() {
  for (int k = 0; k < 3; ++k) {
    lists_[k]->setCurrentIndex(std::min(kResetSortItems[k], lists_[k]->count() - 1));
    ascending_[k]->setChecked(true);
  }
}

void TTdEditSortDialog::StoreSort() {
  uint8_t* elements[3] = {&options_.SortElement1, &options_.SortElement2, &options_.SortElement3};
  bool* directions[3] = {&options_.SortAsc1, &options_.SortAsc2, &options_.SortAsc3};
  for (int k = 0; k < 3; ++k) {
    *elements[k] = static_cast<uint8_t>(lists_[k]->currentData().toInt());
    *directions[k] = ascending_[k]->isChecked();
  }
}

void TTdEditSortDialog::done(int result) {
  if (result == QDialog::Accepted && !RunGuarded([this] { StoreSort(); })) return;
  QDialog::done(result);
}

bool ShowEditSortDialog(TTdAppOptions& options) {
  std::unique_ptr<TTdEditSortDialog> dialog;
  {
    ScopedWaitCursor wait;
    dialog = std::make_unique<TTdEditSortDialog>(options);
    if (options.AlwaysOnTop) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  if (dialog->exec() != QDialog::Accepted) return false;
  options = dialog->Options();
  return true;
}
