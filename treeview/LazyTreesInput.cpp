// Keyboard, mouse, wheel and wheel panning, focus, timers and the frame's bevels.
#include "platform/Application.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeDragManager.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeInputController.h"
#include "treeview/LazyTreeResources.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QWheelEvent>

namespace {
// "*", "+", "-" and "/" act the same from the main keys and from the numeric pad.
int NormalizedKey(int key, const QString& text) {
  if (text == QLatin1String("*")) return Qt::Key_Asterisk;
  if (text == QLatin1String("+")) return Qt::Key_Plus;
  if (text == QLatin1String("-")) return Qt::Key_Minus;
  if (text == QLatin1String("/")) return Qt::Key_Slash;
  return key;
}
}  // namespace

// Wheel panning, the auto-scroll timer's step and the frame's bevels.
struct TBaseLazyTree::TInputSteps {
  static void StartWheelPanning(TBaseLazyTree& t, QPoint position);
  static void PanningStep(TBaseLazyTree& t);
  // Timer 4 while nothing pans: a step at the edge, or the timer stops.
  static void AutoScrollTick(TBaseLazyTree& t);
  static void PaintBevels(TBaseLazyTree& t);
};

// ---- Keyboard -------------------------------------------------------------------------

void TBaseLazyTree::keyPressEvent(QKeyEvent* e) {
  int key = NormalizedKey(e->key(), e->text());
  TShiftState shift = ShiftStateOf(e->modifiers());
  if (key == Qt::Key_Escape && header_->CancelMouseAction()) {
    e->accept();
    return;
  }
  if (states_.Contains(tsKeyCheckPending) && key != Qt::Key_Space) {
    // Another key before Space came up undoes the pressed look.
    DoStateChange({}, {tsKeyCheckPending});
    if (PLazyNode node = input_->TakeKeyCheckNode()) InvalidateNodeRow(node);
  }
  if (!DoKeyAction(key, shift)) {
    e->accept();
    return;
  }
  if (HandleKeyDown(key, shift, e->text()))
    e->accept();
  else
    QAbstractScrollArea::keyPressEvent(e);
}

void TBaseLazyTree::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !e->isAutoRepeat() && states_.Contains(tsKeyCheckPending)) {
    DoStateChange({}, {tsKeyCheckPending});
    PLazyNode node = input_->TakeKeyCheckNode();
    // Released over another node: the press is forgotten.
    if (node && node == focusedNode_) SetNodeCheckState(node, input_->KeyCheckState());
    e->accept();
    return;
  }
  QAbstractScrollArea::keyReleaseEvent(e);
}

void TBaseLazyTree::SelectRange(PLazyNode from, PLazyNode to, bool addOnly) {
  if (!LazyTreeCheck(to != nullptr, "EndNode must not be nil!")) return;
  if (!from) from = GetFirstVisible();
  if (from && !IsNodeInView(from)) {
    PLazyNode shown = GetNearestShownAncestor(from);
    from = shown ? (GetPreviousVisibleNode(shown) ? GetPreviousVisibleNode(shown) : shown) : GetFirstVisible();
  }
  if (!from) return;
  const PLazyNode anchor = selection_.Anchor();
  // One walk collects the range, one merge adds it: a long range costs O(k log k + n),
  // not one insertion per node.
  QVector<PLazyNode> range;
  if (anchor && !anchor->Has(nsSelected)) range.append(anchor);
  const bool forward = NodeTop(from) <= NodeTop(to);
  for (PLazyNode run = from; run; run = forward ? GetNextVisible(run) : GetPreviousVisibleNode(run)) {
    range.append(run);
    if (run == to) break;
  }
  if (!addOnly) UnselectAll();
  AddToSelection(range);
  if (anchor && anchor->Has(nsSelected)) selection_.SetAnchor(anchor);
}

void TBaseLazyTree::FocusAndSelect(PLazyNode node, TShiftState shift) {
  if (!node) return;
  const PLazyNode anchor = selection_.Anchor();
  const PLazyNode old = focusedNode_;
  if (!ChangeFocus(node, true)) return;
  if (focusedColumn_ < 0 && MainColumn() >= 0) focusedColumn_ = MainColumn();
  if (focusedNode_ != old) DoFocusChange(focusedNode_, focusedColumn_);
  if (shift.Contains(ssShift) && options_->SelectionOptions().Contains(toMultiSelect) && !IsEditing()) {
    SelectRange(anchor ? anchor : node, node, false);
    selection_.SetAnchor(anchor ? anchor : node);
  } else if (!shift.Contains(ssCtrl)) {
    if (!(node->Has(nsSelected) && selection_.Count() == 1)) {
      UnselectAll();
      AddToSelection(node);
    }
    selection_.SetAnchor(node);
    InvalidateNodeRow(node);
  }
}

