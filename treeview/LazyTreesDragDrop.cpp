// Drag and drop: the tree as drop target (where a drop would go, auto-scroll at the edges,
// auto-expand of collapsed nodes, the owner's acceptance and the drop itself) and as drag
// source (the selection dragged with its picture, moved nodes deleted afterwards).
//
// Everything runs on the tree's timer driver and clock: timer 1 opens a collapsed drop
// target after AutoExpandDelay, timer 4 scrolls at the edges after AutoScrollDelay, and
// no two scroll steps come closer than the shortest timer interval.
#include "treeview/LazyTreeDataObject.h"
#include "treeview/LazyTreeDragImage.h"
#include "treeview/LazyTreeDragManager.h"
#include "treeview/LazyTreeReference.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include "platform/ApplicationError.h"
#include "platform/Log.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

// The class drag (DragType dtVCL): it carries only the tree it comes from; the owner's
// drag events decide as for any drag, and the drop has no data and no formats.
QString ClassDragType() { return QStringLiteral("application/x-lazy-tree-class-drag"); }

TDropEffects EffectsOf(std::uint32_t effect) {
  TDropEffects set;
  if (effect & DROPEFFECT_COPY) set.Include(deCopy);
  if (effect & DROPEFFECT_MOVE) set.Include(deMove);
  if (effect & DROPEFFECT_LINK) set.Include(deLink);
  return set;
}

std::uint32_t OleEffect(TDropEffect effect) {
  switch (effect) {
    case deCopy: return DROPEFFECT_COPY;
    case deMove: return DROPEFFECT_MOVE;
    case deLink: return DROPEFFECT_LINK;
    default: return DROPEFFECT_NONE;
  }
}

// The one effect a set of effect bits stands for (the first of move, copy, link).
TDropEffect SingleEffect(std::uint32_t effect) {
  if (effect & DROPEFFECT_MOVE) return deMove;
  if (effect & DROPEFFECT_COPY) return deCopy;
  if (effect & DROPEFFECT_LINK) return deLink;
  return deNone;
}

std::uint32_t OleEffects(Qt::DropActions actions) {
  return (actions & Qt::CopyAction ? DROPEFFECT_COPY : 0) | (actions & Qt::MoveAction ? DROPEFFECT_MOVE : 0) |
         (actions & Qt::LinkAction ? DROPEFFECT_LINK : 0);
}

Qt::DropAction QtAction(std::uint32_t effect) {
  switch (SingleEffect(effect)) {
    case deCopy: return Qt::CopyAction;
    case deMove: return Qt::MoveAction;
    case deLink: return Qt::LinkAction;
    default: return Qt::IgnoreAction;
  }
}

// The drop actions a drag allows: its operations, or all of them when none is set.
Qt::DropActions DropActionsOf(TDragOperations operations) {
  if (operations.Empty()) operations = TDragOperations{doCopy, doMove, doLink};
  Qt::DropActions allowed;
  if (operations.Contains(doCopy)) allowed |= Qt::CopyAction;
  if (operations.Contains(doMove)) allowed |= Qt::MoveAction;
  if (operations.Contains(doLink)) allowed |= Qt::LinkAction;
  return allowed;
}
}  // namespace

// ---- Owner events ---------------------------------------------------------------------------------

bool TBaseLazyTree::DoDragOver(QObject* source, TShiftState shift, TDragState state, QPoint pt, TDropMode mode,
                               TDropEffect& effect) {
  bool accept = false;
  if (OnDragOver) OnDragOver(this, source, shift, state, pt, mode, effect, accept);
  return accept;
}

void TBaseLazyTree::DoDragDrop(QObject* source, const QMimeData* dataObject, const QStringList& formats,
                               TShiftState shift, QPoint pt, TDropEffect& effect, TDropMode mode) {
  if (OnDragDrop) OnDragDrop(this, source, dataObject, formats, shift, pt, effect, mode);
}

