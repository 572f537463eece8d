#pragma once
// Where the rows of a tree stand, without the widget: node heights are measured here and
// only here (as nodes are made, when the height accessor asks, and in the layout pass
// that comes before painting a window), the top of a node's row, the row at a height,
// and the position cache with its part of the worker's protocol.
//
// The layouter never touches a widget: what it needs of the control (the owner's
// initialisation and measuring, the reaction to a changed height, the control's state
// set that holds the cache's four states) it asks through TLazyTreeLayoutHost.
//
// Costs: NodeTop is O(rows above, stepped over by subtree) without the cache and at most
// 2000 steps after a binary search with it; NodeAtPosition is the same; LayOutRows is
// O(rows in the window).
//
// The cache's states: a structural change halts first (tsStopValidation in, tsUseCache
// out, and a running walk waited for), then invalidates (tsValidationNeeded in) and,
// outside an update, restarts: the tree is queued and the worker reports tsValidating,
// then either tsUseCache (complete) or nothing new (stopped), leaving tsValidating and
// tsStopValidation.
#include "treeview/LazyNodeStore.h"
#include "treeview/LazyNodeWalker.h"
#include "treeview/LazyTreeCache.h"
#include "treeview/LazyTreeTypes.h"

#include <cstdint>
#include <functional>

// What the layouter asks of the control it lays out. Initialising (TNodeReadiness) and
// measuring run the owner's code; the states are the control's own set, changed through
// its one way in and out of states.
class TLazyTreeLayoutHost : public TNodeReadiness {
public:
  // The owner's height for a node; Height holds the current one on entry.
  virtual void MeasureItem(PLazyNode Node, int& Height) = 0;
  // A measured height for a node in the tree: the control applies it with everything a
  // height change brings (totals, the cache, scroll bars, repainting).
  virtual void ApplyMeasuredHeight(PLazyNode Node, int Height) = 0;
  virtual TLazyTreeStates LayoutStates() const = 0;
  virtual void ChangeLayoutStates(TLazyTreeStates Enter, TLazyTreeStates Leave) = 0;

protected:
  ~TLazyTreeLayoutHost() = default;
};

class TLazyTreeLayouter {
public:
  // Acquires the shared cache worker for the layouter's life.
  TLazyTreeLayouter(TLazyNodeStore& Store, TLazyTreeLayoutHost& Host);
  // Halts a running validation and releases the worker (the last layouter ends it).
  ~TLazyTreeLayouter();
  TLazyTreeLayouter(const TLazyTreeLayouter&) = delete;
  TLazyTreeLayouter& operator=(const TLazyTreeLayouter&) = delete;

  // ---- Heights ---------------------------------------------------------------------
  // Measures a node the owner has not measured yet; a different height goes to the host.
  void Measure(PLazyNode Node);
  // Measures a node that is not linked yet, so no total holds it.
  void MeasureDetached(PLazyNode Node);
  // The layout pass before a window of rows (content coordinates) is painted: every row
  // that reaches into [Top, Bottom] is initialised and measured, the rows below moving
  // as heights change. O(rows in the window).
  void LayOutRows(int Top, int Bottom);

  // ---- Positions -------------------------------------------------------------------
  // The visible node whose row holds Y (content coordinates, negative counts as 0), nil
  // below the last row; NodeTop gets the row's top (0 for nil).
  PLazyNode NodeAtPosition(int Y, int* NodeTop = nullptr) const;
  // The top of Node's row, -1 when it is not in view.
  int NodeTop(PLazyNode Node) const;

  // ---- The position cache ----------------------------------------------------------
  // Stops a validation: enters tsStopValidation, leaves tsUseCache, and waits until the
  // worker has left the tree; tsValidationNeeded follows when a validation was queued or
  // running. Dispatches no events while it waits.
  void HaltCacheValidation();
  // Halts, then queues the tree when tsValidationNeeded is set and it has more rows in
  // view than one cache entry covers.
  void RestartCacheValidation();
  // The rows moved: halts and enters tsValidationNeeded.
  void InvalidateCache();
  // The control is going away: nothing is queued or reported from here on.
  void Close() { closing_ = true; }
  // The worker's build step over the rows in view, without initialising nodes; true
  // when it completed.
  bool BuildPositionCache();
  // A worker's report, on the tree's thread; dropped when another halt came since.
  void ApplyCacheReport(std::uint64_t Generation, TLazyTreeStates Enter, TLazyTreeStates Leave);
  // While tsUseCache: the last entry whose node is not after Node in display order, and
  // the last entry whose top is not below Y. An empty entry otherwise.
  TCacheEntry CacheEntryBeforeNode(PLazyNode Node) const;
  TCacheEntry CacheEntryAtOrAbove(std::uint32_t Y) const;
  const TCache& Entries() const { return cache_.entries; }
  // Called on the worker thread as each entry is written; tests hold the worker with it.
  void SetCacheEntryObserver(std::function<void(unsigned Entry)> Observer);
  // The part of the cache both threads touch (the worker's side of the protocol).
  TPositionCache& Cache() { return cache_; }
  unsigned VisibleCount() const { return store_.VisibleCount(); }
  // The control's state change, as the worker's queue leaves tsStopValidation.
  void ChangeStates(TLazyTreeStates Enter, TLazyTreeStates Leave) { host_.ChangeLayoutStates(Enter, Leave); }

private:
  bool UsesCache() const { return host_.LayoutStates().Contains(tsUseCache); }
  // A node's top found forward from its cache entry; -1 when the cache does not hold it.
  int NodeTopFromCache(PLazyNode Node) const;

  TLazyNodeStore& store_;
  TLazyTreeLayoutHost& host_;
  TPositionCache cache_;
  bool closing_ = false;
};
