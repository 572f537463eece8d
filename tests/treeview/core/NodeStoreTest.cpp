// The node store on its own, without a widget: links in every attach mode, the running
// totals as nodes come, go, hide and fold, and the block layout.
#include "support/CaseName.h"
#include "treeview/LazyNodeStore.h"
#include "treeview/LazyTreeAssert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A store whose nodes carry a letter as owner data, so orders read as words.
class Store {
public:
  Store() { store.SetNodeDataSize(sizeof(char)); }
  PLazyNode Add(char name, PLazyNode destination, TLTNodeAttachMode mode = amAddChildLast) {
    PLazyNode node = store.NewNode();
    *static_cast<char*>(store.NodeData(node)) = name;
    store.Link(node, destination ? destination : store.Root(), mode);
    return node;
  }
  // The names of Node's children in sibling order; indices must count up from 0.
  std::string Children(PLazyNode node) const {
    std::string names;
    std::uint32_t index = 0;
    for (PLazyNode run = node->FirstChild; run; run = run->NextSibling, ++index) {
      names += *static_cast<char*>(store.NodeData(run));
      EXPECT_EQ(run->Index, index) << names;
      EXPECT_EQ(run->Parent, node);
      if (!run->NextSibling) {
        EXPECT_EQ(node->LastChild, run);
      }
    }
    EXPECT_EQ(node->ChildCount, names.size());
    return names;
  }
  PLazyNode Root() const { return store.Root(); }

  int owner = 0;
  TLazyNodeStore store{&owner};
};

struct LinkCase {
  const char* name;
  TLTNodeAttachMode mode;
  bool relativeToB;  // destination B (else the root)
  const char* order;
};
const LinkCase kLinkCases[] = {
    {"before the middle", amInsertBefore, true, "AXBC"},
    {"after the middle", amInsertAfter, true, "ABXC"},
    {"first child", amAddChildFirst, false, "XABC"},
    {"last child", amAddChildLast, false, "ABCX"},
};

class NodeStoreLink : public testing::TestWithParam<LinkCase> {};

TEST_P(NodeStoreLink, PutsTheNodeInPlaceAndCountsIt) {
  Store s;
  s.Add('A', nullptr);
  PLazyNode b = s.Add('B', nullptr);
  s.Add('C', nullptr);
  s.Add('X', GetParam().relativeToB ? b : nullptr, GetParam().mode);
  EXPECT_EQ(s.Children(s.Root()), GetParam().order);
  EXPECT_EQ(s.Root()->TotalCount, 5u);
  EXPECT_EQ(s.Root()->TotalHeight, 5u * 18);  // the root's own row counts in its total
  EXPECT_EQ(s.store.VisibleCount(), 4u);
}
INSTANTIATE_TEST_SUITE_P(Modes, NodeStoreLink, testing::ValuesIn(kLinkCases),
                         [](const auto& info) { return CaseName(info.param.name); });

// A parent P with children a, b under the root: the totals as P folds and b hides.
struct TotalsCase {
  const char* name;
  bool expanded;
  bool childHidden;
  unsigned parentHeight;  // P's subtree height
  unsigned rows;          // rows in view
  bool allChildrenHidden;
};
const TotalsCase kTotalsCases[] = {
    {"collapsed", false, false, 18, 1, false},
    {"expanded", true, false, 3 * 18, 3, false},
    {"expanded with b hidden", true, true, 2 * 18, 2, false},
    {"collapsed with b hidden", false, true, 18, 1, false},
};

class NodeStoreTotals : public testing::TestWithParam<TotalsCase> {};

TEST_P(NodeStoreTotals, FollowTheShapeWhateverTheOrderOfLinking) {
  const TotalsCase& c = GetParam();
  Store s;
  // Children are made and shaped before P is linked, as a read or a paste does.
  PLazyNode p = s.store.NewNode();
  p->Set(nsExpanded, c.expanded);
  *static_cast<char*>(s.store.NodeData(p)) = 'P';
  s.store.Link(p, s.Root(), amAddChildLast);
  s.Add('a', p);
  PLazyNode b = s.store.NewNode();
  *static_cast<char*>(s.store.NodeData(b)) = 'b';
  b->Set(nsVisible, !c.childHidden);
  s.store.Link(b, p, amAddChildLast);
  EXPECT_EQ(s.Children(p), "ab");
  EXPECT_EQ(p->TotalCount, 3u);
  EXPECT_EQ(p->TotalHeight, c.parentHeight);
  EXPECT_EQ(s.Root()->TotalHeight, 18 + c.parentHeight);
  EXPECT_EQ(s.store.VisibleCount(), c.rows);
  EXPECT_EQ(p->Has(nsAllChildrenHidden), c.allChildrenHidden);

  // Taking everything out again leaves the store as it began.
  s.store.Unlink(b, true);
  s.store.FreeNode(b);
  s.store.Unlink(p->FirstChild, true);
  s.store.Unlink(p, true);
  EXPECT_FALSE(p->Has(nsHasChildren));
  EXPECT_FALSE(p->Has(nsExpanded));
  EXPECT_EQ(s.Root()->TotalCount, 1u);
  EXPECT_EQ(s.Root()->TotalHeight, 18u);
  EXPECT_EQ(s.store.VisibleCount(), 0u);
}
INSTANTIATE_TEST_SUITE_P(Shapes, NodeStoreTotals, testing::ValuesIn(kTotalsCases),
                         [](const auto& info) { return CaseName(info.param.name); });

