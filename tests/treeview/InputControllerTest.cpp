// The input controller on its own: wheel notches that carry their remainder, the
// panning speed around its dead zone, pending checks that end once, and timers that run
// through whatever driver is plugged in.
#include "support/FakeTimers.h"
#include "treeview/LazyTreeInputController.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <vector>

namespace {

TEST(InputController, WheelNotchesCarryTheRemainderInBothDirections) {
  struct Step {
    int delta;
    int notches;
  };
  // Small moves add up to a notch; a change of direction spends what was left first.
  const std::vector<Step> steps = {{60, 0}, {60, 1}, {240, 2}, {90, 0}, {-30, 0}, {-90, 0}, {-90, -1}, {119, 0}, {1, 1}};
  TLazyTreeInputController input([](int) {});
  for (const Step& s : steps) EXPECT_EQ(input.TakeWheelNotches(s.delta), s.notches) << "after a move of " << s.delta;
}

TEST(InputController, PanningSpeedStandsStillInTheDeadZoneAndGrowsBeyondIt) {
  struct Case {
    int distance;
    int speed;
  };
  const Case cases[] = {{0, 0}, {7, 0}, {-7, 0}, {8, 0}, {11, 1}, {-11, -1}, {15, 2}, {47, 10}, {-47, -10}};
  for (const Case& c : cases) EXPECT_EQ(TLazyTreeInputController::PanningSpeed(c.distance), c.speed) << c.distance;
}

TEST(InputController, PendingChecksEndOnceAndKeepTheirNextState) {
  TLazyTreeInputController input([](int) {});
  TLazyNode key{}, mouse{};
  input.BeginKeyCheck(&key, csCheckedNormal);
  input.BeginMouseCheck(&mouse, csMixedNormal);
  EXPECT_EQ(input.KeyCheckNode(), &key);
  EXPECT_EQ(input.KeyCheckState(), csCheckedNormal);
  EXPECT_EQ(input.MouseCheckState(), csMixedNormal);
  EXPECT_EQ(input.TakeKeyCheckNode(), &key);
  EXPECT_EQ(input.TakeKeyCheckNode(), nullptr);
  EXPECT_EQ(input.MouseCheckNode(), &mouse);
  EXPECT_EQ(input.TakeMouseCheckNode(), &mouse);
  EXPECT_EQ(input.MouseCheckNode(), nullptr);
}

TEST(InputController, TimersRunThroughThePluggedDriverAndStopOnlyWhenRunning) {
  TLazyTreeInputController input([](int) {});
  auto owned = std::make_unique<FakeTimers>();
  FakeTimers* timers = owned.get();
  input.SetTimerDriver(std::move(owned));
  input.StartTimer(EditTimer, 500);
  EXPECT_TRUE(input.TimerRunning(EditTimer));
  input.RestartIfRunning(EditTimer, 700);
  input.RestartIfRunning(SearchTimer, 700);  // not running: stays off
  EXPECT_EQ(timers->intervals[EditTimer], 700);
  EXPECT_FALSE(input.TimerRunning(SearchTimer));
  input.StopTimer(EditTimer);
  input.StopTimer(SearchTimer);
  EXPECT_FALSE(input.TimerRunning(EditTimer));
  EXPECT_EQ(timers->starts[EditTimer], 2);
  EXPECT_EQ(timers->starts.count(SearchTimer), 0u);
}

TEST(InputController, TheClockIsReplaceable) {
  TLazyTreeInputController input([](int) {});
  qint64 now = 1234;
  input.SetClock([&] { return now; });
  EXPECT_EQ(input.Now(), 1234);
  now = 2000;
  EXPECT_EQ(input.Now(), 2000);
}

TEST(InputController, PanningShowsOnePictureAtTheStartAndRemovesIt) {
  QWidget viewport;
  viewport.resize(200, 200);
  TLazyTreeInputController input([](int) {});
  input.StartPanning(&viewport, QPoint(100, 80), QStringLiteral("LT_MOVEALL"));
  input.StartPanning(&viewport, QPoint(60, 40), QStringLiteral("LT_MOVENS"));  // a restart replaces the picture
  ASSERT_EQ(viewport.findChildren<QWidget*>().size(), 1);
  EXPECT_EQ(viewport.findChildren<QWidget*>().front()->geometry().center(), QPoint(60, 40));
  EXPECT_EQ(input.PanningStart(), QPoint(60, 40));
  EXPECT_FALSE(input.MovedSincePanningStart(QPoint(64, 43)));  // within the dead zone
  EXPECT_TRUE(input.MovedSincePanningStart(QPoint(64, 44)));
  input.EndPanning();
  EXPECT_TRUE(viewport.findChildren<QWidget*>().empty());
}

}  // namespace
