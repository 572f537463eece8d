// Painting of the header: background, one button per visible column in the four styles
// (or the style's own header sections with themes), header glyph, caption with ellipsis,
// sort glyph and drop mark, and the places these take inside a button.
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeHeaderArea.h"
#include "treeview/LazyTreeImageList.h"
#include "treeview/LazyTreeResources.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QWidget>

namespace {

// The classic 3D edges: which borders and what they do to the rectangle.
enum : unsigned {
  BDR_RAISEDOUTER = 0x1, BDR_SUNKENOUTER = 0x2, BDR_RAISEDINNER = 0x4, BDR_SUNKENINNER = 0x8,
  BF_LEFT = 0x1, BF_TOP = 0x2, BF_RIGHT = 0x4, BF_BOTTOM = 0x8, BF_RECT = 0xF,
  BF_MIDDLE = 0x800, BF_SOFT = 0x1000, BF_ADJUST = 0x2000, BF_FLAT = 0x4000,
};

// Draws up to two rings of lines on the chosen sides of R, outer first, fills the middle
// with Face when asked, and with BF_ADJUST leaves R at the inside.
void DrawEdge(QPainter& canvas, QRect& r, unsigned edge, unsigned flags, const QPalette& p, const QColor& face) {
  struct Ring {
    QColor topLeft, bottomRight;
  };
  std::vector<Ring> rings;
  if (flags & BF_FLAT) {
    if (edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER)) rings.push_back({p.color(QPalette::Dark), p.color(QPalette::Dark)});
    if (edge & (BDR_RAISEDINNER | BDR_SUNKENINNER)) rings.push_back({face, face});
  } else {
    const bool soft = flags & BF_SOFT;
    if (edge & BDR_RAISEDOUTER)
      rings.push_back({p.color(soft ? QPalette::Light : QPalette::Midlight), p.color(QPalette::Shadow)});
    else if (edge & BDR_SUNKENOUTER)
      rings.push_back({p.color(soft ? QPalette::Shadow : QPalette::Dark), p.color(QPalette::Light)});
    if (edge & BDR_RAISEDINNER)
      rings.push_back({p.color(soft ? QPalette::Midlight : QPalette::Light), p.color(QPalette::Dark)});
    else if (edge & BDR_SUNKENINNER)
      rings.push_back({p.color(soft ? QPalette::Dark : QPalette::Shadow), p.color(QPalette::Midlight)});
  }
  QRect inner = r;
  for (const Ring& ring : rings) {
    if (inner.width() <= 0 || inner.height() <= 0) break;
    if (flags & BF_LEFT) canvas.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), ring.topLeft);
    if (flags & BF_TOP) canvas.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), ring.topLeft);
    if (flags & BF_RIGHT) canvas.fillRect(QRect(inner.right(), inner.top(), 1, inner.height()), ring.bottomRight);
    if (flags & BF_BOTTOM) canvas.fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), ring.bottomRight);
    inner.adjust((flags & BF_LEFT) ? 1 : 0, (flags & BF_TOP) ? 1 : 0, (flags & BF_RIGHT) ? -1 : 0,
                 (flags & BF_BOTTOM) ? -1 : 0);
  }
  if ((flags & BF_MIDDLE) && inner.width() > 0 && inner.height() > 0) canvas.fillRect(inner, face);
  if (flags & BF_ADJUST) r = inner;
}

QColor Darker(const QColor& c, int by) { return QColor(std::max(c.red() - by, 0), std::max(c.green() - by, 0), std::max(c.blue() - by, 0)); }

}  // namespace

// ---- Layout of one button -----------------------------------------------------------------------

