// The reminder and auto-save timers, fired by hand through a timer driver of the test's:
// their intervals, and what a tick does while a pass runs, fails or owes a save.
#include "TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "support/FakeTimers.h"

#include <QFileInfo>

#include <algorithm>

namespace {

constexpr int kNever = 3600000;

class AppTimersTest : public ::testing::Test {
protected:
  // Reminders in use and one task whose reminder is due.
  TTdTodo& AddDueReminder(TTodoAppHandler& app) {
    TTdAppOptions o = app.GetOptions();
    o.UseDTReminder = true;
    app.PutOptions(o);
    TTdTodo& t = *app.TodoHandler().AddTodo();
    t.Title = QStringLiteral("Call back");
    t.Status = tsOpen;
    t.SetReminderActivated(true);
    t.ReminderDateTime = DateTime::Now() - 1;
    return t;
  }

  qsizetype Saves() const { return desktop.Calls(QStringLiteral("wait:on")).size(); }

  // The handler's timers from now on run on `timers`, fired by the test.
  FakeTimers& DriveTimers(TTodoAppHandler& app) {
    auto driver = std::make_unique<FakeTimers>();
    FakeTimers& timers = *driver;
    app.SetTimerDriver(std::move(driver));
    return timers;
  }

  FakeDesktop desktop;
  DataFolderPin data;
  FakeMainLink link;
};

struct IntervalCase {
  const char* settings;
  int autoSaveMs;  // 0: the timer does not run
};

class AutoSaveIntervalTest : public AppTimersTest, public ::testing::WithParamInterface<IntervalCase> {};

}  // namespace

TEST_P(AutoSaveIntervalTest, ComesFromSaveMinutes) {
  data.WriteSettings(QString::fromLatin1(GetParam().settings));
  TTodoAppHandler app(&link);
  EXPECT_EQ(app.Timers().Interval(ReminderTimerId), 25000);
  EXPECT_TRUE(app.Timers().IsRunning(ReminderTimerId));
  EXPECT_EQ(app.Timers().IsRunning(AutoSaveTimerId), GetParam().autoSaveMs > 0);
  if (GetParam().autoSaveMs > 0) {
    EXPECT_EQ(app.Timers().Interval(AutoSaveTimerId), GetParam().autoSaveMs);
  }
  // A driver put in place takes the running timers over as they are.
  FakeTimers& timers = DriveTimers(app);
  EXPECT_EQ(timers.Interval(ReminderTimerId), 25000);
  EXPECT_EQ(timers.IsRunning(AutoSaveTimerId), GetParam().autoSaveMs > 0);
  app.FinalSave();
  EXPECT_FALSE(timers.IsRunning(ReminderTimerId)) << "the save on the way out stops the timers";
  EXPECT_FALSE(timers.IsRunning(AutoSaveTimerId));
}

INSTANTIATE_TEST_SUITE_P(Settings, AutoSaveIntervalTest,
                         ::testing::Values(IntervalCase{"", 120000},
                                           IntervalCase{"[General]\nSaveMinutes=3\n", 180000},
                                           IntervalCase{"[General]\nSaveMinutes=0\n", 0},
                                           IntervalCase{"[General]\nSaveMinutes=-4\n", 0}));

// While the reminder window is up, ticks of both timers come in (the window runs its
// own loop); neither a save nor a second window may come of them. Once the window is
// answered the auto-save goes on.
TEST_F(AppTimersTest, AnOpenReminderWindowHoldsOffTheAutoSaveAndASecondPass) {
  TTodoAppHandler app(&link, {20, 30});
  FakeTimers& timers = DriveTimers(app);
  EXPECT_EQ(timers.Interval(ReminderTimerId), 20);
  EXPECT_EQ(timers.Interval(AutoSaveTimerId), 30);
  AddDueReminder(app);
  int windows = 0, open = 0, mostOpen = 0;
  qsizetype savesWhileOpen = -1;
  app.SetShowReminder([&](TTdTodoHandler&, TTdTodo& task, int) {
    ++windows;
    mostOpen = std::max(mostOpen, ++open);
    EXPECT_TRUE(app.Busy());
    const qsizetype before = Saves();
    for (int tick = 0; tick < 3; ++tick) {
      app.TimerFired(AutoSaveTimerId);
      app.TimerFired(ReminderTimerId);
    }
    savesWhileOpen = Saves() - before;
    task.SetReminderActivated(false);  // answered
    --open;
  });

  app.TimerFired(ReminderTimerId);
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(mostOpen, 1);
  EXPECT_EQ(savesWhileOpen, 0);
  EXPECT_FALSE(app.Busy());
  const qsizetype after = Saves();
  app.TimerFired(AutoSaveTimerId);
  EXPECT_EQ(Saves(), after + 1);
  EXPECT_EQ(windows, 1);
}

