// Line brushes from the pattern, and the row image.
#include "treeview/LazyTreePaintResources.h"

void TLazyTreePaintResources::SetLinePattern(const TLinePattern& pattern) {
  lineBrushes_.clear();
  linePattern_ = pattern;
}

QBrush TLazyTreePaintResources::LineBrush(const QColor& colour) const {
  const QRgb key = colour.rgba();
  for (const auto& [rgb, brush] : lineBrushes_)
    if (rgb == key) return brush;
  bool solid = true;
  for (std::uint8_t row : linePattern_) solid = solid && row == 0xFF;
  QBrush brush(colour);
  if (!solid) {
    QImage pattern(8, 8, QImage::Format_ARGB32_Premultiplied);
    pattern.fill(Qt::transparent);
    const QRgb premultiplied = qPremultiply(key);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if ((linePattern_[std::size_t(y)] >> x) & 1) pattern.setPixel(x, y, premultiplied);
    brush = QBrush(pattern);
  }
  // Grid and tree lines use a colour or two: a short list is enough.
  if (lineBrushes_.size() >= 4) lineBrushes_.erase(lineBrushes_.begin());
  lineBrushes_.emplace_back(key, brush);
  return brush;
}

QImage& TLazyTreePaintResources::RowImage(QSize pixels, qreal ratio) {
  if (rowImage_.size() != pixels) {
    rowImage_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    rowImage_.setDevicePixelRatio(ratio);
  }
  return rowImage_;
}
