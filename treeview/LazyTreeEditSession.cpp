// Who is editing what.
#include "treeview/LazyTreeEditSession.h"

#include "treeview/LazyTreeEditLink.h"

void TLazyTreeEditSession::Open(std::shared_ptr<ILTEditLink> link, PLazyNode node) {
  link_ = std::move(link);
  node_ = node;
}

void TLazyTreeEditSession::CloseIfRunBy(const std::shared_ptr<ILTEditLink>& link) {
  if (link_ != link) return;
  link_.reset();
  node_ = nullptr;
}

void TLazyTreeEditSession::Drop() {
  if (link_) link_->ReleaseEditing();
  link_.reset();
  node_ = nullptr;
}
