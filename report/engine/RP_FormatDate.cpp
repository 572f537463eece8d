// The settings record, and date-times to text and back.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"
#include "platform/DateTime.h"

#include <QDate>
#include <cmath>
#include <optional>

namespace {

constexpr qint64 kJulianDayOfZero = 2415019;  // 30 December 1899
constexpr qint64 kMsecPerDay = 86400000;

struct DateParts {
  int year = 1899, month = 12, day = 30, dayOfWeek = 7;  // Sunday = 1
  int hour = 0, minute = 0, second = 0, msec = 0;
  bool timeIsZero = true;
};

DateParts Decode(TDateTimeValue value) {
  DateParts p;
  if (!std::isfinite(value) || std::fabs(value) > 3e6) return p;
  double whole = std::trunc(value);
  qint64 msec = std::llround(std::fabs(value - whole) * kMsecPerDay);
  if (msec >= kMsecPerDay) {
    msec -= kMsecPerDay;
    whole += value < 0 ? -1 : 1;
  }
  const QDate date = QDate::fromJulianDay(kJulianDayOfZero + static_cast<qint64>(whole));
  p.year = date.year();
  p.month = date.month();
  p.day = date.day();
  p.dayOfWeek = date.dayOfWeek() % 7 + 1;
  p.hour = static_cast<int>(msec / 3600000);
  p.minute = static_cast<int>(msec / 60000 % 60);
  p.second = static_cast<int>(msec / 1000 % 60);
  p.msec = static_cast<int>(msec % 1000);
  p.timeIsZero = msec == 0;
  return p;
}

QString Padded(int value, int width) { return QString::number(value).rightJustified(width, u'0'); }

bool HasAmPm(const QString& format) {
  QChar quote;
  for (qsizetype i = 0; i < format.size(); ++i) {
    const QChar c = format[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u'a' || c == u'A') {
      const QString rest = format.mid(i, 5).toUpper();
      if (rest.startsWith(QLatin1String("AM/PM")) || rest.startsWith(QLatin1String("A/P")) ||
          rest.startsWith(QLatin1String("AMPM"))) {
        return true;
      }
    }
  }
  return false;
}

// A run of one letter, case ignored.
int RunLength(const QString& format, qsizetype at) {
  const QChar letter = format[at].toUpper();
  int count = 0;
  while (at + count < format.size() && format[at + count].toUpper() == letter) ++count;
  return count;
}

void Append(QString& out, const QString& format, const DateParts& p, const TrpFormatSettings& fs, int depth) {
  if (depth > 2) return;  // a locale format that names itself
  const bool twelveHour = HasAmPm(format);
  QChar lastToken;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    const QChar upper = c.toUpper();
    int count = 1;
    switch (upper.unicode()) {
      case u'\'':
      case u'"': {
        const qsizetype close = format.indexOf(c, i + 1);
        const qsizetype end = close < 0 ? format.size() : close;
        out += format.mid(i + 1, end - i - 1);
        i = end + 1;
        continue;
      }
      case u'/': out += fs.DateSeparator; break;
      case u':': out += fs.TimeSeparator; break;
      case u'Y':
      case u'E':
        count = RunLength(format, i);
        out += count <= 2 ? Padded(p.year % 100, 2) : Padded(p.year, 4);
        break;
      case u'G': count = RunLength(format, i); break;  // era names: this calendar has none to show
      case u'M':
        count = RunLength(format, i);
        if (lastToken == u'H' && count <= 2) {
          out += count == 1 ? QString::number(p.minute) : Padded(p.minute, 2);
        } else if (count <= 2) {
          out += count == 1 ? QString::number(p.month) : Padded(p.month, 2);
        } else {
          out += count == 3 ? fs.ShortMonthNames[static_cast<size_t>(p.month - 1)]
                            : fs.LongMonthNames[static_cast<size_t>(p.month - 1)];
        }
        break;
      case u'D':
        count = RunLength(format, i);
        switch (count) {
          case 1: out += QString::number(p.day); break;
          case 2: out += Padded(p.day, 2); break;
          case 3: out += fs.ShortDayNames[static_cast<size_t>(p.dayOfWeek - 1)]; break;
          case 4: out += fs.LongDayNames[static_cast<size_t>(p.dayOfWeek - 1)]; break;
          case 5: Append(out, fs.ShortDateFormat, p, fs, depth + 1); break;
          default: Append(out, fs.LongDateFormat, p, fs, depth + 1); break;
        }
        break;
      case u'H': {
        count = RunLength(format, i);
        int hour = p.hour;
        if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
        out += count == 1 ? QString::number(hour) : Padded(hour, 2);
        break;
      }
      case u'N':
        count = RunLength(format, i);
        out += count == 1 ? QString::number(p.minute) : Padded(p.minute, 2);
        break;
      case u'S':
        count = RunLength(format, i);
        out += count == 1 ? QString::number(p.second) : Padded(p.second, 2);
        break;
      case u'Z':
        count = RunLength(format, i);
        out += count == 1 ? QString::number(p.msec) : Padded(p.msec, 3);
        break;
      case u'T':
        count = RunLength(format, i);
        Append(out, count == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, depth + 1);
        break;
      case u'C':
        count = RunLength(format, i);
        Append(out, fs.ShortDateFormat, p, fs, depth + 1);
        if (!p.timeIsZero) {
          out += u' ';
          Append(out, fs.LongTimeFormat, p, fs, depth + 1);
        }
        break;
      case u'A': {
        const QString rest = format.mid(i, 5);
        const bool pm = p.hour >= 12;
        if (rest.toUpper() == QLatin1String("AM/PM")) {
          out += pm ? rest.mid(3, 2) : rest.left(2);
          count = 5;
        } else if (rest.left(3).toUpper() == QLatin1String("A/P")) {
          out += pm ? rest.mid(2, 1) : rest.left(1);
          count = 3;
        } else if (rest.left(4).toUpper() == QLatin1String("AMPM")) {
          out += pm ? fs.TimePMString : fs.TimeAMString;
          count = 4;
        } else {
          out += c;
        }
        break;
      }
      default: out += c; break;
    }
    if (upper.isLetter()) lastToken = upper;
    i += count;
  }
}

