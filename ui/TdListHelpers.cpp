#include "ui/TdListHelpers.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QListWidget>

namespace {

bool IsMultiSelect(const QListWidget* box) {
  const auto mode = box->selectionMode();
  return mode == QAbstractItemView::MultiSelection || mode == QAbstractItemView::ExtendedSelection;
}

}  // namespace

bool ListBoxHasItems(const QListWidget* box) { return box->count() > 0; }

bool ListBoxHasSelection(const QListWidget* box) {
  if (IsMultiSelect(box)) return !box->selectedItems().isEmpty();
  return box->count() > 0 && box->currentRow() >= 0;
}

QString ListBoxSelectedText(const QListWidget* box) {
  const QListWidgetItem* item = box->currentItem();
  return item ? item->text() : QString();
}

void ListBoxSelectIndex(QListWidget* box, int index) {
  if (index < 0 || index >= box->count()) return;
  if (IsMultiSelect(box)) box->item(index)->setSelected(true);
  else box->setCurrentRow(index);
}

void ListBoxSelectFirst(QListWidget* box) { ListBoxSelectIndex(box, 0); }
void ListBoxSelectLast(QListWidget* box) { ListBoxSelectIndex(box, box->count() - 1); }

void ListBoxDeleteCurrent(QListWidget* box) {
  const int row = box->currentRow();
  if (row < 0) return;
  delete box->takeItem(row);
  ListBoxSelectIndex(box, row < box->count() ? row : box->count() - 1);
}

void ListBoxDeleteSelected(QListWidget* box) {
  for (int row = box->count() - 1; row >= 0; --row)
    if (box->item(row)->isSelected()) delete box->takeItem(row);
}

void ListBoxCopySelected(const QListWidget* from, QListWidget* to) {
  to->setUpdatesEnabled(false);
  for (int row = 0; row < from->count(); ++row) {
    const QListWidgetItem* item = from->item(row);
    if (item->isSelected()) to->addItem(item->clone());
  }
  to->setUpdatesEnabled(true);
}

void ListBoxMoveSelected(QListWidget* from, QListWidget* to) {
  ListBoxCopySelected(from, to);
  ListBoxDeleteSelected(from);
}

namespace {

void MoveItem(QListWidget* box, int delta) {
  const int row = box->currentRow(), target = row + delta;
  if (row < 0 || target < 0 || target >= box->count()) return;
  QListWidgetItem* item = box->takeItem(row);
  box->insertItem(target, item);
  box->setCurrentRow(target);
}

}  // namespace

void ListBoxMoveItemUp(QListWidget* box) { MoveItem(box, -1); }
void ListBoxMoveItemDown(QListWidget* box) { MoveItem(box, 1); }

bool ListBoxCanMoveUp(const QListWidget* box) { return box->count() > 0 && box->currentRow() >= 1; }

bool ListBoxCanMoveDown(const QListWidget* box) {
  return ListBoxHasSelection(box) && box->currentRow() >= 0 && box->currentRow() < box->count() - 1;
}

bool ComboBoxHasSelection(const QComboBox* box) { return box->count() > 0 && box->currentIndex() >= 0; }

void EnableRadioGroupItem(QButtonGroup* group, int n, bool enabled) {
  const auto buttons = group->buttons();
  if (n >= 0 && n < buttons.size()) buttons[n]->setEnabled(enabled);
}

void CheckListBoxUncheckAll(QListWidget* box) {
  for (int row = 0; row < box->count(); ++row) box->item(row)->setCheckState(Qt::Unchecked);
}

int CheckListBoxCheckedCount(const QListWidget* box) {
  int count = 0;
  for (int row = 0; row < box->count(); ++row)
    if (box->item(row)->checkState() == Qt::Checked) ++count;
  return count;
}