void TBaseLazyTree::ShowPopupAt(PLazyNode node, int column, QPoint viewportPos) {
  QMenu* menu = popupMenu_ ? popupMenu_.data() : DoGetPopupMenu(node, column, viewportPos);
  if (!menu) return;
  DoStateChange({tsPopupMenuShown});
  menu->popup(viewport()->mapToGlobal(viewportPos));
}

bool TBaseLazyTree::focusNextPrevChild(bool next) {
  // Tab belongs to the tree when it wants tabs; otherwise it moves on to the next control.
  if (wantTabs_) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

// ---- Mouse ----------------------------------------------------------------------------

THitInfo TBaseLazyTree::HitAt(QPoint viewportPos) {
  THitInfo hit;
  HitTestAt(viewportPos.x(), viewportPos.y(), true, hit);
  return hit;
}

void TBaseLazyTree::mousePressEvent(QMouseEvent* e) {
  if (HeaderHandlesMouse(e)) return;
  // Mouse events of a scroll area arrive from its viewport, in the viewport's coordinates.
  const QPoint pos = e->position().toPoint();
  input_->SetPressPosition(pos);
  const THitInfo hit = HitAt(pos);
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  switch (e->button()) {
    case Qt::LeftButton:
      StopWheelPanning();
      DoStateChange({tsLeftButtonDown});
      HandleMouseDown(Qt::LeftButton, shift, hit);
      // A press on a node may become a drag once the mouse moves far enough.
      if (hit.HitNode && !hit.HitPositions.Intersects({hpOnButton, hpOnCheckBox}) &&
          (dragMode_ == dmAutomatic || DoDragAllowed(hit.HitNode, hit.HitColumn)))
        DoStateChange({dragType_ == dtVCL ? tsVCLDragPending : tsOLEDragPending});
      break;
    case Qt::MiddleButton:
      DoStateChange({tsMiddleButtonDown});
      if (states_.Contains(tsWheelPanning)) {
        StopWheelPanning();
      } else if (options_->MiscOptions().Contains(toWheelPanning) &&
                 (rangeY_ > ClientHeight() || rangeX_ > ClientWidth())) {
        TInputSteps::StartWheelPanning(*this, pos);
      } else if (options_->SelectionOptions().Contains(toMiddleClickSelect)) {
        HandleMouseDown(Qt::MiddleButton, shift, hit);
      }
      break;
    case Qt::RightButton:
      DoStateChange({tsRightButtonDown});
      if (options_->SelectionOptions().Contains(toRightClickSelect)) HandleMouseDown(Qt::RightButton, shift, hit);
      break;
    default:
      break;
  }
  e->accept();
}

void TBaseLazyTree::mouseReleaseEvent(QMouseEvent* e) {
  if (HeaderHandlesMouse(e)) return;
  const QPoint pos = e->position().toPoint();
  const THitInfo hit = HitAt(pos);
  const TShiftState shift = ShiftStateOf(e->modifiers(), e->buttons());
  switch (e->button()) {
    case Qt::LeftButton:
      DoStateChange({}, {tsLeftButtonDown, tsOLEDragPending, tsVCLDragPending});
      HandleMouseUp(Qt::LeftButton, shift, hit);
      break;
    case Qt::MiddleButton:
      DoStateChange({}, {tsMiddleButtonDown});
      // A middle click starts panning that runs until the next click; holding the button
      // and letting go after moving ends it at once.
      if (states_.Contains(tsWheelPanning) && input_->MovedSincePanningStart(pos))
        StopWheelPanning();
      else if (options_->SelectionOptions().Contains(toMiddleClickSelect))
        HandleMouseUp(Qt::MiddleButton, shift, hit);
      break;
    case Qt::RightButton:
      DoStateChange({}, {tsRightButtonDown});
      CancelHint();
      if (states_.Contains(tsDrawSelecting)) DoStateChange({}, {tsDrawSelecting, tsDrawSelPending});
      if (options_->SelectionOptions().Contains(toRightClickSelect)) HandleMouseUp(Qt::RightButton, shift, hit);
      break;
    default:
      break;
  }
  e->accept();
}

void TBaseLazyTree::mouseDoubleClickEvent(QMouseEvent* e) {
  if (HeaderHandlesMouse(e)) return;
  const QPoint pos = e->position().toPoint();
  const THitInfo hit = HitAt(pos);
  if (e->button() == Qt::LeftButton) {
    DoStateChange({tsLeftDblClick});
    HandleMouseDblClick(Qt::LeftButton, ShiftStateOf(e->modifiers(), e->buttons()), hit);
    DoStateChange({}, {tsLeftDblClick});
  } else {
    mousePressEvent(e);
  }
  e->accept();
}

void TBaseLazyTree::mouseMoveEvent(QMouseEvent* e) {
  if (HeaderHandlesMouse(e)) return;
  const QPoint pos = e->position().toPoint();
  UpdateHotNode(pos);
  if (states_.Intersects({tsDrawSelPending, tsDrawSelecting})) {
    DragSelectionRectangle(pos);
    DoAutoScroll(pos);
  }
  if (states_.Intersects({tsOLEDragPending, tsVCLDragPending})) {
    CheckDragStart(pos);
    return;
  }
  if (HintShowPause(pos) == 0) ShowHintFor(pos);
  if (states_.Contains(tsWheelPanning)) {
    const QPoint d = pos - input_->PanningStart();
    viewport()->setCursor(PanningCursor(PanningCursorName(d.x(), d.y(), rangeX_ > ClientWidth(), rangeY_ > ClientHeight())));
  } else {
    QCursor cursor = hotNode_ && options_->PaintOptions().Contains(toHotTrack) ? appearance_.hotCursor : QCursor();
    DoGetCursor(cursor);
    viewport()->setCursor(cursor);
  }
  QAbstractScrollArea::mouseMoveEvent(e);
}

void TBaseLazyTree::HandleMouseDown(Qt::MouseButton button, TShiftState shift, const THitInfo& hit) {
  HandleNodeClick(button, shift, hit);
}

void TBaseLazyTree::HandleMouseUp(Qt::MouseButton button, TShiftState shift, const THitInfo& hit) {
  HandleNodeRelease(button, shift, hit);
}

void TBaseLazyTree::HandleMouseDblClick(Qt::MouseButton button, TShiftState shift, const THitInfo& hit) {
  HandleNodeDblClick(button, shift, hit);
}

void TBaseLazyTree::UpdateHotNode(QPoint viewportPos) {
  // A node is hot under the mouse on its label or check box, or anywhere on its row with
  // full-row selection.
  PLazyNode hot = nullptr;
  if (viewport()->rect().contains(viewportPos)) {
    THitInfo hit;
    HitTestAt(viewportPos.x(), viewportPos.y(), true, hit);
    if (hit.HitNode && (options_->SelectionOptions().Contains(toFullRowSelect) ||
                        hit.HitPositions.Intersects({hpOnLabel, hpOnCheckBox})))
      hot = hit.HitNode;
  }
  if (hot == hotNode_) return;
  PLazyNode old = hotNode_;
  hotNode_ = hot;
  DoHotChange(old, hot);
  if (options_->PaintOptions().Contains(toHotTrack) || options_->MiscOptions().Contains(toCheckSupport)) {
    InvalidateNodeRow(old);
    InvalidateNodeRow(hot);
  }
}

bool TBaseLazyTree::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::Leave && hotNode_) {
    PLazyNode old = hotNode_;
    hotNode_ = nullptr;
    DoHotChange(old, nullptr);
    InvalidateNodeRow(old);
  }
  if (e->type() == QEvent::Leave) CancelHint();
  if (e->type() == QEvent::ToolTip) {
    ShowHintFor(static_cast<QHelpEvent*>(e)->pos());
    return true;
  }
  return QAbstractScrollArea::viewportEvent(e);
}

