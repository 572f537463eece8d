#pragma once
// The selection of a lazy tree, without a widget: the selected nodes sorted by address
// (so finding one is a binary search and adding many is one merge), the range anchor and
// level a constrained selection keeps to, and the cut and copy marks a clipboard
// operation puts on nodes. The nodes' nsSelected flags stay with the caller; the set
// only keeps what the flags say in an order it can search.
#include "treeview/LazyNodeStore.h"

#include <QVector>

class TLazySelection {
public:
  explicit TLazySelection(const TLazyNodeStore& Store) : store_(Store) {}
  TLazySelection(const TLazySelection&) = delete;
  TLazySelection& operator=(const TLazySelection&) = delete;

  // ---- The sorted set ---------------------------------------------------------------
  bool IsEmpty() const { return slots_.isEmpty(); }
  // Counts slots marked by deletions until Pack removes them.
  unsigned Count() const { return static_cast<unsigned>(slots_.size()); }
  // The index of Node's slot (marked or not), -1 when it has none. O(log n).
  int Find(PLazyNode Node) const;
  bool Contains(PLazyNode Node) const { return Find(Node) >= 0; }
  // The node of the lowest address; nil when empty.
  PLazyNode First() const;
  // Packs, then gives Node its slot in order. O(n) for the move.
  void Insert(PLazyNode Node);
  // Drops Node's slot; an emptied set forgets its anchor and level.
  void Remove(PLazyNode Node);
  // A node deleted during an update keeps its slot, marked, until Pack: removing slots
  // one at a time from a large selection would be quadratic.
  void MarkDeleted(PLazyNode Node);
  void Pack();
  // Adds Nodes (none of them in the set) in one merge from the back. O(k log k + n).
  void Merge(QVector<PLazyNode> Nodes);
  // Clears every node's nsSelected flag, the set, the anchor and the level. Pack first
  // drops the slots of nodes deleted since the last pack, whose blocks may be gone.
  void Clear(bool PackFirst);
  // The nodes of unmarked slots, in address order.
  QVector<PLazyNode> Nodes() const;
  // The nodes in tree order; Resolve drops those with a selected ancestor. Sorts by the
  // path of sibling indexes, so unselected nodes are never walked.
  QVector<PLazyNode> InTreeOrder(bool Resolve) const;

  // ---- Anchor and level -------------------------------------------------------------
  // The end a range selection starts from, and the level a level-constrained selection
  // keeps to (-1 none yet).
  PLazyNode Anchor() const { return anchor_; }
  void SetAnchor(PLazyNode Node) { anchor_ = Node; }
  int Level() const { return level_; }
  void SetLevel(int Level) { level_ = Level; }
  // Whether Node may join under the constraints; the first node to join fixes the level
  // (and the anchor, for the sibling constraint).
  bool Admits(PLazyNode Node, bool LevelConstraint, bool SiblingConstraint);
  // Forgets the anchor and level once the set is empty.
  void ForgetAnchorWhenEmpty();

  // ---- Cut and copy marks (node flags in tree order) --------------------------------
  // Marks every live, enabled selected node.
  void MarkCutCopy() const;
  void ClearCutCopyMarks() const;
  // The marked nodes in tree order; Resolve skips the subtree of a marked node.
  QVector<PLazyNode> CutCopySet(bool Resolve) const;
  // The marked node after Node in tree order (nil: the first), nil at the end.
  PLazyNode NextCutCopyNode(PLazyNode Node) const;

private:
  const TLazyNodeStore& store_;
  // Sorted by address; the low bit marks a node deleted during an update.
  QVector<quintptr> slots_;
  PLazyNode anchor_ = nullptr;
  int level_ = -1;
};
