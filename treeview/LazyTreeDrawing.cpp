#include "treeview/LazyTreeDrawing.h"

#include "treeview/LazyTreeImageList.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>
#include <mutex>

// Outside any namespace, as the resource system wants it.
static void InitTreeResources() { Q_INIT_RESOURCE(LazyTreeImages); }

namespace {

void EnsureResources() {
  static std::once_flag once;
  std::call_once(once, InitTreeResources);
}

// Strips are decoded one at a time: a palette change may rebuild them while another list
// is still being filled.
std::mutex& StripLock() {
  static std::mutex lock;
  return lock;
}

int Saturate(int v) { return std::clamp(v, 0, 255); }

// Each channel: (s * a + t * (255 - a)) / 255 rounded, plus the bias on the three colour
// channels (a bias on the alpha channel would make pixels lighter than their coverage allows).
inline QRgb BlendPixel(QRgb s, QRgb t, int a, int bias) {
  auto ch = [&](int shift, int b) {
    const int sv = int((s >> shift) & 0xFF), tv = int((t >> shift) & 0xFF);
    return QRgb(Saturate((sv * a + tv * (255 - a) + 127) / 255 + b)) << shift;
  };
  return ch(0, bias) | ch(8, bias) | ch(16, bias) | ch(24, 0);
}

}  // namespace

// ---- Blending ------------------------------------------------------------------------------

void BlendBitmaps(const QImage& source, QImage& target, QRect rect, int bias, int opacity, TBlendMode mode,
                  QPoint targetPoint, QColor colour) {
  if (target.isNull()) return;
  if (target.depth() != 32) target = target.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  opacity = std::clamp(opacity, 0, 255);
  QImage src;
  if (mode != blendColour) {
    if (source.isNull()) return;
    src = source.depth() == 32 ? source : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    rect = rect.intersected(src.rect());
  }
  // Cut the area to the target, moving the source origin along.
  QRect destination(targetPoint, rect.size());
  const QRect cut = destination.intersected(target.rect());
  if (cut.isEmpty()) return;
  const QPoint sourceOrigin = rect.topLeft() + (cut.topLeft() - destination.topLeft());
  const QRgb constant = colour.isValid() ? colour.rgba() : 0;
  for (int y = 0; y < cut.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(target.scanLine(cut.top() + y)) + cut.left();
    const QRgb* in =
        mode == blendColour ? nullptr : reinterpret_cast<const QRgb*>(src.constScanLine(sourceOrigin.y() + y)) + sourceOrigin.x();
    for (int x = 0; x < cut.width(); ++x) {
      switch (mode) {
        case blendUniform: out[x] = BlendPixel(in[x], out[x], opacity, bias); break;
        case blendPerPixel: out[x] = BlendPixel(in[x], out[x], int(qAlpha(in[x])), bias); break;
        case blendPerPixelScaled: out[x] = BlendPixel(in[x], out[x], int(qAlpha(in[x])) * opacity / 255, bias); break;
        case blendColour: out[x] = BlendPixel(constant, out[x], opacity, bias); break;
      }
    }
  }
}

// ---- Text ----------------------------------------------------------------------------------

QString FitTextWithEllipsis(const QFontMetrics& metrics, const QString& text, int width, bool rightToLeft,
                            int ellipsisWidth) {
  static const QString kEllipsis = QStringLiteral("...");
  if (text.isEmpty() || width <= 0) return {};
  if (ellipsisWidth < 0) ellipsisWidth = metrics.horizontalAdvance(kEllipsis);
  if (width <= ellipsisWidth) return {};
  const int room = width - ellipsisWidth;
  const int length = static_cast<int>(text.size());
  auto piece = [&](int n) { return rightToLeft ? text.right(n) : text.left(n); };
  int lo = 0, hi = length;  // the longest n whose piece fits lies in [lo, hi]
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (metrics.horizontalAdvance(piece(mid)) <= room)
      lo = mid;
    else
      hi = mid - 1;
  }
  // Never cut a character in two.
  if (lo > 0 && lo < length) {
    if (!rightToLeft && text.at(lo - 1).isHighSurrogate()) --lo;
    if (rightToLeft && text.at(length - lo).isLowSurrogate()) --lo;
  }
  return rightToLeft ? kEllipsis + piece(lo) : piece(lo) + kEllipsis;
}

