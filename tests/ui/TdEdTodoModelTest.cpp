// The task editor's decisions without a window: texts, masks, checks, enabling, the
// coupling of status and percentage, the height rules and what OK writes.
#include "core/TodoTestSupport.h"

#include "core/TdOption.h"
#include "ui/TdEdTodoModel.h"

using namespace EditTodo;
using DateTime::EncodeDateTime;

namespace {

TTdAppOptions AllFieldsInUse() {
  TTdAppOptions o;
  o.UseNotes = o.UsePriority = o.UseType = o.UseCategory = o.UseResource = o.UsePercent = true;
  o.UseDTDue = o.UseDTDueTime = o.UseDTReminder = o.UseAssociation = o.UseFlagged = true;
  o.AlwaysCapitalizeFirst = true;
  return o;
}

// The values a dialog shows for a task, as OK would read them without any change.
TValues ValuesOf(const TTdTodo& t) {
  TValues v;
  v.title = t.Title;
  v.notes = t.Notes;
  v.category = t.Category;
  v.resource = t.Resource;
  v.priority = t.Priority;
  v.status = t.Status;
  v.type = t.Type;
  v.percentIndex = PercentIndexOf(t.Percent);
  v.flagged = t.Flagged();
  DateTime::SplitDateAndTime(t.Due, &v.dueDate, &v.dueTime);
  DateTime::SplitDateAndTime(t.ReminderDateTime, &v.reminderDate, &v.reminderTime);
  v.useReminder = t.ReminderActivated();
  v.beep = TTdTodo::ReminderHasBeep(t.ReminderType);
  v.sound = TTdTodo::ReminderHasSound(t.ReminderType);
  v.speech = TTdTodo::ReminderHasSpeech(t.ReminderType);
  v.soundFile = t.ReminderPath;
  v.completion = t.Completed;
  v.link = t.Association;
  v.isTemplate = t.IsTemplate();
  v.kind = static_cast<TRecurKind>(t.RecurKind);
  v.firstDate = DateTime::ToQDate(t.RecurFirstDate);
  v.lastDate = DateTime::ToQDate(t.RecurLastDate);
  v.leadDays = t.RecurLeadDays;
  v.onlyOneOpen = t.OnlyOneOpen();
  v.intervals[static_cast<size_t>(t.RecurKind)] = t.RecurInterval;
  v.weekdays = WeekdaysOf(t.RecurKind == rkWeekly ? t.RecurDayMask : 0);
  v.days = DaysOf(t.RecurKind == rkMonthly ? t.RecurDayMask : 0);
  return v;
}

class EditTodoModelTest : public ::testing::Test {
protected:
  const TDateTime now = EncodeDateTime(2024, 3, 10, 12, 0);
  ClockPin clock{now};
  FormatPin formats;
  TTdAppOptions options = AllFieldsInUse();
  TTdTodo task;

  void SetUp() override {
    task.ID = 12;
    task.Title = QStringLiteral("Pay rent");
    task.Status = tsOpen;
    task.Percent = 20;
    task.Due = EncodeDateTime(2024, 3, 15, 9, 30);
    task.ReminderType = 1;
    task.ReminderDateTime = EncodeDateTime(2024, 3, 14, 9, 30);
    task.RecurFirstDate = EncodeDateTime(2024, 3, 1, 8, 0);
    task.RecurLastDate = EncodeDateTime(2024, 12, 31, 8, 0);
  }
};

}  // namespace

