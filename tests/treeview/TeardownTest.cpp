// A tree going away: whoever frees the owner's data in the nodes still hears of every
// node, and a tree nobody watches leaves its node memory to the next tree.
#include "treeview/LazyNodePool.h"
#include "treeview/LazyStringTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <new>

namespace {

constexpr unsigned kParents = 300;
constexpr unsigned kChildren = 4;

// The owner's data: a caption on the heap, so a node freed without being told leaks it.
struct Caption {
  static inline int live = 0;
  QString text;
  explicit Caption(PLazyNode node) : text(QStringLiteral("caption of node %1").arg(node->Index)) { ++live; }
  ~Caption() { --live; }
};

// Every parent has kChildren children; each node's caption is made as it is initialised.
void Shape(TBaseLazyTree& tree) {
  tree.OnGetNodeDataSize = [](TBaseLazyTree*, int& size) { size = sizeof(Caption); };
  tree.OnInitNode = [](TBaseLazyTree* owner, PLazyNode parent, PLazyNode node, TLazyNodeInitStates& states) {
    new (owner->GetNodeData(node)) Caption(node);
    if (!parent) states.Include(ivsHasChildren);
  };
  tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& count) { count = kChildren; };
}

void FreeCaption(TBaseLazyTree& tree, PLazyNode node) { tree.GetNodeData<Caption>(node)->~Caption(); }

// Frees the captions itself and clears in its own destructor, where its override still
// answers; it has no OnFreeNode.
class CaptionTree : public TLazyStringTree {
public:
  explicit CaptionTree(unsigned& freed) : freed_(freed) {}
  ~CaptionTree() override { Clear(); }

protected:
  void DoFreeNode(PLazyNode node) override {
    FreeCaption(*this, node);
    ++freed_;
    TLazyStringTree::DoFreeNode(node);
  }

private:
  unsigned& freed_;
};

template <typename Tree>
std::unique_ptr<TBaseLazyTree> WithOnFreeNode(unsigned& freed) {
  auto tree = std::make_unique<Tree>();
  tree->OnFreeNode = [&freed](TBaseLazyTree* owner, PLazyNode node) {
    FreeCaption(*owner, node);
    ++freed;
  };
  return tree;
}

struct TeardownCase {
  const char* name;
  std::unique_ptr<TBaseLazyTree> (*make)(unsigned& freed);
};
const TeardownCase kTeardownCases[] = {
    {"a draw tree whose owner frees in OnFreeNode", WithOnFreeNode<TCustomLazyDrawTree>},
    {"a string tree whose owner frees in OnFreeNode", WithOnFreeNode<TLazyStringTree>},
    {"a descendant that frees in DoFreeNode",
     [](unsigned& freed) -> std::unique_ptr<TBaseLazyTree> { return std::make_unique<CaptionTree>(freed); }},
};

TEST(TreeTeardown, WhoeverFreesTheOwnersDataHearsOfEveryNode) {
  for (const TeardownCase& c : kTeardownCases) {
    SCOPED_TRACE(c.name);
    unsigned freed = 0;
    std::unique_ptr<TBaseLazyTree> tree = c.make(freed);
    Shape(*tree);
    tree->SetRootNodeCount(kParents);
    tree->ExpandAll(nullptr);
    const unsigned nodes = kParents * (kChildren + 1);
    ASSERT_EQ(Caption::live, int(nodes));
    tree->SetFocusedNode(tree->GetLast());
    tree->SetNodeSelected(tree->GetFirst(), true);
    tree.reset();
    EXPECT_EQ(freed, nodes);
    EXPECT_EQ(Caption::live, 0);
    Caption::live = 0;
  }
}

// A tree nobody hears the nodes of is dropped whole; its chunks wait for the next tree.
TEST(TreeTeardown, ATreeNobodyWatchesLeavesItsNodeMemoryToTheNextTree) {
  TLazyNodePool::ReleaseSpareChunks();
  auto fill = [](TCustomLazyDrawTree& tree) {
    tree.OnInitNode = [](TBaseLazyTree*, PLazyNode parent, PLazyNode, TLazyNodeInitStates& states) {
      if (!parent) states.Include(ivsHasChildren);
    };
    tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& count) { count = kChildren; };
    tree.SetRootNodeCount(kParents);
    tree.ExpandAll(nullptr);
    tree.SetFocusedNode(tree.GetLast());
    tree.SetNodeSelected(tree.GetFirst(), true);
  };
  auto first = std::make_unique<TCustomLazyDrawTree>();
  fill(*first);
  const std::size_t held = first->NodeMemoryBytes();
  first.reset();
  const std::size_t spare = TLazyNodePool::SpareBytes();
  EXPECT_GT(spare, 0u);
  EXPECT_LT(spare, held);  // every chunk; the hidden root is no chunk's

  TCustomLazyDrawTree second;
  fill(second);
  EXPECT_EQ(TLazyNodePool::SpareBytes(), 0u);
  EXPECT_EQ(second.NodeMemoryBytes(), held);
  EXPECT_EQ(second.TotalCount(), kParents * (kChildren + 1));
  EXPECT_EQ(second.CheckTotals(), QStringList());
}

}  // namespace
