#include "core/TdOptionText.h"

#include "platform/FormatSettings.h"
#include "core/UtStrings.h"

#include <QStringList>


namespace {

// Calls visit(index, run length) for each run of the letter outside quoted text.
template <typename Visit>
void ForEachRun(const QString& format, QChar letter, Visit visit) {
  bool quoted = false;
  for (qsizetype i = 0; i < format.size();) {
    if (format[i] == u'\'') {
      quoted = !quoted;
      ++i;
      continue;
    }
    if (!quoted && format[i] == letter) {
      qsizetype end = i;
      while (end < format.size() && format[end] == letter) ++end;
      visit(i, end - i);
      i = end;
      continue;
    }
    ++i;
  }
}

int YearDigits(const QString& format) {
  int digits = 0;
  ForEachRun(format, u'y', [&digits](qsizetype, qsizetype length) {
    if (digits == 0) digits = static_cast<int>(length);
  });
  return digits;
}

// The century of a two-digit year: within fifty years of today's year.
int WindowedYear(int twoDigits) {
  const int base = DateTime::ToQDate(DateTime::Today()).year() - 50;
  int year = base - base % 100 + twoDigits;
  if (year < base) year += 100;
  return year;
}

QDate ParseDate(const QString& text, const QString& format) {
  QDate date = FormatSettings().Locale.toDate(text, format);
  if (!date.isValid()) return {};
  const int digits = YearDigits(format);
  if (digits == 2) return QDate(WindowedYear(date.year() % 100), date.month(), date.day());
  // A four-digit year field also takes "04"; leave such text to the two-digit formats.
  if (digits >= 3 && date.year() < 100) return {};
  return date;
}

QStringList Unique(QStringList formats) {
  formats.removeDuplicates();
  formats.removeAll(QString());
  return formats;
}

}  // namespace

QString OptionDateFormat() {
  const QString format = FormatSettings().ShortDateFormat;
  QString widened;
  qsizetype copied = 0;
  ForEachRun(format, u'y', [&](qsizetype start, qsizetype length) {
    widened += format.mid(copied, start - copied) + QStringLiteral("yyyy");
    copied = start + length;
  });
  widened += format.mid(copied);
  return widened;
}

QString OptionTimeFormat() {
  QString format = FormatSettings().ShortTimeFormat;
  bool hasSeconds = false;
  ForEachRun(format, u's', [&hasSeconds](qsizetype, qsizetype) { hasSeconds = true; });
  if (hasSeconds) return format;
  qsizetype minutesEnd = -1;
  ForEachRun(format, u'm', [&minutesEnd](qsizetype start, qsizetype length) {
    if (minutesEnd < 0) minutesEnd = start + length;
  });
  if (minutesEnd < 0) return format + QStringLiteral(":ss");
  return format.insert(minutesEnd, QStringLiteral(":ss"));
}

QString OptionDateText(TDateTime value) {
  QDate date;
  QTime time;
  if (!DateTime::SplitDateAndTime(value, &date, &time)) return {};
  const TFormatSettings& settings = FormatSettings();
  QString text = settings.FormatDate(date, OptionDateFormat());
  if (time.msecsSinceStartOfDay() != 0) text += u' ' + settings.FormatTime(time, OptionTimeFormat());
  return text;
}

TDateTime OptionDateValue(const QString& text) {
  const QString s = text.trimmed();
  if (s.isEmpty()) return 0;
  const TFormatSettings& settings = FormatSettings();
  const QStringList dateFormats =
      Unique({OptionDateFormat(), settings.ShortDateFormat, QStringLiteral("yyyy-MM-dd")});
  const QStringList timeFormats = Unique({OptionTimeFormat(), settings.ShortTimeFormat, QStringLiteral("HH:mm:ss"),
                                          QStringLiteral("HH:mm")});
  for (const QString& df : dateFormats)
    if (const QDate date = ParseDate(s, df); date.isValid()) return DateTime::FromDateAndTime(date, QTime(0, 0));
  // Date and time meet at a blank; date formats may hold blanks themselves.
  for (qsizetype split = s.indexOf(u' '); split > 0; split = s.indexOf(u' ', split + 1)) {
    const QString datePart = s.left(split).trimmed();
    const QString timePart = s.mid(split + 1).trimmed();
    for (const QString& df : dateFormats) {
      const QDate date = ParseDate(datePart, df);
      if (!date.isValid()) continue;
      for (const QString& tf : timeFormats)
        if (const QTime time = settings.Locale.toTime(timePart, tf); time.isValid()) return DateTime::FromDateAndTime(date, time);
    }
  }
  return 0;
}

QString IdArrayText(const TIdArray& ids) {
  QStringList parts;
  parts.reserve(ids.size());
  for (int32_t id : ids) parts << QString::number(id);
  return parts.join(u';');
}

TIdArray IdArrayValue(const QString& text) {
  const QStringList parts = text.split(u';', Qt::SkipEmptyParts);
  TIdArray ids;
  ids.reserve(parts.size());
  for (const QString& part : parts) {
    int value = 0;
    if (!TryStrToInt(part, value)) return {};
    ids.append(value);
  }
  return ids;
}
