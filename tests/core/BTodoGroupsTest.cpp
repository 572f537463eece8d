#include "TodoTestSupport.h"

namespace {

struct GroupCase {
  QDate today;
  QDateTime due;
  int day, weekday, week, month, year;
};

QDateTime At(int y, int m, int d, int h = 12) { return QDateTime(QDate(y, m, d), QTime(h, 0)); }

}  // namespace

TEST(TodoGroups, AroundMonthYearAndWeekBoundaries) {
  const GroupCase cases[] = {
      // Due earlier today: group 0 everywhere, not overdue.
      {{2004, 5, 3}, At(2004, 5, 3, 8), 0, 0, 0, 0, 0},
      // Due yesterday evening: overdue.
      {{2004, 5, 3}, QDateTime({2004, 5, 2}, {23, 59}), 32, 15, 53, 13, 11},
      // Across a month end within one ISO week.
      {{2004, 5, 31}, At(2004, 6, 1), 1, 1, 0, 1, 0},
      {{2004, 5, 3}, At(2004, 5, 16), 13, 13, 1, 0, 0},
      {{2004, 5, 3}, At(2004, 5, 17), 14, 14, 2, 0, 0},
      {{2004, 5, 3}, At(2004, 6, 2), 30, 14, 4, 1, 0},
      {{2004, 5, 3}, At(2004, 6, 3), 31, 14, 4, 1, 0},
      {{2004, 1, 31}, At(2004, 2, 29), 29, 14, 4, 1, 0},
      // 1 January 2005 still lies in ISO week 53 of 2004: calendar year with ISO week
      // puts the next day into the farthest week group.
      {{2004, 12, 31}, At(2005, 1, 1), 1, 1, 52, 1, 1},
      // 30 December 2024 lies in ISO week 1 of 2025.
      {{2024, 12, 23}, At(2024, 12, 30), 7, 7, 51, 0, 0},
      {{2005, 1, 3}, At(2005, 1, 10), 7, 7, 1, 0, 0},
      {{2004, 5, 3}, At(2019, 5, 3), 31, 14, 52, 12, 10},
      {{2004, 5, 3}, At(2005, 4, 30), 31, 14, 51, 11, 1},
  };
  for (const GroupCase& c : cases) {
    ClockPin clock(DateTime::FromQDateTime(QDateTime(c.today, QTime(17, 0))));
    TTdTodo t;
    t.Due = DateTime::FromQDateTime(c.due);
    const QString label = c.today.toString(Qt::ISODate) + " -> " + c.due.toString(Qt::ISODate);
    EXPECT_EQ(t.DayGroup(), c.day) << label.toStdString();
    EXPECT_EQ(t.WeekdayGroup(), c.weekday) << label.toStdString();
    EXPECT_EQ(t.WeekGroup(), c.week) << label.toStdString();
    EXPECT_EQ(t.MonthGroup(), c.month) << label.toStdString();
    EXPECT_EQ(t.YearGroup(), c.year) << label.toStdString();
  }
}

TEST(TodoGroups, DamagedDatesFallIntoLater) {
  TTdTodo t(0);
  t.Due = std::numeric_limits<double>::quiet_NaN();
  const TDateTime today = DateTime::EncodeDate(2004, 5, 3);
  EXPECT_EQ(t.DayGroup(today), kDayGroupLater);
  EXPECT_EQ(t.WeekGroup(today), kWeekGroupLater);
  t.Due = 1e300;
  EXPECT_EQ(t.WeekdayGroup(today), kWeekdayGroupLater);
  EXPECT_EQ(t.YearGroup(today), kYearGroupLater);
}
