#include "TodoTestSupport.h"

#include <QStringList>

using DateTime::EncodeDate;
using DateTime::EncodeDateTime;

namespace {

QString Text(TDateTime value) {
  return DateTime::ToQDateTime(value).toString(QStringLiteral("yyyy-MM-dd ddd HH:mm"));
}

constexpr int32_t kDaily = 0, kWeekly = 1, kMonthly = 2;
constexpr int32_t Mon = 1 << 0, Tue = 1 << 1, Thu = 1 << 3;
constexpr int32_t Day(int n) { return 1 << (n - 1); }

struct RuleCase {
  const char* name;
  int32_t kind;
  int32_t interval;
  int32_t mask;
  TDateTime first;
  TDateTime lastGenerated;  // 0: no instance yet
  TDateTime lastDate;
  const char* expected;  // nullptr: no occurrence
};

const TDateTime kFar = EncodeDate(2100, 1, 1);

class NextOccurrenceTest : public ::testing::TestWithParam<RuleCase> {};

}  // namespace

TEST_P(NextOccurrenceTest, GivesTheNextDate) {
  const RuleCase& c = GetParam();
  TTdTodo t(EncodeDate(2024, 1, 1));
  t.SetIsTemplate(true);
  t.RecurKind = c.kind;
  t.RecurInterval = c.interval;
  t.RecurDayMask = c.mask;
  t.RecurFirstDate = c.first;
  t.RecurLastGenerated = c.lastGenerated;
  t.RecurLastDate = c.lastDate;
  t.RecurLeadDays = 3;
  const TTdTodo before = t;

  TDateTime next = -1, creation = -1;
  const bool found = t.NextOccurrence(next, creation);
  ExpectSameTask(t, before);
  if (!c.expected) {
    EXPECT_FALSE(found) << qPrintable(Text(next));
    return;
  }
  ASSERT_TRUE(found);
  EXPECT_EQ(Text(next), QString::fromLatin1(c.expected));
  EXPECT_EQ(Text(creation), Text(next - 3)) << "created the lead days before";
}