namespace {

// The pieces of one header button while ButtonLayout places them, relative to the
// button's client rectangle.
struct TButtonPieces {
  const TLazyTreeColumn& column;
  QSize glyph, sort, text;
  int textSpacing, width, margin, spacing;
  bool rtl, useGlyph, useSort, useText, stacked;
  QPoint glyphPos, sortPos, textPos;
};

// Glyph and caption centred side by side, or stacked with the glyph above or below.
void PlaceVertically(TButtonPieces& b, int height) {
  if (!b.stacked) {
    b.glyphPos.setY((height - b.glyph.height()) / 2);
    b.textPos.setY((height - b.text.height()) / 2);
    return;
  }
  const int top = (height - b.glyph.height() - b.text.height() - b.textSpacing) / 2;
  if (b.column.Layout() == blGlyphTop) {
    b.glyphPos.setY(top);
    b.textPos.setY(top + b.glyph.height() + b.textSpacing);
  } else {
    b.textPos.setY(top);
    b.glyphPos.setY(top + b.text.height() + b.textSpacing);
  }
}

// Glyph and caption side by side from x on; returns where the next element may start.
int LineUp(TButtonPieces& b, int x) {
  if (b.useGlyph && b.column.Layout() == blGlyphLeft) {
    b.glyphPos.setX(x);
    x += b.glyph.width() + b.spacing;
  }
  b.textPos.setX(x);
  x += b.text.width() + b.textSpacing;
  if (b.useGlyph && b.column.Layout() == blGlyphRight) {
    b.glyphPos.setX(x);
    x += b.glyph.width() + b.spacing;
  }
  return x;
}

void PlaceLeftAligned(TButtonPieces& b) {
  int x = b.margin;
  if (b.useSort && b.rtl) {
    b.sortPos.setX(x);
    x += b.sort.width() + b.spacing;
  }
  if (b.stacked) {
    b.textPos.setX(x);
    b.glyphPos.setX(std::max((b.width - b.glyph.width()) / 2, x));
    x = std::max(x + b.text.width() + b.textSpacing, b.glyphPos.x() + b.glyph.width() + b.spacing);
  } else {
    x = LineUp(b, x);
  }
  if (b.useSort && !b.rtl) b.sortPos.setX(x);
}

void PlaceRightAligned(TButtonPieces& b) {
  int x = b.width - b.margin;
  if (b.useSort && !b.rtl) {
    x -= b.sort.width();
    b.sortPos.setX(x);
    x -= b.spacing;
  }
  if (b.stacked) {
    b.textPos.setX(x - b.text.width());
    b.glyphPos.setX(std::min((b.width - b.glyph.width()) / 2, x - b.glyph.width()));
    x = std::min(b.textPos.x(), b.glyphPos.x()) - b.spacing;
  } else {
    if (b.useGlyph && b.column.Layout() == blGlyphRight) {
      x -= b.glyph.width();
      b.glyphPos.setX(x);
      x -= b.spacing;
    }
    x -= b.text.width();
    b.textPos.setX(x);
    x -= b.textSpacing;
    if (b.useGlyph && b.column.Layout() == blGlyphLeft) {
      x -= b.glyph.width();
      b.glyphPos.setX(x);
      x -= b.spacing;
    }
  }
  if (b.useSort && b.rtl) b.sortPos.setX(x - b.sort.width());
}

void PlaceCentred(TButtonPieces& b) {
  if (b.stacked) {
    b.textPos.setX((b.width - b.text.width()) / 2);
    b.glyphPos.setX((b.width - b.glyph.width()) / 2);
    if (b.useSort)
      b.sortPos.setX(b.rtl ? b.textPos.x() - b.spacing - b.sort.width() : b.textPos.x() + b.text.width() + b.textSpacing);
    return;
  }
  const int textAndGlyph = b.text.width() + b.textSpacing + (b.useGlyph ? b.glyph.width() + b.spacing : 0);
  const int x = LineUp(b, (b.width - textAndGlyph) / 2);
  if (b.useSort) b.sortPos.setX(b.rtl ? b.textPos.x() - b.spacing - b.sort.width() : x);
}

// Everything stays inside the margins; the caption gives way. Returns the caption's
// bounds (empty without a caption).
QRect KeepInsideMargins(TButtonPieces& b) {
  int minLeft = b.margin, maxRight = b.width - b.margin;
  if (b.useSort) {
    b.sortPos.setX(std::clamp(b.sortPos.x(), b.margin, std::max(b.width - b.margin - b.sort.width(), b.margin)));
    if (!b.rtl)
      maxRight = b.sortPos.x() - b.spacing;
    else
      minLeft = b.sortPos.x() + b.sort.width() + b.spacing;
  }
  if (b.useGlyph) {
    b.glyphPos.setX(std::max(b.glyphPos.x(), minLeft));
    if (!b.stacked && b.column.Layout() == blGlyphLeft) minLeft = std::max(minLeft, b.glyphPos.x() + b.glyph.width() + b.spacing);
    if (!b.stacked && b.column.Layout() == blGlyphRight) maxRight = std::min(maxRight, b.glyphPos.x() - b.spacing);
  }
  if (!b.useText) return {};
  b.textPos.setX(std::max(b.textPos.x(), minLeft));
  QRect bounds(b.textPos, b.text);
  if (bounds.right() + 1 > maxRight) bounds.setRight(maxRight - 1);
  return bounds;
}

}  // namespace

