// The face's side of the layout: the control as its layouter sees it, and the heights and
// positions of the public face, forwarded to the layouter (LazyTreeLayouter.h).
#include "treeview/LazyTrees.h"

// ---- The control as its layouter sees it ----------------------------------------------

void TBaseLazyTree::TLayoutHost::InitializeNode(PLazyNode node) { tree_.InitializeNode(node); }
void TBaseLazyTree::TLayoutHost::InitializeChildren(PLazyNode node) { tree_.InitializeChildren(node); }
void TBaseLazyTree::TLayoutHost::MeasureItem(PLazyNode node, int& height) { tree_.DoMeasureItem(node, height); }
void TBaseLazyTree::TLayoutHost::ApplyMeasuredHeight(PLazyNode node, int height) { tree_.SetNodeHeight(node, height); }
TLazyTreeStates TBaseLazyTree::TLayoutHost::LayoutStates() const { return tree_.states_; }
void TBaseLazyTree::TLayoutHost::ChangeLayoutStates(TLazyTreeStates enter, TLazyTreeStates leave) {
  tree_.DoStateChange(enter, leave);
}

// ---- Heights and positions --------------------------------------------------------------

int TBaseLazyTree::NodeHeight(PLazyNode node) {
  if (!IsRealNode(node)) return 0;
  if (options_->MiscOptions().Contains(toVariableNodeHeight)) layouter_.Measure(node);
  return node->NodeHeight;
}

PLazyNode TBaseLazyTree::NodeAtPosition(int y, bool relative, int* nodeTop) {
  return layouter_.NodeAtPosition(relative ? y - offsetY_ : y, nodeTop);
}

int TBaseLazyTree::NodeTop(PLazyNode node) const { return layouter_.NodeTop(node); }