// Reads an unsigned number of at most 9 digits; false when there is none.
bool ScanNumber(const QString& s, qsizetype& pos, int& value, int* digits = nullptr) {
  qsizetype i = pos;
  int count = 0;
  int result = 0;
  while (i < s.size() && s[i] >= u'0' && s[i] <= u'9' && count < 9) {
    result = result * 10 + (s[i].unicode() - u'0');
    ++i;
    ++count;
  }
  if (count == 0 || (i < s.size() && s[i] >= u'0' && s[i] <= u'9')) return false;
  pos = i;
  value = result;
  if (digits) *digits = count;
  return true;
}

void SkipBlanks(const QString& s, qsizetype& pos) {
  while (pos < s.size() && s[pos].unicode() <= u' ') ++pos;
}

bool ScanChar(const QString& s, qsizetype& pos, QChar c) {
  SkipBlanks(s, pos);
  if (pos < s.size() && s[pos] == c) {
    ++pos;
    return true;
  }
  return false;
}

enum class DateOrder { MDY, DMY, YMD };

DateOrder OrderOf(const QString& format) {
  for (QChar c : format) {
    switch (c.toUpper().unicode()) {
      case u'D': return DateOrder::DMY;
      case u'Y': return DateOrder::YMD;
      case u'M': return DateOrder::MDY;
      default: break;
    }
  }
  return DateOrder::MDY;
}

bool ScanDate(const QString& s, qsizetype& pos, TDateTimeValue& value) {
  const TrpFormatSettings& fs = rpFormatSettings();
  int n1 = 0, n2 = 0, n3 = 0, l1 = 0, l2 = 0, l3 = 0;
  SkipBlanks(s, pos);
  if (!ScanNumber(s, pos, n1, &l1) || !ScanChar(s, pos, fs.DateSeparator)) return false;
  SkipBlanks(s, pos);
  if (!ScanNumber(s, pos, n2, &l2)) return false;
  int year = 0, month = 0, day = 0, yearDigits = 4;
  const DateOrder order = OrderOf(fs.ShortDateFormat);
  qsizetype after = pos;
  if (ScanChar(s, after, fs.DateSeparator)) {
    SkipBlanks(s, after);
    if (!ScanNumber(s, after, n3, &l3)) return false;
    pos = after;
    switch (order) {
      case DateOrder::MDY: month = n1, day = n2, year = n3, yearDigits = l3; break;
      case DateOrder::DMY: day = n1, month = n2, year = n3, yearDigits = l3; break;
      case DateOrder::YMD: year = n1, month = n2, day = n3, yearDigits = l1; break;
    }
  } else {
    year = QDate::fromJulianDay(kJulianDayOfZero + static_cast<qint64>(std::floor(DateTime::Now()))).year();
    if (order == DateOrder::DMY) {
      day = n1, month = n2;
    } else {
      month = n1, day = n2;
    }
  }
  if (yearDigits <= 2 && year < 100) {
    const int thisYear = QDate::fromJulianDay(kJulianDayOfZero + static_cast<qint64>(std::floor(DateTime::Now()))).year();
    const int base = thisYear - fs.TwoDigitYearCenturyWindow;
    year += base / 100 * 100;
    if (fs.TwoDigitYearCenturyWindow > 0 && year < base) year += 100;
  }
  if (year < 1 || year > 9999) return false;
  const QDate date(year, month, day);
  if (!date.isValid()) return false;
  value = static_cast<double>(date.toJulianDay() - kJulianDayOfZero);
  return true;
}