TEST_F(EditTodoModelTest, CaptionsAndInformationTexts) {
  const struct {
    bool isNew, editable;
    const char* caption;
  } modes[] = {{true, true, "New Task"}, {false, true, "Edit Task"}, {false, false, "View Task"}, {true, false, "View Task"}};
  for (const auto& m : modes) EXPECT_EQ(DialogCaption(m.isNew, m.editable), m.caption) << m.caption;

  EXPECT_EQ(InfoCaption(task), " Information #12 ");
  task.ID = 0;
  EXPECT_EQ(InfoCaption(task), " Information ");

  EXPECT_EQ(RecurringText(task), "-");
  task.SetFromTemplate(true);
  EXPECT_EQ(RecurringText(task), "Created from template");
  task.SetIsTemplate(true);
  EXPECT_EQ(RecurringText(task), "TEMPLATE");

  EXPECT_EQ(ReminderStateText(task), "");
  task.SetReminderGiven(true);
  EXPECT_EQ(ReminderStateText(task), "Reminder has been given but has not yet been accepted");
  task.SetReminderAccepted(true);
  EXPECT_EQ(ReminderStateText(task), "Reminder has been given and accepted");

  const TDateTime done = EncodeDateTime(2024, 3, 9, 17, 5);
  for (int status = 0; status < kStatusCount; ++status)
    EXPECT_EQ(CompletedText(status, done), status >= tsCancelled ? "09.03.2024 17:05" : "-") << status;
}

TEST_F(EditTodoModelTest, PercentItems) {
  const struct {
    int percent, index;
  } cases[] = {{0, 0}, {5, 1}, {55, 11}, {100, 20}, {37, -1}, {101, -1}};
  for (const auto& c : cases) EXPECT_EQ(PercentIndexOf(c.percent), c.index) << c.percent;
  EXPECT_EQ(PercentOfIndex(20), 100);
}

TEST_F(EditTodoModelTest, RecurrenceMasks) {
  std::array<bool, 7> weekdays{};
  std::array<bool, 31> days{};
  weekdays[0] = weekdays[6] = true;  // Monday and Sunday
  days[0] = days[14] = days[30] = true;
  EXPECT_EQ(RecurDayMask(rkWeekly, weekdays, days), 65);
  EXPECT_EQ(RecurDayMask(rkMonthly, weekdays, days), 1 | 1 << 14 | 1 << 30);
  EXPECT_EQ(RecurDayMask(rkDaily, weekdays, days), 0) << "daily needs no days";
  EXPECT_EQ(WeekdaysOf(65), weekdays);
  EXPECT_EQ(DaysOf(1 | 1 << 14 | 1 << 30), days);
}

TEST_F(EditTodoModelTest, TemplateChecks) {
  struct Case {
    const char* name;
    std::function<void(TValues&)> change;
    const char* message;
  };
  const Case cases[] = {
      {"daily", [](TValues&) {}, ""},
      {"not a template", [](TValues& v) { v.isTemplate = false, v.kind = rkWeekly, v.lastDate = v.firstDate.addDays(-1); }, ""},
      {"last before first", [](TValues& v) { v.lastDate = v.firstDate.addDays(-1); },
       "Last valid date cannot be earlier than the first date"},
      {"same day", [](TValues& v) { v.lastDate = v.firstDate; }, ""},
      {"weekly without days", [](TValues& v) { v.kind = rkWeekly; }, "You must select one or more weekdays"},
      {"weekly, day boxes do not count", [](TValues& v) { v.kind = rkWeekly, v.days[3] = true; },
       "You must select one or more weekdays"},
      {"weekly Sunday", [](TValues& v) { v.kind = rkWeekly, v.weekdays[6] = true; }, ""},
      {"monthly without days", [](TValues& v) { v.kind = rkMonthly, v.weekdays[1] = true; },
       "You must select one or more days"},
      {"monthly 31st", [](TValues& v) { v.kind = rkMonthly, v.days[30] = true; }, ""},
  };
  for (const Case& c : cases) {
    TValues v = ValuesOf(task);
    v.isTemplate = true;
    c.change(v);
    EXPECT_EQ(TemplateCheck(v), c.message) << c.name;
  }
}

