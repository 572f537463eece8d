#include "controls/FmNumFormat.h"
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

const TNumSeparators kEnglish{QLatin1Char('.'), QLatin1Char(',')};
const TNumSeparators kGerman{QLatin1Char(','), QLatin1Char('.')};

TEST(FormatNumber, SectionedMasksOverTheLocaleSeparators) {
  const struct {
    const char* mask;
    double value;
    TNumSeparators separators;
    const char* shown;
  } cases[] = {
      {",0;(,0)", 1234567, kEnglish, "1,234,567"},  // the edit's default format
      {",0;(,0)", -1234.5, kEnglish, "(1,235)"},    // halves round away from zero
      {",0;(,0)", 0, kEnglish, "0"},
      {",0;(,0)", -0.4, kEnglish, "0"},             // rounds to zero: no negative section
      {",0", 1234567, kGerman, "1.234.567"},
      {"0;(0)", -5, kEnglish, "(5)"},
      {"0", -5, kEnglish, "-5"},
      {"0;", -3, kEnglish, "-3"},                   // empty negative section: the first one
      {"0", 2.5, kEnglish, "3"},
      {"0.00", 3.14159, kGerman, "3,14"},
      {"#,##0.00", 1234.5, kGerman, "1.234,50"},
      {"0.##", 5, kEnglish, "5"},                   // no fraction, no separator
      {"0.##", 5.1, kEnglish, "5.1"},
      {"#.00", 0.5, kEnglish, ".50"},
      {"#", 0, kEnglish, ""},
      {"00000", 42, kEnglish, "00042"},
      {"000-000", 123456, kEnglish, "123-456"},
      {"0-0", 12345, kEnglish, "1234-5"},           // extra digits go to the first placeholder
      {"0.00;(0.00);\"zero\"", 0.001, kEnglish, "zero"},
      {"0;(0);'-'", 0, kEnglish, "-"},
      {"\"$\"#,##0.00", 1234.567, kEnglish, "$1,234.57"},
      {"0 'kg'", 12, kEnglish, "12 kg"},
      {"0.00E+00", 12345, kEnglish, "1.23E+04"},
      {"0.0E-0", 0.00012, kEnglish, "1.2E-4"},
      {"0.0E-0", 99.97, kEnglish, "1.0E2"},         // rounding carries into the exponent
      {"0E+0", 2.5, kEnglish, "3E+0"},              // a mantissa's half also goes away from zero
      {"0.0E+0", -0.125, kEnglish, "-1.3E-1"},
      {"0.00E+00", 5e-324, kEnglish, "4.94E-324"},  // the smallest double keeps its digits
      {"#E-0", 0, kEnglish, "0E0"},
      {"0.00", 999.999, kEnglish, "1000.00"},
      {"", 12.5, kEnglish, "13"},
      {"0.##", 1e-221, kEnglish, "0"},              // a fixed form longer than any short buffer
      {"0", 1e22, kEnglish, "10000000000000000000000"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatNumber(c.value, QString::fromUtf8(c.mask), c.separators), QString::fromUtf8(c.shown))
        << c.mask << " of " << c.value;
  const QString huge = FormatNumber(-1e300, QStringLiteral("0"), kEnglish);
  EXPECT_EQ(huge.size(), 302) << "every one of the 301 digits, and the sign";
  EXPECT_TRUE(huge.startsWith(QStringLiteral("-1000000000000000052504760255204420")));
}

TEST(ParseNumericText, KeepsDigitsAndTheSeparatorAndReadsTheSign) {
  const struct {
    const char* text;
    QChar decimal;
    std::optional<double> value;
  } cases[] = {
      {"", QLatin1Char('.'), 0.0},          {"(12)", QLatin1Char('.'), -12.0},
      {"1a2", QLatin1Char('.'), 12.0},      {"12-", QLatin1Char('.'), -12.0},
      {"1,234,567", QLatin1Char('.'), 1234567.0},
      {"1.234,5", QLatin1Char(','), 1234.5}, {"-0,25", QLatin1Char(','), -0.25},
      {"1.2.3", QLatin1Char('.'), std::nullopt}, {"-", QLatin1Char('.'), std::nullopt},
      {"abc", QLatin1Char('.'), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseNumericText(QString::fromUtf8(c.text), c.decimal), c.value) << c.text;
}

TEST(AcceptsNumericKey, FiltersSignsSeparatorsAndEnter) {
  const struct {
    char key;
    const char* text;
    int cursor, selStart, selLength;
    bool integersOnly;
    bool accepted;
  } cases[] = {
      {'7', "12", 2, 0, 0, true, true},
      {'a', "12", 2, 0, 0, true, false},
      {'\b', "12", 2, 0, 0, true, true},   // control characters pass
      {'\r', "12", 2, 0, 0, true, false},  // but not Enter
      {'.', "12", 2, 0, 0, true, false},   // whole numbers only
      {'.', "12", 2, 0, 0, false, true},
      {'.', "1.2", 3, 0, 0, false, false},  // a second separator
      {'.', "1.2", 2, 1, 1, false, true},   // ... unless it replaces the first
      {'.', "1.25", 4, 2, 2, false, false}, // a selection without the separator
      {'-', "12", 0, 0, 0, true, true},
      {'-', "12", 1, 0, 0, true, false},    // only at the start
      {'+', "-12", 0, 0, 0, true, false},   // only one sign
      {'-', "-12", 3, 0, 3, true, true},    // the whole text selected
      {',', "12", 2, 0, 0, false, false},
  };
  for (const auto& c : cases) {
    TNumericKeyContext context{QString::fromUtf8(c.text), c.cursor, c.selStart, c.selLength, c.integersOnly,
                               QLatin1Char('.')};
    EXPECT_EQ(AcceptsNumericKey(QLatin1Char(c.key), context), c.accepted) << "'" << c.key << "' into " << c.text;
  }
}

}  // namespace
