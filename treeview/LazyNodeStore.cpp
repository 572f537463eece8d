// Blocks, links and running totals of the nodes of one tree.
#include "treeview/LazyNodeStore.h"

#include "treeview/LazyTreeAssert.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kInternalDataAlignment = alignof(void*);  // keeps the owner's data pointer-aligned
}  // namespace

TLazyNodeStore::TLazyNodeStore(const void* owner) : owner_(owner) { InitRoot(0); }

// ---- Blocks ---------------------------------------------------------------------------

void TLazyNodeStore::InitRoot(int oldSize) {
  const int size = static_cast<int>(sizeof(TLazyNode)) + internalDataSize_;
  auto block = std::make_unique<std::byte[]>(size);  // zero-filled
  if (rootBlock_ && oldSize > 0) std::memcpy(block.get(), rootBlock_.get(), std::min(oldSize, size));
  rootBlock_ = std::move(block);
  root_ = reinterpret_cast<PLazyNode>(rootBlock_.get());
  root_->Index = 0;
  root_->ChildCount = 0;
  root_->NodeHeight = static_cast<std::uint16_t>(defaultNodeHeight_);
  root_->TotalHeight = static_cast<std::uint32_t>(defaultNodeHeight_);
  root_->TotalCount = 1;
  root_->States = 0;
  root_->Include(nsInitialized);
  root_->Include(nsExpanded);
  root_->Include(nsHasChildren);
  root_->Include(nsVisible);
  root_->Align = 50;
  // The root's parent link holds the owner: no node equals it, so upward walks stop at the root.
  root_->Parent = static_cast<PLazyNode>(const_cast<void*>(owner_));
  root_->PrevSibling = root_;
  root_->NextSibling = root_;
  root_->FirstChild = nullptr;
  root_->LastChild = nullptr;
}

const void* TLazyNodeStore::OwnerOf(PLazyNode node) {
  while (node->NextSibling != node) node = node->Parent;
  return node->Parent;
}

int TLazyNodeStore::ReserveInternalData(int size) {
  if (!LazyTreeCheck(pool_.LiveBlocks() == 0, "Internal data allocation must be done before any node is created."))
    return -1;
  size = (std::max(size, 0) + kInternalDataAlignment - 1) / kInternalDataAlignment * kInternalDataAlignment;
  const int offset = static_cast<int>(sizeof(TLazyNode)) + internalDataSize_;
  internalDataSize_ += size;
  InitRoot(offset);
  return offset;
}

void TLazyNodeStore::SetDefaultNodeHeight(int value) {
  const int diff = value - defaultNodeHeight_;
  defaultNodeHeight_ = value;
  root_->NodeHeight = static_cast<std::uint16_t>(value);
  root_->TotalHeight = static_cast<std::uint32_t>(std::int64_t(root_->TotalHeight) + diff);
}

void TLazyNodeStore::SizeBlocks() {
  pool_.SetBlockSize(sizeof(TLazyNode) + static_cast<std::size_t>(internalDataSize_) +
                     static_cast<std::size_t>(std::max(nodeDataSize_, 0)));
}

// ---- Links ----------------------------------------------------------------------------

void TLazyNodeStore::Link(PLazyNode node, PLazyNode destination, TLTNodeAttachMode mode) {
  PLazyNode parent = nullptr;
  auto renumberFrom = [](PLazyNode run, std::uint32_t index) {
    for (; run; run = run->NextSibling) run->Index = index++;
  };
  switch (mode) {
    case amNoWhere:
      break;
    case amInsertBefore:
      parent = destination->Parent;
      node->PrevSibling = destination->PrevSibling;
      node->NextSibling = destination;
      destination->PrevSibling = node;
      if (node->PrevSibling)
        node->PrevSibling->NextSibling = node;
      else
        parent->FirstChild = node;
      renumberFrom(node, destination->Index);
      break;
    case amInsertAfter:
      parent = destination->Parent;
      node->PrevSibling = destination;
      node->NextSibling = destination->NextSibling;
      destination->NextSibling = node;
      if (node->NextSibling)
        node->NextSibling->PrevSibling = node;
      else
        parent->LastChild = node;
      renumberFrom(node, destination->Index + 1);
      break;
    case amAddChildFirst:
      parent = destination;
      node->PrevSibling = nullptr;
      node->NextSibling = parent->FirstChild;
      if (parent->FirstChild)
        parent->FirstChild->PrevSibling = node;
      else
        parent->LastChild = node;
      parent->FirstChild = node;
      renumberFrom(node, 0);
      break;
    case amAddChildLast:
      parent = destination;
      node->NextSibling = nullptr;
      node->PrevSibling = parent->LastChild;
      if (parent->LastChild)
        parent->LastChild->NextSibling = node;
      else
        parent->FirstChild = node;
      parent->LastChild = node;
      node->Index = node->PrevSibling ? node->PrevSibling->Index + 1 : 0;
      break;
  }
  for (TLazyNodeState s : {nsChecking, nsCutOrCopy, nsDeleting, nsClearing}) node->Exclude(s);
  if (!parent) return;
  node->Parent = parent;
  ++parent->ChildCount;
  parent->Include(nsHasChildren);
  UpdateTotalCount(parent, static_cast<int>(node->TotalCount), true);
  // A hidden node adds no height: only visible children count in a parent's total height.
  if (parent->Has(nsExpanded) && node->Has(nsVisible)) UpdateTotalHeight(parent, static_cast<int>(node->TotalHeight), true);
  if (IsNodeInView(node)) visibleCount_ += 1 + CountVisibleChildren(node);
  if (parent != root_) {
    if (node->Has(nsVisible))
      parent->Exclude(nsAllChildrenHidden);
    else if (parent->ChildCount == 1)
      parent->Include(nsAllChildrenHidden);
  }
}