TEST_F(EditTodoModelTest, HeightShrinksOnlyWithoutDueDates) {
  const struct {
    bool due, percent, notes, flagged;
    int reduction;
  } cases[] = {
      {true, false, false, false, 0}, {true, true, true, true, 0},       {false, true, true, true, 0},
      {false, false, true, true, 60}, {false, true, false, true, 60},    {false, true, true, false, 40},
      {false, false, false, true, 120}, {false, false, true, false, 100}, {false, true, false, false, 100},
      {false, false, false, false, 160},
  };
  for (const auto& c : cases) {
    options.UseDTDue = c.due;
    options.UsePercent = c.percent;
    options.UseNotes = c.notes;
    options.UseFlagged = c.flagged;
    EXPECT_EQ(HeightReduction(options), c.reduction) << c.due << c.percent << c.notes << c.flagged;
  }
}

TEST_F(EditTodoModelTest, PagesFollowTheOptions) {
  const struct {
    bool reminder, association, due;
  } cases[] = {{true, true, true}, {false, true, true}, {false, false, true}, {true, false, false}};
  for (const auto& c : cases) {
    options.UseDTReminder = c.reminder;
    options.UseAssociation = c.association;
    options.UseDTDue = c.due;
    const TPages pages = PagesOf(options);
    EXPECT_EQ(pages.reminder, c.reminder);
    EXPECT_EQ(pages.link, c.association);
    EXPECT_EQ(pages.recurring, c.due);
  }
}

TEST_F(EditTodoModelTest, EnablingRules) {
  TControlState s;
  s.title = QStringLiteral("x");
  s.useReminder = true;
  s.beep = true;
  TEnabling e = EnablingOf(s);
  EXPECT_TRUE(e.percent && e.test && e.reminderDates && e.ok);
  EXPECT_FALSE(e.clearUseReminder || e.soundFile || e.play || e.run || e.recurrence);

  struct Case {
    const char* name;
    std::function<void(TControlState&)> change;
    std::function<bool(const TEnabling&)> holds;
  };
  const Case cases[] = {
      {"closed status locks the percentage", [](auto& s) { s.status = tsOK; }, [](auto& e) { return !e.percent; }},
      {"waiting locks it too", [](auto& s) { s.status = tsWaiting; }, [](auto& e) { return !e.percent; }},
      {"no type switches the reminder off", [](auto& s) { s.beep = false; },
       [](auto& e) { return e.clearUseReminder && !e.test && !e.reminderDates && e.reminderTypes; }},
      {"a sound without a file switches it off", [](auto& s) { s.beep = false, s.sound = true; },
       [](auto& e) { return e.clearUseReminder && e.soundFile && !e.play; }},
      {"a sound with a file plays", [](auto& s) { s.beep = false, s.sound = true, s.soundFile = "/a.wav"; },
       [](auto& e) { return !e.clearUseReminder && e.soundFile && e.play && e.test; }},
      {"beep and sound need no file", [](auto& s) { s.sound = true; },
       [](auto& e) { return !e.clearUseReminder && e.soundFile && !e.play; }},
      {"reminder off: no test, no dates", [](auto& s) { s.useReminder = false, s.soundFile = "/a.wav"; },
       [](auto& e) { return !e.clearUseReminder && !e.test && !e.reminderDates && !e.play && e.reminderTypes; }},
      {"a link can run", [](auto& s) { s.link = "https://example.org"; }, [](auto& e) { return e.run; }},
      {"no title, no OK", [](auto& s) { s.title.clear(); }, [](auto& e) { return !e.ok; }},
      {"template: only the chosen kind", [](auto& s) { s.isTemplate = true, s.kind = rkMonthly; },
       [](auto& e) { return e.recurrence && !e.kinds[0] && !e.kinds[1] && e.kinds[2]; }},
  };
  for (const Case& c : cases) {
    TControlState changed = s;
    c.change(changed);
    EXPECT_TRUE(c.holds(EnablingOf(changed))) << c.name;
  }
}

