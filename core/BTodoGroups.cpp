// Due-date groups of a task: how far its due date lies from today in days, weeks,
// months or years, with one group for "Later" and one for "Overdue".
#include "core/BTodo.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

bool DueBefore(TDateTime due, TDateTime today) { return DateTime::DateOf(due) < DateTime::DateOf(today); }

// Whole days from today to the due date, for a due date not before today. A date that
// is no number (a damaged file) counts as later.
int DaysAhead(TDateTime due, TDateTime today, int later) {
  const double days = DateTime::DateOf(due) - DateTime::DateOf(today);
  return days >= 0 && days < later ? static_cast<int>(days) : later;
}

int CappedDistance(qint64 a, qint64 b, int cap) {
  const qint64 distance = a > b ? a - b : b - a;
  return static_cast<int>(std::min<qint64>(distance, cap));
}

}  // namespace

int TTdTodo::DayGroup(TDateTime today) const {
  if (DueBefore(Due, today)) return kDayGroupOverdue;
  return DaysAhead(Due, today, kDayGroupLater);
}

int TTdTodo::WeekdayGroup(TDateTime today) const {
  if (DueBefore(Due, today)) return kWeekdayGroupOverdue;
  return DaysAhead(Due, today, kWeekdayGroupLater);
}

// The calendar year with the ISO week number: a due date in the first days of January
// that still belongs to week 52 or 53 lands in a distant group. Kept as it is.
int TTdTodo::WeekGroup(TDateTime today) const {
  if (DueBefore(Due, today)) return kWeekGroupOverdue;
  const QDate t = DateTime::ToQDate(today), d = DateTime::ToQDate(Due);
  if (!t.isValid() || !d.isValid()) return kWeekGroupLater;
  const qint64 a = qint64(t.year()) * 53 + t.weekNumber();
  const qint64 b = qint64(d.year()) * 53 + d.weekNumber();
  return CappedDistance(a, b, kWeekGroupLater);
}

int TTdTodo::MonthGroup(TDateTime today) const {
  if (DueBefore(Due, today)) return kMonthGroupOverdue;
  const QDate t = DateTime::ToQDate(today), d = DateTime::ToQDate(Due);
  if (!t.isValid() || !d.isValid()) return kMonthGroupLater;
  return CappedDistance(qint64(t.year()) * 12 + t.month(), qint64(d.year()) * 12 + d.month(), kMonthGroupLater);
}

int TTdTodo::YearGroup(TDateTime today) const {
  if (DueBefore(Due, today)) return kYearGroupOverdue;
  const QDate t = DateTime::ToQDate(today), d = DateTime::ToQDate(Due);
  if (!t.isValid() || !d.isValid()) return kYearGroupLater;
  return CappedDistance(t.year(), d.year(), kYearGroupLater);
}
