// One virtual operation per question the tree asks its owner: it fires the event when
// the owner assigned one and supplies the default otherwise. Result parameters start at
// the default, so an owner that leaves them alone gets the default too.
#include "treeview/LazyTreeDragManager.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>

void TBaseLazyTree::DoInitNode(PLazyNode parent, PLazyNode node, TLazyNodeInitStates& initStates) {
  if (OnInitNode) OnInitNode(this, parent, node, initStates);
}

bool TBaseLazyTree::DoInitChildren(PLazyNode node, std::uint32_t& childCount) {
  if (!OnInitChildren) return false;
  OnInitChildren(this, node, childCount);
  return true;
}

void TBaseLazyTree::DoFreeNode(PLazyNode node) {
  if (OnFreeNode) OnFreeNode(this, node);
}

void TBaseLazyTree::DoReset(PLazyNode node) {
  if (OnResetNode) OnResetNode(this, node);
}

int TBaseLazyTree::DoGetNodeDataSize() {
  int size = 0;
  if (OnGetNodeDataSize) OnGetNodeDataSize(this, size);
  return size;
}

bool TBaseLazyTree::DoExpanding(PLazyNode node) {
  bool allowed = true;
  if (OnExpanding) OnExpanding(this, node, allowed);
  return allowed;
}

void TBaseLazyTree::DoExpanded(PLazyNode node) {
  if (OnExpanded) OnExpanded(this, node);
}

bool TBaseLazyTree::DoCollapsing(PLazyNode node) {
  bool allowed = true;
  if (OnCollapsing) OnCollapsing(this, node, allowed);
  return allowed;
}

void TBaseLazyTree::DoCollapsed(PLazyNode node) {
  if (OnCollapsed) OnCollapsed(this, node);
}

void TBaseLazyTree::DoStructureChange(PLazyNode node, TChangeReason reason) {
  if (OnStructureChange && !destroying_) OnStructureChange(this, node, reason);
}

void TBaseLazyTree::DoChange(PLazyNode node) {
  if (OnChange && !destroying_) OnChange(this, node);
}

void TBaseLazyTree::DoUpdating(TLTUpdateState state) {
  if (OnUpdating) OnUpdating(this, state);
}

bool TBaseLazyTree::DoNodeMoving(PLazyNode node, PLazyNode target) {
  bool allowed = true;
  if (OnNodeMoving) OnNodeMoving(this, node, target, allowed);
  return allowed;
}

void TBaseLazyTree::DoNodeMoved(PLazyNode node) {
  if (OnNodeMoved) OnNodeMoved(this, node);
}

bool TBaseLazyTree::DoNodeCopying(PLazyNode node, PLazyNode target) {
  bool allowed = true;
  if (OnNodeCopying) OnNodeCopying(this, node, target, allowed);
  return allowed;
}

void TBaseLazyTree::DoNodeCopied(PLazyNode node) {
  if (OnNodeCopied) OnNodeCopied(this, node);
}

void TBaseLazyTree::DoMeasureItem(PLazyNode node, int& nodeHeight) {
  if (OnMeasureItem) OnMeasureItem(this, node, nodeHeight);
}

int TBaseLazyTree::DoCompare(PLazyNode node1, PLazyNode node2, int column) {
  int result = 0;
  if (OnCompareNodes) OnCompareNodes(this, node1, node2, column, result);
  return result;
}

bool TBaseLazyTree::DoFocusChanging(PLazyNode oldNode, PLazyNode newNode, int oldColumn, int newColumn) {
  bool allowed = true;
  if (OnFocusChanging) OnFocusChanging(this, oldNode, newNode, oldColumn, newColumn, allowed);
  return allowed;
}

void TBaseLazyTree::DoFocusChange(PLazyNode node, int column) {
  if (OnFocusChanged && !destroying_) OnFocusChanged(this, node, column);
}

bool TBaseLazyTree::DoChecking(PLazyNode node, TCheckState& newState) {
  bool allowed = !options_->MiscOptions().Contains(toReadOnly);
  if (OnChecking) OnChecking(this, node, newState, allowed);
  return allowed;
}

void TBaseLazyTree::DoChecked(PLazyNode node) {
  if (OnChecked) OnChecked(this, node);
}

bool TBaseLazyTree::DoCanEdit(PLazyNode node, int column) {
  bool allowed = options_->MiscOptions().Contains(toEditable) && isEnabled() &&
                 !options_->MiscOptions().Contains(toReadOnly);
  if (OnEditing) OnEditing(this, node, column, allowed);
  return allowed;
}