TEST_F(EditTodoModelTest, StatusAndPercentDriveEachOther) {
  const TDateTime later = now + 0.25;
  TStatusPercent sp{tsOpen, 4, 0};
  sp = StatusChosen(sp, tsOK, now);
  EXPECT_EQ(sp.percentIndex, 20);
  EXPECT_EQ(sp.completion, now);
  sp = StatusChosen(sp, tsOpen, later);
  EXPECT_EQ(sp.percentIndex, 0);
  EXPECT_EQ(sp.completion, now) << "the date only matters for a closed status";
  sp = StatusChosen(sp, tsCancelled, later);
  EXPECT_EQ(sp.percentIndex, 20);
  EXPECT_EQ(sp.completion, later);

  sp = PercentChosen({tsCreated, 0, 0}, 3, now);
  EXPECT_EQ(sp.status, tsOpen);
  EXPECT_EQ(sp.completion, 0);
  sp = PercentChosen(sp, 20, now);
  EXPECT_EQ(sp.status, tsOK);
  EXPECT_EQ(sp.completion, now) << "closing through 100 completes the task too";
  sp = PercentChosen({tsOpen, 3, 0}, 0, now);
  EXPECT_EQ(sp.status, tsOpen) << "0 does not reopen as created";
}

TEST_F(EditTodoModelTest, OkWritesEveryField) {
  TValues v = ValuesOf(task);
  v.title = QStringLiteral("call mum");
  v.notes = QStringLiteral("at six");
  v.category = 2;
  v.resource = 1;
  v.priority = 4;
  v.type = 3;
  v.percentIndex = 10;
  v.flagged = true;
  v.dueDate = QDate(2024, 4, 1);
  v.dueTime = QTime(18, 0);
  v.reminderDate = QDate(2024, 3, 31);
  v.reminderTime = QTime(8, 15);
  v.useReminder = true;
  v.beep = false;
  v.sound = v.speech = true;
  v.soundFile = QStringLiteral("/s/bell.wav");
  v.link = QStringLiteral("https://example.org");
  v.isTemplate = true;
  v.kind = rkMonthly;
  v.intervals = {4, 5, 6};
  v.days[0] = v.days[14] = v.days[30] = true;
  v.weekdays[2] = true;
  v.firstDate = QDate(2024, 3, 20);
  v.lastDate = QDate(2024, 9, 1);
  v.leadDays = 7;
  v.onlyOneOpen = false;
  task.SetReminderGiven(true);
  task.SetReminderAccepted(true);

  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_EQ(task.Title, "Call mum");
  EXPECT_EQ(task.Notes, "at six");
  EXPECT_EQ(task.Category, 2);
  EXPECT_EQ(task.Resource, 1);
  EXPECT_EQ(task.Priority, 4);
  EXPECT_EQ(task.Type, 3);
  EXPECT_EQ(task.Percent, 50);
  EXPECT_TRUE(task.Flagged());
  EXPECT_EQ(task.Due, EncodeDateTime(2024, 4, 1, 18, 0));
  EXPECT_EQ(task.ReminderDateTime, EncodeDateTime(2024, 3, 31, 8, 15));
  EXPECT_EQ(task.ReminderType, 5);
  EXPECT_TRUE(task.ReminderActivated());
  EXPECT_FALSE(task.ReminderAccepted()) << "a reminder switched on comes again";
  EXPECT_EQ(task.ReminderPath, "/s/bell.wav");
  EXPECT_EQ(task.Association, "https://example.org");
  EXPECT_TRUE(task.IsTemplate());
  EXPECT_EQ(task.RecurKind, rkMonthly);
  EXPECT_EQ(task.RecurInterval, 6);
  EXPECT_EQ(task.RecurDayMask, 1 | 1 << 14 | 1 << 30);
  EXPECT_EQ(task.RecurFirstDate, EncodeDateTime(2024, 3, 20, 8, 0)) << "the first date keeps its hour";
  EXPECT_EQ(task.RecurLastDate, EncodeDateTime(2024, 9, 1, 8, 0));
  EXPECT_EQ(task.RecurLeadDays, 7);
  EXPECT_FALSE(task.OnlyOneOpen());

  v.useReminder = true;
  v.sound = v.speech = false;
  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_FALSE(task.ReminderActivated()) << "a reminder without a type stays off";
  EXPECT_EQ(task.ReminderType, 0);
}

