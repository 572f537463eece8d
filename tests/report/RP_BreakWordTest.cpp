// The syllable rule for Cyrillic words: where a word may take a hyphen at a line's end.
#include "report/engine/RP_BreakWord.h"

#include <QString>

#include <gtest/gtest.h>

namespace {

struct BreakCase {
  QString word;
  std::vector<int> expected;  // UTF-16 units before each break
};

TEST(BreakWord, SyllableRule) {
  const QString emoji = QStringLiteral("😀");
  const BreakCase cases[] = {
      {QStringLiteral("молоко"), {2, 4}},        // мо-ло-ко: vowel, then a vowel two on
      {QStringLiteral("МоЛоКо"), {2, 4}},        // compared in upper case
      {QStringLiteral("корова"), {2, 4}},
      {QStringLiteral("программа"), {4, 7}},     // прог-рам-ма: consonant pairs split before a vowel
      {QStringLiteral("мама"), {2}},
      {QStringLiteral("поёт"), {2}},             // Ё is a vowel
      {QStringLiteral("объём"), {3}},            // a sign takes the break after it
      {QStringLiteral("подъезд"), {4}},
      {QStringLiteral("подъе.м"), {}},           // but not before a separator two on
      {QStringLiteral("кот"), {}},               // three characters: no breaks
      {QStringLiteral("ок"), {}},
      {QString(), {}},
      {QStringLiteral("program"), {}},           // Latin letters are no vowels
      {QStringLiteral("мо") + emoji + QStringLiteral("локо"), {4, 6}},  // counted by character, offsets in units
  };
  for (const BreakCase& c : cases) {
    EXPECT_EQ(BreakWord(c.word), c.expected) << c.word.toStdString();
  }
}

}  // namespace
