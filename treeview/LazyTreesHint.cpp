// Whether and where a hint shows: header hints, the owner's node hints and tooltips over
// cut-off cell texts, by HintMode.
#include "treeview/LazyTreeHintWindow.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QToolTip>

namespace {
// The part of a hint before "|": the rest is meant for a status line.
QString ShortHint(const QString& hint) { return hint.section(QLatin1Char('|'), 0, 0); }
}  // namespace

QRect TBaseLazyTree::CellTextRect(PLazyNode node, int column) {
  // Unclipped: a text wider than its cell reaches past the cell's edge.
  const QRect cell = GetDisplayRect(node, column, false);
  if (cell.isEmpty()) return {};
  int left = cell.left();
  if (column < 0 || column == MainColumn()) {
    const int level = static_cast<int>(LevelOfNode(node)) + (options_->PaintOptions().Contains(toShowRoot) ? 1 : 0);
    left += level * appearance_.indent;
    if (options_->MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone) left += CheckImageWidth() + 2;
  }
  left += appearance_.margin;
  for (TLTImageKind kind : {ikState, ikNormal})
    if (const int w = ImageWidth(node, column, kind); w > 0) left += w + 2;
  const int width = DoGetNodeWidth(node, column);
  const int room = cell.right() + 1 - left;
  if (width < room) {
    const TLTAlignment alignment = ColumnAlignment(column);
    if (alignment == taRightJustify) left += room - width;
    if (alignment == taCenter) left += (room - width) / 2;
  }
  return QRect(left, cell.top(), width, cell.height());
}

int TBaseLazyTree::HintShowPause(QPoint pos) const {
  if (hintMode_ == hmTooltip && pos.y() >= 0) return 0;
  const bool overHeader = ColumnCount() > 0 && HeaderShowsHints() && pos.y() < 0 && pos.y() >= -HeaderHeight();
  if (overHeader && TLazyTreeHintWindow::StopAnimations()) return 0;
  return -1;
}

