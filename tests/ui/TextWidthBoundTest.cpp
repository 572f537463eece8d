#include "TaskPresentationFixture.h"

#include "ui/TaskRowState.h"
#include "ui/TextWidthBound.h"

#include <QFontMetrics>

#include <limits>
#include <random>

namespace {

// The fonts the program ships and the names it maps to them, in the styles rows use.
std::vector<QFont> ShippedFonts() {
  std::vector<QFont> fonts;
  for (const char* family : {"MS Sans Serif", "DejaVu Serif", "Arial", "Times New Roman"})
    for (int style = 0; style < 3; ++style)
      for (int size : {8, 13}) {
        QFont font(QString::fromLatin1(family));
        font.setPointSize(size);
        font.setBold(style == 1);
        font.setItalic(style == 2);
        fonts.push_back(font);
      }
  return fonts;
}

// Texts that kern wider than their letters in some of those fonts, that join letters
// into one glyph, or that mix both, then random texts of table characters weighted to
// the letters that join.
QStringList Texts() {
  QStringList texts;
  for (const char* widening : {"«Æ", "C-", "TT", "Þ-", "O-", "f?", "f*", "XÆ", "KÆ", "Afi", "Aff"})
    texts << QString::fromUtf8(widening).repeated(8);
  texts << QStringLiteral("file a fix") << QStringLiteral("office") << QStringLiteral("fifl«fi»")
        << QStringLiteral("Müller café") << QStringLiteral("ff fi fl ffl") << QStringLiteral("T.fi-Æfl");
  QString alphabet = QStringLiteral("ffffiiiilllltTAVWoO.-«»Æ ");
  for (char16_t c = 0x20; c < 0x7F; ++c) alphabet += QChar(c);
  for (char16_t c = 0xA1; c <= 0xFF; ++c) alphabet += QChar(c);
  std::mt19937 rng(7);
  for (int i = 0; i < 1500; ++i) {
    QString text;
    const int length = 1 + static_cast<int>(rng() % 40);
    for (int k = 0; k < length; ++k) text += alphabet[static_cast<qsizetype>(rng() % alphabet.size())];
    texts << text;
  }
  return texts;
}

TEST(TextWidthBoundTest, BoundIsNeverBelowTheWidthInTheShippedFonts) {
  const QStringList texts = Texts();
  for (const QFont& font : ShippedFonts()) {
    const TTextWidthBound bound(font);
    const QFontMetrics metrics(font);
    int bounded = 0;
    for (const QString& text : texts) {
      const int upper = bound.UpperBound(text);
      if (upper < 0) continue;
      ++bounded;
      ASSERT_GE(upper, metrics.horizontalAdvance(text)) << font.toString().toStdString() << " " << text.toStdString();
    }
    // Most texts get a bound, and a close one for plain words.
    EXPECT_GT(bounded, texts.size() / 2) << font.toString().toStdString();
    const QString title = QStringLiteral("Call the supplier about the final invoice");
    const int width = metrics.horizontalAdvance(title);
    EXPECT_LE(bound.UpperBound(title), width + width / 20 + 2) << font.toString().toStdString();
  }
}

TEST(TextWidthBoundTest, TextsOutsideTheTableHaveNoBound) {
  const TTextWidthBound bound(QFont(QStringLiteral("MS Sans Serif")));
  struct Case {
    const char* name;
    QString text;
  };
  const Case cases[] = {
      {"Japanese", QStringLiteral("日本語")},
      {"Greek within Latin", QStringLiteral("alpha α")},
      {"tab", QStringLiteral("a\tb")},
      {"soft hyphen", QStringLiteral("co\u00ADop")},
      {"emoji", QStringLiteral("ok \U0001F600")},
  };
  for (const Case& c : cases) EXPECT_EQ(bound.UpperBound(c.text), -1) << c.name;
  EXPECT_EQ(bound.UpperBound(QString()), 0);
}

// The first fit of a large list measures few texts exactly: it must find what measuring
// every text finds, in the real fonts of the row states.
class RowStateBoundTest : public TaskPresentationFixture {};

TEST_F(RowStateBoundTest, BoundedFitFindsTheWidestTextsOfTheRowStates) {
  options.DisplayNotes = true;
  options.HighFont.Bold = true;
  options.UrgentFont.Size = 13;
  const QStringList words = {QStringLiteral("office"), QStringLiteral("file"),   QStringLiteral("Müller"),
                             QStringLiteral("«Æ»"),    QStringLiteral("WWW"),    QStringLiteral("iii"),
                             QStringLiteral("日本語"), QStringLiteral("C-"),     QStringLiteral("fix"),
                             QStringLiteral("call"),   QStringLiteral("AVATAR"), QStringLiteral("")};
  std::mt19937 rng(3);
  std::vector<const TTdTodo*> visible;
  for (int i = 0; i < 400; ++i) {
    QString title;
    for (int k = 0, n = 1 + static_cast<int>(rng() % 6); k < n; ++k) title += words[rng() % words.size()] + u' ';
    TTdTodo& t = AddTask(title.trimmed(), i + 1);
    t.Priority = static_cast<int32_t>(rng() % 5);
    if (rng() % 2) t.Notes = words[rng() % words.size()].repeated(1 + static_cast<int>(rng() % 5));
    visible.push_back(&t);
  }
  const auto visit = [&](const std::function<void(const TTdTodo&)>& each) {
    for (const TTdTodo* t : visible) each(*t);
  };
  TRowStateMeasurer measurer;
  measurer.Reset(options);
  TColumnFitter bounded(measurer, 0);
  TColumnFitter exact(measurer, std::numeric_limits<int>::max());
  EXPECT_EQ(bounded.LargestTexts(visit, Context()), exact.LargestTexts(visit, Context()));
  EXPECT_LT(bounded.MeasureCount(), exact.MeasureCount() / 2);
}

}  // namespace
