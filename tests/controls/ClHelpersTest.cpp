#include "controls/FmFonts.h"
#include "controls/clintl.h"
#include "controls/clmisc.h"
#include "controls/clstr.h"
#include "QtPrinters.h"

#include <QFontInfo>
#include <QMap>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// Every character is 10 pixels wide: widths in the cases read as character counts.
int TenPerChar(const QString& text) { return static_cast<int>(text.size()) * 10; }

TEST(ShortenPathToWidth, KeepsLeadingFoldersThenGapAndName) {
  const struct {
    const char* path;
    int chars;  // width in characters
    const char* expected;
  } cases[] = {
      {"/home/ann/data/tasks/todo.tbl", 0, "/home/ann/data/tasks/todo.tbl"},         // width 0: unchanged
      {"/home/ann/data/tasks/todo.tbl", 29, "/home/ann/data/tasks/todo.tbl"},        // exactly fits
      {"/home/ann/data/tasks/todo.tbl", 28, "/home/ann/data/.../todo.tbl"},          // last folder goes
      {"/home/ann/data/tasks/todo.tbl", 22, "/home/ann/.../todo.tbl"},               // "not wider than"
      {"/home/ann/data/tasks/todo.tbl", 13, "/.../todo.tbl"},                        // down to the root
      {"/home/ann/data/tasks/todo.tbl", 12, "/.../todo..."},                         // cut with an ellipsis
      {"/home/ann/data/tasks/", 19, "/home/.../tasks/"},                             // folder path keeps its last folder
      {"ann/data/tasks/todo.tbl", 16, "ann/.../todo.tbl"},                           // relative: first folder stays
      {"averyveryverylongname", 10, "averyve..."},                                 // no folder at all
  };
  for (const auto& c : cases) {
    const QString shortened = ShortenPathToWidth(QString::fromUtf8(c.path), c.chars * 10, TenPerChar);
    EXPECT_EQ(shortened, QString::fromUtf8(c.expected)) << c.path << " in " << c.chars;
    if (c.chars > 3) {
      EXPECT_LE(TenPerChar(shortened), c.chars * 10) << c.path;
    }
  }
}

TEST(ClStrHelpers, ForgiveStalePositions) {
  QString text = QStringLiteral("abc");
  StrDeleteChar(text, 5);
  EXPECT_EQ(text, "abc");
  StrDeleteChar(text, 1);
  EXPECT_EQ(text, "ac");
  StrInsertChar(text, QLatin1Char('x'), 9);
  EXPECT_EQ(text, "acx");
  StrInsertChar(text, QLatin1Char('b'), 1);
  EXPECT_EQ(text, "abcx");

  EXPECT_EQ(StrFindChar(QString(), QLatin1Char('a')), std::nullopt);
  EXPECT_EQ(StrFindChar(text, QLatin1Char('c')), 2);
  EXPECT_EQ(StrFindChar(text, QLatin1Char('q')), std::nullopt);
  EXPECT_EQ(StrFindSubstr(text, QStringLiteral("cx")), 2);
  EXPECT_EQ(StrFindSubstr(text, QString()), std::nullopt);
  EXPECT_EQ(StrFindSubstr(QStringLiteral("ab"), QStringLiteral("abc")), std::nullopt);
}

