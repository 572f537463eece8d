// The consistency check: every running total recomputed from the links alone.
#include "treeview/LazyTrees.h"

namespace {
struct Recount {
  std::int64_t count = 0;
  std::int64_t height = 0;
};
}  // namespace

QStringList TBaseLazyTree::CheckTotals() {
  QStringList problems;
  auto describe = [this](PLazyNode node) {
    if (node == root_) return QStringLiteral("root");
    QStringList path;
    for (PLazyNode run = node; run != root_; run = run->Parent) path.prepend(QString::number(run->Index));
    return QStringLiteral("node ") + path.join(QLatin1Char('/'));
  };
  // Post-order over the whole tree (recursion as deep as the tree).
  std::function<Recount(PLazyNode)> visit = [&](PLazyNode node) -> Recount {
    Recount own{1, node->NodeHeight};
    std::uint32_t children = 0;
    bool anyVisible = false;
    PLazyNode previous = nullptr;
    for (PLazyNode child = node->FirstChild; child; child = child->NextSibling) {
      if (child->Parent != node) problems << describe(child) + QStringLiteral(": wrong parent link");
      if (child->PrevSibling != previous) problems << describe(child) + QStringLiteral(": wrong previous link");
      if (child->Index != children) problems << describe(child) + QStringLiteral(": index %1, expected %2").arg(child->Index).arg(children);
      const Recount sub = visit(child);
      own.count += sub.count;
      if (child->Has(nsVisible)) {
        anyVisible = true;
        if (node->Has(nsExpanded)) own.height += sub.height;
      }
      previous = child;
      ++children;
    }
    if (node->LastChild != previous) problems << describe(node) + QStringLiteral(": wrong last child");
    if (node->ChildCount != children)
      problems << describe(node) + QStringLiteral(": child count %1, has %2").arg(node->ChildCount).arg(children);
    if (node->TotalCount != own.count)
      problems << describe(node) + QStringLiteral(": total count %1, recounted %2").arg(node->TotalCount).arg(own.count);
    if (node->TotalHeight != own.height)
      problems << describe(node) + QStringLiteral(": total height %1, recounted %2").arg(node->TotalHeight).arg(own.height);
    if (node != root_ && node->Has(nsAllChildrenHidden) != (children > 0 && !anyVisible))
      problems << describe(node) + QStringLiteral(": all-children-hidden flag wrong");
    return own;
  };
  visit(root_);
  // The visible count, by walking the rows in display order.
  std::int64_t rows = 0;
  for (PLazyNode run = GetFirstVisibleRaw(); run; run = GetNextVisibleRaw(run)) ++rows;
  if (rows != visibleCount_) problems << QStringLiteral("visible count %1, rows %2").arg(visibleCount_).arg(rows);
  std::int64_t rowHeights = 0;
  for (PLazyNode run = GetFirstVisibleRaw(); run; run = GetNextVisibleRaw(run)) rowHeights += run->NodeHeight;
  if (rowHeights != std::int64_t(root_->TotalHeight) - root_->NodeHeight)
    problems << QStringLiteral("rows add up to %1, root says %2").arg(rowHeights).arg(root_->TotalHeight - root_->NodeHeight);
  return problems;
}
