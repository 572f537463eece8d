// The column collection: properties with their clamping, the position array, left edges,
// lookups in display order, auto-size, spring and animated resizing.
#include "treeview/LazyTreeColumns.h"

#include "treeview/LazyTreeHeader.h"

#include <QThread>
#include <QWidget>

#include <algorithm>
#include <cmath>

// ---- One column -------------------------------------------------------------------------------

TLazyTreeColumn::TLazyTreeColumn(TLazyTreeColumns& owner, int index) : owner_(&owner), index_(index) {
  TBaseLazyTree& tree = owner.Header().Tree();
  color_ = tree.Color();
  biDiMode_ = tree.BiDiMode();
}

TLTHeader& TLazyTreeColumn::Header() const { return owner_->Header(); }
bool TLazyTreeColumn::Loading() const { return Header().Loading(); }
void TLazyTreeColumn::Changed() { owner_->ItemChanged(this); }

QString TLazyTreeColumn::DisplayName() const {
  const bool narrow = std::all_of(text_.cbegin(), text_.cend(), [](QChar c) { return c.unicode() <= 255; });
  return narrow ? text_ : QStringLiteral("Column %1").arg(index_);
}

TLTAlignment TLazyTreeColumn::DisplayAlignment() const {
  if (biDiMode_ == bdLeftToRight || biDiMode_ == bdRightToLeftNoAlign || alignment_ == taCenter) return alignment_;
  return alignment_ == taLeftJustify ? taRightJustify : taLeftJustify;
}

void TLazyTreeColumn::SetIndex(int newIndex) {
  newIndex = std::clamp(newIndex, 0, owner_->Count() - 1);
  if (newIndex == index_) return;
  const int old = index_;
  auto& items = owner_->items_;
  auto moving = std::move(items[static_cast<std::size_t>(old)]);
  items.erase(items.begin() + old);
  items.insert(items.begin() + newIndex, std::move(moving));
  owner_->Renumber();
  owner_->IndexChanged(old, newIndex);
  owner_->ItemChanged(nullptr);
}

void TLazyTreeColumn::SetAlignment(TLTAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  if (!Loading()) Header().Tree().InvalidateTree();
  Changed();
}

void TLazyTreeColumn::SetBiDiMode(TBiDiMode value) {
  options_.Exclude(coParentBidiMode);
  if (value == biDiMode_) return;
  biDiMode_ = value;
  if (!Loading()) Header().Tree().InvalidateTree();
  Changed();
}

void TLazyTreeColumn::SetColor(const QColor& value) {
  options_.Exclude(coParentColor);
  if (value == color_) return;
  color_ = value;
  if (!Loading()) Header().Tree().InvalidateTree();
  Changed();
}

void TLazyTreeColumn::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

void TLazyTreeColumn::SetLayout(TLTHeaderColumnLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Changed();
}

void TLazyTreeColumn::SetMargin(int value) {
  if (value < 0) value = 4;
  if (value == margin_) return;
  margin_ = value;
  Changed();
}

void TLazyTreeColumn::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  Changed();
}