TEST(ClMisc, SmallHelpers) {
  EXPECT_EQ(ShiftFlagsFromModifiers(Qt::NoModifier), 0);
  EXPECT_EQ(ShiftFlagsFromModifiers(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 14);
  EXPECT_EQ(ShiftFlagsFromModifiers(Qt::ControlModifier), 4);
  EXPECT_EQ(MaxL(-3, -7), -3);
  EXPECT_EQ(DefaultEpoch(QDate(2026, 12, 10)), 2000);
  EXPECT_EQ(DefaultEpoch(QDate(1999, 1, 1)), 1900);

  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(13);
  font.setWeight(QFont::DemiBold);
  font.setItalic(true);
  const TRotatedFont rotated = CreateRotatedFont(font, 45);
  EXPECT_EQ(rotated.escapement, 450);
  EXPECT_EQ(rotated.font.pixelSize(), 13);
  EXPECT_EQ(rotated.font.weight(), QFont::Bold);
  EXPECT_TRUE(rotated.font.italic());
}

TEST(ClMisc, UniqueComponentNameTakesTheFirstFreeNumber) {
  QWidget form;
  form.setObjectName(QStringLiteral("Page1"));
  QObject child(&form);
  child.setObjectName(QStringLiteral("page2"));  // names compare without case
  EXPECT_EQ(UniqueComponentName(form, QStringLiteral("Page")), "Page3");
  EXPECT_EQ(UniqueComponentName(form, QStringLiteral("Label")), "Label1");
  EXPECT_THROW(UniqueComponentName(form, QStringLiteral("1Page")), EInvalidComponentName);
  EXPECT_THROW(UniqueComponentName(form, QString()), EInvalidComponentName);
}

TEST(FontMapping, FormFontsResolveToInstalledFamilies) {
  const struct {
    const char* requested;
    const char* installed;
  } cases[] = {{"MS Sans Serif", "Liberation Sans"}, {"Arial", "Liberation Sans"},
               {"Times New Roman", "Liberation Serif"}, {"Verdana", "DejaVu Sans"},
               {"DejaVu Sans Mono", "DejaVu Sans Mono"}};
  for (const auto& c : cases) {
    const QFont font = MappedFont(QString::fromUtf8(c.requested), 11);
    EXPECT_EQ(font.family(), QString::fromUtf8(c.installed)) << c.requested;
    EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(c.installed)) << c.requested << " is not installed";
    EXPECT_TRUE(IsOutlineFont(font)) << c.requested;
  }
}

TEST(ClIntlSup, ReadsOverridesAndFallsBackToTheLocale) {
  const QLocale german(QLocale::German, QLocale::Germany);
  const TClIntlSup plain(german);
  EXPECT_EQ(plain.decimalSeparator, QLatin1Char(','));
  EXPECT_EQ(plain.thousandSeparator, QLatin1Char('.'));
  EXPECT_EQ(plain.shortDateMask, "MM/dd/yy");
  EXPECT_EQ(plain.longDateMask, "wwww, nnnn dd, yyyy");
  EXPECT_EQ(plain.yesChar, QLatin1Char('Y'));
  EXPECT_EQ(plain.falseChar, QLatin1Char('F'));

  const QMap<QString, QString> profile{{"sDecimal", "."},     {"sThousand", "."},      {"sCurrency", "EUR"},
                                       {"iCurrency", "3"},    {"sDate", "."},          {"sShortDate", "dd.MM.yyyy"},
                                       {"sLongDate", "dddd,d'. de 'MMMM'x'yyyy"}, {"s1159", "vormittags"}};
  const TClIntlSup tuned(german, [&](const QString& key) -> std::optional<QString> {
    if (!profile.contains(key)) return std::nullopt;
    return profile.value(key);
  });
  // Equal separators are refused as a pair: both come from the locale.
  EXPECT_EQ(tuned.decimalSeparator, QLatin1Char(','));
  EXPECT_EQ(tuned.thousandSeparator, QLatin1Char('.'));
  EXPECT_EQ(tuned.currencyBefore, "EUR");
  EXPECT_EQ(tuned.currencyAfter, " EUR");
  EXPECT_EQ(tuned.shortDateMask, "dd/MM/yyyy");
  EXPECT_EQ(tuned.longDateMask, "wwww, dfffffnnnngyyyy");
  EXPECT_EQ(tuned.longDateLiterals[0], ". de ");
  EXPECT_EQ(tuned.longDateLiterals[1], "x");
  EXPECT_EQ(tuned.amText, "vormi");
}

}  // namespace
