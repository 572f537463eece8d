// Check-state changes with tri-state propagation and radio groups, the node order, the
// packing of node arrays and the selection that follows a dragged rectangle.
#include "TreeFixture.h"

#include "treeview/LazyTreeDrawing.h"

namespace {

class CheckingTree : public TestTree {
public:
  using TBaseLazyTree::ApplyCheckState;
};

const char* Name(std::uint8_t state) {
  switch (NormalCheckState(TCheckState(state))) {
    case csCheckedNormal: return "x";
    case csMixedNormal: return "~";
    default: return "o";
  }
}

class TriState : public ::testing::Test {
protected:
  // 0 with three children; 0.0 and 0.1 with two each: three levels of tri-state boxes.
  void SetUp() override {
    tree.shape = {{"", 1}, {"0", 3}, {"0.0", 2}, {"0.1", 2}};
    auto init = tree.OnInitNode;
    tree.OnInitNode = [init, this](TBaseLazyTree* t, PLazyNode parent, PLazyNode node, TLazyNodeInitStates& states) {
      init(t, parent, node, states);
      node->CheckType = types.count(tree.Path(node)) ? types[tree.Path(node)] : ctTriStateCheckBox;
    };
    tree.OnChecked = [this](TBaseLazyTree*, PLazyNode node) { log << tree.Path(node); };
  }
  void Build() { tree.Build(); }
  // The states of all nodes in tree order: "0.0=x" and so on.
  QString States() {
    QStringList out;
    for (PLazyNode run = tree.GetFirst(); run; run = tree.GetNext(run))
      out << tree.Path(run) + "=" + Name(run->CheckState);
    return out.join(' ');
  }
  PLazyNode At(const char* path) { return tree.At(QString::fromLatin1(path)); }
  CheckingTree tree;
  std::map<QString, TCheckType> types;
  QStringList log;
};

TEST_F(TriState, CheckingAParentChecksItsSubtree) {
  Build();
  EXPECT_TRUE(tree.ApplyCheckState(At("0"), csCheckedNormal));
  EXPECT_EQ(States(), "0=x 0.0=x 0.0.0=x 0.0.1=x 0.1=x 0.1.0=x 0.1.1=x 0.2=x");
  // Every descendant heard its change; the node itself is told by whoever asked for it.
  EXPECT_EQ(log, QStringList({"0.0.0", "0.0.1", "0.0", "0.1.0", "0.1.1", "0.1", "0.2"}));
  EXPECT_FALSE(tree.TreeStates().Contains(tsCheckPropagation));
  EXPECT_FALSE(At("0")->Has(nsChecking));
}

TEST_F(TriState, AChildChangesItsAncestorsUpToTheTop) {
  Build();
  tree.ApplyCheckState(At("0"), csCheckedNormal);
  log.clear();
  tree.SetNodeCheckState(At("0.0.1"), csUncheckedNormal);
  EXPECT_EQ(States(), "0=~ 0.0=~ 0.0.0=x 0.0.1=o 0.1=x 0.1.0=x 0.1.1=x 0.2=x");
  EXPECT_EQ(log, QStringList({"0", "0.0", "0.0.1"}));
  tree.SetNodeCheckState(At("0.0.0"), csUncheckedNormal);
  EXPECT_EQ(States(), "0=~ 0.0=o 0.0.0=o 0.0.1=o 0.1=x 0.1.0=x 0.1.1=x 0.2=x");
  for (const char* path : {"0.1", "0.2"}) tree.SetNodeCheckState(At(path), csUncheckedNormal);
  EXPECT_EQ(States(), "0=o 0.0=o 0.0.0=o 0.0.1=o 0.1=o 0.1.0=o 0.1.1=o 0.2=o");
  tree.SetNodeCheckState(At("0.1.1"), csCheckedNormal);
  tree.SetNodeCheckState(At("0.1.0"), csCheckedNormal);
  EXPECT_EQ(States(), "0=~ 0.0=o 0.0.0=o 0.0.1=o 0.1=x 0.1.0=x 0.1.1=x 0.2=o");
}

TEST_F(TriState, DisabledChildrenAndPlainTypesAreLeftAlone) {
  types["0.2"] = ctRadioButton;  // no part of the propagation
  Build();
  tree.SetNodeDisabled(At("0.0.1"), true);
  tree.ApplyCheckState(At("0"), csCheckedNormal);
  // The box that was asked to change takes the state asked for, whatever its children could do.
  EXPECT_EQ(States(), "0=x 0.0=x 0.0.0=x 0.0.1=o 0.1=x 0.1.0=x 0.1.1=x 0.2=o");
}

TEST_F(TriState, WithoutTrackingOnlyTheNodeChanges) {
  Build();
  tree.TreeOptions().SetAutoOptions(tree.TreeOptions().AutoOptions() - TLTAutoOptions{toAutoTristateTracking});
  tree.ApplyCheckState(At("0.0"), csCheckedNormal);
  EXPECT_EQ(States(), "0=o 0.0=x 0.0.0=o 0.0.1=o 0.1=o 0.1.0=o 0.1.1=o 0.2=o");
}

TEST_F(TriState, ARefusedParentReportsFailure) {
  Build();
  tree.OnChecking = [this](TBaseLazyTree*, PLazyNode node, TCheckState&, bool& allowed) {
    allowed = tree.Path(node) != "0.0";
  };
  EXPECT_FALSE(tree.ApplyCheckState(At("0.0.0"), csCheckedNormal));
  EXPECT_EQ(States(), "0=o 0.0=o 0.0.0=x 0.0.1=o 0.1=o 0.1.0=o 0.1.1=o 0.2=o");
}

TEST_F(TriState, ANodeInTheMiddleOfAChangeRefusesAnother) {
  Build();
  int inner = -1;
  tree.OnChecking = [&](TBaseLazyTree*, PLazyNode node, TCheckState&, bool&) {
    // An owner that reacts to a child by changing the parent again while it changes.
    if (tree.Path(node) == "0.0.0") inner = tree.ApplyCheckState(At("0.0"), csUncheckedNormal) ? 1 : 0;
  };
  tree.ApplyCheckState(At("0.0"), csCheckedNormal);
  EXPECT_EQ(inner, 0);
  EXPECT_EQ(States(), "0=~ 0.0=x 0.0.0=x 0.0.1=x 0.1=o 0.1.0=o 0.1.1=o 0.2=o");
}

TEST_F(TriState, ARadioButtonClearsItsGroup) {
  types = {{"0.0", ctRadioButton}, {"0.1", ctRadioButton}, {"0.2", ctRadioButton}};
  Build();
  tree.SetNodeCheckState(At("0.0"), csCheckedNormal);
  tree.SetNodeCheckState(At("0.2"), csCheckedNormal);
  EXPECT_EQ(States(), "0=o 0.0=o 0.0.0=o 0.0.1=o 0.1=o 0.1.0=o 0.1.1=o 0.2=x");
  EXPECT_EQ(log, QStringList({"0.0", "0.2"}));  // the cleared button is not told
}

TEST(NodeOrder, PositiveWhenTheFirstComesLater) {
  TestTree tree;
  tree.shape = {{"", 3}, {"0", 2}, {"0.1", 2}, {"2", 1}};
  tree.Build();
  struct {
    const char* a;
    const char* b;
    int sign;
  } cases[] = {{"0", "0", 0},     {"0.1.0", "0", 1}, {"0", "0.1.0", -1}, {"2", "0", 1},
               {"0.1", "0.0", 1}, {"0.0", "2.0", -1}, {"2.0", "0.1.1", 1}};
  for (const auto& t : cases) {
    const int order = tree.NodeOrder(tree.At(t.a), tree.At(t.b));
    EXPECT_EQ((order > 0) - (order < 0), t.sign) << t.a << " vs " << t.b;
  }
  AssertRecorder asserts;
  EXPECT_EQ(tree.NodeOrder(nullptr, tree.At("0")), 0);
  EXPECT_EQ(asserts.messages, QStringList({"Nodes must never be nil."}));
}

TEST(CompactNodeArray, DropsMarkedEntries) {
  quintptr entries[] = {0x10, 0x21, 0x30, 0x41, 0x50};
  EXPECT_EQ(TBaseLazyTree::CompactNodeArray(entries, 5), 3);
  EXPECT_EQ(entries[0], 0x10u);
  EXPECT_EQ(entries[1], 0x30u);
  EXPECT_EQ(entries[2], 0x50u);
  EXPECT_EQ(TBaseLazyTree::CompactNodeArray(entries, 0), -1);
}

// Drags a rectangle by hand: each call hands the previous and the new one to the update.
class DraggingTree : public TCustomLazyDrawTree {
public:
  void Drag(QPoint from, QPoint to, TShiftState startShift = {}) {
    const QRect next = QRect(from, to).normalized();
    drawSelectionShift_ = startShift;
    HandleDrawSelection(last, next);
    last = next;
  }
  QRect last;
};

class SelectionRectangle : public ::testing::Test {
protected:
  // Ten rows 18 high; each node's content is 30 wide after margin and indent (4 + 18).
  void SetUp() override {
    tree.OnGetNodeWidth = [](TBaseLazyTree*, PLazyNode, int, int& width) { width = 30; };
    tree.SetRootNodeCount(10);
    tree.TreeOptions().SetSelectionOptions(TLTSelectionOptions{toMultiSelect});
    tree.OnChange = [this](TBaseLazyTree*, PLazyNode) { ++changes; };
    ASSERT_TRUE(ShowPlain(tree, QSize(300, 300)));
  }
  QString Selected() {
    QStringList out;
    for (PLazyNode run = tree.GetFirst(); run; run = tree.GetNext(run))
      if (run->Has(nsSelected)) out << QString::number(run->Index);
    return out.join(' ');
  }
  DraggingTree tree;
  int changes = 0;
};

TEST_F(SelectionRectangle, SelectsWhatItCoversAndLetsGoWhatItLeaves) {
  tree.Drag(QPoint(40, 5), QPoint(45, 60));
  EXPECT_EQ(Selected(), "0 1 2 3");
  EXPECT_EQ(changes, 1);
  tree.Drag(QPoint(40, 5), QPoint(45, 30));
  EXPECT_EQ(Selected(), "0 1");
  tree.Drag(QPoint(45, 30), QPoint(40, 5));  // dragged the other way: the same rows
  EXPECT_EQ(Selected(), "0 1");
  EXPECT_EQ(tree.SelectionCount(), 2u);
  // Right of the content the rows are not taken, unless the simple test is asked for.
  tree.Drag(QPoint(100, 5), QPoint(120, 60));
  EXPECT_EQ(Selected(), "");
  tree.TreeOptions().SetSelectionOptions(TLTSelectionOptions{toMultiSelect, toSimpleDrawSelection});
  tree.last = QRect();  // a new drag
  tree.Drag(QPoint(100, 5), QPoint(120, 40));
  EXPECT_EQ(Selected(), "0 1 2");
}

TEST_F(SelectionRectangle, AControlDragToggles) {
  tree.SetNodeSelected(tree.GetFirst()->NextSibling, true);  // node 1
  tree.Drag(QPoint(40, 5), QPoint(45, 40), {ssCtrl});
  EXPECT_EQ(Selected(), "0 2");
  tree.Drag(QPoint(40, 5), QPoint(45, 20), {ssCtrl});  // node 2 left: toggled back
  EXPECT_EQ(Selected(), "0");
}

TEST_F(SelectionRectangle, TheMouseDragsItFromEmptySpace) {
  QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, QPoint(30, 250));  // below the rows
  QTest::mouseMove(tree.viewport(), QPoint(40, 120));
  QTest::mouseMove(tree.viewport(), QPoint(45, 150));
  EXPECT_TRUE(tree.TreeStates().Contains(tsDrawSelecting));
  EXPECT_EQ(Selected(), "8 9");  // rows 144 to 179
  QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, QPoint(45, 150));
  EXPECT_EQ(Selected(), "8 9");
}

}  // namespace
