// The header's properties and their reactions, its operations, and the tree's header
// accessors and header events that the rest of the control calls.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeDragImage.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeHeaderArea.h"
#include "treeview/LazyTreeImageList.h"

#include <QGuiApplication>
#include <QPalette>

// ---- Construction -------------------------------------------------------------------------------

TLTHeader::TLTHeader(TBaseLazyTree& tree) : tree_(&tree), columns_(std::make_unique<TLazyTreeColumns>(*this)) {
  const QPalette p = tree.palette();
  background_ = p.color(QPalette::Button);
  fontColor_ = p.color(QPalette::ButtonText);
  font_ = tree.font();
  area_ = new TLTHeaderArea(*this, &tree);  // a child of the tree; deleted with the header
  area_->hide();
  // A dragged column shows darkened and half transparent, without fading.
  dragImage_ = std::make_unique<TLTDragImage>();
  dragImage_->SetFade(false);
  dragImage_->SetPostBlendBias(0);
  dragImage_->SetPreBlendBias(206);
  dragImage_->SetTransparency(140);
}

TLTHeader::~TLTHeader() {
  dragImage_.reset();
  delete area_.data();
}

void TLTHeader::TreeLoaded() {
  if (columns_->needsPositionFix_) columns_->RebuildPositionsFromColumns();
  columns_->ItemChanged(nullptr);
  if (options_.Contains(hoAutoResize)) columns_->FitAutoSizeColumn(NoColumn, false);
  ApplyFrame();
}

QWidget* TLTHeader::Area() const { return area_; }

bool TLTHeader::Loading() const { return states_.Contains(hstReading) || tree_->IsLoading(); }

void TLTHeader::DoStateChange(TLTHeaderStates enter, TLTHeaderStates leave) {
  states_ += enter;
  states_ -= leave;
}

// ---- Properties ---------------------------------------------------------------------------------

void TLTHeader::SetAutoSizeIndex(TColumnIndex value) {
  if (value == autoSizeIndex_) return;
  autoSizeIndex_ = value;
  if (options_.Contains(hoAutoResize) && !Loading()) columns_->FitAutoSizeColumn(NoColumn, true);
}

void TLTHeader::SetBackground(const QColor& value) {
  if (value == background_) return;
  background_ = value;
  RepaintHeader();
}

void TLTHeader::SetFont(const QFont& value) {
  parentFont_ = false;
  font_ = value;
  RepaintHeader();
}

void TLTHeader::TreeFontChanged() {
  if (!parentFont_ || font_ == tree_->font()) return;
  font_ = tree_->font();
  RepaintHeader();
}

void TLTHeader::TreeDirectionChanged() {
  for (int i = 0; i < columns_->Count(); ++i) {
    TLazyTreeColumn& column = *columns_->Items(i);
    if (column.Options().Contains(coParentBidiMode)) column.biDiMode_ = tree_->BiDiMode();
  }
  RepaintHeader();
  tree_->InvalidateTree();
}

void TLTHeader::TreeColorChanged() {
  for (int i = 0; i < columns_->Count(); ++i) {
    TLazyTreeColumn& column = *columns_->Items(i);
    if (column.Options().Contains(coParentColor)) column.color_ = tree_->Color();
  }
}

void TLTHeader::SetFontColor(const QColor& value) {
  if (value == fontColor_) return;
  fontColor_ = value;
  RepaintHeader();
}

void TLTHeader::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value) {
    font_ = tree_->font();
    RepaintHeader();
  }
}

void TLTHeader::SetHeight(int value) {
  value = std::max(value, 0);
  if (value == height_) return;
  height_ = value;
  if (!Loading()) ApplyFrame();
}

void TLTHeader::SetImages(TLTImageList* value) {
  if (value == images_) return;
  if (images_ && area_) QObject::disconnect(images_, nullptr, area_, nullptr);
  images_ = value;
  if (images_ && area_) QObject::connect(images_, &TLTImageList::Changed, area_, [this] { RepaintHeader(); });
  if (!Loading()) RepaintHeader();
}

TColumnIndex TLTHeader::MainColumn() const { return columns_->Count() > 0 ? mainColumn_ : NoColumn; }

void TLTHeader::SetMainColumn(TColumnIndex value) {
  if (Loading()) {
    mainColumn_ = value;
    return;
  }
  value = columns_->Count() == 0 ? NoColumn : std::clamp(value, 0, columns_->Count() - 1);
  if (value == mainColumn_) return;
  mainColumn_ = value;
  tree_->MainColumnChanged(value);
}

