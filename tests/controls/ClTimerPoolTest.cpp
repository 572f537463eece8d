#include "controls/cltimer.h"

#include <gtest/gtest.h>

namespace {

TEST(ClTimerPool, PeriodSuitsEveryTrigger) {
  const struct {
    const char* what;
    std::vector<TClTriggerTiming> triggers;
    uint32_t now;
    int period;
  } cases[] = {
      {"no triggers", {}, 0, 0},
      {"one trigger", {{1000, 0}}, 0, 1000},
      {"lowered until both intervals are multiples", {{1000, 0}, {300, 0}}, 0, 100},
      {"never below 55 ms", {{30, 0}}, 0, 55},
      {"lowering stops at 55 ms", {{250, 0}, {400, 0}}, 0, 55},
      {"the time left of a running trigger", {{1000, 100}}, 1000, 100},
      {"an overdue trigger", {{100, 0}}, 500, 55},
      {"time left across the counter's wrap", {{1000, 0xFFFFFF00u}}, 0x2BC, 50 + 5},
  };
  for (const auto& c : cases) EXPECT_EQ(TimerPoolPeriod(c.triggers, c.now), c.period) << c.what;
}

TEST(ClTimerPool, TicksAcrossTheWrapCountOneLess) {
  EXPECT_EQ(TicksSince(100, 350), 250u);
  EXPECT_EQ(TicksSince(0xFFFFFF00u, 0x2E8), 999u);
}

struct Firing {
  int handle;
  int interval;
  int32_t elapsed;
  bool operator==(const Firing&) const = default;
};

class TimerPoolTest : public ::testing::Test {
protected:
  TimerPoolTest() {
    pool.SetClock([this] { return now; });
    pool.OnAllTriggers = [this](TClTimerPool&, int handle, int interval, int32_t elapsed) {
      all.push_back({handle, interval, elapsed});
    };
  }
  TTriggerEvent Record() {
    return [this](TClTimerPool&, int handle, int interval, int32_t elapsed) {
      fired.push_back({handle, interval, elapsed});
    };
  }

  uint32_t now = 0;
  TClTimerPool pool;
  std::vector<Firing> fired;
  std::vector<Firing> all;
};

TEST_F(TimerPoolTest, FiresWhenTheIntervalHasNearlyPassed) {
  const int handle = pool.Add(Record(), 1000);
  EXPECT_TRUE(pool.TimerRunning());
  EXPECT_EQ(pool.Period(), 1000);
  now = 972;
  pool.Tick();
  EXPECT_TRUE(fired.empty()) << "28 ms early is too early";
  now = 973;
  pool.Tick();
  now = 1973;
  pool.Tick();
  const std::vector<Firing> expected{{handle, 1000, 973}, {handle, 1000, 1973}};
  EXPECT_EQ(fired, expected);
  EXPECT_EQ(all, expected) << "every firing is reported to the pool's handler too";
}

TEST_F(TimerPoolTest, OneShotTriggersGoAfterFiring) {
  pool.Add(Record(), 200, false);
  const int repeating = pool.Add(Record(), 100);
  EXPECT_EQ(pool.Period(), 100);
  now = 200;
  pool.Tick();
  EXPECT_EQ(fired.size(), 2u);
  EXPECT_EQ(pool.Count(), 1);
  EXPECT_EQ(pool.Period(), 100);
  pool.Remove(repeating);
  pool.Remove(12345);
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_FALSE(pool.TimerRunning());
}

TEST_F(TimerPoolTest, DisabledTriggersWaitAndStartAfresh) {
  const int handle = pool.Add(Record(), 100);
  pool.SetTriggerEnabled(handle, false);
  EXPECT_EQ(pool.EnabledCount(), 0);
  EXPECT_FALSE(pool.TimerRunning());
  now = 500;
  pool.Tick();
  EXPECT_TRUE(fired.empty());
  pool.SetTriggerEnabled(handle, true);
  pool.Tick();
  EXPECT_TRUE(fired.empty()) << "the interval counts from the enabling";
  now = 600;
  pool.Tick();
  EXPECT_EQ(fired, (std::vector<Firing>{{handle, 100, 100}}));
}

TEST_F(TimerPoolTest, TotalElapsedSaturatesAndHandlersMayRemoveTheirTrigger) {
  int handle = 0;
  handle = pool.Add(
      [&](TClTimerPool& sender, int h, int interval, int32_t elapsed) {
        fired.push_back({h, interval, elapsed});
        sender.Remove(handle);
      },
      100);
  now = 0xFFFFFFF0u;
  pool.Tick();
  EXPECT_EQ(fired, (std::vector<Firing>{{handle, 100, INT32_MAX}}));
  EXPECT_EQ(pool.Count(), 0);
}

}  // namespace
