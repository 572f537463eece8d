#include "controls/FmNumFormat.h"

#include <QRegularExpression>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <vector>

namespace {

// Splits a mask into its sections, leaving semicolons inside quotes alone.
QStringList SplitSections(const QString& mask) {
  QStringList sections{QString()};
  QChar quote;
  for (const QChar c : mask) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      quote = c;
    } else if (c == QLatin1Char(';')) {
      sections << QString();
      continue;
    }
    sections.last() += c;
  }
  return sections;
}

// One section taken apart.
struct Section {
  enum Kind { Literal, Digit, Point, Exponent };
  struct Token {
    Kind kind;
    QString text;        // the literal; for a digit "0" or "#"; for an exponent "E+" etc.
    int exponentDigits = 0;
  };
  std::vector<Token> tokens;
  bool grouping = false;
  int intZeros = 0, intDigits = 0;    // placeholders before the point (or the exponent)
  int fracZeros = 0, fracDigits = 0;  // placeholders after the point
  bool hasPoint = false;
  bool scientific = false;
};

Section ParseSection(const QString& text) {
  Section section;
  bool afterPoint = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
      const qsizetype close = text.indexOf(c, i + 1);
      const qsizetype end = close < 0 ? text.size() : close;
      section.tokens.push_back({Section::Literal, text.mid(i + 1, end - i - 1)});
      i = end;
    } else if ((c == QLatin1Char('0') || c == QLatin1Char('#')) && !section.scientific) {
      section.tokens.push_back({Section::Digit, QString(c)});
      const bool zero = c == QLatin1Char('0');
      if (afterPoint) {
        ++section.fracDigits;
        section.fracZeros = zero ? section.fracDigits : section.fracZeros;
      } else {
        ++section.intDigits;
        section.intZeros += zero ? 1 : 0;
      }
    } else if (c == QLatin1Char('.') && !afterPoint && !section.scientific) {
      afterPoint = section.hasPoint = true;
      section.tokens.push_back({Section::Point, {}});
    } else if (c == QLatin1Char(',') && !section.scientific) {
      section.grouping = true;
    } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < text.size() &&
               (text[i + 1] == QLatin1Char('+') || text[i + 1] == QLatin1Char('-')) && !section.scientific) {
      int digits = 0;
      qsizetype j = i + 2;
      while (j < text.size() && text[j] == QLatin1Char('0')) ++digits, ++j;
      section.tokens.push_back({Section::Exponent, text.mid(i, 2), digits});
      section.scientific = true;
      i = j - 1;
    } else {
      section.tokens.push_back({Section::Literal, QString(c)});
    }
  }
  return section;
}

// The decimal digits of |value| rounded to `decimals` places (halves away from zero), as
// an integer part and a fraction of exactly `decimals` digits.
void RoundedDigits(double value, int decimals, QString& integer, QString& fraction) {
  // The longest fixed form of a double: 309 integer digits, or a point and the 327
  // places of the smallest subnormal's shortest form.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
  const QString text = result.ec == std::errc() ? QString::fromLatin1(buffer, result.ptr - buffer) : QStringLiteral("0");
  const qsizetype point = text.indexOf(QLatin1Char('.'));
  QString digits = point < 0 ? text : text.left(point);
  QString rest = point < 0 ? QString() : text.mid(point + 1);
  const bool roundUp = rest.size() > decimals && rest[decimals] >= QLatin1Char('5');
  rest = rest.left(decimals).leftJustified(decimals, QLatin1Char('0'));
  digits += rest;
  if (roundUp) {
    qsizetype i = digits.size() - 1;
    for (; i >= 0 && digits[i] == QLatin1Char('9'); --i) digits[i] = QLatin1Char('0');
    if (i >= 0)
      digits[i] = QChar(digits[i].unicode() + 1);
    else
      digits.prepend(QLatin1Char('1'));
  }
  const int newIntLength = static_cast<int>(digits.size()) - decimals;
  integer = digits.left(newIntLength);
  while (integer.size() > 1 && integer[0] == QLatin1Char('0')) integer.remove(0, 1);
  if (integer == QLatin1String("0")) integer.clear();
  fraction = digits.mid(newIntLength);
}

