// The string tree's texts: default text, shortening, measuring and its cache, the owner's
// font, static text, multi-line height and the default search comparison.
#include "StringTreeFixture.h"

#include <QPainter>

namespace {

// Paints single cells the way the painting code will, with a column of its own.
class CellTree : public TextTree {
public:
  int columns = 0;
  void PaintCell(PLazyNode node, int column, QRect content, QImage& target) {
    QPainter painter(&target);
    TLTPaintInfo info;
    info.Canvas = &painter;
    info.Node = node;
    info.Column = column;
    info.CellRect = content;
    info.ContentRect = content;
    DoPaintNode(info);
  }

protected:
  int ColumnCount() const override { return columns; }
  int MainColumn() const override { return columns > 0 ? 0 : -1; }
  QRect ColumnBounds(int) const override { return QRect(0, 0, 100, 0); }
};

TEST(StringTree, CellsShowTheDefaultTextUntilTheOwnerAnswers) {
  TextTree tree;
  tree.SetTexts({"x", "y"});
  tree.OnGetText = nullptr;
  EXPECT_EQ(tree.GetCellText(tree.At("0"), -1), "Node");
  tree.SetDefaultText("Task");
  EXPECT_EQ(tree.GetCellText(tree.At("1"), -1), "Task");
  AssertRecorder asserts;
  EXPECT_EQ(tree.GetCellText(nullptr, -1), "");
  EXPECT_EQ(asserts.messages, QStringList{"Node must not be nil."});
}

TEST(StringTree, ShorteningKeepsTheLongestPartThatFits) {
  const QFontMetrics metrics(QApplication::font());
  const QString text = "abcdefghij";
  const int dots = metrics.horizontalAdvance("...");
  const int five = metrics.horizontalAdvance("abcde");
  struct Case {
    QString text;
    int width;
    bool rtl;
    QString expected;
  };
  const Case cases[] = {
      {"", 100, false, ""},
      {text, 0, false, ""},
      {text, dots, false, ""},  // not even the ellipsis fits beside a character
      {text, dots + five, false, "abcde..."},
      {text, dots + five - 1, false, "abcd..."},
      {text, dots + metrics.horizontalAdvance("fghij"), true, "...fghij"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitTextWithEllipsis(metrics, c.text, c.width, c.rtl), c.expected) << c.width;
}

TEST(StringTree, ACellTextIsShortenedOnlyWhenItDoesNotFit) {
  CellTree tree;
  tree.columns = 1;
  tree.SetTexts({"A rather long task title"});
  PLazyNode node = tree.At("0");
  QStringList shortened;
  tree.OnShortenString = [&](TBaseLazyTree*, QPainter&, PLazyNode, int, const QString& s, int space, bool, QString&,
                             bool&) { shortened << QString("%1@%2").arg(s).arg(space); };
  QImage image(400, 20, QImage::Format_ARGB32);
  const int text = QFontMetrics(tree.font()).horizontalAdvance("A rather long task title");
  const int margins = 2 * tree.TextMargin();
  tree.PaintCell(node, 0, QRect(0, 0, text + margins, 18), image);
  EXPECT_TRUE(shortened.isEmpty());
  tree.PaintCell(node, 0, QRect(0, 0, text + margins - 1, 18), image);
  EXPECT_EQ(shortened, QStringList{QString("A rather long task title@%1").arg(text - 1)});
}

TEST(StringTree, TheMainColumnWidthIsKeptUntilSomethingChangesIt) {
  TextTree tree;
  tree.SetTexts({"short", "a longer text"});
  PLazyNode node = tree.At("1");
  const int width = QFontMetrics(tree.font()).horizontalAdvance("a longer text") + 2 * tree.TextMargin();
  EXPECT_EQ(tree.ContentWidthOf(node, -1), width);
  EXPECT_EQ(tree.CachedTextWidth(node), width);
  tree.texts["1"] = "x";
  EXPECT_EQ(tree.ContentWidthOf(node, -1), width);  // still the kept width
  tree.InvalidateNodeRow(node);
  EXPECT_EQ(tree.CachedTextWidth(node), 0);
  EXPECT_EQ(tree.ContentWidthOf(node, -1), QFontMetrics(tree.font()).horizontalAdvance("x") + 2 * tree.TextMargin());

  tree.ContentWidthOf(tree.At("0"), -1);
  QFont big = tree.font();
  big.setPointSize(big.pointSize() + 6);
  tree.setFont(big);
  EXPECT_EQ(tree.CachedTextWidth(tree.At("0")), 0);
  EXPECT_EQ(tree.EllipsisWidth(), QFontMetrics(big).horizontalAdvance("..."));
  EXPECT_EQ(tree.TextWidthOf(node, "", -1), 2 * tree.TextMargin());
}

TEST(StringTree, AFontChangedByTheOwnerIsMeasuredAgain) {
  CellTree tree;
  tree.SetTexts({"measured"});
  PLazyNode node = tree.At("0");
  tree.ContentWidthOf(node, -1);
  QFont bold = tree.font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  tree.OnPaintText = [&](TBaseLazyTree*, QPainter& canvas, PLazyNode, int, TLSTTextType) { canvas.setFont(bold); };
  QImage image(300, 20, QImage::Format_ARGB32);
  tree.PaintCell(node, -1, QRect(0, 0, 300, 18), image);
  EXPECT_EQ(tree.CachedTextWidth(node), QFontMetrics(bold).horizontalAdvance("measured") + 2 * tree.TextMargin());
  EXPECT_EQ(tree.TextWidthOf(node, "measured", -1), tree.CachedTextWidth(node));  // measuring asks too
}

TEST(StringTree, StaticTextIsAskedOnlyWhenShown) {
  CellTree tree;
  tree.SetTexts({"main"});
  tree.statics["0"] = "(static)";
  QList<TLSTTextType> asked;
  auto text = tree.OnGetText;
  tree.OnGetText = [&](TBaseLazyTree* t, PLazyNode n, int c, TLSTTextType type, QString& s) {
    asked << type;
    text(t, n, c, type, s);
  };
  QImage image(300, 20, QImage::Format_ARGB32);
  image.fill(Qt::white);
  tree.PaintCell(tree.At("0"), -1, QRect(0, 0, 300, 18), image);
  EXPECT_EQ(asked, QList<TLSTTextType>{ttNormal});
  const QImage withoutStatic = image;
  tree.SetStringOptions(tree.StringOptions() + TStringOptions{toShowStaticText});
  asked.clear();
  image.fill(Qt::white);
  tree.PaintCell(tree.At("0"), -1, QRect(0, 0, 300, 18), image);
  EXPECT_EQ(asked, (QList<TLSTTextType>{ttNormal, ttStatic}));
  // The static text lands to the right of the main text.
  const int after = tree.TextMargin() + QFontMetrics(tree.font()).horizontalAdvance("main") + tree.TextMargin() + 2;
  EXPECT_NE(image.copy(after, 0, 300 - after, 18), withoutStatic.copy(after, 0, 300 - after, 18));
}

TEST(StringTree, MultiLineNodesNeedTheHeightOfTheirWrappedText) {
  TextTree tree;
  tree.multiline = {"0"};
  tree.SetTexts({"one two three four five six seven eight nine ten eleven twelve", "single"});
  tree.ShowAt({120, 200});
  const int line = QFontMetrics(tree.font()).height();
  EXPECT_GT(tree.ComputeNodeHeight(tree.At("0"), -1), 2 * line);
  EXPECT_EQ(tree.ComputeNodeHeight(tree.At("1"), -1), tree.At("1")->NodeHeight);
}

TEST(StringTree, WrappedTextEndsWithAnEllipsisWhereTheRowEnds) {
  const QFont font = QApplication::font();
  const QFontMetrics metrics(font);
  const QString text = "one two three four five six seven eight nine ten";
  const int width = metrics.horizontalAdvance("one two three") + 2;
  const QStringList all = WrapTextWithEllipsis(font, text, width, 100 * metrics.lineSpacing());
  ASSERT_GE(all.size(), 3);
  EXPECT_EQ(all.join(' '), text);  // room for everything: nothing is lost or shortened
  const QStringList two = WrapTextWithEllipsis(font, text, width, metrics.lineSpacing() + metrics.height());
  ASSERT_EQ(two.size(), 2);
  EXPECT_EQ(two[0], all[0]);
  EXPECT_TRUE(two[1].endsWith(QString("…")) || two[1].endsWith("...")) << two[1].toStdString();
  EXPECT_LE(metrics.horizontalAdvance(two[1]), width);
  EXPECT_EQ(WrapTextWithEllipsis(font, text, width, 1).size(), 1);  // a low row still shows its first line
}

TEST(StringTree, DefaultSearchIsACaseSensitivePrefix) {
  TextTree tree;
  tree.SetTexts({"Report", "report"});
  struct Case {
    const char* text;
    int first;
    int second;
  };
  const Case cases[] = {{"Rep", 0, 1}, {"rep", 1, 0}, {"Reports", 1, 1}, {"", 1, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(tree.SearchNodeText(tree.At("0"), c.text), c.first) << c.text;
    EXPECT_EQ(tree.SearchNodeText(tree.At("1"), c.text), c.second) << c.text;
  }
}

}  // namespace
