// The selection array, range selection with modifier clicks, check clicks and the cut
// and copy marks, driven through the mouse where a user would use it.
#include "StringTreeFixture.h"

#include <QClipboard>
#include <QMimeData>

namespace {

class Selecting : public ::testing::Test {
protected:
  void SetUp() override {
    tree.TreeOptions().SetSelectionOptions({toMultiSelect});
    tree.SetTexts({"a", "b", "c", "d", "e", "f", "g", "h"});
    tree.ShowAt({300, 200});
  }
  PLazyNode N(int i) const { return tree.At(QString::number(i)); }
  void Click(int i, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, modifiers, tree.RowPoint(N(i), tree.LabelX(N(i))));
  }
  QString Selected() {
    QStringList out;
    for (PLazyNode node : tree.SortedSelection(false)) out << tree.Path(node);
    return out.join(' ');
  }
  TextTree tree;
};

TEST_F(Selecting, ModifierClicksBuildRangesFromTheAnchor) {
  struct Step {
    int node;
    Qt::KeyboardModifiers modifiers;
    const char* selected;
    int focused;
  };
  const Step steps[] = {
      {2, {}, "2", 2},
      {5, Qt::ShiftModifier, "2 3 4 5", 5},                          // from the anchor at 2
      {0, Qt::ShiftModifier, "0 1 2", 0},                            // replaced, upwards
      {6, Qt::ControlModifier, "0 1 2 6", 6},                        // toggled in; 6 is the anchor now
      {1, Qt::ControlModifier, "0 2 6", 1},                          // toggled out
      {7, Qt::ControlModifier | Qt::ShiftModifier, "0 1 2 3 4 5 6 7", 7},  // added from anchor 1
      {4, {}, "4", 4},                                               // a plain click starts over
  };
  for (const Step& step : steps) {
    Click(step.node, step.modifiers);
    EXPECT_EQ(Selected(), step.selected) << "after clicking " << step.node;
    EXPECT_EQ(tree.FocusedNode(), N(step.focused));
  }
  EXPECT_EQ(tree.RangeAnchor(), N(4));
}

TEST_F(Selecting, PlainClickInsideASelectionClearsOnRelease) {
  tree.SelectAllNodes(false);
  QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, tree.RowPoint(N(3), tree.LabelX(N(3))));
  EXPECT_EQ(tree.SelectionCount(), 8u);  // still there: the selection may be dragged
  EXPECT_TRUE(tree.TreeStates().Contains(tsClearPending));
  QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, tree.RowPoint(N(3), tree.LabelX(N(3))));
  EXPECT_EQ(Selected(), "3");
}

TEST_F(Selecting, BulkAddKeepsTheArraySortedAndUnique) {
  EXPECT_TRUE(tree.AddToSelection(QVector<PLazyNode>{N(5), N(1), N(5), N(3)}));
  EXPECT_TRUE(tree.AddToSelection(QVector<PLazyNode>{N(0), N(3), N(7)}));
  EXPECT_FALSE(tree.AddToSelection(QVector<PLazyNode>{N(1)}));  // nothing new
  EXPECT_EQ(Selected(), "0 1 3 5 7");
  EXPECT_EQ(tree.SelectionCount(), 5u);
  tree.SetNodeDisabled(N(2), true);
  EXPECT_FALSE(tree.AddToSelection(QVector<PLazyNode>{N(2)}));
  EXPECT_TRUE(tree.AddToSelection(QVector<PLazyNode>{N(2)}, true));  // loading takes it as it is
  for (int i : {0, 1, 3, 5, 7}) tree.RemoveFromSelection(N(i));
  EXPECT_EQ(Selected(), "2");
}

TEST_F(Selecting, DeletionsInsideAnUpdateAreMarkedThenPacked) {
  tree.SelectAllNodes(true);
  tree.BeginTreeUpdate();
  tree.DeleteNode(N(1));
  tree.DeleteNode(N(4));  // was 5
  EXPECT_EQ(tree.SelectionCount(), 8u);  // marked, not yet removed
  EXPECT_EQ(tree.SortedSelection(false).size(), 6);
  tree.EndTreeUpdate();
  EXPECT_EQ(tree.SelectionCount(), 6u);
  tree.UnselectAll();
  EXPECT_EQ(tree.SelectionCount(), 0u);
  for (PLazyNode run = tree.GetFirst(); run; run = tree.GetNext(run)) EXPECT_FALSE(run->Has(nsSelected));
}

