// Painting of the rows: each row in view goes through an off-screen row image, erased
// through the owner, then cell by cell in display order with clipping: grid lines, cell
// background, selection box and focus rectangle, tree lines, button, check, state and
// normal images and the content; then the area below the last row. Also the cell
// rectangles, content widths and the rows' width without columns.
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"
#include "treeview/LazyTreeLines.h"
#include "treeview/LazyTreeResources.h"

#include <QPainter>
#include <QStyle>

namespace {

TLTAlignment Mirrored(TLTAlignment a) {
  return a == taLeftJustify ? taRightJustify : a == taRightJustify ? taLeftJustify : a;
}

// A filled box with a one-pixel border; Curve is the corner's diameter.
void DrawBox(QPainter& canvas, const QRect& box, const QColor& fill, const QColor& border, int curve) {
  canvas.save();
  canvas.setPen(border);
  canvas.setBrush(fill);
  if (curve <= 0) {
    canvas.drawRect(box.adjusted(0, 0, -1, -1));
  } else {
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.drawRoundedRect(QRectF(box.adjusted(0, 0, -1, -1)), curve / 2.0, curve / 2.0);
  }
  canvas.restore();
}

// The system's dotted focus frame: every other pixel inverted.
void DrawFocusFrame(QPainter& canvas, const QRect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  canvas.save();
  canvas.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  QPen pen(Qt::white);
  pen.setDashPattern({1, 1});
  canvas.setPen(pen);
  canvas.setBrush(Qt::NoBrush);
  canvas.drawRect(r.adjusted(0, 0, -1, -1));
  canvas.restore();
}

int PositiveModulo(int value, int modulus) {
  const int m = value % modulus;
  return m < 0 ? m + modulus : m;
}

}  // namespace

// The steps of painting that only this file takes.
struct TBaseLazyTree::TPaintSteps {
  // Rebuilds the buttons and the line pattern when anything they are drawn from changed.
  static void EnsureButtons(TBaseLazyTree& t);
  static void TileBackground(TBaseLazyTree& t, QPainter& canvas, const QRect& r, QPoint shift);
  // One row into its canvas (tree coordinates) and the area below the last row.
  static void PaintRow(TBaseLazyTree& t, QPainter& canvas, PLazyNode node, const QRect& itemRect, const QRect& window,
                       QPoint targetPos, TLTPaintSwitches switches);
  static void PaintBelowRows(TBaseLazyTree& t, QPainter& target, const QRect& window, int top, QPoint targetPos,
                             TLTPaintSwitches switches);
  // The steps of PaintCell: images placed (the content rectangle returned), grid lines
  // (the cell inside them returned), tree lines and the button, the cell's background.
  static QRect PlaceCellImages(TBaseLazyTree& t, TLTPaintInfo& info, const QRect& cellRect, bool main, int indentWidth);
  static QRect PaintGridLines(TBaseLazyTree& t, QPainter& canvas, const QRect& cellRect, bool grid, int bandIndent,
                              bool rtl, bool verticalLine);
  static void PaintLinesAndButton(TBaseLazyTree& t, QPainter& canvas, PLazyNode node, const QRect& cellRect, int level,
                                  bool rtl, bool grid);
  static void PaintCellBackground(TBaseLazyTree& t, QPainter& canvas, TLTPaintInfo& info, const QRect& cell);
};

// ---- Colours, images, brushes -------------------------------------------------------------------

QColor TBaseLazyTree::PaintColor(int index) const {
  const QColor c = appearance_.colors->Color(TLTColors::Index(index));
  if (c.isValid()) return c;
  // A default colour: the palette's colour for that index.
  const QPalette& p = palette();
  switch (index) {
    case TLTColors::DisabledColor:
    case TLTColors::TreeLineColor:
    case TLTColors::HeaderHotColor: return p.color(QPalette::Dark);
    case TLTColors::GridLineColor:
    case TLTColors::UnfocusedSelectionColor:
    case TLTColors::BorderColor:
    case TLTColors::UnfocusedSelectionBorderColor: return p.color(QPalette::Button);
    case TLTColors::HotColor: return p.color(QPalette::WindowText);
    default: return p.color(QPalette::Highlight);
  }
}

QBrush TBaseLazyTree::LineBrush(const QColor& colour) const { return paint_.LineBrush(colour); }

