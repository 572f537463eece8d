// Tree data through the clipboard: copy and cut between trees, data from elsewhere, bad
// data, and a tree that goes away while its data is on the clipboard.
#include "NamedTree.h"

#include "treeview/LazyTreeReference.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString kTreeData = "application/x-lazy-tree-data";
const QString kReference = "application/x-lazy-tree-reference";

class Paste : public ::testing::Test {
protected:
  void SetUp() override {
    QGuiApplication::clipboard()->clear();
    for (const char* name : {"a", "b", "c"}) source.Add(name);
    source.Add("b1", source.Named("b"));
    target.Add("x");
  }
  void Select(NamedTree& tree, QStringList names) {
    tree.UnselectAll();
    for (const QString& name : names) tree.AddToSelection(tree.Named(name));
  }
  // What the clipboard holds now, copied into plain data with a reference as given.
  std::unique_ptr<QMimeData> Copied(const QByteArray& reference) {
    auto data = std::make_unique<QMimeData>();
    data->setData(kTreeData, QGuiApplication::clipboard()->mimeData()->data(kTreeData));
    data->setData(kReference, reference);
    return data;
  }
  NamedTree source;
  NamedTree target;
};

TEST_F(Paste, CopyAddsTheNodesWithTheirSubtreesAndLeavesTheSource) {
  Select(source, {"b", "b1"});  // the child goes with its parent once
  source.CopySelectedToClipboard();
  target.SetFocusedNode(target.Named("x"));
  EXPECT_TRUE(target.PasteFromClipboard());
  EXPECT_EQ(target.Rows(), "x(b(b1))");
  EXPECT_EQ(source.Rows(), "a b(b1) c");
  EXPECT_TRUE(source.TreeStates().Contains(tsCopyPending));
  EXPECT_TOTALS_AGREE(target);
}

TEST_F(Paste, NodesKeepTheirOrderWhereEachWouldGoInFrontOfTheLast) {
  target.Add("y");
  Select(source, {"a", "c"});
  source.CopySelectedToClipboard();
  target.SetFocusedNode(target.Named("x"));
  for (TLTNodeAttachMode mode : {amInsertAfter, amAddChildFirst}) {
    target.SetDefaultPasteMode(mode);
    EXPECT_TRUE(target.PasteFromClipboard());
  }
  EXPECT_EQ(target.Rows(), "x(a c) a c y");
}

TEST_F(Paste, CutMovesWhatMayMoveAndUnmarksTheRest) {
  Select(source, {"a", "c"});
  source.CutSelectedToClipboard();
  source.OnNodeMoving = [&](TBaseLazyTree*, PLazyNode node, PLazyNode, bool& allowed) {
    allowed = source.names[node] != "c";
  };
  target.SetFocusedNode(nullptr);
  EXPECT_TRUE(target.PasteFromClipboard());
  EXPECT_EQ(target.Rows(), "x a");
  EXPECT_EQ(source.Rows(), "b(b1) c");  // the refused node stays, not deleted with the cut
  EXPECT_FALSE(source.Named("c")->Has(nsCutOrCopy));
  EXPECT_FALSE(source.TreeStates().Contains(tsCutPending));
  EXPECT_TOTALS_AGREE(source);
  EXPECT_TOTALS_AGREE(target);
}

TEST_F(Paste, CutWithinOneTreeMovesTheNodesThere) {
  Select(source, {"a"});
  source.CutSelectedToClipboard();
  source.SetFocusedNode(source.Named("c"));
  EXPECT_TRUE(source.PasteFromClipboard());
  EXPECT_EQ(source.Rows(), "b(b1) c(a)");
  EXPECT_FALSE(source.Named("a")->Has(nsCutOrCopy));
}

