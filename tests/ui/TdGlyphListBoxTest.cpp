// The list box with a picture per item: the parallel list of pictures and the drawing.
#include "TaskImagesForTests.h"
#include "ui/TdGlyphListBox.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QPixmap Square(const QColor& colour) {
  QPixmap pixmap(16, 16);
  pixmap.fill(colour);
  return pixmap;
}

}  // namespace

TEST(GlyphListBox, PicturesRunParallelToTheItems) {
  TGlyphListBox box;
  box.addItems({"a", "b", "c"});
  box.SetItemGlyph(3, Square(Qt::red));
  EXPECT_EQ(box.GlyphCount(), 0) << "an index past the items is ignored";
  box.SetItemGlyph(1, Square(Qt::red));
  EXPECT_EQ(box.GlyphCount(), 3) << "padded up to the item count";
  EXPECT_TRUE(box.GetItemGlyph(0).isNull());
  EXPECT_EQ(CentreColor(box.GetItemGlyph(1).toImage()), QColor(Qt::red));
  EXPECT_TRUE(box.GetItemGlyph(7).isNull());
  box.SetItemGlyph(2, Square(Qt::blue));

  box.DeleteItemGlyph(1);
  delete box.takeItem(1);
  EXPECT_EQ(CentreColor(box.GetItemGlyph(1).toImage()), QColor(Qt::blue)) << "the later pictures move up";
  box.DeleteItemGlyph(9);
  EXPECT_EQ(box.GlyphCount(), 2);
}

TEST(GlyphListBox, DrawsThePictureLeftAndTheTextBesideIt) {
  TGlyphListBox box;
  box.resize(200, 100);
  box.addItems({"with picture", "without"});
  box.SetItemGlyph(0, Square(Qt::red));
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  const QImage shot = box.viewport()->grab().toImage();
  const QRect first = box.visualItemRect(box.item(0));
  EXPECT_EQ(first.height(), box.ItemHeight());
  EXPECT_EQ(shot.pixelColor(first.left() + 2 + 8, first.top() + 8), QColor(Qt::red));
  EXPECT_NE(shot.pixelColor(first.left() + 1, first.top() + 8), QColor(Qt::red)) << "2 pixels in";

  // The text starts 6 pixels after the picture, or 2 pixels in without one.
  const auto firstInk = [&](const QRect& rect) {
    for (int x = rect.left(); x < rect.right(); ++x)
      for (int y = rect.top(); y <= rect.bottom(); ++y)
        if (shot.pixelColor(x, y) != box.palette().base().color() && shot.pixelColor(x, y) != QColor(Qt::red))
          return x - rect.left();
    return -1;
  };
  EXPECT_GE(firstInk(first), 16 + 6);
  EXPECT_LT(firstInk(first), 16 + 6 + 4);
  const int plain = firstInk(box.visualItemRect(box.item(1)));
  EXPECT_GE(plain, 2);
  EXPECT_LT(plain, 2 + 4);
}

TEST(GlyphListBox, ScrollWidthSetsHowFarTheListScrollsSideways) {
  TGlyphListBox box;
  box.resize(120, 100);
  box.addItems({"a", "b"});
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
  box.SetScrollWidth(500);
  QTest::qWait(0);
  EXPECT_EQ(box.ScrollWidth(), 500);
  EXPECT_GT(box.horizontalScrollBar()->maximum(), 300);
  box.SetScrollWidth(0);
  QTest::qWait(0);
  EXPECT_EQ(box.horizontalScrollBar()->maximum(), 0);
}
