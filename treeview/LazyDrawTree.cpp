#include "treeview/LazyDrawTree.h"

void TCustomLazyDrawTree::DoPaintNode(const TLTPaintInfo& paintInfo) {
  if (OnDrawNode) OnDrawNode(this, paintInfo);
}

int TCustomLazyDrawTree::DoGetNodeWidth(PLazyNode node, int column) {
  int width = 2 * TextMargin();
  if (OnGetNodeWidth) OnGetNodeWidth(this, node, column, width);
  return width;
}

QRect TCustomLazyDrawTree::DoGetHintSize(PLazyNode node, int column) {
  QRect r;
  if (OnGetHintSize) OnGetHintSize(this, node, column, r);
  return r;
}

void TCustomLazyDrawTree::DoDrawHint(QPainter& canvas, PLazyNode node, QRect r, int column) {
  if (OnDrawHint) OnDrawHint(this, canvas, node, r, column);
}