void TBaseLazyTree::TPaintSteps::EnsureButtons(TBaseLazyTree& t) {
  const std::size_t key =
      qHashMulti(0, int(t.appearance_.buttonStyle), int(t.appearance_.buttonFillMode), int(t.appearance_.lineStyle),
                 t.states_.Contains(tsUseThemes), t.PaintColor(TLTColors::TreeLineColor).rgba(), t.Color().rgba(),
                 t.palette().cacheKey(), quintptr(t.style()));
  if (t.paint_.ButtonsDrawnFor(key)) return;
  t.paint_.SetButtonsKey(key);
  t.RebuildButtons();
}

int TBaseLazyTree::CheckImageWidth() const {
  const TLTImageList* checks = CheckImages();
  return checks ? checks->Width() : 16;
}

int TBaseLazyTree::ImageWidth(PLazyNode node, int column, TLTImageKind kind) {
  TLTImageList* list = kind == ikState ? StateImages() : Images();
  if (!list) return 0;
  bool ghosted = false;
  return DoGetImageIndex(node, kind, column, ghosted) >= 0 ? list->Width() : 0;
}

TLTImageList* TBaseLazyTree::CheckImages() const {
  if (appearance_.checkImageKind == ckCustom) return customCheckImages_;
  return &CheckImageList(appearance_.checkImageKind);
}

void TBaseLazyTree::SetDropTarget(PLazyNode node, TDropMode mode) {
  if (node == drag_.dropTarget && mode == drag_.dropMode) return;
  PLazyNode old = drag_.dropTarget;
  drag_.dropTarget = IsRealNode(node) ? node : nullptr;
  drag_.dropMode = drag_.dropTarget ? mode : dmNowhere;
  InvalidateNodeRow(old);
  InvalidateNodeRow(drag_.dropTarget);
}

// ---- The row image ------------------------------------------------------------------------------

QPaintDevice* TBaseLazyTree::RowBuffer(QSize size) {
  const qreal ratio = viewport()->devicePixelRatioF();
  const QSize pixels = size * ratio;
  return &paint_.RowImage(pixels, ratio);
}

void TBaseLazyTree::FlushRowBuffer(QPainter& target, QPoint at) { target.drawImage(at, paint_.RowImage()); }

void TBaseLazyTree::TPaintSteps::TileBackground(TBaseLazyTree& t, QPainter& canvas, const QRect& r, QPoint shift) {
  const int w = t.appearance_.background.width(), h = t.appearance_.background.height();
  if (w <= 0 || h <= 0) return;
  // The picture keeps its place in the target however the rows scroll.
  const QPoint source(PositiveModulo(r.left() + shift.x() + t.appearance_.backgroundOffset.x(), w),
                      PositiveModulo(r.top() + shift.y() + t.appearance_.backgroundOffset.y(), h));
  canvas.drawTiledPixmap(r, t.appearance_.background, source);
}

// ---- The paint handler and the general entry ----------------------------------------------------

void TBaseLazyTree::PaintTree(QPainter& target, const QRect& window, QPoint targetPos, TLTPaintSwitches switches) {
  if (window.isEmpty()) return;
  DoStateChange({tsPainting});
  DoBeforePaint(target);
  TPaintSteps::EnsureButtons(*this);
  const TLTPaintOptions paint = options_->PaintOptions();
  if (paint.Contains(toAlwaysHideSelection) || (!hasFocus() && paint.Contains(toHideSelection)))
    switches.Exclude(poDrawSelection);
  if (paint.Contains(toHideFocusRect)) switches.Exclude(poDrawFocusRect);
  const int rowWidth = std::max(ClientWidth(), rangeX_);
  const bool coversRow = window.left() >= 0 && window.right() < rowWidth;
  // Rows are initialised and measured before any is painted, so painting reads them as they are.
  layouter_.LayOutRows(window.top(), window.bottom());
  int top = 0;
  PLazyNode node = NodeAtPosition(std::max(window.top(), 0), false, &top);
  while (node && top <= window.bottom()) {
    if (!node->Has(nsInitialized)) InitializeNode(node);
    const int height = node->NodeHeight;
    bool wanted = height > 0;
    if (wanted && switches.Contains(poSelectedOnly)) {
      // Drag images show selected nodes and what lies below them only.
      wanted = false;
      for (PLazyNode run = node; run != RootNode() && !wanted; run = run->Parent) wanted = run->Has(nsSelected);
    }
    if (wanted) {
      QPaintDevice* device = RowBuffer(QSize(window.width(), height));
      {
        QPainter canvas(device);
        canvas.translate(-window.left(), -top);
        if (!coversRow) canvas.fillRect(window.left(), top, window.width(), height, Color());
        TPaintSteps::PaintRow(*this, canvas, node, QRect(0, top, rowWidth, height), window, targetPos, switches);
      }
      FlushRowBuffer(target, targetPos + QPoint(0, top - window.top()));
    }
    top += height;
    node = GetNextVisible(node);
  }
  if (top <= window.bottom())
    TPaintSteps::PaintBelowRows(*this, target, window, std::max(top, window.top()), targetPos, switches);
  DoAfterPaint(target);
  DoStateChange({}, {tsPainting});
}

