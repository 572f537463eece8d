// Numbers to text and back: rpFloatToStr, rpFormatFloat and the strict number readers.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace {

// Digits beyond these add nothing a double holds; the caps keep the buffers bounded.
constexpr int kMaxDecimals = 50;
constexpr int kMaxSignificant = 40;

// The exact decimal expansion of a finite, non-negative value when it has at most 64
// places after the point ("int.frac" or "int"), else none. Only such values can lie
// exactly half-way between two texts of at most 50 places or 40 significant digits: a
// value with more binary places has at least 0.7 times as many significant decimal
// digits, ending in 5.
std::optional<std::string> ExactDigits(double value) {
  int binaryExponent = 0;
  const double mantissa = std::frexp(value, &binaryExponent);
  const auto bits = static_cast<uint64_t>(std::ldexp(mantissa, 53));
  const int places = bits == 0 ? 0 : std::max(0, 53 - binaryExponent - std::countr_zero(bits));
  if (places > 64) return std::nullopt;
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
  if (result.ec != std::errc()) return std::nullopt;
  return std::string(buffer, result.ptr);
}

// Adds one to the last digit of a digit string; true when it carried out of the first.
bool Increment(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

// The text of a finite, non-negative value in C notation with `precision` digits after
// the point, rounded to the nearest and an exact half away from zero, as number formats
// round (to_chars alone would take exact halves to the even neighbour).
std::string FixedDigits(double value, int precision) {
  precision = std::min(precision, kMaxDecimals);
  const std::optional<std::string> exact = ExactDigits(value);
  if (exact) {
    const size_t point = exact->find('.');
    const size_t places = point == std::string::npos ? 0 : exact->size() - point - 1;
    if (places > static_cast<size_t>(precision)) {
      std::string intPart = exact->substr(0, point);
      std::string digits = intPart + exact->substr(point + 1, static_cast<size_t>(precision));
      const bool up = (*exact)[point + 1 + static_cast<size_t>(precision)] >= '5';
      if (up && Increment(digits)) digits.insert(digits.begin(), '1');
      const size_t intCount = digits.size() - static_cast<size_t>(precision);
      std::string text = digits.substr(0, intCount);
      if (precision > 0) text += '.' + digits.substr(intCount);
      return text;
    }
  }
  char buffer[512];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
  if (result.ec != std::errc()) return "0";
  return std::string(buffer, result.ptr);
}

// Mantissa digits without the point and the decimal exponent of the first digit.
struct Scientific {
  std::string digits;
  int exponent = 0;
};

// `significant` digits of a finite, positive value, rounded as FixedDigits rounds.
Scientific ScientificDigits(double value, int significant) {
  significant = std::clamp(significant, 1, kMaxSignificant);
  Scientific s;
  if (const std::optional<std::string> exact = ExactDigits(value)) {
    const size_t point = std::min(exact->find('.'), exact->size());
    std::string all = exact->substr(0, point) + (point < exact->size() ? exact->substr(point + 1) : std::string());
    const size_t first = all.find_first_not_of('0');
    if (first != std::string::npos) {
      s.exponent = static_cast<int>(point) - 1 - static_cast<int>(first);
      s.digits = all.substr(first);
      if (s.digits.size() > static_cast<size_t>(significant)) {
        const bool up = s.digits[static_cast<size_t>(significant)] >= '5';
        s.digits.resize(static_cast<size_t>(significant));
        if (up && Increment(s.digits)) {
          s.digits.insert(s.digits.begin(), '1');
          s.digits.pop_back();
          ++s.exponent;
        }
      }
      s.digits.resize(static_cast<size_t>(significant), '0');
      return s;
    }
  }
  char buffer[128];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, significant - 1);
  if (result.ec != std::errc()) {
    s.digits.assign(1, '0');
    return s;
  }
  const std::string text(buffer, result.ptr);
  const size_t e = text.find('e');
  for (size_t i = 0; i < e; ++i) {
    if (text[i] != '.') s.digits += text[i];
  }
  s.exponent = std::stoi(text.substr(e + 1));
  return s;
}