THeaderButtonLayout TLTHeader::ButtonLayout(const TLazyTreeColumn& column, const QRect& client, bool useGlyph,
                                            bool useSort) const {
  THeaderButtonLayout out;
  const QString& text = column.Text();
  const bool useText = !text.isEmpty();
  if (!useText && !useGlyph && !useSort) return out;
  const QFontMetrics metrics(font_);
  TButtonPieces b{column,
                  useGlyph && images_ ? QSize(images_->Width(), images_->Height()) : QSize(),
                  useSort ? QSize(UtilityImages().Width(), UtilityImages().Height()) : QSize(),
                  useText ? QSize(metrics.horizontalAdvance(text) + 2, metrics.height()) : QSize(),
                  useText ? column.Spacing() : 0,
                  client.width(),
                  column.Margin(),
                  column.Spacing(),
                  column.RightToLeft(),
                  useGlyph,
                  useSort,
                  useText,
                  useGlyph && (column.Layout() == blGlyphTop || column.Layout() == blGlyphBottom),
                  {},
                  {},
                  {}};
  b.sortPos.setY((client.height() - b.sort.height()) / 2);
  if (useSort && !useText && !useGlyph) {
    b.sortPos.setX((b.width - b.sort.width()) / 2);
  } else {
    PlaceVertically(b, client.height());
    switch (column.DisplayAlignment()) {
      case taLeftJustify: PlaceLeftAligned(b); break;
      case taRightJustify: PlaceRightAligned(b); break;
      case taCenter: PlaceCentred(b); break;
    }
    out.TextBounds = KeepInsideMargins(b);
  }
  out.GlyphPos = b.glyphPos + client.topLeft();
  out.SortGlyphPos = b.sortPos + client.topLeft();
  if (useText) out.TextBounds.translate(client.topLeft());
  return out;
}

// ---- Painting -----------------------------------------------------------------------------------

void TLTHeader::DrawXPButton(QPainter& canvas, QRect r, bool pressed, bool hot, bool last) {
  const QColor fill = pressed ? QColor(222, 223, 216) : hot ? QColor(250, 248, 243) : QColor(235, 234, 219);
  canvas.fillRect(r, fill);
  if (pressed) {
    canvas.setPen(QColor(165, 165, 151));
    canvas.drawRect(r.adjusted(0, 0, -1, -1));
    canvas.setPen(QColor(193, 194, 184));
    canvas.drawLine(r.left() + 1, r.top() + 1, r.right() - 1, r.top() + 1);
    canvas.setPen(QColor(208, 209, 201));
    canvas.drawLine(r.left() + 1, r.top() + 2, r.right() - 1, r.top() + 2);
    return;
  }
  if (!last) {
    // A two-pixel separator near the right edge.
    canvas.fillRect(QRect(r.right() - 1, r.top() + 3, 1, r.height() - 8), QColor(199, 197, 178));
    canvas.fillRect(QRect(r.right(), r.top() + 3, 1, r.height() - 8), Qt::white);
  }
  if (hot) {
    TLTImageList& pieces = UtilityImages();
    const int y = r.bottom() - 15;
    canvas.save();
    canvas.setClipRect(r, Qt::IntersectClip);
    if (r.width() > 32) {
      pieces.Draw(canvas, QPoint(r.left(), y), 6);
      for (int x = r.left() + 16; x < r.right() - 16; x += 16) pieces.Draw(canvas, QPoint(x, y), 7);
      pieces.Draw(canvas, QPoint(r.right() - 15, y), 8);
    } else {
      pieces.Draw(canvas, QPoint(r.right() - 15, y), 8);
      canvas.setClipRect(QRect(r.left(), r.top(), r.width() / 2, r.height()), Qt::IntersectClip);
      pieces.Draw(canvas, QPoint(r.left(), y), 6);
    }
    canvas.restore();
    return;
  }
  // Three shades darker than the fill along the bottom, the last a fixed one.
  canvas.fillRect(QRect(r.left(), r.bottom() - 2, r.width(), 1), Darker(fill, 11));
  canvas.fillRect(QRect(r.left(), r.bottom() - 1, r.width(), 1), Darker(fill, 22));
  canvas.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(203, 199, 184));
}