bool ScanMarker(const QString& s, qsizetype& pos, const QString& marker) {
  if (marker.isEmpty()) return false;
  SkipBlanks(s, pos);
  if (s.mid(pos, marker.size()).compare(marker, Qt::CaseInsensitive) != 0) return false;
  pos += marker.size();
  return true;
}

// 0 none, 1 am, 2 pm.
int ScanAmPm(const QString& s, qsizetype& pos) {
  const TrpFormatSettings& fs = rpFormatSettings();
  if (ScanMarker(s, pos, fs.TimeAMString) || ScanMarker(s, pos, QStringLiteral("AM"))) return 1;
  if (ScanMarker(s, pos, fs.TimePMString) || ScanMarker(s, pos, QStringLiteral("PM"))) return 2;
  return 0;
}

bool ScanTime(const QString& s, qsizetype& pos, TDateTimeValue& value) {
  const TrpFormatSettings& fs = rpFormatSettings();
  int marker = ScanAmPm(s, pos);
  int hour = 0, minute = 0, second = 0, msec = 0;
  SkipBlanks(s, pos);
  if (!ScanNumber(s, pos, hour)) return false;
  if (ScanChar(s, pos, fs.TimeSeparator)) {
    SkipBlanks(s, pos);
    if (!ScanNumber(s, pos, minute)) return false;
    if (ScanChar(s, pos, fs.TimeSeparator)) {
      SkipBlanks(s, pos);
      if (!ScanNumber(s, pos, second)) return false;
      if (ScanChar(s, pos, fs.DecimalSeparator)) {
        int digits = 0;
        if (!ScanNumber(s, pos, msec, &digits) || digits > 3) return false;
        while (digits++ < 3) msec *= 10;
      }
    }
  } else if (marker == 0) {
    qsizetype probe = pos;
    if (ScanAmPm(s, probe) == 0) return false;  // a lone number is no time without a marker
  }
  if (marker == 0) marker = ScanAmPm(s, pos);
  if (marker != 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + (marker == 2 ? 12 : 0);
  }
  if (hour > 23 || minute > 59 || second > 59) return false;
  value = (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / kMsecPerDay;
  return true;
}

bool AtEnd(const QString& s, qsizetype pos) {
  SkipBlanks(s, pos);
  return pos == s.size();
}

[[noreturn]] void Invalid(int id, const QString& text) { throw EConvertError(rpLoadStr(id).arg(text)); }

// A Qt date or time format in our letters: M is the month, m the minute, AP the marker.
QString FromQtFormat(const QString& qt, QChar dateSeparator, QChar timeSeparator) {
  QString out;
  for (qsizetype i = 0; i < qt.size(); ++i) {
    const QChar c = qt[i];
    if (c == u'\'') {
      const qsizetype close = qt.indexOf(u'\'', i + 1);
      const qsizetype end = close < 0 ? qt.size() : close;
      out += u'"' + qt.mid(i + 1, end - i - 1) + u'"';
      i = end;
      continue;
    }
    int run = 1;
    while (i + run < qt.size() && qt[i + run] == c) ++run;
    switch (c.unicode()) {
      case u'M': out += QString(run, u'm'); break;
      case u'm': out += QString(run, u'n'); break;
      case u'H': out += QString(run, u'h'); break;
      case u'A':
      case u'a':
        if (i + 1 < qt.size() && (qt[i + 1] == u'P' || qt[i + 1] == u'p')) run = 2;
        out += QStringLiteral("AMPM");
        break;
      case u't': break;  // time zone: this platform's formats have none
      default:
        if (c == dateSeparator && !dateSeparator.isNull() && (c == u'/' || c == u'.' || c == u'-')) {
          out += QString(run, u'/');
        } else if (c == timeSeparator && !timeSeparator.isNull()) {
          out += QString(run, u':');
        } else {
          out += QString(run, c);
        }
        break;
    }
    i += run - 1;
  }
  return out.trimmed();
}

QChar FirstSeparator(const QString& format) {
  for (QChar c : format) {
    if (!c.isLetter() && c != u'\'' && !c.isSpace()) return c;
  }
  return {};
}

}  // namespace

