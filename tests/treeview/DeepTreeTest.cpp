// Trees as deep as a user can make them (a block pasted under its own deepest node again
// and again): they are built, checked, refused by the stream writer past the depth its
// reader accepts, exported and destroyed without running out of stack.
#include "TreeFixture.h"

#include "treeview/LazyStringTree.h"

#include <memory>

namespace {

class ChainTree : public TBaseLazyTree {
public:
  using TBaseLazyTree::ApplyCheckState;
  using TBaseLazyTree::CopyNodeInto;
};

// Adds a chain of `depth` nodes under `parent` (nil: the root); returns its deepest node.
PLazyNode AddChain(TBaseLazyTree& tree, PLazyNode parent, int depth) {
  for (int i = 0; i < depth; ++i) parent = tree.AddChild(parent);
  return parent;
}

// Initialises every node, so each is written with its children and freed with its event.
void InitialiseAll(TBaseLazyTree& tree) {
  for (PLazyNode run = tree.GetFirst(); run; run = tree.GetNext(run)) {
  }
}

PLazyNode Deepest(PLazyNode node) {
  while (node->LastChild) node = node->LastChild;
  return node;
}

// The node `levels` below `node` along the chain.
PLazyNode Down(PLazyNode node, int levels) {
  for (int i = 0; i < levels; ++i) node = node->FirstChild;
  return node;
}

// A chain `depth` levels deep, built as a user would: a block of 999 levels pasted under
// the chain's deepest node again and again. Every node initialised, with the check type.
PLazyNode BuildChain(ChainTree& tree, int depth, TCheckType checkType = ctNone) {
  constexpr int kBlock = kMaxStreamNodeDepth - 1;
  ChainTree block;
  AddChain(block, nullptr, kBlock);
  InitialiseAll(block);
  PLazyNode deepest = AddChain(tree, nullptr, 1);
  int built = 1;
  while (built + kBlock <= depth) {
    deepest = Deepest(block.CopyNodeInto(block.GetFirstRaw(), tree, deepest, amAddChildLast));
    built += kBlock;
  }
  deepest = AddChain(tree, deepest, depth - built);
  InitialiseAll(tree);
  for (PLazyNode run = tree.GetFirstRaw(); run; run = tree.GetNextRaw(run)) run->CheckType = checkType;
  return deepest;
}

}  // namespace

TEST(DeepTree, AHundredThousandLevelsAreBuiltCheckedRefusedByTheWriterAndDestroyed) {
  constexpr int kDepth = 100'000;
  auto tree = std::make_unique<ChainTree>();
  PLazyNode deepest = BuildChain(*tree, kDepth);
  ASSERT_EQ(tree->TotalCount(), unsigned(kDepth));
  EXPECT_EQ(tree->LevelOfNode(deepest), unsigned(kDepth - 1));
  EXPECT_EQ(tree->CheckTotals(), QStringList());

  // The whole chain is deeper than a stream may nest: the writer refuses with the tree's
  // error and leaves the stream as it was, instead of writing what its reader rejects.
  TLazyTreeStream stream;
  try {
    tree->WriteTreeStream(stream);
    FAIL() << "written";
  } catch (const ELazyTreeError& error) {
    EXPECT_TRUE(error.Message().contains(QString::number(kMaxStreamNodeDepth))) << error.Message().toStdString();
  }
  EXPECT_EQ(stream.Size(), 0);
  // A subtree at the limit is written and reads back whole; one level more is refused.
  PLazyNode atLimit = Down(tree->GetFirstRaw(), kDepth - kMaxStreamNodeDepth);
  tree->WriteTreeStream(stream, atLimit);
  stream.SetPosition(0);
  TBaseLazyTree copy;
  copy.ReadTreeStream(stream);
  EXPECT_EQ(copy.TotalCount(), unsigned(kMaxStreamNodeDepth));
  TLazyTreeStream refused;
  EXPECT_THROW(tree->WriteTreeStream(refused, atLimit->Parent), ELazyTreeError);

  tree.reset();  // freeing the chain walks it without recursion
}

TEST(DeepTree, ACheckRunsDownAndUpAHundredThousandTriStateLevels) {
  constexpr int kDepth = 100'000;
  ChainTree tree;
  PLazyNode deepest = BuildChain(tree, kDepth, ctTriStateCheckBox);
  PLazyNode top = tree.GetFirstRaw();
  int told = 0;
  tree.OnChecked = [&](TBaseLazyTree*, PLazyNode) { ++told; };
  EXPECT_TRUE(tree.ApplyCheckState(top, csCheckedNormal));
  EXPECT_EQ(deepest->CheckState, csCheckedNormal);
  EXPECT_EQ(told, kDepth - 1) << "every descendant is told; the node itself by whoever asked";
  told = 0;
  EXPECT_TRUE(tree.ApplyCheckState(deepest, csUncheckedNormal));
  EXPECT_EQ(top->CheckState, csUncheckedNormal) << "each parent follows its only child";
  EXPECT_EQ(told, kDepth - 1);
  EXPECT_FALSE(tree.TreeStates().Contains(tsCheckPropagation));
  EXPECT_FALSE(top->Has(nsChecking));
  tree.OnChecked = nullptr;
}

TEST(DeepTree, DeletingADeepChainFreesEveryNodeDeepestFirst) {
  constexpr int kDepth = 50'000;
  ChainTree block;
  AddChain(block, nullptr, kMaxStreamNodeDepth);
  InitialiseAll(block);
  std::vector<PLazyNode> freed;  // before the tree, which reports the nodes it frees as it goes
  ChainTree tree;
  PLazyNode keep = tree.AddChild(nullptr);
  PLazyNode top = tree.AddChild(nullptr);
  PLazyNode deepest = top;
  for (int depth = 1; depth < kDepth; depth += kMaxStreamNodeDepth)
    deepest = Deepest(block.CopyNodeInto(block.GetFirstRaw(), tree, deepest, amAddChildLast));
  InitialiseAll(tree);
  const unsigned count = tree.TotalCount();
  tree.OnFreeNode = [&](TBaseLazyTree*, PLazyNode node) { freed.push_back(node); };
  tree.DeleteNode(top);
  ASSERT_EQ(freed.size(), std::size_t(count - 1));
  EXPECT_EQ(freed.front(), deepest);
  EXPECT_EQ(freed.back(), top);
  EXPECT_EQ(tree.TotalCount(), 1u);
  EXPECT_EQ(tree.GetFirstRaw(), keep);
  EXPECT_EQ(tree.CheckTotals(), QStringList());
  tree.OnFreeNode = nullptr;
}

TEST(DeepTree, TenThousandLevelsExportAsTextIndentedByTheirLevel) {
  constexpr int kDepth = 10'000;
  TLazyStringTree tree;
  tree.OnGetText = [](TBaseLazyTree*, PLazyNode, int, TLSTTextType, QString& text) { text = QStringLiteral("n"); };
  AddChain(tree, nullptr, kDepth);
  const QString text = tree.ContentToUnicodeText(srcAll, QLatin1Char('\t'));
  // Each node's line: its level in tabs, its text and a line break.
  const qsizetype tabs = qsizetype(kDepth) * (kDepth - 1) / 2;
  EXPECT_EQ(text.size(), tabs + qsizetype(kDepth) * 3);
  EXPECT_EQ(text.count(QLatin1Char('\t')), tabs);
  EXPECT_TRUE(text.endsWith(QString(kDepth - 1, QLatin1Char('\t')) + QStringLiteral("n\r\n")));
  tree.OnGetText = nullptr;
}
