#include "TaskPresentationFixture.h"

#include "ui/TaskCellTexts.h"
#include "ui/TaskRowState.h"

namespace {

class TaskCellTextsTest : public TaskPresentationFixture {};

TEST_F(TaskCellTextsTest, TextOfEveryColumn) {
  TTdTodo& t = AddTask(QStringLiteral("Call the bank"), 42);
  t.Category = 1;
  t.Resource = 1;
  t.Type = 1;
  t.Percent = 30;
  t.Notes = QStringLiteral("first line\r\nsecond line that runs on well past forty");
  t.SetReminderActivated(true);
  t.ReminderDateTime = EncodeDateTime(2024, 3, 12, 9, 30);
  options.DisplayDaysGone = options.DisplayDaysLeft = true;
  struct Case {
    int column;
    QString want;
  };
  const Case cases[] = {
      {tcDone, ""},
      {tcID, "42"},
      {tcTitle, "Call the bank"},
      {tcCategory, "Work"},
      {tcPriority, "Medium"},
      {tcCreated, "08.03.2024"},
      {tcDue, "13.03.2024"},
      {tcStatus, "Open"},
      {tcPercent, "30%"},
      {tcCompleted, "-"},
      {tcLink, ""},
      {tcNotes, "first line  second line that runs on wel"},
      {tcReminder, "12.03.2024 09:30"},
      {tcResource, "Anna"},
      {tcFlag, ""},
      {tcDaysGone, "2.0"},
      {tcDaysLeft, "2.9"},
      {tcType, "Call"},
      {tcRecurring, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(TaskCellText(t, c.column, Context()), c.want) << "column " << c.column;
}

TEST_F(TaskCellTextsTest, TextsFollowTheDisplaySwitchesAndTheTaskState) {
  TTdTodo& t = AddTask(QStringLiteral("Pay rent"));
  struct Case {
    const char* name;
    std::function<void()> change;
    int column;
    QString want;
  };
  const Case cases[] = {
      {"template title", [&] { t.SetIsTemplate(true); }, tcTitle, "[TEMPLATE] Pay rent"},
      {"template due", [&] { t.SetIsTemplate(true); }, tcDue, "TEMPLATE"},
      {"no due date", [&] { t.Due = 0; }, tcDue, "-"},
      {"due with time", [&] { options.DisplayDTDueTime = true; }, tcDue, "13.03.2024 10:00"},
      {"created with time", [&] { options.DisplayDTCreatedTime = true; }, tcCreated, "08.03.2024 12:00"},
      {"completed date", [&] { t.SetStatus(tsOK); }, tcCompleted, "10.03.2024"},
      {"category text off", [&] { options.DisplayTextCategory = false; }, tcCategory, ""},
      {"priority text off", [&] { options.DisplayTextPriority = false; }, tcPriority, ""},
      {"category outside the list", [&] { t.Category = 9; }, tcCategory, "[no category]"},
      {"reminder off", [&] { t.ReminderDateTime = now; }, tcReminder, ""},
      {"days left once past", [&] { options.DisplayDaysLeft = true; t.Due = now - 1.3; }, tcDaysLeft, "-1.3"},
      {"days left without due date", [&] { options.DisplayDaysLeft = true; t.Due = 0; }, tcDaysLeft, ""},
      {"days gone off", [] {}, tcDaysGone, ""},
      {"percent of a closed task", [&] { t.SetStatus(tsCancelled); }, tcPercent, "100%"},
  };
  const TTdTodo saved = t;
  const TTdAppOptions savedOptions = options;
  for (const Case& c : cases) {
    t.Assign(saved);
    options = savedOptions;
    c.change();
    EXPECT_EQ(TaskCellText(t, c.column, Context()), c.want) << c.name;
  }
}

TEST_F(TaskCellTextsTest, DaysUseTheLocalesDecimalSeparator) {
  FormatPin german(FormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany)));
  TTdTodo& t = AddTask(QStringLiteral("x"));
  t.Created = now - 2.5;
  options.DisplayDaysGone = true;
  EXPECT_EQ(TaskCellText(t, tcDaysGone, Context()), QStringLiteral("2,5"));
}

TEST_F(TaskCellTextsTest, ImagesByColumnAndSwitch) {
  TTdTodo& t = AddTask(QStringLiteral("x"));
  t.Category = 1;
  t.Type = 1;
  t.Priority = 3;
  t.Association = QStringLiteral("/docs/a.pdf");
  options.DisplayImageAssociation = options.DisplayImageDTReminder = options.DisplayRecurring = true;
  TTaskViewContext c = Context();
  c.AssociationImage = [](const TTdTodo&) { return 57; };
  struct Case {
    const char* name;
    std::function<void()> change;
    int column;
    int want;
  };
  const Case cases[] = {
      {"category image", [] {}, tcCategory, 14},
      {"category without image", [&] { t.Category = 2; }, tcCategory, 0},
      {"category image off", [&] { options.DisplayImageCategory = false; }, tcCategory, -1},
      {"priority", [] {}, tcPriority, 3},
      {"status", [] {}, tcStatus, 29},
      {"type", [] {}, tcType, 35},
      {"link icon", [] {}, tcLink, 57},
      {"link without association", [&] { t.Association.clear(); }, tcLink, 0},
      {"reminder off", [] {}, tcReminder, 0},
      {"reminder speech", [&] { t.SetReminderActivated(true); t.ReminderType = 5; }, tcReminder, 12},
      {"flagged", [&] { t.SetFlagged(true); }, tcFlag, 5},
      {"not flagged", [] {}, tcFlag, 0},
      {"from a template", [&] { t.SetFromTemplate(true); }, tcRecurring, 54},
      {"title has none", [] {}, tcTitle, -1},
  };
  const TTdTodo saved = t;
  const TTdAppOptions savedOptions = options;
  for (const Case& k : cases) {
    t.Assign(saved);
    options = savedOptions;
    k.change();
    EXPECT_EQ(TaskCellImage(t, k.column, c), k.want) << k.name;
  }
}

TEST_F(TaskCellTextsTest, HintsByColumnAndState) {
  TTdTodo& t = AddTask(QStringLiteral("x"));
  t.Notes = QStringLiteral("Bring the signed contract and both copies of the passport to the office");
  struct Case {
    const char* name;
    std::function<void()> change;
    int column;
    QString want;
  };
  const Case cases[] = {
      {"check of an open task", [] {}, tcDone, "Click to change status to OK"},
      {"check of a done task", [&] { t.SetStatus(tsOK); }, tcDone, "Click to change status to Working"},
      {"notes wrapped", [] {}, tcTitle, "Bring the signed contract and both copies of\nthe passport to the office"},
      {"notes as hint off", [&] { options.ShowNotesAsHint = false; }, tcTitle, ""},
      {"notes unused", [&] { options.UseNotes = false; }, tcTitle, ""},
      {"category text shown", [] {}, tcCategory, ""},
      {"category image only", [&] { options.DisplayTextCategory = false; }, tcCategory, "-- unknown --"},
      {"status image only", [&] { options.DisplayTextStatus = false; }, tcStatus, "Open"},
      {"created", [] {}, tcCreated, "Created 08.03.2024 12:00"},
      {"created with time shown", [&] { options.DisplayDTCreatedTime = true; }, tcCreated, ""},
      {"due", [] {}, tcDue, "Due 13.03.2024 10:00"},
      {"due of a template", [&] { t.SetIsTemplate(true); }, tcDue, ""},
      {"completed", [&] { t.SetStatus(tsOK); }, tcCompleted, "Completed 10.03.2024 12:00"},
      {"link", [&] { t.Association = QStringLiteral("www.x.org"); }, tcLink, "www.x.org"},
      {"reminder",
       [&] { t.SetReminderActivated(true); t.ReminderDateTime = EncodeDateTime(2024, 3, 11, 8, 0); },
       tcReminder, "Reminder at 11.03.2024 08:00"},
      {"flag set", [&] { t.SetFlagged(true); }, tcFlag, "Double-click to clear flag"},
      {"flag clear", [] {}, tcFlag, "Double-click to set flag"},
      {"percent has none", [] {}, tcPercent, ""},
  };
  const TTdTodo saved = t;
  const TTdAppOptions savedOptions = options;
  for (const Case& c : cases) {
    t.Assign(saved);
    options = savedOptions;
    c.change();
    EXPECT_EQ(TaskCellHint(t, c.column, Context()), c.want) << c.name;
  }
}

TEST_F(TaskCellTextsTest, WrapTextBreaksAtBlanksAndCutsLongWords) {
  EXPECT_EQ(WrapText("aaa bbb ccc", 7), "aaa bbb\nccc");
  EXPECT_EQ(WrapText("abcdefghij", 4), "abcd\nefgh\nij");
  EXPECT_EQ(WrapText("one\r\ntwo", 10), "one\ntwo");
}

TEST_F(TaskCellTextsTest, ShortCaptionsOnlyForImageOnlyColumnsAndTheFlag) {
  options.ShortColumnNames = true;
  options.DisplayTextPriority = false;
  EXPECT_EQ(ColumnHeaderCaption(tcPriority, options), "P");
  EXPECT_EQ(ColumnHeaderCaption(tcCategory, options), "Category");
  EXPECT_EQ(ColumnHeaderCaption(tcFlag, options), "F");
  EXPECT_EQ(ColumnHeaderCaption(tcTitle, options), "Title");
  options.ShortColumnNames = false;
  EXPECT_EQ(ColumnHeaderCaption(tcPriority, options), "Priority");
}

// ---------------------------------------------------------------------------------------
// Row state

TEST_F(TaskCellTextsTest, RowStateInOrder) {
  TTdTodo& t = AddTask(QStringLiteral("x"));
  struct Case {
    const char* name;
    int status, priority;
    TDateTime due;
    bool useDue;
    TRowState want;
  };
  const TDateTime past = now - 0.5, future = now + 1;
  const Case cases[] = {
      {"cancelled and overdue", tsCancelled, 4, past, true, rsCompleted},
      {"ok", tsOK, 0, future, true, rsCompleted},
      {"overdue urgent", tsOpen, 4, past, true, rsOverDue},
      {"overdue with due dates unused", tsOpen, 4, past, false, rsUrgent},
      {"due exactly now", tsOpen, 3, now, true, rsHigh},
      {"no due date", tsOpen, 1, 0, true, rsLow},
      {"medium", tsWaiting, 2, future, true, rsMedium},
      {"none", tsCreated, 0, future, true, rsNone},
      {"priority outside", tsCreated, 9, future, true, rsNone},
  };
  for (const Case& c : cases) {
    t.Status = c.status;
    t.Priority = c.priority;
    t.Due = c.due;
    options.UseDTDue = c.useDue;
    EXPECT_EQ(TaskRowState(t, options, now), c.want) << c.name;
  }
}

TEST_F(TaskCellTextsTest, SelectedOverdueRowTakesTheSelectionColourButKeepsTheOverdueFont) {
  TTdTodo& t = AddTask(QStringLiteral("x"));
  t.Due = now - 1;
  EXPECT_EQ(RowBkColor(t, true, options, now), options.SelectedBkColor);
  EXPECT_EQ(RowBkColor(t, false, options, now), options.OverDueBkColor);
  const TFontOption& font = RowStateFont(TaskRowState(t, options, now), options);
  EXPECT_EQ(font.Color, 255);  // red
  EXPECT_EQ(RowHeight(rsOverDue, options), options.OverDueFont.Size + 10);
  const QFont completed = FontFromOption(options.CompletedFont);
  EXPECT_TRUE(completed.strikeOut());
  EXPECT_FALSE(completed.bold());
  EXPECT_TRUE(FontFromOption(options.UrgentFont).bold());
}

}  // namespace