void TBaseLazyTree::TPaintSteps::PaintRow(TBaseLazyTree& t, QPainter& canvas, PLazyNode node, const QRect& itemRect,
                                         const QRect& window, QPoint targetPos, TLTPaintSwitches switches) {
  if (t.DoBeforeItemPaint(canvas, node, itemRect)) return;  // the owner drew the whole row
  const TLTPaintOptions paint = t.options_->PaintOptions();
  const bool selected = node->Has(nsSelected);
  const bool focused = t.hasFocus() || paint.Contains(toPopupMode);
  QColor itemColor = t.Color();
  TItemEraseAction erase = eaDefault;
  t.DoBeforeItemErase(canvas, node, itemRect, itemColor, erase);
  if (erase == eaColor) {
    canvas.fillRect(itemRect, itemColor);
  } else if (erase == eaDefault) {
    if (paint.Contains(toShowBackground) && switches.Contains(poBackground) && !t.appearance_.background.isNull()) {
      TileBackground(t, canvas, itemRect, targetPos - window.topLeft());
    } else if (selected && t.options_->SelectionOptions().Contains(toFullRowSelect) &&
               switches.Contains(poDrawSelection)) {
      canvas.fillRect(itemRect, t.Color());
      QRect box = itemRect;
      if (paint.Contains(toShowHorzGridLines)) box.setBottom(box.bottom() - 1);
      DrawBox(canvas, box,
              t.PaintColor(focused ? TLTColors::FocusedSelectionColor : TLTColors::UnfocusedSelectionColor),
              t.PaintColor(focused ? TLTColors::FocusedSelectionBorderColor : TLTColors::UnfocusedSelectionBorderColor),
              t.appearance_.selectionCurveRadius);
    } else {
      canvas.fillRect(itemRect, t.Color());
    }
  }
  t.DoAfterItemErase(canvas, node, itemRect);

  TLTPaintInfo info;
  info.Canvas = &canvas;
  info.Node = node;
  info.Selected = selected;
  info.Focused = node == t.focusedNode_;
  info.PaintOptions = switches;
  if (t.ColumnCount() > 0) {
    TLazyTreeColumns& columns = t.Columns();
    TColumnIndex column = columns.FirstShownColumn();
    int left = column >= 0 ? columns[column]->Left() : 0;
    while (column >= 0 && left <= window.right()) {
      const TColumnIndex next = t.NextCellColumn(node, column);
      const int right = next >= 0 ? columns[next]->Left() : columns.AllColumnsWidth();
      if (right > window.left())
        t.PaintCell(canvas, info, column, QRect(left, itemRect.top(), right - left, itemRect.height()), window,
                    next < 0);
      left = right;
      column = next;
    }
  } else {
    t.PaintCell(canvas, info, NoColumn, itemRect, window, true);
  }
  t.DoAfterItemPaint(canvas, node, itemRect);
  if (node == t.drag_.dropTarget && switches.Contains(poDrawDropMark) && paint.Contains(toShowDropmark))
    t.PaintDropMark(canvas, node, itemRect);
  if (t.states_.Contains(tsDrawSelecting)) {
    canvas.save();
    canvas.setClipRect(itemRect, Qt::IntersectClip);
    t.PaintSelectionRectangle(canvas, window);
    canvas.restore();
  }
}

TColumnIndex TBaseLazyTree::NextCellColumn(PLazyNode node, TColumnIndex column) {
  TLazyTreeColumns& columns = Columns();
  TColumnIndex next = columns.ShownColumnAfter(column);
  if (!options_->AutoOptions().Contains(toAutoSpanColumns) || !columns.IsColumnIndex(column) ||
      columns[column]->RightToLeft())
    return next;
  // Text runs on over the empty cells of following left-to-right columns.
  while (next >= 0 && !columns[next]->RightToLeft() && DoGetCellIsEmpty(node, next)) next = columns.ShownColumnAfter(next);
  return next;
}