void TLTHeader::DrawCaption(QPainter& canvas, const TLazyTreeColumn& column, QRect r, bool hot, bool enabled) {
  if (r.width() <= 0) return;
  const QFontMetrics metrics(font_);
  QString text = column.Text();
  if (metrics.horizontalAdvance(text) > r.width()) text = FitTextWithEllipsis(metrics, text, r.width(), column.RightToLeft());
  canvas.setFont(font_);
  const unsigned flags = DT_NOPREFIX | DT_LEFT | (column.RightToLeft() ? DT_RTLREADING : 0u);
  const QPalette& p = tree_->palette();
  if (enabled) {
    canvas.setPen(hot && !tree_->TreeStates().Contains(tsUseThemes) ? tree_->PaintColor(TLTColors::HeaderHotColor)
                                                                      : fontColor_);
    DrawWideText(canvas, text, r, flags);
  } else {
    QRect shifted = r.translated(1, 1);
    canvas.setPen(p.color(QPalette::Light));
    DrawWideText(canvas, text, shifted, flags);
    canvas.setPen(p.color(QPalette::Dark));
    DrawWideText(canvas, text, r, flags);
  }
}

namespace {
// The classic look's edges of a button: which rings and on which sides.
std::pair<unsigned, unsigned> ClassicButtonEdge(TLTHeaderStyle style, const THeaderPaintInfo& info, bool allowClick) {
  unsigned edge = 0, flags = 0;
  switch (style) {
    case hsThickButtons:
      edge = BDR_RAISEDOUTER | BDR_RAISEDINNER;
      flags = info.IsDownIndex ? BF_RECT | BF_MIDDLE | BF_SOFT | BF_ADJUST | BF_FLAT
                               : BF_LEFT | BF_TOP | BF_BOTTOM | BF_MIDDLE | BF_SOFT | BF_ADJUST;
      break;
    case hsFlatButtons:
      edge = info.IsDownIndex ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
      flags = info.IsDownIndex ? BF_RECT | BF_MIDDLE | BF_ADJUST : BF_LEFT | BF_TOP | BF_BOTTOM | BF_MIDDLE | BF_ADJUST;
      break;
    default:  // plates
      if (info.IsDownIndex) {
        edge = BDR_SUNKENOUTER;
        flags = BF_RECT | BF_MIDDLE | BF_ADJUST;
      } else if (info.IsHoverIndex && allowClick && info.IsEnabled) {
        edge = BDR_RAISEDINNER;
        flags = BF_LEFT | BF_TOP | BF_BOTTOM | BF_MIDDLE | BF_ADJUST;
      } else {
        edge = BDR_RAISEDINNER;
        flags = BF_LEFT | BF_TOP | BF_BOTTOM | BF_MIDDLE | BF_SOFT | BF_ADJUST | BF_RIGHT;
      }
      break;
  }
  if (info.ShowRightBorder) flags |= BF_RIGHT;
  return {edge, flags};
}
}  // namespace

