#pragma once
// Helpers for any tree of the program: focusing a node the way the main window and the
// print wizard do.
#include "treeview/LazyTreeTypes.h"

class TBaseLazyTree;

// Nothing for no node or a hidden one; otherwise the focused node is unselected, the node
// focused, selected, made fully visible and scrolled into view, centred vertically.
void FocusNode(TBaseLazyTree* tree, PLazyNode node);
