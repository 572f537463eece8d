// Scroll offsets and ranges, the scroll bars, the frame, the geometry of rows, the paint
// of the rows in view, hit testing and the standard tree-view queries.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTrees.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>

// ---- Offsets and ranges ---------------------------------------------------------------

int TBaseLazyTree::ClientWidth() const { return viewport()->width(); }
int TBaseLazyTree::ClientHeight() const { return viewport()->height(); }

void TBaseLazyTree::SetOffsetX(int value) { SetOffsets(QPoint(value, offsetY_)); }
void TBaseLazyTree::SetOffsetY(int value) { SetOffsets(QPoint(offsetX_, value)); }

bool TBaseLazyTree::SetOffsets(QPoint newOffsets, TScrollUpdateOptions options, QRect clipRect) {
  // A range smaller than the window leaves nothing to scroll: the offset stays 0.
  const int x = std::clamp(newOffsets.x(), std::min(0, ClientWidth() - rangeX_), 0);
  const int y = std::clamp(newOffsets.y(), std::min(0, ClientHeight() - rangeY_), 0);
  if (x == offsetX_ && y == offsetY_) return false;
  const int dx = x - offsetX_, dy = y - offsetY_;
  offsetX_ = x;
  offsetY_ = y;
  CancelHint();
  if (updateCount_ == 0 && !destroying_) {
    if (options.Contains(suoScrollClientArea)) {
      if (!appearance_.background.isNull() && options_->PaintOptions().Contains(toShowBackground))
        viewport()->update();
      else if (clipRect.isValid())
        viewport()->scroll(dx, dy, clipRect);
      else
        viewport()->scroll(dx, dy);
    }
    if (options.Contains(suoUpdateNCArea) && !states_.Contains(tsThumbTracking)) {
      updatingScrollBars_ = true;
      if (dx != 0) horizontalScrollBar()->setValue(-offsetX_);
      if (dy != 0) verticalScrollBar()->setValue(-offsetY_);
      updatingScrollBars_ = false;
    }
  }
  UpdateHotNode(viewport()->mapFromGlobal(QCursor::pos()));
  DoScroll(dx, dy);
  return true;
}

void TBaseLazyTree::scrollContentsBy(int, int) {
  if (updatingScrollBars_) return;
  SetOffsets(QPoint(-horizontalScrollBar()->value(), -verticalScrollBar()->value()),
             TScrollUpdateOptions{suoScrollClientArea});
}

void TBaseLazyTree::UpdateScrollBars(bool doRepaint) {
  if (destroying_ || updateCount_ > 0) return;
  RefreshScrollBars(doRepaint);
}

void TBaseLazyTree::RefreshScrollBars(bool doRepaint) {
  if (updatingScrollBars_) return;
  rangeY_ = static_cast<int>(std::max<std::int64_t>(RootNode()->TotalHeight, DefaultNodeHeight()) - RootNode()->NodeHeight);
  if (ColumnCount() > 0) {
    rangeX_ = ColumnsWidth();
  } else {
    // Without columns the widest row among those in the window sets the range.
    rangeX_ = HorizontalRangeWithoutColumns();
  }
  updatingScrollBars_ = true;
  QScrollBar* v = verticalScrollBar();
  v->setRange(0, std::max(0, rangeY_ - ClientHeight()));
  v->setPageStep(std::max(ClientHeight(), 1));
  v->setSingleStep(scrollBarOptions_->VerticalIncrement());
  QScrollBar* h = horizontalScrollBar();
  h->setRange(0, std::max(0, rangeX_ - ClientWidth()));
  h->setPageStep(std::max(ClientWidth(), 1));
  h->setSingleStep(scrollBarOptions_->HorizontalIncrement());
  updatingScrollBars_ = false;
  // The offsets follow the new ranges (clamped), then the bars follow the offsets.
  SetOffsets(QPoint(offsetX_, offsetY_));
  updatingScrollBars_ = true;
  h->setValue(-offsetX_);
  v->setValue(-offsetY_);
  updatingScrollBars_ = false;
  if (doRepaint) viewport()->update();
}

