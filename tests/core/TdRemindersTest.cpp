#include "TodoTestSupport.h"

#include "core/TdReminders.h"

#include <QStringList>

using DateTime::EncodeDateTime;

namespace {

class ReminderPassTest : public ::testing::Test {
protected:
  const TDateTime now = EncodeDateTime(2024, 3, 10, 12, 0);
  ClockPin clock{now};
  TTdTodoHandler store{"/x/todo.tbl"};

  // Every window the pass opens, with what held when it opened; `answer` plays the user.
  QStringList shown;
  std::function<void(TTdTodo&)> answer;
  TShowReminderFunc Recorder() {
    return [this](TTdTodoHandler& s, TTdTodo& t, int snooze) {
      EXPECT_EQ(&s, &store);
      EXPECT_TRUE(t.ReminderGiven()) << "marked before the window opens";
      EXPECT_TRUE(s.Modified());
      EXPECT_EQ(snooze, 45);
      shown << t.Title;
      if (answer) answer(t);
    };
  }

  TTdTodo& AddReminder(const char* title, TDateTime at, int32_t status = tsOpen) {
    TTdTodo& t = *store.Todos().Add();
    t.Title = QString::fromLatin1(title);
    t.Status = status;
    t.SetReminderActivated(true);
    t.ReminderDateTime = at;
    return t;
  }
};

}  // namespace

TEST_F(ReminderPassTest, ShowsTheDueRemindersInListOrder) {
  AddReminder("due", now - 1.0 / 1440);
  AddReminder("accepted", now - 1).SetReminderAccepted(true);
  AddReminder("closed", now - 30, tsOK).SetReminderActivated(true);
  AddReminder("cancelled", now - 1, tsCancelled).SetReminderActivated(true);
  AddReminder("inactive", now - 1).SetReminderActivated(false);
  TTdTodo& given = AddReminder("already given", now - 2);
  given.SetReminderGiven(true);
  AddReminder("exactly now", now);
  AddReminder("later today", now + 1.0 / 1440);
  AddReminder("waiting", now - 3, tsWaiting);

  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 3);
  EXPECT_EQ(shown, QStringList({"due", "already given", "waiting"}));
  EXPECT_FALSE(store.GetTodo(1)->ReminderGiven());
  EXPECT_FALSE(store.GetTodo(6)->ReminderGiven());

  // Given does not hold a reminder back: unanswered, it comes again on the next pass.
  shown.clear();
  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 3);
  EXPECT_EQ(shown, QStringList({"due", "already given", "waiting"}));

  clock.Set(now + 2.0 / 1440);
  shown.clear();
  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 5);
  EXPECT_EQ(shown, QStringList({"due", "already given", "exactly now", "later today", "waiting"}));
}

TEST_F(ReminderPassTest, NothingWhenRemindersAreOff) {
  AddReminder("due", now - 1);
  EXPECT_EQ(CheckReminders(store, false, 45, Recorder()), 0);
  EXPECT_TRUE(shown.isEmpty());
  EXPECT_FALSE(store.GetTodo(0)->ReminderGiven());
  EXPECT_FALSE(store.Modified());
}

TEST_F(ReminderPassTest, AnAnswerInOneWindowHoldsForLaterPasses) {
  AddReminder("accept me", now - 1);
  AddReminder("snooze me", now - 1);
  answer = [this](TTdTodo& t) {
    if (t.Title == "accept me") {
      t.SetReminderActivated(false);
      t.SetReminderAccepted(true);
    } else {
      t.ReminderDateTime = now + 10.0 / 1440;
    }
  };
  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 2);
  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 0);
  clock.Set(now + 11.0 / 1440);
  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 1);
  EXPECT_EQ(shown.last(), "snooze me");
}

TEST_F(ReminderPassTest, TasksAddedWhileAWindowIsUpAreSeenInTheSamePass) {
  AddReminder("first", now - 1);
  answer = [this](TTdTodo& t) {
    if (t.Title == "first") AddReminder("added meanwhile", now - 1);
  };
  EXPECT_EQ(CheckReminders(store, true, 45, Recorder()), 2);
  EXPECT_EQ(shown, QStringList({"first", "added meanwhile"}));
}
