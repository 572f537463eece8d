// The string tree's content as text, CSV, HTML and RTF, and what the clipboard gets.
#include "StringTreeFixture.h"

#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeData>
#include <QPainter>

namespace {

// A tree whose cells answer by index path and column: "0" a with child "0.0" b, and "1" c.
class Export : public ::testing::Test {
protected:
  void SetUp() override {
    tree.OnGetText = [this](TBaseLazyTree*, PLazyNode node, int column, TLSTTextType type, QString& text) {
      auto it = cells.find({tree.Path(node), column});
      text = type == ttNormal && it != cells.end() ? it->second : QString();
    };
  }
  void Build(const std::map<QString, unsigned>& children) {
    tree.children = children;
    tree.SetRootNodeCount(children.at(""));
    for (PLazyNode run = tree.GetFirst(); run; run = tree.GetNext(run)) {
    }
  }
  TLazyTreeColumn* AddColumn(const QString& caption, int width) {
    TLazyTreeColumn* column = tree.Header().Columns().Add();
    column->SetText(caption);
    column->SetWidth(width);
    return column;
  }
  PLazyNode N(const char* path) const { return tree.At(path); }
  TextTree tree;
  std::map<std::pair<QString, int>, QString> cells;
};

TEST_F(Export, WithoutColumnsEachSourceGivesItsNodesIndentedByLevel) {
  Build({{"", 2}, {"0", 1}});
  cells = {{{"0", -1}, "a"}, {{"0.0", -1}, "b"}, {{"1", -1}, "c, \"d\""}};
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  tree.AddToSelection(QVector<PLazyNode>{N("0.0"), N("1")});
  struct Case {
    TLTTextSource source;
    const char* text;
  } cases[] = {
      {srcAll, "a\r\n\tb\r\nc, \"d\"\r\n"},
      {srcInitialized, "a\r\n\tb\r\nc, \"d\"\r\n"},
      {srcSelected, "\tb\r\nc, \"d\"\r\n"},
      {srcVisible, "a\r\nc, \"d\"\r\n"},  // the child is collapsed away
      {srcCutCopySet, ""},
  };
  for (const Case& c : cases) {
    // Without columns nothing is quoted, in either form.
    EXPECT_EQ(tree.ContentToText(c.source, '\t'), QByteArray(c.text)) << c.source;
    EXPECT_EQ(tree.ContentToUnicodeText(c.source, ','), QString(c.text).replace('\t', ',')) << c.source;
  }
}

TEST_F(Export, FieldsWithSeparatorsQuotesOrLineBreaksAreQuotedInTheEightBitForms) {
  Build({{"", 1}, {"0", 1}});
  AddColumn("Name", 60);
  AddColumn("Note, \"short\"", 70);
  cells = {{{"0", 0}, "a,b"}, {{"0", 1}, "say \"hi\""}, {{"0.0", 0}, "line1\nline2"}, {{"0.0", 1}, "x\ty"}};
  EXPECT_EQ(tree.ContentToText(srcAll, '\t'),
            QByteArray("Name\t\t\"Note, \"\"short\"\"\"\r\n"
                       "a,b\t\t\"say \"\"hi\"\"\"\r\n"
                       "\t\"line1\nline2\"\t\"x\ty\"\r\n"));
  EXPECT_EQ(tree.ContentToText(srcAll, ','),
            QByteArray("Name,,\"Note, \"\"short\"\"\"\r\n"
                       "\"a,b\",,\"say \"\"hi\"\"\"\r\n"
                       ",\"line1\nline2\",x\ty\r\n"));
  EXPECT_EQ(tree.ContentToUnicodeText(srcAll, '\t'),
            QString("Name\t\tNote, \"short\"\r\n"
                    "a,b\t\tsay \"hi\"\r\n"
                    "\tline1\nline2\tx\ty\r\n"));
}

TEST(ExportSeparator, CsvUsesTheSemicolonWhereTheCommaIsTheDecimalPoint) {
  EXPECT_EQ(TCustomLazyStringTree::ListSeparator(QLocale(QLocale::English, QLocale::UnitedStates)), QChar(','));
  EXPECT_EQ(TCustomLazyStringTree::ListSeparator(QLocale(QLocale::German, QLocale::Germany)), QChar(';'));
}

// "{font: bold 9pt "Family";color:#000000;}" for a font and colour.
QString FontSpec(const QFont& font, const QColor& color, bool bold = false) {
  return QStringLiteral("{font:%1 %2pt \"%3\";color:%4;}")
      .arg(bold ? " bold" : "")
      .arg(font.pointSize())
      .arg(font.family(), color.name().toUpper());
}

TEST_F(Export, HtmlEscapesMarkupAndMarksRightToLeftColumns) {
  Build({{"", 1}, {"0", 1}});
  AddColumn("Name", 60);
  TLazyTreeColumn* note = AddColumn("N<o>te", 70);
  note->SetBiDiMode(bdRightToLeft);
  note->SetAlignment(taRightJustify);
  cells = {{{"0", 0}, "<b>&\"x\""}, {{"0", 1}, QString::fromUtf8("שלום")}, {{"0.0", 0}, "c"}};
  // The owner makes one cell bold: that cell carries its own style.
  tree.OnPaintText = [this](TBaseLazyTree*, QPainter& canvas, PLazyNode node, int column, TLSTTextType) {
    if (node == N("0.0") && column == 0) {
      QFont bold = canvas.font();
      bold.setBold(true);
      canvas.setFont(bold);
    }
  };
  const QPalette& p = tree.palette();
  const QString tree0 = FontSpec(tree.font(), p.color(QPalette::Text));
  const QString header = FontSpec(tree.Header().Font(), tree.Header().FontColor());
  auto attr = [](QString s) { return s.replace("\"", "&quot;"); };
  const QString face = p.color(QPalette::Button).name().toUpper();
  const QString expected =
      "<style type=\"text/css\">.default" + tree0 + ".header" + header +
      ".noborder{border-style:none;}.normalborder {border-top:none; border-left:none; border-right:none;"
      "border-bottom:none;}</style>"
      "<table class=\"default\" bgcolor=" + p.color(QPalette::Base).name().toUpper() +
      " caption=\"T&lt;1&gt;\" border=\"1\" frame=box cellspacing=\"0\" cellpadding=4>"
      "<tr class=\"header\" style=\"" + attr(header) + "\">"
      "<th height=\"17px\" align=left colspan=\"2\" bgcolor=" + face + " width=\"60px\">Name</th>"
      "<th height=\"17px\" dir=\"rtl\" align=right bgcolor=" + face + " width=\"70px\">N&lt;o&gt;te</th></tr>"
      " <tr class=\"default\">"
      " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"2\">&lt;b&gt;&amp;&quot;x&quot;</td>"
      " <td class=\"normalborder\"  height=\"18px\" dir=\"rtl\" align=right>" + QString::fromUtf8("שלום") + "</td>"
      " </tr> <tr class=\"default\"> <td height=\"18px\">&nbsp;</td>"
      " <td class=\"normalborder\"  style=\"" + attr(FontSpec(tree.font(), p.color(QPalette::Text), true)) +
      "\" height=\"18px\" align=left>c</td>"
      " <td class=\"normalborder\"  height=\"18px\" dir=\"rtl\" align=right></td> </tr></table>";
  EXPECT_EQ(QString::fromUtf8(tree.ContentToHTMLText(srcAll, "T<1>")), expected);
}

TEST_F(Export, RtfWritesEveryCharacterAsASignedUnicodeEscape) {
  Build({{"", 1}, {"0", 1}});
  cells = {{{"0", -1}, QString::fromUtf8("é日")}, {{"0.0", -1}, QString(QChar(0xD7A3))}};
  const int twips = static_cast<int>(std::lround(tree.ClientWidth() * 1440.0 / tree.logicalDpiX()));
  const QColor text = tree.palette().color(QPalette::Text);
  const QString row = QStringLiteral("\\uc1\\trowd\\trgaph70\\cellx%1\\pard\\intbl").arg(twips);
  const QString expected =
      QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0 %1;}}{\\colortbl;\\red%2\\green%3\\blue%4;}")
          .arg(tree.font().family())
          .arg(text.red())
          .arg(text.green())
          .arg(text.blue()) +
      row + QStringLiteral("\\f0\\cf1\\fs%1 \\u233\\'3f\\u26085\\'3f\\cell\\row").arg(2 * tree.font().pointSize()) +
      row + "\\tab \\u-10333\\'3f\\cell\\row\\pard\\par}";
  EXPECT_EQ(QString::fromLatin1(tree.ContentToRTFText(srcAll)), expected);
}

