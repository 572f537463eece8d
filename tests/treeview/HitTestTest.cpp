// Hit tests at every part of a row, left to right and mirrored for right-to-left cells.
#include "TreeFixture.h"

#include <QTest>

namespace {

// A tree whose rows have a check box, a state and a normal image and a 40-pixel label.
class ImageTree : public TestTree {
public:
  bool rightToLeft = false;

protected:
  bool ColumnIsRightToLeft(int) const override { return rightToLeft; }
  int ImageWidth(PLazyNode, int, TLTImageKind) override { return 16; }
  int DoGetNodeWidth(PLazyNode, int) override { return 40; }
};

class HitTest : public ::testing::Test {
protected:
  void SetUp() override {
    tree.shape = {{"", 2}, {"0", 2}, {"0.1", 1}};
    tree.expanded = {"0"};
    tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
    tree.resize(300, 200);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.Build();
    node = tree.At("0.1");  // level 1 with a child: indent 0-17, button 18-35
    node->CheckType = ctCheckBox;
  }
  THitPositions At(int x) {
    THitInfo hit;
    tree.HitTestAt(x, tree.NodeTop(node) + 5, true, hit);
    EXPECT_EQ(hit.HitNode, node);
    return hit.HitPositions;
  }
  ImageTree tree;
  PLazyNode node = nullptr;
};

TEST_F(HitTest, EveryPartOfARowInBothDirections) {
  // Left to right: indent 0..17, button 18..35, margin 36..39 counts with the check box
  // (to 57), state image 58..75, normal image 76..93, then the 40-pixel label.
  struct Case {
    int x;  // from the left edge for left-to-right cells, mirrored for right-to-left ones
    TLTAlignment alignment;
    THitPosition part;
  };
  const int cw = tree.ClientWidth();
  const int spaceStart = 94, space = cw - spaceStart;
  const Case cases[] = {
      {0, taLeftJustify, hpOnIndent},
      {17, taLeftJustify, hpOnIndent},
      {18, taLeftJustify, hpOnButton},
      {35, taLeftJustify, hpOnButton},
      {37, taLeftJustify, hpOnCheckBox},
      {57, taLeftJustify, hpOnCheckBox},
      {58, taLeftJustify, hpOnStateIcon},
      {76, taLeftJustify, hpOnNormalIcon},
      {94, taLeftJustify, hpOnLabel},
      {133, taLeftJustify, hpOnLabel},
      {134, taLeftJustify, hpRightOfLabel},
      {cw - 41, taRightJustify, hpLeftOfLabel},
      {cw - 40, taRightJustify, hpOnLabel},
      {spaceStart + (space - 40) / 2 - 1, taCenter, hpLeftOfLabel},
      {spaceStart + (space - 40) / 2, taCenter, hpOnLabel},
      {spaceStart + (space - 40) / 2 + 40, taCenter, hpRightOfLabel},
  };
  for (bool rtl : {false, true}) {
    tree.rightToLeft = rtl;
    for (const Case& c : cases) {
      tree.SetAlignment(c.alignment);
      THitPosition expected = c.part;
      // Before the label in reading order lies right of it on the screen.
      if (rtl && expected == hpLeftOfLabel) expected = hpRightOfLabel;
      else if (rtl && expected == hpRightOfLabel) expected = hpLeftOfLabel;
      const THitPositions hit = At(rtl ? cw - 1 - c.x : c.x);
      EXPECT_TRUE(hit.Contains(hpOnItem));
      EXPECT_TRUE(hit.Contains(expected)) << (rtl ? "rtl " : "ltr ") << c.x << " wanted " << int(expected)
                                          << " got bits " << hit.Bits();
    }
  }
}

TEST_F(HitTest, ALabelWiderThanItsSpaceIsAllLabel) {
  tree.resize(120 + tree.width() - tree.ClientWidth(), 200);
  tree.SetAlignment(taCenter);
  EXPECT_TRUE(At(100).Contains(hpOnLabel));
  EXPECT_TRUE(At(tree.ClientWidth() - 1).Contains(hpOnLabel));
}

TEST_F(HitTest, WithoutButtonsOrChecksTheAreasCollapse) {
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() - TLTPaintOptions{toShowButtons});
  EXPECT_TRUE(At(20).Contains(hpOnIndent));
  node->CheckType = ctNone;
  EXPECT_TRUE(At(40).Contains(hpOnStateIcon));  // the check box's place is gone
}

TEST_F(HitTest, PointsOutsideTheRows) {
  struct Case {
    QPoint p;
    THitPosition part;
  };
  const Case cases[] = {
      {{-1, 5}, hpToLeft},
      {{5, -1}, hpAbove},
      {{tree.ClientWidth() + 5, 5}, hpToRight},
      {{5, tree.ClientHeight() + 5}, hpBelow},
      {{5, tree.ClientHeight() - 2}, hpNowhere},  // below the last row, inside the window
  };
  for (const Case& c : cases) {
    THitInfo hit;
    tree.HitTestAt(c.p.x(), c.p.y(), true, hit);
    EXPECT_TRUE(hit.HitPositions.Contains(c.part)) << c.p.x() << "," << c.p.y();
    EXPECT_EQ(hit.HitNode, nullptr);
  }
}

}  // namespace
