#pragma once
// The position cache of one tree: the node and top of every 2000th row, so that finding
// the row at a height, or the height of a row, starts at most 2000 rows away instead of
// at the first row. The shared worker thread (LazyTreeWorker.h) builds it; the tree
// uses it only while it is in tsUseCache.
#include "treeview/LazyTreeTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

// One row of the cache: a visible node and the top of its row, from the top of the first
// row, counting only rows in view.
struct TCacheEntry {
  PLazyNode Node = nullptr;
  std::uint32_t AbsoluteTop = 0;
};
using TCache = std::vector<TCacheEntry>;

// Rows between two entries; a tree of no more rows than this has no cache.
inline constexpr unsigned kCacheThreshold = 2000;

// Entries needed for a number of rows in view (0 where no cache is built).
constexpr std::size_t CacheEntryCount(unsigned visibleCount) {
  return visibleCount <= kCacheThreshold ? 0 : (visibleCount + kCacheThreshold - 1) / kCacheThreshold;
}

// The per-tree part of the cache that both threads touch. The worker writes `entries`
// only while it validates the tree; the tree reads them only after the worker's report
// that they are complete, which reaches it through the worker's lock.
struct TPositionCache {
  TCache entries;
  // Polled by the worker at every node: a structural change is coming.
  std::atomic<bool> stop{false};
  // Queued or being validated; written under the worker's lock, read without it by the
  // tree's halt to skip the lock when the worker has nothing of this tree.
  std::atomic<bool> involved{false};
  // The tree's thread only: every halt moves it on, and a report of an older generation
  // is dropped, so nothing the worker says about a walk that was stopped takes effect.
  std::uint64_t generation = 0;
  // The tree's thread only: the entries describe the rows as they are. A halt that no
  // change follows may then use them again.
  bool complete = false;
  // The rows in view when the tree was queued; sizes the array. Set by the worker as it
  // takes the tree.
  unsigned visibleCount = 0;
  // Tests hold the worker at an entry with it; set only while the tree is not queued.
  std::function<void(unsigned Entry)> entryObserver;
};
