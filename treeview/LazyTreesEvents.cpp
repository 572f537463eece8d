// One virtual operation per question the tree asks its owner: it fires the event when
// the owner assigned one and supplies the default otherwise. Result parameters start at
// the default, so an owner that leaves them alone gets the default too.
#include "treeview/LazyTreeDragManager.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>

TBaseLazyTree* TLazyTreeOwnerHooks::Self() { return static_cast<TBaseLazyTree*>(this); }

const TBaseLazyTree* TLazyTreeOwnerHooks::Self() const { return static_cast<const TBaseLazyTree*>(this); }

void TLazyTreeOwnerHooks::DoInitNode(PLazyNode parent, PLazyNode node, TLazyNodeInitStates& initStates) {
  if (OnInitNode) OnInitNode(Self(), parent, node, initStates);
}

bool TLazyTreeOwnerHooks::DoInitChildren(PLazyNode node, std::uint32_t& childCount) {
  if (!OnInitChildren) return false;
  OnInitChildren(Self(), node, childCount);
  return true;
}

void TLazyTreeOwnerHooks::DoFreeNode(PLazyNode node) {
  if (OnFreeNode) OnFreeNode(Self(), node);
}

void TLazyTreeOwnerHooks::DoReset(PLazyNode node) {
  if (OnResetNode) OnResetNode(Self(), node);
}

int TLazyTreeOwnerHooks::DoGetNodeDataSize() {
  int size = 0;
  if (OnGetNodeDataSize) OnGetNodeDataSize(Self(), size);
  return size;
}

bool TLazyTreeOwnerHooks::DoExpanding(PLazyNode node) {
  bool allowed = true;
  if (OnExpanding) OnExpanding(Self(), node, allowed);
  return allowed;
}

void TLazyTreeOwnerHooks::DoExpanded(PLazyNode node) {
  if (OnExpanded) OnExpanded(Self(), node);
}

bool TLazyTreeOwnerHooks::DoCollapsing(PLazyNode node) {
  bool allowed = true;
  if (OnCollapsing) OnCollapsing(Self(), node, allowed);
  return allowed;
}

void TLazyTreeOwnerHooks::DoCollapsed(PLazyNode node) {
  if (OnCollapsed) OnCollapsed(Self(), node);
}

void TLazyTreeOwnerHooks::DoStructureChange(PLazyNode node, TChangeReason reason) {
  if (OnStructureChange && !Self()->IsDestroying()) OnStructureChange(Self(), node, reason);
}

void TLazyTreeOwnerHooks::DoChange(PLazyNode node) {
  if (OnChange && !Self()->IsDestroying()) OnChange(Self(), node);
}

void TLazyTreeOwnerHooks::DoUpdating(TLTUpdateState state) {
  if (OnUpdating) OnUpdating(Self(), state);
}

bool TLazyTreeOwnerHooks::DoNodeMoving(PLazyNode node, PLazyNode target) {
  bool allowed = true;
  if (OnNodeMoving) OnNodeMoving(Self(), node, target, allowed);
  return allowed;
}

void TLazyTreeOwnerHooks::DoNodeMoved(PLazyNode node) {
  if (OnNodeMoved) OnNodeMoved(Self(), node);
}

bool TLazyTreeOwnerHooks::DoNodeCopying(PLazyNode node, PLazyNode target) {
  bool allowed = true;
  if (OnNodeCopying) OnNodeCopying(Self(), node, target, allowed);
  return allowed;
}

void TLazyTreeOwnerHooks::DoNodeCopied(PLazyNode node) {
  if (OnNodeCopied) OnNodeCopied(Self(), node);
}

void TLazyTreeOwnerHooks::DoMeasureItem(PLazyNode node, int& nodeHeight) {
  if (OnMeasureItem) OnMeasureItem(Self(), node, nodeHeight);
}

int TLazyTreeOwnerHooks::DoCompare(PLazyNode node1, PLazyNode node2, int column) {
  int result = 0;
  if (OnCompareNodes) OnCompareNodes(Self(), node1, node2, column, result);
  return result;
}

bool TLazyTreeOwnerHooks::DoGetSortKey(PLazyNode node, int column, std::int64_t& key) {
  bool known = false;
  if (OnGetSortKey) OnGetSortKey(Self(), node, column, key, known);
  return known;
}

bool TLazyTreeOwnerHooks::DoFocusChanging(PLazyNode oldNode, PLazyNode newNode, int oldColumn, int newColumn) {
  bool allowed = true;
  if (OnFocusChanging) OnFocusChanging(Self(), oldNode, newNode, oldColumn, newColumn, allowed);
  return allowed;
}

void TLazyTreeOwnerHooks::DoFocusChange(PLazyNode node, int column) {
  if (OnFocusChanged && !Self()->IsDestroying()) OnFocusChanged(Self(), node, column);
}

bool TLazyTreeOwnerHooks::DoChecking(PLazyNode node, TCheckState& newState) {
  bool allowed = !Self()->TreeOptions().MiscOptions().Contains(toReadOnly);
  if (OnChecking) OnChecking(Self(), node, newState, allowed);
  return allowed;
}

void TLazyTreeOwnerHooks::DoChecked(PLazyNode node) {
  if (OnChecked) OnChecked(Self(), node);
}

bool TLazyTreeOwnerHooks::DoCanEdit(PLazyNode node, int column) {
  bool allowed = Self()->TreeOptions().MiscOptions().Contains(toEditable) && Self()->isEnabled() &&
                 !Self()->TreeOptions().MiscOptions().Contains(toReadOnly);
  if (OnEditing) OnEditing(Self(), node, column, allowed);
  return allowed;
}

