// What painting keeps between paints: brushes follow the line pattern, and the row
// image is made anew only when its size changes.
#include "treeview/LazyTreePaintResources.h"

#include <gtest/gtest.h>

namespace {

TEST(PaintResources, LineBrushesFollowThePattern) {
  TLazyTreePaintResources paint;
  TLazyTreePaintResources::TLinePattern solid;
  solid.fill(0xFF);
  paint.SetLinePattern(solid);
  const QBrush plain = paint.LineBrush(Qt::red);
  EXPECT_EQ(plain.style(), Qt::SolidPattern);
  EXPECT_EQ(plain.color(), QColor(Qt::red));

  TLazyTreePaintResources::TLinePattern dotted;
  for (int row = 0; row < 8; ++row) dotted[row] = row % 2 == 0 ? 0x55 : 0xAA;
  paint.SetLinePattern(dotted);  // the solid red brush is forgotten
  const QBrush dots = paint.LineBrush(Qt::red);
  ASSERT_EQ(dots.style(), Qt::TexturePattern);
  const QImage texture = dots.textureImage();
  EXPECT_EQ(texture.pixel(0, 0), QColor(Qt::red).rgba());  // bit 0 of row 0
  EXPECT_EQ(qAlpha(texture.pixel(1, 0)), 0);
  EXPECT_EQ(qAlpha(texture.pixel(0, 1)), 0);                 // row 1 starts one pixel on
  EXPECT_EQ(texture.pixel(1, 1), QColor(Qt::red).rgba());
}

TEST(PaintResources, ButtonsAreCurrentOnlyForTheirKeyOnceDrawn) {
  TLazyTreePaintResources paint;
  paint.SetButtonsKey(42);
  EXPECT_FALSE(paint.ButtonsDrawnFor(42));  // nothing drawn yet
  QImage plus(9, 9, QImage::Format_ARGB32);
  paint.SetButton(false, plus);
  EXPECT_TRUE(paint.ButtonsDrawnFor(42));
  EXPECT_FALSE(paint.ButtonsDrawnFor(43));
  EXPECT_EQ(paint.Button(false).size(), QSize(9, 9));
  EXPECT_TRUE(paint.Button(true).isNull());
}

TEST(PaintResources, TheRowImageIsReusedWhileItsSizeStays) {
  TLazyTreePaintResources paint;
  const qint64 first = paint.RowImage(QSize(100, 18), 1.0).cacheKey();
  EXPECT_EQ(paint.RowImage(QSize(100, 18), 1.0).cacheKey(), first);
  QImage& bigger = paint.RowImage(QSize(200, 36), 2.0);
  EXPECT_NE(bigger.cacheKey(), first);
  EXPECT_EQ(bigger.size(), QSize(200, 36));
  EXPECT_EQ(bigger.devicePixelRatio(), 2.0);
}

}  // namespace
