// Date-times and id lists as the settings file spells them.
#include "TodoTestSupport.h"

#include "core/TdOptionText.h"

#include <gtest/gtest.h>

namespace {

using DateTime::EncodeDate;
using DateTime::EncodeDateTime;

// The formats of a locale, with the short date and time given.
TFormatSettings LocaleFormats(const QLocale& locale, const QString& shortDate, const QString& shortTime) {
  TFormatSettings s = FormatSettingsFromLocale(locale);
  s.ShortDateFormat = shortDate;
  s.ShortTimeFormat = s.LongTimeFormat = shortTime;
  return s;
}

class LocalePin : public FormatPin {
public:
  LocalePin(const QLocale& locale, const QString& shortDate, const QString& shortTime)
      : FormatPin(LocaleFormats(locale, shortDate, shortTime)) {}
};

const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);

}  // namespace

TEST(OptionText, DatesAreWrittenWithFourDigitYearsAndSeconds) {
  ClockPin clock(EncodeDate(2024, 6, 1));
  struct Case {
    QLocale locale;
    const char* date;
    const char* time;
    TDateTime value;
    const char* text;
  } cases[] = {
      {kGerman, "dd.MM.yy", "HH:mm", EncodeDateTime(2004, 5, 3, 17, 5, 9), "03.05.2004 17:05:09"},
      {kGerman, "dd.MM.yy", "HH:mm", EncodeDate(2004, 5, 3), "03.05.2004"},
      {kGerman, "dd.MM.yy", "HH:mm", 0, "30.12.1899"},
      {kEnglish, "M/d/yy", "h:mm AP", EncodeDateTime(2004, 5, 3, 17, 5, 9), "5/3/2004 5:05:09 PM"},
      {kEnglish, "M/d/yy", "h:mm AP", EncodeDateTime(1999, 12, 31, 0, 0, 1), "12/31/1999 12:00:01 AM"},
      {kEnglish, "yyyy-MM-dd", "HH:mm:ss", EncodeDateTime(2061, 1, 2, 3, 4, 5), "2061-01-02 03:04:05"},
      {kGerman, "d. MMM y", "HH:mm", EncodeDate(2004, 5, 3), "3. Mai 2004"},
  };
  for (const Case& c : cases) {
    LocalePin pin(c.locale, c.date, c.time);
    EXPECT_EQ(OptionDateText(c.value), c.text) << c.date;
    EXPECT_EQ(OptionDateValue(c.text), c.value) << c.text;
  }
}

TEST(OptionText, ValuesSurviveTheirTextInTheTimeZone) {
  // 28 March 2004, 02:30 does not exist in Central European clocks; it must still come
  // back as written. Before the epoch the fraction still counts forward.
  FormatPin pin;
  for (TDateTime value : {EncodeDateTime(2004, 3, 28, 2, 30, 0), EncodeDateTime(2004, 10, 31, 2, 30, 0),
                          EncodeDateTime(1850, 7, 1, 6, 0, 0), EncodeDateTime(9999, 12, 31, 23, 59, 59)})
    EXPECT_EQ(OptionDateValue(OptionDateText(value)), value) << OptionDateText(value).toStdString();
  EXPECT_EQ(OptionDateText(EncodeDateTime(2004, 5, 3, 23, 59, 59, 999)), "03.05.2004 23:59:59");
}

TEST(OptionText, TolerantReading) {
  ClockPin clock(EncodeDate(2024, 6, 1));
  LocalePin pin(kGerman, "dd.MM.yy", "HH:mm");
  struct Case {
    const char* text;
    TDateTime value;
  } cases[] = {
      {"03.05.04", EncodeDate(2004, 5, 3)},           // the locale's own two-digit year
      {"03.05.73 08:15", EncodeDateTime(2073, 5, 3, 8, 15, 0)},  // fifty years around today
      {"03.05.74", EncodeDate(1974, 5, 3)},
      {"03.05.2004 17:05", EncodeDateTime(2004, 5, 3, 17, 5, 0)},
      {" 03.05.2004  17:05:09 ", EncodeDateTime(2004, 5, 3, 17, 5, 9)},
      {"2004-05-03 17:05:09", EncodeDateTime(2004, 5, 3, 17, 5, 9)},
      {"2004-05-03", EncodeDate(2004, 5, 3)},
      {"", 0},
      {"31.02.2004", 0},
      {"03.05.2004 25:00", 0},
      {"03.05.2004 17:05 trailing", 0},
      {"soon", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(OptionDateValue(c.text), c.value) << c.text;
}

TEST(OptionText, IdLists) {
  EXPECT_EQ(IdArrayText({}), "");
  EXPECT_EQ(IdArrayText({1, 4, 5}), "1;4;5");
  EXPECT_EQ(IdArrayText({-3}), "-3");
  EXPECT_EQ(IdArrayValue("1;4;5"), TIdArray({1, 4, 5}));
  EXPECT_EQ(IdArrayValue(";1;;;4;"), TIdArray({1, 4}));
  EXPECT_EQ(IdArrayValue("1;4.5"), TIdArray());
  EXPECT_EQ(IdArrayValue("$10;x10"), TIdArray({16, 16}));
}