TEST_F(Selecting, SortedSelectionResolvesSubtrees) {
  TextTree nested;
  nested.TreeOptions().SetSelectionOptions({toMultiSelect});
  nested.children = {{"", 2}, {"0", 2}, {"1", 1}};
  nested.SetRootNodeCount(2);
  for (PLazyNode run = nested.GetFirst(); run; run = nested.GetNext(run)) nested.AddToSelection(run);
  auto paths = [&](bool resolve) {
    QStringList out;
    for (PLazyNode node : nested.SortedSelection(resolve)) out << nested.Path(node);
    return out.join(' ');
  };
  EXPECT_EQ(paths(false), "0 0.0 0.1 1 1.0");
  EXPECT_EQ(paths(true), "0 1");
  EXPECT_EQ(nested.GetFirstSelectedNode(), nested.At("0"));
  EXPECT_EQ(nested.GetNextSelectedNode(nested.At("0.1")), nested.At("1"));
}

TEST_F(Selecting, SingleSelectionTreesKeepOneNode) {
  tree.TreeOptions().SetSelectionOptions({});
  Click(1);
  Click(3, Qt::ControlModifier);
  Click(5, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), "5");
  tree.SelectAllNodes(false);
  EXPECT_EQ(Selected(), "5");
}

TEST_F(Selecting, RefusedFocusChangeKeepsTheFocus) {
  Click(1);
  tree.OnFocusChanging = [](TBaseLazyTree*, PLazyNode, PLazyNode, int, int, bool& allowed) { allowed = false; };
  Click(4);
  EXPECT_EQ(tree.FocusedNode(), N(1));
}

// ---- Check boxes ----------------------------------------------------------------------

TEST(CheckStates, NextStateByTypeAndState) {
  TextTree tree;
  struct Case {
    TCheckType type;
    TCheckState state;
    TCheckState next;
  };
  const Case cases[] = {
      {ctCheckBox, csUncheckedNormal, csCheckedNormal}, {ctCheckBox, csCheckedNormal, csUncheckedNormal},
      {ctCheckBox, csMixedNormal, csCheckedNormal},     {ctTriStateCheckBox, csCheckedNormal, csUncheckedNormal},
      {ctTriStateCheckBox, csMixedNormal, csCheckedNormal}, {ctRadioButton, csCheckedNormal, csCheckedNormal},
      {ctRadioButton, csUncheckedNormal, csCheckedNormal},  {ctButton, csCheckedNormal, csUncheckedNormal},
      {ctNone, csCheckedNormal, csMixedNormal},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tree.CheckStateAfterClick(c.type, c.state), c.next) << int(c.type) << " " << int(c.state);
}

class Checking : public Selecting {
protected:
  void SetUp() override {
    Selecting::SetUp();
    tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
    for (int i = 0; i < 8; ++i) tree.SetCheckType(N(i), ctCheckBox);
    tree.OnChecked = [this](TBaseLazyTree*, PLazyNode node) { checked << tree.Path(node); };
  }
  QPoint Box(int i) const { return tree.RowPoint(N(i), tree.Indent() + tree.Margin() + 3); }
  QStringList checked;
};

TEST_F(Checking, PressShowsPressedAndReleaseOnTheBoxSets) {
  QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, Box(2));
  EXPECT_EQ(tree.GetCheckState(N(2)), csUncheckedPressed);
  EXPECT_TRUE(tree.TreeStates().Contains(tsMouseCheckPending));
  QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, Box(2));
  EXPECT_EQ(tree.GetCheckState(N(2)), csCheckedNormal);
  EXPECT_EQ(checked, QStringList{"2"});
  EXPECT_EQ(tree.FocusedNode(), nullptr);  // a check click moves neither focus nor selection
  EXPECT_EQ(Selected(), "");
}

TEST_F(Checking, ReleaseElsewhereLeavesTheStateAsItWas) {
  QTest::mousePress(tree.viewport(), Qt::LeftButton, {}, Box(2));
  QTest::mouseRelease(tree.viewport(), Qt::LeftButton, {}, Box(3));
  EXPECT_EQ(tree.GetCheckState(N(2)), csUncheckedNormal);
  EXPECT_EQ(tree.GetCheckState(N(3)), csUncheckedNormal);
  EXPECT_FALSE(tree.TreeStates().Contains(tsMouseCheckPending));
  EXPECT_TRUE(checked.isEmpty());
}