TEST_F(Export, TheClipboardGetsEveryFormatTheTreeAllowsInPriorityOrder) {
  Build({{"", 2}});
  cells = {{{"0", -1}, "a"}, {{"1", -1}, "b"}};
  tree.SetClipboardFormats({"CSV", "Plain text", "Unicode text", "HTML Format", "Rich Text Format",
                            "Lazy Tree Data", "no such format"});
  EXPECT_EQ(tree.ClipboardFormats().Count(), 6);
  tree.AddToSelection(N("1"));
  tree.CopySelectedToClipboard();
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->formats(), QStringList({"application/x-lazy-tree-data", "text/html", "text/rtf", "text/csv",
                                          "text/plain;charset=utf-8", "text/plain", "application/x-lazy-tree-reference"}));
  EXPECT_EQ(data->data("text/plain"), "b\r\n");
  EXPECT_EQ(data->data("text/csv"), "b\r\n");
  EXPECT_TRUE(data->data("text/html").startsWith("<!DOCTYPE HTML PUBLIC"));
  EXPECT_TRUE(data->data("text/html").endsWith("<!--EndFragment--></body></html>"));
  EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));
  // The tree data: a size word, then the node chunk.
  const QByteArray treeData = data->data("application/x-lazy-tree-data");
  ASSERT_GE(treeData.size(), 4);
  EXPECT_EQ(qFromLittleEndian<std::uint32_t>(treeData.constData()), std::uint32_t(treeData.size() - 4));
}

TEST(ClipboardFormatList, ATreeTakesOnlyFormatsOfItsClass) {
  TBaseLazyTree base;
  TLazyStringTree strings;
  EXPECT_TRUE(base.ClipboardFormats().Add("Lazy Tree Data"));
  EXPECT_FALSE(base.ClipboardFormats().Add("CSV"));  // a string tree's format
  EXPECT_FALSE(strings.ClipboardFormats().Add("Unknown"));
  EXPECT_TRUE(strings.ClipboardFormats().Add("csv"));  // any case
  EXPECT_TRUE(strings.ClipboardFormats().Add("Lazy Tree Data"));
  EXPECT_EQ(strings.ClipboardFormats().List(), QStringList({"csv", "Lazy Tree Data"}));
  EXPECT_EQ(base.ClipboardFormatEtcs().size(), 1);
}

}  // namespace
