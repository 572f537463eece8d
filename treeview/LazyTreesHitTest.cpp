// What lies under a point: the row, the column, and the part of the cell (indent, button,
// check box, images, label or the space beside it), for both reading directions.
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTrees.h"

QPair<int, int> TBaseLazyTree::CellSpan(PLazyNode node, int column) {
  if (column < 0 || ColumnCount() <= 0) return {0, std::max(ClientWidth(), rangeX_)};
  const QRect bounds = ColumnBounds(column);
  int left = bounds.left();
  int right = bounds.left() + bounds.width();
  if (options_->AutoOptions().Contains(toAutoSpanColumns)) {
    for (int next = NextVisibleColumn(column); next >= 0 && DoGetCellIsEmpty(node, next); next = NextVisibleColumn(next))
      right = ColumnBounds(next).left() + ColumnBounds(next).width();
    for (int previous = PreviousVisibleColumn(column); previous >= 0 && DoGetCellIsEmpty(node, previous);
         previous = PreviousVisibleColumn(previous))
      left = ColumnBounds(previous).left();
  }
  return {left, right};
}

namespace {
// Where the label lies in the space after the images, by alignment; X and Space are
// measured from the start of that space.
THitPosition LabelPart(int x, int space, int width, TLTAlignment alignment) {
  if (space < width) return hpOnLabel;
  switch (alignment) {
    case taRightJustify:
      return x < space - width ? hpLeftOfLabel : hpOnLabel;
    case taCenter: {
      const int start = (space - width) / 2;
      return x < start ? hpLeftOfLabel : x < start + width ? hpOnLabel : hpRightOfLabel;
    }
    default:
      return x < width ? hpOnLabel : hpRightOfLabel;
  }
}
}  // namespace

void TBaseLazyTree::HitTestRow(PLazyNode node, int column, int x, int cellWidth, THitInfo& hit) {
  const TLTPaintOptions paint = options_->PaintOptions();
  const bool mainColumn = column < 0 || column == MainColumn();
  int offset = 0;
  if (mainColumn) {
    const int indentWidth = appearance_.indent * (static_cast<int>(LevelOfNode(node)) + (paint.Contains(toShowRoot) ? 1 : 0));
    if (x < indentWidth) {
      const bool button = paint.Contains(toShowButtons) && node->Has(nsHasChildren) && x >= indentWidth - appearance_.indent;
      hit.HitPositions.Include(button ? hpOnButton : hpOnIndent);
      return;
    }
    offset = indentWidth;
  } else if (options_->MiscOptions().Contains(toReportMode)) {
    return;
  }
  offset += appearance_.margin;
  if (mainColumn && options_->MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone) {
    offset += CheckImageWidth() + 2;
    if (x < offset) {
      hit.HitPositions.Include(hpOnCheckBox);
      return;
    }
  }
  for (auto [kind, position] : {std::pair{ikState, hpOnStateIcon}, std::pair{ikNormal, hpOnNormalIcon}}) {
    const int width = ImageWidth(node, column, kind);
    if (width <= 0) continue;
    offset += width + 2;
    if (x < offset) {
      hit.HitPositions.Include(position);
      return;
    }
  }
  hit.HitPositions.Include(LabelPart(x - offset, cellWidth - offset, DoGetNodeWidth(node, column), ColumnAlignment(column)));
}

void TBaseLazyTree::HitTestRowRightToLeft(PLazyNode node, int column, int x, int cellWidth, THitInfo& hit) {
  // The same walk from the cell's right edge; what comes before the label in reading
  // order lies to its right on the screen.
  THitInfo mirrored;
  HitTestRow(node, column, cellWidth - 1 - x, cellWidth, mirrored);
  for (THitPosition p : {hpOnButton, hpOnIndent, hpOnCheckBox, hpOnStateIcon, hpOnNormalIcon, hpOnLabel})
    if (mirrored.HitPositions.Contains(p)) hit.HitPositions.Include(p);
  if (mirrored.HitPositions.Contains(hpLeftOfLabel)) hit.HitPositions.Include(hpRightOfLabel);
  if (mirrored.HitPositions.Contains(hpRightOfLabel)) hit.HitPositions.Include(hpLeftOfLabel);
}