void TBaseLazyTree::ApplyScrollBarPolicies() {
  const TScrollStyle bars = scrollBarOptions_->ScrollBars();
  const Qt::ScrollBarPolicy shown = scrollBarOptions_->AlwaysVisible() ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
  setVerticalScrollBarPolicy(bars == ssVertical || bars == ssBoth ? shown : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(bars == ssHorizontal || bars == ssBoth ? shown : Qt::ScrollBarAlwaysOff);
}

void TBaseLazyTree::ApplyFrame() {
  setFrameShape(appearance_.borderStyle == bsSingle ? QFrame::StyledPanel : QFrame::NoFrame);
  setFrameShadow(QFrame::Sunken);
  int width = 0;
  if (appearance_.bevelKind != bkNone)
    width = appearance_.bevelWidth * ((appearance_.bevelInner != bvNone ? 1 : 0) + (appearance_.bevelOuter != bvNone ? 1 : 0));
  auto edge = [&](TBevelEdge e) { return appearance_.bevelEdges.Contains(e) ? width : 0; };
  setViewportMargins(edge(beLeft), edge(beTop) + HeaderHeight(), edge(beRight), edge(beBottom));
  if (header_) header_->UpdateGeometry();
  update();
}

void TBaseLazyTree::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  if (states_.Contains(tsSizing) || ClientHeight() < 1) return;
  DoStateChange({tsSizing});
  header_->TreeResized();
  UpdateScrollBars(false);
  DoStateChange({}, {tsSizing});
}

// ---- Geometry and repainting ----------------------------------------------------------

QRect TBaseLazyTree::GetDisplayRect(PLazyNode node, int column, bool textOnly) {
  return CellDisplayRect(node, column, textOnly, false);
}

void TBaseLazyTree::InvalidateTree() {
  if (!destroying_) viewport()->update();
}

void TBaseLazyTree::InvalidateNodeRow(PLazyNode node) {
  if (updateCount_ > 0 || destroying_ || !IsRealNode(node) || !isVisible()) return;
  const int top = NodeTop(node);
  if (top >= 0) viewport()->update(QRect(0, top + offsetY_, ClientWidth(), node->NodeHeight));
}

void TBaseLazyTree::InvalidateFromNode(PLazyNode node) {
  if (updateCount_ > 0 || destroying_) return;
  if (!IsRealNode(node)) {
    InvalidateTree();
    return;
  }
  if (!node->Has(nsInitialized) || !node->Has(nsVisible)) return;
  const int top = NodeTop(node);
  if (top < 0 || top + offsetY_ >= ClientHeight()) return;
  viewport()->update(QRect(0, top + offsetY_, ClientWidth(), ClientHeight() - top - offsetY_));
}

void TBaseLazyTree::InvalidateChildren(PLazyNode node, bool recursive) {
  if (!node) node = RootNode();
  if (node != RootNode()) InvalidateNodeRow(node);
  for (PLazyNode run = GetFirstChildNode(node); run; run = GetNextSiblingNode(run)) {
    if (recursive)
      InvalidateChildren(run, true);
    else
      InvalidateNodeRow(run);
  }
}

void TBaseLazyTree::InvalidateColumnStrip(int column) {
  if (updateCount_ > 0 || column < 0 || column >= ColumnCount()) return;
  const QRect bounds = ColumnBounds(column);
  viewport()->update(QRect(bounds.left() + offsetX_, 0, bounds.width(), ClientHeight()));
}

void TBaseLazyTree::RedrawNodeRow(PLazyNode node) {
  if (!IsRealNode(node) || !isVisible()) return;
  const int top = NodeTop(node);
  if (top >= 0) viewport()->repaint(QRect(0, top + offsetY_, ClientWidth(), node->NodeHeight));
}

// ---- Painting -------------------------------------------------------------------------

void TBaseLazyTree::paintEvent(QPaintEvent* e) {
  QPainter painter(viewport());
  PaintTree(painter, e->rect());
}

void TBaseLazyTree::PaintTree(QPainter& canvas, const QRect& window) {
  // The update rectangle in tree coordinates, drawn where it is.
  PaintTree(canvas, window.translated(-offsetX_, -offsetY_), window.topLeft(), WindowPaintSwitches);
}

// ---- Hit testing ----------------------------------------------------------------------

