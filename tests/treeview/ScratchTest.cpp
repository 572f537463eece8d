#include "TreeFixture.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"
#include <QPainter>
#include <QTest>

namespace {
class DrawTree : public TCustomLazyDrawTree {
public:
  DrawTree() {
    SetNodeDataSize(sizeof(int));
    OnInitNode = [this](TBaseLazyTree*, PLazyNode parent, PLazyNode node, TLazyNodeInitStates& states) {
      if (!parent && node->Index < 3) states.Include(ivsHasChildren);
      if (parent && parent->Parent == RootNode() && node->Index == 1) states.Include(ivsHasChildren);
      node->CheckType = ctCheckBox;
      node->CheckState = node->Index % 3 == 0 ? csCheckedNormal : node->Index % 3 == 1 ? csUncheckedNormal : csMixedNormal;
    };
    OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& c) { c = 3; };
    OnDrawNode = [](TBaseLazyTree*, const TLTPaintInfo& info) {
      info.Canvas->drawText(info.ContentRect, Qt::AlignVCenter, QStringLiteral("Node %1 c%2").arg(info.Node->Index).arg(info.Column));
    };
    OnGetNodeWidth = [](TBaseLazyTree*, PLazyNode, int, int& w) { w = 60; };
  }
};
}

TEST(Scratch, Shot) {
  for (int themed = 0; themed < 2; ++themed) {
  DrawTree tree;
  tree.resize(500, 300);
  auto& h = tree.Header();
  for (int i = 0; i < 4; ++i) {
    auto* c = h.Columns().Add();
    c->SetText(QStringLiteral("Column number %1").arg(i));
    c->SetWidth(110);
  }
  h.Columns()[2]->SetAlignment(taRightJustify);
  h.SetOptions(h.Options() + TLTHeaderOptions{hoVisible, hoShowSortGlyphs, hoHotTrack});
  h.SetHeight(20);
  h.SetSortColumn(1);
  auto paint = tree.TreeOptions().PaintOptions() + TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines};
  if (!themed) paint.Exclude(toThemeAware);
  tree.TreeOptions().SetPaintOptions(paint);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  tree.SetCheckImageKind(ckDarkTick);
  tree.SetRootNodeCount(6);
  tree.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
  tree.SetExpanded(tree.GetFirst(), true);
  tree.SetExpanded(tree.GetFirst()->FirstChild->NextSibling, true);
  tree.setFocus();
  tree.SetFocusedNode(tree.GetFirst()->NextSibling);
  tree.SetNodeSelected(tree.GetFirst()->NextSibling, true);
  tree.SetFocusedColumn(0);
  QApplication::processEvents();
  tree.grab().save(QStringLiteral("/tmp/shots/tree%1.png").arg(themed));
  }
}