// Whatever lets the ticks in while a window is up (another timer, another loop), they
// find the pass running: no second window, and the skipped auto-save is not made up.
TEST_F(AppTimersTest, TicksDuringAPassDoNothing) {
  TTodoAppHandler app(&link, {kNever, 0});
  AddDueReminder(app);
  int windows = 0;
  app.SetShowReminder([&](TTdTodoHandler&, TTdTodo& task, int) {
    ++windows;
    app.ReminderTimerTimer();
    app.AutoSaveTimerTimer();
    EXPECT_TRUE(app.Busy());
    task.SetReminderActivated(false);
  });
  app.ReminderTimerTimer();
  EXPECT_EQ(windows, 1);
  EXPECT_EQ(Saves(), 0);
  EXPECT_FALSE(app.Busy());
}

// A save asked for while a reminder window is up (the close query, say) waits for the
// pass and is made as soon as it ends.
TEST_F(AppTimersTest, ASaveDuringAPassIsMadeWhenThePassEnds) {
  TTodoAppHandler app(&link, {kNever, 0});
  AddDueReminder(app);
  app.SetShowReminder([&](TTdTodoHandler&, TTdTodo& task, int) {
    EXPECT_FALSE(app.SaveAll());
    EXPECT_EQ(Saves(), 0);
    task.SetReminderActivated(false);
  });
  app.ReminderTimerTimer();
  EXPECT_EQ(Saves(), 1);
  EXPECT_FALSE(app.TodoHandler().Modified());
  EXPECT_TRUE(QFileInfo::exists(data.File(QStringLiteral("todo.tbl"))));
  app.ReminderTimerTimer();
  EXPECT_EQ(Saves(), 1) << "owed once, saved once";
}

TEST_F(AppTimersTest, APassThatRaisesReachesTheErrorBoxAndTheNextTickRunsAgain) {
  TTodoAppHandler app(&link, {20, 0});
  DriveTimers(app);
  AddDueReminder(app);
  int windows = 0;
  app.SetShowReminder([&](TTdTodoHandler&, TTdTodo& task, int) {
    if (++windows == 1) throw Exception(QStringLiteral("no window today"));
    task.SetReminderActivated(false);
  });
  app.TimerFired(ReminderTimerId);
  app.TimerFired(ReminderTimerId);
  EXPECT_EQ(windows, 2);
  EXPECT_EQ(desktop.Calls(QStringLiteral("message:")), QStringList({"message:Application Error|no window today"}));
  EXPECT_FALSE(app.Busy());
}

TEST_F(AppTimersTest, TheTickTellsTheWindowHowManyTasksTemplatesAdded) {
  TTodoAppHandler app(&link, {kNever, 0});
  TTdTodo& tmpl = *app.TodoHandler().AddTodo();
  tmpl.ID = ++app.TodoHandler().LastId;
  tmpl.SetIsTemplate(true);
  tmpl.RecurKind = 0;  // daily
  tmpl.RecurInterval = 1;
  tmpl.RecurFirstDate = DateTime::Today() + 0.5;
  tmpl.RecurLastDate = DateTime::Today() + 365;
  link.log.clear();

  app.ReminderTimerTimer();
  EXPECT_EQ(app.TodoHandler().TaskCount(), 2);
  EXPECT_EQ(link.log, QStringList({"added:1"}));
  app.ReminderTimerTimer();
  EXPECT_EQ(link.log, QStringList({"added:1"})) << "nothing added, nothing told";
}

// The stores stay modified after a failed auto-save, so the next tick tries again; the
// same failure tick after tick is shown once, not once per tick.
TEST_F(AppTimersTest, AFailedAutoSaveIsShownOnceAndRetried) {
  TTodoAppHandler app(&link, {kNever, 20});
  DriveTimers(app);
  app.TodoHandler().SetModified(true);
  ASSERT_TRUE(QDir().mkpath(data.File(QStringLiteral("todo.tbl"))));

  for (int tick = 0; tick < 3; ++tick) app.TimerFired(AutoSaveTimerId);
  EXPECT_EQ(Saves(), 3);
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  EXPECT_TRUE(app.TodoHandler().Modified());

  ASSERT_TRUE(QDir(data.File(QStringLiteral("todo.tbl"))).removeRecursively());
  app.TimerFired(AutoSaveTimerId);
  EXPECT_FALSE(app.TodoHandler().Modified());
  EXPECT_TRUE(QFileInfo(data.File(QStringLiteral("todo.tbl"))).isFile());
}