void TBaseLazyTree::contextMenuEvent(QContextMenuEvent* e) {
  if (states_.Contains(tsPopupMenuShown)) {
    DoStateChange({}, {tsPopupMenuShown});
    e->accept();
    return;
  }
  const QPoint pos = e->pos();
  const THitInfo hit = HitAt(pos);
  ShowPopupAt(hit.HitNode, hit.HitColumn, pos);
  DoStateChange({}, {tsPopupMenuShown});
  e->accept();
}

// ---- Wheel and panning ----------------------------------------------------------------

void TBaseLazyTree::wheelEvent(QWheelEvent* e) {
  StopWheelPanning();
  const int notches = input_->TakeWheelNotches(e->angleDelta().y() != 0 ? e->angleDelta().y() : e->angleDelta().x());
  e->accept();
  if (notches == 0) return;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  if (rangeY_ > ClientHeight()) {
    const int perNotch = ctrl ? std::max(ClientHeight() / DefaultNodeHeight(), 1) * DefaultNodeHeight()
                              : QApplication::wheelScrollLines() * DefaultNodeHeight();
    SetOffsetY(offsetY_ + notches * perNotch);
  } else {
    const int perNotch = ctrl ? std::max(ClientWidth() / std::max(appearance_.indent, 1), 1) * appearance_.indent : appearance_.indent;
    SetOffsetX(offsetX_ + notches * perNotch);
  }
}

