#include "platform/DateTime.h"

#include "platform/AppContext.h"

#include <cmath>

namespace DateTime {
namespace {

const QDate& Epoch() {
  static const QDate epoch(1899, 12, 30);
  return epoch;
}

constexpr double kMsPerDay = 86400000.0;

}  // namespace

TDateTime FromQDate(const QDate& date) {
  return date.isValid() ? static_cast<double>(Epoch().daysTo(date)) : 0.0;
}

TDateTime FromDateAndTime(const QDate& date, const QTime& time) {
  if (!date.isValid()) return 0.0;
  const double days = static_cast<double>(Epoch().daysTo(date));
  const double fraction = (time.isValid() ? time.msecsSinceStartOfDay() : 0) / kMsPerDay;
  // Before the epoch the fraction still counts forward from midnight.
  return days >= 0 ? days + fraction : days - fraction;
}

TDateTime FromQDateTime(const QDateTime& value) {
  if (!value.isValid()) return 0.0;
  const QDateTime local = value.toLocalTime();
  return FromDateAndTime(local.date(), local.time());
}

bool SplitDateAndTime(TDateTime value, QDate* date, QTime* time) {
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return false;
  double whole = std::trunc(value);
  double ms = std::round(std::fabs(value - whole) * kMsPerDay);
  if (ms >= kMsPerDay) {  // rounding reached the next day
    ms = 0;
    whole += value < 0 ? -1 : 1;
  }
  *date = Epoch().addDays(static_cast<qint64>(whole));
  *time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
  return date->isValid();
}

QDateTime ToQDateTime(TDateTime value) {
  QDate date;
  QTime time;
  if (!SplitDateAndTime(value, &date, &time)) return {};
  return QDateTime(date, time);
}

QDate ToQDate(TDateTime value) {
  if (!std::isfinite(value) || std::fabs(value) > 3.0e6) return {};
  return Epoch().addDays(static_cast<qint64>(std::trunc(value)));
}

TDateTime EncodeDate(int year, int month, int day) { return FromQDate(QDate(year, month, day)); }

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
  return FromDateAndTime(QDate(year, month, day), QTime(hour, minute, second, msec));
}

TDateTime DateOf(TDateTime value) { return std::trunc(value); }

TDateTime TimeOf(TDateTime value) { return std::fabs(value - std::trunc(value)); }

int IsoWeekday(TDateTime value) { return ToQDate(value).dayOfWeek(); }

int IsoWeekNumber(TDateTime value, int* weekYear) {
  int year = 0;
  const int week = ToQDate(value).weekNumber(&year);
  if (weekYear) *weekYear = year;
  return week;
}

TDateTime EncodeIsoWeekDay(int weekYear, int week, int weekday) {
  // 4 January is always in week 1 of its week-numbering year.
  const QDate jan4(weekYear, 1, 4);
  const QDate monday = jan4.addDays(1 - jan4.dayOfWeek()).addDays(7 * (week - 1));
  return FromQDate(monday.addDays(weekday - 1));
}

TDateTime IncMonth(TDateTime value, int months) {
  const QDate date = ToQDate(value);
  const QDate moved = date.addMonths(months);  // clips to the month's last day
  const double shift = static_cast<double>(date.daysTo(moved));
  return value + shift;
}

TDateTime Now() {
  const std::function<TDateTime()>& clock = AppContext().Clock;
  if (clock) return clock();
  return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime Today() { return DateOf(Now()); }

}  // namespace DateTime
