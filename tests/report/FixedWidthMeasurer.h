#pragma once
// A measuring canvas with made-up metrics: every code point is `charWidth` pixels wide
// unless given a width of its own, plus the character extra; so tables of layout cases
// can be worked out by hand.
#include "report/engine/RP_TextMeasurer.h"

#include <map>

class FixedWidthMeasurer : public TrpTextMeasurer {
public:
  explicit FixedWidthMeasurer(int charWidth = 10, int pixelHeight = 13, int charExtra = 0)
      : charWidth_(charWidth), pixelHeight_(pixelHeight), charExtra_(charExtra) {}

  FixedWidthMeasurer& With(char32_t c, int width) {
    widths_[c] = width;
    return *this;
  }

  double CharWidth(char32_t c) const override {
    const auto found = widths_.find(c);
    return (found != widths_.end() ? found->second : charWidth_) + charExtra_;
  }
  double TextWidth(QStringView text) const override {
    double width = 0;
    for (char32_t c : text.toUcs4()) width += CharWidth(c);
    return width;
  }
  int PixelHeight() const override { return pixelHeight_; }
  double Ascent() const override { return pixelHeight_ * 0.8; }

private:
  int charWidth_;
  int pixelHeight_;
  int charExtra_;
  std::map<char32_t, int> widths_;
};
