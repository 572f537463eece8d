// The check-state change with tri-state propagation and radio groups, the node order,
// the packing of node arrays and the selection that follows a dragged rectangle.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"

#include <algorithm>

namespace {
bool TakesPartInTristate(PLazyNode node) {
  return node->CheckType == ctCheckBox || node->CheckType == ctTriStateCheckBox;
}
}  // namespace

// ---- Check states -------------------------------------------------------------------------------

bool TBaseLazyTree::DoCheckChange(PLazyNode node, TCheckState state) {
  if (!DoChecking(node, state)) return false;
  const bool result = ApplyCheckState(node, state);
  if (node->CheckState == state) DoChecked(node);
  return result;
}

bool TBaseLazyTree::ApplyCheckState(PLazyNode node, TCheckState state) {
  if (!IsRealNode(node) || node->Has(nsChecking)) return false;  // already in a change: the loop ends here
  node->Include(nsChecking);
  if (!node->Has(nsInitialized)) InitializeNode(node);
  const bool outermost = !states_.Contains(tsCheckPropagation);
  if (outermost) DoStateChange({tsCheckPropagation});
  const bool tracking = options_->AutoOptions().Contains(toAutoTristateTracking);

  // A tri-state box takes its children along, each asked on its own.
  if (tracking && node->CheckType == ctTriStateCheckBox && (state == csCheckedNormal || state == csUncheckedNormal)) {
    for (PLazyNode child = node->FirstChild; child; child = child->NextSibling) {
      if (!child->Has(nsInitialized)) InitializeNode(child);
      if (TakesPartInTristate(child) && !child->Has(nsDisabled) && NormalCheckState(TCheckState(child->CheckState)) != state)
        DoCheckChange(child, state);
    }
  }
  // Only one radio button of a group is checked.
  if (node->CheckType == ctRadioButton && state == csCheckedNormal) {
    for (PLazyNode sibling = node->Parent->FirstChild; sibling; sibling = sibling->NextSibling)
      if (sibling != node && sibling->CheckType == ctRadioButton && sibling->CheckState != csUncheckedNormal)
        sibling->CheckState = csUncheckedNormal;
    InvalidateTree();
  }
  node->CheckState = state;
  bool result = true;
  PLazyNode parent = node->Parent;
  if (tracking && TakesPartInTristate(node) && parent != root_ && parent->CheckType == ctTriStateCheckBox &&
      !parent->Has(nsChecking) && !parent->Has(nsDisabled))
    result = CheckParentCheckState(node, state);
  InvalidateNodeRow(node);
  node->Exclude(nsChecking);
  if (outermost) DoStateChange({}, {tsCheckPropagation});
  return result;
}

bool TBaseLazyTree::CheckParentCheckState(PLazyNode node, TCheckState state) {
  PLazyNode parent = node->Parent;
  int boxes = 0, checked = 0, mixed = 0;
  for (PLazyNode child = parent->FirstChild; child; child = child->NextSibling) {
    if (!TakesPartInTristate(child)) continue;
    const TCheckState s = NormalCheckState(child == node ? state : TCheckState(child->CheckState));
    ++boxes;
    if (s == csCheckedNormal) ++checked;
    if (s == csMixedNormal) ++mixed;
  }
  const TCheckState parentState = checked == 0 && mixed == 0 ? csUncheckedNormal
                                  : checked == boxes           ? csCheckedNormal
                                                               : csMixedNormal;
  if (NormalCheckState(TCheckState(parent->CheckState)) == parentState) return true;
  return DoCheckChange(parent, parentState);
}

// ---- Node order and packing ---------------------------------------------------------------------

int TBaseLazyTree::NodeOrder(PLazyNode a, PLazyNode b) const {
  if (!LazyTreeCheck(a != nullptr && b != nullptr, "Nodes must never be nil.")) return 0;
  if (a == b) return 0;
  if (NodeHasAncestor(a, b)) return 1;
  if (NodeHasAncestor(b, a)) return -1;
  unsigned levelA = LevelOfNode(a), levelB = LevelOfNode(b);
  for (; levelA > levelB; --levelA) a = a->Parent;
  for (; levelB > levelA; --levelB) b = b->Parent;
  while (a->Parent != b->Parent) {
    a = a->Parent;
    b = b->Parent;
  }
  return static_cast<int>(a->Index) - static_cast<int>(b->Index);
}

int TBaseLazyTree::CompactNodeArray(quintptr* array, int count) {
  if (!array || count <= 0) return -1;
  const quintptr* end = std::remove_if(array, array + count, [](quintptr entry) { return (entry & 1) != 0; });
  return static_cast<int>(end - array);
}

