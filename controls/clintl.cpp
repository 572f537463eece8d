#include "controls/clintl.h"

#include "controls/clsr.h"

namespace {

QString NamePlaceholders(QString mask) {
  QString out;
  for (qsizetype i = 0; i < mask.size();) {
    const QChar c = mask[i];
    qsizetype run = 1;
    while (i + run < mask.size() && mask[i + run] == c) ++run;
    const QChar replacement = (c == QLatin1Char('d')) ? QLatin1Char('w') : (c == QLatin1Char('M')) ? QLatin1Char('n') : c;
    out += QString(run, run >= 3 ? replacement : c);
    i += run;
  }
  return out;
}

// The first character of a value, or `fallback` when the value is missing or empty.
QChar FirstChar(const std::optional<QString>& value, QChar fallback) {
  return value && !value->isEmpty() ? value->at(0) : fallback;
}

int IntValue(const std::optional<QString>& value, int fallback) {
  if (!value) return fallback;
  bool ok = false;
  const int number = value->trimmed().toInt(&ok);
  return ok ? number : fallback;
}

QChar LocaleDateSeparator(const QLocale& locale) {
  for (const QChar c : locale.dateFormat(QLocale::ShortFormat))
    if (!c.isLetter()) return c;
  return QLatin1Char('/');
}

}  // namespace

QString NormalizeShortDateMask(const QString& mask, QChar dateSeparator) {
  QString out = mask;
  out.replace(dateSeparator, QLatin1Char('/'));
  return NamePlaceholders(out);
}

QString NormalizeLongDateMask(const QString& mask, QString (&literals)[3]) {
  static const QChar placeholders[3] = {QLatin1Char('f'), QLatin1Char('g'), QLatin1Char('h')};
  QString cut;
  int found = 0;
  for (qsizetype i = 0; i < mask.size(); ++i) {
    const qsizetype close = mask[i] == QLatin1Char('\'') ? mask.indexOf(QLatin1Char('\''), i + 1) : -1;
    if (found < 3 && close > i) {
      literals[found] = mask.mid(i + 1, close - i - 1).left(5);
      cut += QString(literals[found].size(), placeholders[found]);
      ++found;
      i = close;
    } else {
      cut += mask[i];
    }
  }
  cut = NamePlaceholders(cut);
  QString out;
  for (qsizetype i = 0; i < cut.size(); ++i) {
    out += cut[i];
    const bool punctuation = cut[i] == QLatin1Char(',') || cut[i] == QLatin1Char('.');
    if (punctuation && (i + 1 >= cut.size() || cut[i + 1] != QLatin1Char(' '))) out += QLatin1Char(' ');
  }
  return out;
}

TClIntlSup::TClIntlSup(const QLocale& locale, const Source& source) {
  const auto get = [&source](const char* key) -> std::optional<QString> {
    return source ? source(QString::fromLatin1(key)) : std::nullopt;
  };
  const QChar localeDecimal = locale.decimalPoint().at(0);
  const QChar localeThousand = locale.groupSeparator().isEmpty() ? QLatin1Char(',') : locale.groupSeparator().at(0);
  decimalSeparator = FirstChar(get("sDecimal"), localeDecimal);
  thousandSeparator = FirstChar(get("sThousand"), localeThousand);
  if (decimalSeparator == thousandSeparator) {
    // Equal separators make every number ambiguous: the locale's pair is consistent.
    decimalSeparator = localeDecimal;
    thousandSeparator = localeThousand;
  }
  currencyDigits = IntValue(get("iCurrDigits"), 2);
  negCurrFormat = IntValue(get("iNegCurr"), 0);
  listSeparator = get("sList").value_or(QStringLiteral(","));
  country = get("sCountry").value_or(QString()).left(255);

  const QString symbol = get("sCurrency").value_or(locale.currencySymbol());
  currencyBefore = symbol.left(5);
  currencyAfter = symbol.left(5);
  currencyFormat = IntValue(get("iCurrency"), 0);
  if (currencyFormat == 2) currencyBefore = (symbol + QLatin1Char(' ')).left(5);
  if (currencyFormat == 3) currencyAfter = (QLatin1Char(' ') + symbol).left(5);

  leadingZeroHours = IntValue(get("iTLZero"), 0) != 0;
  const QString timeFormat = locale.timeFormat(QLocale::ShortFormat).trimmed();
  twelveHourClock = timeFormat.endsWith(QLatin1Char('M'), Qt::CaseInsensitive) ||
                    timeFormat.endsWith(QLatin1String("ap"), Qt::CaseInsensitive);
  timeSeparator = get("sTime").value_or(QStringLiteral(":"));
  dateSeparator = get("sDate").value_or(QString(LocaleDateSeparator(locale)));
  amText = get("s1159").value_or(QStringLiteral("AM")).left(5);
  pmText = get("s2359").value_or(QStringLiteral("PM")).left(5);

  const QChar separator = dateSeparator.isEmpty() ? QLatin1Char('/') : dateSeparator.at(0);
  shortDateMask = NormalizeShortDateMask(get("sShortDate").value_or(QStringLiteral("MM/dd/yy")), separator).left(29);
  longDateMask =
      NormalizeLongDateMask(get("sLongDate").value_or(QStringLiteral("dddd, MMMM dd, yyyy")), longDateLiterals).left(39);

  yesChar = GetClString(ClStr::YesChar).at(0);
  noChar = GetClString(ClStr::NoChar).at(0);
  trueChar = GetClString(ClStr::TrueChar).at(0);
  falseChar = GetClString(ClStr::FalseChar).at(0);
}

const TClIntlSup& ClIntlSup() {
  static const TClIntlSup settings;
  return settings;
}
