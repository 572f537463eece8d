#include "report/engine/RP_TextMeasurer.h"

#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

QFont AtPixelHeight(QFont font, int pixelHeight) {
  font.setPixelSize(std::max(1, pixelHeight));
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0);
  // Measuring must not depend on the screen the program happens to run on.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

qsizetype CodePointCount(QStringView text) {
  qsizetype count = text.size();
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i].isHighSurrogate() && text[i + 1].isLowSurrogate()) {
      --count;
      ++i;
    }
  }
  return count;
}

}  // namespace

int rpMeasuringPixelHeight(double pointSize, double scale) {
  return static_cast<int>(std::nearbyint(pointSize * 96.0 / 72.0 * scale));
}

TrpFontMeasurer::TrpFontMeasurer(const QFont& font, int pixelHeight, int charExtra)
    : font_(AtPixelHeight(font, pixelHeight)), metrics_(font_), pixelHeight_(pixelHeight), charExtra_(charExtra) {}

double TrpFontMeasurer::Advance(char32_t c) const {
  if (c < 256) {
    if (!latin1Known_[c]) {
      latin1_[c] = metrics_.horizontalAdvance(QChar(static_cast<char16_t>(c)));
      latin1Known_[c] = true;
    }
    return latin1_[c];
  }
  const auto found = others_.constFind(c);
  if (found != others_.cend()) return *found;
  const double width = metrics_.horizontalAdvance(QString::fromUcs4(&c, 1));
  others_.insert(c, width);
  return width;
}

double TrpFontMeasurer::CharWidth(char32_t c) const { return Advance(c) + charExtra_; }

double TrpFontMeasurer::TextWidth(QStringView text) const {
  if (text.isEmpty()) return 0;
  double width = 0;
  if (!ShapedWidth(text, width)) width = metrics_.horizontalAdvance(text.toString());
  return width + static_cast<double>(charExtra_) * CodePointCount(text);
}

namespace {

// Control characters take part in line breaking and tabs; the rest of Latin-1 is text.
bool Printable(char16_t c) { return c >= 0x20 && c < 0x100 && !(c >= 0x7F && c < 0xA0); }

// The glyph runs the toolkit's own shaping gives for `text` on one line.
QList<QGlyphRun> ShapeOnOneLine(const QString& text, const QFont& font) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return layout.glyphRuns();
}

}  // namespace

const QRawFont& TrpFontMeasurer::RawFont() const {
  if (!rawKnown_) {
    raw_ = QRawFont::fromFont(font_);
    rawKnown_ = true;
  }
  return raw_;
}

const TrpFontMeasurer::ShapedChar& TrpFontMeasurer::Shaped(char16_t c) const {
  ShapedChar& shaped = shaped_[c];
  if (shaped.known) return shaped;
  shaped.known = true;
  const QString text(QChar{c});
  const QList<QGlyphRun> runs = ShapeOnOneLine(text, font_);
  if (runs.size() != 1 || runs[0].glyphIndexes().size() != 1 || runs[0].rawFont() != RawFont()) return shaped;
  shaped.glyph = runs[0].glyphIndexes()[0];
  shaped.advance = metrics_.horizontalAdvance(text);
  shaped.ink = RawFont().boundingRect(shaped.glyph);
  shaped.simple = true;
  return shaped;
}

double TrpFontMeasurer::PairStep(char16_t a, char16_t b) const {
  constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
  auto& row = pairs_[a];
  if (!row) {
    row = std::make_unique<std::array<double, 256>>();
    row->fill(kUnknown);
  }
  double& step = (*row)[b];
  if (!std::isnan(step)) return step;
  step = -std::numeric_limits<double>::infinity();  // not one to one, unless shown below
  const QList<QGlyphRun> runs = ShapeOnOneLine(QString(QChar{a}) + QChar{b}, font_);
  if (runs.size() != 1 || runs[0].rawFont() != RawFont()) return step;
  const QList<quint32> glyphs = runs[0].glyphIndexes();
  const QList<QPointF> positions = runs[0].positions();
  if (glyphs.size() != 2 || positions.size() != 2 || glyphs[0] != Shaped(a).glyph || glyphs[1] != Shaped(b).glyph ||
      positions[0].y() != positions[1].y()) {
    return step;
  }
  step = positions[1].x() - positions[0].x();
  return step;
}

template <class EachGlyph>
bool TrpFontMeasurer::WalkShaped(QStringView text, double& width, EachGlyph eachGlyph) const {
  double x = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (!Printable(c) || !Shaped(c).simple) return false;
    const ShapedChar& shaped = Shaped(c);
    eachGlyph(i, shaped, x);
    if (i + 1 < text.size()) {
      const char16_t next = text[i + 1].unicode();
      if (!Printable(next)) return false;
      const double step = PairStep(c, next);
      if (std::isinf(step)) return false;
      x += step;
    } else {
      x += shaped.advance;
    }
  }
  width = x;
  return true;
}

bool TrpFontMeasurer::ShapedWidth(QStringView text, double& width) const {
  if (text.isEmpty()) return false;
  return WalkShaped(text, width, [](qsizetype, const ShapedChar&, double) {});
}

bool TrpFontMeasurer::ShapedLine(QStringView text, TrpShapedLine& line) const {
  if (text.isEmpty() || !RawFont().isValid()) return false;
  line.glyphs.resize(text.size());
  line.positions.resize(text.size());
  line.ink = QRectF();
  return WalkShaped(text, line.width, [&line](qsizetype i, const ShapedChar& shaped, double x) {
    line.glyphs[i] = shaped.glyph;
    line.positions[i] = QPointF(x, 0);
    if (!shaped.ink.isEmpty()) line.ink |= shaped.ink.translated(x, 0);
  });
}

std::shared_ptr<const TrpFontMeasurer> rpSharedFontMeasurer(const QFont& font, int pixelHeight, int charExtra) {
  // More fonts than a report uses: past it the table starts again rather than grow.
  constexpr qsizetype kKept = 32;
  static QHash<QString, std::shared_ptr<const TrpFontMeasurer>> kept;
  const QString key = AtPixelHeight(font, pixelHeight).key() + u'|' + QString::number(pixelHeight) + u'|' +
                      QString::number(charExtra);
  const auto found = kept.constFind(key);
  if (found != kept.cend()) return *found;
  if (kept.size() >= kKept) kept.clear();
  auto measurer = std::make_shared<const TrpFontMeasurer>(font, pixelHeight, charExtra);
  kept.insert(key, measurer);
  return measurer;
}