void DrawWideText(QPainter& canvas, const QString& text, QRect& rect, unsigned format) {
  int flags = 0;
  flags |= (format & DT_CENTER) ? Qt::AlignHCenter : (format & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  flags |= (format & DT_VCENTER) ? Qt::AlignVCenter : (format & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  if (format & DT_SINGLELINE) flags |= Qt::TextSingleLine;
  if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
  const Qt::LayoutDirection direction = canvas.layoutDirection();
  if (format & DT_RTLREADING) canvas.setLayoutDirection(Qt::RightToLeft);
  if (format & DT_CALCRECT) {
    // Without word breaks the text keeps its own width; with them it wraps at the rectangle's.
    const QRect room(rect.left(), rect.top(), (format & DT_WORDBREAK) ? std::max(rect.width(), 1) : 0x3FFFFFFF,
                     0x3FFFFFFF);
    const QRect extent = canvas.fontMetrics().boundingRect(room, flags & ~(Qt::AlignHCenter | Qt::AlignRight |
                                                                            Qt::AlignVCenter | Qt::AlignBottom),
                                                           text);
    rect = QRect(rect.topLeft(), extent.size());
  } else {
    canvas.drawText(rect, flags, text);
  }
  canvas.setLayoutDirection(direction);
}

// ---- Colours -------------------------------------------------------------------------------

namespace {
QColor SystemColour(int index) {
  const QPalette p = QGuiApplication::palette();
  switch (index) {
    case COLOR_WINDOW: return p.color(QPalette::Base);
    case COLOR_WINDOWTEXT: return p.color(QPalette::Text);
    case COLOR_HIGHLIGHT: return p.color(QPalette::Highlight);
    case COLOR_BTNFACE: return p.color(QPalette::Button);
    case COLOR_BTNSHADOW: return p.color(QPalette::Dark);
    case COLOR_GRAYTEXT: return p.color(QPalette::Disabled, QPalette::Text);
    case COLOR_BTNTEXT: return p.color(QPalette::ButtonText);
    case COLOR_BTNHIGHLIGHT: return p.color(QPalette::Light);
    default: return p.color(QPalette::Window);
  }
}
bool IsSystemCode(TColorCode code) { return (static_cast<std::uint32_t>(code) & 0xFF000000u) == 0xFF000000u; }
QColor FromRGBCode(TColorCode code) {
  const auto v = static_cast<std::uint32_t>(code);
  return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}
}  // namespace

QRgb ColorToRGBA(TColorCode colour) {
  if (colour == clNone) return qRgba(255, 255, 255, 255);
  if (colour == clDefault) return qRgba(0, 0, 0, 255);
  if (IsSystemCode(colour)) return SystemColour(colour & 0xFF).rgb() | 0xFF000000u;
  return FromRGBCode(colour).rgb() | 0xFF000000u;
}

QColor ColorFromCode(TColorCode colour) {
  if (colour == clNone) return QColor(Qt::transparent);
  if (colour == clDefault) return QColor();
  if (IsSystemCode(colour)) return SystemColour(colour & 0xFF);
  return FromRGBCode(colour);
}

TColorCode ColorToCode(const QColor& colour) {
  if (!colour.isValid()) return clDefault;
  if (colour.alpha() == 0) return clNone;
  const QRgb rgb = colour.rgb();
  return static_cast<TColorCode>(std::uint32_t(qRed(rgb)) | (std::uint32_t(qGreen(rgb)) << 8) |
                                 (std::uint32_t(qBlue(rgb)) << 16));
}

// ---- Rectangles and alignment --------------------------------------------------------------

QRect NormalizeRect(const QRect& r) {
  // On exclusive edges: (x1, y1) to (x2 + 1, y2 + 1) of QRect.
  const int left = std::min(r.left(), r.right() + 1), right = std::max(r.left(), r.right() + 1);
  const int top = std::min(r.top(), r.bottom() + 1), bottom = std::max(r.top(), r.bottom() + 1);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

int NodeAlignmentCentre(int nodeAlignment, int nodeHeight, int alignValue, int itemHeight) {
  switch (nodeAlignment) {
    case 0: return nodeHeight - alignValue;
    case 1: return alignValue;
    default:
      if (itemHeight > 0) return (nodeHeight - itemHeight) * alignValue / 100 + itemHeight / 2;
      return nodeHeight * alignValue / 100;
  }
}

// ---- Image strips ---------------------------------------------------------------------------

namespace {
QImage LoadBuiltIn(const QString& path) {
  EnsureResources();
  QImage image(path);
  return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}
}  // namespace

QImage BuiltInImage(const QString& name) { return LoadBuiltIn(QStringLiteral(":/treeview/%1.png").arg(name)); }
QImage BuiltInCursorImage(const QString& name) {
  return LoadBuiltIn(QStringLiteral(":/treeview/cursors/%1.png").arg(name));
}

void LoadImageStrip(TLTImageList& list, const QString& name, bool remap) {
  std::lock_guard<std::mutex> guard(StripLock());
  QImage strip = BuiltInImage(name);
  if (strip.isNull() || strip.height() <= 0 || strip.width() < strip.height())
    throw ELazyTreeError(QStringLiteral("Internal image \"%1\" is missing or corrupt.").arg(name), 0);
  const QRgb mask = strip.pixel(0, 0);
  const QPalette p = QGuiApplication::palette();
  const QRgb window = p.color(QPalette::Base).rgb(), face = p.color(QPalette::Button).rgb(),
             shadow = p.color(QPalette::Dark).rgb();
  for (int y = 0; y < strip.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(strip.scanLine(y));
    for (int x = 0; x < strip.width(); ++x) {
      const QRgb px = line[x];
      if (px == mask) {
        line[x] = 0;
      } else if (remap) {
        if (px == qRgb(255, 255, 255)) line[x] = window;
        else if (px == qRgb(192, 192, 192)) line[x] = face;
        else if (px == qRgb(128, 128, 128)) line[x] = shadow;
      }
    }
  }
  list.SetSize(strip.height(), strip.height());
  list.AddStrip(strip.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// ---- Check images --------------------------------------------------------------------------

void DrawStyledCheckImage(QPainter& canvas, const QRect& cell, int index, bool flat, QStyle* style,
                          const QWidget* widget) {
  if (index < 1 || index > 24 || !style) return;
  QStyleOptionButton option;
  if (widget) option.initFrom(widget);
  const int k = index <= 16 ? (index - 1) % 8 : (index - 17) % 4;
  const int mode = k % 4;  // normal, hot, pressed, disabled
  option.state = QStyle::State_None;
  if (mode != 3) option.state |= QStyle::State_Enabled;
  if (mode == 1) option.state |= QStyle::State_MouseOver;
  if (mode == 2) option.state |= QStyle::State_Sunken;
  if (index <= 16) option.state |= k >= 4 ? QStyle::State_On : QStyle::State_Off;
  else if (index <= 20) option.state |= QStyle::State_NoChange;
  QStyle::PrimitiveElement element = QStyle::PE_IndicatorCheckBox;
  int side = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widget);
  if (index <= 8) {
    element = QStyle::PE_IndicatorRadioButton;
    side = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &option, widget);
  } else if (index >= 21) {
    element = QStyle::PE_PanelButtonCommand;
    option.state |= mode == 2 ? QStyle::State_Sunken : QStyle::State_Raised;
    side = std::min(cell.width(), cell.height());
  }
  side = std::min({side, cell.width(), cell.height()});
  option.rect = QRect(cell.left() + (cell.width() - side) / 2, cell.top() + (cell.height() - side) / 2, side, side);
  style->drawPrimitive(element, &option, &canvas, widget);
  if (flat) {
    // A flat frame: one line of the shadow colour over the style's edge.
    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, element == QStyle::PE_IndicatorRadioButton);
    canvas.setPen(option.palette.color(QPalette::Dark));
    canvas.setBrush(Qt::NoBrush);
    if (element == QStyle::PE_IndicatorRadioButton)
      canvas.drawEllipse(QRectF(option.rect).adjusted(0.5, 0.5, -0.5, -0.5));
    else
      canvas.drawRect(option.rect.adjusted(0, 0, -1, -1));
    canvas.restore();
  }
}

void BuildSystemCheckImages(TLTImageList& list, bool flat, QStyle* style) {
  TLTImageList buttons(16, 16);
  LoadImageStrip(buttons, flat ? QStringLiteral("LT_FLAT") : QStringLiteral("LT_CHECK_DARK"), true);
  list.SetSize(16, 16);
  for (int i = 0; i <= 24; ++i) {
    QImage cell(16, 16, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::transparent);
    if (i >= 21) {
      cell = buttons.Image(i);
    } else if (i > 0) {
      QPainter p(&cell);
      DrawStyledCheckImage(p, cell.rect(), i, flat, style, nullptr);
    }
    list.Add(cell);
  }
}

int CheckImageIndexFor(TCheckType type, TCheckState state, bool enabled, bool hot) {
  if (type == ctNone) return -1;
  const bool pressed = state == csUncheckedPressed || state == csCheckedPressed || state == csMixedPressed;
  const bool mixed = state == csMixedNormal || state == csMixedPressed;
  const bool checked = state == csCheckedNormal || state == csCheckedPressed;
  // Each group of four: normal, hot, pressed, disabled.
  int base;
  if (mixed)
    base = 17;
  else if (type == ctRadioButton)
    base = checked ? 5 : 1;
  else if (type == ctButton)
    base = 21;
  else
    base = checked ? 13 : 9;
  if (!enabled) return base + 3;
  if (pressed) return base + 2;
  return hot ? base + 1 : base;
}

TCheckState PressedCheckState(TCheckState state) {
  switch (state) {
    case csUncheckedNormal:
    case csUncheckedPressed: return csUncheckedPressed;
    case csCheckedNormal:
    case csCheckedPressed: return csCheckedPressed;
    default: return csMixedPressed;
  }
}

TCheckState NormalCheckState(TCheckState state) {
  switch (state) {
    case csUncheckedNormal:
    case csUncheckedPressed: return csUncheckedNormal;
    case csCheckedNormal:
    case csCheckedPressed: return csCheckedNormal;
    default: return csMixedNormal;
  }
}