bool TBaseLazyTree::CanEdit(PLazyNode node, int column) { return DoCanEdit(node, column); }

void TBaseLazyTree::DoCancelEdit() {
  if (OnEditCancelled) OnEditCancelled(this, edit_.Column());
}

bool TBaseLazyTree::DoEndEdit() {
  if (OnEdited) OnEdited(this, focusedNode_, edit_.Column());
  return true;
}

void TBaseLazyTree::DoEdit() {}

int TBaseLazyTree::DoIncrementalSearch(PLazyNode node, const QString& text) {
  int result = 0;  // an owner that does not compare lets every node match
  if (OnIncrementalSearch) OnIncrementalSearch(this, node, text, result);
  return result;
}

bool TBaseLazyTree::DoGetCellIsEmpty(PLazyNode node, int column) {
  bool empty = false;
  if (OnGetCellIsEmpty) OnGetCellIsEmpty(this, node, column, empty);
  return empty;
}

bool TBaseLazyTree::DoKeyAction(int& key, TShiftState& shift) {
  bool doDefault = true;
  if (OnKeyAction) OnKeyAction(this, key, shift, doDefault);
  return doDefault;
}

void TBaseLazyTree::DoScroll(int deltaX, int deltaY) {
  if (OnScroll) OnScroll(this, deltaX, deltaY);
}

QMenu* TBaseLazyTree::DoGetPopupMenu(PLazyNode node, int column, QPoint position) {
  bool asked = false;
  return FindPopupMenu(node, column, position, asked);
}

QMenu* TBaseLazyTree::FindPopupMenu(PLazyNode node, int column, QPoint position, bool& askedSomebody) {
  // A node without a menu of its own may take its parent's: the owner is asked up the
  // chain of ancestors as long as it says so.
  askedSomebody = static_cast<bool>(OnGetPopupMenu);
  if (!OnGetPopupMenu) return nullptr;
  QMenu* menu = nullptr;
  bool askParent = true;
  if (!IsRealNode(node)) {
    OnGetPopupMenu(this, nullptr, -1, position, askParent, menu);
    return menu;
  }
  for (PLazyNode run = node; run && run != RootNode() && !menu && askParent; run = run->Parent)
    OnGetPopupMenu(this, run, column, position, askParent, menu);
  return menu;
}

bool TBaseLazyTree::HasPopupMenu(PLazyNode node, int column, QPoint position) {
  return popupMenu_ || DoGetPopupMenu(node, column, position);
}

void TBaseLazyTree::DoGetCursor(QCursor& cursor) {
  if (OnGetCursor) OnGetCursor(this, cursor);
}

int TBaseLazyTree::DoGetHelpContext(PLazyNode node, int column) {
  int context = 0;
  if (!OnGetHelpContext) return 0;
  for (PLazyNode run = node; run && run != RootNode() && context == 0; run = run->Parent)
    OnGetHelpContext(this, run, column, context);
  return context;
}

void TBaseLazyTree::DoHotChange(PLazyNode oldNode, PLazyNode newNode) {
  if (OnHotChange) OnHotChange(this, oldNode, newNode);
}

bool TBaseLazyTree::DoDragAllowed(PLazyNode node, int column) {
  bool allowed = false;
  if (OnDragAllowed) OnDragAllowed(this, node, column, allowed);
  return allowed;
}

bool TBaseLazyTree::DoPaintBackground(QPainter& canvas, QRect r) {
  bool handled = false;
  if (OnPaintBackground) OnPaintBackground(this, canvas, r, handled);
  return handled;
}

void TBaseLazyTree::DoBeforePaint(QPainter& canvas) {
  if (OnBeforePaint) OnBeforePaint(this, canvas);
}

void TBaseLazyTree::DoAfterPaint(QPainter& canvas) {
  if (OnAfterPaint) OnAfterPaint(this, canvas);
}

void TBaseLazyTree::DoBeforeItemErase(QPainter& canvas, PLazyNode node, QRect itemRect, QColor& color,
                                      TItemEraseAction& eraseAction) {
  if (OnBeforeItemErase) OnBeforeItemErase(this, canvas, node, itemRect, color, eraseAction);
}

void TBaseLazyTree::DoAfterItemErase(QPainter& canvas, PLazyNode node, QRect itemRect) {
  if (OnAfterItemErase) OnAfterItemErase(this, canvas, node, itemRect);
}