bool TBaseLazyTree::CanEdit(PLazyNode node, int column) { return DoCanEdit(node, column); }

void TLazyTreeOwnerHooks::DoCancelEdit() {
  if (OnEditCancelled) OnEditCancelled(Self(), Self()->EditColumn());
}

bool TLazyTreeOwnerHooks::DoEndEdit() {
  if (OnEdited) OnEdited(Self(), Self()->FocusedNode(), Self()->EditColumn());
  return true;
}

void TLazyTreeOwnerHooks::DoEdit() {}

int TLazyTreeOwnerHooks::DoIncrementalSearch(PLazyNode node, const QString& text) {
  int result = 0;  // an owner that does not compare lets every node match
  if (OnIncrementalSearch) OnIncrementalSearch(Self(), node, text, result);
  return result;
}

bool TLazyTreeOwnerHooks::DoGetCellIsEmpty(PLazyNode node, int column) {
  bool empty = false;
  if (OnGetCellIsEmpty) OnGetCellIsEmpty(Self(), node, column, empty);
  return empty;
}

bool TLazyTreeOwnerHooks::DoKeyAction(int& key, TShiftState& shift) {
  bool doDefault = true;
  if (OnKeyAction) OnKeyAction(Self(), key, shift, doDefault);
  return doDefault;
}

void TLazyTreeOwnerHooks::DoScroll(int deltaX, int deltaY) {
  if (OnScroll) OnScroll(Self(), deltaX, deltaY);
}

QMenu* TLazyTreeOwnerHooks::DoGetPopupMenu(PLazyNode node, int column, QPoint position) {
  bool asked = false;
  return Self()->FindPopupMenu(node, column, position, asked);
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

void TLazyTreeOwnerHooks::DoGetCursor(QCursor& cursor) {
  if (OnGetCursor) OnGetCursor(Self(), cursor);
}

int TLazyTreeOwnerHooks::DoGetHelpContext(PLazyNode node, int column) {
  int context = 0;
  if (!OnGetHelpContext) return 0;
  for (PLazyNode run = node; run && run != Self()->RootNode() && context == 0; run = run->Parent)
    OnGetHelpContext(Self(), run, column, context);
  return context;
}

void TLazyTreeOwnerHooks::DoHotChange(PLazyNode oldNode, PLazyNode newNode) {
  if (OnHotChange) OnHotChange(Self(), oldNode, newNode);
}

bool TLazyTreeOwnerHooks::DoDragAllowed(PLazyNode node, int column) {
  bool allowed = false;
  if (OnDragAllowed) OnDragAllowed(Self(), node, column, allowed);
  return allowed;
}

bool TLazyTreeOwnerHooks::DoPaintBackground(QPainter& canvas, QRect r) {
  bool handled = false;
  if (OnPaintBackground) OnPaintBackground(Self(), canvas, r, handled);
  return handled;
}

void TLazyTreeOwnerHooks::DoBeforePaint(QPainter& canvas) {
  if (OnBeforePaint) OnBeforePaint(Self(), canvas);
}

void TLazyTreeOwnerHooks::DoAfterPaint(QPainter& canvas) {
  if (OnAfterPaint) OnAfterPaint(Self(), canvas);
}

void TLazyTreeOwnerHooks::DoBeforeItemErase(QPainter& canvas, PLazyNode node, QRect itemRect, QColor& color,
                                      TItemEraseAction& eraseAction) {
  if (OnBeforeItemErase) OnBeforeItemErase(Self(), canvas, node, itemRect, color, eraseAction);
}

void TLazyTreeOwnerHooks::DoAfterItemErase(QPainter& canvas, PLazyNode node, QRect itemRect) {
  if (OnAfterItemErase) OnAfterItemErase(Self(), canvas, node, itemRect);
}

bool TLazyTreeOwnerHooks::DoBeforeItemPaint(QPainter& canvas, PLazyNode node, QRect itemRect) {
  bool customDraw = false;
  if (OnBeforeItemPaint) OnBeforeItemPaint(Self(), canvas, node, itemRect, customDraw);
  return customDraw;
}

void TLazyTreeOwnerHooks::DoAfterItemPaint(QPainter& canvas, PLazyNode node, QRect itemRect) {
  if (OnAfterItemPaint) OnAfterItemPaint(Self(), canvas, node, itemRect);
}

void TLazyTreeOwnerHooks::DoBeforeCellPaint(QPainter& canvas, PLazyNode node, int column, QRect cellRect) {
  if (OnBeforeCellPaint) OnBeforeCellPaint(Self(), canvas, node, column, cellRect);
}

void TLazyTreeOwnerHooks::DoAfterCellPaint(QPainter& canvas, PLazyNode node, int column, QRect cellRect) {
  if (OnAfterCellPaint) OnAfterCellPaint(Self(), canvas, node, column, cellRect);
}

int TLazyTreeOwnerHooks::DoGetImageIndex(PLazyNode node, TLTImageKind kind, int column, bool& ghosted) {
  int index = -1;
  if (OnGetImageIndex) OnGetImageIndex(Self(), node, kind, column, ghosted, index);
  return index;
}

int TLazyTreeOwnerHooks::DoGetNodeWidth(PLazyNode, int) { return 0; }

void TLazyTreeOwnerHooks::DoPaintNode(const TLTPaintInfo&) {}

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
