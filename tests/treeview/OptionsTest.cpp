// Option setters and their reactions, properties, the legacy option list, the small
// shared routines (text buffers, drop effect, panning cursor, popup search, animation).
#include "TreeFixture.h"

#include "treeview/LazyTreeAnimation.h"
#include "treeview/LazyTreeBuffers.h"

#include <QMenu>

namespace {

TEST(Options, NewTreeDefaults) {
  TBaseLazyTree tree;
  const TCustomLazyTreeOptions& o = tree.TreeOptions();
  EXPECT_EQ(o.PaintOptions(), DefaultPaintOptions);
  EXPECT_EQ(o.AutoOptions(), DefaultAutoOptions);
  EXPECT_EQ(o.MiscOptions(), DefaultMiscOptions);
  EXPECT_TRUE(o.SelectionOptions().Empty());
  EXPECT_EQ(tree.DefaultNodeHeight(), 18);
  EXPECT_EQ(tree.Indent(), 18);
  EXPECT_EQ(tree.Margin(), 4);
  EXPECT_EQ(tree.FocusedColumn(), -1);
  EXPECT_EQ(tree.NodeDataSize(), -1);
  EXPECT_EQ(tree.size(), QSize(200, 100));
  EXPECT_TRUE(tree.TreeStates().Contains(tsUseThemes));  // toThemeAware is on
}

TEST(Options, MultiSelectChangeClearsTheSelection) {
  TestTree tree;
  tree.SetRootNodeCount(3);
  tree.SetNodeSelected(tree.GetFirst(), true);
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  EXPECT_EQ(tree.SelectionCount(), 0u);

  tree.SetNodeSelected(tree.GetFirst(), true);
  tree.TreeOptions().SetSelectionOptions({toMultiSelect, toFullRowSelect});  // unrelated: kept
  EXPECT_EQ(tree.SelectionCount(), 1u);
  tree.TreeOptions().SetSelectionOptions({toMultiSelect, toFullRowSelect, toLevelSelectConstraint});
  EXPECT_EQ(tree.SelectionCount(), 0u);
  tree.SetNodeSelected(tree.GetFirst(), true);
  tree.TreeOptions().SetSelectionOptions({toMultiSelect, toFullRowSelect});  // a constraint lifted: kept
  EXPECT_EQ(tree.SelectionCount(), 1u);
}

TEST(Options, WithoutExtendedFocusTheMainColumnHasFocus) {
  TestTree tree;
  tree.TreeOptions().SetSelectionOptions({toExtendedFocus});
  tree.SetFocusedColumn(2);
  EXPECT_EQ(tree.FocusedColumn(), 2);
  tree.TreeOptions().SetSelectionOptions({});
  EXPECT_EQ(tree.FocusedColumn(), -1);  // no columns: the main column is -1
}

TEST(Options, AnimationDurationSwitchesTheToggleAnimation) {
  TBaseLazyTree tree;
  tree.SetAnimationDuration(150);
  EXPECT_TRUE(tree.TreeOptions().AnimationOptions().Contains(toAnimatedToggle));
  tree.SetAnimationDuration(0);
  EXPECT_FALSE(tree.TreeOptions().AnimationOptions().Contains(toAnimatedToggle));
}

TEST(Options, DefaultNodeHeightZeroMeansEighteenAndTheRootFollows) {
  TestTree tree;
  tree.SetRootNodeCount(2);
  tree.SetDefaultNodeHeight(30);
  EXPECT_EQ(tree.RootNode()->NodeHeight, 30);
  tree.SetDefaultNodeHeight(0);
  EXPECT_EQ(tree.DefaultNodeHeight(), 18);
  EXPECT_EQ(tree.RootNode()->NodeHeight, 18);
  EXPECT_TOTALS_AGREE(tree);
}

TEST(Options, LegacyListSetsEachNamedOptionInItsSet) {
  TBaseLazyTree tree;
  tree.TreeOptions().ReadLegacyOptions({"voShowRoot", "voMultiSelect", "voAnimatedToggle", "voCheckSupport",
                                        "voAutoSort", "voNoSuchThing"});
  const TCustomLazyTreeOptions& o = tree.TreeOptions();
  EXPECT_EQ(o.PaintOptions(), TLTPaintOptions{toShowRoot});
  EXPECT_EQ(o.SelectionOptions(), TLTSelectionOptions{toMultiSelect});
  EXPECT_EQ(o.AnimationOptions(), TLTAnimationOptions{toAnimatedToggle});
  EXPECT_EQ(o.MiscOptions(), TLTMiscOptions{toCheckSupport});
  EXPECT_EQ(o.AutoOptions(), TLTAutoOptions{toAutoSort});
}

TEST(Options, OnlyRegularScrollBarsExist) {
  TBaseLazyTree tree;
  try {
    tree.ScrollBarOptions().SetScrollBarStyle(sbmFlat);
    FAIL() << "flat scroll bars were accepted";
  } catch (const ELazyTreeError& e) {
    EXPECT_TRUE(e.Message().startsWith("Flat scrollbars styles are disabled."));
  }
  EXPECT_EQ(tree.ScrollBarOptions().ScrollBarStyle(), sbmRegular);
}

TEST(Options, ScrollBarChoiceSetsThePolicies) {
  TBaseLazyTree tree;
  tree.ScrollBarOptions().SetScrollBars(ssVertical);
  EXPECT_EQ(tree.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_EQ(tree.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  tree.ScrollBarOptions().SetAlwaysVisible(true);
  EXPECT_EQ(tree.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(Options, AssigningATreeCopiesItsProperties) {
  TBaseLazyTree source, target;
  source.SetIndent(30);
  source.SetChangeDelay(70);
  source.SetMargin(9);
  source.TreeOptions().SetPaintOptions({toShowRoot});
  source.Colors().SetColor(TLTColors::GridLineColor, Qt::red);
  source.SetNodeDataSize(8);
  source.SetRootNodeCount(5);
  source.ClipboardFormats().Add("Lazy Tree Data");
  target.Assign(source);
  EXPECT_EQ(target.ClipboardFormats().List(), QStringList{"Lazy Tree Data"});
  EXPECT_EQ(target.Indent(), 30);
  EXPECT_EQ(target.ChangeDelay(), 70);
  EXPECT_EQ(target.Margin(), 9);
  EXPECT_EQ(target.TreeOptions().PaintOptions(), TLTPaintOptions{toShowRoot});
  EXPECT_EQ(target.Colors().Color(TLTColors::GridLineColor), QColor(Qt::red));
  EXPECT_EQ(target.RootNodeCount(), 5u);
}

TEST(Options, RootCountStoredWhileLoadingIsCreatedAfterwardsEvenReadOnly) {
  TestTree tree;
  tree.BeginLoading();
  tree.SetRootNodeCount(4);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  EXPECT_EQ(tree.RootNodeCount(), 0u);
  EXPECT_TRUE(tree.TreeStates().Contains(tsNeedRootCountUpdate));
  tree.Loaded();
  EXPECT_EQ(tree.RootNodeCount(), 4u);
  EXPECT_FALSE(tree.TreeStates().Contains(tsNeedRootCountUpdate));
  EXPECT_TRUE(tree.TreeOptions().MiscOptions().Contains(toReadOnly));
}

TEST(Options, ScalingMovesTheRowHeightOnlyWhenAsked) {
  TBaseLazyTree tree;
  tree.ChangeScale(3, 2);
  EXPECT_EQ(tree.DefaultNodeHeight(), 18);
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() + TLTAutoOptions{toAutoChangeScale});
  tree.ChangeScale(3, 2);
  EXPECT_EQ(tree.DefaultNodeHeight(), 27);
}

TEST(Options, BevelsNarrowTheClientArea) {
  TBaseLazyTree tree;
  tree.SetBorderStyle(bsNone);
  tree.resize(200, 100);
  const QSize plain = tree.viewport()->size();
  tree.SetBevelKind(bkTile);
  tree.SetBevelWidth(2);
  tree.resize(201, 100);
  tree.resize(200, 100);
  EXPECT_EQ(tree.viewport()->size(), plain - QSize(8, 8));  // inner and outer cut, 2 px each side
}

// ---- Shared routines ------------------------------------------------------------------------

TEST(BufferedString, GrowsInWholeStepsAndKeepsWhatWasWritten) {
  TBufferedString bytes;
  bytes.Add("abc");
  EXPECT_EQ(bytes.Capacity(), 4096);
  bytes.Add(QByteArray(5000, 'x'));
  EXPECT_EQ(bytes.Capacity(), 8192);
  bytes.AppendLineBreak();
  EXPECT_EQ(bytes.AsString().size(), 5005);
  EXPECT_TRUE(bytes.AsString().endsWith("x\r\n"));

  TWideBufferedString wide;
  wide.Add(QStringLiteral("Grüße"));
  wide.AppendLineBreak();
  EXPECT_EQ(wide.AsString(), QStringLiteral("Grüße\r\n"));
}

TEST(DropEffect, SuggestionByKeysAndSource) {
  TBaseLazyTree tree, other;
  const TDropEffects all{deCopy, deMove, deLink};
  struct {
    QObject* source;
    TShiftState shift;
    TDropEffects allowed;
    TDropEffect effect;
  } cases[] = {
      {&tree, {}, all, deMove},
      {&other, {}, all, deCopy},
      {nullptr, {}, all, deCopy},
      {&tree, {ssCtrl}, all, deCopy},
      {&other, {ssShift}, all, deMove},
      {&tree, {ssCtrl, ssShift}, all, deLink},
      {&tree, {ssAlt}, all, deLink},
      {&tree, {ssCtrl}, {deMove}, deMove},  // copy not allowed: the base effect stays
      {&other, {}, {deLink}, deLink},
  };
  for (const auto& c : cases) EXPECT_EQ(tree.SuggestDropEffect(c.source, c.shift, c.allowed), c.effect);
}

TEST(Panning, CursorByOffsetFromTheStart) {
  struct {
    int dx, dy;
    bool h, v;
    const char* name;
  } cases[] = {
      {3, -7, true, true, "LT_MOVEALL"}, {0, 0, true, false, "LT_MOVEEW"}, {5, 5, false, true, "LT_MOVENS"},
      {-20, -20, true, true, "LT_MOVENW"}, {-20, 0, true, true, "LT_MOVEW"}, {-20, 9, true, true, "LT_MOVESW"},
      {0, -20, true, true, "LT_MOVEN"}, {8, 20, true, true, "LT_MOVES"}, {9, -9, true, true, "LT_MOVENE"},
      {30, 8, true, true, "LT_MOVEE"}, {30, 30, true, true, "LT_MOVESE"}, {-30, 30, true, false, "LT_MOVEW"},
      {30, -30, true, false, "LT_MOVEE"}, {30, -30, false, true, "LT_MOVEN"}, {-30, 30, false, true, "LT_MOVES"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TBaseLazyTree::PanningCursorName(c.dx, c.dy, c.h, c.v), c.name) << c.dx << "," << c.dy;
}

TEST(PopupMenu, AskedUpTheParentsUntilOneAnswers) {
  TestTree tree;
  tree.shape = {{"", 1}, {"0", 1}, {"0.0", 1}};
  tree.Build();
  QMenu menu;
  QStringList asked;
  tree.OnGetPopupMenu = [&](TBaseLazyTree*, PLazyNode node, int, QPoint, bool& askParent, QMenu*& popup) {
    asked << (node ? tree.Path(node) : "nil");
    if (node == tree.At("0")) popup = &menu;
    if (node == tree.At("0.0.0")) askParent = true;
  };
  EXPECT_EQ(tree.PopupFor(tree.At("0.0.0")), &menu);
  EXPECT_EQ(asked, (QStringList{"0.0.0", "0.0", "0"}));
  asked.clear();
  tree.OnGetPopupMenu = [&](TBaseLazyTree*, PLazyNode node, int column, QPoint, bool& askParent, QMenu*&) {
    asked << (node ? tree.Path(node) : QString("nil %1").arg(column));
    askParent = false;
  };
  EXPECT_EQ(tree.PopupFor(tree.At("0.0.0")), nullptr);
  EXPECT_EQ(tree.PopupFor(nullptr), nullptr);
  EXPECT_EQ(asked, (QStringList{"0.0.0", "nil -1"}));
}

TEST(ToggleAnimation, EndsWithinItsDurationHoweverLateTheSteps) {
  struct {
    int distance, duration;
    QList<int> ticks;
  } cases[] = {
      {100, 200, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200}},
      {400, 200, {10, 250}},  // a late step finishes the whole distance
      {5, 200, {10, 20, 30, 40, 50, 60}},  // never less than a pixel a step
  };
  for (const auto& c : cases) {
    TToggleAnimation animation(c.distance, c.duration, 0);
    int total = 0, first = -1;
    for (int tick : c.ticks) {
      const int step = animation.NextStep(tick);
      if (first < 0) first = step;
      total += step;
      if (animation.Finished()) break;
    }
    EXPECT_TRUE(animation.Finished()) << c.distance;
    EXPECT_EQ(total, c.distance);
    EXPECT_EQ(first, std::max(c.distance / c.duration, 1));
  }
}

}  // namespace