// ---- Where a drop goes ------------------------------------------------------------------------------

TDropMode TBaseLazyTree::DropModeAt(PLazyNode node, const THitInfo& hit, QPoint pt) {
  if (!IsRealNode(node)) return dmNowhere;
  if (hit.HitPositions.Intersects({hpOnNormalIcon, hpOnStateIcon, hpOnLabel}) ||
      !options_->PaintOptions().Contains(toShowDropmark))
    return dmOnNode;
  // The row's middle pixel row belongs to the node itself.
  const int offset = pt.y() - (NodeTop(node) + offsetY_);
  const int middle = NodeHeight(node) / 2;
  return offset < middle ? dmAbove : offset == middle ? dmOnNode : dmBelow;
}

// The drop target's end and the class drag over and onto the tree.
struct TBaseLazyTree::TDragSteps {
  // The drop target leaves: repaint its row, forget it, stop the timers of the drag.
  static void ForgetDropTarget(TBaseLazyTree& t);
  static bool ClassDragOver(TBaseLazyTree& t, const QMimeData* data, TShiftState keys, TDragState state, QPoint pt,
                            Qt::DropActions allowed, Qt::DropAction& action);
  static void ClassDragDrop(TBaseLazyTree& t, const QMimeData* data, TShiftState keys, QPoint pt,
                            Qt::DropActions allowed, Qt::DropAction& action);
};

void TBaseLazyTree::TDragSteps::ForgetDropTarget(TBaseLazyTree& t) {
  t.StopTimer(ExpandTimer);
  t.SetDropTarget(nullptr, dmNowhere);
}

// ---- The drop target ---------------------------------------------------------------------------------

