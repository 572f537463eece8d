#pragma once
// The separators, formats and names number and date texts are written with, in the
// format letters of RP_Format.h.
#include <QChar>
#include <QLocale>
#include <QString>
#include <array>

struct TrpFormatSettings {
  QChar DecimalSeparator = u'.';
  QChar ThousandSeparator = u',';
  QChar DateSeparator = u'/';
  QChar TimeSeparator = u':';
  // In the format letters above; "/" and ":" stand for the separators.
  QString ShortDateFormat = QStringLiteral("m/d/yyyy");
  QString LongDateFormat = QStringLiteral("dddd, mmmm d, yyyy");
  QString ShortTimeFormat = QStringLiteral("h:nn AMPM");
  QString LongTimeFormat = QStringLiteral("h:nn:ss AMPM");
  QString TimeAMString = QStringLiteral("AM");
  QString TimePMString = QStringLiteral("PM");
  // Indexed by month - 1.
  std::array<QString, 12> ShortMonthNames;
  std::array<QString, 12> LongMonthNames;
  // Sunday first, as the day letters count.
  std::array<QString, 7> ShortDayNames;
  std::array<QString, 7> LongDayNames;
  // Two-digit years read as the century within this many years of now.
  int TwoDigitYearCenturyWindow = 50;
};

// The formats, separators and names of a locale, translated into the format letters.
TrpFormatSettings rpFormatSettingsFromLocale(const QLocale& locale);
