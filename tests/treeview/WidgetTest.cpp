// The control on the offscreen platform: a tree of 1,000 nodes built through the owner
// events only, driven with real key, mouse and wheel events.
#include "TreeFixture.h"

#include "platform/AppContext.h"
#include "support/FakeDesktop.h"
#include "treeview/LazyTreeResources.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

namespace {

// 100 top-level nodes with 9 children each: 1,000 nodes, none created by hand.
class WidgetTree : public ::testing::Test {
protected:
  void SetUp() override {
    tree.shape[""] = 100;
    for (int i = 0; i < 100; ++i) tree.shape[QString::number(i)] = 9;
    tree.resize(300, 18 * 10 + 2 * tree.frameWidth());  // ten rows in the window
    tree.ScrollBarOptions().SetScrollBars(ssVertical);
    tree.SetRootNodeCount(100);
    tree.show();
    tree.activateWindow();
    tree.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    tree.viewport()->repaint();
  }
  QString Focused() const { return tree.FocusedNode() ? tree.Path(tree.FocusedNode()) : "nil"; }
  QPoint RowPoint(const QString& path, int x = 100, int dy = 9) {
    const int top = tree.NodeTop(tree.At(path)) + tree.OffsetY();
    return QPoint(x, top + dy);
  }
  TestTree tree;
};

TEST_F(WidgetTree, PaintingInitialisesOnlyTheRowsInView) {
  EXPECT_EQ(tree.TotalCount(), 100u);
  EXPECT_LE(tree.initCount, 11);  // ten rows and the one the window cuts
  EXPECT_GE(tree.initCount, 10);
  EXPECT_EQ(tree.verticalScrollBar()->maximum(), 100 * 18 - tree.ClientHeight());
}

TEST_F(WidgetTree, KeysMoveTheFocusAndOpenNodes) {
  QTest::keyClick(&tree, Qt::Key_Down);
  EXPECT_EQ(Focused(), "0");
  QTest::keyClick(&tree, Qt::Key_Right);  // opens 0: its nine children are created now
  EXPECT_TRUE(tree.At("0")->Has(nsExpanded));
  EXPECT_EQ(tree.TotalCount(), 109u);
  QTest::keyClick(&tree, Qt::Key_Right);  // already open: into the first child
  EXPECT_EQ(Focused(), "0.0");
  QTest::keyClick(&tree, Qt::Key_Left);   // a leaf: up to the parent
  EXPECT_EQ(Focused(), "0");
  QTest::keyClick(&tree, Qt::Key_Left);   // open: closes it
  EXPECT_FALSE(tree.At("0")->Has(nsExpanded));
  QTest::keyClick(&tree, Qt::Key_End);
  EXPECT_EQ(Focused(), "99");
  EXPECT_EQ(tree.OffsetY(), tree.ClientHeight() - tree.RangeY());  // scrolled to the bottom
  QTest::keyClick(&tree, Qt::Key_Home);
  EXPECT_EQ(Focused(), "0");
  EXPECT_EQ(tree.OffsetY(), 0);
  QTest::keyClick(&tree, Qt::Key_PageDown);  // by as many rows as fit into the window
  EXPECT_EQ(Focused(), "10");
  QTest::keyClick(&tree, Qt::Key_Up);
  EXPECT_EQ(Focused(), "9");
  EXPECT_TRUE(tree.GetNodeSelected(tree.At("9")));
  EXPECT_EQ(tree.SelectionCount(), 1u);
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(WidgetTree, PlusMinusStarAndSlash) {
  QTest::keyClick(&tree, Qt::Key_Down);
  QTest::keyClick(&tree, Qt::Key_Plus);
  EXPECT_TRUE(tree.At("0")->Has(nsExpanded));
  QTest::keyClick(&tree, Qt::Key_Minus);
  EXPECT_FALSE(tree.At("0")->Has(nsExpanded));
  QTest::keyClick(&tree, Qt::Key_Plus, Qt::ControlModifier | Qt::ShiftModifier);  // everything open
  EXPECT_EQ(tree.VisibleCount(), 1000u);
  EXPECT_EQ(tree.RangeY(), 1000 * 18);
  QTest::keyClick(&tree, Qt::Key_Minus, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(tree.VisibleCount(), 100u);
  QTest::keyClick(&tree, Qt::Key_Asterisk);
  EXPECT_EQ(tree.VisibleCount(), 109u);
  QTest::keyClick(&tree, Qt::Key_Slash);
  EXPECT_EQ(tree.VisibleCount(), 100u);
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(WidgetTree, CtrlArrowsScrollWithoutMovingTheFocus) {
  QTest::keyClick(&tree, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(tree.OffsetY(), -18);
  EXPECT_EQ(Focused(), "nil");
  QTest::keyClick(&tree, Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(tree.OffsetY(), -18 - tree.ClientHeight());
  QTest::keyClick(&tree, Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(tree.OffsetY(), -tree.ClientHeight());
  EXPECT_EQ(tree.verticalScrollBar()->value(), tree.ClientHeight());
}

TEST_F(WidgetTree, ShiftExtendsTheSelectionInMultiSelect) {
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  QTest::keyClick(&tree, Qt::Key_Down);
  QTest::keyClick(&tree, Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(&tree, Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(tree.SelectionCount(), 3u);
  EXPECT_EQ(tree.RangeAnchor(), tree.At("0"));
  QTest::keyClick(&tree, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(tree.SelectionCount(), 2u);
  QTest::keyClick(&tree, Qt::Key_Down);
  EXPECT_EQ(tree.SelectionCount(), 1u);
  QTest::keyClick(&tree, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(tree.SelectionCount(), 100u);
}

TEST_F(WidgetTree, MouseClicksFocusAndToggle) {
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + TLTPaintOptions{toShowRoot});
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, RowPoint("2", 100, 0));  // the row's first pixel
  EXPECT_EQ(Focused(), "2");
  EXPECT_TRUE(tree.GetNodeSelected(tree.At("2")));
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, RowPoint("3", 5));  // on the button
  EXPECT_TRUE(tree.At("3")->Has(nsExpanded));
  EXPECT_EQ(Focused(), "2");  // a button click only toggles
  // Nodes without content toggle on a double click anywhere on the row in full-row mode.
  tree.TreeOptions().SetSelectionOptions({toFullRowSelect});
  QTest::mouseDClick(tree.viewport(), Qt::LeftButton, {}, RowPoint("3"));
  EXPECT_FALSE(tree.At("3")->Has(nsExpanded));
  EXPECT_FALSE(tree.TreeStates().Contains(tsLeftButtonDown));
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(WidgetTree, WheelScrollsRowsAndCtrlWheelAPage) {
  auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    const QPoint at(50, 50);
    QWheelEvent event(at, tree.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(tree.viewport(), &event);
  };
  wheel(-120, Qt::NoModifier);
  EXPECT_EQ(tree.OffsetY(), -QApplication::wheelScrollLines() * 18);
  wheel(120, Qt::NoModifier);
  EXPECT_EQ(tree.OffsetY(), 0);
  wheel(-60, Qt::NoModifier);  // half a notch waits for the other half
  EXPECT_EQ(tree.OffsetY(), 0);
  wheel(-60, Qt::NoModifier);
  EXPECT_EQ(tree.OffsetY(), -QApplication::wheelScrollLines() * 18);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(tree.OffsetY(), -QApplication::wheelScrollLines() * 18 - tree.ClientHeight() / 18 * 18);
}

TEST_F(WidgetTree, OffsetsAreClampedToTheRange) {
  EXPECT_TRUE(tree.SetOffsets(QPoint(0, -1000000)));
  EXPECT_EQ(tree.OffsetY(), tree.ClientHeight() - tree.RangeY());
  EXPECT_FALSE(tree.SetOffsets(QPoint(0, -2000000)));  // nothing changes: False
  EXPECT_TRUE(tree.SetOffsets(QPoint(50, 40)));
  EXPECT_EQ(tree.OffsetY(), 0);
  EXPECT_EQ(tree.OffsetX(), 0);  // no wider content: nothing to scroll sideways
  QList<int> scrolled;
  tree.OnScroll = [&](TBaseLazyTree*, int, int dy) { scrolled << dy; };
  tree.verticalScrollBar()->setValue(36);  // the bar moves the rows
  EXPECT_EQ(tree.OffsetY(), -36);
  EXPECT_EQ(scrolled, QList<int>{-36});
  EXPECT_EQ(tree.TopNode(), tree.At("2"));
}

TEST_F(WidgetTree, AnOwnerErrorInTheThumbsStateChangeStopsAtTheSignal) {
  FakeDesktop desktop;
  tree.OnStateChange = [](TBaseLazyTree*, TLazyTreeStates enter, TLazyTreeStates leave) {
    if (enter.Contains(tsThumbTracking) || leave.Contains(tsThumbTracking)) throw ELazyTreeError("owner failed", 0);
  };
  emit tree.verticalScrollBar()->sliderPressed();  // nothing escapes the signal
  emit tree.verticalScrollBar()->sliderReleased();
  tree.OnStateChange = nullptr;
  EXPECT_EQ(desktop.Calls(QStringLiteral("message:")), QStringList({"message:Application Error|owner failed"}));
}

TEST_F(WidgetTree, ScrollIntoViewMovesOnlyAsFarAsNeededOrCentres) {
  EXPECT_TRUE(tree.ScrollIntoView(tree.At("20"), false));
  EXPECT_EQ(tree.OffsetY(), tree.ClientHeight() - 21 * 18);  // bottom of the row at the bottom
  EXPECT_FALSE(tree.ScrollIntoView(tree.At("20"), false));
  EXPECT_TRUE(tree.ScrollIntoView(tree.At("5"), false));
  EXPECT_EQ(tree.OffsetY(), -5 * 18);  // top of the row at the top
  EXPECT_TRUE(tree.ScrollIntoView(tree.At("50"), true));
  EXPECT_EQ(tree.OffsetY(), tree.ClientHeight() / 2 - 51 * 18);  // the row's bottom in the middle
  PLazyNode child = tree.GetLastChildNode(tree.At("1"));
  EXPECT_TRUE(tree.ScrollIntoView(child, false));  // opens the parent first
  EXPECT_TRUE(tree.At("1")->Has(nsExpanded));
  EXPECT_EQ(tree.OffsetY(), -(2 + 8) * 18);
}

TEST_F(WidgetTree, ExpandAnimationRunsOnTheClockAndEndsInTime) {
  tree.SetAnimationDuration(200);
  QList<int> states;
  tree.OnStateChange = [&](TBaseLazyTree*, TLazyTreeStates in, TLazyTreeStates out) {
    if (in.Contains(tsInAnimation)) states << 1;
    if (out.Contains(tsInAnimation)) states << 0;
  };
  tree.now = 1000;
  tree.ToggleExpanded(tree.At("0"));
  EXPECT_TRUE(tree.At("0")->Has(nsExpanded));  // the structure changes at once
  EXPECT_TRUE(tree.TreeStates().Contains(tsInAnimation));
  int ticks = 0;
  while (tree.fakeTimers->IsRunning(AnimationTimer) && ticks < 100) {
    tree.now += 10;
    tree.HandleTimer(AnimationTimer);
    ++ticks;
  }
  EXPECT_EQ(states, (QList<int>{1, 0}));
  EXPECT_LE(ticks, 20);
  EXPECT_TOTALS_AGREE(tree);
  tree.OnStateChange = nullptr;  // the fixture's tree outlives `states` and reports its last changes as it goes
}

TEST_F(WidgetTree, WheelPanningStartsWithTheMiddleButtonAndEndsWithAClick) {
  QTest::mouseClick(tree.viewport(), Qt::MiddleButton, {}, QPoint(100, 50));
  EXPECT_TRUE(tree.TreeStates().Contains(tsWheelPanning));
  EXPECT_TRUE(tree.fakeTimers->IsRunning(ScrollTimer));
  // Only vertical room: the up-and-down move cursor.
  EXPECT_EQ(tree.viewport()->cursor().pixmap().toImage(), TreeCursor("LT_MOVENS").pixmap().toImage());
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(100, 50));
  EXPECT_FALSE(tree.TreeStates().Contains(tsWheelPanning));
  EXPECT_FALSE(tree.fakeTimers->IsRunning(ScrollTimer));
}

TEST_F(WidgetTree, FocusLossStopsTheInputTimers) {
  tree.fakeTimers->Start(EditTimer, 1000);
  tree.fakeTimers->Start(SearchTimer, 1000);
  tree.SetChangeDelay(100);
  tree.SetNodeSelected(tree.At("1"), true);
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(&tree, &out);
  EXPECT_FALSE(tree.fakeTimers->IsRunning(EditTimer));
  EXPECT_FALSE(tree.fakeTimers->IsRunning(SearchTimer));
  EXPECT_TRUE(tree.fakeTimers->IsRunning(ChangeTimer));  // a pending change still arrives
}

TEST_F(WidgetTree, SpaceChecksOnReleaseOnlyOverTheSameEnabledNode) {
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  for (const char* path : {"0", "1", "2"}) tree.At(path)->CheckType = ctCheckBox;
  tree.SetNodeDisabled(tree.At("1"), true);
  int checked = 0;
  tree.OnChecked = [&](TBaseLazyTree*, PLazyNode) { ++checked; };
  struct {
    const char* focus;
    bool moveAway;
    std::uint8_t state;
  } cases[] = {
      {"0", false, csCheckedNormal},     // press and release on the node
      {"1", false, csUncheckedNormal},   // disabled: nothing
      {"3", false, csUncheckedNormal},   // no check type: nothing
      {"2", true, csUncheckedNormal},    // the focus moved before the release
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.focus);
    tree.SetFocusedNode(tree.At(c.focus));
    QTest::keyPress(&tree, Qt::Key_Space);
    if (c.moveAway) tree.SetFocusedNode(tree.At("5"));
    QTest::keyRelease(&tree, Qt::Key_Space);
    EXPECT_EQ(tree.At(c.focus)->CheckState, c.state);
    EXPECT_FALSE(tree.TreeStates().Contains(tsKeyCheckPending));
  }
  EXPECT_EQ(checked, 1);
}

TEST_F(WidgetTree, HelpContextComesFromTheNearestAncestorThatHasOne) {
  int shown = 0;
  const TAppContextScope help(ContextWith([&](TAppContext& c) { c.Help = [&](int context) { shown = context; }; }));
  tree.OnGetHelpContext = [&](TBaseLazyTree*, PLazyNode node, int, int& context) {
    if (node == tree.At("4")) context = 1234;
  };
  tree.SetFocusedNode(tree.GetFirstChildNode(tree.At("4")));
  QTest::keyClick(&tree, Qt::Key_F1);
  EXPECT_EQ(shown, 1234);
}

}  // namespace
