// Lazy initialisation (which events fire, when and how often) and the navigation family
// at its edges: first, last, hidden, uninitialised and deepest nodes.
#include "TreeFixture.h"

namespace {

TEST(LazyInit, CreatingNodesAsksTheOwnerNothing) {
  TestTree tree;
  tree.shape = {{"", 1000}};
  tree.SetRootNodeCount(1000);
  EXPECT_EQ(tree.initCount, 0);
  EXPECT_EQ(tree.TotalCount(), 1000u);
  EXPECT_EQ(tree.VisibleCount(), 1000u);
  PLazyNode first = tree.GetFirst();
  tree.GetNext(first);
  EXPECT_EQ(tree.log, (QStringList{"init 0", "init 1"}));
  tree.GetFirst();  // already initialised: not again
  EXPECT_EQ(tree.initCount, 2);
}

TEST(LazyInit, RawWalksCallNoEvents) {
  TestTree tree;
  tree.shape = {{"", 3}, {"0", 2}};
  tree.SetRootNodeCount(3);
  for (PLazyNode run = tree.GetFirstRaw(); run; run = tree.GetNextRaw(run)) {
  }
  tree.GetLastRaw();
  tree.GetFirstVisibleRaw();
  tree.GetLastVisibleRaw();
  EXPECT_TRUE(tree.log.isEmpty());
}

TEST(LazyInit, ChildrenAreAskedForOnceWhenFirstFollowed) {
  TestTree tree;
  tree.shape = {{"", 2}, {"0", 3}};
  tree.SetRootNodeCount(2);
  PLazyNode first = tree.GetFirst();
  EXPECT_TRUE(first->Has(nsHasChildren));
  EXPECT_EQ(first->ChildCount, 0u);
  tree.GetNext(first);
  tree.GetNext(first);
  EXPECT_EQ(tree.log, (QStringList{"init 0", "children 0", "init 0.0"}));
  EXPECT_EQ(first->ChildCount, 3u);
}

TEST(LazyInit, NoChildrenAnsweredClearsHasChildren) {
  TestTree tree;
  tree.shape = {{"", 1}, {"0", 0}};
  tree.SetRootNodeCount(1);
  PLazyNode node = tree.GetFirst();
  ASSERT_TRUE(node->Has(nsHasChildren));
  tree.ToggleExpanded(node);
  EXPECT_FALSE(node->Has(nsHasChildren));
  EXPECT_EQ(tree.log.count("children 0"), 1);
}

TEST(LazyInit, InitialExpandedStateOpensTheNodeOnFirstTouch) {
  TestTree tree;
  tree.shape = {{"", 2}, {"0", 2}};
  tree.expanded = {"0"};
  tree.SetRootNodeCount(2);
  EXPECT_EQ(tree.VisibleCount(), 2u);
  PLazyNode node = tree.GetFirst();
  EXPECT_TRUE(node->Has(nsExpanded));
  EXPECT_EQ(tree.VisibleCount(), 4u);
  EXPECT_EQ(tree.log, (QStringList{"init 0", "children 0"}));
  EXPECT_TOTALS_AGREE(tree);
}

TEST(LazyInit, ReinitialisationRunsInitAgainAndUninitialisationResets) {
  TestTree tree;
  tree.shape = {{"", 2}, {"0", 2}};
  tree.Build();
  const int before = tree.initCount;
  tree.ReinitializeChildren(nullptr, true);
  EXPECT_EQ(tree.initCount, before + 4);
  EXPECT_EQ(tree.GetNodeData<TestData>(tree.At("0"))->inits, 2);

  QStringList resets;
  tree.OnResetNode = [&](TBaseLazyTree*, PLazyNode node) { resets << tree.Path(node); };
  tree.UninitializeNode(tree.At("0"));
  EXPECT_EQ(resets, QStringList{"0"});
  EXPECT_FALSE(tree.At("0")->Has(nsInitialized));
  EXPECT_EQ(tree.At("0")->ChildCount, 0u);
  tree.GetFirst();
  EXPECT_EQ(tree.GetNodeData<TestData>(tree.At("0"))->inits, 3);
}

TEST(LazyInit, VariableHeightsAreMeasuredAtCreationBeforeInit) {
  TestTree tree;
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toVariableNodeHeight});
  tree.OnMeasureItem = [&](TBaseLazyTree*, PLazyNode node, int& height) {
    EXPECT_FALSE(node->Has(nsInitialized));
    height = 10 + static_cast<int>(node->Index);
  };
  tree.SetRootNodeCount(3);
  EXPECT_EQ(tree.initCount, 0);
  EXPECT_EQ(tree.RootNode()->TotalHeight - tree.RootNode()->NodeHeight, 10u + 11u + 12u);
  EXPECT_TOTALS_AGREE(tree);
}