QString SpecialText(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

bool IsBlank(QChar c) { return c.unicode() <= u' '; }

// The parts of one section of a number format.
struct NumberSection {
  QString text;
  int intPlaceholders = 0;
  int minInt = 0;
  int maxDecimals = 0;
  int minDecimals = 0;
  bool thousands = false;
  bool scientific = false;
};

// Splits at ";" outside quoted text.
QStringList SplitSections(const QString& format) {
  QStringList sections;
  QString current;
  QChar quote;
  for (QChar c : format) {
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'\'' || c == u'"') {
      quote = c;
    } else if (c == u';' && sections.size() < 2) {
      sections << current;
      current.clear();
      continue;
    }
    current += c;
  }
  sections << current;
  return sections;
}

NumberSection Analyse(const QString& text) {
  NumberSection s;
  s.text = text;
  bool decimal = false;
  int firstZero = -1;
  int lastDecimalZero = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\'' || c == u'"') {
      const qsizetype close = text.indexOf(c, i + 1);
      i = close < 0 ? text.size() : close;
    } else if ((c == u'E' || c == u'e') && i + 1 < text.size() && (text[i + 1] == u'+' || text[i + 1] == u'-')) {
      s.scientific = true;
      break;
    } else if (c == u'0' || c == u'#') {
      if (decimal) {
        if (c == u'0') lastDecimalZero = s.maxDecimals;
        ++s.maxDecimals;
      } else {
        if (c == u'0' && firstZero < 0) firstZero = s.intPlaceholders;
        ++s.intPlaceholders;
      }
    } else if (c == u'.') {
      decimal = true;
    } else if (c == u',') {
      s.thousands = true;
    }
  }
  s.minInt = firstZero < 0 ? 0 : s.intPlaceholders - firstZero;
  s.maxDecimals = std::min(s.maxDecimals, kMaxDecimals);
  s.minDecimals = std::min(lastDecimalZero + 1, kMaxDecimals);
  return s;
}

struct RenderedNumber {
  std::string intDigits;  // without leading zeros beyond the section's minimum
  std::string decimals;
  int exponent = 0;
  bool zero = true;
};

RenderedNumber Render(double magnitude, const NumberSection& s) {
  RenderedNumber r;
  if (s.scientific) {
    const int intDigits = std::max(1, s.intPlaceholders);
    const int significant = std::max(1, intDigits + s.maxDecimals);
    if (magnitude == 0) {
      // Zero keeps the section's decimals, trimmed below like any other mantissa's.
      r.intDigits.assign(static_cast<size_t>(intDigits), '0');
      r.decimals.assign(static_cast<size_t>(s.maxDecimals), '0');
    } else {
      const Scientific sc = ScientificDigits(magnitude, significant);
      r.exponent = sc.exponent - (intDigits - 1);
      r.intDigits = sc.digits.substr(0, static_cast<size_t>(intDigits));
      r.decimals = sc.digits.substr(static_cast<size_t>(std::min<int>(intDigits, static_cast<int>(sc.digits.size()))));
    }
  } else {
    const std::string fixed = FixedDigits(magnitude, s.maxDecimals);
    const size_t point = fixed.find('.');
    r.intDigits = fixed.substr(0, point);
    if (point != std::string::npos) r.decimals = fixed.substr(point + 1);
    size_t lead = 0;
    while (lead < r.intDigits.size() && r.intDigits[lead] == '0') ++lead;
    r.intDigits.erase(0, lead);
  }
  for (char d : r.intDigits + r.decimals) {
    if (d != '0') r.zero = false;
  }
  while (static_cast<int>(r.decimals.size()) > s.minDecimals && !r.decimals.empty() && r.decimals.back() == '0') {
    r.decimals.pop_back();
  }
  if (!s.scientific && static_cast<int>(r.intDigits.size()) < s.minInt) {
    r.intDigits.insert(0, static_cast<size_t>(s.minInt) - r.intDigits.size(), '0');
  }
  return r;
}

