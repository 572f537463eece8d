#include "TodoTestSupport.h"

TEST(TodoTexts, Vocabularies) {
  TStringList status, priority;
  FillStatusNames(status);
  FillPriorityNames(priority);
  const TStringList expectedStatus = {{"Created", 0}, {"Open", 1},      {"Waiting", 2},
                                      {"Put on hold", 3}, {"Cancelled", 4}, {"OK", 5}};
  const TStringList expectedPriority = {{"-- unknown --", 0}, {"Low", 1}, {"Medium", 2}, {"High", 3}, {"Urgent", 4}};
  EXPECT_EQ(status, expectedStatus);
  EXPECT_EQ(priority, expectedPriority);
  EXPECT_EQ(StatusTextOf(6), QString());
  EXPECT_EQ(PriorityTextOf(-1), QString());
  const QStringList reminder = {"", "Beep", "Sound", "Speech", "Beep & Speech", "Sound & Speech", "Beep & Sound",
                                "Beep, Sound & Speech"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(ReminderTypeTextOf(i), reminder[i]);
  TTdTodo t(0);
  t.Status = tsOnHold;
  t.Priority = 2;
  t.ReminderType = 0;
  EXPECT_EQ(t.StatusText(), "Put on hold");
  EXPECT_EQ(t.PriorityText(), "Medium");
  EXPECT_EQ(t.ReminderTypeText(), "");
}

TEST(TodoTexts, ImageIndexes) {
  const int status[] = {26, 29, 28, 27, 49, 30};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(StatusImageIndex(i, -1), status[i]);
  const int reminder[] = {-7, 10, 11, 12, 12, 12, 11, 12, -7};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ReminderTypeImageIndex(i, -7), reminder[i]) << i;
  for (int i = 0; i < 5; ++i) EXPECT_EQ(PriorityImageIndex(i, -1), i);
  EXPECT_EQ(PriorityImageIndex(5, 99), 99);
  EXPECT_EQ(StatusImageIndex(-1, 99), 99);
}

TEST(TodoTexts, ColumnAndPrintTables) {
  TStringList columns;
  FillColumnNames(columns);
  ASSERT_EQ(columns.size(), 19);
  const QStringList captions = {"OK",   "ID",    "Title",    "Category", "Priority", "Created",   "Due",
                                "Status", "%",   "OK",       "Link",     "Notes",    "Reminder",  "Resource",
                                "Flag", "Days Gone", "Days Left", "Type", "Re"};
  for (int i = 0; i < 19; ++i) {
    EXPECT_EQ(columns[i].text, captions[i]);
    EXPECT_EQ(columns[i].object, i);
  }
  QString letters;
  for (int i = 0; i < 19; ++i) letters += ColumnLetter(i).isEmpty() ? QStringLiteral(".") : ColumnLetter(i);
  EXPECT_EQ(letters, "...CP..S......F..TR");
  EXPECT_EQ(ColumnLetter(19), QString());

  EXPECT_STREQ(PrintFields[0].ListName, "Link image");
  EXPECT_STREQ(PrintFields[6].ListName, "Date-time completed");
  EXPECT_STREQ(PrintFields[6].Heading, "Completed");
  EXPECT_STREQ(PrintFields[12].ListName, "Date-time reminder text");
  EXPECT_STREQ(PrintFields[15].Heading, "%");
  EXPECT_STREQ(PrintFields[27].ListName, "Re");
}

TEST(TodoTexts, DateTimeTextLeavesOutMidnight) {
  FormatPin formats;
  EXPECT_EQ(DateTimeText(DateTime::EncodeDateTime(2004, 5, 3, 17, 5, 30)), "03.05.2004 17:05");
  EXPECT_EQ(DateTimeText(DateTime::EncodeDate(2004, 5, 3)), "03.05.2004");
  EXPECT_EQ(DateTimeText(DateTime::EncodeDateTime(2004, 5, 3, 0, 0, 1)), "03.05.2004 00:00");
  EXPECT_EQ(ShortDateText(DateTime::EncodeDateTime(2004, 12, 31, 23, 59)), "31.12.2004");
}

TEST(TodoTexts, LocaleFormatsDropSeconds) {
  const TFormatSettings s = FormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(s.LongTimeFormat, s.ShortTimeFormat);
  EXPECT_FALSE(s.LongTimeFormat.contains('s'));
  EXPECT_EQ(s.ShortDayName(1), QLocale(QLocale::German).dayName(1, QLocale::ShortFormat));
}

TEST(TodoTexts, StripTemplatePrefix) {
  const struct {
    const char* title;
    const char* expected;
  } cases[] = {
      {"  [template]   Rent  ", "Rent"},
      {"[TEMPLATE]", ""},
      {"[TEMPLATE]Rent", "Rent"},
      {" Rent [TEMPLATE] ", " Rent [TEMPLATE] "},
      {"[TEMPLAT] x", "[TEMPLAT] x"},
  };
  for (const auto& c : cases) EXPECT_EQ(StripTemplatePrefix(c.title), QString(c.expected)) << c.title;
}