void TLazyTreeColumn::SetStyle(TLazyTreeColumnStyle value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TLazyTreeColumn::SetText(const QString& value) {
  if (value == text_) return;
  text_ = value;
  Changed();
}

void TLazyTreeColumn::SetMinWidth(int value) {
  value = std::min(std::max(value, 0), maxWidth_);
  if (value == minWidth_) return;
  minWidth_ = value;
  if (width_ < minWidth_) SetWidth(minWidth_);
  Changed();
}

void TLazyTreeColumn::SetMaxWidth(int value) {
  value = std::max(value, minWidth_);
  if (value == maxWidth_) return;
  maxWidth_ = value;
  if (width_ > maxWidth_) SetWidth(maxWidth_);
  Changed();
}

void TLazyTreeColumn::SetWidth(int value) {
  value = std::clamp(value, minWidth_, maxWidth_);
  if (value == width_) return;
  TLTHeader& header = Header();
  // The auto-size column's width is only ever computed.
  if (header.Options().Contains(hoAutoResize) && index_ == header.AutoSizeIndex()) return;
  previousWidth_ = width_;
  width_ = value;
  owner_->RecomputeLefts(false);
  if (!Loading() && owner_->UpdateCount() == 0) {
    if (header.Options().Contains(hoAutoResize)) owner_->FitAutoSizeColumn(index_, false);
    header.Tree().DoColumnResize(index_);
  }
  // Every column right of this one moves: the whole header and the rows repaint.
  owner_->ItemChanged(nullptr);
}

void TLazyTreeColumn::SetPosition(TColumnPosition value) {
  if (Loading()) {
    position_ = value;
    return;
  }
  const auto count = static_cast<TColumnPosition>(owner_->Count());
  if (value >= count) value = count - 1;
  owner_->AdjustPositionArray();
  if (value == position_) return;
  TBaseLazyTree& tree = Header().Tree();
  if (tree.IsEditing()) tree.EndEditNode();
  owner_->MovePosition(*this, value);
  if (owner_->UpdateCount() == 0) {
    Header().RepaintHeader(index_, true);
    tree.InvalidateTree();
  }
  owner_->ItemChanged(nullptr);
}

void TLazyTreeColumn::SetOptions(TLTColumnOptions value) {
  value = TLTColumnOptions::FromBits(value.Bits() & kColumnOptionBits);
  if (value == options_) return;
  const TLTColumnOptions old = options_;
  options_ = value;
  TBaseLazyTree& tree = Header().Tree();
  auto newly = [&](TLTColumnOption o) { return value.Contains(o) && !old.Contains(o); };
  if (newly(coParentBidiMode)) biDiMode_ = tree.BiDiMode();
  if (newly(coParentColor)) color_ = tree.Color();
  if (newly(coAutoSpring)) springRest_ = 0;
  const bool visibility = old.Contains(coVisible) != value.Contains(coVisible);
  if (!Loading()) {
    if ((visibility || newly(coParentColor)) && owner_->UpdateCount() == 0) tree.InvalidateTree();
    if (visibility) tree.UpdateScrollBars(true);
  }
  if (visibility)
    owner_->ItemChanged(nullptr);
  else
    Changed();
}

// ---- The collection -----------------------------------------------------------------------------

TLazyTreeColumns::TLazyTreeColumns(TLTHeader& header) : header_(&header) {}

TLazyTreeColumns::~TLazyTreeColumns() {
  clearing_ = true;
  items_.clear();
}

void TLazyTreeColumns::Renumber() {
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i);
}

TLazyTreeColumn* TLazyTreeColumns::Add() {
  const int index = Count();
  items_.push_back(std::make_unique<TLazyTreeColumn>(*this, index));
  items_.back()->position_ = static_cast<TColumnPosition>(index);
  // Columns read with a form keep the positions stored with them, put in order once the
  // form is loaded.
  if (header_->Tree().IsLoading()) needsPositionFix_ = true;
  AdjustPositionArray();
  ColumnAppended(*items_.back());
  return items_.back().get();
}

void TLazyTreeColumns::Delete(int index) {
  if (!IsColumnIndex(index)) return;
  ColumnRemoved(index);
  items_.erase(items_.begin() + index);
  Renumber();
  IndexChanged(index, -1);
  ItemChanged(nullptr);
}

void TLazyTreeColumns::ColumnRemoved(int index) {
  if (clearing_) return;
  auto follow = [index](TColumnIndex& value) {
    if (value == index)
      value = NoColumn;
    else if (value > index)
      --value;
  };
  for (TColumnIndex* i : {&hotIndex_, &pressedIndex_, &trackIndex_, &clickIndex_, &dropTarget_, &draggedIndex_})
    follow(*i);
  follow(header_->autoSizeIndex_);
  follow(header_->sortColumn_);
  // The first remaining column takes over the tree lines and buttons.
  if (header_->mainColumn_ == index)
    header_->mainColumn_ = Count() > 1 ? 0 : NoColumn;
  else if (header_->mainColumn_ > index)
    --header_->mainColumn_;
}

void TLazyTreeColumns::Clear() {
  if (items_.empty()) return;
  clearing_ = true;
  items_.clear();
  positionToIndex_.clear();
  hotIndex_ = pressedIndex_ = trackIndex_ = clickIndex_ = dropTarget_ = draggedIndex_ = NoColumn;
  if (!header_->Loading()) {
    header_->autoSizeIndex_ = NoColumn;
    header_->mainColumn_ = NoColumn;
    header_->sortColumn_ = NoColumn;
  }
  clearing_ = false;
  ItemChanged(nullptr);
}

