#pragma once
// Every engine test starts from fresh globals, a pinned clock (a form records when it
// was written) and a pinned format record (United States English, written out here so
// no locale data of the machine takes part), and leaves nothing behind for the next test.
#include "platform/DateTime.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Locale.h"
#include "support/ContextPins.h"

#include <QDate>
#include <optional>

#include <gtest/gtest.h>

inline TrpFormatSettings PinnedFormatSettings() {
  TrpFormatSettings s;
  s.DecimalSeparator = u'.';
  s.ThousandSeparator = u',';
  s.DateSeparator = u'/';
  s.TimeSeparator = u':';
  s.ShortDateFormat = QStringLiteral("m/d/yyyy");
  s.LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
  s.ShortTimeFormat = QStringLiteral("h:nn AMPM");
  s.LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
  s.TimeAMString = QStringLiteral("AM");
  s.TimePMString = QStringLiteral("PM");
  const char* const shortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const char* const longMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                    "July",    "August",   "September", "October", "November", "December"};
  const char* const shortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  const char* const longDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  for (size_t i = 0; i < 12; ++i) {
    s.ShortMonthNames[i] = QString::fromLatin1(shortMonths[i]);
    s.LongMonthNames[i] = QString::fromLatin1(longMonths[i]);
  }
  for (size_t i = 0; i < 7; ++i) {
    s.ShortDayNames[i] = QString::fromLatin1(shortDays[i]);
    s.LongDayNames[i] = QString::fromLatin1(longDays[i]);
  }
  return s;
}

// A test that wants other settings puts them in a scope of its own:
//   TrpContextScope german(rpContextWith([](TrpContext& c) { c.Formats->DecimalSeparator = u','; }));
class ReportEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    rpResetGlobals();
    pinned_.emplace(rpContextWith([](TrpContext& c) { c.Formats = PinnedFormatSettings(); }));
  }
  void TearDown() override {
    rpResetGlobals();
    pinned_.reset();
    rpResetLocale();
  }

private:
  ClockPin clock_{DateTime::EncodeDateTime(2024, 3, 10, 12, 0)};
  std::optional<TrpContextScope> pinned_;
};

// The day count of a date at midnight.
inline double Day(int year, int month, int day) {
  return static_cast<double>(QDate(year, month, day).toJulianDay() - 2415019);
}

// Prints texts and values readably in failures.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

inline void PrintTo(const TrpValue& value, std::ostream* os) {
  *os << TrpValue::KindName(value.Kind()).toStdString() << "(" << value.ToString().toStdString() << ")";
}
