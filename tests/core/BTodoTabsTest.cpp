#include "TodoTestSupport.h"

namespace {

QStringList Texts(const TStringList& list) {
  QStringList texts;
  for (const auto& item : list) texts << item.text;
  return texts;
}

QList<int> Objects(const TStringList& list) {
  QList<int> objects;
  for (const auto& item : list) objects << item.object;
  return objects;
}

// Tasks by status: 2 open, 1 waiting, 1 OK, and an open template.
void AddStatusMix(TTdTodoHandler& store) {
  for (int32_t s : {tsOpen, tsOpen, tsWaiting, tsOK}) {
    TTdTodo* t = store.AddTodo();
    t->Status = s;
    t->Priority = s == tsOpen ? 3 : 0;
  }
  TTdTodo* t = store.AddTodo();
  t->Status = tsOpen;
  t->Priority = 1;
  t->SetIsTemplate(true);
}

}  // namespace

TEST(TodoTabs, StatusAndPriorityItems) {
  TTdTodoHandler store("/x/todo.tbl");
  AddStatusMix(store);
  TStringList list;
  store.AddStatusItems(list, true, false, false);
  EXPECT_EQ(Texts(list), QStringList({"Created (0)", "Open (2)", "Waiting (1)", "Put on hold (0)", "Cancelled (0)",
                                      "OK (1)"}));
  list.clear();
  store.AddStatusItems(list, true, true, true);
  EXPECT_EQ(Texts(list), QStringList({"Open (3)", "Waiting (1)", "OK (1)"}));
  EXPECT_EQ(Objects(list), QList<int>({1, 2, 5}));
  list.clear();
  store.AddPriorityItems(list, false, false, true);
  EXPECT_EQ(Texts(list), QStringList({"-- unknown --", "High"}));
  EXPECT_EQ(Objects(list), QList<int>({0, 3}));

  TImageIndexList images{99};
  store.GetStatusTabImages(images, true, false);
  EXPECT_EQ(images, TImageIndexList({29, 28, 30}));
  store.GetPriorityTabImages(images, false, false);
  EXPECT_EQ(images, TImageIndexList({0, 1, 2, 3, 4}));
  store.GetPriorityTabImages(images, true, true);
  EXPECT_EQ(images, TImageIndexList({0, 1, 3}));
}

TEST(TodoTabs, LookupCountsAndEmptyEntries) {
  TTdTodoHandler store("/x/todo.tbl");
  for (int32_t c : {0, 2, 2, 7}) store.AddTodo()->Category = c;
  TTdTodo* templ = store.AddTodo();
  templ->Category = 1;
  templ->SetIsTemplate(true);

  const TStringList categories = {{"-- unknown --", 0}, {"Home", 1}, {"Work", 2}, {"Car", 3}};
  TStringList list = categories;
  store.AppendCategoryCounts(list, false);
  EXPECT_EQ(Texts(list), QStringList({"-- unknown -- (1)", "Home (0)", "Work (2)", "Car (0)"}));
  list = categories;
  store.AppendCategoryCounts(list, true);
  EXPECT_EQ(Texts(list)[1], "Home (1)");

  list = categories;
  TImageIndexList images = {10, 11, 12, 13};
  store.RemoveEmptyCategories(list, images, false);
  EXPECT_EQ(Objects(list), QList<int>({0, 2}));
  EXPECT_EQ(images, TImageIndexList({10, 12}));

  TStringList resources = {{"nobody", 0}, {"me", 1}};
  store.RemoveEmptyResources(resources, false);
  EXPECT_EQ(Objects(resources), QList<int>({0})) << "every task has resource 0";
}

