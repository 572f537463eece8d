// The node order and the packing of node arrays with marked entries.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTrees.h"

#include <algorithm>

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