// The state a button is painted in: hot, pressed, enabled, its glyphs and drop mark.
THeaderPaintInfo TLTHeader::ButtonPaintInfo(QPainter& canvas, TLazyTreeColumn& column, QRect r, bool last) const {
  const TLTColumnOptions co = column.Options();
  const int index = column.Index();
  THeaderPaintInfo info;
  info.TargetCanvas = &canvas;
  info.Column = &column;
  info.PaintRectangle = r;
  info.IsHoverIndex = index == columns_->hotIndex_ && options_.Contains(hoHotTrack) && co.Contains(coEnabled);
  info.IsDownIndex = index == columns_->pressedIndex_;
  info.IsEnabled = co.Contains(coEnabled) && tree_->isEnabled();
  info.ShowHeaderGlyph = options_.Contains(hoShowImages) && images_ && column.ImageIndex() >= 0;
  info.ShowSortGlyph = index == sortColumn_ && options_.Contains(hoShowSortGlyphs);
  if (co.Contains(coShowDropMark) && index == columns_->dropTarget_ && index != columns_->draggedIndex_)
    info.DropMark = columns_->dropBefore_ ? dmmLeft : dmmRight;
  info.ShowRightBorder = !last || !(style_ != hsThickButtons && options_.Contains(hoAutoResize) &&
                                    tree_->BevelKind() != bkNone);
  return info;
}

// The button itself: the style's header section with themes, else the header style's look.
void TLTHeader::PaintButtonFace(QPainter& canvas, const THeaderPaintInfo& info, bool last) {
  const QRect r = info.PaintRectangle;
  if (tree_->TreeStates().Contains(tsUseThemes)) {
    QStyleOptionHeader option;
    option.initFrom(area_);
    // The style paints (and caches) whole sections: only the part in view, with a little
    // over at each side so that no border shows at the cut.
    const int width = area_ ? area_->width() : r.right() + 1;
    option.rect = r.intersected(QRect(-4, r.top(), width + 8, r.height()));
    option.section = info.Column->Index();
    option.position = QStyleOptionHeader::Middle;
    option.state = QStyle::State_Raised | QStyle::State_Horizontal;
    if (info.IsEnabled) option.state |= QStyle::State_Enabled;
    if (info.IsDownIndex) option.state |= QStyle::State_Sunken;
    if (info.IsHoverIndex) option.state |= QStyle::State_MouseOver;
    tree_->style()->drawControl(QStyle::CE_HeaderSection, &option, &canvas, area_);
  } else if (style_ == hsXPStyle) {
    DrawXPButton(canvas, r, info.IsDownIndex, info.IsHoverIndex, last);
  } else {
    const auto [edge, flags] = ClassicButtonEdge(style_, info, info.Column->Options().Contains(coAllowClick));
    QRect inner = r;
    DrawEdge(canvas, inner, edge, flags, tree_->palette(), background_);
  }
}

// Header glyph, caption, sort glyph and drop mark, each unless the owner claimed it.
void TLTHeader::PaintButtonElements(QPainter& canvas, const THeaderPaintInfo& info, const THeaderPaintElements& claimed) {
  const TLazyTreeColumn& column = *info.Column;
  const QRect r = info.PaintRectangle;
  const bool themed = tree_->TreeStates().Contains(tsUseThemes);
  canvas.save();
  canvas.setClipRect(r, Qt::IntersectClip);
  if (info.ShowHeaderGlyph && !claimed.Contains(hpeHeaderGlyph)) {
    TLTImageDrawStyle look;
    if (!info.IsEnabled) look.Silhouette = tree_->palette().color(QPalette::Dark);
    images_->Draw(canvas, info.GlyphPos, column.ImageIndex(), look);
  }
  if (!column.Text().isEmpty() && !claimed.Contains(hpeText))
    DrawCaption(canvas, column, info.TextRectangle, info.IsHoverIndex, info.IsEnabled);
  if (info.ShowSortGlyph && !claimed.Contains(hpeSortGlyph)) {
    const int glyph = sortDirection_ == sdAscending ? (themed ? 5 : 3) : (themed ? 4 : 2);
    UtilityImages().Draw(canvas, info.SortGlyphPos, glyph);
  }
  if (info.DropMark != dmmNone && !claimed.Contains(hpeDropMark)) {
    const int y = r.top() + (r.height() - 16) / 2;
    if (info.DropMark == dmmLeft)
      UtilityImages().Draw(canvas, QPoint(r.left(), y), 0);
    else
      UtilityImages().Draw(canvas, QPoint(r.right() + 1 - 16, y), 1);
  }
  canvas.restore();
}

