// The tool-button lists of the options dialog: glyph list boxes of the buttons' texts with
// their glyphs, the button code kept with each item.
#include "ui/TdOptDlg.h"

#include "treeview/LazyTreeImageList.h"
#include "ui/TdFontOption.h"
#include "ui/TdGlyphListBox.h"

#include <QCheckBox>
#include <QToolButton>

namespace {
constexpr int kCodeRole = Qt::UserRole;

const TToolButtonInfo* ButtonOf(int code) {
  for (const TToolButtonInfo& b : ToolButtons())
    if (b.Code == code) return &b;
  return nullptr;
}

void AddButton(TGlyphListBox* list, int code, const TLTImageList& images) {
  const TToolButtonInfo* info = ButtonOf(code);
  if (info == nullptr) return;
  auto* item = new QListWidgetItem(QString::fromLatin1(info->Text), list);
  item->setData(kCodeRole, code);
  if (images.IsValidIndex(info->ImageIndex)) {
    list->SetItemGlyph(list->count() - 1, QPixmap::fromImage(images.Image(info->ImageIndex)));
  }
}

// The glyph list box keeps its pictures beside the items, so an item that moves takes its
// picture along.
QListWidgetItem* TakeWithGlyph(TGlyphListBox* list, int row, QPixmap& glyph) {
  glyph = list->GetItemGlyph(row);
  QListWidgetItem* item = list->takeItem(row);
  list->DeleteItemGlyph(row);
  return item;
}

void InsertWithGlyph(TGlyphListBox* list, int row, QListWidgetItem* item, const QPixmap& glyph) {
  QVector<QPixmap> glyphs;
  for (int i = 0; i < list->count(); ++i) glyphs << list->GetItemGlyph(i);
  glyphs.insert(row, glyph);
  list->insertItem(row, item);
  for (int i = 0; i < glyphs.size(); ++i) list->SetItemGlyph(i, glyphs[i]);
}

int CurrentRow(const QListWidget* list) {
  const QList<QListWidgetItem*> chosen = list->selectedItems();
  return chosen.isEmpty() ? -1 : list->row(chosen.front());
}

void SelectRow(TGlyphListBox* list, int row) {
  if (list->count() == 0) return;
  list->setCurrentRow(std::min(row, list->count() - 1));
}

// Moves the chosen item to the end of `to` and chooses it there; `from` then chooses the
// same place, or its last item.
void MoveChosen(TGlyphListBox* from, TGlyphListBox* to) {
  const int row = CurrentRow(from);
  if (row < 0) return;
  QPixmap glyph;
  QListWidgetItem* item = TakeWithGlyph(from, row, glyph);
  InsertWithGlyph(to, to->count(), item, glyph);
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
  QPixmap glyph;
  QListWidgetItem* item = TakeWithGlyph(selected_, row, glyph);
  InsertWithGlyph(selected_, target, item, glyph);
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
