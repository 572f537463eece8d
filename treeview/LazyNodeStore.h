#pragma once
// The nodes of one tree without the widget: the pool their blocks come from, the hidden
// root, the sizes of the areas in each block, the links between nodes and the running
// totals that keep counts and heights O(1) (subtree node count, subtree height, rows in
// view, "all children hidden"). It never calls the owner; the control decides when nodes
// are made, initialised or announced and asks this store to do the bookkeeping.
#include "treeview/LazyNodePool.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeTypes.h"

#include <cstddef>
#include <memory>

class TLazyNodeStore {
public:
  // Owner is what the hidden root's parent link holds, so a walk up from any node finds
  // the tree it belongs to.
  explicit TLazyNodeStore(const void* Owner);
  TLazyNodeStore(const TLazyNodeStore&) = delete;
  TLazyNodeStore& operator=(const TLazyNodeStore&) = delete;

  PLazyNode Root() const { return root_; }
  bool IsRealNode(PLazyNode Node) const { return Node && Node != root_; }
  // The owner recorded above the hidden root of Node's tree.
  static const void* OwnerOf(PLazyNode Node);

  // ---- Blocks ----------------------------------------------------------------------
  // -1 until the owner's size is known.
  int NodeDataSize() const { return nodeDataSize_; }
  void SetNodeDataSize(int Value) { nodeDataSize_ = Value; }
  int InternalDataSize() const { return internalDataSize_; }
  // Reserves Size bytes (rounded up to pointer alignment) in every block for a descendant
  // of the control and answers their offset; -1 once a node exists.
  int ReserveInternalData(int Size);
  // The height new nodes and the hidden root get; changing it moves the root's totals.
  int DefaultNodeHeight() const { return defaultNodeHeight_; }
  void SetDefaultNodeHeight(int Value);
  // A zero-filled, unlinked, visible node of the default height. The data size must be
  // known (not -1) by now.
  PLazyNode NewNode() {
    if (pool_.LiveBlocks() == 0) SizeBlocks();
    auto* node = static_cast<PLazyNode>(pool_.Allocate());
    node->TotalCount = 1;
    node->NodeHeight = static_cast<std::uint16_t>(defaultNodeHeight_);
    node->TotalHeight = node->NodeHeight;
    node->States = 1u << nsVisible;
    node->Align = 50;
    return node;
  }
  void FreeNode(PLazyNode Node) { pool_.Free(Node); }
  // Forgets every block at once (the nodes are gone already).
  void ReleaseBlocks() { pool_.Reset(); }
  std::size_t LiveNodes() const { return pool_.LiveBlocks(); }
  // The owner's bytes of a real node, nil for the root and without owner data.
  void* NodeData(PLazyNode Node) const {
    if (!IsRealNode(Node)) return nullptr;
    if (!LazyTreeCheck(nodeDataSize_ > 0, "NodeDataSize not initialized.")) return nullptr;
    return reinterpret_cast<std::byte*>(Node) + sizeof(TLazyNode) + internalDataSize_;
  }
  // Where the owner's bytes start in every real node's block, for an owner that reads
  // them in a hot loop; 0 while nodes carry no owner data.
  std::ptrdiff_t NodeDataOffset() const {
    return nodeDataSize_ > 0 ? static_cast<std::ptrdiff_t>(sizeof(TLazyNode)) + internalDataSize_ : 0;
  }
  // Bytes held for nodes (blocks live or free, and the hidden root).
  std::size_t MemoryBytes() const {
    return pool_.ReservedBytes() + sizeof(TLazyNode) + static_cast<std::size_t>(internalDataSize_);
  }

  // ---- Links -----------------------------------------------------------------------
  // Links an unlinked node (with its subtree) next to or into Destination and adds it to
  // every running total. O(renumbered siblings + depth + rows it brings into view).
  void Link(PLazyNode Node, PLazyNode Destination, TLTNodeAttachMode Mode);
  // Takes a linked real node (with its subtree) out of the structure and the totals;
  // Reindex renumbers the siblings after it.
  void Unlink(PLazyNode Node, bool Reindex);

  // ---- Running totals --------------------------------------------------------------
  // Rows in view: visible nodes whose ancestors are all visible and expanded.
  unsigned VisibleCount() const { return visibleCount_; }
  void SetVisibleCount(unsigned Value) { visibleCount_ = Value; }
  void AddVisibleRows(std::int64_t Delta) { visibleCount_ = static_cast<unsigned>(visibleCount_ + Delta); }
  // Node's subtree count (Relative: by Value) and every ancestor's with it.
  void UpdateTotalCount(PLazyNode Node, int Value, bool Relative);
  // Node's subtree height and its ancestors' as far as the change shows in them.
  void UpdateTotalHeight(PLazyNode Node, int Value, bool Relative);
  void UpdateHiddenChildren(PLazyNode Node);
  void RecomputeAllHiddenChildren(PLazyNode Node);
  // The children of Node show when it is the root or is expanded and in view.
  bool ChildrenShown(PLazyNode Node) const;
  // Nodes in view below Node (not counting Node) when its children show.
  unsigned CountVisibleChildren(PLazyNode Node) const;

  // ---- Where a node stands ---------------------------------------------------------
  // In view: it and every ancestor below the root visible, every ancestor expanded.
  bool IsNodeInView(PLazyNode Node) const;
  unsigned LevelOfNode(PLazyNode Node) const;
  static bool NodeHasAncestor(PLazyNode Node, PLazyNode PotentialParent);

private:
  void InitRoot(int OldSize);
  // Blocks hold the fields, the internal areas and the owner's data.
  void SizeBlocks();

  const void* owner_;
  TLazyNodePool pool_;
  std::unique_ptr<std::byte[]> rootBlock_;
  PLazyNode root_ = nullptr;
  int nodeDataSize_ = -1;
  int internalDataSize_ = 0;
  int defaultNodeHeight_ = 18;
  unsigned visibleCount_ = 0;
};