void TLazyNodeStore::Unlink(PLazyNode node, bool reindex) {
  node->Exclude(nsChecking);
  PLazyNode parent = node->Parent;
  const unsigned shown = IsNodeInView(node) ? 1 + CountVisibleChildren(node) : 0;
  --parent->ChildCount;
  UpdateTotalCount(parent, -static_cast<int>(node->TotalCount), true);
  if (parent->Has(nsExpanded) && node->Has(nsVisible))
    UpdateTotalHeight(parent, -static_cast<int>(node->TotalHeight), true);
  visibleCount_ -= shown;
  if (parent->ChildCount == 0) {
    parent->Exclude(nsHasChildren);
    parent->Exclude(nsAllChildrenHidden);
    if (parent != root_) parent->Exclude(nsExpanded);
  }
  if (node->PrevSibling)
    node->PrevSibling->NextSibling = node->NextSibling;
  else
    parent->FirstChild = node->NextSibling;
  if (node->NextSibling)
    node->NextSibling->PrevSibling = node->PrevSibling;
  else
    parent->LastChild = node->PrevSibling;
  if (reindex) {
    std::uint32_t index = node->Index;
    for (PLazyNode run = node->NextSibling; run; run = run->NextSibling) run->Index = index++;
  }
  node->PrevSibling = nullptr;
  node->NextSibling = nullptr;
}

// ---- Running totals -------------------------------------------------------------------

bool TLazyNodeStore::ChildrenShown(PLazyNode node) const {
  if (node == root_) return true;
  return node->Has(nsExpanded) && IsNodeInView(node);
}

unsigned TLazyNodeStore::CountVisibleChildren(PLazyNode node) const {
  if (node != root_ && !node->Has(nsExpanded)) return 0;
  unsigned count = 0;
  PLazyNode run = node->FirstChild;
  while (run) {
    if (run->Has(nsVisible)) {
      ++count;
      if (run->Has(nsExpanded) && run->FirstChild) {
        run = run->FirstChild;
        continue;
      }
    }
    while (!run->NextSibling) {
      run = run->Parent;
      if (run == node) return count;
    }
    run = run->NextSibling;
  }
  return count;
}

void TLazyNodeStore::UpdateTotalCount(PLazyNode node, int value, bool relative) {
  const std::int64_t diff = relative ? value : std::int64_t(value) - node->TotalCount;
  for (;;) {
    node->TotalCount = static_cast<std::uint32_t>(node->TotalCount + diff);
    if (node == root_) break;
    node = node->Parent;
  }
}

void TLazyNodeStore::UpdateTotalHeight(PLazyNode node, int value, bool relative) {
  const std::int64_t diff = relative ? value : std::int64_t(value) - node->TotalHeight;
  for (;;) {
    node->TotalHeight = static_cast<std::uint32_t>(node->TotalHeight + diff);
    if (node == root_ || !node->Has(nsVisible) || !node->Parent->Has(nsExpanded)) break;
    node = node->Parent;
  }
}

void TLazyNodeStore::UpdateHiddenChildren(PLazyNode node) {
  if (!IsRealNode(node)) return;
  bool allHidden = node->ChildCount > 0;
  for (PLazyNode run = node->FirstChild; run && allHidden; run = run->NextSibling)
    if (run->Has(nsVisible)) allHidden = false;
  node->Set(nsAllChildrenHidden, allHidden);
}

void TLazyNodeStore::RecomputeAllHiddenChildren(PLazyNode node) {
  for (PLazyNode run = node->FirstChild; run; run = run->NextSibling) {
    UpdateHiddenChildren(run);
    if (run->FirstChild) RecomputeAllHiddenChildren(run);
  }
}

// ---- Where a node stands --------------------------------------------------------------

bool TLazyNodeStore::IsNodeInView(PLazyNode node) const {
  if (!LazyTreeCheck(node != nullptr, "Invalid parameter.")) return false;
  if (!node->Has(nsVisible)) return false;
  if (node == root_) return true;
  for (PLazyNode run = node->Parent; run != root_; run = run->Parent)
    if (!run->Has(nsExpanded) || !run->Has(nsVisible)) return false;
  return true;
}

unsigned TLazyNodeStore::LevelOfNode(PLazyNode node) const {
  if (!IsRealNode(node)) return 0;
  unsigned level = 0;
  for (PLazyNode run = node->Parent; run != root_; run = run->Parent) ++level;
  return level;
}

bool TLazyNodeStore::NodeHasAncestor(PLazyNode node, PLazyNode potentialParent) {
  if (!node || !potentialParent || node == potentialParent || node->NextSibling == node) return false;
  for (PLazyNode run = node->Parent;; run = run->Parent) {
    if (run == potentialParent) return true;
    if (run->NextSibling == run) return false;  // a hidden root: its parent link is no node
  }
}
