#include "controls/FmPanel.h"
#include "QtPrinters.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

TEST(FmCustomPanel, ClientRectLeavesOutEveryBorder) {
  const struct {
    TFrameStyle outer, inner;
    int width, bevel;
    TSides sides, frameSides;
    QRect client;
  } cases[] = {
      {fsRaised, fsNone, 0, 1, AllSides, {}, QRect(2, 2, 96, 46)},  // the defaults
      {fsNone, fsNone, 0, 1, AllSides, {}, QRect(0, 0, 100, 50)},
      {fsFlat, fsLowered, 3, 1, AllSides, {}, QRect(6, 6, 88, 38)},
      {fsStatus, fsPopup, 0, 3, AllSides, {}, QRect(6, 6, 88, 38)},
      {fsStatus, fsNone, 0, 0, AllSides, {}, QRect(0, 0, 100, 50)},
      {fsRaised, fsNone, 0, 1, TSides(sdTop | sdLeft), {}, QRect(2, 2, 98, 48)},
      {fsNone, fsNone, 0, 1, AllSides, TSides(sdBottom | sdRight), QRect(0, 0, 99, 49)},
      {fsGroove, fsNone, 2, 1, TSides(sdRight), TSides(sdLeft), QRect(3, 2, 93, 46)},
  };
  for (const auto& c : cases) {
    TFmCustomPanel panel;
    panel.resize(100, 50);
    panel.SetBorderOuter(c.outer);
    panel.SetBorderInner(c.inner);
    panel.SetBorderWidth(c.width);
    panel.SetBevelWidth(c.bevel);
    panel.SetBorderSides(c.sides);
    panel.SetFrameSides(c.frameSides);
    EXPECT_EQ(panel.ClientRect(), c.client) << c.outer << "/" << c.inner;
    EXPECT_EQ(panel.contentsRect(), c.client) << "children are laid out inside the borders";
  }
}

TEST(FmCustomPanel, PaintsBordersInOrderAndEmbossesADisabledCaption) {
  DistinctPalette palette;
  TFmCustomPanel panel;
  panel.resize(8, 7);
  panel.SetBorderOuter(fsFlat);
  panel.SetFlatColor(QColor(0xff000020));
  panel.SetBorderWidth(1);
  panel.SetBorderColor(QColor(0xffa0a000));
  panel.SetBorderInner(fsStatus);
  panel.SetColor(QColor(0xfff0f0ff));
  panel.SetCaption(QStringLiteral("Notes"));

  GridCanvas enabled(8, 7, DistinctPalette::Legend());
  panel.PaintTo(enabled);
  EXPECT_EQ(enabled.Rows(), (QStringList{"XXXXXXXX", "XPPPPPPX", "XPSSSHPX", "XPSWWHPX", "XPHHHHPX", "XPPPPPPX",
                                         "XXXXXXXX"}));
  ASSERT_EQ(enabled.texts.size(), 1u);
  EXPECT_EQ(enabled.texts[0].rect, QRect(3, 3, 2, 1));

  panel.setEnabled(false);
  GridCanvas disabled(8, 7, DistinctPalette::Legend());
  panel.PaintTo(disabled);
  ASSERT_EQ(disabled.texts.size(), 2u);
  EXPECT_EQ(disabled.texts[0].rect, QRect(4, 4, 2, 1));  // highlight one pixel down and right
  EXPECT_EQ(disabled.texts[0].color, panel.BorderHighlight());
  EXPECT_EQ(disabled.texts[1].rect, QRect(3, 3, 2, 1));
  EXPECT_EQ(disabled.texts[1].color, panel.BorderShadow());
}

}  // namespace
