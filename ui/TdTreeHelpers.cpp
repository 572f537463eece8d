#include "ui/TdTreeHelpers.h"

#include "treeview/LazyTrees.h"

void FocusNode(TBaseLazyTree* tree, PLazyNode node) {
  if (!tree || !node || !tree->GetNodeVisible(node)) return;
  if (PLazyNode focused = tree->FocusedNode()) tree->SetNodeSelected(focused, false);
  tree->SetFocusedNode(node);
  tree->SetNodeSelected(node, true);
  tree->SetNodeFullyVisible(node, true);
  tree->ScrollIntoView(node, true);
}