TEST(TodoTabs, GroupCaptionsAcrossMonthAndYearEnds) {
  ClockPin clock(DateTime::EncodeDateTime(2004, 12, 30, 9, 0));
  TTdTodoHandler store("/x/todo.tbl");

  TStringList days;
  store.FillDayGroups(days);
  ASSERT_EQ(days.size(), 33);
  EXPECT_EQ(Texts(days).mid(0, 4), QStringList({"30", "31", "1", "2"}));
  EXPECT_EQ(days[30].text, "29");
  EXPECT_EQ(days[31], TStringItem({"Later", 31}));
  EXPECT_EQ(days[32], TStringItem({"Overdue", 32}));

  FormatPin formats;
  TStringList weekdays;
  store.FillWeekdayGroups(weekdays, FormatSettings());
  ASSERT_EQ(weekdays.size(), 16);
  EXPECT_EQ(Texts(weekdays).mid(0, 5), QStringList({"Thu 30", "Fri 31", "Sat 1", "Sun 2", "Mon 3"}));
  EXPECT_EQ(weekdays[14], TStringItem({"Later", 14}));
  EXPECT_EQ(weekdays[15], TStringItem({"Overdue", 15}));

  // 2004 has 53 ISO weeks; 30 December lies in week 53.
  TStringList weeks;
  store.FillWeekGroups(weeks);
  ASSERT_EQ(weeks.size(), 54);
  EXPECT_EQ(Texts(weeks).mid(0, 3), QStringList({"W53", "W1", "W2"}));
  EXPECT_EQ(weeks[51].text, "W51");
  EXPECT_EQ(weeks[53], TStringItem({"Overdue", 53}));

  TStringList months;
  store.FillMonthGroups(months);
  EXPECT_EQ(Texts(months), QStringList({"M12", "M1", "M2", "M3", "M4", "M5", "M6", "M7", "M8", "M9", "M10", "M11",
                                        "Later", "Overdue"}));
  EXPECT_EQ(Objects(months).last(), 13);

  TStringList years;
  store.FillYearGroups(years);
  ASSERT_EQ(years.size(), 12);
  EXPECT_EQ(years[0], TStringItem({"Y2004", 0}));
  EXPECT_EQ(years[9], TStringItem({"Y2013", 9}));
  EXPECT_EQ(years[10], TStringItem({"Later", 10}));
  EXPECT_EQ(years[11], TStringItem({"Overdue", 11}));
}

TEST(TodoTabs, GroupCountsCountOpenTasks) {
  ClockPin clock(DateTime::EncodeDateTime(2004, 12, 30, 9, 0));
  TTdTodoHandler store("/x/todo.tbl");
  const TDateTime dues[] = {DateTime::EncodeDate(2004, 12, 29), DateTime::EncodeDate(2004, 12, 30),
                            DateTime::EncodeDate(2004, 12, 31), DateTime::EncodeDate(2005, 1, 3),
                            DateTime::EncodeDate(2006, 1, 1)};
  for (TDateTime due : dues) {
    TTdTodo* t = store.AddTodo();
    t->Due = due;
    t->Status = tsOpen;
  }
  store.GetTodo(2)->Status = tsOK;

  TStringList months;
  store.FillMonthGroups(months);
  store.AppendMonthGroupCounts(months, true);
  EXPECT_EQ(months[0].text, "M12 (1)");
  EXPECT_EQ(months[1].text, "M1 (1)");
  EXPECT_EQ(months[12].text, "Later (1)");
  EXPECT_EQ(months[13].text, "Overdue (1)");

  TStringList years;
  store.FillYearGroups(years);
  store.RemoveEmptyYearGroups(years, true);
  EXPECT_EQ(Objects(years), QList<int>({0, 1, 2, 11}));

  TStringList days;
  store.FillDayGroups(days);
  store.RemoveEmptyDayGroups(days, true);
  EXPECT_EQ(Texts(days), QStringList({"30", "3", "Later", "Overdue"}));
}

TEST(TodoTabs, DateBounds) {
  const TDateTime now = DateTime::EncodeDateTime(2004, 5, 3, 17, 0);
  ClockPin clock(now);
  TTdTodoHandler store("/x/todo.tbl");
  const TDateTime firstStart = DateTime::EncodeDateTime(2008, 1, 28, 17, 0);  // now + 1000 days + 1 year
  EXPECT_EQ(store.FirstCreatedDate(), firstStart);
  EXPECT_EQ(store.FirstDueDate(), firstStart);
  EXPECT_EQ(store.FirstReminderDate(), firstStart);
  EXPECT_EQ(store.FirstCompletedDate(), firstStart);
  EXPECT_EQ(store.LastCreatedDate(), 0);
  EXPECT_EQ(store.LastDueDate(), 0);
  EXPECT_EQ(store.LastReminderDate(), 0);
  EXPECT_EQ(store.LastCompletedDate(), DateTime::EncodeDateTime(2005, 5, 4, 17, 0));

  TTdTodo* open = store.AddTodo();
  open->Due = now + 5;
  open->Completed = now - 50;  // not closed: not counted
  TTdTodo* done = store.AddTodo();
  done->Created = now - 10;
  done->Due = now - 3;
  done->SetStatus(tsOK);
  done->Completed = now - 2;
  EXPECT_EQ(store.FirstCreatedDate(), now - 10);
  EXPECT_EQ(store.LastCreatedDate(), now);
  EXPECT_EQ(store.FirstDueDate(), now - 3);
  EXPECT_EQ(store.LastDueDate(), now + 5);
  EXPECT_EQ(store.FirstCompletedDate(), now - 2);
  EXPECT_EQ(store.LastCompletedDate(), now - 2);
  EXPECT_EQ(store.FirstReminderDate(), 0);
}
