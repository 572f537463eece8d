// Wrapping many generated texts at many widths, with and without syllable breaks: every
// wrap ends, loses and reorders no character, never splits a surrogate pair, marks each
// paragraph once, and keeps every line within the width unless it is one character.
#include "FixedWidthMeasurer.h"
#include "report/engine/RP_MemoLayout.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const QString kPieces[] = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral(" "), QStringLiteral("м"),
                           QStringLiteral("о"), QStringLiteral("л"),  QStringLiteral("ъ"), QStringLiteral("😀"),
                           QStringLiteral("W"), QStringLiteral("\n"), QStringLiteral("\r\n")};

QString Generate(std::mt19937& random) {
  std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> length(0, 40);
  QString text;
  for (int n = length(random); n > 0; --n) text += kPieces[piece(random)];
  return text;
}

// Characters that must survive wrapping: all but blanks and line breaks.
QString Visible(QStringView text) {
  QString visible;
  for (QChar c : text) {
    if (c != u' ' && c != u'\r' && c != u'\n') visible += c;
  }
  return visible;
}

int ExpectedMarks(const QString& text) {
  int runs = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const bool isBreak = text[i] == u'\r' || text[i] == u'\n';
    if (isBreak && (i == 0 || (text[i - 1] != u'\r' && text[i - 1] != u'\n'))) ++runs;
  }
  const bool endsInBreak = !text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n');
  return 1 + runs - (endsInBreak ? 1 : 0);
}

TEST(WrapLineProperties, HoldForGeneratedTexts) {
  FixedWidthMeasurer measurer;
  measurer.With(U'W', 25).With(U'😀', 14);
  std::mt19937 random(20261211);
  for (int round = 0; round < 3000; ++round) {
    const QString text = Generate(random);
    const double width = std::array{-5.0, 0.0, 5.0, 10.0, 14.0, 25.0, 40.0, 100.0}[round % 8];
    const bool wordBreak = round % 3 == 0;
    QStringList lines;
    TrpLineWrapper(measurer, width, wordBreak).WrapLine(text, lines);

    const std::string context = "text \"" + text.toStdString() + "\" width " + std::to_string(width);
    QString kept;
    int marks = 0;
    for (const QString& line : lines) {
      marks += rpEndsParagraph(line) ? 1 : 0;
      QStringView shown = rpWithoutMark(line);
      ASSERT_FALSE(shown.contains(QChar(kRpParagraphMark))) << context;
      const bool hyphenated = !rpEndsParagraph(line) && shown.endsWith(u'-');
      ASSERT_TRUE(!hyphenated || wordBreak) << context;
      if (!shown.isEmpty()) {
        ASSERT_FALSE(shown.front().isLowSurrogate()) << context;
        ASSERT_FALSE(shown.back().isHighSurrogate()) << context;
      }
      // Trailing blanks are not drawn over anything; what shows fits, or is one character.
      QStringView drawn = shown;
      while (!drawn.isEmpty() && drawn.back() == u' ') drawn.chop(1);
      if (drawn.toString().toUcs4().size() > 1) {
        ASSERT_LE(measurer.TextWidth(drawn), width) << context << " line \"" << line.toStdString() << '"';
      }
      if (hyphenated) shown.chop(1);
      kept += Visible(shown);
    }
    ASSERT_EQ(kept, Visible(text)) << context;
    ASSERT_EQ(marks, ExpectedMarks(text)) << context;
    ASSERT_TRUE(rpEndsParagraph(lines.back())) << context;
  }
}

}  // namespace
