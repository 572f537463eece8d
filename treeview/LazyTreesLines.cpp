// Tree lines and bands, the expand and collapse buttons and the line pattern.
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeLines.h"
#include "treeview/LazyTrees.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOption>

// ---- Line images ------------------------------------------------------------------------------

namespace {
bool HasLaterVisibleSibling(PLazyNode node) {
  for (PLazyNode run = node->NextSibling; run; run = run->NextSibling)
    if (run->Has(nsVisible)) return true;
  return false;
}
bool HasEarlierVisibleSibling(PLazyNode node) {
  for (PLazyNode run = node->PrevSibling; run; run = run->PrevSibling)
    if (run->Has(nsVisible)) return true;
  return false;
}
bool IsConnector(TLTLineType t) { return t == ltBottomRight || t == ltTopDownRight || t == ltRight || t == ltTopRight; }
}  // namespace

TLineImage ComputeLineImage(PLazyNode node, PLazyNode root, bool showRoot) {
  // The chain from the top-level ancestor down to the node.
  QVector<PLazyNode> chain;
  for (PLazyNode run = node; run && run != root; run = run->Parent) chain.prepend(run);
  TLineImage image;
  if (chain.isEmpty()) return image;
  const int levels = static_cast<int>(chain.size());
  image.reserve(levels);
  for (int i = showRoot ? 0 : 1; i < levels; ++i) {
    PLazyNode level = chain[i];
    const bool later = HasLaterVisibleSibling(level);
    if (i == 0) {
      if (level != node) {
        image.append(later ? ltTopDown : ltNone);
      } else {
        const bool first = !HasEarlierVisibleSibling(level);
        image.append(first ? (later ? ltBottomRight : ltRight) : (later ? ltTopDownRight : ltTopRight));
      }
    } else if (level == node) {
      image.append(later ? ltTopDownRight : ltTopRight);
    } else {
      image.append(later ? ltTopDown : ltNone);
    }
  }
  return image;
}

TLineImage ComputeBandImage(const TLineImage& lines, bool expanded) {
  TLineImage bands(lines.size(), ltLeft);
  if (expanded) return bands;
  for (int i = static_cast<int>(lines.size()) - 1; i >= 0; --i) {
    if (IsConnector(lines[i])) {
      bands[i] = ltLeftBottom;
    } else if (i + 1 < lines.size()) {
      const TLTLineType deeper = lines[i + 1];
      bands[i] = deeper != ltNone && deeper != ltTopRight ? ltLeft : bands[i + 1];
    }
  }
  return bands;
}

void DrawLineImage(QPainter& canvas, const TLineImage& image, const QRect& cell, int indent, int lineY, bool rtl,
                   const QBrush& pattern) {
  const int top = cell.top(), bottom = cell.bottom();
  auto vline = [&](int x, int y1, int y2) {
    if (y2 >= y1) canvas.fillRect(QRect(x, y1, 1, y2 - y1 + 1), pattern);
  };
  auto hline = [&](int x1, int x2, int y) {
    if (x2 >= x1) canvas.fillRect(QRect(x1, y, x2 - x1 + 1, 1), pattern);
  };
  for (int i = 0; i < image.size(); ++i) {
    const int left = rtl ? cell.left() + cell.width() - (i + 1) * indent : cell.left() + i * indent;
    const int right = left + indent - 1;
    const int middle = left + indent / 2;
    auto connector = [&] {
      if (rtl)
        hline(left, middle, lineY);
      else
        hline(middle, right, lineY);
    };
    switch (image[i]) {
      case ltNone: break;
      case ltBottomRight: vline(middle, lineY, bottom), connector(); break;
      case ltTopDown: vline(middle, top, bottom); break;
      case ltTopDownRight: vline(middle, top, bottom), connector(); break;
      case ltRight: connector(); break;
      case ltTopRight: vline(middle, top, lineY), connector(); break;
      case ltLeft: vline(rtl ? right : left, top, bottom); break;
      case ltLeftBottom:
        vline(rtl ? right : left, top, bottom);
        hline(left, right, bottom);
        break;
    }
  }
}