QString TBaseLazyTree::PanningCursorName(int dx, int dy, bool horizontal, bool vertical) {
  return TLazyTreeInputController::PanningCursorName(dx, dy, horizontal, vertical);
}

QCursor TBaseLazyTree::PanningCursor(const QString& name) const { return TreeCursor(name); }

void TBaseLazyTree::TInputSteps::StartWheelPanning(TBaseLazyTree& t, QPoint position) {
  t.DoStateChange({tsWheelPanning});
  const bool wide = t.rangeX_ > t.ClientWidth(), tall = t.rangeY_ > t.ClientHeight();
  const QString picture = wide && tall ? QStringLiteral("LT_MOVEALL") : wide ? QStringLiteral("LT_MOVEEW") : QStringLiteral("LT_MOVENS");
  t.input_->StartPanning(t.viewport(), position, picture);
  t.viewport()->grabMouse();
  t.viewport()->setCursor(t.PanningCursor(t.PanningCursorName(0, 0, wide, tall)));
  t.input_->StartTimer(ScrollTimer, kMinimumTimerInterval);
}

void TBaseLazyTree::StopWheelPanning() {
  if (!states_.Contains(tsWheelPanning)) return;
  DoStateChange({}, {tsWheelPanning, tsScrolling});
  StopTimer(ScrollTimer);
  viewport()->releaseMouse();
  input_->EndPanning();
  viewport()->unsetCursor();
}

void TBaseLazyTree::TInputSteps::PanningStep(TBaseLazyTree& t) {
  // The further the mouse is from the start, the faster the view moves; within the dead
  // zone it stands still.
  const QPoint d = t.viewport()->mapFromGlobal(QCursor::pos()) - t.input_->PanningStart();
  const int dx = t.rangeX_ > t.ClientWidth() ? TLazyTreeInputController::PanningSpeed(d.x()) : 0;
  const int dy = t.rangeY_ > t.ClientHeight() ? TLazyTreeInputController::PanningSpeed(d.y()) : 0;
  if (dx != 0 || dy != 0) {
    t.DoStateChange({tsScrolling});
    t.SetOffsets(QPoint(t.offsetX_ - dx, t.offsetY_ - dy));
    t.input_->RaisePanningWindow();
  }
}

// ---- Focus, timers, frame -------------------------------------------------------------

void TBaseLazyTree::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  if (!(selection_.IsEmpty() && options_->PaintOptions().Contains(toGhostedIfUnfocused))) InvalidateTree();
}

void TBaseLazyTree::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  header_->CancelMouseAction();
  for (int id : {ExpandTimer, EditTimer, HeaderTimer, ScrollTimer, SearchTimer}) StopTimer(id);
  DoStateChange({}, {tsEditPending, tsScrollPending, tsIncrementalSearching});
  ForgetSearchHit();
  StopWheelPanning();
  if (selection_.IsEmpty() && options_->PaintOptions().Contains(toGhostedIfUnfocused))
    InvalidateNodeRow(focusedNode_);
  else
    InvalidateTree();
}

