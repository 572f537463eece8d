// The tool-button lists of the options dialog. Each list is a plain list of the buttons'
// texts with their glyphs, the button code kept with each item.
#include "ui/TdOptDlg.h"

#include "treeview/LazyTreeImageList.h"
#include "ui/TdFontOption.h"
#include "ui/TdImageIcons.h"

#include <QCheckBox>
#include <QListWidget>
#include <QToolButton>

namespace {
constexpr int kCodeRole = Qt::UserRole;

const TToolButtonInfo* ButtonOf(int code) {
  for (const TToolButtonInfo& b : ToolButtons())
    if (b.Code == code) return &b;
  return nullptr;
}

void AddButton(QListWidget* list, int code, const TLTImageList& images) {
  const TToolButtonInfo* info = ButtonOf(code);
  if (info == nullptr) return;
  auto* item = new QListWidgetItem(ImageIcon(images, info->ImageIndex), QString::fromLatin1(info->Text), list);
  item->setData(kCodeRole, code);
}

int CurrentRow(const QListWidget* list) {
  const QList<QListWidgetItem*> chosen = list->selectedItems();
  return chosen.isEmpty() ? -1 : list->row(chosen.front());
}

void SelectRow(QListWidget* list, int row) {
  if (list->count() == 0) return;
  list->setCurrentRow(std::min(row, list->count() - 1));
}

// Moves the chosen item to the end of `to` and chooses it there; `from` then chooses the
// same place, or its last item.
void MoveChosen(QListWidget* from, QListWidget* to) {
  const int row = CurrentRow(from);
  if (row < 0) return;
  QListWidgetItem* item = from->takeItem(row);
  to->addItem(item);
  to->setCurrentItem(item);
  from->clearSelection();
  SelectRow(from, row);
}
}  // namespace

void TTdOptionDialog::FillToolButtonLists() {
  available_->clear();
  selected_->clear();
  const QList<int> chosen = SelectedToolButtons(options_);
  for (const int code : AvailableToolButtons(chosen)) AddButton(available_, code, sources_.SmallImages);
  for (const int code : chosen) AddButton(selected_, code, sources_.SmallImages);
}

QList<int> TTdOptionDialog::SelectedToolButtonCodes() const {
  QList<int> codes;
  for (int i = 0; i < selected_->count(); ++i) codes << selected_->item(i)->data(kCodeRole).toInt();
  return codes;
}

void TTdOptionDialog::SelectToolButton() {
  if (!select_->isEnabled()) return;
  MoveChosen(available_, selected_);
  UpdateToolbarControls();
}

void TTdOptionDialog::DeselectToolButton() {
  if (!deselect_->isEnabled()) return;
  MoveChosen(selected_, available_);
  UpdateToolbarControls();
}

void TTdOptionDialog::MoveToolButton(int step) {
  const int row = CurrentRow(selected_);
  const int target = row + step;
  if (row < 0 || target < 0 || target >= selected_->count()) return;
  QListWidgetItem* item = selected_->takeItem(row);
  selected_->insertItem(target, item);
  selected_->setCurrentItem(item);
  UpdateToolbarControls();
}

void TTdOptionDialog::UpdateToolbarControls() {
  if (!ready_) return;
  const bool on = options_.ShowToolbar;
  available_->setEnabled(on);
  selected_->setEnabled(on);
  if (!on) {
    available_->clearSelection();
    selected_->clearSelection();
  }
  const int chosen = CurrentRow(selected_);
  select_->setEnabled(on && CurrentRow(available_) >= 0);
  deselect_->setEnabled(on && chosen >= 0);
  moveUp_->setEnabled(on && chosen >= 1);
  moveDown_->setEnabled(on && chosen >= 0 && chosen < selected_->count() - 1);
}