TEST_F(Paste, DataThatNamesNoLiveTreeOfThisProcessIsReadAsACopy) {
  Select(source, {"a"});
  source.CutSelectedToClipboard();
  const QByteArray ours = QGuiApplication::clipboard()->mimeData()->data(kReference);
  ASSERT_EQ(TBaseLazyTree::SourceTreeOf(QGuiApplication::clipboard()->mimeData()), &source);
  QByteArray otherProcess = ours;
  otherProcess[0] = static_cast<char>(otherProcess[0] ^ 0x5A);  // another process's token
  QByteArray goneTree = EncodeTreeReference(0xFFFFFFF0u);
  for (const QByteArray& reference : {otherProcess, goneTree, QByteArray("short")}) {
    auto data = Copied(reference);
    EXPECT_EQ(TBaseLazyTree::SourceTreeOf(data.get()), nullptr);
    EXPECT_TRUE(target.ProcessTreeData(TBaseLazyTree::SourceTreeOf(data.get()), data.get(), true, amAddChildLast, nullptr));
  }
  EXPECT_EQ(target.Rows(), "x a a a");
  EXPECT_EQ(source.Rows(), "a b(b1) c");  // nothing moved out of the source
}

TEST_F(Paste, BadTreeDataAddsNothingAndRaisesTheStreamError) {
  Select(source, {"a", "c"});
  source.CopySelectedToClipboard();
  const QByteArray good = QGuiApplication::clipboard()->mimeData()->data(kTreeData);
  auto withSize = [&](QByteArray bytes, std::uint32_t size) {
    qToLittleEndian<std::uint32_t>(size, bytes.data());
    return bytes;
  };
  QByteArray notANode = good;
  notANode[4] = 7;
  struct Case {
    const char* name;
    QByteArray bytes;
    int helpContext;
  } cases[] = {
      {"announced past the end", withSize(good, std::uint32_t(good.size())), hcTFCorruptStream2},
      {"first chunk not a node", notANode, hcTFCorruptStream1},
      {"trailing bytes", withSize(good + "zz", std::uint32_t(good.size() - 2)), hcTFCorruptStream1},
      {"last chunk cut short", withSize(good.left(good.size() - 3), std::uint32_t(good.size() - 7)), hcTFCorruptStream2},
  };
  for (const Case& c : cases) {
    QMimeData data;
    data.setData(kTreeData, c.bytes);
    try {
      target.ProcessTreeData(nullptr, &data, false, amAddChildLast, nullptr);
      ADD_FAILURE() << c.name << ": no error";
    } catch (const ELazyTreeError& e) {
      EXPECT_EQ(e.HelpContext(), c.helpContext) << c.name;
    }
    EXPECT_EQ(target.Rows(), "x") << c.name;
    EXPECT_TOTALS_AGREE(target);
  }
}

TEST_F(Paste, ReadOnlyTreesAndDataWithoutTreeDataTakeNothing) {
  QMimeData text;
  text.setText("a");
  EXPECT_FALSE(target.ProcessTreeData(nullptr, &text, false, amAddChildLast, nullptr));
  Select(source, {"a"});
  source.CopySelectedToClipboard();
  target.TreeOptions().SetMiscOptions(target.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  EXPECT_FALSE(target.PasteFromClipboard());
  EXPECT_EQ(target.Rows(), "x");
}

TEST(ClipboardFlush, ATreeThatGoesAwayLeavesItsRenderedDataButNoReference) {
  QGuiApplication::clipboard()->clear();
  {
    NamedTree tree;
    tree.Add("gone");
    tree.AddToSelection(tree.Named("gone"));
    tree.CopySelectedToClipboard();
  }
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(data->text(), "gone\r\n");
  EXPECT_FALSE(data->formats().contains(kReference));
  EXPECT_TRUE(data->data(kReference).isEmpty());
  NamedTree target;
  EXPECT_TRUE(target.PasteFromClipboard());
  EXPECT_EQ(target.Rows(), "gone");
}

TEST(ClipboardFlush, ReplacedClipboardDataEndsTheCutMarks) {
  NamedTree tree;
  tree.Add("a");
  tree.AddToSelection(tree.Named("a"));
  tree.CutSelectedToClipboard();
  ASSERT_TRUE(tree.Named("a")->Has(nsCutOrCopy));
  QGuiApplication::clipboard()->setText("something else");
  EXPECT_FALSE(tree.Named("a")->Has(nsCutOrCopy));
  EXPECT_FALSE(tree.TreeStates().Contains(tsCutPending));
}

}  // namespace