void TLTHeader::PaintButton(QPainter& canvas, TLazyTreeColumn& column, QRect r, bool last) {
  THeaderPaintInfo info = ButtonPaintInfo(canvas, column, r, last);
  const bool advanced = options_.Contains(hoOwnerDraw) && tree_->OnAdvancedHeaderDraw && tree_->OnHeaderDrawQueryElements;
  PaintButtonFace(canvas, info, last);
  if (column.Style() == vsOwnerDraw && options_.Contains(hoOwnerDraw) && tree_->OnHeaderDraw && !advanced) {
    tree_->OnHeaderDraw(tree_, canvas, &column, r, info.IsHoverIndex, info.IsDownIndex, info.DropMark);
    return;
  }
  const QRect client = r.adjusted(2, 2, -2, -2);
  const THeaderButtonLayout layout = ButtonLayout(column, client, info.ShowHeaderGlyph, info.ShowSortGlyph);
  info.GlyphPos = layout.GlyphPos;
  info.SortGlyphPos = layout.SortGlyphPos;
  info.TextRectangle = layout.TextBounds;
  THeaderPaintElements claimed;
  if (advanced) tree_->OnHeaderDrawQueryElements(tree_, info, claimed);
  PaintButtonElements(canvas, info, claimed);
  if (advanced && !claimed.Empty()) tree_->OnAdvancedHeaderDraw(tree_, info, claimed);
}

void TLTHeader::PaintHeaderTo(QPainter& canvas, const QRect& r, int horizontalOffset) {
  const bool themed = tree_->TreeStates().Contains(tsUseThemes);
  const QRect whole(0, 0, std::max(area_ ? area_->width() : r.right() + 1, r.right() + 1), height_);
  // Background first: the owner's, the style's empty header, an XP button or the fill.
  bool painted = false;
  if (options_.Contains(hoOwnerDraw) && tree_->OnAdvancedHeaderDraw && tree_->OnHeaderDrawQueryElements) {
    THeaderPaintInfo info;
    info.TargetCanvas = &canvas;
    info.PaintRectangle = r;
    THeaderPaintElements elements;
    tree_->OnHeaderDrawQueryElements(tree_, info, elements);
    if (elements.Contains(hpeBackground)) {
      tree_->OnAdvancedHeaderDraw(tree_, info, {hpeBackground});
      painted = true;
    }
  }
  if (!painted) {
    if (themed) {
      QStyleOptionHeader option;
      if (area_) option.initFrom(area_);
      option.rect = whole.intersected(r.adjusted(-4, 0, 4, 0));
      option.state = QStyle::State_Raised | QStyle::State_Horizontal | QStyle::State_Enabled;
      tree_->style()->drawControl(QStyle::CE_HeaderEmptyArea, &option, &canvas, area_);
    } else if (style_ == hsXPStyle) {
      DrawXPButton(canvas, whole, false, false, true);
    } else {
      canvas.fillRect(r, background_);
    }
  }
  const QVector<TColumnIndex> shown = columns_->ShownColumnList();
  for (int i = 0; i < shown.size(); ++i) {
    TLazyTreeColumn& column = *columns_->Items(shown[i]);
    const QRect button(column.Left() + horizontalOffset, 0, column.Width(), height_);
    if (button.right() < r.left()) continue;
    if (button.left() > r.right()) break;
    PaintButton(canvas, column, button, i == shown.size() - 1);
  }
}