// ---- The dragged selection rectangle ------------------------------------------------------------

void TBaseLazyTree::HandleDrawSelection(QRect oldRect, QRect newRect) {
  if (TotalCount() <= 1) return;
  const QRect previous = NormalizeRect(oldRect), next = NormalizeRect(newRect);
  const TLTPaintOptions paint = options_->PaintOptions();
  const TLTSelectionOptions selection = options_->SelectionOptions();
  const bool simple = selection.Contains(toSimpleDrawSelection);
  const bool toggle = drawSelectionShift_.Contains(ssCtrl);

  // The main column's edges, direction and alignment.
  int mainLeft = 0, mainRight = ClientWidth();
  bool rtl = BiDiMode() != bdLeftToRight;
  TLTAlignment alignment = rtl ? (alignment_ == taLeftJustify ? taRightJustify : alignment_ == taRightJustify ? taLeftJustify : alignment_)
                               : alignment_;
  const TColumnIndex main = MainColumn();
  if (ColumnCount() > 0 && main >= 0) {
    const TLazyTreeColumn& column = *Columns()[main];
    mainLeft = column.Left();
    mainRight = mainLeft + column.Width();
    rtl = column.RightToLeft();
    alignment = column.DisplayAlignment();
  }
  const int top = std::min(previous.top(), next.top());
  const int bottom = std::max(previous.bottom(), next.bottom());
  QVector<PLazyNode> toAdd;
  bool changed = false;
  int rowTop = 0;
  for (PLazyNode node = NodeAtPosition(std::max(top, 0), false, &rowTop); node && rowTop <= bottom;
       node = GetNextVisible(node)) {
    const int height = node->NodeHeight;
    int start = margin_ + indent_ * (static_cast<int>(LevelOfNode(node)) + (paint.Contains(toShowRoot) ? 1 : 0));
    bool ghosted = false;
    if (options_->MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone && CheckImages())
      start += CheckImages()->Width() + 2;
    if (images_ && DoGetImageIndex(node, ikNormal, main, ghosted) >= 0) start += images_->Width() + 2;
    if (stateImages_ && DoGetImageIndex(node, ikState, main, ghosted) >= 0) start += stateImages_->Width() + 2;
    int end = mainRight;
    if (ColumnCount() > 0 && main >= 0) {
      const TColumnIndex next = NextCellColumn(node, main);
      end = next >= 0 ? Columns()[next]->Left() : Columns().AllColumnsWidth();
    }
    int boxLeft = mainLeft + start, boxRight = end;  // right edge exclusive
    const int width = DoGetNodeWidth(node, main);
    if (width < boxRight - boxLeft) {
      if (alignment == taRightJustify)
        boxLeft = boxRight - width;
      else if (alignment == taCenter)
        boxLeft += (boxRight - boxLeft - width) / 2;
      boxRight = boxLeft + width;
    }
    if (rtl) {
      // Mirrored within the main column.
      const int mirroredLeft = mainLeft + (end - boxRight);
      boxRight = mainLeft + (end - boxLeft);
      boxLeft = mirroredLeft;
    }
    auto inside = [&](const QRect& r) {
      if (r.isEmpty() || rowTop > r.bottom() || rowTop + height - 1 < r.top()) return false;
      return simple || (boxLeft <= r.right() && boxRight - 1 >= r.left());
    };
    const bool inOld = inside(previous), inNew = inside(next);
    if (inOld != inNew) {
      const bool select = toggle ? !node->Has(nsSelected) : inNew;
      if (select && !node->Has(nsSelected) && !node->Has(nsDisabled)) {
        toAdd.append(node);
        changed = true;
      } else if (!select && node->Has(nsSelected)) {
        node->Exclude(nsSelected);
        RemoveMarkedSelection(node);
        changed = true;
      }
    }
    rowTop += height;
  }
  if (!changed) return;
  PackSelection();
  for (PLazyNode node : toAdd) {
    node->Include(nsSelected);
    const quintptr key = reinterpret_cast<quintptr>(node);
    selection_.insert(std::lower_bound(selection_.begin(), selection_.end(), key), key);
  }
  if (selection_.isEmpty()) {
    rangeAnchor_ = nullptr;
    lastSelectionLevel_ = -1;
  } else if (!rangeAnchor_) {
    rangeAnchor_ = reinterpret_cast<PLazyNode>(selection_.first());
  }
  Change(nullptr);
}