void TLazyTreeColumns::BeginUpdate() { ++updateCount_; }

void TLazyTreeColumns::EndUpdate() {
  if (updateCount_ > 0) --updateCount_;
  if (updateCount_ == 0 && changedInUpdate_) {
    changedInUpdate_ = false;
    ItemChanged(nullptr);
  }
}

void TLazyTreeColumns::ItemChanged(TLazyTreeColumn* item) {
  if (updateCount_ > 0) {
    changedInUpdate_ = true;
    return;
  }
  if (needsPositionFix_ || clearing_) return;
  AdjustPositionArray();
  RecomputeLefts(false);
  Refresh(item);
}

void TLazyTreeColumns::ColumnAppended(TLazyTreeColumn& column) {
  if (updateCount_ > 0 || needsPositionFix_ || clearing_ || positionToIndex_.size() != Count() ||
      positionToIndex_.back() != column.index_) {
    ItemChanged(nullptr);
    return;
  }
  // Outside an update the others' lefts are current: the new one starts where the
  // column before it in position ends.
  int left = 0;
  if (positionToIndex_.size() > 1) {
    const TLazyTreeColumn& before = *items_[static_cast<std::size_t>(positionToIndex_[positionToIndex_.size() - 2])];
    left = before.left_ + (before.Visible() ? before.width_ : 0);
  }
  column.position_ = static_cast<TColumnPosition>(positionToIndex_.size() - 1);
  column.left_ = left;
  Refresh(nullptr);
}

void TLazyTreeColumns::Refresh(TLazyTreeColumn* item) {
  // The main column always names a column while there are any (a stored layout may name
  // one that is gone).
  if (Count() > 0 && (header_->mainColumn_ < 0 || header_->mainColumn_ >= Count())) header_->mainColumn_ = 0;
  if (header_->sortColumn_ >= Count()) header_->sortColumn_ = NoColumn;
  if (header_->Loading()) return;
  if (header_->Options().Contains(hoAutoResize)) FitAutoSizeColumn(NoColumn, false);
  TBaseLazyTree& tree = header_->Tree();
  if (item) {
    header_->RepaintHeader(item->Index(), false);
  } else {
    header_->RepaintHeader();
    tree.InvalidateTree();
    tree.UpdateScrollBars(true);
  }
}

// ---- Position array -----------------------------------------------------------------------------

void TLazyTreeColumns::AdjustPositionArray() {
  const int count = Count();
  if (positionToIndex_.size() == count) return;
  if (positionToIndex_.size() < count) {
    for (int n = static_cast<int>(positionToIndex_.size()); n < count; ++n) positionToIndex_.append(n);
    return;
  }
  // Shrinking keeps a permutation: entries naming no column go, missing indexes are appended.
  QVector<TColumnIndex> kept;
  QVector<bool> present(count, false);
  for (TColumnIndex i : positionToIndex_)
    if (i >= 0 && i < count && !present[i]) {
      kept.append(i);
      present[i] = true;
    }
  for (int i = 0; i < count; ++i)
    if (!present[i]) kept.append(i);
  positionToIndex_ = std::move(kept);
}

void TLazyTreeColumns::MovePosition(TLazyTreeColumn& column, TColumnPosition newPosition) {
  const int from = static_cast<int>(positionToIndex_.indexOf(column.index_));
  const int to = static_cast<int>(newPosition);
  if (from < 0 || to >= positionToIndex_.size() || from == to) return;
  if (from < to)
    std::copy(positionToIndex_.begin() + from + 1, positionToIndex_.begin() + to + 1, positionToIndex_.begin() + from);
  else
    std::copy_backward(positionToIndex_.begin() + to, positionToIndex_.begin() + from, positionToIndex_.begin() + from + 1);
  positionToIndex_[to] = column.index_;
  RecomputeLefts(true);
}