void TBaseLazyTree::PaintCell(QPainter& canvas, TLTPaintInfo& info, TColumnIndex column, QRect cellRect,
                              const QRect& window, bool lastCell) {
  Q_UNUSED(window);
  PLazyNode node = info.Node;
  const TLTPaintOptions paint = options_->PaintOptions();
  const bool useColumns = column >= 0;
  const TLazyTreeColumn* col = useColumns ? Columns()[column] : nullptr;
  info.Column = column;
  info.Position = col ? col->Position() : 0;
  info.BidiMode = col ? col->BiDiMode() : BiDiMode();
  const bool rtl = info.BidiMode != bdLeftToRight;
  info.Alignment = col ? col->DisplayAlignment() : (rtl ? Mirrored(appearance_.alignment) : appearance_.alignment);
  TLTPaintSwitches switches = info.PaintOptions;
  const bool editingHere = IsEditing() && node == focusedNode_ && (!useColumns || column == focusedColumn_);
  if (editingHere) switches.Exclude(poDrawSelection);
  if (!useColumns || (info.Selected && options_->SelectionOptions().Contains(toFullRowSelect)) ||
      col->Options().Contains(coParentColor))
    switches.Exclude(poColumnColor);
  const bool main = !useColumns || column == MainColumn();
  const int level = main ? static_cast<int>(LevelOfNode(node)) + (paint.Contains(toShowRoot) ? 1 : 0) : 0;
  const int indentWidth = level * appearance_.indent;

  info.ContentRect = TPaintSteps::PlaceCellImages(*this, info, cellRect, main, indentWidth);
  info.NodeWidth = DoGetNodeWidth(node, column);

  if (useColumns) {
    canvas.save();
    canvas.setClipRect(cellRect, Qt::IntersectClip);
  }
  const bool grid = switches.Contains(poGridLines);
  const int bandIndent = main && appearance_.lineMode == lmBands ? indentWidth : 0;
  const QRect cell = TPaintSteps::PaintGridLines(*this, canvas, cellRect, grid, bandIndent, rtl,
                                                 useColumns && (!lastCell || Columns().AllColumnsWidth() < ClientWidth()));
  info.CellRect = cell;
  info.PaintOptions = switches;
  TPaintSteps::PaintCellBackground(*this, canvas, info, cell);

  if (main) {
    TPaintSteps::PaintLinesAndButton(*this, canvas, node, cellRect, level, rtl, grid);
    if (info.CheckImage.Index >= 0) PaintCheckImage(canvas, info, info.Selected);
  }
  PaintNodeImage(canvas, info, info.StateImage, info.Selected, -1);
  PaintNodeImage(canvas, info, info.NormalImage, info.Selected, info.OverlayIndex);
  if (!editingHere) DoPaintNode(info);
  DoAfterCellPaint(canvas, node, column, cell);
  if (useColumns) canvas.restore();
}

// The content: margin on the reading side, the indent, then check, state and normal
// image, each placed in info; the rest of the cell is the content rectangle.
QRect TBaseLazyTree::TPaintSteps::PlaceCellImages(TBaseLazyTree& t, TLTPaintInfo& info, const QRect& cellRect,
                                                  bool main, int indentWidth) {
  PLazyNode node = info.Node;
  const TColumnIndex column = info.Column;
  const bool rtl = info.BidiMode != bdLeftToRight;
  QRect content = cellRect;
  if (rtl)
    content.setRight(content.right() - t.appearance_.margin - indentWidth);
  else
    content.setLeft(content.left() + t.appearance_.margin + indentWidth);
  auto place = [&](TLTCellImage& image, TLTImageList* list, int index) {
    image.Images = list;
    image.Index = index;
    const int w = list->Width(), h = list->Height();
    const int y =
        cellRect.top() + NodeAlignmentCentre(t.appearance_.nodeAlignment, node->NodeHeight, node->Align, h) - h / 2;
    image.Pos = QPoint(rtl ? content.right() + 1 - w : content.left(), y);
    if (rtl)
      content.setRight(content.right() - w - 2);
    else
      content.setLeft(content.left() + w + 2);
  };
  info.CheckImage = info.StateImage = info.NormalImage = TLTCellImage();
  info.OverlayIndex = -1;
  if (main && t.options_->MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone)
    if (TLTImageList* checks = t.CheckImages()) place(info.CheckImage, checks, t.CheckImageIndex(node));
  if (TLTImageList* states = t.StateImages()) {
    bool ghosted = false;
    const int index = t.DoGetImageIndex(node, ikState, column, ghosted);
    if (index >= 0) {
      place(info.StateImage, states, index);
      info.StateImage.Ghosted = ghosted;
    }
  }
  if (TLTImageList* images = t.Images()) {
    bool ghosted = false;
    const int index = t.DoGetImageIndex(node, info.Selected ? ikSelected : ikNormal, column, ghosted);
    if (index >= 0) {
      place(info.NormalImage, images, index);
      info.NormalImage.Ghosted = ghosted;
      bool unused = false;
      info.OverlayIndex = t.DoGetImageIndex(node, ikOverlay, column, unused);
    }
  }
  return content;
}