TrpFormatSettings rpFormatSettingsFromLocale(const QLocale& locale) {
  TrpFormatSettings s;
  s.DecimalSeparator = locale.decimalPoint().isEmpty() ? QChar(u'.') : locale.decimalPoint()[0];
  s.ThousandSeparator = locale.groupSeparator().isEmpty() ? QChar(u',') : locale.groupSeparator()[0];
  const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
  const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
  s.DateSeparator = FirstSeparator(shortDate);
  if (s.DateSeparator.isNull()) s.DateSeparator = u'/';
  s.TimeSeparator = FirstSeparator(shortTime);
  if (s.TimeSeparator.isNull()) s.TimeSeparator = u':';
  s.ShortDateFormat = FromQtFormat(shortDate, s.DateSeparator, QChar());
  s.LongDateFormat = FromQtFormat(locale.dateFormat(QLocale::LongFormat), QChar(), QChar());
  s.ShortTimeFormat = FromQtFormat(shortTime, QChar(), s.TimeSeparator);
  s.LongTimeFormat = FromQtFormat(locale.timeFormat(QLocale::LongFormat), QChar(), s.TimeSeparator);
  s.TimeAMString = locale.amText();
  s.TimePMString = locale.pmText();
  for (int month = 1; month <= 12; ++month) {
    s.ShortMonthNames[static_cast<size_t>(month - 1)] = locale.monthName(month, QLocale::ShortFormat);
    s.LongMonthNames[static_cast<size_t>(month - 1)] = locale.monthName(month, QLocale::LongFormat);
  }
  for (int day = 1; day <= 7; ++day) {
    // Qt counts from Monday, the format letters from Sunday.
    const size_t index = static_cast<size_t>(day % 7);
    s.ShortDayNames[index] = locale.dayName(day, QLocale::ShortFormat);
    s.LongDayNames[index] = locale.dayName(day, QLocale::LongFormat);
  }
  return s;
}

QString rpFormatDateTime(const QString& format, TDateTimeValue value) {
  QString out;
  Append(out, format.isEmpty() ? QStringLiteral("c") : format, Decode(value), rpFormatSettings(), 0);
  return out;
}

QString rpDateTimeToStr(TDateTimeValue value) { return rpFormatDateTime(QStringLiteral("c"), value); }

TDateTimeValue rpStrToDate(const QString& text) {
  qsizetype pos = 0;
  TDateTimeValue value = 0;
  if (!ScanDate(text, pos, value) || !AtEnd(text, pos)) Invalid(rpStrings::InvalidDate, text);
  return value;
}

TDateTimeValue rpStrToTime(const QString& text) {
  qsizetype pos = 0;
  TDateTimeValue value = 0;
  if (!ScanTime(text, pos, value) || !AtEnd(text, pos)) Invalid(rpStrings::InvalidTime, text);
  return value;
}

bool rpTryStrToDateTime(const QString& text, TDateTimeValue& value) {
  qsizetype pos = 0;
  TDateTimeValue date = 0;
  if (!ScanDate(text, pos, date)) {
    pos = 0;
    TDateTimeValue time = 0;
    if (!ScanTime(text, pos, time) || !AtEnd(text, pos)) return false;
    value = time;
    return true;
  }
  TDateTimeValue time = 0;
  if (!AtEnd(text, pos) && (!ScanTime(text, pos, time) || !AtEnd(text, pos))) return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

TDateTimeValue rpStrToDateTime(const QString& text) {
  TDateTimeValue value = 0;
  if (!rpTryStrToDateTime(text, value)) Invalid(rpStrings::InvalidDateTime, text);
  return value;
}
