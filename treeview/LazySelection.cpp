#include "treeview/LazySelection.h"

#include "treeview/LazyNodeWalker.h"

#include <algorithm>

namespace {
constexpr quintptr kMarked = 1;
quintptr Address(PLazyNode node) { return reinterpret_cast<quintptr>(node); }
PLazyNode NodeOf(quintptr slot) { return reinterpret_cast<PLazyNode>(slot & ~kMarked); }
}  // namespace

int TLazySelection::Find(PLazyNode node) const {
  const quintptr key = Address(node);
  auto it = std::lower_bound(slots_.cbegin(), slots_.cend(), key,
                             [](quintptr slot, quintptr k) { return (slot & ~kMarked) < k; });
  if (it == slots_.cend() || (*it & ~kMarked) != key) return -1;
  return static_cast<int>(it - slots_.cbegin());
}

PLazyNode TLazySelection::First() const { return slots_.isEmpty() ? nullptr : NodeOf(slots_.first()); }

void TLazySelection::Insert(PLazyNode node) {
  Pack();
  const quintptr key = Address(node);
  slots_.insert(std::lower_bound(slots_.begin(), slots_.end(), key), key);
}

void TLazySelection::Remove(PLazyNode node) {
  const int index = Find(node);
  if (index >= 0) slots_.remove(index);
  ForgetAnchorWhenEmpty();
}

void TLazySelection::MarkDeleted(PLazyNode node) {
  const int index = Find(node);
  if (index >= 0) slots_[index] |= kMarked;
}

void TLazySelection::Pack() {
  slots_.erase(std::remove_if(slots_.begin(), slots_.end(), [](quintptr s) { return (s & kMarked) != 0; }),
               slots_.end());
}

void TLazySelection::Merge(QVector<PLazyNode> nodes) {
  if (nodes.isEmpty()) return;
  // Nodes come from blocks handed out in order, so a walk in tree order is often sorted
  // by address already.
  if (!std::is_sorted(nodes.cbegin(), nodes.cend(), std::less<PLazyNode>()))
    std::sort(nodes.begin(), nodes.end(), std::less<PLazyNode>());
  Pack();
  const qsizetype oldSize = slots_.size();
  slots_.resize(oldSize + nodes.size());
  // Merging from the back grows the array in place.
  quintptr* entries = slots_.data();
  qsizetype i = oldSize - 1, j = nodes.size() - 1, k = slots_.size() - 1;
  while (j >= 0) entries[k--] = i >= 0 && entries[i] > Address(nodes[j]) ? entries[i--] : Address(nodes[j--]);
}

void TLazySelection::Clear(bool packFirst) {
  if (packFirst) Pack();
  for (quintptr slot : slots_) NodeOf(slot)->Exclude(nsSelected);
  slots_.clear();
  anchor_ = nullptr;
  level_ = -1;
}

QVector<PLazyNode> TLazySelection::Nodes() const {
  QVector<PLazyNode> result;
  result.reserve(slots_.size());
  for (quintptr slot : slots_)
    if (!(slot & kMarked)) result.append(NodeOf(slot));
  return result;
}

QVector<PLazyNode> TLazySelection::InTreeOrder(bool resolve) const {
  struct Entry {
    QVector<std::uint32_t> path;
    PLazyNode node;
  };
  const PLazyNode root = store_.Root();
  QVector<Entry> entries;
  for (quintptr slot : slots_) {
    if (slot & kMarked) continue;
    PLazyNode node = NodeOf(slot);
    Entry e{{}, node};
    for (PLazyNode run = node; run != root; run = run->Parent) e.path.prepend(run->Index);
    entries.append(std::move(e));
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.path < b.path; });
  QVector<PLazyNode> result;
  for (const Entry& e : entries) {
    if (resolve) {
      bool coveredByAncestor = false;
      for (PLazyNode run = e.node->Parent; run != root && !coveredByAncestor; run = run->Parent)
        coveredByAncestor = run->Has(nsSelected);
      if (coveredByAncestor) continue;
    }
    result.append(e.node);
  }
  return result;
}

bool TLazySelection::Admits(PLazyNode node, bool levelConstraint, bool siblingConstraint) {
  if (levelConstraint) {
    const int level = static_cast<int>(store_.LevelOfNode(node));
    if (level_ < 0) level_ = level;
    if (level != level_) return false;
  }
  if (siblingConstraint) {
    if (!anchor_) anchor_ = node;
    if (node->Parent != anchor_->Parent) return false;
  }
  return true;
}

void TLazySelection::ForgetAnchorWhenEmpty() {
  if (!slots_.isEmpty()) return;
  anchor_ = nullptr;
  level_ = -1;
}

void TLazySelection::MarkCutCopy() const {
  for (quintptr slot : slots_) {
    PLazyNode node = NodeOf(slot);
    if (!(slot & kMarked) && !node->Has(nsDisabled)) node->Include(nsCutOrCopy);
  }
}

void TLazySelection::ClearCutCopyMarks() const {
  const TLazyNodeWalker walk(store_);
  for (PLazyNode run = store_.Root()->FirstChild; run; run = walk.Next(run)) run->Exclude(nsCutOrCopy);
}

QVector<PLazyNode> TLazySelection::CutCopySet(bool resolve) const {
  const TLazyNodeWalker walk(store_);
  const PLazyNode root = store_.Root();
  QVector<PLazyNode> result;
  PLazyNode run = root->FirstChild;
  while (run) {
    if (run->Has(nsCutOrCopy)) {
      result.append(run);
      if (resolve) {
        // The marked node stands for its whole subtree: go on after it.
        while (run && run != root && !run->NextSibling) run = run->Parent;
        run = run && run != root ? run->NextSibling : nullptr;
        continue;
      }
    }
    run = walk.Next(run);
  }
  return result;
}

PLazyNode TLazySelection::NextCutCopyNode(PLazyNode node) const {
  const TLazyNodeWalker walk(store_);
  for (PLazyNode run = node ? walk.Next(node) : store_.Root()->FirstChild; run; run = walk.Next(run))
    if (run->Has(nsCutOrCopy)) return run;
  return nullptr;
}
