#pragma once
// The lazy tree whose owner paints each node and its hint through events.
#include "treeview/LazyTrees.h"

#include <functional>

// A tree whose owner draws each node itself.
class TCustomLazyDrawTree : public TBaseLazyTree {
  Q_OBJECT
public:
  using TBaseLazyTree::TBaseLazyTree;
  std::function<void(TBaseLazyTree*, const TLTPaintInfo& PaintInfo)> OnDrawNode;
  std::function<void(TBaseLazyTree*, PLazyNode Node, int Column, int& NodeWidth)> OnGetNodeWidth;
  std::function<void(TBaseLazyTree*, QPainter& Canvas, PLazyNode Node, QRect R, int Column)> OnDrawHint;
  std::function<void(TBaseLazyTree*, PLazyNode Node, int Column, QRect& R)> OnGetHintSize;

  // The hint of a node, measured and drawn by the owner.
  virtual QRect DoGetHintSize(PLazyNode Node, int Column);
  virtual void DoDrawHint(QPainter& Canvas, PLazyNode Node, QRect R, int Column);

protected:
  void DoPaintNode(const TLTPaintInfo& PaintInfo) override;
  int DoGetNodeWidth(PLazyNode Node, int Column) override;
};