void TLazyTreeColumns::IndexChanged(int oldIndex, int newIndex) {
  if (newIndex < 0) {
    positionToIndex_.removeAll(oldIndex);
    for (TColumnIndex& entry : positionToIndex_)
      if (entry > oldIndex) --entry;
    return;
  }
  // The moved column keeps its display position; the columns between shift by one index.
  for (TColumnIndex& entry : positionToIndex_) {
    if (entry == oldIndex)
      entry = newIndex;
    else if (oldIndex < newIndex && entry > oldIndex && entry <= newIndex)
      --entry;
    else if (oldIndex > newIndex && entry >= newIndex && entry < oldIndex)
      ++entry;
  }
}

void TLazyTreeColumns::RebuildPositionsFromColumns() {
  // Stored positions may collide or run past the end: order by them, ties by index.
  QVector<TColumnIndex> order(Count());
  for (int i = 0; i < Count(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [this](int a, int b) { return items_[std::size_t(a)]->position_ < items_[std::size_t(b)]->position_; });
  positionToIndex_ = order;
  needsPositionFix_ = false;
  RecomputeLefts(true);
}

void TLazyTreeColumns::RecomputeLefts(bool force) {
  if (!force && (needsPositionFix_ || updateCount_ > 0)) return;
  AdjustPositionArray();
  int left = 0;
  for (int position = 0; position < positionToIndex_.size(); ++position) {
    TLazyTreeColumn& column = *items_[static_cast<std::size_t>(positionToIndex_[position])];
    column.position_ = static_cast<TColumnPosition>(position);
    column.left_ = left;
    if (column.Visible()) left += column.width_;
  }
}

// ---- Lookups ------------------------------------------------------------------------------------

TColumnIndex TLazyTreeColumns::ColumnAtPoint(QPoint p, bool relative) const {
  if (p.x() < 0 || p.y() < 0 || p.y() > header_->Tree().height()) return InvalidColumn;
  int sum = relative ? header_->Tree().OffsetX() : 0;
  for (TColumnIndex index : positionToIndex_) {
    const TLazyTreeColumn& column = *items_[static_cast<std::size_t>(index)];
    if (!column.Visible()) continue;
    if (p.x() >= sum && p.x() < sum + column.width_) return index;
    sum += column.width_;
  }
  return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::IndexOfPosition(TColumnPosition position) const {
  return position < static_cast<TColumnPosition>(positionToIndex_.size()) ? positionToIndex_[int(position)] : NoColumn;
}

TColumnIndex TLazyTreeColumns::FirstShownColumn() const {
  for (TColumnIndex index : positionToIndex_)
    if (items_[std::size_t(index)]->Visible()) return index;
  return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::LastShownColumn() const {
  for (auto it = positionToIndex_.crbegin(); it != positionToIndex_.crend(); ++it)
    if (items_[std::size_t(*it)]->Visible()) return *it;
  return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::ColumnAfter(TColumnIndex index) const {
  if (!IsColumnIndex(index)) return InvalidColumn;
  const auto next = items_[std::size_t(index)]->position_ + 1;
  return next < TColumnPosition(Count()) ? positionToIndex_[int(next)] : InvalidColumn;
}

TColumnIndex TLazyTreeColumns::ColumnBefore(TColumnIndex index) const {
  if (!IsColumnIndex(index)) return InvalidColumn;
  const auto position = items_[std::size_t(index)]->position_;
  return position > 0 ? positionToIndex_[int(position - 1)] : InvalidColumn;
}

TColumnIndex TLazyTreeColumns::ShownColumnAfter(TColumnIndex index) const {
  for (index = ColumnAfter(index); index >= 0; index = ColumnAfter(index))
    if (items_[std::size_t(index)]->Visible()) return index;
  return InvalidColumn;
}

TColumnIndex TLazyTreeColumns::ShownColumnBefore(TColumnIndex index) const {
  for (index = ColumnBefore(index); index >= 0; index = ColumnBefore(index))
    if (items_[std::size_t(index)]->Visible()) return index;
  return InvalidColumn;
}

QVector<TColumnIndex> TLazyTreeColumns::ShownColumnList() const {
  QVector<TColumnIndex> list;
  for (TColumnIndex index : positionToIndex_)
    if (items_[std::size_t(index)]->Visible()) list.append(index);
  return list;
}

void TLazyTreeColumns::ColumnSpan(TColumnIndex index, int& left, int& right) const {
  const TBaseLazyTree& tree = header_->Tree();
  if (!IsColumnIndex(index)) {
    left = 0;
    right = tree.ClientWidth();
    return;
  }
  const TLazyTreeColumn& column = *items_[std::size_t(index)];
  left = column.left_ + tree.OffsetX();
  right = left + column.width_;
}

int TLazyTreeColumns::AllColumnsWidth() const {
  // A hidden column at the last position adds nothing.
  const TColumnIndex last = LastShownColumn();
  if (last < 0) return 0;
  const TLazyTreeColumn& column = *items_[std::size_t(last)];
  return column.left_ + column.width_;
}

// ---- Resizing -----------------------------------------------------------------------------------

void TLazyTreeColumns::FitAutoSizeColumn(TColumnIndex currentIndex, bool force) {
  if (Count() == 0 || !header_->Options().Contains(hoAutoResize)) return;
  TColumnIndex target = header_->AutoSizeIndex();
  if (!IsColumnIndex(target)) target = Count() - 1;
  // A change at or right of the auto-size column is taken up by the next visible column.
  if (IsColumnIndex(currentIndex) && items_[std::size_t(currentIndex)]->position_ >= items_[std::size_t(target)]->position_) {
    target = ShownColumnAfter(currentIndex);
    if (target < 0) return;
  }
  TBaseLazyTree& tree = header_->Tree();
  int width = tree.ClientWidth();
  for (const auto& column : items_)
    if (column->index_ != target && column->Visible()) width -= column->width_;
  TLazyTreeColumn& column = *items_[std::size_t(target)];
  width = std::clamp(width, column.minWidth_, column.maxWidth_);
  if (!force && width == column.width_) return;
  column.width_ = width;
  RecomputeLefts(true);
  tree.DoColumnResize(target);
  header_->RepaintHeader();
  tree.InvalidateTree();
  tree.UpdateScrollBars(true);
}

void TLazyTreeColumns::ResizeSpringColumns(int clientWidth) {
  const int last = lastClientWidth_;
  lastClientWidth_ = clientWidth;
  if (!header_->Options().Contains(hoAutoSpring) || last <= 0 || clientWidth == last) return;
  const int change = clientWidth - last;
  QVector<TLazyTreeColumn*> springs;
  for (const auto& column : items_)
    if (column->Visible() && column->options_.Contains(coAutoSpring)) springs.append(column.get());
  if (springs.isEmpty()) return;
  const float share = float(std::abs(change)) / float(springs.size());
  float left = float(std::abs(change));
  for (TLazyTreeColumn* column : springs) {
    column->springRest_ += share;
    if (column->springRest_ >= 1) {
      const int whole = static_cast<int>(column->springRest_);
      column->springRest_ -= float(whole);
      column->SetWidth(column->width_ + (change > 0 ? whole : -whole));
    }
    left -= share;
    if (left < 0) break;
  }
}

void TLazyTreeColumns::ResizeAnimated(TColumnIndex index, int newWidth) {
  if (!IsColumnIndex(index)) return;
  TLazyTreeColumn& column = *items_[std::size_t(index)];
  newWidth = std::clamp(newWidth, column.minWidth_, column.maxWidth_);
  if (newWidth == column.width_) return;
  TBaseLazyTree& tree = header_->Tree();
  const int step = (newWidth - column.width_) / 32;
  if (step != 0 && tree.isVisible() && column.Visible()) {
    // The rows and header buttons right of the column slide over in 32 steps.
    const int right = column.left_ + column.width_ + tree.OffsetX();
    QWidget* viewport = tree.viewport();
    QWidget* area = header_->Area();
    for (int i = 0, edge = right; i < 32; ++i, edge += step) {
      const QRect rows(edge, 0, std::max(viewport->width() - edge, 0), viewport->height());
      viewport->scroll(step, 0, rows);
      if (area && area->isVisible()) area->scroll(step, 0, QRect(edge, 0, std::max(area->width() - edge, 0), area->height()));
      viewport->repaint();
      QThread::usleep(1000);
    }
  }
  column.SetWidth(newWidth);
}
