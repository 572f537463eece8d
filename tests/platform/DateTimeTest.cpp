#include "platform/AppContext.h"
#include "platform/DateTime.h"

#include <gtest/gtest.h>

TEST(DateTime, RoundTripsThroughQDateTime) {
  struct Case {
    TDateTime value;
    QDateTime expected;
  } cases[] = {
      {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
      {1.5, QDateTime(QDate(1899, 12, 31), QTime(12, 0))},
      {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
      {45658.75, QDateTime(QDate(2025, 1, 1), QTime(18, 0))},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateTime::ToQDateTime(c.value), c.expected) << c.value;
    EXPECT_DOUBLE_EQ(DateTime::FromQDateTime(c.expected), c.value);
  }
}

TEST(DateTime, IsoWeeksUseTheirOwnYear) {
  int weekYear = 0;
  EXPECT_EQ(DateTime::IsoWeekNumber(DateTime::EncodeDate(2024, 12, 31), &weekYear), 1);
  EXPECT_EQ(weekYear, 2025);
  EXPECT_EQ(DateTime::IsoWeekNumber(DateTime::EncodeDate(2021, 1, 3), &weekYear), 53);
  EXPECT_EQ(weekYear, 2020);
  EXPECT_EQ(DateTime::EncodeIsoWeekDay(2025, 1, 1), DateTime::EncodeDate(2024, 12, 30));
  EXPECT_EQ(DateTime::IsoWeekday(DateTime::EncodeDate(2024, 12, 29)), 7);
}

TEST(DateTime, MonthStepClipsToMonthEnd) {
  EXPECT_EQ(DateTime::IncMonth(DateTime::EncodeDateTime(2023, 1, 31, 9, 30), 1), DateTime::EncodeDateTime(2023, 2, 28, 9, 30));
  EXPECT_EQ(DateTime::IncMonth(DateTime::EncodeDate(2024, 3, 31), -1), DateTime::EncodeDate(2024, 2, 29));
}

TEST(DateTime, TheClockComesFromTheContext) {
  {
    const TAppContextScope pinned(ContextWith([](TAppContext& c) { c.Clock = [] { return 1000.5; }; }));
    EXPECT_EQ(DateTime::Now(), 1000.5);
    EXPECT_EQ(DateTime::Today(), 1000.0);
  }
  EXPECT_GT(DateTime::Now(), 40000.0);
}
