// Number formats, date-time formats, edit masks and the date and time readers, under
// the pinned United States settings.
#include "ReportTestSupport.h"
#include "platform/AppContext.h"
#include "platform/DateTime.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"

namespace {

using FormatTest = ReportEngineTest;

TEST_F(FormatTest, FormatFloat) {
  const struct {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"0.00", 1234.5, "1234.50"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0.00", 999.999, "1,000.00"},
      {"0.00", 1.005, "1.00"},  // 1.005 is a little below the half in binary
      {"#.##", 0, ""},
      {"0.0#", 1.5, "1.5"},
      {"0.0#", 1.567, "1.57"},
      {"00.000", 1.5, "01.500"},
      {".00", 12.5, "12.50"},
      {"#", 1234, "1234"},
      {"0.00;(0.00)", -1.5, "(1.50)"},
      {"0.00;(0.00);'zero'", 0.001, "zero"},
      {"0.00;;'zero'", -0.001, "zero"},
      {"0.00", -0.001, "0.00"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.0E-0", 0.00012, "1.2E-4"},
      {"0.0E-0", 12000, "1.2E4"},
      {"'Total: '0.00", 5, "Total: 5.00"},
      {"0.00 %", 12.5, "12.50 %"},
      {"\"#\"0", 7, "#7"},
      {"", 1.5, "1.5"},
      {"0", 1e20, "1E20"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rpFormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.text))
        << c.format << " " << c.value;
  }
}

// Formats round as the platform's number formatting does: an exact half goes away from
// zero (ROUND alone takes halves to even).
TEST_F(FormatTest, FormatFloatRoundsExactHalvesAwayFromZero) {
  const struct {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"0", 2.5, "3"},
      {"0", -2.5, "-3"},
      {"0", 3.5, "4"},
      {"0", 0.5, "1"},
      {"0.00", 0.125, "0.13"},
      {"0.00", -0.125, "-0.13"},
      {"0.00", 0.375, "0.38"},
      {"#,##0", -1234.5, "-1,235"},
      {"#,##0", 999.5, "1,000"},
      {"0.0", 9.95, "9.9"},  // 9.95 lies below the half in binary
      {"0.0", 9.75, "9.8"},
      {"0.0E+00", 2.25, "2.3E+00"},
      {"0E+0", 2.5, "3E+0"},
      {"0.0E+0", 9.95e10, "1.0E+11"},  // the carry moves the exponent
      {"0.00;(0.00)", -0.125, "(0.13)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rpFormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.text))
        << c.format << " " << c.value;
  }
}

// Sections the format cannot place a number in: zero in scientific notation, a second
// point, and sections without text.
TEST_F(FormatTest, FormatFloatOddSections) {
  const struct {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"0.000E+00", 0, "0.000E+00"},
      {"0.000E-00", 0, "0.000E00"},
      {"0.000e+00", 0, "0.000e+00"},
      {"0.00E+0", 0, "0.00E+0"},
      {"0.00E+0000", 0, "0.00E+0000"},
      {"0.0#E+00", 0, "0.0E+00"},
      {"0.0.0", 12.34, "12.34"},
      {"#.#.#", 0.5, ".5"},
      {";;", 0, "0"},
      {";;", 3, "3"},
      {";;", -2.5, "-2.5"},
      {";", 0.25, "0.25"},
      {"0.00;", -1.5, "-1.50"},
      {";;'zero'", 0, "zero"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rpFormatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.text))
        << c.format << " " << c.value;
  }
}

TEST_F(FormatTest, FormatFloatUsesTheLocaleSeparators) {
  TrpFormatSettings german = PinnedFormatSettings();
  german.DecimalSeparator = u',';
  german.ThousandSeparator = u'.';
  const TrpContextScope germanScope(rpContextWith([&](TrpContext& c) { c.Formats = german; }));
  EXPECT_EQ(rpFormatFloat(QStringLiteral("#,##0.00"), 1234.5), QStringLiteral("1.234,50"));
  {
    TrpScopedDecimalSeparator point(u'.');
    EXPECT_EQ(rpFormatFloat(QStringLiteral("0.0"), 2.5), QStringLiteral("2.5"));
  }
  EXPECT_EQ(rpFormatFloat(QStringLiteral("0.0"), 2.5), QStringLiteral("2,5"));
}