void TLTHeader::SetOptions(TLTHeaderOptions value) {
  value = TLTHeaderOptions::FromBits(value.Bits() & kHeaderOptionBits);
  if (value == options_) return;
  const TLTHeaderOptions old = options_;
  options_ = value;
  if (Loading()) return;
  if (old.Contains(hoAutoResize) != value.Contains(hoAutoResize) && columns_->Count() > 0) {
    columns_->FitAutoSizeColumn(NoColumn, false);
    tree_->UpdateScrollBars(true);
  }
  // Springs share what changes from now on.
  if (value.Contains(hoAutoSpring) && !old.Contains(hoAutoSpring)) columns_->lastClientWidth_ = tree_->ClientWidth();
  if (old.Contains(hoVisible) != value.Contains(hoVisible)) ApplyFrame();
  RepaintHeader();
}

void TLTHeader::SetSortColumn(TColumnIndex value) {
  if (Loading()) {
    sortColumn_ = value;
    return;
  }
  value = std::clamp(value, NoColumn, columns_->Count() - 1);
  if (value == sortColumn_) return;
  RepaintHeader(sortColumn_);
  sortColumn_ = value;
  RepaintHeader(sortColumn_);
  if (tree_->TreeOptions().AutoOptions().Contains(toAutoSort) && tree_->UpdateCount() == 0)
    tree_->SortTree(sortColumn_, sortDirection_ == sdAscending, true);
}

void TLTHeader::SetSortDirection(TSortDirection value) {
  if (value == sortDirection_) return;
  sortDirection_ = value;
  if (Loading()) return;
  RepaintHeader();
  if (tree_->TreeOptions().AutoOptions().Contains(toAutoSort) && tree_->UpdateCount() == 0)
    tree_->SortTree(sortColumn_, sortDirection_ == sdAscending, true);
}

void TLTHeader::SetStyle(TLTHeaderStyle value) {
  if (value == style_) return;
  style_ = value;
  if (!Loading()) RepaintHeader();
}

void TLTHeader::ScaleFont(int m, int d) {
  if (d == 0 || m == d) return;
  if (font_.pixelSize() > 0)
    font_.setPixelSize(std::max(1, font_.pixelSize() * m / d));
  else
    font_.setPointSizeF(std::max(1.0, font_.pointSizeF() * m / d));
  RepaintHeader();
}

// ---- Frame and geometry -------------------------------------------------------------------------

void TLTHeader::ApplyFrame() {
  tree_->ApplyFrame();  // the rows start below the header; the header's widget follows
}

void TLTHeader::UpdateGeometry() {
  if (!area_) return;
  if (!options_.Contains(hoVisible) || height_ <= 0) {
    area_->hide();
    return;
  }
  const QRect rows = tree_->viewport()->geometry();
  area_->setGeometry(rows.left(), rows.top() - height_, rows.width(), height_);
  area_->show();
}

void TLTHeader::TreeResized() {
  UpdateGeometry();
  columns_->ResizeSpringColumns(tree_->ClientWidth());
  if (options_.Contains(hoAutoResize) && !states_.Contains(hstFitting) && !tree_->TreeStates().Contains(tsWindowCreating)) {
    columns_->FitAutoSizeColumn(NoColumn, false);
    RepaintHeader();
  }
}

QRect TLTHeader::ButtonRect(TColumnIndex column, bool toRightEdge) const {
  int left = 0, right = 0;
  columns_->ColumnSpan(column, left, right);
  if (toRightEdge && area_) right = std::max(right, area_->width());
  return QRect(left, 0, right - left, height_);
}

void TLTHeader::RepaintHeader(TColumnIndex column, bool toRightEdge) {
  if (!area_ || !options_.Contains(hoVisible) || !area_->isVisible()) return;
  if (columns_->IsColumnIndex(column))
    area_->update(ButtonRect(column, toRightEdge));
  else
    area_->update();
}

bool TLTHeader::InHeaderArea(QPoint p) const {
  return options_.Contains(hoVisible) && area_ && QRect(0, 0, area_->width(), height_).contains(p);
}

bool TLTHeader::InSplitArea(QPoint p) {
  columns_->trackIndex_ = NoColumn;
  if (columns_->Count() == 0) return false;
  int right = tree_->OffsetX() + columns_->AllColumnsWidth();
  const auto& positions = columns_->PositionArray();
  for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
    TLazyTreeColumn& column = *columns_->Items(*it);
    if (!column.Visible()) continue;
    if (p.x() > right - 3 && p.x() < right + 5) {
      if (!column.Options().Contains(coResizable)) return false;
      columns_->trackIndex_ = column.Index();
      trackStart_ = right - column.Width();
      return true;
    }
    right -= column.Width();
  }
  return false;
}

TShiftState TLTHeader::KeyboardShift(bool dbl) const {
  const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
  TShiftState shift;
  if (keys & Qt::ShiftModifier) shift.Include(ssShift);
  if (keys & Qt::AltModifier) shift.Include(ssAlt);
  if (keys & Qt::ControlModifier) shift.Include(ssCtrl);
  if (dbl) shift.Include(ssDouble);
  return shift;
}

