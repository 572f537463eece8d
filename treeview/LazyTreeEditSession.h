#pragma once
// The tree's side of an in-place edit: the edit link that runs it, the cell it edits and
// the delay before a click on the focused cell starts one. The tree drives the life
// cycle (LazyTreesEdit.cpp); this object holds who is editing what, so an ending edit
// releases only its own link and a node that goes away takes no editor with it.
#include "treeview/LazyTreeTypes.h"

#include <memory>

class ILTEditLink;

class TLazyTreeEditSession {
public:
  ILTEditLink* Link() const { return link_.get(); }
  std::shared_ptr<ILTEditLink> SharedLink() const { return link_; }
  bool IsOpen() const { return link_ != nullptr; }
  PLazyNode Node() const { return node_; }
  // The column of the edit being started or running (-1: no columns).
  int Column() const { return column_; }
  void SetColumn(int Column) { column_ = Column; }
  int Delay() const { return delay_; }
  void SetDelay(int Value) { delay_ = Value; }

  // Link edits Node from now on.
  void Open(std::shared_ptr<ILTEditLink> Link, PLazyNode Node);
  // Forgets the edit when Link still runs it; an edit opened since stays.
  void CloseIfRunBy(const std::shared_ptr<ILTEditLink>& Link);
  // Closes the editor without writing back or asking anybody, and forgets the edit.
  void Drop();

private:
  std::shared_ptr<ILTEditLink> link_;
  PLazyNode node_ = nullptr;
  int column_ = -1;
  int delay_ = 1000;
};