TEST_F(Checking, OwnerVetoDisabledNodesAndReadOnlyRefuse) {
  tree.OnChecking = [](TBaseLazyTree*, PLazyNode node, TCheckState&, bool& allowed) { allowed = node->Index != 1; };
  tree.SetNodeDisabled(N(4), true);
  for (int i : {1, 4}) QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, Box(i));
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  tree.OnChecking = nullptr;
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, Box(5));
  for (int i : {1, 4, 5}) EXPECT_EQ(tree.GetCheckState(N(i)), csUncheckedNormal);
  EXPECT_TRUE(checked.isEmpty());
}

TEST_F(Checking, SetNodeCheckStateTellsTheOwnerOnlyOfChanges) {
  tree.SetNodeCheckState(N(0), csCheckedNormal);
  tree.SetNodeCheckState(N(0), csCheckedNormal);
  EXPECT_EQ(checked, QStringList{"0"});
}

// ---- Cut and copy marks ---------------------------------------------------------------

TEST_F(Selecting, CutMarksTheSelectionAndDeletesMarkedNodes) {
  tree.AddToSelection(QVector<PLazyNode>{N(1), N(3)});
  tree.SetNodeDisabled(N(3), true);
  tree.SetClipboardFormats({"Unicode text"});
  tree.CutSelectedToClipboard();
  EXPECT_TRUE(tree.TreeStates().Contains(tsCutPending));
  // The clipboard's text is the marked set's.
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "b\r\n");
  EXPECT_TRUE(N(1)->Has(nsCutOrCopy));
  EXPECT_FALSE(N(3)->Has(nsCutOrCopy));  // disabled nodes are not marked
  EXPECT_EQ(tree.GetFirstCutCopyNode(), N(1));
  EXPECT_EQ(tree.GetNextCutCopyNode(N(1)), nullptr);
  tree.DeleteMarkedCutNodes();
  EXPECT_EQ(tree.TotalCount(), 7u);
  EXPECT_FALSE(tree.TreeStates().Contains(tsCutPending));
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(Selecting, CopyMarksUntilCancelledAndDeletesNothing) {
  tree.AddToSelection(N(2));
  tree.CopySelectedToClipboard();
  EXPECT_TRUE(tree.TreeStates().Contains(tsCopyPending));
  tree.DeleteMarkedCutNodes();
  EXPECT_EQ(tree.TotalCount(), 8u);
  EXPECT_EQ(tree.SortedCutCopySet(false), QVector<PLazyNode>{N(2)});
  tree.CancelCutCopyMarks();
  EXPECT_FALSE(N(2)->Has(nsCutOrCopy));
  EXPECT_FALSE(tree.TreeStates().Contains(tsCopyPending));
}

TEST_F(Selecting, EditActionsFollowSelectionAndOptions) {
  using A = TBaseLazyTree::TLTEditAction;
  EXPECT_TRUE(tree.EditActionEnabled(A::eaSelectAll));
  EXPECT_FALSE(tree.EditActionEnabled(A::eaCopy));
  EXPECT_TRUE(tree.EditActionEnabled(A::eaPaste));
  EXPECT_TRUE(tree.ExecuteEditAction(A::eaSelectAll));
  // Copying needs a format to offer as well as a selection.
  EXPECT_FALSE(tree.EditActionEnabled(A::eaCopy));
  tree.SetClipboardFormats({"CSV"});
  EXPECT_TRUE(tree.EditActionEnabled(A::eaCopy));
  EXPECT_EQ(tree.SelectionCount(), 8u);
  EXPECT_TRUE(tree.EditActionEnabled(A::eaDelete));
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toReadOnly});
  EXPECT_FALSE(tree.ExecuteEditAction(A::eaDelete));
  EXPECT_EQ(tree.TotalCount(), 8u);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() - TLTMiscOptions{toReadOnly});
  EXPECT_TRUE(tree.ExecuteEditAction(A::eaDelete));
  EXPECT_EQ(tree.TotalCount(), 0u);
  tree.TreeOptions().SetSelectionOptions({});
  EXPECT_FALSE(tree.EditActionEnabled(A::eaSelectAll));
}

}  // namespace