THResult TBaseLazyTree::OLEDragEnter(QObject* source, TShiftState keys, QPoint pt, std::uint32_t& effect) {
  try {
    drag_.autoScrollRequest = -1;
    drag_.lastPoint = pt;
    TDropEffect chosen = SuggestDropEffect(source, keys, EffectsOf(effect));
    const THitInfo hit = HitAt(pt);
    const TDropMode mode = DropModeAt(hit.HitNode, hit, pt);
    if (DoDragOver(source, keys, dsDragEnter, pt, mode, chosen))
      SetDropTarget(hit.HitNode, mode);
    else
      chosen = deNone;
    effect = OleEffect(chosen);
    return S_OK;
  } catch (...) {
    // The drag source understands only the code; the cause goes to the log.
    LogCurrentException("Entering the tree with a drag");
    effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
}

THResult TBaseLazyTree::OLEDragOver(QObject* source, TShiftState keys, QPoint pt, std::uint32_t& effect) {
  try {
    drag_.lastPoint = pt;
    const TDropEffects allowed = EffectsOf(effect);
    DoAutoScroll(pt);
    AutoScrollStep(pt);
    const bool scrolling = !AutoScrollDirections(pt).Empty();

    const THitInfo hit = HitAt(pt);
    PLazyNode node = hit.HitNode;
    // In report mode only the main column's label and images take a drop.
    if (node && options_->MiscOptions().Contains(toReportMode) &&
        (hit.HitColumn != MainColumn() || !hit.HitPositions.Intersects({hpOnLabel, hpOnNormalIcon, hpOnStateIcon})))
      node = nullptr;
    const TDropMode mode = DropModeAt(node, hit, pt);
    if (node != drag_.dropTarget || mode != drag_.dropMode) {
      const bool newNode = node != drag_.dropTarget;
      SetDropTarget(node, mode);
      if (newNode) {
        StopTimer(ExpandTimer);
        if (node && options_->AutoOptions().Contains(toAutoDropExpand) && node->Has(nsHasChildren))
          input_->StartTimer(ExpandTimer, autoExpandDelay_);
      }
    }

    TDropEffect chosen = SuggestDropEffect(source, keys, allowed);
    if (!DoDragOver(source, keys, dsDragMove, pt, mode, chosen)) chosen = deNone;
    effect = OleEffect(chosen) | (scrolling ? DROPEFFECT_SCROLL : 0);
    return S_OK;
  } catch (...) {
    LogCurrentException("Dragging over the tree");
    effect = DROPEFFECT_NONE;
    return E_UNEXPECTED;
  }
}

void TBaseLazyTree::OLEDragLeave() {
  TDragSteps::ForgetDropTarget(*this);
  StopTimer(ScrollTimer);
  DoStateChange({}, {tsScrollPending, tsScrolling});
  drag_.autoScrollRequest = -1;
  RunGuarded([this] {
    TDropEffect none = deNone;
    DoDragOver(nullptr, {}, dsDragLeave, QPoint(), dmNowhere, none);
  });
}

THResult TBaseLazyTree::OLEDragDrop(QObject* source, const QMimeData* dataObject, TShiftState keys, QPoint pt,
                                    std::uint32_t& effect) {
  StopTimer(ExpandTimer);
  StopTimer(ScrollTimer);
  DoStateChange({}, {tsScrollPending, tsScrolling});
  THResult result = S_OK;
  const bool ran = RunGuarded([&] {
    // The drop decides as the last drag over did.
    std::uint32_t last = effect;
    if (OLEDragOver(source, keys, pt, last) != S_OK) {
      result = E_FAIL;
      effect = DROPEFFECT_NONE;
    } else {
      last &= ~DROPEFFECT_SCROLL;
      if (last != DROPEFFECT_NONE) {
        const QStringList formats = dataObject ? dataObject->formats() : QStringList();
        TDropEffect chosen = SingleEffect(last);
        DoDragDrop(source, dataObject, formats, keys, pt, chosen, drag_.dropMode);
        last = OleEffect(chosen);
      }
      effect = last;
    }
  });
  if (!ran) {
    effect = DROPEFFECT_NONE;
    result = E_UNEXPECTED;
  }
  TDragSteps::ForgetDropTarget(*this);
  drag_.autoScrollRequest = -1;
  return result;
}

// ---- Qt's drag events reach the drag manager ------------------------------------------------------------

bool TBaseLazyTree::TDragSteps::ClassDragOver(TBaseLazyTree& t, const QMimeData* data, TShiftState keys,
                                              TDragState state, QPoint pt, Qt::DropActions allowed,
                                              Qt::DropAction& action) {
  bool accepted = false;
  RunGuarded([&] {
    QObject* source = ResolveTreeReference(data->data(ClassDragType()));
    if (state == dsDragEnter) t.DoStateChange({tsVCLDragging});
    if (state == dsDragMove) t.DoAutoScroll(pt);
    PLazyNode node = nullptr;
    TDropMode mode = dmNowhere;
    if (state != dsDragLeave) {
      const THitInfo hit = t.HitAt(pt);
      node = hit.HitNode;
      mode = t.DropModeAt(node, hit, pt);
    }
    TDropEffect effect = t.SuggestDropEffect(source, keys, EffectsOf(OleEffects(allowed)));
    const bool accept = t.DoDragOver(source, keys, state, pt, mode, effect);
    if (state == dsDragLeave) {
      ForgetDropTarget(t);
      t.DoStateChange({}, {tsVCLDragging});
      return;
    }
    t.SetDropTarget(accept ? node : nullptr, mode);
    action = accept ? QtAction(OleEffect(effect)) : Qt::IgnoreAction;
    accepted = accept;
  });
  return accepted;
}

void TBaseLazyTree::TDragSteps::ClassDragDrop(TBaseLazyTree& t, const QMimeData* data, TShiftState keys, QPoint pt,
                                              Qt::DropActions allowed, Qt::DropAction& action) {
  QObject* source = ResolveTreeReference(data->data(ClassDragType()));
  const bool ran = RunGuarded([&] {
    TDropEffect effect = t.SuggestDropEffect(source, keys, EffectsOf(OleEffects(allowed)));
    t.DoDragDrop(source, nullptr, {}, keys, pt, effect, t.drag_.dropMode);
    action = QtAction(OleEffect(effect));
  });
  if (!ran) action = Qt::IgnoreAction;
  ForgetDropTarget(t);
  t.DoStateChange({}, {tsVCLDragging});
}

void TBaseLazyTree::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData() && e->mimeData()->hasFormat(ClassDragType())) {
    Qt::DropAction action = Qt::IgnoreAction;
    TDragSteps::ClassDragOver(*this, e->mimeData(), ShiftStateOf(e->modifiers(), e->buttons()), dsDragEnter,
                              e->position().toPoint(), e->possibleActions(), action);
    e->setDropAction(action);
    return e->accept();
  }
  if (!DragManager()) return e->ignore();
  std::uint32_t effect = OleEffects(e->possibleActions());
  dragManager_->DragEnter(e->mimeData(), ShiftStateOf(e->modifiers(), e->buttons()), e->position().toPoint(), effect);
  // The enter is always taken so that moves arrive: the owner may accept further on.
  e->setDropAction(QtAction(effect));
  e->accept();
}