QString Layout(const NumberSection& s, const RenderedNumber& r, bool negativeExponent) {
  const TrpFormatSettings& fs = rpFormatSettings();
  QString out;
  const int digitCount = static_cast<int>(r.intDigits.size());
  const int extra = std::max(0, digitCount - s.intPlaceholders);
  const int missing = std::max(0, s.intPlaceholders - digitCount);
  int placeholder = 0;
  int decimalIndex = 0;
  bool decimal = false;
  bool intEmitted = false;
  auto emitInt = [&](int index) {
    out += QLatin1Char(r.intDigits[static_cast<size_t>(index)]);
    const int remaining = digitCount - index - 1;
    if (s.thousands && remaining > 0 && remaining % 3 == 0) out += fs.ThousandSeparator;
  };
  // Digits beyond the places go in front of the first place; a section without any place
  // before the separator still shows them, where the separator (or the end) stands.
  auto emitLeading = [&](qsizetype at) {
    QString saved = out.mid(at);
    out.truncate(at);
    for (int k = 0; k < extra; ++k) emitInt(k);
    out += saved;
    intEmitted = true;
  };
  const QString& text = s.text;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\'' || c == u'"') {
      const qsizetype close = text.indexOf(c, i + 1);
      const qsizetype end = close < 0 ? text.size() : close;
      out += text.mid(i + 1, end - i - 1);
      i = end;
    } else if (s.scientific && (c == u'E' || c == u'e') && i + 1 < text.size() &&
               (text[i + 1] == u'+' || text[i + 1] == u'-')) {
      if (!intEmitted) emitLeading(out.size());
      out += c;
      const bool always = text[i + 1] == u'+';
      i += 2;
      int width = 0;
      while (i < text.size() && text[i] == u'0') {
        ++width;
        ++i;
      }
      --i;
      if (negativeExponent) {
        out += u'-';
      } else if (always) {
        out += u'+';
      }
      QString digits = QString::number(std::abs(r.exponent));
      while (digits.size() < std::min(width, 4)) digits.prepend(u'0');
      out += digits;
      // What follows the exponent is literal text.
      for (++i; i < text.size(); ++i) {
        if (text[i] != u'0' && text[i] != u'#' && text[i] != u',') out += text[i];
      }
      break;
    } else if ((c == u'0' || c == u'#') && !decimal) {
      if (placeholder == 0) emitLeading(out.size());
      const int index = placeholder - missing + extra;
      if (placeholder >= missing) emitInt(index);
      ++placeholder;
    } else if (c == u'.' && !decimal) {
      if (!intEmitted) emitLeading(out.size());
      decimal = true;
      if (!r.decimals.empty()) out += fs.DecimalSeparator;
    } else if (c == u'.') {
      // Only the first point of a section is the decimal separator; later ones are not written.
    } else if ((c == u'0' || c == u'#') && decimal) {
      if (decimalIndex < static_cast<int>(r.decimals.size())) out += QLatin1Char(r.decimals[static_cast<size_t>(decimalIndex)]);
      ++decimalIndex;
    } else if (c == u',') {
      // thousands flag only
    } else {
      out += c;
    }
  }
  if (!intEmitted) emitLeading(out.size());
  return out;
}

}  // namespace

QString rpFloatToStr(double value) {
  if (!std::isfinite(value)) return SpecialText(value);
  if (value == 0) return QStringLiteral("0");
  const Scientific sc = ScientificDigits(std::fabs(value), 15);
  std::string digits = sc.digits;
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exponent = sc.exponent;
  const QChar point = rpFormatSettings().DecimalSeparator;
  QString out = value < 0 ? QStringLiteral("-") : QString();
  if (exponent >= 15 || std::fabs(value) < 0.00001) {
    out += QLatin1Char(digits[0]);
    if (digits.size() > 1) {
      out += point;
      out += QString::fromLatin1(digits.substr(1));
    }
    out += u'E';
    out += QString::number(exponent);
    return out;
  }
  if (exponent < 0) {
    out += u'0';
    out += point;
    out += QString(-exponent - 1, u'0');
    out += QString::fromLatin1(digits);
    return out;
  }
  const size_t intCount = static_cast<size_t>(exponent) + 1;
  if (digits.size() <= intCount) {
    out += QString::fromLatin1(digits);
    out += QString(static_cast<qsizetype>(intCount - digits.size()), u'0');
  } else {
    out += QString::fromLatin1(digits.substr(0, intCount));
    out += point;
    out += QString::fromLatin1(digits.substr(intCount));
  }
  return out;
}

