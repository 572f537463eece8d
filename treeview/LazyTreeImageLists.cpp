// The image-list setters and the links from each list to the tree's repaint.
#include "treeview/LazyTreeImageLists.h"

#include <QList>

#include <utility>

void TLazyTreeImageLists::AttachImageLists(QObject* tree, TImageListHooks hooks) {
  imageListsReceiver_ = tree;
  imageListHooks_ = std::move(hooks);
}

void TLazyTreeImageLists::SetImages(TLTImageList* value) { SetImageList(images_, value); }
void TLazyTreeImageLists::SetStateImages(TLTImageList* value) { SetImageList(stateImages_, value); }
void TLazyTreeImageLists::SetCustomCheckImages(TLTImageList* value) { SetImageList(customCheckImages_, value); }

void TLazyTreeImageLists::SetImageList(QPointer<TLTImageList>& slot, TLTImageList* value) {
  if (value == slot) return;
  TLTImageList* previous = slot;
  slot = value;
  LinkImageLists(previous);
  if (!imageListHooks_.Loading()) imageListHooks_.Repaint();
}

// Each list is linked once, whatever roles it plays. The connections hold copies of the
// hooks, so they stay callable for as long as the receiver keeps them.
void TLazyTreeImageLists::LinkImageLists(TLTImageList* previous) {
  QObject* tree = imageListsReceiver_;
  const QList<TLTImageList*> lists = {images_, stateImages_, customCheckImages_};
  if (previous) QObject::disconnect(previous, nullptr, tree, nullptr);
  for (TLTImageList* list : lists)
    if (list) QObject::disconnect(list, nullptr, tree, nullptr);
  QList<TLTImageList*> linked;
  for (TLTImageList* list : lists) {
    if (!list || linked.contains(list)) continue;
    linked << list;
    QObject::connect(list, &TLTImageList::Changed, tree, imageListHooks_.Repaint);
    QObject::connect(list, &QObject::destroyed, tree,
                     [gone = imageListHooks_.ListGone, repaint = imageListHooks_.Repaint] {
                       gone();
                       repaint();
                     });
  }
}