// ---- Navigation -----------------------------------------------------------------------------

// Top level: 0 (expanded: 0.0, hidden 0.1, 0.2 with an uninitialised child 0.2.0 in a
// collapsed node), hidden 1 (with a child), 2 (collapsed, children never created), 3.
class Navigation : public ::testing::Test {
protected:
  void SetUp() override {
    tree.shape = {{"", 4}, {"0", 3}, {"0.2", 1}, {"1", 1}, {"2", 2}};
    tree.expanded = {"0"};
    tree.hidden = {"0.1", "1"};
    tree.SetRootNodeCount(4);
    for (const char* path : {"0", "0.0", "0.1", "0.2", "1", "3"}) tree.InitializeNode(tree.At(path));
    tree.InitializeNode(tree.At("2"));
    tree.InitializeChildren(tree.At("1"));
    tree.ToggleExpanded(tree.At("0.2"));
    tree.ToggleExpanded(tree.At("0.2"));  // its child now exists but was never initialised
    tree.log.clear();
  }
  QString P(PLazyNode node) const { return node ? tree.Path(node) : QStringLiteral("nil"); }
  TestTree tree;
};

TEST_F(Navigation, PlainWalkVisitsEveryNodeAndCreatesChildren) {
  QStringList order;
  for (PLazyNode run = tree.GetFirst(); run; run = tree.GetNext(run)) order << P(run);
  EXPECT_EQ(order, (QStringList{"0", "0.0", "0.1", "0.2", "0.2.0", "1", "1.0", "2", "2.0", "2.1", "3"}));
  EXPECT_TRUE(tree.log.contains("children 2"));
  QStringList back;
  for (PLazyNode run = tree.GetLast(); run; run = tree.GetPrevious(run)) back.prepend(P(run));
  EXPECT_EQ(back, order);
}

TEST_F(Navigation, RawWalkFollowsOnlyExistingNodes) {
  QStringList order;
  for (PLazyNode run = tree.GetFirstRaw(); run; run = tree.GetNextRaw(run)) order << P(run);
  EXPECT_EQ(order, (QStringList{"0", "0.0", "0.1", "0.2", "0.2.0", "1", "1.0", "2", "3"}));
  EXPECT_TRUE(tree.log.isEmpty());
  EXPECT_FALSE(tree.At("0.2.0")->Has(nsInitialized));
}

struct VisibleCase {
  const char* from;
  const char* next;
  const char* previous;
};

TEST_F(Navigation, VisibleStepsAtTheEdges) {
  const VisibleCase cases[] = {
      {"0", "0.0", "nil"},       // first row
      {"0.0", "0.2", "0"},       // skips the hidden sibling
      {"0.1", "0.2", "0.0"},     // from a hidden node: continues where it would be
      {"0.2", "2", "0.0"},       // collapsed: children skipped, hidden top-level 1 too
      {"0.2.0", "2", "0.2"},     // inside a collapsed node: continues after its ancestor
      {"1.0", "2", "0.2"},       // under a hidden ancestor
      {"3", "nil", "2"},         // last row
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.from);
    EXPECT_EQ(P(tree.GetNextVisible(tree.At(c.from))), c.next);
    EXPECT_EQ(P(tree.GetNextVisibleRaw(tree.At(c.from))), c.next);
    EXPECT_EQ(P(tree.GetPreviousVisibleRaw(tree.At(c.from))), c.previous);
  }
}

TEST_F(Navigation, FirstAndLast) {
  EXPECT_EQ(P(tree.GetFirstVisible()), "0");
  EXPECT_EQ(P(tree.GetLastVisibleNode()), "3");
  EXPECT_EQ(P(tree.GetLastVisibleNode(tree.At("0"))), "0.2");  // deepest visible below 0
  EXPECT_EQ(P(tree.GetLastRaw()), "3");
  EXPECT_EQ(P(tree.GetLast(tree.At("0"))), "0.2.0");           // the deepest, visible or not
  EXPECT_EQ(P(tree.GetFirstChildNode(tree.At("2"))), "2.0");   // creates the children
  EXPECT_EQ(P(tree.GetLastVisibleChildRaw(tree.At("0"))), "0.2");
  EXPECT_EQ(P(tree.GetNextVisibleSiblingNode(tree.At("0.0"))), "0.2");
  EXPECT_EQ(P(tree.GetPreviousVisibleSiblingNode(tree.At("2"))), "0");
  EXPECT_EQ(P(tree.GetNearestShownAncestor(tree.At("0.2.0"))), "0.2");
  EXPECT_EQ(P(tree.GetNearestShownAncestor(tree.At("1.0"))), "nil");
}