bool TLTHeader::ClickAt(QPoint p, Qt::MouseButton button, bool dbl, bool force) {
  const TColumnIndex column = columns_->ColumnAtPoint(p, true);
  const TColumnIndex previous = columns_->clickIndex_;
  bool clicked = false;
  if (columns_->IsColumnIndex(column) && columns_->Items(column)->Options().Contains(coAllowClick) &&
      (force || column == columns_->pressedIndex_)) {
    columns_->clickIndex_ = column;
    tree_->DoHeaderClick(column, button, KeyboardShift(dbl), p);
    RepaintHeader(column);
    clicked = true;
  } else {
    columns_->clickIndex_ = NoColumn;
  }
  if (previous != column && columns_->IsColumnIndex(previous)) RepaintHeader(previous);
  return clicked;
}

void TLTHeader::FitColumnsToContent(bool animated) {
  DoStateChange({hstFitting});
  for (TColumnIndex index : QVector<TColumnIndex>(columns_->PositionArray())) {
    if (!columns_->IsColumnIndex(index)) continue;
    TLazyTreeColumn& column = *columns_->Items(index);
    if (!column.Options().Contains(coResizable) || !column.Visible()) continue;
    const int width = tree_->GetColumnContentWidth(index);
    if (animated)
      columns_->ResizeAnimated(index, width);
    else
      column.SetWidth(width);
  }
  DoStateChange({}, {hstFitting});
}

void TLTHeader::RestoreColumnWidths() {
  const QVector<TColumnIndex> positions = columns_->PositionArray();
  for (auto it = positions.crbegin(); it != positions.crend(); ++it) {
    if (!columns_->IsColumnIndex(*it)) continue;
    TLazyTreeColumn& column = *columns_->Items(*it);
    if (column.Options().Contains(coResizable) && column.Visible()) columns_->ResizeAnimated(*it, column.PreviousWidth());
  }
}

// ---- The tree's header and columns --------------------------------------------------------------

TLazyTreeColumns& TBaseLazyTree::Columns() const { return header_->Columns(); }

TBiDiMode TBaseLazyTree::BiDiMode() const {
  return layoutDirection() == Qt::RightToLeft ? bdRightToLeft : bdLeftToRight;
}

// ---- Header events ------------------------------------------------------------------------------

void TBaseLazyTree::DoColumnResize(TColumnIndex column) {
  if (OnColumnResize) OnColumnResize(this, column);
}

bool TBaseLazyTree::DoHeaderDragging(TColumnIndex column) {
  bool allowed = true;
  if (OnHeaderDragging) OnHeaderDragging(this, column, allowed);
  return allowed;
}

void TBaseLazyTree::DoHeaderDragged(TColumnIndex column, int oldPosition) {
  if (OnHeaderDragged) OnHeaderDragged(this, column, oldPosition);
}

void TBaseLazyTree::DoHeaderDraggedOut(TColumnIndex column, QPoint dropPosition) {
  if (OnHeaderDraggedOut) OnHeaderDraggedOut(this, column, dropPosition);
}

void TBaseLazyTree::MainColumnChanged(TColumnIndex column) {
  if (IsEditing()) EndEditNode();
  if (!options_->SelectionOptions().Contains(toExtendedFocus)) focusedColumn_ = column;
  InvalidateTree();
}

void TBaseLazyTree::DoHeaderClick(TColumnIndex column, Qt::MouseButton button, TShiftState shift, QPoint p) {
  if (OnHeaderClick) OnHeaderClick(this, column, button, shift, p.x(), p.y());
}

void TBaseLazyTree::DoHeaderDblClick(TColumnIndex column, Qt::MouseButton button, TShiftState shift, QPoint p) {
  if (OnHeaderDblClick) OnHeaderDblClick(this, column, button, shift, p.x(), p.y());
}

void TBaseLazyTree::DoHeaderMouseDown(Qt::MouseButton button, TShiftState shift, QPoint p) {
  if (OnHeaderMouseDown) OnHeaderMouseDown(this, button, shift, p.x(), p.y());
}

void TBaseLazyTree::DoHeaderMouseUp(Qt::MouseButton button, TShiftState shift, QPoint p) {
  if (OnHeaderMouseUp) OnHeaderMouseUp(this, button, shift, p.x(), p.y());
}

void TBaseLazyTree::DoHeaderMouseMove(TShiftState shift, QPoint p) {
  if (OnHeaderMouseMove) OnHeaderMouseMove(this, shift, p.x(), p.y());
}

void TBaseLazyTree::DoGetHeaderCursor(QCursor& cursor) {
  if (OnGetHeaderCursor) OnGetHeaderCursor(this, cursor);
}
