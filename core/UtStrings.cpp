#include "core/UtStrings.h"

#include "platform/FileText.h"

#include <algorithm>

namespace {

struct CharTables {
  std::array<uint16_t, 256> type{};
  std::array<QChar, 256> lower{};
  std::array<QChar, 256> upper{};
  std::array<QChar, 256> swap{};
};

uint16_t TypeOf(QChar c) {
  uint16_t type = 0;
  if (c.isUpper()) type |= CharUpper;
  if (c.isLower()) type |= CharLower;
  if (c.isDigit()) type |= CharDigit;
  if (c.isSpace()) type |= CharSpace;
  if (c.isPunct() || c.isSymbol()) type |= CharPunct;
  if (c.category() == QChar::Other_Control) type |= CharControl;
  if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) type |= CharBlank;
  if (HexDigitValue(c.unicode()) >= 0) type |= CharHexDigit;
  if (c.isLetter()) type |= CharAlpha;
  return type;
}

const CharTables& Tables() {
  static const CharTables tables = [] {
    std::array<QChar, 256> chars{};
    for (int code = 0; code < 256; ++code) chars[code] = DecodeFileText(QByteArray(1, static_cast<char>(code))).at(0);
    auto inCodePage = [&](QChar c) { return std::find(chars.begin(), chars.end(), c) != chars.end(); };
    CharTables t;
    for (int code = 0; code < 256; ++code) {
      const QChar c = chars[code];
      const QChar lower = c.toLower();
      const QChar upper = c.toUpper();
      t.type[code] = TypeOf(c);
      t.lower[code] = inCodePage(lower) ? lower : c;
      t.upper[code] = inCodePage(upper) ? upper : c;
      t.swap[code] = c.isUpper() ? t.lower[code] : c.isLower() ? t.upper[code] : c;
    }
    return t;
  }();
  return tables;
}

// Below 256 the code page and Unicode agree except in the block 0x80..0x9F.
QChar Upper(QChar c) {
  const char16_t u = c.unicode();
  if (u < 0x80 || (u >= 0xA0 && u < 0x100)) return Tables().upper[u];
  return c.toUpper();
}

// Start (0-based) of the n-th word, -1 when there is none.
qsizetype WordStart(int n, const QString& text, const QString& separators) {
  if (n < 1) return -1;
  int count = 0;
  bool inWord = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool separator = separators.contains(text.at(i));
    if (!separator && !inWord && ++count == n) return i;
    inWord = !separator;
  }
  return -1;
}

}  // namespace

const std::array<uint16_t, 256>& CharTypeTable() { return Tables().type; }
const std::array<QChar, 256>& LowerCaseTable() { return Tables().lower; }
const std::array<QChar, 256>& UpperCaseTable() { return Tables().upper; }
const std::array<QChar, 256>& SwapCaseTable() { return Tables().swap; }

bool FastSameText(const QString& a, const QString& b) {
  if (a.size() != b.size()) return false;
  if (a.constData() == b.constData()) return true;
  for (qsizetype i = a.size() - 1; i >= 0; --i) {
    const QChar x = a.at(i);
    const QChar y = b.at(i);
    if (x != y && Upper(x) != Upper(y)) return false;
  }
  return true;
}

QString FastIntToStr(int value) { return QString::number(value); }

bool CharInSet(const QString& set, QChar c) { return set.contains(c); }

int WordCount(const QString& text, const QString& separators) {
  int count = 0;
  bool inWord = false;
  for (const QChar c : text) {
    const bool separator = separators.contains(c);
    if (!separator && !inWord) ++count;
    inWord = !separator;
  }
  return count;
}

int WordPosition(int n, const QString& text, const QString& separators) {
  return static_cast<int>(WordStart(n, text, separators) + 1);
}

QString ExtractWord(int n, const QString& text, const QString& separators) {
  const qsizetype start = WordStart(n, text, separators);
  if (start < 0) return {};
  qsizetype end = start;
  while (end < text.size() && !separators.contains(text.at(end))) ++end;
  return text.mid(start, end - start);
}

int FindCharPos(const QString& text, QChar c) { return static_cast<int>(text.indexOf(c) + 1); }

QString TranslateChars(const QString& text, const QString& from, const QString& to) {
  if (from.size() != to.size()) return text;
  QString out = text;
  for (QChar& c : out) {
    const qsizetype at = from.indexOf(c);
    if (at >= 0) c = to.at(at);
  }
  return out;
}

QByteArray XorWithKey(const QByteArray& text, const QByteArray& key) {
  QByteArray out = text;
  if (key.isEmpty()) return out;
  qsizetype k = key.size() - 1;
  for (char& byte : out) {
    const char keyByte = key.at(k);
    if (byte != keyByte) byte = static_cast<char>(byte ^ keyByte);
    k = k == 0 ? key.size() - 1 : k - 1;
  }
  return out;
}

bool BitIsSet(uint32_t mask, int n) { return n >= 1 && n <= 32 && (mask >> (n - 1) & 1u) != 0; }

int NextSetBit(uint32_t mask, int n) {
  // Bits are numbered from 1 like the days of a recurrence mask, so "after day n" is
  // every number above n: the bit with index n (0-based) upwards.
  if (n < 0 || n > 31) return 0;
  const uint32_t above = mask & (~0u << n);
  if (above == 0) return 0;
  int bit = 1;
  for (uint32_t m = above; (m & 1u) == 0; m >>= 1) ++bit;
  return bit;
}

bool TryStrToInt(const QString& text, int& value) {
  qsizetype i = 0;
  while (i < text.size() && text.at(i) == QLatin1Char(' ')) ++i;
  bool negative = false;
  if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
    negative = text.at(i++) == QLatin1Char('-');
  int base = 10;
  if (i < text.size() && text.at(i) == QLatin1Char('$')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text.at(i) == QLatin1Char('0') && text.at(i + 1).toLower() == QLatin1Char('x')) {
    base = 16;
    i += 2;
  } else if (i < text.size() && text.at(i).toLower() == QLatin1Char('x')) {
    base = 16;
    ++i;
  }
  if (i == text.size()) return false;
  const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  uint64_t number = 0;
  for (; i < text.size(); ++i) {
    const int digit = HexDigitValue(text.at(i).unicode());
    if (digit < 0 || digit >= base) return false;
    number = number * base + static_cast<uint64_t>(digit);
    if (number > limit) return false;
  }
  const auto bits = static_cast<uint32_t>(number);
  value = static_cast<int>(negative ? 0u - bits : bits);
  return true;
}

int StrToIntDef(const QString& text, int defaultValue) {
  int value = 0;
  return TryStrToInt(text, value) ? value : defaultValue;
}
