// The update bracket's order of steps, delayed delivery of changes, the state change
// operation and the timer driver.
#include "TreeFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace {

QString StateNames(TLazyTreeStates states) {
  QStringList names;
  if (states.Contains(tsUpdating)) names << "Updating";
  if (states.Contains(tsStructureChangePending)) names << "StructurePending";
  if (states.Contains(tsChangePending)) names << "ChangePending";
  if (states.Contains(tsUpdateHiddenChildrenNeeded)) names << "HiddenChildren";
  return names.join('+');
}

class UpdateBracket : public ::testing::Test {
protected:
  void SetUp() override {
    tree.shape = {{"", 3}, {"0", 2}};
    tree.expanded = {"0"};
    tree.Build();
    tree.OnUpdating = [this](TBaseLazyTree*, TLTUpdateState s) {
      steps << (s == usBegin ? "begin" : s == usEnd ? "end" : "update");
    };
    tree.OnStructureChange = [this](TBaseLazyTree*, PLazyNode node, TChangeReason reason) {
      steps << QString("structure %1 %2 selected %3").arg(node ? tree.Path(node) : "nil").arg(reason).arg(tree.SelectionCount());
    };
    tree.OnChange = [this](TBaseLazyTree*, PLazyNode node) { steps << "change " + (node ? tree.Path(node) : "nil"); };
    tree.OnStateChange = [this](TBaseLazyTree*, TLazyTreeStates enter, TLazyTreeStates leave) {
      const QString in = StateNames(enter), out = StateNames(leave);
      if (!in.isEmpty()) steps << "+" + in;
      if (!out.isEmpty()) steps << "-" + out;
    };
  }
  QStringList steps;  // outlives the tree, whose events write to it
  TestTree tree;
};

TEST_F(UpdateBracket, NestedLevelsReportBeginOnceAndEndOnce) {
  tree.BeginTreeUpdate();
  tree.BeginTreeUpdate();
  tree.EndTreeUpdate();
  tree.EndTreeUpdate();
  EXPECT_EQ(steps, (QStringList{"begin", "+Updating", "update", "update", "-Updating", "end"}));
  EXPECT_EQ(tree.UpdateCount(), 0);
}

TEST_F(UpdateBracket, EndRunsItsStepsInOrder) {
  tree.BeginTreeUpdate();
  tree.SetNodeSelected(tree.At("2"), true);
  tree.DeleteNode(tree.At("0.0"));  // structure change for 0
  tree.SetNodeVisible(tree.At("0.0"), false);
  const QStringList inside = steps;
  steps.clear();
  tree.EndTreeUpdate();
  // Nothing reached the owner inside the bracket but the states it entered.
  EXPECT_EQ(inside, (QStringList{"begin", "+Updating", "+ChangePending", "+StructurePending", "+HiddenChildren"}));
  // Hidden flags first, then the bracket's state, then the structure change (selection
  // already packed), then the change, then the end.
  EXPECT_EQ(steps, (QStringList{"-HiddenChildren", "-Updating", "-StructurePending", "structure 0 3 selected 1",
                                "-ChangePending", "change 2", "end"}));
  EXPECT_TRUE(tree.At("0")->Has(nsAllChildrenHidden));
}

TEST_F(UpdateBracket, ChangeDelayCoalescesABurst) {
  tree.SetChangeDelay(100);
  tree.SetNodeSelected(tree.At("1"), true);
  tree.SetNodeSelected(tree.At("2"), true);  // clears 1 first: three changes in all
  EXPECT_FALSE(steps.join(',').contains("change"));
  EXPECT_TRUE(tree.fakeTimers->IsRunning(ChangeTimer));
  EXPECT_EQ(tree.fakeTimers->Interval(ChangeTimer), 100);
  EXPECT_EQ(tree.fakeTimers->starts[ChangeTimer], 3);  // each change restarts the wait
  steps.clear();
  tree.HandleTimer(ChangeTimer);
  EXPECT_EQ(steps, (QStringList{"-ChangePending", "change 2"}));
  EXPECT_FALSE(tree.fakeTimers->IsRunning(ChangeTimer));
}

