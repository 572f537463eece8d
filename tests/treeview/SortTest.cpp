// Sorting sibling chains through OnCompareNodes: stable in both directions, on every
// initialised level, and automatically after updates.
#include "TreeFixture.h"

namespace {

// Three levels of three children each; a node's key repeats every five ids, so every
// chain has ties whose original order (increasing id) must survive.
class Sorting : public ::testing::Test {
protected:
  void SetUp() override {
    tree.shape = {{"", 3}};
    for (int a = 0; a < 3; ++a) {
      tree.shape[QString::number(a)] = 3;
      for (int b = 0; b < 3; ++b) tree.shape[QString("%1.%2").arg(a).arg(b)] = 3;
    }
    tree.Build();
    tree.OnCompareNodes = [this](TBaseLazyTree*, PLazyNode a, PLazyNode b, int column, int& result) {
      ++compares;
      lastColumn = column;
      result = Key(a) - Key(b);
    };
  }
  int Key(PLazyNode node) const { return tree.Data(node)->id * 7 % 5; }
  // Every chain ordered by key in the direction, ties by increasing id; links consistent.
  void ExpectSorted(PLazyNode parent, bool ascending) {
    PLazyNode previous = nullptr;
    unsigned index = 0;
    for (PLazyNode run = parent->FirstChild; run; run = run->NextSibling, ++index) {
      EXPECT_EQ(run->Index, index);
      EXPECT_EQ(run->PrevSibling, previous);
      if (previous) {
        const int order = ascending ? Key(run) - Key(previous) : Key(previous) - Key(run);
        const std::string at = tree.Path(run).toStdString();
        EXPECT_GE(order, 0) << at;
        if (order == 0) {
          EXPECT_GT(tree.Data(run)->id, tree.Data(previous)->id) << "unstable at " << at;
        }
      }
      ExpectSorted(run, ascending);
      previous = run;
    }
    EXPECT_EQ(parent->LastChild, previous);
  }
  TestTree tree;
  int compares = 0;
  int lastColumn = -9;
};

TEST_F(Sorting, WholeTreeIsStableInBothDirections) {
  for (bool ascending : {true, false}) {
    tree.SortTree(3, ascending, true);
    ExpectSorted(tree.RootNode(), ascending);
    EXPECT_EQ(lastColumn, 3);
    EXPECT_TOTALS_AGREE(tree);
  }
}

TEST_F(Sorting, OneChildOrColumnMinusTwoComparesNothing) {
  tree.SortTree(-2, true, true);
  EXPECT_EQ(compares, 0);
  tree.SetNodeChildCount(tree.At("1"), 1);
  tree.SortChildren(tree.At("1"), 0, true, true);
  EXPECT_EQ(compares, 0);
  tree.SortChildren(tree.At("2"), 0, true, true);
  EXPECT_GE(compares, 2);  // three nodes: one comparison for the run of two, one or two to merge
  EXPECT_LE(compares, 3);
}

TEST_F(Sorting, UninitialisedSubtreesAreLeftAloneWithoutInit) {
  TestTree lazy;
  lazy.shape = tree.shape;
  lazy.SetRootNodeCount(3);  // nothing initialised yet
  int calls = 0;
  lazy.OnCompareNodes = [&](TBaseLazyTree*, PLazyNode, PLazyNode, int, int& result) {
    ++calls;
    result = 0;
  };
  lazy.SortTree(0, true, false);
  EXPECT_EQ(calls, 2);  // the top level only
  EXPECT_EQ(lazy.initCount, 0);
  lazy.SortTree(0, true, true);
  EXPECT_EQ(lazy.TotalCount(), 39u);  // every level created and sorted
}

TEST_F(Sorting, AutoSortAfterAnUpdateAndOnGrowth) {
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() + TLTAutoOptions{toAutoSort});
  tree.BeginTreeUpdate();
  tree.SetNodeChildCount(tree.At("0.0"), 6);
  for (PLazyNode run = tree.GetFirstChildNode(tree.At("0.0")); run; run = tree.GetNextSiblingNode(run)) {
  }
  EXPECT_EQ(compares, 0);  // nothing sorts inside the update
  tree.EndTreeUpdate();
  ExpectSorted(tree.RootNode(), true);
  compares = 0;
  tree.SetNodeChildCount(tree.At("1.1"), 5);  // outside an update: that chain re-sorts
  EXPECT_GT(compares, 0);
  ExpectSorted(tree.At("1.1"), true);
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(Sorting, SortingEndsAPendingEdit) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toEditable});
  tree.DoStateChange({tsEditPending});
  tree.fakeTimers->Start(EditTimer, 1000);
  tree.SortTree(0, true, true);
  EXPECT_FALSE(tree.TreeStates().Contains(tsEditPending));
  EXPECT_FALSE(tree.fakeTimers->IsRunning(EditTimer));
}

// With the owner's sort numbers the tree orders by them and compares only equal
// numbers: the order must be the one the comparison alone gives, in both directions,
// below and above the size where the numbers are radix-sorted, with negative numbers,
// and whatever a node without a number makes the tree fall back to.
TEST(SortingByOwnerNumbers, GivesTheOrderOfTheComparisonAlone) {
  struct Case {
    int nodes;
    bool oneNodeHasNoNumber;
  };
  for (Case c : {Case{40, false}, Case{1500, false}, Case{1500, true}}) {
    for (bool ascending : {true, false}) {
      // Numbers repeat (and go below zero); within a number the finer key decides, and
      // equal finer keys keep their order (increasing id).
      auto number = [](int id) { return std::int64_t(id * 7919 % 37 - 18) * (std::int64_t(1) << 40); };
      auto finer = [](int id) { return id % 3; };
      auto sorted = [&](bool withNumbers, int& compares) {
        TestTree t;
        t.shape = {{"", c.nodes}};
        t.Build();
        t.OnCompareNodes = [&](TBaseLazyTree*, PLazyNode a, PLazyNode b, int, int& result) {
          ++compares;
          const int x = t.Data(a)->id, y = t.Data(b)->id;
          result = number(x) != number(y) ? (number(x) < number(y) ? -1 : 1) : finer(x) - finer(y);
        };
        if (withNumbers)
          t.OnGetSortKey = [&](TBaseLazyTree*, PLazyNode node, int, std::int64_t& key, bool& known) {
            const int id = t.Data(node)->id;
            if (c.oneNodeHasNoNumber && id == c.nodes / 2) return;
            key = number(id);
            known = true;
          };
        t.SortTree(0, ascending, true);
        std::vector<int> ids;
        for (PLazyNode run = t.RootNode()->FirstChild; run; run = run->NextSibling) {
          EXPECT_EQ(run->Index, ids.size());
          ids.push_back(t.Data(run)->id);
        }
        EXPECT_TOTALS_AGREE(t);
        return ids;
      };
      int comparesAlone = 0, comparesWithNumbers = 0;
      const std::vector<int> expected = sorted(false, comparesAlone);
      EXPECT_EQ(sorted(true, comparesWithNumbers), expected) << c.nodes << (ascending ? " ascending" : " descending");
      if (!c.oneNodeHasNoNumber) {
        EXPECT_LT(comparesWithNumbers, comparesAlone);
      }
    }
  }
}

}  // namespace
