// The audit of the running totals: every total recomputed from the links alone and
// compared with what the nodes hold (tests and fuzz targets call it after each change).
#include "treeview/LazyTrees.h"

#include <vector>

namespace {
struct Recount {
  std::int64_t count = 0;
  std::int64_t height = 0;
};
}  // namespace

QStringList TBaseLazyTree::CheckTotals() {
  QStringList problems;
  auto describe = [this](PLazyNode node) {
    if (node == RootNode()) return QStringLiteral("root");
    QStringList path;
    for (PLazyNode run = node; run != RootNode(); run = run->Parent) path.prepend(QString::number(run->Index));
    return QStringLiteral("node ") + path.join(QLatin1Char('/'));
  };
  // Post-order over the whole tree, with a stack of the nodes whose children are being
  // recounted (the depth is the user's, so no recursion).
  struct Open {
    PLazyNode node;
    PLazyNode child;  // the child recounted last, nil before the first
    Recount own;
    std::uint32_t children = 0;
    bool anyVisible = false;
  };
  std::vector<Open> open;
  open.push_back({RootNode(), nullptr, {1, RootNode()->NodeHeight}});
  Recount last;  // the recount of the child just finished
  while (!open.empty()) {
    Open& top = open.back();
    PLazyNode node = top.node;
    if (top.child) {  // the child just finished adds to its parent
      top.own.count += last.count;
      if (top.child->Has(nsVisible)) {
        top.anyVisible = true;
        if (node->Has(nsExpanded)) top.own.height += last.height;
      }
      ++top.children;
    }
    PLazyNode child = top.child ? top.child->NextSibling : node->FirstChild;
    if (child) {
      PLazyNode previous = top.child;
      top.child = child;
      if (child->Parent != node) problems << describe(child) + QStringLiteral(": wrong parent link");
      if (child->PrevSibling != previous) problems << describe(child) + QStringLiteral(": wrong previous link");
      if (child->Index != top.children)
        problems << describe(child) + QStringLiteral(": index %1, expected %2").arg(child->Index).arg(top.children);
      last = {};
      open.push_back({child, nullptr, {1, child->NodeHeight}});
      continue;
    }
    if (node->LastChild != top.child) problems << describe(node) + QStringLiteral(": wrong last child");
    if (node->ChildCount != top.children)
      problems << describe(node) + QStringLiteral(": child count %1, has %2").arg(node->ChildCount).arg(top.children);
    if (node->TotalCount != top.own.count)
      problems << describe(node) + QStringLiteral(": total count %1, recounted %2").arg(node->TotalCount).arg(top.own.count);
    if (node->TotalHeight != top.own.height)
      problems << describe(node) + QStringLiteral(": total height %1, recounted %2").arg(node->TotalHeight).arg(top.own.height);
    if (node != RootNode() && node->Has(nsAllChildrenHidden) != (top.children > 0 && !top.anyVisible))
      problems << describe(node) + QStringLiteral(": all-children-hidden flag wrong");
    last = top.own;
    open.pop_back();
  }
  // The visible count, by walking the rows in display order.
  std::int64_t rows = 0;
  for (PLazyNode run = GetFirstVisibleRaw(); run; run = GetNextVisibleRaw(run)) ++rows;
  if (rows != VisibleCount()) problems << QStringLiteral("visible count %1, rows %2").arg(VisibleCount()).arg(rows);
  std::int64_t rowHeights = 0;
  for (PLazyNode run = GetFirstVisibleRaw(); run; run = GetNextVisibleRaw(run)) rowHeights += run->NodeHeight;
  if (rowHeights != std::int64_t(RootNode()->TotalHeight) - RootNode()->NodeHeight)
    problems << QStringLiteral("rows add up to %1, root says %2").arg(rowHeights).arg(RootNode()->TotalHeight - RootNode()->NodeHeight);
  return problems;
}