QString Group(const QString& digits, QChar separator) {
  QString out;
  for (qsizetype i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

// Fills the section's placeholders with the integer and fraction digits (and exponent).
QString Render(const Section& section, const QString& integerDigits, const QString& fractionDigits, int exponent,
               const TNumSeparators& separators) {
  // Integer digits: padded to the zero placeholders; the first placeholder takes every
  // digit that has no placeholder of its own.
  QString integer = integerDigits;
  if (integer.size() < section.intZeros) integer = integer.rightJustified(section.intZeros, QLatin1Char('0'));
  // Fraction digits: trailing zeros beyond the zero placeholders go.
  QString fraction = fractionDigits;
  while (fraction.size() > section.fracZeros && fraction.endsWith(QLatin1Char('0'))) fraction.chop(1);

  // Digit placeholders before the point, from the right, each take one digit.
  std::vector<QString> intSlots(section.intDigits);
  qsizetype remaining = integer.size();
  for (int slot = section.intDigits - 1; slot >= 0; --slot) {
    if (remaining > 0) intSlots[slot] = integer[--remaining];
  }
  if (section.intDigits > 0 && remaining > 0) intSlots[0].prepend(integer.left(remaining));
  const bool grouped = section.grouping && section.intDigits > 0;

  QString out;
  int intSlot = 0, fracSlot = 0;
  bool afterPoint = false;
  bool integerWritten = false;
  for (const Section::Token& token : section.tokens) {
    switch (token.kind) {
      case Section::Literal: out += token.text; break;
      case Section::Point:
        afterPoint = true;
        if (!fraction.isEmpty()) out += separators.decimal;
        break;
      case Section::Exponent: {
        const bool negative = exponent < 0;
        out += token.text[0];
        if (negative || token.text[1] == QLatin1Char('+')) out += negative ? QLatin1Char('-') : QLatin1Char('+');
        out += QString::number(std::abs(exponent)).rightJustified(token.exponentDigits, QLatin1Char('0'));
        break;
      }
      case Section::Digit:
        if (afterPoint) {
          if (fracSlot < fraction.size()) out += fraction[fracSlot];
          ++fracSlot;
        } else if (grouped) {
          // Grouped digits go out as one run at the first placeholder.
          if (!integerWritten) out += Group(integer, separators.thousand);
          integerWritten = true;
        } else {
          out += intSlots[intSlot++];
        }
        break;
    }
  }
  return out;
}

QString FormatSection(double magnitude, const Section& section, const TNumSeparators& separators) {
  QString integer, fraction;
  int exponent = 0;
  if (section.scientific && magnitude != 0) {
    // The significant digits of the exact value (a double has at most 767), so neither
    // tiny nor huge values lose precision through a power of ten, rounded here with
    // halves away from zero as the fixed form is (to_chars would take them to even).
    const int intPlaces = qMax(1, section.intDigits);
    const qsizetype significant = intPlaces + section.fracDigits;
    char buffer[800];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 770);
    const QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    const qsizetype e = text.indexOf(QLatin1Char('e'));
    QString digits = text.left(e);
    digits.remove(QLatin1Char('.'));
    int firstExponent = text.mid(e + 1).toInt();
    if (digits.size() > significant) {
      const bool roundUp = digits[significant] >= QLatin1Char('5');
      digits.truncate(significant);
      if (roundUp) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits[i] == QLatin1Char('9'); --i) digits[i] = QLatin1Char('0');
        if (i >= 0) {
          digits[i] = QChar(digits[i].unicode() + 1);
        } else {
          digits.prepend(QLatin1Char('1'));
          digits.chop(1);
          ++firstExponent;
        }
      }
    }
    digits = digits.leftJustified(significant, QLatin1Char('0'));
    exponent = firstExponent - (intPlaces - 1);
    integer = digits.left(intPlaces);
    fraction = digits.mid(intPlaces);
  } else {
    RoundedDigits(magnitude, section.fracDigits, integer, fraction);
    // A mantissa always shows a digit, even for zero.
    if (section.scientific && integer.isEmpty()) integer = QStringLiteral("0");
  }
  return Render(section, integer, fraction, exponent, separators);
}

bool RoundsToZero(double magnitude, const Section& section) {
  if (section.scientific) return magnitude == 0;
  QString integer, fraction;
  RoundedDigits(magnitude, section.fracDigits, integer, fraction);
  return integer.isEmpty() && !fraction.contains(QRegularExpression(QStringLiteral("[1-9]")));
}

}  // namespace

QString FormatNumber(double value, const QString& mask, const TNumSeparators& separators) {
  if (!std::isfinite(value)) return QString::number(value);
  const QStringList sections = SplitSections(mask.isEmpty() ? QStringLiteral("0") : mask);
  const Section positive = ParseSection(sections[0]);
  const double magnitude = std::fabs(value);
  if (sections.size() > 2 && !sections[2].isEmpty() && RoundsToZero(magnitude, positive))
    return FormatSection(0, ParseSection(sections[2]), separators);
  if (value < 0 && !RoundsToZero(magnitude, positive)) {
    if (sections.size() > 1 && !sections[1].isEmpty()) return FormatSection(magnitude, ParseSection(sections[1]), separators);
    return QLatin1Char('-') + FormatSection(magnitude, positive, separators);
  }
  return FormatSection(magnitude, positive, separators);
}

std::optional<double> ParseNumericText(const QString& text, QChar decimalSeparator) {
  if (text.isEmpty()) return 0.0;
  const bool negative = text.contains(QLatin1Char('-')) || text.contains(QLatin1Char('('));
  QString kept;
  for (const QChar c : text) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
      kept += c;
    else if (c == decimalSeparator)
      kept += QLatin1Char('.');
  }
  if (kept.isEmpty() || kept == QLatin1String(".")) return std::nullopt;
  bool ok = false;
  const double value = kept.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return negative ? -value : value;
}

bool AcceptsNumericKey(QChar key, const TNumericKeyContext& context) {
  if (key == QLatin1Char('\r') || key == QLatin1Char('\n')) return false;
  if (key.unicode() < 0x20 || key.unicode() == 0x7f) return true;
  if (key >= QLatin1Char('0') && key <= QLatin1Char('9')) return true;
  const bool wholeTextSelected = context.selectionLength > 0 && context.selectionLength >= context.text.size();
  if (key == context.decimalSeparator) {
    if (context.integersOnly) return false;
    const qsizetype existing = context.text.indexOf(context.decimalSeparator);
    if (existing < 0) return true;
    return context.selectionLength > 0 && existing >= context.selectionStart &&
           existing < context.selectionStart + context.selectionLength;
  }
  if (key == QLatin1Char('+') || key == QLatin1Char('-')) {
    const bool hasSign = context.text.contains(QLatin1Char('-')) || context.text.contains(QLatin1Char('+')) ||
                         context.text.contains(QLatin1Char('('));
    return (context.cursor == 0 && !hasSign) || wholeTextSelected;
  }
  return false;
}