TEST(NodeStore, UnlinkRenumbersTheSiblingsAfterOnlyWhenAsked) {
  Store s;
  PLazyNode a = s.Add('A', nullptr);
  s.Add('B', nullptr);
  PLazyNode c = s.Add('C', nullptr);
  s.store.Unlink(a, false);
  EXPECT_EQ(s.Root()->FirstChild->Index, 1u);  // left for a caller deleting many at once
  s.store.Link(a, s.Root(), amAddChildFirst);
  EXPECT_EQ(s.Children(s.Root()), "ABC");
  s.store.Unlink(s.Root()->FirstChild->NextSibling, true);
  EXPECT_EQ(s.Children(s.Root()), "AC");
  EXPECT_EQ(c->Index, 1u);
}

TEST(NodeStore, AllChildrenHiddenWhenTheOnlyChildIsHidden) {
  Store s;
  PLazyNode p = s.Add('P', nullptr);
  PLazyNode hidden = s.store.NewNode();
  hidden->Exclude(nsVisible);
  s.store.Link(hidden, p, amAddChildLast);
  EXPECT_TRUE(p->Has(nsAllChildrenHidden));
  s.Add('v', p);
  EXPECT_FALSE(p->Has(nsAllChildrenHidden));
}

TEST(NodeStore, WhereANodeStands) {
  Store s;
  PLazyNode p = s.Add('P', nullptr);
  PLazyNode child = s.Add('c', p);
  PLazyNode grandChild = s.Add('g', child);
  EXPECT_EQ(s.store.LevelOfNode(grandChild), 2u);
  EXPECT_EQ(s.store.LevelOfNode(s.Root()), 0u);
  EXPECT_TRUE(TLazyNodeStore::NodeHasAncestor(grandChild, p));
  EXPECT_FALSE(TLazyNodeStore::NodeHasAncestor(p, grandChild));
  EXPECT_FALSE(TLazyNodeStore::NodeHasAncestor(p, p));
  EXPECT_FALSE(s.store.IsNodeInView(child));  // P is collapsed
  p->Include(nsExpanded);
  EXPECT_TRUE(s.store.IsNodeInView(child));
  EXPECT_FALSE(s.store.IsNodeInView(grandChild));
  EXPECT_EQ(TLazyNodeStore::OwnerOf(grandChild), &s.owner);
}

TEST(NodeStore, DefaultHeightMovesTheRootsTotals) {
  Store s;
  s.Add('A', nullptr);
  s.store.SetDefaultNodeHeight(30);
  EXPECT_EQ(s.Root()->TotalHeight, 30u + 18);  // A keeps the height it was made with
  EXPECT_EQ(s.store.NewNode()->NodeHeight, 30);
}

TEST(NodeStore, InternalDataLiesBetweenTheFieldsAndTheOwnersData) {
  TLazyNodeStore store(nullptr);
  const int first = store.ReserveInternalData(3);
  const int second = store.ReserveInternalData(8);
  EXPECT_EQ(first, static_cast<int>(sizeof(TLazyNode)));
  EXPECT_EQ(store.NodeDataOffset(), 0);  // no owner data yet
  EXPECT_EQ(second - first, static_cast<int>(alignof(void*)));  // the odd size was rounded up
  store.SetNodeDataSize(4);
  PLazyNode node = store.NewNode();
  EXPECT_EQ(static_cast<std::byte*>(store.NodeData(node)) - reinterpret_cast<std::byte*>(node),
            sizeof(TLazyNode) + store.InternalDataSize());
  EXPECT_EQ(static_cast<std::byte*>(store.NodeData(node)) - reinterpret_cast<std::byte*>(node),
            store.NodeDataOffset());
  EXPECT_EQ(store.NodeData(store.Root()), nullptr);

  std::vector<QString> reported;
  TLazyTreeAssertScope scope([&](const QString& message) { reported.push_back(message); });
  EXPECT_EQ(store.ReserveInternalData(8), -1);  // a node exists: the layout is fixed
  EXPECT_EQ(reported.size(), 1u);
  store.FreeNode(node);
}

}  // namespace
