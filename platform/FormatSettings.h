#pragma once
// The program-wide date and time formats, in Qt's format-string syntax. Taken once from
// the system locale; times are shown without seconds, so the long time format is the
// short one. The program's context may hold its own record (tests pin one there).
#include <QDate>
#include <QLocale>
#include <QTime>
#include <QString>
#include <array>

struct TFormatSettings {
  // Renders the names a format string asks for (ddd, MMM).
  QLocale Locale = QLocale::c();
  QString ShortDateFormat;
  QString LongDateFormat;
  QString ShortTimeFormat;
  QString LongTimeFormat;
  // Indexed by ISO weekday - 1 (Monday first).
  std::array<QString, 7> ShortDayNames;
  std::array<QString, 7> LongDayNames;
  // Indexed by month - 1.
  std::array<QString, 12> ShortMonthNames;
  std::array<QString, 12> LongMonthNames;

  QString ShortDayName(int isoWeekday) const;
  QString FormatDate(const QDate& date, const QString& format) const;
  QString FormatTime(const QTime& time, const QString& format) const;
};

// The formats of a locale, the long time format replaced by the short one.
TFormatSettings FormatSettingsFromLocale(const QLocale& locale);

// The record the program formats with: the context's, else the system locale's.
const TFormatSettings& FormatSettings();
