#include "treeview/LazyTreeCacheControl.h"

#include <utility>

void TLazyTreeCacheControl::AttachLayouter(TLazyTreeLayouter& layouter) {
  cacheLayouter_ = &layouter;
  cache_ = &layouter.Cache();
}

void TLazyTreeCacheControl::SetCacheEntryObserver(std::function<void(unsigned Entry)> observer) {
  cacheLayouter_->SetCacheEntryObserver(std::move(observer));
}
