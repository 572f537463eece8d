#pragma once
// What the tree's painting keeps between paints: the expand and collapse buttons (with
// the key of what they were drawn from), the 8 × 8 line pattern and the brushes made
// from it, and the off-screen image rows are painted into. The tree decides when they
// are redrawn (LazyTreesLines.cpp, LazyTreesPaint.cpp).
#include <QBrush>
#include <QImage>

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

class TLazyTreePaintResources {
public:
  using TLinePattern = std::array<std::uint8_t, 8>;

  // The buttons were drawn from what Key stands for.
  bool ButtonsDrawnFor(std::size_t Key) const { return Key == buttonsKey_ && !plusButton_.isNull(); }
  void SetButtonsKey(std::size_t Key) { buttonsKey_ = Key; }
  const QImage& Button(bool Expanded) const { return Expanded ? minusButton_ : plusButton_; }
  void SetButton(bool Expanded, const QImage& Image) { (Expanded ? minusButton_ : plusButton_) = Image; }

  // Row y's bit x set: the pixel is drawn. A new pattern forgets the brushes of the old.
  const TLinePattern& LinePattern() const { return linePattern_; }
  void SetLinePattern(const TLinePattern& Pattern);
  // A brush of Colour in the line pattern (solid when every bit is set); the last few
  // are kept.
  QBrush LineBrush(const QColor& Colour) const;

  // The row image at Pixels device pixels, made anew only when the size changes.
  QImage& RowImage(QSize Pixels, qreal Ratio);
  const QImage& RowImage() const { return rowImage_; }

private:
  QImage plusButton_;
  QImage minusButton_;
  std::size_t buttonsKey_ = 0;
  TLinePattern linePattern_{};
  mutable std::vector<std::pair<QRgb, QBrush>> lineBrushes_;  // by colour, for the current pattern
  QImage rowImage_;
};