void TBaseLazyTree::HandleTimer(int id) {
  switch (id) {
    case ExpandTimer:
      StopTimer(id);
      // A drag has hovered long enough over a collapsed node.
      if (drag_.dropTarget && !drag_.dropTarget->Has(nsExpanded) && drag_.dropTarget->Has(nsHasChildren))
        ToggleExpanded(drag_.dropTarget);
      break;
    case HeaderTimer:
      header_->HotTrackTimer();
      break;
    case EditTimer:
      StopTimer(EditTimer);
      DoStateChange({}, {tsEditPending});
      if (focusedNode_ && CanEdit(focusedNode_, focusedColumn_)) EditNode(focusedNode_, focusedColumn_);
      break;
    case ScrollTimer:
      if (states_.Contains(tsWheelPanning)) {
        TInputSteps::PanningStep(*this);
      } else {
        if (states_.Contains(tsScrollPending)) {
          CancelHint();
          input_->StartTimer(ScrollTimer, autoScrollInterval_);
          DoStateChange({tsScrolling}, {tsScrollPending});
        }
        TInputSteps::AutoScrollTick(*this);
      }
      break;
    case ChangeTimer:
      DeliverChange();
      break;
    case StructureChangeTimer:
      DeliverStructureChange();
      break;
    case SearchTimer:
      DoStateChange({}, {tsIncrementalSearching});
      StopTimer(SearchTimer);
      ForgetSearchHit();
      break;
    case AnimationTimer:
      AnimationTick();
      break;
    default:
      break;
  }
}

void TBaseLazyTree::TInputSteps::AutoScrollTick(TBaseLazyTree& t) {
  // A drag over this tree scrolls at its last point; a selection rectangle at the mouse,
  // and the rectangle follows.
  const bool dropTarget = t.dragManager_ && t.dragManager_->IsDropTarget();
  const QPoint at = dropTarget ? t.drag_.lastPoint : t.viewport()->mapFromGlobal(QCursor::pos());
  if (t.AutoScrollDirections(at).Empty()) {
    t.StopTimer(ScrollTimer);
    t.DoStateChange({}, {tsScrolling, tsScrollPending});
    return;
  }
  if (t.AutoScrollStep(at) && t.states_.Contains(tsDrawSelecting)) t.DragSelectionRectangle(at);
}

void TBaseLazyTree::changeEvent(QEvent* e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::FontChange || e->type() == QEvent::PaletteChange || e->type() == QEvent::StyleChange)
    InvalidateTree();
  if (e->type() == QEvent::LayoutDirectionChange) UpdateScrollBars(true);
}

bool TBaseLazyTree::event(QEvent* e) {
  const bool result = QAbstractScrollArea::event(e);
  if (e->type() == QEvent::Paint && appearance_.bevelKind != bkNone) TInputSteps::PaintBevels(*this);
  return result;
}

void TBaseLazyTree::TInputSteps::PaintBevels(TBaseLazyTree& t) {
  // The bevels sit between the border and the rows, in the margins kept around the viewport.
  QPainter painter(&t);
  const QRect inner = t.viewport()->geometry();
  QRect area = inner;
  const int width = t.appearance_.bevelWidth * ((t.appearance_.bevelInner != bvNone ? 1 : 0) + (t.appearance_.bevelOuter != bvNone ? 1 : 0));
  area.adjust(t.appearance_.bevelEdges.Contains(beLeft) ? -width : 0, t.appearance_.bevelEdges.Contains(beTop) ? -width - t.HeaderHeight() : 0,
              t.appearance_.bevelEdges.Contains(beRight) ? width : 0, t.appearance_.bevelEdges.Contains(beBottom) ? width : 0);
  const QPalette& p = t.palette();
  auto cut = [&](TBevelCut c, const QRect& r) {
    if (c == bvNone || c == bvSpace) return;
    const QColor topLeft = c == bvRaised ? p.color(QPalette::Light) : p.color(QPalette::Dark);
    const QColor bottomRight = c == bvRaised ? p.color(QPalette::Dark) : p.color(QPalette::Light);
    for (int i = 0; i < t.appearance_.bevelWidth; ++i) {
      const QRect ring = r.adjusted(i, i, -i, -i);
      painter.setPen(topLeft);
      if (t.appearance_.bevelEdges.Contains(beTop)) painter.drawLine(ring.topLeft(), ring.topRight());
      if (t.appearance_.bevelEdges.Contains(beLeft)) painter.drawLine(ring.topLeft(), ring.bottomLeft());
      painter.setPen(bottomRight);
      if (t.appearance_.bevelEdges.Contains(beBottom)) painter.drawLine(ring.bottomLeft(), ring.bottomRight());
      if (t.appearance_.bevelEdges.Contains(beRight)) painter.drawLine(ring.topRight(), ring.bottomRight());
    }
  };
  cut(t.appearance_.bevelOuter, area);
  cut(t.appearance_.bevelInner, area.adjusted(t.appearance_.bevelWidth, t.appearance_.bevelWidth, -t.appearance_.bevelWidth, -t.appearance_.bevelWidth));
}