QString rpFormatFloat(const QString& format, double value) {
  if (!std::isfinite(value)) return SpecialText(value);
  if (format.isEmpty()) return rpFloatToStr(value);
  const QStringList sections = SplitSections(format);
  const bool negative = value < 0;
  bool minus = negative;
  NumberSection section = Analyse(sections[0]);
  if (negative && sections.size() >= 2 && !sections[1].isEmpty()) {
    section = Analyse(sections[1]);
    minus = false;
  }
  // A section without any text writes the value in the general format, as an empty
  // format does; a zero still takes the zero section.
  if (section.text.isEmpty()) {
    if (value != 0 || sections.size() < 3 || sections[2].isEmpty()) return rpFloatToStr(value);
    section = Analyse(sections[2]);
    return Layout(section, Render(0, section), false);
  }
  if (!section.scientific && std::fabs(value) >= 1e18) return rpFloatToStr(value);
  RenderedNumber rendered = Render(std::fabs(value), section);
  if (rendered.zero) {
    minus = false;
    if (sections.size() >= 3 && !sections[2].isEmpty()) {
      section = Analyse(sections[2]);
      rendered = Render(0, section);
    }
  }
  const QString text = Layout(section, rendered, rendered.exponent < 0);
  return minus ? QStringLiteral("-") + text : text;
}

bool rpTryTextToFloat(const QString& text, double& value) {
  const QChar point = rpFormatSettings().DecimalSeparator;
  qsizetype i = 0;
  qsizetype end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;
  std::string ascii;
  if (i < end && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++].unicode());
  int digits = 0;
  bool seenPoint = false;
  for (; i < end; ++i) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      ascii += static_cast<char>(c.unicode());
      ++digits;
    } else if (c == point && !seenPoint) {
      ascii += '.';
      seenPoint = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (i < end && (text[i] == u'e' || text[i] == u'E')) {
    ascii += 'e';
    ++i;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) ascii += static_cast<char>(text[i++].unicode());
    int expDigits = 0;
    for (; i < end && text[i] >= u'0' && text[i] <= u'9'; ++i, ++expDigits) ascii += static_cast<char>(text[i].unicode());
    if (expDigits == 0) return false;
  }
  if (i != end) return false;
  const char* first = ascii.data();
  if (*first == '+') ++first;
  double parsed = 0;
  const auto result = std::from_chars(first, ascii.data() + ascii.size(), parsed);
  if (result.ec == std::errc::result_out_of_range) {
    parsed = std::strtod(ascii.c_str(), nullptr);  // C locale digits only: a point is never involved here
  } else if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) {
    return false;
  }
  value = parsed;
  return true;
}

bool rpTryTextToInteger(const QString& text, int64_t& value) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return false;
  qsizetype i = 0;
  bool negative = false;
  if (t[i] == u'+' || t[i] == u'-') negative = t[i++] == u'-';
  int base = 10;
  if (i < t.size() && t[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  uint64_t magnitude = 0;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i].unicode();
    int digit = -1;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    if (digit < 0 || digit >= base) return false;
    if (magnitude > (UINT64_MAX - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) return false;
    magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
  if (magnitude > limit) return false;
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

double rpTextToFloat(const QString& text) {
  double value = 0;
  if (!rpTryTextToFloat(text, value)) throw EConvertError(rpLoadStr(rpStrings::InvalidFloat).arg(text));
  return value;
}

int64_t rpTextToInteger(const QString& text) {
  int64_t value = 0;
  if (!rpTryTextToInteger(text, value)) throw EConvertError(rpLoadStr(rpStrings::InvalidInteger).arg(text));
  return value;
}