TEST_F(FormatTest, FormatDateTime) {
  // Tuesday, 5 March 2024, 18:07:09.045
  const double when = Day(2024, 3, 5) + (18 * 3600000.0 + 7 * 60000.0 + 9045.0) / 86400000.0;
  const struct {
    const char* format;
    const char* text;
  } cases[] = {
      {"dd.mm.yyyy", "05.03.2024"},
      {"d/m/yy", "5/3/24"},
      {"ddd, mmm d", "Tue, Mar 5"},
      {"dddd mmmm", "Tuesday March"},
      {"hh:nn:ss.zzz", "18:07:09.045"},
      {"h:mm", "18:07"},  // m right after h is the minute
      {"h:nn am/pm", "6:07 pm"},
      {"h:nn AM/PM", "6:07 PM"},
      {"h:nn a/p", "6:07 p"},
      {"hh ampm", "06 PM"},
      {"c", "3/5/2024 6:07:09 PM"},
      {"", "3/5/2024 6:07:09 PM"},
      {"ddddd", "3/5/2024"},
      {"dddddd", "Tuesday, March 5, 2024"},
      {"t", "6:07 PM"},
      {"tt", "6:07:09 PM"},
      {"'day' d \"of\" mmmm", "day 5 of March"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rpFormatDateTime(QString::fromUtf8(c.format), when), QString::fromUtf8(c.text)) << c.format;
  }
  EXPECT_EQ(rpFormatDateTime(QStringLiteral("c"), Day(2024, 3, 5)), QStringLiteral("3/5/2024"));
  TrpFormatSettings dotted = PinnedFormatSettings();
  dotted.DateSeparator = u'.';
  const TrpContextScope dottedScope(rpContextWith([&](TrpContext& c) { c.Formats = dotted; }));
  EXPECT_EQ(rpFormatDateTime(QStringLiteral("m/d/yyyy"), when), QStringLiteral("3.5.2024"));
}

TEST_F(FormatTest, FormatMaskText) {
  const struct {
    const char* mask;
    const char* text;
    const char* result;
  } cases[] = {
      {"000-0000;0; ", "5551234", "555-1234"},
      {"(999) 000-0000;0; ", "5551234", "(555) 123-4   "},
      {"!999;0; ", "12", " 12"},
      {">LLL;0; ", "abc", "ABC"},
      {"<LL>ll;0; ", "ABcd", "abCD"},
      {"\\(000\\);0; ", "123", "(123)"},
      {"00/00;0; ", "1224", "12/24"},
      {"00:00;0;_", "1", "1_:__"},
      {"000-000;1;_", "123-456", "123-456"},
      {"00;0; ", "12345", "12"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rpFormatMaskText(QString::fromUtf8(c.mask), QString::fromUtf8(c.text)), QString::fromUtf8(c.result))
        << c.mask;
  }
}

TEST_F(FormatTest, DatesAndTimesAreReadInTheLocalesOrder) {
  const TAppContextScope clock(ContextWith([](TAppContext& c) { c.Clock = [] { return Day(2026, 6, 1); }; }));
  const struct {
    const char* text;
    double value;  // -1: not a date
  } dates[] = {
      {"3/5/2024", Day(2024, 3, 5)},
      {" 3 / 5 / 2024 ", Day(2024, 3, 5)},
      {"3/5", Day(2026, 3, 5)},
      {"3/5/24", Day(2024, 3, 5)},
      {"3/5/80", Day(1980, 3, 5)},
      {"2/30/2024", -1},
      {"x", -1},
      {"1/2/3/4", -1},
      {"", -1},
  };
  for (const auto& c : dates) {
    if (c.value < 0) {
      EXPECT_THROW(rpStrToDate(QString::fromUtf8(c.text)), EConvertError) << c.text;
    } else {
      EXPECT_DOUBLE_EQ(rpStrToDate(QString::fromUtf8(c.text)), c.value) << c.text;
    }
  }
  const struct {
    const char* text;
    double value;
  } times[] = {
      {"6:30 PM", 18.5 / 24},   {"18:30:15", (18 * 3600 + 30 * 60 + 15) / 86400.0},
      {"12:00 AM", 0},          {"12:00 PM", 0.5},
      {"6 PM", 0.75},           {"1:02:03.5", (3600 + 120 + 3.5) / 86400.0},
      {"25:00", -1},            {"6", -1},
      {"13:00 PM", -1},
  };
  for (const auto& c : times) {
    if (c.value < 0) {
      EXPECT_THROW(rpStrToTime(QString::fromUtf8(c.text)), EConvertError) << c.text;
    } else {
      EXPECT_NEAR(rpStrToTime(QString::fromUtf8(c.text)), c.value, 1e-12) << c.text;
    }
  }
  EXPECT_DOUBLE_EQ(rpStrToDateTime(QStringLiteral("3/5/2024 6:00 PM")), Day(2024, 3, 5) + 0.75);

  TrpFormatSettings german = PinnedFormatSettings();
  german.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
  german.DateSeparator = u'.';
  const TrpContextScope germanScope(rpContextWith([&](TrpContext& c) { c.Formats = german; }));
  EXPECT_DOUBLE_EQ(rpStrToDate(QStringLiteral("5.3.2024")), Day(2024, 3, 5));
}

TEST_F(FormatTest, SettingsFromALocale) {
  const TrpFormatSettings german = rpFormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(german.DecimalSeparator, u',');
  EXPECT_EQ(german.DateSeparator, u'.');
  EXPECT_EQ(german.LongMonthNames[2], QStringLiteral("März"));
  const TrpContextScope germanScope(rpContextWith([&](TrpContext& c) { c.Formats = german; }));
  EXPECT_EQ(rpFormatDateTime(QStringLiteral("ddddd"), Day(2024, 3, 5)).remove(u' '), QStringLiteral("05.03.24"));
  EXPECT_DOUBLE_EQ(rpStrToDate(rpFormatDateTime(QStringLiteral("ddddd"), Day(2024, 3, 5))), Day(2024, 3, 5));
}

}  // namespace