// ---- Buttons and the line pattern ---------------------------------------------------------------

namespace {
constexpr int kButtonSize = 9;

QImage EmptyButton() {
  QImage image(kButtonSize, kButtonSize, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

bool IsBlank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return false;
  return true;
}
}  // namespace

void TBaseLazyTree::RebuildButtons() {
  const QColor frame = PaintColor(TLTColors::TreeLineColor);
  const QColor sign = palette().color(QPalette::Text);
  QColor fill;
  switch (appearance_.buttonFillMode) {
    case fmTreeColor: fill = Color(); break;
    case fmWindowColor: fill = palette().color(QPalette::Base); break;
    case fmShaded: fill = palette().color(QPalette::Button); break;
    case fmTransparent: break;
  }
  for (bool expanded : {false, true}) {
    QImage image = EmptyButton();
    QPainter p(&image);
    if (states_.Contains(tsUseThemes)) {
      QStyleOption option;
      option.initFrom(this);
      option.rect = image.rect();
      option.state = QStyle::State_Children | QStyle::State_Item | QStyle::State_Enabled;
      if (expanded) option.state |= QStyle::State_Open;
      style()->drawPrimitive(QStyle::PE_IndicatorBranch, &option, &p, this);
      p.end();
      // A style without a branch glyph of its own: the XP-style pictures.
      if (IsBlank(image)) image = BuiltInImage(expanded ? QStringLiteral("LT_XPBUTTONMINUS") : QStringLiteral("LT_XPBUTTONPLUS"));
    } else if (appearance_.buttonStyle == bsRectangle) {
      const QRect box(0, 0, kButtonSize, kButtonSize);
      if (appearance_.buttonFillMode == fmShaded) {
        QLinearGradient gradient(0, 0, kButtonSize, kButtonSize);
        gradient.setColorAt(0, palette().color(QPalette::Base));
        gradient.setColorAt(1, fill);
        p.fillRect(box, gradient);
      } else if (fill.isValid()) {
        p.fillRect(box, fill);
      }
      p.setPen(frame);
      p.drawRect(box.adjusted(0, 0, -1, -1));
      p.setPen(sign);
      p.drawLine(2, 4, 6, 4);
      if (!expanded) p.drawLine(4, 2, 4, 6);
    } else {
      // Triangles: pointing right when collapsed, down when expanded.
      QPainterPath path;
      if (expanded) {
        path.moveTo(0, 2), path.lineTo(8, 2), path.lineTo(4, 7);
      } else {
        path.moveTo(2, 0), path.lineTo(2, 8), path.lineTo(7, 4);
      }
      path.closeSubpath();
      p.setRenderHint(QPainter::Antialiasing);
      p.setPen(frame);
      p.setBrush(fill.isValid() ? QBrush(fill) : QBrush(Qt::NoBrush));
      p.drawPath(path);
    }
    paint_.SetButton(expanded, image);
  }
  TLazyTreePaintResources::TLinePattern pattern{};
  switch (appearance_.lineStyle) {
    case lsSolid: pattern.fill(0xFF); break;
    case lsDotted:
      for (int row = 0; row < 8; ++row) pattern[row] = (row % 2 == 0) ? 0x55 : 0xAA;
      break;
    case lsCustomStyle:
      for (int row = 0; row < 8; ++row) pattern[row] = (row % 2 == 0) ? 0x55 : 0xAA;
      DoGetLineStyle(pattern);
      break;
  }
  paint_.SetLinePattern(pattern);
}

void TBaseLazyTree::DoGetLineStyle(std::array<std::uint8_t, 8>& bits) {
  if (OnGetLineStyle) OnGetLineStyle(this, bits);
}
