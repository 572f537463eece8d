#pragma once
// How the memo's text layout measures text: one small interface, so the layout runs
// against a fixed-width fake in tests and against a real font on the 96-dpi measuring
// canvas in a build. Widths are in the canvas's pixels and include the character extra
// (the memo's CharSpacing) once after every character, the last one too, as the drawing
// adds it.
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QRawFont>
#include <QStringView>

#include <array>
#include <memory>

// A line laid out as the font's shaping lays it out (TrpFontMeasurer::ShapedLine).
struct TrpShapedLine {
  QList<quint32> glyphs;
  QList<QPointF> positions;  // from the line's start on its baseline
  double width = 0;
  QRectF ink;  // what the glyphs cover, from the line's start on its baseline
};

class TrpTextMeasurer {
public:
  virtual ~TrpTextMeasurer() = default;
  // The advance of one code point plus the character extra.
  virtual double CharWidth(char32_t c) const = 0;
  // The width of a run of text as one piece (kerning may make it narrower than the sum
  // of its characters); O(length).
  virtual double TextWidth(QStringView text) const = 0;
  // The font's pixel height: the em height the font was asked for, without the leading.
  // The line step of a memo is its LineSpacing plus this.
  virtual int PixelHeight() const = 0;
  // From the top of a line to its baseline, for painters that draw at the baseline.
  virtual double Ascent() const = 0;
};

// The pixel height of a font of `pointSize` on the 96-dpi measuring canvas, times the
// drawing scale: round(size × 96 / 72 × scale), halves to even.
int rpMeasuringPixelHeight(double pointSize, double scale = 1.0);

// A real font at a fixed pixel height. Single characters are measured once and kept,
// so wrapping long texts costs one table look-up per character. Needs the running
// QGuiApplication, as every font does; not thread-safe.
class TrpFontMeasurer : public TrpTextMeasurer {
public:
  // `font` gives family and style; its size is replaced by `pixelHeight`. `charExtra`
  // is added after every character; the painter that draws the text is to carry it as
  // the font's absolute letter spacing.
  TrpFontMeasurer(const QFont& font, int pixelHeight, int charExtra = 0);

  double CharWidth(char32_t c) const override;
  double TextWidth(QStringView text) const override;
  int PixelHeight() const override { return pixelHeight_; }
  double Ascent() const override { return metrics_.ascent(); }
  double Descent() const { return metrics_.descent(); }

  // The font as measured (pixel size set, no letter spacing).
  const QFont& Font() const { return font_; }

  // A line of text as the font's shaping lays it out, when that is known without
  // shaping it: every character is Latin-1 and printable, the font itself has its glyph
  // (no fallback font), and each pair of neighbours was seen to shape into those two
  // glyphs (no ligature), the second where the first one's advance, kerned, ends. Then
  // the glyphs, their positions from the line's start and the line's width are the
  // shaping's own, learned once per character and per pair; false for any other text
  // (and the empty line). O(length).
  bool ShapedLine(QStringView text, TrpShapedLine& line) const;
  // The font the shaped glyphs belong to.
  const QRawFont& RawFont() const;

private:
  double Advance(char32_t c) const;
  // What shaping gives for one printable Latin-1 character and for a pair of them.
  struct ShapedChar {
    bool known = false, simple = false;
    quint32 glyph = 0;
    double advance = 0;  // the glyph's advance when nothing follows it
    QRectF ink;          // the glyph's outline box from its origin
  };
  const ShapedChar& Shaped(char16_t c) const;
  // The distance from the first glyph's origin to the second's, or NaN when the pair
  // does not shape one to one.
  double PairStep(char16_t a, char16_t b) const;
  bool ShapedWidth(QStringView text, double& width) const;
  // Walks the text glyph by glyph with the kerned pen position; false where a character
  // or pair does not shape one to one.
  template <class EachGlyph>
  bool WalkShaped(QStringView text, double& width, EachGlyph eachGlyph) const;

  QFont font_;
  QFontMetricsF metrics_;
  int pixelHeight_;
  int charExtra_;
  mutable std::array<double, 256> latin1_{};
  mutable std::array<bool, 256> latin1Known_{};
  mutable QHash<char32_t, double> others_;
  mutable bool rawKnown_ = false;
  mutable QRawFont raw_;
  mutable std::array<ShapedChar, 256> shaped_{};
  // Pair steps by first character, each row made when its first pair is met; NaN
  // marks a step not yet learned.
  mutable std::array<std::unique_ptr<std::array<double, 256>>, 256> pairs_;
};

// A measurer for `font` at `pixelHeight` with `charExtra`, shared with every caller
// asking for the same: printing rebuilds each page's objects afresh, and a measurer of
// their own would look up the font engine and measure each character again per object.
// The few fonts in use are kept, so the characters are measured once per run. Not
// thread-safe, as the measurer is not.
std::shared_ptr<const TrpFontMeasurer> rpSharedFontMeasurer(const QFont& font, int pixelHeight, int charExtra = 0);
