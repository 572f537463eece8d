// The header's mouse handling: clicks, hot tracking with its timer, resizing a column at
// its border, dragging a column to another position, the popup menu and header hints.
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeDragImage.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeHeaderArea.h"
#include "treeview/LazyTreeResources.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

// ---- The header's widget ------------------------------------------------------------------------

TLTHeaderArea::TLTHeaderArea(TLTHeader& header, QWidget* tree) : QWidget(tree), header_(header) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void TLTHeaderArea::paintEvent(QPaintEvent* e) {
  QPainter painter(this);
  header_.PaintHeaderTo(painter, e->rect(), header_.Tree().OffsetX());
}

void TLTHeaderArea::mousePressEvent(QMouseEvent* e) { header_.MousePress(e); }
void TLTHeaderArea::mouseReleaseEvent(QMouseEvent* e) { header_.MouseRelease(e); }
void TLTHeaderArea::mouseDoubleClickEvent(QMouseEvent* e) { header_.MouseDoubleClick(e); }
void TLTHeaderArea::mouseMoveEvent(QMouseEvent* e) { header_.MouseMove(e); }

void TLTHeaderArea::changeEvent(QEvent* e) {
  // The header's widget inherits from the tree; what changes there reaches it here.
  switch (e->type()) {
    case QEvent::FontChange: header_.TreeFontChanged(); break;
    case QEvent::LayoutDirectionChange: header_.TreeDirectionChanged(); break;
    case QEvent::PaletteChange: header_.TreeColorChanged(); break;
    default: break;
  }
  QWidget::changeEvent(e);
}

bool TLTHeaderArea::event(QEvent* e) {
  if (e->type() == QEvent::ToolTip) {
    // Header hints go through the tree's hints, which know the header as the band just
    // above the rows.
    auto* help = static_cast<QHelpEvent*>(e);
    header_.Tree().ShowHintFor(QPoint(help->pos().x(), help->pos().y() - height()));
    return true;
  }
  return QWidget::event(e);
}

// ---- Mouse --------------------------------------------------------------------------------------

namespace {
TShiftState ShiftFromEvent(const QMouseEvent* e, bool dbl = false) {
  TShiftState shift = ShiftStateOf(e->modifiers());
  if (dbl) shift.Include(ssDouble);
  return shift;
}
constexpr TLTHeaderStates kMouseStates = {hstDragging, hstDragPending, hstResizing, hstResizePending};
}  // namespace

QCursor TLTHeader::SplitCursor() { return TreeCursor(QStringLiteral("LT_HEADERSPLIT")); }

void TLTHeader::UpdateCursor(QPoint p) {
  if (!area_ || states_.Intersects(kMouseStates) || !InHeaderArea(p)) return;
  QCursor cursor;
  const TColumnIndex tracked = columns_->trackIndex_;
  const bool split = options_.Contains(hoColumnResize) && InSplitArea(p);
  columns_->trackIndex_ = tracked;  // only looking: a resize remembers its column on the press
  if (split) cursor = SplitCursor();
  tree_->DoGetHeaderCursor(cursor);
  area_->setCursor(cursor);
}

void TLTHeader::MousePress(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const TShiftState shift = ShiftFromEvent(e);
  if (tree_->focusPolicy() != Qt::NoFocus && tree_->isEnabled()) tree_->setFocus(Qt::MouseFocusReason);
  if (e->button() != Qt::LeftButton) {
    if (InHeaderArea(p)) tree_->DoHeaderMouseDown(e->button(), shift, p);
    return;
  }
  tree_->CancelHint();
  tree_->StopTimer(ScrollTimer);
  tree_->StopTimer(EditTimer);
  tree_->DoStateChange({}, {tsScrolling, tsScrollPending, tsEditPending});
  lastPress_ = p;
  if (InHeaderArea(p)) tree_->DoHeaderMouseDown(Qt::LeftButton, shift, p);
  if (options_.Contains(hoColumnResize) && InSplitArea(p)) {
    columns_->hotIndex_ = NoColumn;
    DoStateChange({hstResizePending});
  } else {
    const TColumnIndex column = columns_->ColumnAtPoint(p, true);
    if (columns_->IsColumnIndex(column)) {
      const TLTColumnOptions options = columns_->Items(column)->Options();
      if (options.Contains(coAllowClick) && options.Contains(coEnabled)) {
        columns_->pressedIndex_ = column;
        RepaintHeader(column);
      }
      if (options_.Contains(hoDrag) && options.Contains(coDraggable)) {
        columns_->draggedIndex_ = column;
        DoStateChange({hstDragPending});
      }
    }
  }
}

