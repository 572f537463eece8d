// The selection set on its own, over a node store and without a widget: order and
// membership through inserts, merges, removals and marks left by deletions; the anchor
// and level constraints; tree order with and without resolving; the cut and copy marks.
#include "support/CaseName.h"
#include "treeview/LazySelection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

// Nodes named by letters: A(a1 a2(x)) B(b1) C, every node in a fresh block.
class Fixture {
public:
  Fixture() {
    store.SetNodeDataSize(sizeof(char));
    Add('A', nullptr);
    Add('a', node['A']);
    Add('b', node['A']);  // a2
    Add('x', node['b']);
    Add('B', nullptr);
    Add('c', node['B']);  // b1
    Add('C', nullptr);
  }
  PLazyNode Add(char name, PLazyNode parent) {
    PLazyNode n = store.NewNode();
    *static_cast<char*>(store.NodeData(n)) = name;
    n->Include(nsVisible);
    store.Link(n, parent ? parent : store.Root(), amAddChildLast);
    node[name] = n;
    return n;
  }
  char Name(PLazyNode n) const { return *static_cast<char*>(store.NodeData(n)); }
  std::string Names(const QVector<PLazyNode>& nodes) const {
    std::string out;
    for (PLazyNode n : nodes) out += Name(n);
    return out;
  }
  // Selects as the control does: the flag on the node, the node in the set.
  void Select(const std::string& names) {
    for (char c : names) {
      node[c]->Include(nsSelected);
      set.Insert(node[c]);
    }
  }

  int owner = 0;
  TLazyNodeStore store{&owner};
  TLazySelection set{store};
  std::map<char, PLazyNode> node;
};

struct OrderCase {
  const char* name;
  const char* selected;
  bool resolve;
  const char* treeOrder;
};
const OrderCase kOrderCases[] = {
    {"all in tree order", "CxaBA", false, "AaxBC"},
    {"resolved drops covered nodes", "CxaBA", true, "ABC"},
    {"a covered grandchild", "xA", true, "A"},
    {"siblings stay", "ba", true, "ab"},
    {"nothing", "", true, ""},
};

class SelectionOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(SelectionOrder, ListsTheSelectionInTreeOrder) {
  Fixture f;
  f.Select(GetParam().selected);
  EXPECT_EQ(f.Names(f.set.InTreeOrder(GetParam().resolve)), GetParam().treeOrder);
  EXPECT_EQ(f.set.Count(), std::string(GetParam().selected).size());
}
INSTANTIATE_TEST_SUITE_P(Cases, SelectionOrder, testing::ValuesIn(kOrderCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST(SelectionSet, FindsEveryMemberAndNoOtherAfterInsertsAndAMerge) {
  Fixture f;
  f.Select("Bx");
  QVector<PLazyNode> more{f.node['C'], f.node['a'], f.node['A']};  // not in address order
  f.set.Merge(more);
  for (auto [name, n] : f.node) EXPECT_EQ(f.set.Contains(n), std::string("BxCaA").find(name) != std::string::npos) << name;
  // The slots stay in address order: Nodes() walks them.
  const QVector<PLazyNode> nodes = f.set.Nodes();
  EXPECT_TRUE(std::is_sorted(nodes.cbegin(), nodes.cend(), std::less<PLazyNode>()));
  EXPECT_EQ(nodes.size(), 5);
}

TEST(SelectionSet, MarkedSlotsCountUntilPackedButAreNeverListed) {
  Fixture f;
  f.Select("ABC");
  f.set.MarkDeleted(f.node['B']);
  f.set.MarkDeleted(f.node['x']);  // not selected: nothing to mark
  EXPECT_EQ(f.set.Count(), 3u);
  EXPECT_TRUE(f.set.Contains(f.node['B']));  // the slot is still there
  EXPECT_EQ(f.set.Nodes().size(), 2);
  EXPECT_FALSE(f.set.Nodes().contains(f.node['B']));
  EXPECT_EQ(f.Names(f.set.InTreeOrder(false)), "AC");
  f.set.Pack();
  EXPECT_EQ(f.set.Count(), 2u);
  EXPECT_FALSE(f.set.Contains(f.node['B']));
  // An insert packs first, so a marked slot never stands next to a fresh one.
  f.set.MarkDeleted(f.node['A']);
  f.Select("x");
  EXPECT_EQ(f.set.Count(), 2u);
}

TEST(SelectionSet, ClearDropsFlagsAnchorAndLevel) {
  Fixture f;
  f.Select("Aac");
  f.set.SetAnchor(f.node['a']);
  f.set.SetLevel(1);
  f.set.Clear(false);
  EXPECT_TRUE(f.set.IsEmpty());
  EXPECT_EQ(f.set.Anchor(), nullptr);
  EXPECT_EQ(f.set.Level(), -1);
  for (char c : std::string("Aac")) EXPECT_FALSE(f.node[c]->Has(nsSelected)) << c;
}

TEST(SelectionSet, RemovingTheLastNodeForgetsTheAnchor) {
  Fixture f;
  f.Select("ab");
  f.set.SetAnchor(f.node['a']);
  f.set.SetLevel(1);
  f.set.Remove(f.node['a']);
  EXPECT_EQ(f.set.Anchor(), f.node['a']);  // still a selection to range from
  f.set.Remove(f.node['b']);
  f.set.Remove(f.node['C']);  // not a member: nothing happens
  EXPECT_EQ(f.set.Anchor(), nullptr);
  EXPECT_EQ(f.set.Level(), -1);
}

struct ConstraintCase {
  const char* name;
  bool level, sibling;
  const char* offered;   // in this order; the first fixes level and anchor
  const char* admitted;
};
const ConstraintCase kConstraintCases[] = {
    {"none", false, false, "aBxc", "aBxc"},
    {"level", true, false, "acBx", "ac"},
    {"level from a top node", true, false, "BaCx", "BC"},
    {"siblings", false, true, "abcx", "ab"},
    {"both", true, true, "cabx", "c"},
};

class SelectionConstraint : public testing::TestWithParam<ConstraintCase> {};

TEST_P(SelectionConstraint, AdmitsOnlyWhatTheFirstNodeAllows) {
  Fixture f;
  std::string admitted;
  for (char c : std::string(GetParam().offered))
    if (f.set.Admits(f.node[c], GetParam().level, GetParam().sibling)) admitted += c;
  EXPECT_EQ(admitted, GetParam().admitted);
}
INSTANTIATE_TEST_SUITE_P(Cases, SelectionConstraint, testing::ValuesIn(kConstraintCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST(SelectionSet, CutCopyMarksSkipDisabledAndDeletedNodes) {
  Fixture f;
  f.Select("AxBC");
  f.node['B']->Include(nsDisabled);
  f.set.MarkDeleted(f.node['C']);
  f.set.MarkCutCopy();
  EXPECT_EQ(f.Names(f.set.CutCopySet(false)), "Ax");
  EXPECT_EQ(f.Names(f.set.CutCopySet(true)), "A");  // x goes with A
  EXPECT_EQ(f.set.NextCutCopyNode(nullptr), f.node['A']);
  EXPECT_EQ(f.set.NextCutCopyNode(f.node['A']), f.node['x']);
  EXPECT_EQ(f.set.NextCutCopyNode(f.node['x']), nullptr);
  f.set.ClearCutCopyMarks();
  EXPECT_TRUE(f.set.CutCopySet(false).isEmpty());
  EXPECT_TRUE(f.node['A']->Has(nsSelected));  // the selection itself stays
}

}  // namespace
