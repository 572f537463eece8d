// The measuring canvas on a real font: the pixel height a point size takes, the
// character extra counted once per character, and wrapping whose lines the font's own
// measure finds no wider than the memo and which lose no character.
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_TextMeasurer.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextLayout>

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

// Lines the measurer lays out from its learned characters and pairs must be what the
// toolkit's shaping makes of them: the same glyphs at the same places and the same
// width, kerned pairs ("AV", "To", "Ye") included; a ligature or a character outside
// Latin-1 is left to the shaping.
class ShapedLines : public ::testing::TestWithParam<const char*> {
protected:
  static QStringList Texts() {
    return {QStringLiteral("Task number 1234 of the list"), QStringLiteral("AVATAR Today, WAVE Yes; y.o.y"),
            QStringLiteral("Caf\u00e9 \u00dcberpr\u00fcfung \u00a0 \u00bd (x) [y] {z}"),
            QStringLiteral("office fluffy affine"), QStringLiteral("\u0394\u03b5\u03bb\u03c4\u03b1 \u2192 x"),
            QStringLiteral("a")};
  }
  static QFont Font(int pixels, bool bold) {
    QFont font(QString::fromLatin1(GetParam()));
    font.setBold(bold);
    font.setPixelSize(pixels);
    return font;
  }
};

TEST_P(ShapedLines, AreTheToolkitsOwnShaping) {
  int learned = 0;
  // A screen's size and a printer's, plain and bold.
  for (const auto& [pixels, bold] : {std::pair{13, false}, std::pair{175, false}, std::pair{175, true}}) {
    const TrpFontMeasurer measurer(Font(pixels, bold), pixels);
    for (const QString& text : Texts()) {
      SCOPED_TRACE(text.toStdString() + " at " + std::to_string(pixels) + (bold ? " bold" : ""));
      const double expectedWidth = QFontMetricsF(measurer.Font()).horizontalAdvance(text);
      EXPECT_DOUBLE_EQ(measurer.TextWidth(text), expectedWidth);
      TrpShapedLine line;
      if (!measurer.ShapedLine(text, line)) {
        EXPECT_TRUE(text.contains(u'f') || std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0xFF; }));
        continue;
      }
      QTextLayout layout(text, measurer.Font());
      layout.beginLayout();
      layout.createLine();
      layout.endLayout();
      const QList<QGlyphRun> runs = layout.glyphRuns();
      ASSERT_EQ(runs.size(), 1);
      EXPECT_EQ(line.glyphs, runs[0].glyphIndexes());
      const QList<QPointF> shaped = runs[0].positions();
      ASSERT_EQ(line.positions.size(), shaped.size());
      for (qsizetype i = 0; i < shaped.size(); ++i)
        EXPECT_DOUBLE_EQ(line.positions[i].x(), shaped[i].x() - shaped[0].x()) << i;
      EXPECT_DOUBLE_EQ(line.width, expectedWidth);
      // What the glyphs cover: the toolkit's own box of the line's ink, within a pixel.
      const QRectF ink = QFontMetricsF(measurer.Font()).tightBoundingRect(text);
      EXPECT_NEAR(line.ink.left(), ink.left(), 1.0);
      EXPECT_NEAR(line.ink.right(), ink.right(), 1.0);
      EXPECT_NEAR(line.ink.top(), ink.top(), 1.0);
      EXPECT_NEAR(line.ink.bottom(), ink.bottom(), 1.0);
      ++learned;
    }
  }
  EXPECT_GE(learned, 9);  // the first, second and last line in each at least
}

// A PDF page of lines drawn as learned glyph runs holds the very bytes the same lines
// drawn as text give.
TEST_P(ShapedLines, PrintTheSameAsText) {
  const TrpFontMeasurer measurer(Font(175, false), 175);
  auto pdf = [&](bool asGlyphs) {
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    QPainter painter(&writer);
    painter.setFont(measurer.Font());
    QGlyphRun run;
    run.setRawFont(measurer.RawFont());
    int y = 300;
    for (const QString& text : Texts()) {
      TrpShapedLine line;
      const QPointF origin(517, y + measurer.Ascent());
      if (asGlyphs && measurer.ShapedLine(text, line)) {
        run.setGlyphIndexes(line.glyphs);
        run.setPositions(line.positions);
        painter.drawGlyphRun(origin, run);
      } else {
        painter.drawText(origin, text);
      }
      y += 236;
    }
    painter.end();
    return QString::fromLatin1(file.data()).remove(QRegularExpression(QStringLiteral("/CreationDate \\([^)]*\\)")));
  };
  const QString text = pdf(false);
  EXPECT_EQ(pdf(true), text);
}

INSTANTIATE_TEST_SUITE_P(Fonts, ShapedLines, ::testing::Values("Arial", "Times New Roman", "DejaVu Sans"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::erase(name, ' ');
                           return name;
                         });

}  // namespace