// The horizontal grid line at the bottom (with bands, not under the indent) and the
// vertical one at the right; the cell that remains inside them.
QRect TBaseLazyTree::TPaintSteps::PaintGridLines(TBaseLazyTree& t, QPainter& canvas, const QRect& cellRect, bool grid,
                                                 int bandIndent, bool rtl, bool verticalLine) {
  const TLTPaintOptions paint = t.options_->PaintOptions();
  QRect cell = cellRect;
  if (paint.Contains(toShowHorzGridLines) && grid) {
    int left = cell.left(), right = cell.right();
    // The bands draw their own bottoms inside the indent.
    if (rtl)
      right -= bandIndent;
    else
      left += bandIndent;
    canvas.fillRect(QRect(left, cell.bottom(), right - left + 1, 1),
                    t.LineBrush(t.PaintColor(TLTColors::GridLineColor)));
    cell.setBottom(cell.bottom() - 1);
  }
  if (paint.Contains(toShowVertGridLines) && grid && verticalLine) {
    canvas.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()),
                    t.LineBrush(t.PaintColor(TLTColors::GridLineColor)));
    cell.setRight(cell.right() - 1);
  }
  return cell;
}

// The tree lines (or bands) in the indent of the main column and the node's button.
void TBaseLazyTree::TPaintSteps::PaintLinesAndButton(TBaseLazyTree& t, QPainter& canvas, PLazyNode node,
                                                     const QRect& cellRect, int level, bool rtl, bool grid) {
  const TLTPaintOptions paint = t.options_->PaintOptions();
  const bool buttons = paint.Contains(toShowButtons);
  const int lineY = cellRect.top() + NodeAlignmentCentre(t.appearance_.nodeAlignment, node->NodeHeight, node->Align,
                                                         buttons ? t.paint_.Button(false).height() : 0);
  if (paint.Contains(toShowTreeLines) && level > 0) {
    const TLineImage lines = ComputeLineImage(node, t.RootNode(), paint.Contains(toShowRoot));
    if (t.appearance_.lineMode == lmNormal) {
      DrawLineImage(canvas, lines, cellRect, t.appearance_.indent, lineY, rtl,
                    t.LineBrush(t.PaintColor(TLTColors::TreeLineColor)));
    } else if (grid) {
      const QRect bandArea(cellRect.left(), cellRect.top(), cellRect.width(), cellRect.height() - 1);
      DrawLineImage(canvas, ComputeBandImage(lines, node->Has(nsExpanded)), bandArea, t.appearance_.indent, lineY, rtl,
                    t.LineBrush(t.PaintColor(TLTColors::GridLineColor)));
    }
  }
  const bool autoHidden = t.options_->AutoOptions().Contains(toAutoHideButtons) && node->Has(nsAllChildrenHidden);
  if (buttons && level > 0 && node->Has(nsHasChildren) && !autoHidden) {
    const QImage& button = t.ButtonImage(node->Has(nsExpanded));
    const int step = rtl ? cellRect.left() + cellRect.width() - level * t.appearance_.indent
                         : cellRect.left() + (level - 1) * t.appearance_.indent;
    canvas.drawImage(step + t.appearance_.indent / 2 - button.width() / 2, lineY - button.height() / 2, button);
  }
}