void TBaseLazyTree::dragMoveEvent(QDragMoveEvent* e) {
  if (states_.Contains(tsVCLDragging) && e->mimeData() && e->mimeData()->hasFormat(ClassDragType())) {
    Qt::DropAction action = Qt::IgnoreAction;
    if (!TDragSteps::ClassDragOver(*this, e->mimeData(), ShiftStateOf(e->modifiers(), e->buttons()), dsDragMove,
                                   e->position().toPoint(), e->possibleActions(), action))
      return e->ignore();
    e->setDropAction(action);
    return e->accept();
  }
  if (!dragManager_ || !dragManager_->IsDropTarget()) return e->ignore();
  std::uint32_t effect = OleEffects(e->possibleActions());
  dragManager_->DragOver(ShiftStateOf(e->modifiers(), e->buttons()), e->position().toPoint(), effect);
  if (QtAction(effect) == Qt::IgnoreAction) return e->ignore();
  e->setDropAction(QtAction(effect));
  e->accept();
}

void TBaseLazyTree::dragLeaveEvent(QDragLeaveEvent* e) {
  if (states_.Contains(tsVCLDragging)) {
    QMimeData none;
    Qt::DropAction action = Qt::IgnoreAction;
    TDragSteps::ClassDragOver(*this, &none, {}, dsDragLeave, QPoint(), {}, action);
  }
  if (dragManager_) dragManager_->DragLeave();
  e->accept();
}

void TBaseLazyTree::dropEvent(QDropEvent* e) {
  if (states_.Contains(tsVCLDragging) && e->mimeData() && e->mimeData()->hasFormat(ClassDragType())) {
    Qt::DropAction action = Qt::IgnoreAction;
    TDragSteps::ClassDragDrop(*this, e->mimeData(), ShiftStateOf(e->modifiers(), e->buttons()), e->position().toPoint(),
                              e->possibleActions(), action);
    if (action == Qt::IgnoreAction) return e->ignore();
    e->setDropAction(action);
    return e->accept();
  }
  if (!dragManager_ || !dragManager_->IsDropTarget()) return e->ignore();
  std::uint32_t effect = OleEffects(e->possibleActions());
  dragManager_->Drop(e->mimeData(), ShiftStateOf(e->modifiers(), e->buttons()), e->position().toPoint(), effect);
  if (QtAction(effect) == Qt::IgnoreAction) return e->ignore();
  e->setDropAction(QtAction(effect));
  e->accept();
}

// ---- Auto-scroll ------------------------------------------------------------------------------------------