TEST_F(Navigation, EmptyTreeAnswersNil) {
  TestTree empty;
  EXPECT_EQ(empty.GetFirst(), nullptr);
  EXPECT_EQ(empty.GetLast(), nullptr);
  EXPECT_EQ(empty.GetFirstVisible(), nullptr);
  EXPECT_EQ(empty.GetLastVisibleNode(), nullptr);
  EXPECT_EQ(empty.NodeAtPosition(0, false), nullptr);
}

TEST_F(Navigation, TheHiddenRootIsRefusedWithItsMessage) {
  AssertRecorder asserts;
  EXPECT_EQ(tree.GetNext(tree.RootNode()), nullptr);
  EXPECT_EQ(tree.GetNextVisibleSiblingNode(nullptr), nullptr);
  EXPECT_EQ(asserts.messages, (QStringList{"Node must not be the hidden root node.", "Invalid parameter."}));
}

TEST_F(Navigation, AccessibilityQueriesAnswerWithNodes) {
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_ROOT, nullptr)), "0");
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_NEXT, tree.At("0"))), "1");
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_PARENT, tree.At("0.2"))), "0");
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_PARENT, tree.At("0"))), "nil");
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_NEXTVISIBLE, tree.At("0.2"))), "2");
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_LASTVISIBLE, nullptr)), "3");
  tree.SetFocusedNode(tree.At("0.0"));
  tree.SetNodeSelected(tree.At("0.0"), true);
  EXPECT_EQ(P(tree.TVMGetNextItem(TVGN_CARET, nullptr)), "0.0");
  TTreeViewItem item;
  item.Item = tree.At("0");
  ASSERT_TRUE(tree.TVMGetItem(item));
  EXPECT_EQ(item.ChildCount, 3);
  EXPECT_EQ(item.State, (TSet<TTreeViewItemState>{tvisExpanded}));
  item.Item = tree.At("0.0");
  ASSERT_TRUE(tree.TVMGetItem(item));
  EXPECT_EQ(item.State, (TSet<TTreeViewItemState>{tvisFocused, tvisSelected}));
  QRect rect;
  EXPECT_FALSE(tree.TVMGetItemRect(tree.At("0.1"), false, rect));  // hidden
}

TEST_F(Navigation, LevelsAndAncestors) {
  EXPECT_EQ(tree.LevelOfNode(nullptr), 0u);
  EXPECT_EQ(tree.LevelOfNode(tree.At("0")), 0u);
  EXPECT_EQ(tree.LevelOfNode(tree.At("0.2.0")), 2u);
  EXPECT_TRUE(tree.NodeHasAncestor(tree.At("0.2.0"), tree.At("0")));
  EXPECT_FALSE(tree.NodeHasAncestor(tree.At("0"), tree.At("0")));
  EXPECT_FALSE(tree.NodeHasAncestor(tree.At("3"), tree.At("0")));
  EXPECT_EQ(TBaseLazyTree::TreeFromNode(tree.At("0.2.0")), &tree);
}

TEST_F(Navigation, NodeAtPositionStepsOverSubtrees) {
  // Rows: 0 (0-17), 0.0 (18-35), 0.2 (36-53, 40 high after the change below), 2, 3.
  tree.SetNodeHeight(tree.At("0.2"), 40);
  struct {
    int y;
    const char* node;
    int top;
  } cases[] = {{-5, "0", 0}, {0, "0", 0}, {17, "0", 0}, {18, "0.0", 18}, {36, "0.2", 36}, {75, "0.2", 36},
               {76, "2", 76}, {94, "3", 94}, {111, "3", 94}, {112, "nil", 0}};
  for (const auto& c : cases) {
    int top = -1;
    EXPECT_EQ(P(tree.NodeAtPosition(c.y, false, &top)), c.node) << c.y;
    EXPECT_EQ(top, c.top) << c.y;
    if (c.node != std::string("nil")) {
      EXPECT_EQ(tree.NodeTop(tree.At(c.node)), c.top);
    }
  }
}

}  // namespace