void TBaseLazyTree::TPaintSteps::PaintCellBackground(TBaseLazyTree& t, QPainter& canvas, TLTPaintInfo& info,
                                                     const QRect& cell) {
  PLazyNode node = info.Node;
  const TColumnIndex column = info.Column;
  if (info.PaintOptions.Contains(poColumnColor)) canvas.fillRect(cell, t.Columns()[column]->Color());
  t.DoBeforeCellPaint(canvas, node, column, cell);
  const TLTSelectionOptions selection = t.options_->SelectionOptions();
  if (column != t.focusedColumn_ && !selection.Contains(toFullRowSelect)) return;
  const bool gridExtensions = t.options_->MiscOptions().Contains(toGridExtensions);
  QRect box(info.ContentRect.left(), cell.top(), info.ContentRect.width(), cell.height());
  if (!gridExtensions) {
    const int w = info.NodeWidth;
    switch (TLTAlignment(info.Alignment)) {
      case taLeftJustify: box.setRight(std::min(box.right(), box.left() + w - 1)); break;
      case taRightJustify:
        if (w < box.width()) box.setLeft(box.right() + 1 - w);
        break;
      case taCenter:
        if (w < box.width()) box = QRect((box.left() + box.right() + 1 - w) / 2, box.top(), w, box.height());
        break;
    }
  }
  const bool focused = t.hasFocus() || t.options_->PaintOptions().Contains(toPopupMode);
  if (info.PaintOptions.Contains(poDrawSelection)) {
    QColor fill, border;
    if (node == t.drag_.dropTarget) {
      if (t.drag_.dropMode == dmOnNode || info.Selected) {
        fill = t.PaintColor(TLTColors::DropTargetColor);
        border = t.PaintColor(TLTColors::DropTargetBorderColor);
      }
    } else if (info.Selected) {
      fill = t.PaintColor(focused ? TLTColors::FocusedSelectionColor : TLTColors::UnfocusedSelectionColor);
      border =
          t.PaintColor(focused ? TLTColors::FocusedSelectionBorderColor : TLTColors::UnfocusedSelectionBorderColor);
    }
    if (fill.isValid()) {
      if (gridExtensions || selection.Contains(toFullRowSelect)) box = cell;
      if (!box.isEmpty()) {
        if (t.options_->PaintOptions().Contains(toUseBlendedSelection)) {
          fill.setAlpha(std::clamp(t.appearance_.selectionBlendFactor, 0, 255));
          canvas.fillRect(box, fill);
        } else {
          DrawBox(canvas, box, fill, border, t.appearance_.selectionCurveRadius);
        }
      }
    }
  }
  if (info.PaintOptions.Contains(poDrawFocusRect) && column == t.focusedColumn_ && focused && node == t.focusedNode_)
    DrawFocusFrame(canvas, gridExtensions ? cell : box);
}

int TBaseLazyTree::CheckImageIndex(PLazyNode node) {
  TCheckState state = TCheckState(node->CheckState);
  // A box held down by a key or the mouse shows its pressed partner.
  // (a mouse press keeps the pressed state in the node itself)
  if (states_.Contains(tsKeyCheckPending) && node == input_->KeyCheckNode()) state = PressedCheckState(state);
  const bool enabled = !node->Has(nsDisabled) && isEnabled();
  return CheckImageIndexFor(TCheckType(node->CheckType), state, enabled, node == hotNode_);
}

void TBaseLazyTree::PaintCheckImage(QPainter& canvas, const TLTPaintInfo& info, bool selected) {
  const TLTCellImage& image = info.CheckImage;
  if (!image.Images || image.Index < 0) return;
  if (states_.Contains(tsUseThemes) && appearance_.checkImageKind != ckCustom) {
    DrawStyledCheckImage(canvas, QRect(image.Pos, QSize(image.Images->Width(), image.Images->Height())), image.Index,
                         appearance_.checkImageKind == ckSystemFlat || appearance_.checkImageKind == ckFlat, style(), this);
    return;
  }
  TLTImageDrawStyle look;
  if (selected)
    look.Blend = PaintColor(hasFocus() ? TLTColors::FocusedSelectionColor : TLTColors::UnfocusedSelectionColor);
  image.Images->Draw(canvas, image.Pos, image.Index, look);
}

void TBaseLazyTree::PaintNodeImage(QPainter& canvas, const TLTPaintInfo& info, const TLTCellImage& image, bool selected,
                                   int overlayIndex) {
  if (!image.Images || image.Index < 0) return;
  TLTImageDrawStyle look;
  if (info.Node->Has(nsDisabled) || !isEnabled()) {
    look.Silhouette = palette().color(QPalette::Text);
  } else {
    look.Ghosted = image.Ghosted;
    if (selected && options_->PaintOptions().Contains(toUseBlendedImages) && hasFocus())
      look.Blend = PaintColor(TLTColors::FocusedSelectionColor);
  }
  image.Images->Draw(canvas, image.Pos, image.Index, look, overlayIndex);
}

