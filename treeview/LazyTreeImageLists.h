#pragma once
// The tree's three image-list slots, as a base of the control (the list class itself is
// LazyTreeImageList.h): node images, state images and custom check images, each a weak
// link that empties when its list goes. A change of a shown list, or its end, repaints the
// tree through what the tree attaches once; so does a setter, unless the tree is loading.
// TBaseLazyTree is the only class built on this one (LazyTreeImageLists.cpp).
#include "treeview/LazyTreeImageList.h"

#include <QPointer>

#include <functional>

class TLazyTreeImageLists {
public:
  TLTImageList* Images() const { return images_; }
  void SetImages(TLTImageList* Value);
  TLTImageList* StateImages() const { return stateImages_; }
  void SetStateImages(TLTImageList* Value);
  TLTImageList* CustomCheckImages() const { return customCheckImages_; }
  void SetCustomCheckImages(TLTImageList* Value);

protected:
  TLazyTreeImageLists() = default;
  ~TLazyTreeImageLists() = default;

  // What the tree does for its lists: repaint, react to a list that went away (its slots
  // are empty by then), and tell whether it is loading (a setter then only stores).
  struct TImageListHooks {
    std::function<void()> Repaint;
    std::function<void()> ListGone;
    std::function<bool()> Loading;
  };
  // The lists' signals are connected with Tree as the receiver, so they end with it.
  void AttachImageLists(QObject* Tree, TImageListHooks Hooks);

  QPointer<TLTImageList> images_;
  QPointer<TLTImageList> stateImages_;
  QPointer<TLTImageList> customCheckImages_;

private:
  void SetImageList(QPointer<TLTImageList>& Slot, TLTImageList* Value);
  void LinkImageLists(TLTImageList* Previous);

  QObject* imageListsReceiver_ = nullptr;
  TImageListHooks imageListHooks_;
};
