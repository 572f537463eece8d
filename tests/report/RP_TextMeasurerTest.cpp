// The measuring canvas on a real font: the pixel height a point size takes, the
// character extra counted once per character, and wrapping whose lines the font's own
// measure finds no wider than the memo and which lose no character.
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_TextMeasurer.h"

#include <QFontDatabase>

#include <gtest/gtest.h>

namespace {

QFont TestFont() { return QFont(QStringLiteral("DejaVu Sans")); }

TEST(TextMeasurer, PixelHeightOfAPointSize) {
  EXPECT_EQ(rpMeasuringPixelHeight(10), 13);        // 13.33
  EXPECT_EQ(rpMeasuringPixelHeight(12, 2.0), 32);
  EXPECT_EQ(rpMeasuringPixelHeight(1.875), 2);      // 2.5: halves to even
  EXPECT_EQ(rpMeasuringPixelHeight(2.625), 4);      // 3.5
}

TEST(TextMeasurer, CharacterExtraOncePerCharacter) {
  const TrpFontMeasurer plain(TestFont(), 13);
  const TrpFontMeasurer spaced(TestFont(), 13, 3);
  EXPECT_EQ(plain.PixelHeight(), 13);
  EXPECT_GT(plain.Ascent(), 0);
  EXPECT_DOUBLE_EQ(spaced.CharWidth(U'a'), plain.CharWidth(U'a') + 3);
  EXPECT_DOUBLE_EQ(spaced.TextWidth(u"abc"), plain.TextWidth(u"abc") + 9);
  // A surrogate pair is one character.
  const QString emoji = QStringLiteral("x😀");
  EXPECT_DOUBLE_EQ(spaced.TextWidth(emoji), plain.TextWidth(emoji) + 6);
  EXPECT_EQ(plain.TextWidth(u""), 0);
  EXPECT_GT(plain.CharWidth(U'😀'), 0);
}

TEST(TextMeasurer, WrappedLinesFitAndKeepEveryCharacter) {
  const TrpFontMeasurer measurer(TestFont(), 13, 1);
  const QString text = QStringLiteral(
      "The quick brown fox jumps over the lazy dog; pack my box with five dozen liquor jugs. "
      "Supercalifragilisticexpialidocious words are cut where they overflow, and nothing is lost.");
  const double width = 120;
  QStringList lines;
  TrpLineWrapper(measurer, width, false).WrapLine(text, lines);
  ASSERT_GT(lines.size(), 3);
  QString kept;
  for (const QString& line : lines) {
    const QStringView shown = rpWithoutMark(line);
    EXPECT_LE(measurer.TextWidth(shown), width + 0.5) << line.toStdString();
    kept += shown;
  }
  EXPECT_TRUE(rpEndsParagraph(lines.back()));
  EXPECT_EQ(QString(kept).remove(u' '), QString(text).remove(u' '));
}

}  // namespace