bool TBaseLazyTree::HintShow(QPoint pos, THintInfo& info) {
  info = THintInfo();
  const QPoint global = viewport()->mapToGlobal(pos);
  info.HintPos = global;
  const bool overHeader = ColumnCount() > 0 && HeaderShowsHints() && pos.y() < 0 && pos.y() >= -HeaderHeight();
  const THitInfo hit = overHeader ? THitInfo() : HitAt(pos);
  const bool mayShow = IsEditing() ? hit.HitNode != focusedNode_
                                   : hasFocus() || isActiveWindow() ||
                                         QGuiApplication::applicationState() == Qt::ApplicationActive;
  bool show = !QWidget::mouseGrabber() && showHint_ && mayShow && !HeaderIsBusy() &&
              !states_.Intersects({tsWheelPanning, tsDrawSelecting, tsScrolling});
  if (show) {
    info.HintStr = QStringLiteral(" ");
    if (overHeader) {
      const int column = ColumnAtX(pos.x() - offsetX_);
      if (column < 0 || (QGuiApplication::mouseButtons() & Qt::LeftButton)) {
        show = false;
      } else {
        const QRect bounds = ColumnBounds(column);
        info.CursorRect = QRect(bounds.left() + offsetX_, -HeaderHeight(), bounds.width(), HeaderHeight());
        info.HintPos.setY(std::max(info.HintPos.y(), viewport()->mapToGlobal(QPoint(0, 0)).y()));
        info.Text = ColumnHint(column);
        info.Column = column;
        info.OwnWindow = true;
        show = !info.Text.isEmpty();
      }
    } else if (hintMode_ == hmDefault) {
      info.HintStr = ShortHint(hint_);
      info.CursorRect = viewport()->rect();
      show = !info.HintStr.isEmpty();
    } else if (hit.HitNode) {
      PLazyNode node = hit.HitNode;
      const int column = hit.HitColumn;
      int spanLeft = 0, spanRight = ClientWidth();
      if (ColumnCount() > 0 && column >= 0) {
        const QRect bounds = ColumnBounds(column);
        spanLeft = bounds.left() + offsetX_;
        spanRight = bounds.left() + bounds.width() + offsetX_;
        if (options_->AutoOptions().Contains(toAutoSpanColumns))
          for (int next = NextVisibleColumn(column); next >= 0 && DoGetCellIsEmpty(node, next);
               next = NextVisibleColumn(next))
            spanRight = ColumnBounds(next).left() + ColumnBounds(next).width() + offsetX_;
      }
      info.Node = node;
      info.Column = column;
      info.OwnWindow = true;
      if (hintMode_ == hmTooltip) {
        const QRect text = CellTextRect(node, column);
        if (node->Has(nsMultiline)) {
          info.CursorRect = text;
        } else {
          const bool cutOff = text.right() + 1 > std::min(spanRight, ClientWidth()) || text.left() < std::max(spanLeft, 0);
          show = text.contains(pos) && pos.x() >= spanLeft && pos.x() < spanRight && cutOff;
          info.CursorRect = text;
        }
        info.HintPos = viewport()->mapToGlobal(text.topLeft());
      } else {
        QRect row = GetDisplayRect(node, -1, false).intersected(viewport()->rect());
        row.setLeft(std::max(row.left(), spanLeft));
        row.setRight(std::min(row.right(), spanRight - 1));
        info.CursorRect = row;
        info.HintPos.setY(std::max(info.HintPos.y(), viewport()->mapToGlobal(QPoint(0, row.bottom() + 1)).y()) + 2);
      }
    } else if (hintMode_ == hmHintAndDefault) {
      info.HintStr = ShortHint(hint_);
      info.CursorRect = viewport()->rect();
      show = !info.HintStr.isEmpty();
    } else {
      show = false;
    }
  }
  lastHintRect_ = show && info.OwnWindow ? info.CursorRect : QRect();
  if (show)
    DoStateChange({tsHint});
  else
    DoStateChange({}, {tsHint});
  return show;
}

TLazyTreeHintWindow* TBaseLazyTree::HintWindow() const { return hintWindow_; }

void TBaseLazyTree::ShowHintFor(QPoint pos) {
  // Inside the rectangle of the hint that shows, the hint stays as it is.
  if (!lastHintRect_.isEmpty() && lastHintRect_.contains(pos) && hintWindow_ && hintWindow_->isVisible()) return;
  THintInfo info;
  if (!HintShow(pos, info)) {
    if (hintWindow_) hintWindow_->CancelHint();
    QToolTip::hideText();
    return;
  }
  if (!info.OwnWindow) {
    if (hintWindow_) hintWindow_->CancelHint();
    QToolTip::showText(info.HintPos, info.HintStr, viewport(), viewport()->rect());
    return;
  }
  QToolTip::hideText();
  if (!hintWindow_) hintWindow_ = new TLazyTreeHintWindow(this);  // owned by the tree
  TLTHintData data;
  data.Tree = this;
  data.Node = info.Node;
  data.Column = info.Column;
  data.DefaultHint = info.Text;
  const QRect area = TLazyTreeHintWindow::AvailableAreaAt()(info.HintPos);
  const QRect size = hintWindow_->MeasureHintRect(area.width(), &data);
  if (size.isEmpty()) {
    hintWindow_->CancelHint();
    lastHintRect_ = QRect();
    DoStateChange({}, {tsHint});
    return;
  }
  hintWindow_->ShowHintAt(size.translated(info.HintPos));
  lastHintRect_ = info.CursorRect;
}

void TBaseLazyTree::CancelHint() {
  DoStateChange({}, {tsHint});
  lastHintRect_ = QRect();
  if (hintWindow_) {
    if (destroying_ && hintWindow_->Animating()) TLazyTreeHintWindow::StopAnimations() = true;
    hintWindow_->CancelHint();
  }
}
