// Structural operations keep every running total right: each case changes the same small
// tree and the consistency check recounts everything from the links.
#include "TreeFixture.h"
#include "support/CaseName.h"

#include <functional>

namespace {

// Rows (by owner id) of the fixture:  1 0      (expanded)
//                                     2 0.0
//                                     3 0.1    (expanded)
//                                     4 0.1.0
//                                     5 0.1.1
//                                       0.2    (hidden, id 6)
//                                     7 1
//                                     8 2      (collapsed: 2.0 with a child, 2.1)
//                                    12 3      (collapsed: 3.0, hidden 3.1)
void Shape(TestTree& tree) {
  tree.shape = {{"", 4}, {"0", 3}, {"0.1", 2}, {"2", 2}, {"2.0", 1}, {"3", 2}};
  tree.expanded = {"0", "0.1"};
  tree.hidden = {"0.2", "3.1"};
  tree.Build();
  tree.SetNodeHeight(tree.At("0.1.0"), 30);
  tree.SetNodeHeight(tree.At("2.1"), 25);
}
constexpr const char* kRows = "1 2 3 4 5 7 8 12";

struct StructureCase {
  const char* name;
  std::function<void(TestTree&)> change;
  const char* rows;  // expected rows afterwards, or nullptr when only the totals matter
};

TestTree* otherTree = nullptr;  // the target of moves into another tree

const StructureCase kCases[] = {
    // Insertion, every attach mode, in view, under collapsed and hidden nodes.
    {"insert before", [](TestTree& t) { t.InsertNode(t.At("0.1"), amInsertBefore); }, "1 2 n 3 4 5 7 8 12"},
    {"insert after", [](TestTree& t) { t.InsertNode(t.At("0.1"), amInsertAfter); }, "1 2 3 4 5 n 7 8 12"},
    {"add child first", [](TestTree& t) { t.InsertNode(t.At("0"), amAddChildFirst); }, "1 n 2 3 4 5 7 8 12"},
    {"add child last", [](TestTree& t) { t.InsertNode(t.At("0"), amAddChildLast); }, "1 2 3 4 5 n 7 8 12"},
    {"add child to collapsed", [](TestTree& t) { t.InsertNode(t.At("2"), amAddChildLast); }, kRows},
    {"insert before hidden", [](TestTree& t) { t.InsertNode(t.At("0.2"), amInsertBefore); }, "1 2 3 4 5 n 7 8 12"},
    {"add child to leaf", [](TestTree& t) { t.InsertNode(t.At("1"), amAddChildLast); }, kRows},
    {"insert at top level", [](TestTree& t) { t.InsertNode(nullptr, amInsertAfter); }, "1 2 3 4 5 7 8 12 n"},
    {"insert nowhere", [](TestTree& t) { EXPECT_EQ(t.InsertNode(t.At("0"), amNoWhere), nullptr); }, kRows},
    {"only child hidden",
     [](TestTree& t) {
       PLazyNode child = t.InsertNode(t.At("1"), amAddChildLast);
       t.ToggleExpanded(t.At("1"));
       t.SetNodeVisible(child, false);
       EXPECT_TRUE(t.At("1")->Has(nsAllChildrenHidden));
       t.InsertNode(t.At("1"), amAddChildLast);
       EXPECT_FALSE(t.At("1")->Has(nsAllChildrenHidden));
     },
     "1 2 3 4 5 7 n 8 12"},
    // Deletion.
    {"delete leaf", [](TestTree& t) { t.DeleteNode(t.At("0.0")); }, "1 3 4 5 7 8 12"},
    {"delete subtree", [](TestTree& t) { t.DeleteNode(t.At("0.1")); }, "1 2 7 8 12"},
    {"delete expanded top", [](TestTree& t) { t.DeleteNode(t.At("0")); }, "7 8 12"},
    {"delete in collapsed", [](TestTree& t) { t.DeleteNode(t.At("2.0")); }, kRows},
    {"delete leaving hidden only",
     [](TestTree& t) {
       t.DeleteNode(t.At("0.0"));
       t.DeleteNode(t.At("0.0"));
       EXPECT_TRUE(t.At("0")->Has(nsAllChildrenHidden));
     },
     "1 7 8 12"},
    {"delete children", [](TestTree& t) { t.DeleteNodeChildren(t.At("0")); }, "1 7 8 12"},
    {"delete last child collapses", [](TestTree& t) {
       t.DeleteNode(t.At("0.1.1"));
       t.DeleteNode(t.At("0.1.0"));
       EXPECT_FALSE(t.At("0.1")->Has(nsExpanded));
       EXPECT_FALSE(t.At("0.1")->Has(nsHasChildren));
     }, "1 2 3 7 8 12"},
    {"clear", [](TestTree& t) { t.Clear(); }, ""},
    // Moving within and between parents, and into another tree.
    {"move within parent", [](TestTree& t) { t.MoveNode(t.At("0.0"), t.At("0.1"), amInsertAfter, false); }, "1 3 4 5 2 7 8 12"},
    {"move to top level", [](TestTree& t) { t.MoveNode(t.At("0.1"), t.At("1"), amInsertAfter, false); }, "1 2 7 3 4 5 8 12"},
    {"move into collapsed", [](TestTree& t) { t.MoveNode(t.At("0.0"), t.At("2"), amAddChildFirst, false); }, "1 3 4 5 7 8 12"},
    {"move collapsed into expanded", [](TestTree& t) { t.MoveNode(t.At("2"), t.At("0.1"), amInsertBefore, false); }, "1 2 8 3 4 5 7 12"},
    {"move hidden", [](TestTree& t) { t.MoveNode(t.At("0.2"), nullptr, amAddChildLast, false); }, kRows},
    {"move children only", [](TestTree& t) {
       t.MoveNode(t.At("0.1"), t.At("1"), amAddChildLast, true);
       t.ToggleExpanded(t.At("1"));
     }, "1 2 3 7 4 5 8 12"},
    {"move to another tree", [](TestTree& t) {
       t.MoveNode(t.At("0.1"), otherTree->At("0"), amInsertAfter, false);
       EXPECT_TOTALS_AGREE(*otherTree);
       EXPECT_EQ(otherTree->Rows(), "1 2 3 4 5 3 4 5 7 8 12");
     }, "1 2 7 8 12"},
    // Expand, collapse, visibility, heights, child counts, re-initialisation.
    {"expand collapsed", [](TestTree& t) { t.ToggleExpanded(t.At("2")); }, "1 2 3 4 5 7 8 9 11 12"},
    {"collapse", [](TestTree& t) { t.ToggleExpanded(t.At("0")); }, "1 7 8 12"},
    {"collapse inner", [](TestTree& t) { t.ToggleExpanded(t.At("0.1")); }, "1 2 3 7 8 12"},
    {"expand all", [](TestTree& t) { t.ExpandAll(nullptr); }, "1 2 3 4 5 7 8 9 10 11 12 13"},
    {"expand subtree", [](TestTree& t) { t.ExpandAll(t.At("2")); }, "1 2 3 4 5 7 8 9 10 11 12"},
    {"collapse all", [](TestTree& t) { t.CollapseAll(nullptr); }, "1 7 8 12"},
    {"hide expanded", [](TestTree& t) { t.SetNodeVisible(t.At("0"), false); }, "7 8 12"},
    {"hide inner leaf", [](TestTree& t) { t.SetNodeVisible(t.At("0.1.0"), false); }, "1 2 3 5 7 8 12"},
    {"show hidden", [](TestTree& t) { t.SetNodeVisible(t.At("0.2"), true); }, "1 2 3 4 5 6 7 8 12"},
    {"hide under collapsed", [](TestTree& t) { t.SetNodeVisible(t.At("2.1"), false); }, kRows},
    {"hide inside update", [](TestTree& t) {
       t.BeginTreeUpdate();
       t.SetNodeVisible(t.At("0.0"), false);
       t.SetNodeVisible(t.At("0.1"), false);
       t.EndTreeUpdate();
       EXPECT_TRUE(t.At("0")->Has(nsAllChildrenHidden));
     }, "1 7 8 12"},
    {"fully visible", [](TestTree& t) { t.SetNodeFullyVisible(t.At("3.1"), true); }, "1 2 3 4 5 7 8 12 13 14"},
    {"height in view", [](TestTree& t) { t.SetNodeHeight(t.At("0.1"), 40); }, kRows},
    {"height hidden", [](TestTree& t) { t.SetNodeHeight(t.At("0.2"), 40); }, kRows},
    {"height collapsed", [](TestTree& t) { t.SetNodeHeight(t.At("2.0.0"), 50); }, kRows},
    {"default height", [](TestTree& t) { t.SetDefaultNodeHeight(30); }, kRows},
    {"grow children", [](TestTree& t) { t.SetNodeChildCount(t.At("0"), 5); }, "1 2 3 4 5 n n 7 8 12"},
    {"grow collapsed", [](TestTree& t) { t.SetNodeChildCount(t.At("2"), 6); }, kRows},
    {"shrink children", [](TestTree& t) { t.SetNodeChildCount(t.At("0"), 1); }, "1 2 7 8 12"},
    {"children to zero", [](TestTree& t) { t.SetNodeChildCount(t.At("0"), 0); }, "1 7 8 12"},
    {"grow root", [](TestTree& t) { t.SetRootNodeCount(6); }, "1 2 3 4 5 7 8 12 n n"},
    {"reinitialise all", [](TestTree& t) {
       t.hidden = {"1"};
       t.ReinitializeChildren(nullptr, true);
     }, nullptr},
    {"reinitialise node", [](TestTree& t) { t.ReinitializeNode(t.At("0"), true); }, nullptr},
    {"uninitialise", [](TestTree& t) { t.UninitializeNode(t.At("0")); }, "n 7 8 12"},
    {"free on collapse", [](TestTree& t) {
       t.TreeOptions().SetAutoOptions(t.TreeOptions().AutoOptions() + TLTAutoOptions{toAutoFreeOnCollapse});
       t.ToggleExpanded(t.At("0"));
       EXPECT_EQ(t.At("0")->ChildCount, 0u);
       EXPECT_TRUE(t.At("0")->Has(nsHasChildren));
     }, "1 7 8 12"},
    {"delete selected", [](TestTree& t) {
       t.TreeOptions().SetSelectionOptions({toMultiSelect});
       for (const char* p : {"0.1", "0.1.0", "1", "2.0"}) t.AddToSelection(t.At(p));
       t.DeleteSelectedItems();
       EXPECT_EQ(t.SelectionCount(), 0u);
     }, "1 2 8 12"},
};

void PrintTo(const StructureCase& c, std::ostream* os) { *os << c.name; }

class StructureOperation : public ::testing::TestWithParam<StructureCase> {};

TEST_P(StructureOperation, KeepsTotals) {
  TestTree tree;
  TestTree other;
  Shape(tree);
  Shape(other);
  otherTree = &other;
  ASSERT_EQ(tree.Rows(), kRows);
  EXPECT_TOTALS_AGREE(tree);
  GetParam().change(tree);
  EXPECT_TOTALS_AGREE(tree);
  if (GetParam().rows) {
    EXPECT_EQ(tree.Rows(), GetParam().rows);
  }
  otherTree = nullptr;
}

INSTANTIATE_TEST_SUITE_P(Tree, StructureOperation, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST(TotalsCheck, FindsACorruptTotal) {
  TestTree tree;
  Shape(tree);
  tree.At("0.1")->TotalHeight += 3;
  tree.At("2")->TotalCount -= 1;
  const QStringList problems = tree.CheckTotals();
  EXPECT_TRUE(problems.join('\n').contains("node 0/1: total height")) << problems.join('\n').toStdString();
  EXPECT_TRUE(problems.join('\n').contains("node 2: total count")) << problems.join('\n').toStdString();
}

// ---- Node data and internal areas ---------------------------------------------------------

TEST(NodeData, NilAndRootHaveNone) {
  TestTree tree;
  tree.SetRootNodeCount(1);
  EXPECT_EQ(tree.GetNodeData(nullptr), nullptr);
  EXPECT_EQ(tree.GetNodeData(tree.RootNode()), nullptr);
  EXPECT_NE(tree.GetNodeData(tree.GetFirst()), nullptr);
}

TEST(NodeData, WithoutSizeAsserts) {
  TBaseLazyTree tree;
  AssertRecorder asserts;
  tree.SetRootNodeCount(2);  // no size and no handler: nodes carry no user data
  EXPECT_EQ(tree.NodeDataSize(), 0);
  EXPECT_EQ(tree.GetNodeData(tree.GetFirst()), nullptr);
  EXPECT_EQ(asserts.messages, QStringList{"NodeDataSize not initialized."});
}

TEST(NodeData, SizeAskedOnceAtFirstNode) {
  TBaseLazyTree tree;
  int asked = 0;
  tree.OnGetNodeDataSize = [&](TBaseLazyTree*, int& size) {
    ++asked;
    size = 12;
  };
  EXPECT_EQ(asked, 0);
  tree.SetRootNodeCount(3);
  tree.SetRootNodeCount(5);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(tree.NodeDataSize(), 12);
}

TEST(NodeData, StartsZeroAndSurvivesReuseOfFreedBlocks) {
  TestTree tree;
  tree.SetRootNodeCount(3);
  tree.GetNodeData<TestData>(tree.GetFirst())->inits = 77;
  tree.DeleteNode(tree.GetFirstRaw());
  tree.SetRootNodeCount(3);  // takes the freed block again
  for (PLazyNode run = tree.GetFirstRaw(); run; run = tree.GetNextRaw(run)) {
    if (!run->Has(nsInitialized)) {
      EXPECT_EQ(tree.Data(run)->inits, 0);
    }
  }
}

TEST(NodeData, InternalAreasComeBeforeUserData) {
  TBaseLazyTree tree;
  tree.SetNodeDataSize(4);
  const int first = tree.ReserveInternalData(3);
  const int second = tree.ReserveInternalData(8);
  EXPECT_EQ(first, static_cast<int>(sizeof(TLazyNode)));
  EXPECT_EQ(second, first + 8);  // rounded up so the next area stays pointer-aligned
  tree.SetRootNodeCount(1);
  PLazyNode node = tree.GetFirst();
  EXPECT_EQ(static_cast<std::byte*>(tree.GetNodeData(node)) - reinterpret_cast<std::byte*>(node), second + 8);
  AssertRecorder asserts;
  EXPECT_EQ(tree.ReserveInternalData(4), -1);
  EXPECT_EQ(asserts.messages, QStringList{"Internal data allocation must be done before any node is created."});
}

TEST(NodeData, ChangingTheSizeRecreatesTopLevelNodes) {
  TestTree tree;
  tree.shape = {{"", 3}, {"0", 2}};
  tree.Build();
  tree.log.clear();
  tree.SetNodeDataSize(32);
  EXPECT_EQ(tree.freeCount, 5);
  EXPECT_EQ(tree.RootNodeCount(), 3u);
  EXPECT_EQ(tree.TotalCount(), 3u);
  EXPECT_FALSE(tree.GetFirstRaw()->Has(nsInitialized));
  EXPECT_TOTALS_AGREE(tree);
}

TEST(NodeData, SizeBelowMinusOneBecomesMinusOne) {
  TBaseLazyTree tree;
  tree.SetNodeDataSize(-5);
  EXPECT_EQ(tree.NodeDataSize(), -1);
}

// ---- Refusals ------------------------------------------------------------------------------

TEST(Refusal, DeletingWhileIteratingLeavesTheTree) {
  TestTree tree;
  Shape(tree);
  int visited = 0;
  try {
    tree.IterateSubtree(nullptr, [&](PLazyNode node, bool&) {
      ++visited;
      tree.DeleteNode(node);
    });
    FAIL() << "deleting during iteration was not refused";
  } catch (const ELazyTreeError& e) {
    EXPECT_EQ(e.HelpContext(), hcTFTreeIterating);
  }
  EXPECT_EQ(visited, 1);
  EXPECT_FALSE(tree.TreeStates().Contains(tsIterating));
  EXPECT_EQ(tree.Rows(), kRows);
  EXPECT_TOTALS_AGREE(tree);
}

TEST(Refusal, MovingIntoOwnSubtreeRaises) {
  TestTree tree;
  Shape(tree);
  for (auto [target, mode] : {std::pair{"0.1.0", amAddChildLast}, std::pair{"0.1", amInsertAfter}}) {
    try {
      tree.MoveNode(tree.At("0"), tree.At(target), mode, false);
      FAIL() << "moved into its own subtree";
    } catch (const ELazyTreeError& e) {
      EXPECT_EQ(e.HelpContext(), hcTFCannotMoveToChild);
      EXPECT_EQ(e.Message(), "Target node cannot be a child node of the node to be moved.");
    }
  }
  EXPECT_EQ(tree.Rows(), kRows);
  EXPECT_TOTALS_AGREE(tree);
}

TEST(Refusal, ReadOnlyBlocksStructuralChanges) {
  TestTree tree;
  Shape(tree);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  tree.DeleteNode(tree.At("0.0"));
  tree.SetNodeChildCount(tree.At("0"), 7);
  tree.MoveNode(tree.At("1"), tree.At("0"), amAddChildFirst, false);
  tree.Clear();
  EXPECT_EQ(tree.InsertNode(tree.At("0"), amAddChildLast), nullptr);
  EXPECT_EQ(tree.Rows(), kRows);
}

TEST(Refusal, OwnerCanVetoAMove) {
  TestTree tree;
  Shape(tree);
  tree.OnNodeMoving = [](TBaseLazyTree*, PLazyNode, PLazyNode, bool& allowed) { allowed = false; };
  tree.MoveNode(tree.At("1"), tree.At("0"), amAddChildFirst, false);
  EXPECT_EQ(tree.Rows(), kRows);
}

// ---- Deletion side effects -----------------------------------------------------------------

TEST(Deletion, FocusedNodeLosesFocusWithNotice) {
  TestTree tree;
  Shape(tree);
  tree.SetFocusedNode(tree.At("0.1.1"));
  QStringList focus;
  tree.OnFocusChanged = [&](TBaseLazyTree*, PLazyNode node, int) { focus << (node ? "node" : "nil"); };
  tree.DeleteNode(tree.At("0.1"));  // the focused node goes with its parent
  EXPECT_EQ(tree.FocusedNode(), nullptr);
  EXPECT_EQ(focus, QStringList{"nil"});
}

TEST(Deletion, SelectedNodeInUpdateIsPackedAtTheEnd) {
  TestTree tree;
  Shape(tree);
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  tree.AddToSelection(tree.At("0.0"));
  tree.AddToSelection(tree.At("1"));
  tree.BeginTreeUpdate();
  tree.DeleteNode(tree.At("0.0"));
  EXPECT_EQ(tree.SelectionCount(), 2u);
  tree.EndTreeUpdate();
  EXPECT_EQ(tree.SelectionCount(), 1u);
  EXPECT_EQ(tree.GetFirstSelectedNode(), tree.At("1"));
}

TEST(Deletion, PendingChangeDoesNotOutliveItsNode) {
  TestTree tree;
  Shape(tree);
  tree.SetChangeDelay(50);
  PLazyNode reported = reinterpret_cast<PLazyNode>(1);
  tree.OnChange = [&](TBaseLazyTree*, PLazyNode node) { reported = node; };
  PLazyNode parent = nullptr;
  tree.OnStructureChange = [&](TBaseLazyTree*, PLazyNode node, TChangeReason) { parent = node; };
  tree.SetNodeSelected(tree.At("0.1.0"), true);
  tree.BeginTreeUpdate();
  tree.SetNodeChildCount(tree.At("0.1.0"), 2);
  tree.DeleteNode(tree.At("0.1.0"));
  tree.EndTreeUpdate();
  tree.HandleTimer(ChangeTimer);
  tree.HandleTimer(StructureChangeTimer);
  EXPECT_EQ(reported, nullptr);
  EXPECT_EQ(parent, tree.At("0.1"));
}

TEST(Deletion, FreeNodeOnlyForInitialisedOrNotifiedNodes) {
  TestTree tree;
  tree.SetRootNodeCount(4);
  tree.GetFirst();                                    // 0 initialised
  tree.SetNodeFreeNotify(tree.GetFirstRaw()->NextSibling, true);  // 1 asks to be told
  tree.Clear();
  EXPECT_EQ(tree.freeCount, 2);
}

}  // namespace