void TBaseLazyTree::PaintDropMark(QPainter& canvas, PLazyNode, const QRect& r) {
  if (drag_.dropMode != dmAbove && drag_.dropMode != dmBelow) return;
  const int left = r.left(), right = r.left() + r.width(), top = r.top(), bottom = r.top() + r.height();
  QPolygon mark;
  if (drag_.dropMode == dmAbove)
    mark << QPoint(left + 2, top) << QPoint(right - 2, top) << QPoint(right - 2, top + 6) << QPoint(right - 6, top + 2)
         << QPoint(left + 6, top + 2) << QPoint(left + 2, top + 6);
  else
    mark << QPoint(left + 2, bottom - 1) << QPoint(right - 2, bottom - 1) << QPoint(right - 2, bottom - 8)
         << QPoint(right - 7, bottom - 3) << QPoint(left + 7, bottom - 3) << QPoint(left + 2, bottom - 8);
  canvas.save();
  canvas.setPen(Qt::NoPen);
  canvas.setBrush(PaintColor(TLTColors::DropMarkColor));
  canvas.drawPolygon(mark);
  canvas.restore();
}

void TBaseLazyTree::PaintSelectionRectangle(QPainter& canvas, const QRect&) {
  const QRect r = selectRectangle_.normalized();
  if (r.isEmpty()) return;
  if (appearance_.drawSelectionMode == smBlendedRectangle || states_.Contains(tsUseThemes)) {
    QColor fill = PaintColor(TLTColors::SelectionRectangleBlendColor);
    fill.setAlpha(std::clamp(appearance_.selectionBlendFactor, 0, 255));
    canvas.fillRect(r, fill);
    canvas.save();
    canvas.setPen(PaintColor(TLTColors::SelectionRectangleBorderColor));
    canvas.setBrush(Qt::NoBrush);
    canvas.drawRect(r.adjusted(0, 0, -1, -1));
    canvas.restore();
  } else {
    DrawFocusFrame(canvas, r);
  }
}

void TBaseLazyTree::TPaintSteps::PaintBelowRows(TBaseLazyTree& t, QPainter& target, const QRect& window, int top,
                                                QPoint targetPos, TLTPaintSwitches switches) {
  const QRect area(window.left(), top, window.width(), window.bottom() - top + 1);
  QPaintDevice* device = t.RowBuffer(area.size());
  {
    QPainter canvas(device);
    canvas.translate(-area.left(), -area.top());
    if (!t.DoPaintBackground(canvas, area)) {
      const TLTPaintOptions paint = t.options_->PaintOptions();
      if (paint.Contains(toShowBackground) && switches.Contains(poBackground) && !t.appearance_.background.isNull()) {
        TileBackground(t, canvas, area, targetPos - window.topLeft());
      } else {
        canvas.fillRect(area, t.Color());
        if (t.ColumnCount() > 0) {
          // Each column's strip keeps its colour down to the bottom of the window.
          TLazyTreeColumns& columns = t.Columns();
          const QVector<TColumnIndex> shown = columns.ShownColumnList();
          const bool lines = paint.Contains(toFullVertGridLines) && paint.Contains(toShowVertGridLines) &&
                             switches.Contains(poGridLines);
          for (int i = 0; i < shown.size(); ++i) {
            const TLazyTreeColumn& column = *columns[shown[i]];
            const QRect strip(column.Left(), area.top(), column.Width(), area.height());
            if (!strip.intersects(area)) continue;
            canvas.fillRect(strip, column.Color());
            if (lines && (i + 1 < shown.size() || columns.AllColumnsWidth() < t.ClientWidth()))
              canvas.fillRect(QRect(strip.right(), strip.top(), 1, strip.height()),
                              t.LineBrush(t.PaintColor(TLTColors::GridLineColor)));
          }
        }
      }
    }
    if (t.states_.Contains(tsDrawSelecting)) t.PaintSelectionRectangle(canvas, window);
  }
  t.FlushRowBuffer(target, targetPos + QPoint(0, top - window.top()));
}

// ---- Geometry and widths ------------------------------------------------------------------------

