#pragma once
// The position cache as the tree's face offers it: the layouter that owns the cache, the
// halting and restarting of its validation by the worker, and the cache's entries. A
// base of the control that holds no state of its own; the control attaches its layouter
// once, as it is built, and every call goes straight to it.
#include "treeview/LazyTreeLayouter.h"

#include <functional>

class TLazyTreeCacheControl {
public:
  // The layouter: heights, row positions and the position cache.
  TLazyTreeLayouter& Layouter() { return *cacheLayouter_; }
  const TLazyTreeLayouter& Layouter() const { return *cacheLayouter_; }
  // Stops a validation: enters tsStopValidation, leaves tsUseCache, and waits until the
  // worker has left the tree (it stops at its next node); tsValidationNeeded follows
  // when a validation was queued or running. Dispatches no events while it waits.
  void HaltCacheValidation() { cacheLayouter_->HaltCacheValidation(); }
  // Halts, then queues the tree when tsValidationNeeded is set and it has more rows in
  // view than one cache entry covers.
  void RestartCacheValidation() { cacheLayouter_->RestartCacheValidation(); }
  // The worker's build step over the rows in view, without initialising nodes; true
  // when it completed.
  bool BuildPositionCache() { return cacheLayouter_->BuildPositionCache(); }
  // While tsUseCache: the last entry whose node is not after Node in display order, and
  // the last entry whose top is not below Y. An empty entry otherwise.
  TCacheEntry CacheEntryBeforeNode(PLazyNode Node) const { return cacheLayouter_->CacheEntryBeforeNode(Node); }
  TCacheEntry CacheEntryAtOrAbove(std::uint32_t Y) const { return cacheLayouter_->CacheEntryAtOrAbove(Y); }
  // The entries of the last build (meaningful while tsUseCache).
  const TCache& PositionCache() const { return cacheLayouter_->Entries(); }
  // Called on the worker thread as each entry is written; tests hold the worker with it.
  void SetCacheEntryObserver(std::function<void(unsigned Entry)> Observer);

protected:
  TLazyTreeCacheControl() = default;
  ~TLazyTreeCacheControl() = default;
  void AttachLayouter(TLazyTreeLayouter& Layouter);

  // Every structural change stops a running validation before it touches a node,
  // invalidates the cache after, and restarts the validation outside updates.
  virtual void InvalidateCache() { cacheLayouter_->InvalidateCache(); }
  virtual void StopValidation() { cacheLayouter_->HaltCacheValidation(); }
  virtual void RestartValidation() { cacheLayouter_->RestartCacheValidation(); }

  // The layouter's cache, for descendants that drive a build themselves.
  TPositionCache* cache_ = nullptr;

private:
  TLazyTreeLayouter* cacheLayouter_ = nullptr;
};
