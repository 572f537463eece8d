#include "platform/FormatSettings.h"

#include "platform/AppContext.h"

QString TFormatSettings::ShortDayName(int isoWeekday) const {
  if (isoWeekday < 1 || isoWeekday > 7) return {};
  return ShortDayNames[static_cast<size_t>(isoWeekday - 1)];
}

QString TFormatSettings::FormatDate(const QDate& date, const QString& format) const {
  return Locale.toString(date, format);
}

QString TFormatSettings::FormatTime(const QTime& time, const QString& format) const {
  return Locale.toString(time, format);
}

TFormatSettings FormatSettingsFromLocale(const QLocale& locale) {
  TFormatSettings s;
  s.Locale = locale;
  s.ShortDateFormat = locale.dateFormat(QLocale::ShortFormat);
  s.LongDateFormat = locale.dateFormat(QLocale::LongFormat);
  s.ShortTimeFormat = locale.timeFormat(QLocale::ShortFormat);
  s.LongTimeFormat = s.ShortTimeFormat;
  for (int day = 1; day <= 7; ++day) {
    s.ShortDayNames[static_cast<size_t>(day - 1)] = locale.dayName(day, QLocale::ShortFormat);
    s.LongDayNames[static_cast<size_t>(day - 1)] = locale.dayName(day, QLocale::LongFormat);
  }
  for (int month = 1; month <= 12; ++month) {
    s.ShortMonthNames[static_cast<size_t>(month - 1)] = locale.monthName(month, QLocale::ShortFormat);
    s.LongMonthNames[static_cast<size_t>(month - 1)] = locale.monthName(month, QLocale::LongFormat);
  }
  return s;
}

const TFormatSettings& FormatSettings() {
  const TAppContext& context = AppContext();
  if (context.Formats) return *context.Formats;
  static const TFormatSettings system = FormatSettingsFromLocale(QLocale::system());
  return system;
}
