#pragma once
// How the memo's text layout measures text: one small interface, so the layout runs
// against a fixed-width fake in tests and against a real font on the 96-dpi measuring
// canvas in a build. Widths are in the canvas's pixels and include the character extra
// (the memo's CharSpacing) once after every character, the last one too, as the drawing
// adds it.
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <array>
#include <memory>

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

private:
  double Advance(char32_t c) const;

  QFont font_;
  QFontMetricsF metrics_;
  int pixelHeight_;
  int charExtra_;
  mutable std::array<double, 256> latin1_{};
  mutable std::array<bool, 256> latin1Known_{};
  mutable QHash<char32_t, double> others_;
};

// A measurer for `font` at `pixelHeight` with `charExtra`, shared with every caller
// asking for the same: printing rebuilds each page's objects afresh, and a measurer of
// their own would look up the font engine and measure each character again per object.
// The few fonts in use are kept, so the characters are measured once per run. Not
// thread-safe, as the measurer is not.
std::shared_ptr<const TrpFontMeasurer> rpSharedFontMeasurer(const QFont& font, int pixelHeight, int charExtra = 0);
