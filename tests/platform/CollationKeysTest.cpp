#include "platform/CollationKeys.h"

#include <QCollator>

#include <gtest/gtest.h>

#include <string_view>

namespace {

using namespace std::string_view_literals;

int Sign(int v) { return (v > 0) - (v < 0); }

// Letters a locale sorts apart from the root order (Swedish å, ä, ö after z; Czech ch
// after h; Turkish dotless i; Danish aa; Thai vowels written first), case and accents,
// ß and its expansion, punctuation, digits, other scripts, a character beyond the basic
// plane, a zero character inside a text, and texts that differ just past a key's first
// eight bytes.
const std::string_view kTexts[] = {
    ""sv, "a"sv, "A"sv, "ä"sv, "Ä"sv, "ae"sv, "b"sv, "ch"sv, "cz"sv, "c"sv, "h"sv, "i"sv, "I"sv, "ı"sv, "İ"sv,
    "ss"sv, "ß"sv, "Straße"sv, "Strasse"sv, "æ"sv, "aa"sv, "å"sv, "z"sv, "ö"sv, "oe"sv, "10"sv, "9"sv,
    "a-b"sv, "ab"sv, "a b"sv, "ab "sv, "Échelle"sv, "echo"sv, "é"sv, "e\xCC\x81"sv, "ll"sv, "ñ"sv, "n"sv,
    "co-op"sv, "coop"sv, "ω"sv, "Я"sv, "日本"sv, "にほん"sv, "\xF0\x9F\x98\x80"sv, "a\0b"sv, "a\0"sv,
    "abcdefgh1"sv, "abcdefgh2"sv, "Task 12"sv, "task 12"sv, "Task 120"sv, "supplier invoice meeting review"sv,
    "supplier invoice meeting reviews"sv, "ก"sv, "ข"sv, "เก"sv};

std::vector<QString> Texts() {
  std::vector<QString> texts;
  for (std::string_view text : kTexts) texts.push_back(QString::fromUtf8(text.data(), qsizetype(text.size())));
  return texts;
}

TEST(CollationKeys, OrderAsTheLocalesCaseInsensitiveCollator) {
  // Every locale Qt knows, since some set defaults of their own (Thai ignores
  // punctuation unless told otherwise), and the C locale.
  QList<QLocale> locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  locales.append(QLocale::c());
  const std::vector<QString> texts = Texts();
  for (const QLocale& locale : locales) {
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    TCollationKeyMaker maker(locale);
    TCollationKeyArena arena;
    std::vector<TCollationKey> keys;
    for (const QString& text : texts) keys.push_back(maker.Make(text, arena));
    int wrong = 0;
    QString example;
    for (size_t a = 0; a < texts.size(); ++a)
      for (size_t b = 0; b < texts.size(); ++b)
        if (Sign(keys[a].compare(keys[b])) != Sign(collator.compare(texts[a], texts[b])) && !wrong++)
          example = texts[a] + QStringLiteral(" / ") + texts[b];
    EXPECT_EQ(wrong, 0) << locale.name().toStdString() << ", for one: " << example.toStdString();
  }
}

TEST(CollationKeys, KeysLongerThanABlockAndCopiesOrderAsTheirTexts) {
  // A text whose key outgrows both the maker's buffer and an arena block.
  const QString longText(300000, QLatin1Char('m'));
  TCollationKeyMaker maker(QLocale(QLocale::German, QLocale::Germany));
  TCollationKeyArena arena;
  const TCollationKey shorter = maker.Make(longText, arena);
  const TCollationKey longer = maker.Make(longText + QLatin1Char('n'), arena);
  const TCollationKey small = maker.Make(QStringLiteral("n"), arena);
  EXPECT_LT(shorter.compare(longer), 0);
  EXPECT_LT(longer.compare(small), 0);
  TCollationKeyArena other;
  const TCollationKey copy = TCollationKeyMaker::CopyInto(longer, other);
  EXPECT_EQ(copy.compare(longer), 0);
  EXPECT_NE(copy.Bytes, longer.Bytes);
  EXPECT_GT(copy.compare(shorter), 0);
}

}  // namespace
