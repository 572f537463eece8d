// The dragged selection rectangle: following the mouse, and the nodes it takes in or
// leaves as it changes.
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"
#include "treeview/LazyTrees.h"

#include <QApplication>

#include <algorithm>

struct TBaseLazyTree::TSelectionRectangleSteps {
  static QPair<int, int> LabelSpanInMainColumn(TBaseLazyTree& t, PLazyNode node, int mainLeft, int mainRight, bool rtl,
                                               TLTAlignment alignment);
};

// ---- Following the mouse ----------------------------------------------------------------

void TBaseLazyTree::DragSelectionRectangle(QPoint viewportPos) {
  QPoint end = viewportPos - QPoint(offsetX_, offsetY_);
  // Both corners stay within the content, whatever the mouse does outside the window.
  end.setX(std::clamp(end.x(), 0, std::max(ClientWidth(), rangeX_)));
  end.setY(std::clamp(end.y(), 0, std::max(ClientHeight(), rangeY_)));
  if (states_.Contains(tsDrawSelPending)) {
    if ((viewportPos - input_->PressPosition()).manhattanLength() < QApplication::startDragDistance()) return;
    DoStateChange({tsDrawSelecting}, {tsDrawSelPending});
  }
  const QRect old = selectRectangle_;
  QRect next = old;
  next.setBottomRight(end);
  if (next == old) return;
  selectRectangle_ = next;
  HandleDrawSelection(old.normalized(), next.normalized());
  InvalidateTree();
}

// ---- The nodes it selects ------------------------------------------------------------

void TBaseLazyTree::HandleDrawSelection(QRect oldRect, QRect newRect) {
  if (TotalCount() <= 1) return;
  const QRect previous = NormalizeRect(oldRect), next = NormalizeRect(newRect);
  const TLTSelectionOptions selection = options_->SelectionOptions();
  const bool simple = selection.Contains(toSimpleDrawSelection);
  const bool toggle = drawSelectionShift_.Contains(ssCtrl);

  // The main column's edges, direction and alignment.
  int mainLeft = 0, mainRight = ClientWidth();
  bool rtl = BiDiMode() != bdLeftToRight;
  TLTAlignment alignment = rtl ? (appearance_.alignment == taLeftJustify ? taRightJustify : appearance_.alignment == taRightJustify ? taLeftJustify : appearance_.alignment)
                               : appearance_.alignment;
  const TColumnIndex main = MainColumn();
  if (ColumnCount() > 0 && main >= 0) {
    const TLazyTreeColumn& column = *Columns()[main];
    mainLeft = column.Left();
    mainRight = mainLeft + column.Width();
    rtl = column.RightToLeft();
    alignment = column.DisplayAlignment();
  }
  const int top = std::min(previous.top(), next.top());
  const int bottom = std::max(previous.bottom(), next.bottom());
  QVector<PLazyNode> toAdd;
  bool changed = false;
  int rowTop = 0;
  for (PLazyNode node = NodeAtPosition(std::max(top, 0), false, &rowTop); node && rowTop <= bottom;
       node = GetNextVisible(node)) {
    const int height = node->NodeHeight;
    const QPair<int, int> box =
        TSelectionRectangleSteps::LabelSpanInMainColumn(*this, node, mainLeft, mainRight, rtl, alignment);
    const int boxLeft = box.first, boxRight = box.second;  // right edge exclusive
    auto inside = [&](const QRect& r) {
      if (r.isEmpty() || rowTop > r.bottom() || rowTop + height - 1 < r.top()) return false;
      return simple || (boxLeft <= r.right() && boxRight - 1 >= r.left());
    };
    const bool inOld = inside(previous), inNew = inside(next);
    if (inOld != inNew) {
      const bool select = toggle ? !node->Has(nsSelected) : inNew;
      if (select && !node->Has(nsSelected) && !node->Has(nsDisabled)) {
        toAdd.append(node);
        changed = true;
      } else if (!select && node->Has(nsSelected)) {
        node->Exclude(nsSelected);
        selection_.MarkDeleted(node);
        changed = true;
      }
    }
    rowTop += height;
  }
  if (!changed) return;
  selection_.Pack();
  for (PLazyNode node : toAdd) {
    node->Include(nsSelected);
    selection_.Insert(node);
  }
  selection_.ForgetAnchorWhenEmpty();
  if (!selection_.IsEmpty() && !selection_.Anchor()) selection_.SetAnchor(selection_.First());
  Change(nullptr);
}

// Where a row's label stands in the main column, [left, right) in content coordinates:
// after the indent and the images, as wide as the content, aligned and mirrored as the
// column is.
QPair<int, int> TBaseLazyTree::TSelectionRectangleSteps::LabelSpanInMainColumn(TBaseLazyTree& t, PLazyNode node,
                                                                               int mainLeft, int mainRight, bool rtl,
                                                                               TLTAlignment alignment) {
  const TColumnIndex main = t.MainColumn();
  const TLTPaintOptions paint = t.options_->PaintOptions();
  int start = t.appearance_.margin + t.appearance_.indent * (static_cast<int>(t.LevelOfNode(node)) + (paint.Contains(toShowRoot) ? 1 : 0));
  bool ghosted = false;
  if (t.options_->MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone && t.CheckImages())
    start += t.CheckImages()->Width() + 2;
  if (t.images_ && t.DoGetImageIndex(node, ikNormal, main, ghosted) >= 0) start += t.images_->Width() + 2;
  if (t.stateImages_ && t.DoGetImageIndex(node, ikState, main, ghosted) >= 0) start += t.stateImages_->Width() + 2;
  int end = mainRight;
  if (t.ColumnCount() > 0 && main >= 0) {
    const TColumnIndex following = t.NextCellColumn(node, main);
    end = following >= 0 ? t.Columns()[following]->Left() : t.Columns().AllColumnsWidth();
  }
  int boxLeft = mainLeft + start, boxRight = end;
  const int width = t.DoGetNodeWidth(node, main);
  if (width < boxRight - boxLeft) {
    if (alignment == taRightJustify)
      boxLeft = boxRight - width;
    else if (alignment == taCenter)
      boxLeft += (boxRight - boxLeft - width) / 2;
    boxRight = boxLeft + width;
  }
  if (rtl) {
    // Mirrored within the main column.
    const int mirroredLeft = mainLeft + (end - boxRight);
    boxRight = mainLeft + (end - boxLeft);
    boxLeft = mirroredLeft;
  }
  return {boxLeft, boxRight};
}