void TLTHeader::MouseRelease(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const TShiftState shift = ShiftFromEvent(e);
  tree_->CancelHint();
  if (e->button() == Qt::RightButton) {
    if (!InHeaderArea(p)) return;
    ClickAt(p, Qt::RightButton, false, true);
    tree_->DoHeaderMouseUp(Qt::RightButton, shift, p);
    columns_->pressedIndex_ = NoColumn;
    columns_->trackIndex_ = NoColumn;
    if (popupMenu_) {
      tree_->StopTimer(ScrollTimer);
      tree_->StopTimer(HeaderTimer);
      columns_->hotIndex_ = NoColumn;
      tree_->DoStateChange({}, {tsScrolling, tsScrollPending});
      RepaintHeader();
      popupMenu_->popup(area_->mapToGlobal(p));
    }
    return;
  }
  if (e->button() == Qt::MiddleButton) {
    if (!InHeaderArea(p)) return;
    ClickAt(p, Qt::MiddleButton, false, true);
    tree_->DoHeaderMouseUp(Qt::MiddleButton, shift, p);
    columns_->pressedIndex_ = NoColumn;
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  if (states_.Contains(hstDragging)) EndColumnDrag(p, false);
  ClickAt(p, Qt::LeftButton, false, false);
  tree_->DoHeaderMouseUp(Qt::LeftButton, shift, p);
  RepaintHeader(columns_->trackIndex_);
  RepaintHeader(columns_->pressedIndex_);
  columns_->trackIndex_ = NoColumn;
  columns_->pressedIndex_ = NoColumn;
  columns_->draggedIndex_ = NoColumn;
  DoStateChange({}, kMouseStates);
}

void TLTHeader::MouseDoubleClick(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (!InHeaderArea(p)) return;
  if (e->button() == Qt::LeftButton && options_.Contains(hoDblClickResize) && InSplitArea(p)) {
    const TColumnIndex tracked = columns_->trackIndex_;
    const int content = tree_->GetColumnContentWidth(tracked);
    columns_->ResizeAnimated(tracked, std::max(columns_->Items(tracked)->MinWidth(), content));
    columns_->trackIndex_ = NoColumn;
  } else {
    ClickAt(p, e->button(), true, true);
  }
  if (columns_->IsColumnIndex(columns_->clickIndex_))
    tree_->DoHeaderDblClick(columns_->clickIndex_, e->button(), ShiftFromEvent(e, true), p);
}

void TLTHeader::MouseMove(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (states_.Contains(hstResizePending)) {
    tree_->StopTimer(HeaderTimer);
    DoStateChange({hstResizing}, {hstResizePending});
  }
  if (states_.Contains(hstResizing)) {
    if (columns_->IsColumnIndex(columns_->trackIndex_)) columns_->Items(columns_->trackIndex_)->SetWidth(p.x() - trackStart_);
    return;
  }
  if (states_.Contains(hstDragPending)) {
    const QPoint moved = p - lastPress_;
    const int threshold = QApplication::startDragDistance();
    if (options_.Contains(hoDrag) && (std::abs(moved.x()) > threshold || std::abs(moved.y()) > threshold) &&
        tree_->DoHeaderDragging(columns_->draggedIndex_)) {
      tree_->StopTimer(HeaderTimer);
      columns_->pressedIndex_ = NoColumn;
      columns_->hotIndex_ = NoColumn;
      RepaintHeader();
      StartColumnDrag(p);
      DoStateChange({hstDragging}, {hstDragPending});
    }
    if (!states_.Contains(hstDragging)) return;
  }
  if (states_.Contains(hstDragging)) {
    dragImage_->DragTo(area_->mapToGlobal(p));
    UpdateDropTarget(p);
    return;
  }
  tree_->DoHeaderMouseMove(ShiftFromEvent(e), p);
  if (!InHeaderArea(p)) return;
  const TColumnIndex hot = std::max(columns_->ColumnAtPoint(p, true), NoColumn);
  if (hot != columns_->hotIndex_) {
    RepaintHeader(columns_->hotIndex_);
    columns_->hotIndex_ = hot;
    RepaintHeader(hot);
    tree_->Timers().Start(HeaderTimer, 50);
  } else if (columns_->pressedIndex_ >= 0 && columns_->pressedIndex_ != hot) {
    tree_->Timers().Start(HeaderTimer, 50);
  }
  UpdateCursor(p);
}

void TLTHeader::HotTrackTimer() {
  const bool outside = !area_ || !InHeaderArea(area_->mapFromGlobal(QCursor::pos()));
  if (outside || (columns_->pressedIndex_ >= 0 && columns_->pressedIndex_ != columns_->hotIndex_)) {
    tree_->StopTimer(HeaderTimer);
    columns_->hotIndex_ = NoColumn;
    columns_->clickIndex_ = NoColumn;
    columns_->pressedIndex_ = NoColumn;
    RepaintHeader();
  }
}

bool TLTHeader::CancelMouseAction() {
  if (states_.Contains(hstDragging)) {
    EndColumnDrag(QPoint(), true);
    DoStateChange({}, kMouseStates);
    columns_->draggedIndex_ = NoColumn;
    return true;
  }
  if (states_.Intersects({hstResizing, hstResizePending})) {
    DoStateChange({}, {hstResizing, hstResizePending});
    columns_->trackIndex_ = NoColumn;
    return true;
  }
  return false;
}

// ---- Column drag --------------------------------------------------------------------------------

void TLTHeader::StartColumnDrag(QPoint p) {
  const TColumnIndex dragged = columns_->draggedIndex_;
  if (!columns_->IsColumnIndex(dragged) || !area_) return;
  // The dragged button as the header paints it on the button face, as far as it is in view.
  const TLazyTreeColumn& column = *columns_->Items(dragged);
  const QRect button = QRect(column.Left() + tree_->OffsetX(), 0, column.Width(), height_).intersected(area_->rect());
  if (button.isEmpty()) return;
  QImage picture(button.size(), QImage::Format_ARGB32_Premultiplied);
  picture.fill(tree_->palette().color(QPalette::Button));
  {
    QPainter painter(&picture);
    painter.translate(-button.topLeft());
    PaintHeaderTo(painter, button, tree_->OffsetX());
  }
  const QPoint topLeft = area_->mapToGlobal(button.topLeft());
  dragImage_->SetMoveRestriction(options_.Contains(hoRestrictDrag) ? dmrHorizontalOnly : dmrNone);
  dragImage_->PrepareDrag(picture, topLeft, area_->mapToGlobal(p));
  dragImage_->ShowDragImage();
}

void TLTHeader::UpdateDropTarget(QPoint p) {
  const TColumnIndex candidate = columns_->ColumnAtPoint(p, true);
  TColumnIndex target = NoColumn;
  bool before = false;
  if (columns_->IsColumnIndex(candidate)) {
    int left = 0, right = 0;
    columns_->ColumnSpan(candidate, left, right);
    target = candidate;
    before = p.x() < (left + right) / 2;
  }
  if (target == columns_->dropTarget_ && before == columns_->dropBefore_) return;
  RepaintHeader(columns_->dropTarget_);
  columns_->dropTarget_ = target;
  columns_->dropBefore_ = before;
  RepaintHeader(target);
}

void TLTHeader::EndColumnDrag(QPoint p, bool cancelled) {
  dragImage_->EndDrag();
  const TColumnIndex dragged = columns_->draggedIndex_;
  const TColumnIndex target = columns_->dropTarget_;
  const bool before = columns_->dropBefore_;
  columns_->dropTarget_ = NoColumn;
  RepaintHeader();
  if (cancelled || !columns_->IsColumnIndex(dragged)) return;
  const QPoint inTree = area_ ? area_->mapTo(tree_, p) : p;
  const bool insideTree = tree_->rect().contains(inTree);
  if (columns_->IsColumnIndex(target) && target != dragged && insideTree) {
    TLazyTreeColumn& column = *columns_->Items(dragged);
    const auto old = static_cast<int>(column.Position());
    const auto to = static_cast<int>(columns_->Items(target)->Position());
    int position;
    if (before)
      position = old < to ? std::max(to - 1, 0) : to;
    else
      position = old < to ? to : to + 1;
    column.SetPosition(static_cast<TColumnPosition>(position));
    tree_->DoHeaderDragged(dragged, old);
  } else {
    tree_->DoHeaderDraggedOut(dragged, area_ ? area_->mapToGlobal(p) : p);
  }
}
