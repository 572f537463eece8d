// The check-state change with tri-state propagation and radio groups, the node order,
// the packing of node arrays and the selection that follows a dragged rectangle.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"

#include <algorithm>
#include <vector>

namespace {
bool TakesPartInTristate(PLazyNode node) {
  return node->CheckType == ctCheckBox || node->CheckType == ctTriStateCheckBox;
}
}  // namespace

// ---- Check states -------------------------------------------------------------------------------

// A change runs down into tri-state children and up into tri-state parents, as deep as
// the user's tree goes: each node's change is a frame on a stack, not a call, so no
// depth runs out of stack. A frame does what one call did, in the same order: ask the
// owner (not for the node the change starts at), mark and initialise the node, change
// the children, set the state, recompute the parent, then repaint, unmark and tell.
bool TBaseLazyTree::ApplyCheckState(PLazyNode node, TCheckState state) {
  enum Step { stChildren, stSelf, stFinish };
  struct Frame {
    PLazyNode node;
    TCheckState state;
    bool asked;        // the owner was asked first: it is told when the state took
    bool tracking;
    bool outermost;    // entered tsCheckPropagation
    Step step;
    PLazyNode child;   // the child changed last, nil before the first
    bool result;
    bool awaitsParent; // the parent's change decides the result
  };
  std::vector<Frame> frames;
  bool ended = false;  // the result of the change that ended last

  // The end of a change: the frame below takes it when it waits for its parent's result.
  auto deliver = [&](bool result) {
    ended = result;
    if (!frames.empty() && frames.back().awaitsParent) {
      frames.back().result = result;
      frames.back().awaitsParent = false;
    }
  };
  auto begin = [&](PLazyNode n, TCheckState s, bool asked) {
    if (asked && !DoChecking(n, s)) return deliver(false);
    if (!IsRealNode(n) || n->Has(nsChecking)) {  // already in a change: the loop ends here
      if (asked && n->CheckState == s) DoChecked(n);
      return deliver(false);
    }
    n->Include(nsChecking);
    if (!n->Has(nsInitialized)) InitializeNode(n);
    const bool outermost = !states_.Contains(tsCheckPropagation);
    if (outermost) DoStateChange({tsCheckPropagation});
    frames.push_back({n, s, asked, options_->AutoOptions().Contains(toAutoTristateTracking), outermost, stChildren,
                      nullptr, true, false});
  };

  begin(node, state, false);
  while (!frames.empty()) {
    const std::size_t top = frames.size() - 1;
    Frame& f = frames[top];
    PLazyNode n = f.node;
    if (f.step == stChildren) {
      // A tri-state box takes its children along, each asked on its own.
      if (f.tracking && n->CheckType == ctTriStateCheckBox && (f.state == csCheckedNormal || f.state == csUncheckedNormal)) {
        PLazyNode child = f.child ? f.child->NextSibling : n->FirstChild;
        for (; child; child = child->NextSibling) {
          if (!child->Has(nsInitialized)) InitializeNode(child);
          if (TakesPartInTristate(child) && !child->Has(nsDisabled) &&
              NormalCheckState(TCheckState(child->CheckState)) != f.state)
            break;
        }
        if (child) {
          f.child = child;
          begin(child, f.state, true);  // may add a frame: f is not used after it
          continue;
        }
      }
      f.step = stSelf;
      continue;
    }
    if (f.step == stSelf) {
      // Only one radio button of a group is checked.
      if (n->CheckType == ctRadioButton && f.state == csCheckedNormal) {
        for (PLazyNode sibling = n->Parent->FirstChild; sibling; sibling = sibling->NextSibling)
          if (sibling != n && sibling->CheckType == ctRadioButton && sibling->CheckState != csUncheckedNormal)
            sibling->CheckState = csUncheckedNormal;
        InvalidateTree();
      }
      n->CheckState = f.state;
      f.step = stFinish;
      PLazyNode parent = n->Parent;
      if (f.tracking && TakesPartInTristate(n) && parent != RootNode() && parent->CheckType == ctTriStateCheckBox &&
          !parent->Has(nsChecking) && !parent->Has(nsDisabled)) {
        // The parent's state from its children: all checked, all unchecked, or mixed.
        int boxes = 0, checked = 0, mixed = 0;
        for (PLazyNode child = parent->FirstChild; child; child = child->NextSibling) {
          if (!TakesPartInTristate(child)) continue;
          const TCheckState s = NormalCheckState(child == n ? f.state : TCheckState(child->CheckState));
          ++boxes;
          if (s == csCheckedNormal) ++checked;
          if (s == csMixedNormal) ++mixed;
        }
        const TCheckState parentState = checked == 0 && mixed == 0 ? csUncheckedNormal
                                        : checked == boxes           ? csCheckedNormal
                                                                     : csMixedNormal;
        if (NormalCheckState(TCheckState(parent->CheckState)) != parentState) {
          f.awaitsParent = true;
          begin(parent, parentState, true);  // may add a frame: f is not used after it
        }
      }
      continue;
    }
    InvalidateNodeRow(n);
    n->Exclude(nsChecking);
    if (f.outermost) DoStateChange({}, {tsCheckPropagation});
    const Frame done = f;
    frames.pop_back();
    if (done.asked && done.node->CheckState == done.state) DoChecked(done.node);
    deliver(done.result);
  }
  return ended;
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
  TLTAlignment alignment = rtl ? (appearance_.alignment == taLeftJustify ? taRightJustify : appearance_.alignment == taRightJustify ? taLeftJustify : appearance_.alignment)
                               : appearance_.alignment;
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
    int start = appearance_.margin + appearance_.indent * (static_cast<int>(LevelOfNode(node)) + (paint.Contains(toShowRoot) ? 1 : 0));
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
        selection_.MarkDeleted(node);
        changed = true;
      }
    }
    rowTop += height;
  }
  if (!changed) return;
  selection_.Pack();
  for (PLazyNode node : toAdd) {
    node->Include(nsSelected);
    selection_.Insert(node);
  }
  selection_.ForgetAnchorWhenEmpty();
  if (!selection_.IsEmpty() && !selection_.Anchor()) selection_.SetAnchor(selection_.First());
  Change(nullptr);
}