TEST_F(EditTodoModelTest, EveryClosingPathSetsTheCompletionDate) {
  const TDateTime chosen = now - 0.5;
  struct Case {
    const char* name;
    std::function<TStatusPercent(TStatusPercent)> choose;
  };
  const Case cases[] = {
      {"status OK", [&](TStatusPercent sp) { return StatusChosen(sp, tsOK, chosen); }},
      {"status Cancelled", [&](TStatusPercent sp) { return StatusChosen(sp, tsCancelled, chosen); }},
      {"percent 100", [&](TStatusPercent sp) { return PercentChosen(sp, 20, chosen); }},
  };
  for (const Case& c : cases) {
    TTdTodo t = task;
    TValues v = ValuesOf(t);
    const TStatusPercent sp = c.choose({v.status, v.percentIndex, v.completion});
    v.status = sp.status;
    v.percentIndex = sp.percentIndex;
    v.completion = sp.completion;
    EXPECT_EQ(Apply(t, v, options), "");
    EXPECT_TRUE(t.IsClosed()) << c.name;
    EXPECT_EQ(t.Completed, chosen) << c.name;
    EXPECT_EQ(t.Percent, 100) << c.name;
  }

  // Reopening clears it again.
  TValues v = ValuesOf(task);
  task.Status = tsOK;
  task.Completed = chosen;
  v.status = tsOpen;
  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_EQ(task.Completed, 0);
}

TEST_F(EditTodoModelTest, AFailedCheckLeavesTheTaskAsItWas) {
  task.SetIsTemplate(true);
  const TTdTodo before = task;
  TValues v = ValuesOf(task);
  v.title = QStringLiteral("changed");
  v.status = tsOK;
  v.completion = now;
  v.kind = rkWeekly;
  EXPECT_EQ(Apply(task, v, options), "You must select one or more weekdays");
  ExpectSameTask(task, before);

  // Without due dates there is no Recurring page, hence nothing to check.
  options.UseDTDue = false;
  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_EQ(task.Title, "Changed");
  EXPECT_EQ(task.RecurKind, before.RecurKind) << "the recurrence stays as it was";
}

TEST_F(EditTodoModelTest, SwitchedOffPagesLeaveTheirFieldsAlone) {
  options.UseDTReminder = false;
  options.UseAssociation = false;
  task.Association = QStringLiteral("/doc.txt");
  task.SetReminderActivated(true);
  task.SetReminderGiven(true);
  const TTdTodo before = task;
  TValues v = ValuesOf(task);
  v.useReminder = false;
  v.beep = false;
  v.soundFile = QStringLiteral("/x.wav");
  v.reminderDate = QDate(2030, 1, 1);
  v.link.clear();
  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_EQ(task.ReminderDateTime, before.ReminderDateTime);
  EXPECT_EQ(task.ReminderType, before.ReminderType);
  EXPECT_EQ(task.ReminderPath, before.ReminderPath);
  EXPECT_EQ(task.Flags, before.Flags);
  EXPECT_EQ(task.Association, "/doc.txt");
}

TEST_F(EditTodoModelTest, CapitalizingIsAnOption) {
  TValues v = ValuesOf(task);
  v.title = QStringLiteral("ölfilter wechseln");
  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_EQ(task.Title, QString::fromUtf8("Ölfilter wechseln"));
  options.AlwaysCapitalizeFirst = false;
  EXPECT_EQ(Apply(task, v, options), "");
  EXPECT_EQ(task.Title, QString::fromUtf8("ölfilter wechseln"));
  EXPECT_EQ(CapitalizeFirst(""), "");
}
