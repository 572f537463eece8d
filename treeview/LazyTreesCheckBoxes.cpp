// The check boxes: a click's press and release, the state a click gives, and the
// check-state change with tri-state propagation and radio groups.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTrees.h"

#include <vector>

namespace {
bool TakesPartInTristate(PLazyNode node) {
  return node->CheckType == ctCheckBox || node->CheckType == ctTriStateCheckBox;
}
bool IsPressed(TCheckState state) {
  return state == csUncheckedPressed || state == csCheckedPressed || state == csMixedPressed;
}
TCheckState PressedOf(TCheckState state) { return IsPressed(state) ? state : TCheckState(state + 1); }
TCheckState NormalOf(TCheckState state) { return IsPressed(state) ? TCheckState(state - 1) : state; }

// One node's change in ApplyCheckState: what one call of a recursive change would hold.
enum TCheckStep { stChildren, stSelf, stFinish };
struct TCheckFrame {
  PLazyNode node;
  TCheckState state;
  bool asked;        // the owner was asked first: it is told when the state took
  bool tracking;
  bool outermost;    // entered tsCheckPropagation
  TCheckStep step;
  PLazyNode child;   // the child changed last, nil before the first
  bool result;
  bool awaitsParent; // the parent's change decides the result
};

// The next child after `after` (nil: from the first) that a tri-state box changing to
// `state` takes along: initialised, enabled, taking part and not yet in that state.
PLazyNode NextChildToCarry(TBaseLazyTree& tree, PLazyNode node, PLazyNode after, TCheckState state) {
  PLazyNode child = after ? after->NextSibling : node->FirstChild;
  for (; child; child = child->NextSibling) {
    if (!child->Has(nsInitialized)) tree.InitializeNode(child);
    if (TakesPartInTristate(child) && !child->Has(nsDisabled) && NormalCheckState(TCheckState(child->CheckState)) != state)
      break;
  }
  return child;
}

// Only one radio button of a group is checked.
void UncheckOtherRadioButtons(PLazyNode node) {
  for (PLazyNode sibling = node->Parent->FirstChild; sibling; sibling = sibling->NextSibling)
    if (sibling != node && sibling->CheckType == ctRadioButton && sibling->CheckState != csUncheckedNormal)
      sibling->CheckState = csUncheckedNormal;
}

// The parent's state from its children, `changed` counted in its coming state: all
// checked, all unchecked, or mixed.
TCheckState ParentStateFromChildren(PLazyNode parent, PLazyNode changed, TCheckState changedState) {
  int boxes = 0, checked = 0, mixed = 0;
  for (PLazyNode child = parent->FirstChild; child; child = child->NextSibling) {
    if (!TakesPartInTristate(child)) continue;
    const TCheckState s = NormalCheckState(child == changed ? changedState : TCheckState(child->CheckState));
    ++boxes;
    if (s == csCheckedNormal) ++checked;
    if (s == csMixedNormal) ++mixed;
  }
  return checked == 0 && mixed == 0 ? csUncheckedNormal : checked == boxes ? csCheckedNormal : csMixedNormal;
}
}  // namespace

// ---- Check boxes ----------------------------------------------------------------------

void TBaseLazyTree::HandleCheckPress(PLazyNode node) {
  if (node->Has(nsDisabled) || states_.Contains(tsMouseCheckPending) || node->CheckType == ctNone) return;
  TCheckState next = CheckStateAfterClick(TCheckType(node->CheckType), NormalOf(TCheckState(node->CheckState)));
  if (!DoChecking(node, next)) return;
  DoStateChange({tsMouseCheckPending});
  input_->BeginMouseCheck(node, next);
  node->CheckState = PressedOf(TCheckState(node->CheckState));
  InvalidateNodeRow(node);
}

void TBaseLazyTree::HandleCheckRelease(const THitInfo& hit) {
  DoStateChange({}, {tsMouseCheckPending});
  PLazyNode node = input_->TakeMouseCheckNode();
  if (!node) return;
  node->CheckState = NormalOf(TCheckState(node->CheckState));
  // Released away from the box: the press is forgotten and the box looks as before.
  if (hit.HitNode == node && hit.HitPositions.Contains(hpOnCheckBox))
    SetNodeCheckState(node, input_->MouseCheckState());
  InvalidateNodeRow(node);
}

TCheckState TBaseLazyTree::CheckStateAfterClick(TCheckType checkType, TCheckState checkState) const {
  switch (checkType) {
    case ctTriStateCheckBox:
    case ctCheckBox:
      return checkState == csCheckedNormal ? csUncheckedNormal : csCheckedNormal;
    case ctRadioButton:
      return csCheckedNormal;
    case ctButton:
      return csUncheckedNormal;
    default:
      return csMixedNormal;
  }
}

void TBaseLazyTree::SetNodeCheckState(PLazyNode node, TCheckState state) {
  if (!IsRealNode(node) || node->CheckState == state) return;
  // The change itself tells the nodes it carries along; this node is told here.
  ApplyCheckState(node, state);
  if (node->CheckState == state) DoChecked(node);
}

void TBaseLazyTree::SetCheckType(PLazyNode node, TCheckType value) {
  if (!IsRealNode(node) || node->CheckType == value) return;
  node->CheckType = value;
  InvalidateNodeRow(node);
}

// ---- Check states -------------------------------------------------------------------------------

// A change runs down into tri-state children and up into tri-state parents, as deep as
// the user's tree goes: each node's change is a frame on a stack, not a call, so no
// depth runs out of stack. A frame does what one call did, in the same order: ask the
// owner (not for the node the change starts at), mark and initialise the node, change
// the children, set the state, recompute the parent, then repaint, unmark and tell.
bool TBaseLazyTree::ApplyCheckState(PLazyNode node, TCheckState state) {
  std::vector<TCheckFrame> frames;
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
    TCheckFrame& f = frames[top];
    PLazyNode n = f.node;
    if (f.step == stChildren) {
      // A tri-state box takes its children along, each asked on its own.
      if (f.tracking && n->CheckType == ctTriStateCheckBox && (f.state == csCheckedNormal || f.state == csUncheckedNormal)) {
        PLazyNode child = NextChildToCarry(*this, n, f.child, f.state);
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
      if (n->CheckType == ctRadioButton && f.state == csCheckedNormal) {
        UncheckOtherRadioButtons(n);
        InvalidateTree();
      }
      n->CheckState = f.state;
      f.step = stFinish;
      PLazyNode parent = n->Parent;
      if (f.tracking && TakesPartInTristate(n) && parent != RootNode() && parent->CheckType == ctTriStateCheckBox &&
          !parent->Has(nsChecking) && !parent->Has(nsDisabled)) {
        const TCheckState parentState = ParentStateFromChildren(parent, n, f.state);
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
    const TCheckFrame done = f;
    frames.pop_back();
    if (done.asked && done.node->CheckState == done.state) DoChecked(done.node);
    deliver(done.result);
  }
  return ended;
}