void TBaseLazyTree::HitTestAt(int x, int y, bool relative, THitInfo& hit) {
  hit = THitInfo();
  if (x < 0) hit.HitPositions.Include(hpToLeft);
  if (x > std::max(ClientWidth(), rangeX_)) hit.HitPositions.Include(hpToRight);
  if (y < 0) hit.HitPositions.Include(hpAbove);
  if (y > std::max(ClientHeight(), rangeY_)) hit.HitPositions.Include(hpBelow);
  if (!hit.HitPositions.Empty()) return;
  if (relative) {
    x -= offsetX_;
    y -= offsetY_;
  }
  PLazyNode node = NodeAtPosition(y, false);
  const int column = ColumnCount() > 0 ? ColumnAtX(x) : -1;
  if (!node || (ColumnCount() > 0 && column < 0)) {
    hit.HitPositions.Include(hpNowhere);
    return;
  }
  if (!node->Has(nsInitialized)) InitializeNode(node);
  hit.HitNode = node;
  hit.HitColumn = column;
  hit.HitPositions.Include(hpOnItem);
  const auto [left, right] = CellSpan(node, column);
  if (ColumnIsRightToLeft(column))
    HitTestRowRightToLeft(node, column, x - left, right - left, hit);
  else
    HitTestRow(node, column, x - left, right - left, hit);
}

// ---- Queries for accessibility tools --------------------------------------------------

PLazyNode TBaseLazyTree::TVMGetNextItem(TTreeViewQuery query, PLazyNode item) {
  const bool real = IsRealNode(item);
  switch (query) {
    case TVGN_ROOT: return GetFirst();
    case TVGN_NEXT: return real ? GetNextSiblingNode(item) : nullptr;
    case TVGN_PREVIOUS: return real ? GetPreviousSiblingNode(item) : nullptr;
    case TVGN_PARENT: return real && item->Parent != RootNode() ? item->Parent : nullptr;
    case TVGN_CHILD: return real ? GetFirstChildNode(item) : nullptr;
    case TVGN_FIRSTVISIBLE: return GetFirstVisible();
    case TVGN_NEXTVISIBLE: return real ? GetNextVisible(item) : nullptr;
    case TVGN_PREVIOUSVISIBLE: return real ? GetPreviousVisibleNode(item) : nullptr;
    case TVGN_DROPHILITE: return drag_.dropTarget;
    case TVGN_CARET: return focusedNode_;
    case TVGN_LASTVISIBLE: return GetLastVisibleNode();
  }
  return nullptr;
}

bool TBaseLazyTree::TVMGetItemRect(PLazyNode item, bool textOnly, QRect& rect) {
  if (!IsRealNode(item) || !IsNodeInView(item)) return false;
  rect = GetDisplayRect(item, textOnly ? MainColumn() : -1, textOnly);
  return !rect.isEmpty();
}

bool TBaseLazyTree::TVMGetItem(TTreeViewItem& item) {
  PLazyNode node = item.Item;
  if (!IsRealNode(node)) return false;
  if (!node->Has(nsInitialized)) InitializeNode(node);
  item.ChildCount = node->Has(nsHasChildren) ? std::max<int>(static_cast<int>(node->ChildCount), 1) : 0;
  bool ghosted = false;
  item.Image = DoGetImageIndex(node, ikNormal, MainColumn(), ghosted);
  item.SelectedImage = DoGetImageIndex(node, ikSelected, MainColumn(), ghosted);
  item.StateImage = DoGetImageIndex(node, ikState, MainColumn(), ghosted);
  item.OverlayImage = DoGetImageIndex(node, ikOverlay, MainColumn(), ghosted);
  item.State = {};
  if (node == focusedNode_) item.State.Include(tvisFocused);
  if (node->Has(nsSelected)) item.State.Include(tvisSelected);
  if (node->Has(nsCutOrCopy) && states_.Contains(tsCutPending)) item.State.Include(tvisCut);
  if (node == drag_.dropTarget) item.State.Include(tvisDropHilited);
  if (node->Has(nsExpanded)) item.State.Include(tvisExpanded);
  item.Text = NodeText(node, MainColumn());
  return true;
}