TAutoScrollDirections TBaseLazyTree::AutoScrollDirections(QPoint pt) {
  TAutoScrollDirections directions;
  if (!CanAutoScroll()) return directions;
  const int zone = DefaultNodeHeight();
  if (pt.x() < zone && offsetX_ < 0) directions.Include(adLeft);
  if (rangeX_ > ClientWidth() && pt.x() >= ClientWidth() - zone && offsetX_ > ClientWidth() - rangeX_)
    directions.Include(adRight);
  if (pt.y() < zone && offsetY_ < 0) directions.Include(adUp);
  if (rangeY_ > ClientHeight() && pt.y() >= ClientHeight() - zone && offsetY_ > ClientHeight() - rangeY_)
    directions.Include(adDown);
  const bool dropTarget = dragManager_ && dragManager_->IsDropTarget();
  if (states_.Intersects({tsOLEDragging, tsVCLDragging}) || dropTarget) {
    // A drag scrolls only the tree under the mouse, and only after the delay.
    if (!dropTarget || directions.Empty()) return {};
    const qint64 now = input_->Now();
    if (drag_.autoScrollRequest < 0) drag_.autoScrollRequest = now;
    if (now - drag_.autoScrollRequest < autoScrollDelay_) return {};
  }
  return directions;
}

bool TBaseLazyTree::DoAutoScroll(QPoint pt) {
  if (!CanAutoScroll() || input_->TimerRunning(ScrollTimer)) return false;
  const int zone = DefaultNodeHeight();
  const bool inZone = (pt.x() < zone && offsetX_ < 0) || (pt.y() < zone && offsetY_ < 0) ||
                      (rangeX_ > ClientWidth() && pt.x() >= ClientWidth() - zone) ||
                      (rangeY_ > ClientHeight() && pt.y() >= ClientHeight() - zone);
  if (!inZone) return false;
  DoStateChange({tsScrollPending});
  input_->StartTimer(ScrollTimer, autoScrollDelay_);
  return true;
}

bool TBaseLazyTree::AutoScrollStep(QPoint pt) {
  const qint64 now = input_->Now();
  if (drag_.lastAutoScrollStep >= 0 && now - drag_.lastAutoScrollStep < kMinimumTimerInterval) return false;
  const TAutoScrollDirections directions = AutoScrollDirections(pt);
  if (directions.Empty()) return false;
  // Inside the window one increment a step; outside, one per pixel beyond the edge.
  const int vertical = std::min(scrollBarOptions_->VerticalIncrement(), ClientHeight());
  const int horizontal = scrollBarOptions_->HorizontalIncrement();
  auto factor = [](int beyond) { return std::max(beyond, 1); };
  int dx = 0, dy = 0;
  if (directions.Contains(adUp)) dy = vertical * factor(-pt.y());
  if (directions.Contains(adDown)) dy = -vertical * factor(pt.y() - ClientHeight());
  if (directions.Contains(adLeft)) dx = horizontal * factor(-pt.x());
  if (directions.Contains(adRight)) dx = -horizontal * factor(pt.x() - ClientWidth());
  drag_.lastAutoScrollStep = now;
  return SetOffsets(QPoint(offsetX_ + dx, offsetY_ + dy));
}

// ---- The drag source ----------------------------------------------------------------------------------------

void TBaseLazyTree::CheckDragStart(QPoint viewportPos) {
  if (!states_.Intersects({tsOLEDragPending, tsVCLDragPending}) || !states_.Contains(tsLeftButtonDown)) return;
  if ((viewportPos - input_->PressPosition()).manhattanLength() < QApplication::startDragDistance()) return;
  BeginDrag();
}

