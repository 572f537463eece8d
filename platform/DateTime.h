#pragma once
// Date-times as the table files and the settings keep them: days since 30 December 1899
// in local time, the fraction being the time of day. All conversion to and from Qt's
// types happens here.
#include <QDate>
#include <QDateTime>

using TDateTime = double;

namespace DateTime {

TDateTime FromQDateTime(const QDateTime& value);
QDateTime ToQDateTime(TDateTime value);
TDateTime FromQDate(const QDate& date);
// The calendar date and the time of day (to the millisecond) of a value, as written,
// without a time zone's say: a local time that a clock change skips stays as it is.
// False for a value out of range.
bool SplitDateAndTime(TDateTime value, QDate* date, QTime* time);
// A date and a time of day (an invalid time counts as midnight); 0 for an invalid date.
TDateTime FromDateAndTime(const QDate& date, const QTime& time);
QDate ToQDate(TDateTime value);

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second = 0, int msec = 0);

// The date part (midnight) and the time of day (fraction) of a value.
TDateTime DateOf(TDateTime value);
TDateTime TimeOf(TDateTime value);

// 1 Monday .. 7 Sunday.
int IsoWeekday(TDateTime value);
// The ISO week number 1..53 and the year that week belongs to, which differs from the
// calendar year around New Year.
int IsoWeekNumber(TDateTime value, int* weekYear = nullptr);
// The day of the given ISO week-numbering year and week whose ISO weekday is given, at midnight.
TDateTime EncodeIsoWeekDay(int weekYear, int week, int weekday);

// Steps by whole months; a day the target month lacks is clipped to its last day.
TDateTime IncMonth(TDateTime value, int months);

// The clock: the context's, else the system's.
TDateTime Now();
TDateTime Today();

}  // namespace DateTime
