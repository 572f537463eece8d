// Rows painted offscreen and compared with stored pictures, pixel by pixel with a small
// tolerance: a flat list with grid lines and a focused, selected row; a three-level tree
// with lines and buttons; check boxes in every state; a right-to-left tree. Owners draw
// plain boxes instead of text, so no font takes part.
#include "TreeFixture.h"

#include "support/GoldenPicture.h"

#include "treeview/LazyTreeHeader.h"

#include <QDir>
#include <QPainter>
#include <QTest>

namespace {

constexpr int kTolerance = 8;  // per channel

// Compares with golden/<name>.png; VELMORA_UPDATE_GOLDEN=1 stores the picture instead.
void ExpectGolden(const QImage& actual, const QString& name) {
  EXPECT_TRUE(golden::MatchesGolden(actual.convertToFormat(QImage::Format_RGB32), QStringLiteral(VELMORA_TREEVIEW_GOLDEN),
                                    name, {kTolerance, 0}, QDir::tempPath()));
}

// Owner boxes: each cell's content as a bar in a colour of its column.
class BoxTree : public TCustomLazyDrawTree {
public:
  BoxTree() {
    ScrollBarOptions().SetScrollBars(ssNone);
    SetBorderStyle(bsNone);
    TreeOptions().SetPaintOptions(TreeOptions().PaintOptions() - TLTPaintOptions{toThemeAware} +
                                  TLTPaintOptions{toPopupMode});
    OnGetNodeWidth = [](TBaseLazyTree*, PLazyNode node, int column, int& width) {
      width = 24 + 6 * int(node->Index % 3) + 4 * std::max(column, 0);
    };
    OnDrawNode = [](TBaseLazyTree* tree, const TLTPaintInfo& info) {
      static const QColor colours[] = {QColor(70, 110, 160), QColor(160, 90, 60), QColor(60, 140, 80)};
      QRect bar = info.ContentRect.adjusted(0, 6, 0, -6);
      int w = 0;
      static_cast<BoxTree*>(tree)->OnGetNodeWidth(tree, info.Node, info.Column, w);
      if (info.BidiMode == bdLeftToRight)
        bar.setWidth(std::min(w, bar.width()));
      else
        bar.setLeft(bar.right() + 1 - std::min(w, bar.width()));
      info.Canvas->fillRect(bar, colours[std::max(info.Column, 0) % 3]);
    };
  }
  QImage Rows() {
    viewport()->repaint();
    return viewport()->grab().toImage();
  }
};

void Show(QWidget& w, QSize size) {
  w.resize(size);
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
}

TEST(Golden, FlatListWithGridLinesAndAFocusedSelectedRow) {
  BoxTree tree;
  for (int width : {90, 70, 80}) tree.Columns().Add()->SetWidth(width);
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() -
                                     TLTPaintOptions{toShowRoot, toShowTreeLines, toShowButtons} +
                                     TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines});
  tree.Colors().SetColor(TLTColors::GridLineColor, QColor(150, 150, 150));
  tree.SetRootNodeCount(5);
  Show(tree, QSize(260, 100));
  PLazyNode third = tree.GetNextSiblingNode(tree.GetNextSiblingNode(tree.GetFirst()));
  tree.SetNodeSelected(third, true);
  tree.SetFocusedNode(third);
  tree.SetFocusedColumn(1);
  ExpectGolden(tree.Rows(), QStringLiteral("flat-grid-selected"));
}

TEST(Golden, ThreeLevelTreeWithLinesAndButtons) {
  BoxTree tree;
  tree.SetNodeDataSize(0);
  tree.OnInitNode = [&tree](TBaseLazyTree*, PLazyNode parent, PLazyNode node, TLazyNodeInitStates& states) {
    const unsigned level = tree.LevelOfNode(node);
    if (level < 2 && node->Index != 2) states.Include(ivsHasChildren);
    if (level == 0 && node->Index == 0) states.Include(ivsExpanded);
    if (level == 1 && node->Index == 1) states.Include(ivsExpanded);
    Q_UNUSED(parent);
  };
  tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& count) { count = 3; };
  tree.SetRootNodeCount(3);
  Show(tree, QSize(200, 9 * 18));
  ExpectGolden(tree.Rows(), QStringLiteral("three-level-lines-buttons"));
}

TEST(Golden, CheckBoxesInEveryState) {
  BoxTree tree;
  tree.SetCheckImageKind(ckDarkTick);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() - TLTPaintOptions{toShowTreeLines});
  struct Box {
    TCheckType type;
    TCheckState state;
    bool disabled;
  };
  static const Box boxes[] = {
      {ctCheckBox, csUncheckedNormal, false}, {ctCheckBox, csUncheckedPressed, false}, {ctCheckBox, csCheckedNormal, false},
      {ctCheckBox, csCheckedPressed, false},  {ctTriStateCheckBox, csMixedNormal, false},
      {ctTriStateCheckBox, csMixedPressed, false}, {ctCheckBox, csCheckedNormal, true}, {ctRadioButton, csUncheckedNormal, false},
      {ctRadioButton, csCheckedNormal, false}, {ctRadioButton, csCheckedNormal, true}, {ctButton, csUncheckedNormal, false},
      {ctButton, csUncheckedPressed, false},
  };
  tree.OnInitNode = [](TBaseLazyTree*, PLazyNode, PLazyNode node, TLazyNodeInitStates& states) {
    const Box& box = boxes[node->Index];
    node->CheckType = box.type;
    node->CheckState = box.state;
    if (box.disabled) states.Include(ivsDisabled);
  };
  tree.SetRootNodeCount(std::size(boxes));
  Show(tree, QSize(120, 12 * 18));
  ExpectGolden(tree.Rows(), QStringLiteral("check-boxes"));
}

TEST(Golden, RightToLeft) {
  BoxTree tree;
  tree.setLayoutDirection(Qt::RightToLeft);
  tree.SetCheckImageKind(ckLightCheck);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  tree.OnInitNode = [&tree](TBaseLazyTree*, PLazyNode, PLazyNode node, TLazyNodeInitStates& states) {
    node->CheckType = ctCheckBox;
    node->CheckState = node->Index == 1 ? csCheckedNormal : csUncheckedNormal;
    if (tree.LevelOfNode(node) == 0 && node->Index < 2) states.Include(ivsHasChildren);
    if (tree.LevelOfNode(node) == 0 && node->Index == 0) states.Include(ivsExpanded);
  };
  tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& count) { count = 2; };
  tree.SetRootNodeCount(3);
  Show(tree, QSize(200, 6 * 18));
  tree.SetNodeSelected(tree.GetFirst()->FirstChild, true);
  ExpectGolden(tree.Rows(), QStringLiteral("right-to-left"));
}

}  // namespace
