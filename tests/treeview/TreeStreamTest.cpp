// The tree stream: round trips with the owner's data, captions and uninitialised nodes,
// the exact layout of a small stream, version-1 streams, user chunks read partly or too
// far, and damaged or hostile streams, which raise their error and add nothing half-read.
#include "TreeFixture.h"

#include "treeview/LazyStringTree.h"

#include <QTemporaryFile>

#include <map>
#include <optional>

namespace {

// ---- Streams built by hand ------------------------------------------------------------

template <typename T>
QByteArray LE(T value) {
  QByteArray bytes(sizeof(T), Qt::Uninitialized);
  qToLittleEndian(value, bytes.data());
  return bytes;
}

QByteArray Header(std::uint16_t version, std::optional<std::uint32_t> count) {
  QByteArray bytes;
  for (std::uint16_t word : {std::uint16_t(0x2045), std::uint16_t(0x0056), std::uint16_t(0x0054), version,
                             std::uint16_t(0x0020), std::uint16_t(0x2046)})
    bytes += LE(word);
  if (count) bytes += LE(*count);
  return bytes;
}

QByteArray Chunk(std::uint32_t type, const QByteArray& body) { return LE(type) + LE(std::uint32_t(body.size())) + body; }

QByteArray Node(const QByteArray& parts) { return Chunk(NodeChunk, parts); }

constexpr std::uint16_t kShown = (1u << nsInitialized) | (1u << nsVisible);

struct Fields {
  std::uint32_t childCount = 0;
  std::uint32_t height = 18;
  std::uint16_t states = kShown;
  std::uint8_t align = 50, checkState = 0, checkType = 0;
};

QByteArray Base(Fields f, const QByteArray& children = {}) {
  return Chunk(BaseChunk, LE(f.childCount) + LE(f.height) + LE(f.states) + LE(f.align) + LE(f.checkState) +
                              LE(f.checkType) + LE(std::uint32_t(0)) + children);
}

QByteArray BaseVersion1(std::uint32_t childCount, std::uint8_t states, const QByteArray& children = {}) {
  return Chunk(BaseChunk, LE(childCount) + LE(std::uint32_t(18)) + LE(states) + LE(std::uint8_t(50)) +
                              LE(std::uint8_t(0)) + LE(std::uint8_t(0)) + children);
}

QByteArray Leaf() { return Node(Base({})); }

// ---- Comparing trees -------------------------------------------------------------------

// Every node in tree order: its place, the fields the stream carries and its owner's id.
QStringList Describe(TestTree& tree) {
  QStringList lines;
  for (PLazyNode run = tree.GetFirstRaw(); run; run = tree.GetNextRaw(run))
    lines << QString("%1 states %2 height %3 align %4 check %5/%6 children %7 id %8")
                 .arg(tree.Path(run))
                 .arg(run->States & ~((1u << nsHeightMeasured) | (1u << nsFreeNotify)), 0, 16)
                 .arg(run->NodeHeight)
                 .arg(run->Align)
                 .arg(run->CheckState)
                 .arg(run->CheckType)
                 .arg(run->ChildCount)
                 .arg(run->Has(nsInitialized) ? tree.Data(run)->id : -1);
  return lines;
}

TLazyTreeStream Written(TBaseLazyTree& tree, PLazyNode node = nullptr) {
  TLazyTreeStream stream;
  tree.WriteTreeStream(stream, node);
  stream.SetPosition(0);
  return stream;
}

// ---- Round trips -------------------------------------------------------------------------

TEST(TreeStream, RoundTripKeepsStructureFieldsAndOwnerData) {
  TestTree source;
  source.shape = {{"", 3}, {"0", 2}, {"0.1", 2}, {"2", 1}};
  source.expanded = {"0", "0.1"};
  source.hidden = {"0.1.0"};
  source.Build();
  source.SetNodeHeight(source.At("1"), 30);
  source.At("2")->CheckType = ctCheckBox;
  source.At("2")->CheckState = csCheckedNormal;
  source.At("0.0")->Align = 10;
  TLazyTreeStream stream = Written(source);

  TestTree target;
  int copied = 0;
  target.OnNodeCopied = [&](TBaseLazyTree*, PLazyNode node) { copied += node ? 100 : 1; };
  target.ReadTreeStream(stream);
  EXPECT_EQ(Describe(target), Describe(source));
  EXPECT_EQ(target.Rows(), source.Rows());
  EXPECT_TOTALS_AGREE(target);
  EXPECT_EQ(copied, 1);  // once, for no node in particular
  EXPECT_EQ(Written(target).Bytes(), stream.Bytes());
}

TEST(TreeStream, UninitialisedNodesAreWrittenWithoutTheirChildren) {
  TestTree source;
  source.TreeOptions().SetMiscOptions(source.TreeOptions().MiscOptions() - TLTMiscOptions{toInitOnSave});
  source.SetRootNodeCount(3);
  source.SetNodeChildCount(source.At("0"), 2);  // children of a node never initialised
  TestTree target;
  TLazyTreeStream stream = Written(source);
  target.ReadTreeStream(stream);
  // The stream reads back into the tree it came from: the children stay behind, the
  // siblings are not taken for them.
  EXPECT_EQ(target.RootNodeCount(), 3u);
  EXPECT_EQ(target.At("0")->ChildCount, 0u);
  EXPECT_TRUE(target.At("0")->Has(nsHasChildren));
  EXPECT_FALSE(target.At("0")->Has(nsInitialized));
  EXPECT_TOTALS_AGREE(target);
}

TEST(TreeStream, InitialisesOnSaveAndWritesTheChildrenItCreates) {
  TestTree source;
  source.shape = {{"", 2}, {"0", 3}};
  source.SetRootNodeCount(2);
  TestTree target;
  TLazyTreeStream stream = Written(source);
  target.ReadTreeStream(stream);
  EXPECT_EQ(source.initCount, 5);
  EXPECT_EQ(target.TotalCount(), 5u);
  EXPECT_EQ(target.initCount, 0);  // loaded nodes arrive initialised, with their data
  EXPECT_EQ(Describe(target), Describe(source));
}

TEST(TreeStream, WritesOneNodeWithItsSubtree) {
  TestTree source;
  source.shape = {{"", 2}, {"1", 2}};
  source.Build();
  TestTree target;
  TLazyTreeStream stream = Written(source, source.At("1"));
  target.ReadTreeStream(stream);
  EXPECT_EQ(target.RootNodeCount(), 1u);
  EXPECT_EQ(target.At("0")->ChildCount, 2u);
  EXPECT_EQ(target.Data(target.At("0.1"))->id, source.Data(source.At("1.1"))->id);
}

// A string tree whose owner keeps the captions in a map.
struct Captions {
  std::map<PLazyNode, QString> texts;
  explicit Captions(TLazyStringTree& tree) {
    tree.OnGetText = [this](TBaseLazyTree*, PLazyNode node, int, TLSTTextType, QString& text) {
      if (texts.count(node)) text = texts[node];
    };
    tree.OnNewText = [this](TBaseLazyTree*, PLazyNode node, int, const QString& text) { texts[node] = text; };
  }
};

TEST(TreeStream, TheStringTreeWritesItsCaptionsWhenAsked) {
  const QStringList texts = {QString::fromUtf8("Ünïcödé ✓ 𝄞"), "tab\there\nand a line", QString()};
  for (bool saveCaptions : {true, false}) {
    TLazyStringTree source, target;
    Captions sourceTexts(source), targetTexts(target);
    if (!saveCaptions) source.SetStringOptions({});
    source.SetRootNodeCount(3);
    PLazyNode node = source.GetFirst();
    for (const QString& text : texts) {
      sourceTexts.texts[node] = text;
      node = source.GetNext(node);
    }
    TLazyTreeStream stream = Written(source);
    target.ReadTreeStream(stream);
    ASSERT_EQ(target.RootNodeCount(), 3u);
    QStringList read;
    for (PLazyNode run = target.GetFirstRaw(); run; run = run->NextSibling)
      read << (targetTexts.texts.count(run) ? targetTexts.texts[run] : "(none)");
    // An empty text writes no caption; without toSaveCaptions none is written.
    const QStringList expected =
        saveCaptions ? QStringList{texts[0], texts[1], "(none)"} : QStringList{"(none)", "(none)", "(none)"};
    EXPECT_EQ(read, expected);
  }
}

// ---- Layout ------------------------------------------------------------------------------

TEST(TreeStream, LayoutOfASmallStream) {
  TBaseLazyTree tree;
  EXPECT_EQ(Written(tree).Bytes(), Header(2, 0));  // an empty tree: the header and a count of 0
  tree.SetRootNodeCount(1);
  // An owner that writes nothing leaves no user chunk.
  EXPECT_EQ(Written(tree).Bytes(), Header(2, 1) + Node(Base({})));
  tree.OnSaveNode = [](TBaseLazyTree*, PLazyNode, TLazyTreeStream& stream) { stream.WriteValue<std::uint32_t>(7); };
  EXPECT_EQ(Written(tree).Bytes(), Header(2, 1) + Node(Base({}) + Chunk(UserChunk, LE(std::uint32_t(7)))));

  TBaseLazyTree empty;
  TLazyTreeStream stream(Header(2, 0));
  empty.ReadTreeStream(stream);
  EXPECT_EQ(empty.RootNodeCount(), 0u);
}

TEST(TreeStream, SkipsAWholeNodeChunk) {
  struct Skipping : TBaseLazyTree {
    using TBaseLazyTree::SkipNodeChunk;
  } tree;
  const QByteArray first = Node(Base({.childCount = 1}, Leaf()) + Chunk(UserChunk, "data"));
  TLazyTreeStream stream(first + Leaf());
  tree.SkipNodeChunk(stream);
  EXPECT_EQ(stream.Position(), first.size());
  tree.SkipNodeChunk(stream);
  EXPECT_EQ(stream.Remaining(), 0);
  TLazyTreeStream notANode(Base({}));
  EXPECT_THROW(tree.SkipNodeChunk(notANode), ELazyTreeError);
}

// ---- Version 1 ---------------------------------------------------------------------------

TEST(TreeStream, VersionOneRunsToTheEndAndShowsEveryNode) {
  // Bit 7 of a version-1 state meant "selected"; a node without it is made visible.
  const QByteArray bytes = Header(1, std::nullopt) + Node(BaseVersion1(0, 0x01)) + Node(BaseVersion1(0, 0x81)) +
                           Node(BaseVersion1(1, 0x21, Node(BaseVersion1(0, 0x01))));
  for (bool multi : {false, true}) {
    TBaseLazyTree tree;
    if (multi) tree.TreeOptions().SetSelectionOptions({toMultiSelect});
    TLazyTreeStream stream(bytes);
    tree.ReadTreeStream(stream);
    ASSERT_EQ(tree.RootNodeCount(), 3u);
    EXPECT_EQ(tree.VisibleCount(), 4u) << "every node visible, the third expanded";
    EXPECT_EQ(tree.SelectionCount(), multi ? 1u : 0u);
    EXPECT_EQ(tree.GetFirstRaw()->NextSibling->Has(nsSelected), multi);
    EXPECT_EQ(tree.CheckTotals(), QStringList());
  }
}

// ---- The owner's chunk ---------------------------------------------------------------

class UserChunkReads : public ::testing::TestWithParam<int> {};

TEST_P(UserChunkReads, EndWhereTheChunkEnds) {
  const QByteArray data = "12345678";
  const QByteArray bytes = Header(2, 2) + Node(Base({}) + Chunk(UserChunk, data) + Chunk(99, "unknown")) +
                           Node(Base({.height = 25}) + Chunk(UserChunk, "abcdefgh"));
  TBaseLazyTree tree;
  QList<QByteArray> got;
  tree.OnLoadNode = [&](TBaseLazyTree*, PLazyNode, TLazyTreeStream& stream) {
    QByteArray buffer(GetParam(), '\0');
    buffer.truncate(stream.Read(buffer.data(), buffer.size()));
    got << buffer;
  };
  TLazyTreeStream stream(bytes);
  tree.ReadTreeStream(stream);
  ASSERT_EQ(tree.RootNodeCount(), 2u);
  EXPECT_EQ(tree.GetLastRaw()->NodeHeight, 25);
  // An owner reads its own bytes at the most, and the next node starts where it should.
  EXPECT_EQ(got, (QList<QByteArray>{data.left(GetParam()), QByteArray("abcdefgh").left(GetParam())}));
}

INSTANTIATE_TEST_SUITE_P(TreeStream, UserChunkReads, ::testing::Values(0, 3, 8, 12));

// ---- Damaged and hostile streams ---------------------------------------------------------

QByteArray Nested(int depth) {
  QByteArray node = Leaf();
  for (int i = 0; i < depth; ++i) node = Node(Base({.childCount = 1}, node));
  return node;
}

struct DamagedCase {
  const char* name;
  QByteArray bytes;
  int helpContext;
};

void PrintTo(const DamagedCase& c, std::ostream* os) { *os << c.name; }

class DamagedStream : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(DamagedStream, RaisesItsErrorAndLeavesTheTreeAsItWas) {
  TestTree tree;
  tree.shape = {{"", 2}};
  tree.Build();
  const QStringList before = Describe(tree);
  TLazyTreeStream stream(GetParam().bytes);
  try {
    tree.ReadTreeStream(stream);
    FAIL() << "no error";
  } catch (const ELazyTreeError& e) {
    EXPECT_EQ(e.HelpContext(), GetParam().helpContext) << e.Message().toStdString();
  }
  EXPECT_EQ(Describe(tree), before);
  EXPECT_TOTALS_AGREE(tree);
  EXPECT_EQ(tree.UpdateCount(), 0);
}

const QByteArray kGood = Leaf();

INSTANTIATE_TEST_SUITE_P(
    TreeStream, DamagedStream,
    ::testing::Values(
        DamagedCase{"shortHeader", Header(2, 0).left(10), hcTFStreamTooSmall},
        DamagedCase{"wrongMagic", Header(2, 0).replace(2, 1, "W"), hcTFWrongStreamFormat},
        DamagedCase{"wrongLastMagic", Header(2, 0).replace(10, 1, "\x47"), hcTFWrongStreamFormat},
        DamagedCase{"versionThree", Header(3, 0), hcTFWrongStreamVersion},
        DamagedCase{"versionZero", Header(0, 0), hcTFWrongStreamVersion},
        DamagedCase{"noCount", Header(2, std::nullopt), hcTFStreamTooSmall},
        DamagedCase{"notANodeChunk", Header(2, 1) + Base({}), hcTFCorruptStream1},
        DamagedCase{"nodePastTheEnd", Header(2, 2) + kGood + LE(std::uint32_t(1)) + LE(std::uint32_t(1000)) + Base({}), hcTFCorruptStream2},
        DamagedCase{"childCountBeyondTheBytes", Header(2, 2) + kGood + Node(Base({.childCount = 1000000}, kGood)), hcTFCorruptStream1},
        DamagedCase{"childMissing", Header(2, 2) + kGood + Node(Base({.childCount = 2}, kGood + QByteArray(33, 'x'))), hcTFCorruptStream1},
        DamagedCase{"baseLongerThanItsChildren", Header(2, 2) + kGood + Node(Base({}, QByteArray(8, '\0'))), hcTFCorruptStream2},
        DamagedCase{"partHeaderCut", Header(2, 2) + kGood + Node(Base({}) + QByteArray(5, '\0')), hcTFCorruptStream2},
        DamagedCase{"oddCaption", Header(2, 2) + kGood + Node(Base({}) + Chunk(CaptionChunk, "abc")), hcTFCorruptStream2},
        DamagedCase{"countBelowTheNodes", Header(2, 1) + kGood + kGood, hcTFCorruptStream2},
        DamagedCase{"countAboveTheNodes", Header(2, 3) + kGood + kGood, hcTFStreamTooSmall},
        DamagedCase{"nestedTooDeep", Header(2, 2) + kGood + Nested(kMaxStreamNodeDepth), hcTFCorruptStream2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeStream, ADamagedChunkLeavesTheNodeItWasReadIntoAsItWas) {
  TestTree tree;
  tree.shape = {{"", 2}, {"0", 2}};
  tree.expanded = {"0"};
  tree.Build();
  const QStringList before = Describe(tree);
  TLazyTreeStream stream(Node(Base({.childCount = 1}, Node(Base({}) + QByteArray(3, '\0')))));
  EXPECT_THROW(tree.AddNodesFromStream(stream, 2, tree.At("0")), ELazyTreeError);
  EXPECT_EQ(Describe(tree), before);
  EXPECT_EQ(stream.Position(), 0);
}

TEST(TreeStream, HostileFieldsAreBroughtIntoRange) {
  const std::uint16_t everyFlag = 0xFFFF;
  TBaseLazyTree tree;
  TLazyTreeStream stream(Header(2, 1) + Node(Base({.height = 70000, .states = everyFlag, .align = 255,
                                                   .checkState = 200, .checkType = 99})));
  tree.ReadTreeStream(stream);
  PLazyNode node = tree.GetFirstRaw();
  ASSERT_NE(node, nullptr);
  for (TLazyNodeState s : {nsChecking, nsCutOrCopy, nsDeleting, nsFreeNotify, nsClearing, nsHeightMeasured,
                           nsSelected, nsAllChildrenHidden})
    EXPECT_FALSE(node->Has(s)) << s;
  EXPECT_EQ(node->NodeHeight, 0xFFFF);
  EXPECT_EQ(node->Align, 100);
  EXPECT_EQ(node->CheckState, csUncheckedNormal);
  EXPECT_EQ(node->CheckType, ctNone);
  EXPECT_TOTALS_AGREE(tree);
  tree.DeleteNode(node);  // a node the stream marked as being deleted is freed like any other
  EXPECT_EQ(tree.TotalCount(), 0u);
}

TEST(TreeStream, ReadsAFileAndRefusesAMissingOne) {
  TestTree source;
  source.shape = {{"", 2}, {"1", 1}};
  source.Build();
  QTemporaryFile file;
  ASSERT_TRUE(file.open());
  file.write(Written(source).Bytes());
  file.close();
  TestTree target;
  target.ReadTreeFile(file.fileName());
  EXPECT_EQ(Describe(target), Describe(source));
  EXPECT_THROW(target.ReadTreeFile(file.fileName() + ".missing"), EReadError);
  EXPECT_EQ(target.TotalCount(), 3u);
}

}  // namespace