QRect TBaseLazyTree::CellDisplayRect(PLazyNode node, TColumnIndex column, bool textOnly, bool unclipped) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.") ||
      !LazyTreeCheck(node != RootNode(), "Node must not be the hidden root node."))
    return {};
  if (!node->Has(nsInitialized)) InitializeNode(node);
  const int top = NodeTop(node);
  if (top < 0) return {};
  const bool useColumns = ColumnCount() > 0 && Columns().IsColumnIndex(column);
  QRect r;
  if (useColumns) {
    int left = 0, right = 0;
    Columns().ColumnSpan(column, left, right);
    r = QRect(left, top + offsetY_, right - 1 - left, node->NodeHeight);
  } else {
    r = QRect(offsetX_, top + offsetY_, std::max(ClientWidth(), rangeX_), node->NodeHeight);
  }
  if (!textOnly) return r;
  const TLazyTreeColumn* col = useColumns ? Columns()[column] : nullptr;
  const bool rtl = (col ? col->BiDiMode() : BiDiMode()) != bdLeftToRight;
  const TLTAlignment alignment = col ? col->DisplayAlignment() : (rtl ? Mirrored(appearance_.alignment) : appearance_.alignment);
  int start = appearance_.margin;
  if (!useColumns || column == MainColumn()) {
    start += appearance_.indent * (static_cast<int>(LevelOfNode(node)) + (options_->PaintOptions().Contains(toShowRoot) ? 1 : 0));
    if (options_->MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone)
      if (TLTImageList* checks = CheckImages()) start += checks->Width() + 2;
  }
  bool ghosted = false;
  if (stateImages_ && DoGetImageIndex(node, ikState, column, ghosted) >= 0) start += stateImages_->Width() + 2;
  if (images_ && DoGetImageIndex(node, node->Has(nsSelected) ? ikSelected : ikNormal, column, ghosted) >= 0)
    start += images_->Width() + 2;
  const int spaceLeft = rtl ? r.left() : r.left() + start;
  const int spaceRight = rtl ? r.left() + r.width() - start : r.left() + r.width();  // exclusive
  const int space = spaceRight - spaceLeft;
  const int width = DoGetNodeWidth(node, column);
  int left = spaceLeft, right = spaceRight;
  if (width >= space) {
    if (unclipped) {
      // Wider than the cell: from the reading edge on.
      if (rtl)
        left = spaceRight - width;
      else
        right = spaceLeft + width;
    }
  } else {
    switch (alignment) {
      case taLeftJustify: right = spaceLeft + width; break;
      case taRightJustify: left = spaceRight - width; break;
      case taCenter:
        left = spaceLeft + (space - width) / 2;
        right = left + width;
        break;
    }
  }
  return QRect(left, r.top(), right - left, r.height());
}

int TBaseLazyTree::GetColumnContentWidth(TColumnIndex column) {
  const bool useColumns = ColumnCount() > 0;
  if (useColumns && !Columns().IsColumnIndex(column)) return 0;
  const bool main = !useColumns || column == MainColumn();
  const bool showRoot = options_->PaintOptions().Contains(toShowRoot);
  const bool checks = options_->MiscOptions().Contains(toCheckSupport) && CheckImages();
  int widest = 0;
  for (PLazyNode node = GetFirstVisible(); node; node = GetNextVisible(node)) {
    int width = 2 * appearance_.margin;
    if (main) {
      width += appearance_.indent * (static_cast<int>(LevelOfNode(node)) + (showRoot ? 1 : 0));
      if (checks && node->CheckType != ctNone) width += CheckImages()->Width() + 2;
    }
    bool ghosted = false;
    if (stateImages_ && DoGetImageIndex(node, ikState, column, ghosted) >= 0) width += stateImages_->Width() + 2;
    if (images_ && DoGetImageIndex(node, ikNormal, column, ghosted) >= 0) width += images_->Width() + 2;
    width += DoGetNodeWidth(node, column);
    widest = std::max(widest, width);
  }
  if (options_->PaintOptions().Contains(toShowVertGridLines)) ++widest;
  return widest;
}

int TBaseLazyTree::HorizontalRangeWithoutColumns() {
  const bool showRoot = options_->PaintOptions().Contains(toShowRoot);
  const bool checks = options_->MiscOptions().Contains(toCheckSupport) && CheckImages();
  int widest = 0, top = 0;
  for (PLazyNode node = NodeAtPosition(0, true, &top); node && top + offsetY_ < height(); node = GetNextVisibleRaw(node)) {
    int width = appearance_.indent * (static_cast<int>(LevelOfNode(node)) + (showRoot ? 1 : 0));
    if (stateImages_) width += stateImages_->Width() + 2;
    if (images_) width += images_->Width() + 2;
    if (checks && node->CheckType != ctNone) width += CheckImages()->Width() + 2;
    width += DoGetNodeWidth(node, NoColumn);
    widest = std::max(widest, width);
    top += node->NodeHeight;
  }
  return widest + 2 * appearance_.margin;
}