bool TBaseLazyTree::DoBeforeItemPaint(QPainter& canvas, PLazyNode node, QRect itemRect) {
  bool customDraw = false;
  if (OnBeforeItemPaint) OnBeforeItemPaint(this, canvas, node, itemRect, customDraw);
  return customDraw;
}

void TBaseLazyTree::DoAfterItemPaint(QPainter& canvas, PLazyNode node, QRect itemRect) {
  if (OnAfterItemPaint) OnAfterItemPaint(this, canvas, node, itemRect);
}

void TBaseLazyTree::DoBeforeCellPaint(QPainter& canvas, PLazyNode node, int column, QRect cellRect) {
  if (OnBeforeCellPaint) OnBeforeCellPaint(this, canvas, node, column, cellRect);
}

void TBaseLazyTree::DoAfterCellPaint(QPainter& canvas, PLazyNode node, int column, QRect cellRect) {
  if (OnAfterCellPaint) OnAfterCellPaint(this, canvas, node, column, cellRect);
}

int TBaseLazyTree::DoGetImageIndex(PLazyNode node, TLTImageKind kind, int column, bool& ghosted) {
  int index = -1;
  if (OnGetImageIndex) OnGetImageIndex(this, node, kind, column, ghosted, index);
  return index;
}

int TBaseLazyTree::DoGetNodeWidth(PLazyNode, int) { return 0; }

void TBaseLazyTree::DoPaintNode(const TLTPaintInfo&) {}

bool TBaseLazyTree::CanAutoScroll() const {
  // Auto-scrolling follows a drag, a held left or middle button, or the owner's wish; it
  // only runs while a button is down, a drag runs or the wheel pans.
  // A drag runs for the tree it comes from and for the tree it is over.
  const bool dragging =
      states_.Intersects({tsOLEDragging, tsVCLDragging}) || (dragManager_ && dragManager_->IsDropTarget());
  const bool possible = dragging || states_.Intersects({tsLeftButtonDown, tsMiddleButtonDown}) ||
                        options_->AutoOptions().Contains(toAutoScroll);
  const bool active = dragging || states_.Intersects({tsLeftButtonDown, tsMiddleButtonDown, tsRightButtonDown}) ||
                      states_.Contains(tsWheelPanning);
  return possible && active;
}

TDropEffect TBaseLazyTree::SuggestDropEffect(QObject* source, TShiftState shift, TDropEffects allowed) const {
  TDropEffect base = deNone;
  if (source == this && allowed.Contains(deMove))
    base = deMove;
  else if (source != this && allowed.Contains(deCopy))
    base = deCopy;
  else if (allowed.Contains(deMove))
    base = deMove;
  else if (allowed.Contains(deCopy))
    base = deCopy;
  else if (allowed.Contains(deLink))
    base = deLink;
  auto pick = [&](TDropEffect wanted) { return allowed.Contains(wanted) ? wanted : base; };
  const bool ctrl = shift.Contains(ssCtrl), sh = shift.Contains(ssShift), alt = shift.Contains(ssAlt);
  if (ctrl && sh) return pick(deLink);
  if (ctrl) return pick(deCopy);
  if (sh) return pick(deMove);
  if (alt) return pick(deLink);
  return base;
}

THintAnimationType TBaseLazyTree::GetHintAnimationType() const {
  if (hintAnimation_ != hatSystemDefault) return hintAnimation_;
  if (!QApplication::isEffectEnabled(Qt::UI_AnimateTooltip)) return hatNone;
  return QApplication::isEffectEnabled(Qt::UI_FadeTooltip) ? hatFade : hatSlide;
}

// ---- The owner-drawn tree -------------------------------------------------------------

void TCustomLazyDrawTree::DoPaintNode(const TLTPaintInfo& paintInfo) {
  if (OnDrawNode) OnDrawNode(this, paintInfo);
}

int TCustomLazyDrawTree::DoGetNodeWidth(PLazyNode node, int column) {
  int width = 2 * TextMargin();
  if (OnGetNodeWidth) OnGetNodeWidth(this, node, column, width);
  return width;
}

QRect TCustomLazyDrawTree::DoGetHintSize(PLazyNode node, int column) {
  QRect r;
  if (OnGetHintSize) OnGetHintSize(this, node, column, r);
  return r;
}

void TCustomLazyDrawTree::DoDrawHint(QPainter& canvas, PLazyNode node, QRect r, int column) {
  if (OnDrawHint) OnDrawHint(this, canvas, node, r, column);
}
