// The reminder and auto-save timers, driven through the real event loop with short
// intervals.
#include "TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"

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
  EXPECT_EQ(app.ReminderTimer().interval(), 25000);
  EXPECT_TRUE(app.ReminderTimer().isActive());
  EXPECT_EQ(app.AutoSaveTimer().isActive(), GetParam().autoSaveMs > 0);
  if (GetParam().autoSaveMs > 0) {
    EXPECT_EQ(app.AutoSaveTimer().interval(), GetParam().autoSaveMs);
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, AutoSaveIntervalTest,
                         ::testing::Values(IntervalCase{"", 120000},
                                           IntervalCase{"[General]\nSaveMinutes=3\n", 180000},
                                           IntervalCase{"[General]\nSaveMinutes=0\n", 0},
                                           IntervalCase{"[General]\nSaveMinutes=-4\n", 0}));

// The reminder window's own loop lets the timers tick (Qt holds back only the reminder
// timer's own, whose tick is still running); neither a save nor a second window may come
// of it. Once the window is answered the auto-save goes on. The window stays up until
// the auto-save timer has ticked a few times, counted from its ticks themselves.
TEST_F(AppTimersTest, AnOpenReminderWindowHoldsOffTheAutoSaveAndASecondPass) {
  TTodoAppHandler app(&link, {20, 30});
  AddDueReminder(app);
  int autoSaveTicks = 0;
  QObject::connect(&app.AutoSaveTimer(), &QTimer::timeout, [&] { ++autoSaveTicks; });
  int windows = 0, open = 0, mostOpen = 0;
  qsizetype savesWhileOpen = -1;
  app.SetShowReminder([&](TTdTodoHandler&, TTdTodo& task, int) {
    ++windows;
    mostOpen = std::max(mostOpen, ++open);
    EXPECT_TRUE(app.Busy());
    const qsizetype before = Saves();
    const int ticksBefore = autoSaveTicks;
    EXPECT_TRUE(RunUntil([&] { return autoSaveTicks >= ticksBefore + 3; }));
    savesWhileOpen = Saves() - before;
    task.SetReminderActivated(false);  // answered
    --open;
  });

  ASSERT_TRUE(RunUntil([&] { return windows >= 1 && open == 0; }));
  EXPECT_EQ(mostOpen, 1);
  EXPECT_EQ(savesWhileOpen, 0);
  EXPECT_FALSE(app.Busy());
  const qsizetype after = Saves();
  EXPECT_TRUE(RunUntil([&] { return Saves() > after; }));
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
  AddDueReminder(app);
  int windows = 0;
  app.SetShowReminder([&](TTdTodoHandler&, TTdTodo& task, int) {
    if (++windows == 1) throw Exception(QStringLiteral("no window today"));
    task.SetReminderActivated(false);
  });
  ASSERT_TRUE(RunUntil([&] { return windows >= 2; }));
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
  app.TodoHandler().SetModified(true);
  ASSERT_TRUE(QDir().mkpath(data.File(QStringLiteral("todo.tbl"))));

  ASSERT_TRUE(RunUntil([&] { return Saves() >= 3; }));
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  EXPECT_TRUE(app.TodoHandler().Modified());

  ASSERT_TRUE(QDir(data.File(QStringLiteral("todo.tbl"))).removeRecursively());
  EXPECT_TRUE(RunUntil([&] { return !app.TodoHandler().Modified(); }));
  EXPECT_TRUE(QFileInfo(data.File(QStringLiteral("todo.tbl"))).isFile());
}