INSTANTIATE_TEST_SUITE_P(
    Rules, NextOccurrenceTest,
    ::testing::Values(
        // Daily
        RuleCase{"DailyFirst", kDaily, 1, 0, EncodeDateTime(2024, 3, 10, 9, 0), 0, kFar, "2024-03-10 Sun 09:00"},
        RuleCase{"DailyStepKeepsTime", kDaily, 3, 0, 0, EncodeDateTime(2024, 3, 10, 9, 0), kFar,
                 "2024-03-13 Wed 09:00"},
        RuleCase{"DailyOverMonthEnd", kDaily, 2, 0, 0, EncodeDateTime(2024, 2, 28, 9, 0), kFar,
                 "2024-03-01 Fri 09:00"},
        RuleCase{"DailyLastAllowedDateCountsByDate", kDaily, 1, 0, 0, EncodeDateTime(2024, 3, 10, 9, 0),
                 EncodeDate(2024, 3, 11), "2024-03-11 Mon 09:00"},
        RuleCase{"DailyPastLastDate", kDaily, 2, 0, 0, EncodeDateTime(2024, 3, 10, 9, 0),
                 EncodeDateTime(2024, 3, 11, 23, 59), nullptr},
        RuleCase{"FirstDateAfterLastDate", kDaily, 1, 0, EncodeDate(2024, 3, 12), 0, EncodeDate(2024, 3, 11),
                 nullptr},
        RuleCase{"FirstDateEqualsLastDate", kDaily, 1, 0, EncodeDateTime(2024, 3, 11, 18, 0), 0,
                 EncodeDate(2024, 3, 11), "2024-03-11 Mon 18:00"},
        RuleCase{"DailyIntervalZero", kDaily, 0, 0, 0, EncodeDate(2024, 3, 10), kFar, nullptr},
        RuleCase{"DailyIntervalNegative", kDaily, -2, 0, 0, EncodeDate(2024, 3, 10), kFar, nullptr},
        // Weekly
        RuleCase{"WeeklyFirst", kWeekly, 1, Mon | Thu, EncodeDateTime(2024, 3, 11, 8, 0), 0, kFar,
                 "2024-03-11 Mon 08:00"},
        RuleCase{"WeeklyFirstDayNotSelected", kWeekly, 1, Mon | Thu, EncodeDate(2024, 3, 12), 0, kFar, nullptr},
        RuleCase{"WeeklySameWeekKeepsTime", kWeekly, 2, Mon | Thu, 0, EncodeDateTime(2024, 3, 11, 10, 0), kFar,
                 "2024-03-14 Thu 10:00"},
        RuleCase{"WeeklyIntervalStepAtMidnight", kWeekly, 2, Mon | Thu, 0, EncodeDateTime(2024, 3, 14, 15, 30),
                 kFar, "2024-03-25 Mon 00:00"},
        RuleCase{"WeeklyWeekOfNextCalendarYear", kWeekly, 1, Mon | Tue, 0, EncodeDate(2024, 12, 24), kFar,
                 "2024-12-30 Mon 00:00"},
        RuleCase{"WeeklyWeek53OfPreviousYear", kWeekly, 1, Mon, 0, EncodeDate(2026, 12, 25), kFar,
                 "2026-12-28 Mon 00:00"},
        RuleCase{"WeeklyEmptyMask", kWeekly, 1, 0, 0, EncodeDate(2024, 3, 11), kFar, nullptr},
        RuleCase{"WeeklyIntervalZero", kWeekly, 0, Mon, 0, EncodeDate(2024, 3, 11), kFar, nullptr},
        RuleCase{"WeeklyPastLastDate", kWeekly, 1, Mon, 0, EncodeDate(2024, 3, 11), EncodeDate(2024, 3, 17),
                 nullptr},
        // Monthly
        RuleCase{"MonthlyFirst", kMonthly, 1, Day(31), EncodeDate(2023, 1, 31), 0, kFar, "2023-01-31 Tue 00:00"},
        RuleCase{"MonthlyFirstDayNotSelected", kMonthly, 1, Day(31), EncodeDate(2023, 1, 30), 0, kFar, nullptr},
        RuleCase{"Monthly31stRunsOnPastFebruary", kMonthly, 1, Day(31), 0, EncodeDate(2023, 1, 31), kFar,
                 "2023-03-03 Fri 00:00"},
        RuleCase{"MonthlyBackOnThe31st", kMonthly, 1, Day(31), 0, EncodeDate(2023, 3, 3), kFar,
                 "2023-03-31 Fri 00:00"},
        RuleCase{"Monthly31stInApril", kMonthly, 1, Day(31), 0, EncodeDate(2023, 3, 31), kFar,
                 "2023-05-01 Mon 00:00"},
        RuleCase{"Monthly29thInLeapFebruary", kMonthly, 1, Day(29), 0, EncodeDate(2024, 1, 29), kFar,
                 "2024-02-29 Thu 00:00"},
        RuleCase{"Monthly29thInCommonFebruary", kMonthly, 1, Day(29), 0, EncodeDate(2023, 1, 29), kFar,
                 "2023-03-01 Wed 00:00"},
        RuleCase{"MonthlySameMonthKeepsTime", kMonthly, 3, Day(1) | Day(15), 0, EncodeDateTime(2024, 4, 1, 7, 0),
                 kFar, "2024-04-15 Mon 07:00"},
        RuleCase{"MonthlyIntervalStep", kMonthly, 3, Day(1) | Day(15), 0, EncodeDateTime(2024, 1, 15, 10, 0),
                 kFar, "2024-04-01 Mon 00:00"},
        RuleCase{"MonthlyOverNewYear", kMonthly, 1, Day(5), 0, EncodeDate(2024, 12, 5), kFar,
                 "2025-01-05 Sun 00:00"},
        RuleCase{"MonthlyEmptyMask", kMonthly, 1, 0, 0, EncodeDate(2024, 3, 5), kFar, nullptr},
        RuleCase{"MonthlyIntervalZero", kMonthly, 0, Day(5), 0, EncodeDate(2024, 3, 5), kFar, nullptr},
        // Unknown rule
        RuleCase{"UnknownKind", 3, 1, 0, EncodeDate(2024, 3, 5), 0, kFar, nullptr}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// The generation pass

namespace {

class GenerateRecurringTest : public ::testing::Test {
protected:
  const TDateTime today = EncodeDate(2024, 3, 10);
  ClockPin clock{today + 0.5};  // noon
  TTdTodoHandler store{"/x/todo.tbl"};

  TTdTodo& AddTemplate(int32_t kind, TDateTime first, TDateTime lastDate) {
    TTdTodo* t = store.Todos().Add();
    t->ID = ++store.LastId;
    t->Title = QStringLiteral("Water the plants");
    t->SetIsTemplate(true);
    t->RecurKind = kind;
    t->RecurFirstDate = first;
    t->RecurLastDate = lastDate;
    return *t;
  }

  QStringList Dues(int from = 0) const {
    QStringList dues;
    for (int i = from; i < store.TaskCount(); ++i) dues << Text(store.GetTodo(i)->Due);
    return dues;
  }
};

}  // namespace

TEST_F(GenerateRecurringTest, CreatesTheInstancesWithinTheLeadDays) {
  TTdTodo& tmpl = AddTemplate(kDaily, today + 0.375, today + 10);
  tmpl.SetOnlyOneOpen(false);
  tmpl.RecurLeadDays = 3;

  EXPECT_EQ(store.GenerateRecurring(), 4);
  EXPECT_EQ(Dues(1), QStringList({"2024-03-10 Sun 09:00", "2024-03-11 Mon 09:00", "2024-03-12 Tue 09:00",
                                  "2024-03-13 Wed 09:00"}));
  EXPECT_EQ(Text(tmpl.RecurLastGenerated), "2024-03-13 Wed 09:00");
  EXPECT_FALSE(store.Modified()) << "the pass leaves saving to the next change";

  EXPECT_EQ(store.GenerateRecurring(), 0);
  clock.Set(today + 1 + 0.01);
  EXPECT_EQ(store.GenerateRecurring(), 1);
  EXPECT_EQ(Dues(5), QStringList({"2024-03-14 Thu 09:00"}));
}

TEST_F(GenerateRecurringTest, CatchesUpAfterDaysAway) {
  TTdTodo& tmpl = AddTemplate(kWeekly, EncodeDate(2024, 2, 5), EncodeDate(2024, 12, 31));
  tmpl.SetOnlyOneOpen(false);
  tmpl.RecurDayMask = Mon | Thu;
  tmpl.RecurLeadDays = 0;
  tmpl.RecurLastGenerated = EncodeDate(2024, 2, 19);  // last run before a trip

  EXPECT_EQ(store.GenerateRecurring(), 5);
  EXPECT_EQ(Dues(1), QStringList({"2024-02-22 Thu 00:00", "2024-02-26 Mon 00:00", "2024-02-29 Thu 00:00",
                                  "2024-03-04 Mon 00:00", "2024-03-07 Thu 00:00"}));
}

TEST_F(GenerateRecurringTest, CatchUpIsBoundedToTheLastYear) {
  struct Case {
    const char* name;
    TDateTime lastGenerated;
    int expected;
  };
  const Case cases[] = {
      {"a week behind: every missed day", today - 7, 7},
      {"a century behind: only the last year's days", DateTime::IncMonth(today, -1200), 366},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTdTodoHandler s{"/x/todo.tbl"};
    TTdTodo* tmpl = s.Todos().Add();
    tmpl->ID = ++s.LastId;
    tmpl->SetIsTemplate(true);
    tmpl->SetOnlyOneOpen(false);
    tmpl->RecurKind = kDaily;
    tmpl->RecurInterval = 1;
    tmpl->RecurLeadDays = 0;
    tmpl->RecurFirstDate = c.lastGenerated;
    tmpl->RecurLastGenerated = c.lastGenerated;
    tmpl->RecurLastDate = today + 100;

    EXPECT_EQ(s.GenerateRecurring(), c.expected);
    EXPECT_EQ(Text(s.GetTodo(1)->Due), Text(std::max(c.lastGenerated + 1, today - 365)));
    EXPECT_EQ(Text(tmpl->RecurLastGenerated), Text(today)) << "the template's date moves past the skipped days";
    EXPECT_EQ(s.GenerateRecurring(), 0);
  }
}

TEST_F(GenerateRecurringTest, LastDateEqualToFirstDateGivesOneInstance) {
  TTdTodo& tmpl = AddTemplate(kDaily, today - 2 + 0.75, today - 2);
  tmpl.SetOnlyOneOpen(false);
  EXPECT_EQ(store.GenerateRecurring(), 1);
  EXPECT_EQ(store.GenerateRecurring(), 0);
  EXPECT_EQ(Dues(1), QStringList({"2024-03-08 Fri 18:00"}));
}

TEST_F(GenerateRecurringTest, RulesWithoutProgressEndThePass) {
  TTdTodo& daily = AddTemplate(kDaily, today - 5, today + 30);
  daily.RecurInterval = 0;
  daily.SetOnlyOneOpen(false);
  TTdTodo& weekly = AddTemplate(kWeekly, 0, today + 30);
  weekly.RecurLastGenerated = today - 20;
  weekly.RecurDayMask = 0;
  weekly.SetOnlyOneOpen(false);
  TTdTodo& atZero = AddTemplate(kDaily, 0, today + 30);  // 0 also means "none generated yet"
  atZero.SetOnlyOneOpen(false);

  EXPECT_EQ(store.GenerateRecurring(), 1) << "only the first occurrence of the daily rule";
  EXPECT_EQ(store.GenerateRecurring(), 0);
}

TEST_F(GenerateRecurringTest, OnlyOneOpenKeepsOneInstanceAtATime) {
  TTdTodo& tmpl = AddTemplate(kDaily, today - 3, today + 30);
  ASSERT_TRUE(tmpl.OnlyOneOpen()) << "on in every new task";

  EXPECT_EQ(store.GenerateRecurring(), 1) << "one per pass even when behind";
  EXPECT_EQ(Dues(1), QStringList({"2024-03-07 Thu 00:00"}));
  EXPECT_EQ(store.GenerateRecurring(), 0) << "its instance is still open";

  store.GetTodo(1)->SetStatus(tsOK);
  EXPECT_EQ(store.GenerateRecurring(), 1);
  EXPECT_EQ(Dues(2), QStringList({"2024-03-08 Fri 00:00"}));

  store.Delete(store.GetTodo(2));
  EXPECT_EQ(store.GenerateRecurring(), 1);
  EXPECT_EQ(Dues(2), QStringList({"2024-03-09 Sat 00:00"}));

  // After a reload the instances have TemplateId 0 and no longer hold the template back.
  store.GetTodo(2)->TemplateId = 0;
  EXPECT_EQ(store.GenerateRecurring(), 1);
}

TEST_F(GenerateRecurringTest, OnlyOpenTemplatesGenerate) {
  TTdTodo& closed = AddTemplate(kDaily, today, today);
  closed.SetStatus(tsCancelled);
  TTdTodo& plain = AddTemplate(kDaily, today, today);
  plain.SetIsTemplate(false);
  TTdTodo& waiting = AddTemplate(kDaily, today, today);
  waiting.SetStatus(tsWaiting);
  EXPECT_EQ(store.GenerateRecurring(), 1);
  EXPECT_EQ(store.GetTodo(3)->TemplateId, waiting.ID);
}

TEST_F(GenerateRecurringTest, InstanceIsACopyOfTheTemplate) {
  TTdTodo* t = store.Todos().Add();
  FillEveryField(*t, true);
  t->Status = tsWaiting;
  t->SetReminderActivated(false);
  t->SetOnlyOneOpen(true);
  t->RecurKind = kDaily;
  t->RecurInterval = 1;
  t->RecurFirstDate = today + 0.25;
  t->RecurLastDate = today + 5;
  t->RecurLastGenerated = 0;
  t->RecurLeadDays = 0;
  store.LastId = 60;
  const TTdTodo tmpl = *t;

  ASSERT_EQ(store.GenerateRecurring(), 1);
  TTdTodo expected = tmpl;
  expected.ID = 61;
  expected.Created = today + 0.5;
  expected.SetIsTemplate(false);
  expected.SetFromTemplate(true);
  expected.TemplateId = tmpl.ID;
  expected.Due = today + 0.25;
  expected.ReminderDateTime = today + 0.25;  // no offset while the reminder is off
  expected.RecurLastGenerated = today + 0.25;
  ExpectSameTask(*store.GetTodo(1), expected);
  EXPECT_EQ(store.LastId, 61);
  EXPECT_EQ(store.GetTodo(0)->RecurLastGenerated, today + 0.25);
}

TEST_F(GenerateRecurringTest, ReminderKeepsItsWholeDaysBeforeDue) {
  struct Case {
    double before;  // days between the template's reminder and its due date
    bool active;
    double expectedBefore;
  };
  for (const Case& c : {Case{2 + 5.0 / 24, true, 2}, Case{-(1 + 1.0 / 24), true, 1}, Case{0.5, true, 0},
                        Case{3, false, 0}}) {
    TTdTodoHandler s("/x/todo.tbl");
    TTdTodo* t = s.Todos().Add();
    t->SetIsTemplate(true);
    t->SetReminderActivated(c.active);
    t->Due = EncodeDateTime(2024, 1, 20, 14, 0);
    t->ReminderDateTime = t->Due - c.before;
    t->RecurFirstDate = today + 0.75;
    t->RecurLastDate = today;
    ASSERT_EQ(s.GenerateRecurring(), 1);
    const TTdTodo& instance = *s.GetTodo(1);
    EXPECT_EQ(Text(instance.ReminderDateTime), Text(today + 0.75 - c.expectedBefore))
        << c.before << (c.active ? " active" : " off");
    EXPECT_EQ(instance.ReminderActivated(), c.active);
  }
}
