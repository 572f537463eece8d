#pragma once
// The international settings the library's editors format with: separators, currency,
// time and date masks. They are read once from the locale, and a settings source may
// override single values by their classic key names ("sDecimal", "sShortDate", ...).
#include <QLocale>
#include <QString>
#include <functional>
#include <optional>

class TClIntlSup {
public:
  // A value by key, or none to take the locale's default.
  using Source = std::function<std::optional<QString>(const QString& key)>;

  explicit TClIntlSup(const QLocale& locale = QLocale(), const Source& source = {});

  QChar decimalSeparator;
  QChar thousandSeparator;
  int currencyDigits = 2;
  int negCurrFormat = 0;
  QString listSeparator;
  QString country;             // at most 255 characters
  QString currencyBefore;      // symbol shown before an amount, at most 5 characters
  QString currencyAfter;       // symbol shown after an amount, at most 5 characters
  int currencyFormat = 0;
  bool leadingZeroHours = false;
  bool twelveHourClock = false;
  QString timeSeparator;
  QString dateSeparator;
  QString amText;              // at most 5 characters
  QString pmText;              // at most 5 characters
  QString shortDateMask;       // at most 29 characters
  QString longDateMask;        // at most 39 characters
  QString longDateLiterals[3]; // quoted parts cut out of the long mask, at most 5 characters each
  QChar yesChar, noChar, trueChar, falseChar;
};

// The short mask as the editors use it: every date separator becomes "/", and runs of
// three or more "d" or "M" become weekday ("w") or month-name ("n") placeholders.
QString NormalizeShortDateMask(const QString& mask, QChar dateSeparator);
// The long mask as the editors use it: up to three quoted literals are cut out into
// `literals` and stand as "f", "g", "h" placeholders; name runs as in the short mask; a
// blank follows every "," and ".".
QString NormalizeLongDateMask(const QString& mask, QString (&literals)[3]);

// The settings of this run, made from the default locale at first use.
const TClIntlSup& ClIntlSup();