// The dragged rows as they show, in an area of DragWidth × DragHeight around the press,
// become the drag's picture.
void TBaseLazyTree::PrepareDragImage(QDrag& drag) {
  const QPoint mouse = input_->PressPosition();
  QRect window(mouse - QPoint(offsetX_, offsetY_) - QPoint(dragWidth_ / 2, dragHeight_ / 2), QSize(dragWidth_, dragHeight_));
  if (dragImageKind_ == diMainColumnOnly && ColumnCount() > 0 && MainColumn() >= 0) {
    const QRect main = ColumnBounds(MainColumn());
    window.setLeft(std::max(window.left(), main.left()));
    window.setRight(std::min(window.right(), main.right()));
  }
  if (window.isValid()) {
    QImage picture(window.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Color());
    {
      QPainter painter(&picture);
      PaintTree(painter, window, QPoint(0, 0), TLTPaintSwitches{poDrawSelection, poColumnColor, poSelectedOnly});
    }
    const QPoint topLeft = viewport()->mapToGlobal(window.topLeft() + QPoint(offsetX_, offsetY_));
    dragImage_->PrepareDrag(picture, topLeft, viewport()->mapToGlobal(mouse), &drag);
  }
}

void TBaseLazyTree::BeginDrag() {
  if (states_.Intersects({tsOLEDragging, tsVCLDragging})) return;
  // The click that started this became a drag: no edit, and the selection it drags stays
  // as it is when the button comes up.
  DoStateChange({}, {tsOLEDragPending, tsVCLDragPending, tsEditPending, tsToggleFocusedSelection, tsClearPending});
  StopTimer(EditTimer);
  if (IsEditing()) CancelEditNode();
  if (hotNode_) {
    PLazyNode old = hotNode_;
    hotNode_ = nullptr;
    DoHotChange(old, nullptr);
    InvalidateNodeRow(old);
  }
  if (focusedNode_ && !focusedNode_->Has(nsSelected)) AddToSelection(focusedNode_);
  drag_.selection = SortedSelection(true);
  if (drag_.selection.isEmpty()) return;
  drag_.button = states_.Contains(tsRightButtonDown)    ? Qt::RightButton
                : states_.Contains(tsMiddleButtonDown) ? Qt::MiddleButton
                                                       : Qt::LeftButton;
  // A class drag carries no data, only which tree it comes from.
  const bool classDrag = dragType_ == dtVCL;
  const TLazyTreeState dragging = classDrag ? tsVCLDragging : tsOLEDragging;
  DoStateChange({dragging});

  QDrag drag(this);
  if (classDrag) {
    auto* data = new QMimeData;  // owned by the drag
    data->setData(ClassDragType(), EncodeTreeReference(treeId_));
    drag.setMimeData(data);
  } else {
    drag.setMimeData(CreateDataObject(false).release());  // owned by the drag
  }
  if (DoDragImageWanted()) PrepareDragImage(drag);
  const Qt::DropActions allowed = DropActionsOf(dragOperations_);

  Qt::DropAction result = Qt::IgnoreAction;
  RunGuarded([&] { result = DragLoop ? DragLoop(drag, allowed) : drag.exec(allowed); });
  if (dragManager_) dragManager_->ForceDragLeave();
  dragImage_->EndDrag();
  DoStateChange({}, {dragging});
  // Only the nodes still here after a move are deleted: those the target moved itself
  // have left the list already.
  const QVector<PLazyNode> left = drag_.selection;
  drag_.selection.clear();
  if (!classDrag && result == Qt::MoveAction && options_->AutoOptions().Contains(toAutoDeleteMovedNodes) &&
      !left.isEmpty()) {
    TTreeUpdateGuard update(*this);
    for (qsizetype i = left.size() - 1; i >= 0; --i) DeleteNode(left[i]);
  }
  // The button that started the drag is released now, where the mouse is.
  const Qt::MouseButton button = drag_.button;
  drag_.button = Qt::NoButton;
  const QPoint at = viewport()->mapFromGlobal(QCursor::pos());
  DoStateChange({}, {button == Qt::LeftButton    ? tsLeftButtonDown
                     : button == Qt::RightButton ? tsRightButtonDown
                                                 : tsMiddleButtonDown});
  HandleMouseUp(button, {}, HitAt(at));
}