TEST_F(UpdateBracket, StructureChangesAccumulateDifferentReasons) {
  tree.SetChangeDelay(50);
  tree.SetNodeChildCount(tree.At("1"), 2);
  tree.SetNodeChildCount(tree.At("2"), 3);
  steps.clear();
  tree.HandleTimer(StructureChangeTimer);
  EXPECT_EQ(steps.filter("structure"), QStringList{QString("structure 2 %1 selected 0").arg(crChildAdded)});
  tree.SetNodeChildCount(tree.At("1"), 3);
  tree.DeleteNode(tree.At("2.0"));
  steps.clear();
  tree.HandleTimer(StructureChangeTimer);
  EXPECT_EQ(steps.filter("structure"), QStringList{QString("structure 2 %1 selected 0").arg(crAccumulated)});
}

TEST_F(UpdateBracket, ChildCountUnchangedIsSilentAndZeroDeletes) {
  tree.SetNodeChildCount(tree.At("0"), 2);
  EXPECT_TRUE(steps.isEmpty());
  tree.SetNodeChildCount(tree.At("0"), 0);
  EXPECT_EQ(steps.filter("structure"), QStringList{QString("structure 0 %1 selected 0").arg(crChildDeleted)});
  EXPECT_EQ(tree.At("0")->ChildCount, 0u);
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(UpdateBracket, SynchronousModeIgnoresTheDelay) {
  tree.SetChangeDelay(100);
  tree.DoStateChange({tsSynchMode});
  tree.SetNodeSelected(tree.At("1"), true);
  EXPECT_TRUE(steps.contains("change 1"));
  EXPECT_FALSE(tree.fakeTimers->IsRunning(ChangeTimer));
}

TEST(StateChange, FiresOnlyForRealChangesAndLeaveWins) {
  int fired = 0;  // before the tree: it reports its last state changes as it goes
  TBaseLazyTree tree;
  tree.OnStateChange = [&](TBaseLazyTree*, TLazyTreeStates, TLazyTreeStates) { ++fired; };
  tree.DoStateChange({tsScrolling});
  tree.DoStateChange({tsScrolling});
  tree.DoStateChange({}, {tsSizing});
  EXPECT_EQ(fired, 1);
  tree.DoStateChange({tsSizing}, {tsSizing, tsScrolling});
  EXPECT_EQ(fired, 2);
  EXPECT_FALSE(tree.TreeStates().Contains(tsSizing));
  EXPECT_FALSE(tree.TreeStates().Contains(tsScrolling));
}

TEST(TimerDriver, ShortIntervalsRunAtTheMinimum) {
  TCallbackTimerDriver timers([](int) {});
  timers.Start(ChangeTimer, 1);
  EXPECT_EQ(timers.Interval(ChangeTimer), kMinimumTimerInterval);
  EXPECT_TRUE(timers.IsRunning(ChangeTimer));
  timers.Start(SearchTimer, 1000);
  EXPECT_EQ(timers.Interval(SearchTimer), 1000);
  timers.Stop(ChangeTimer);
  EXPECT_FALSE(timers.IsRunning(ChangeTimer));
}

TEST(TimerDriver, RealTimerReachesTheTree) {
  // The one place a real timer runs: the tree's own driver must land in its handler by
  // the timer's id.
  int changes = 0;
  TBaseLazyTree tree;
  tree.SetChangeDelay(10);
  tree.OnChange = [&](TBaseLazyTree*, PLazyNode) { ++changes; };
  tree.SetRootNodeCount(1);
  tree.SetNodeSelected(tree.GetFirst(), true);
  EXPECT_EQ(changes, 0);
  QDeadlineTimer deadline(10000);  // a bound for a stuck loop, not a measure of speed
  while (changes == 0 && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
  EXPECT_EQ(changes, 1);
}

}  // namespace
