// The column collection: left edges, positions, lookups in display order, removal,
// clamping, and the auto-size, spring and fit-to-content resizing.
#include "TreeFixture.h"

#include "treeview/LazyTreeHeader.h"

#include <QTest>

namespace {

class ColumnTree : public ::testing::Test {
protected:
  // Three columns 100, 50 and 80 wide in a window 400 wide.
  void SetUp() override {
    ASSERT_TRUE(ShowPlain(tree, QSize(400, 200)));
    ASSERT_EQ(tree.ClientWidth(), 400);
    for (int width : {100, 50, 80}) Columns().Add()->SetWidth(width);
  }
  TLTHeader& Header() { return tree.Header(); }
  TLazyTreeColumns& Columns() { return tree.Columns(); }
  TLazyTreeColumn& Column(int i) { return *Columns()[i]; }
  QString Lefts() {
    QStringList out;
    for (int i = 0; i < Columns().Count(); ++i)
      out << QStringLiteral("%1@%2").arg(Column(i).Left()).arg(Column(i).Position());
    return out.join(' ');
  }
  QString Positions() {
    QStringList out;
    for (TColumnIndex i : Columns().PositionArray()) out << QString::number(i);
    return out.join(' ');
  }
  TCustomLazyDrawTree tree;
};

TEST_F(ColumnTree, LeftEdgesFollowPositionsAndVisibility) {
  EXPECT_EQ(Lefts(), "0@0 100@1 150@2");
  EXPECT_EQ(Columns().AllColumnsWidth(), 230);
  Column(2).SetPosition(0);
  EXPECT_EQ(Positions(), "2 0 1");
  EXPECT_EQ(Lefts(), "80@1 180@2 0@0");
  Column(0).SetOptions(Column(0).Options() - TLTColumnOptions{coVisible});
  EXPECT_EQ(Lefts(), "80@1 80@2 0@0");  // a hidden column takes no room
  EXPECT_EQ(Columns().AllColumnsWidth(), 130);
  Column(1).SetOptions(Column(1).Options() - TLTColumnOptions{coVisible});
  // The last position is hidden: the visible columns end at 80.
  EXPECT_EQ(Columns().AllColumnsWidth(), 80);
  EXPECT_EQ(tree.RangeX(), 80);
}

TEST_F(ColumnTree, AnAddedColumnStartsWhereTheLastOneEnds) {
  Column(1).SetPosition(2);  // last position: the 80-wide column, then the 50-wide one
  Column(0).SetOptions(Column(0).Options() - TLTColumnOptions{coVisible});
  EXPECT_EQ(Lefts(), "0@0 80@2 0@1");
  Columns().Add()->SetWidth(30);
  EXPECT_EQ(Lefts(), "0@0 80@2 0@1 130@3");
  Column(1).SetOptions(Column(1).Options() - TLTColumnOptions{coVisible});
  Columns().Add();
  EXPECT_EQ(Column(4).Left(), 110) << "a hidden last column adds no width";
  // Many columns, each added at its own cost.
  constexpr int kMany = 100'000;
  while (Columns().Count() < kMany) Columns().Add();
  EXPECT_EQ(Column(kMany - 1).Left(), 110 + (kMany - 5) * Column(4).Width());
  EXPECT_EQ(Column(kMany - 1).Position(), kMany - 1);
}

TEST_F(ColumnTree, PointsSpansAndWalkers) {
  Column(2).SetPosition(0);  // display order 2, 0, 1: spans 0-79, 80-179, 180-229
  struct {
    QPoint p;
    bool relative;
    TColumnIndex expected;
  } points[] = {
      {{0, 5}, false, 2},    {{79, 5}, false, 2},  {{80, 5}, false, 0},   {{229, 5}, false, 1},
      {{230, 5}, false, -2}, {{-1, 5}, false, -2}, {{10, -1}, false, -2}, {{10, 5000}, false, -2},
  };
  for (const auto& t : points)
    EXPECT_EQ(Columns().ColumnAtPoint(t.p, t.relative), t.expected) << t.p.x() << "," << t.p.y();
  EXPECT_EQ(Columns().IndexOfPosition(0), 2);
  EXPECT_EQ(Columns().IndexOfPosition(3), -1);
  EXPECT_EQ(Columns().FirstShownColumn(), 2);
  EXPECT_EQ(Columns().LastShownColumn(), 1);
  EXPECT_EQ(Columns().ColumnAfter(2), 0);
  EXPECT_EQ(Columns().ColumnAfter(1), -2);
  EXPECT_EQ(Columns().ColumnBefore(2), -2);
  EXPECT_EQ(Columns().ColumnBefore(-1), -2);
  Column(0).SetOptions(Column(0).Options() - TLTColumnOptions{coVisible});
  EXPECT_EQ(Columns().ShownColumnAfter(2), 1);
  EXPECT_EQ(Columns().ShownColumnBefore(1), 2);
  EXPECT_EQ(Columns().ShownColumnList(), QVector<TColumnIndex>({2, 1}));
  int left = 0, right = 0;
  Columns().ColumnSpan(-1, left, right);
  EXPECT_EQ(QPoint(left, right), QPoint(0, 400));
  Columns().ColumnSpan(1, left, right);
  EXPECT_EQ(QPoint(left, right), QPoint(80, 130));
}

TEST_F(ColumnTree, RelativeLookupsFollowTheHorizontalOffset) {
  Column(2).SetWidth(500);  // 650 wide in a window of 400
  tree.UpdateScrollBars(false);
  tree.SetOffsetX(-120);
  EXPECT_EQ(tree.OffsetX(), -120);
  EXPECT_EQ(Columns().ColumnAtPoint(QPoint(10, 5), true), 1);  // x 130 of the columns
  EXPECT_EQ(Columns().ColumnAtPoint(QPoint(10, 5), false), 0);
  int left = 0, right = 0;
  Columns().ColumnSpan(1, left, right);
  EXPECT_EQ(QPoint(left, right), QPoint(-20, 30));
}

TEST_F(ColumnTree, PositionBeyondTheEndPutsTheColumnLast) {
  for (TColumnPosition position : {TColumnPosition(3), TColumnPosition(99), TColumnPosition(-1)}) {
    Column(0).SetPosition(0);
    Column(0).SetPosition(position);
    EXPECT_EQ(Column(0).Position(), 2u) << position;
    EXPECT_EQ(Positions(), "1 2 0");
  }
}

TEST_F(ColumnTree, RemovalKeepsThePositionsAPermutationAndMovesTheIndexes) {
  Columns().Add()->SetWidth(10);  // index 3
  Column(3).SetPosition(0);
  Column(1).SetPosition(3);  // display order 3, 0, 2, 1
  Header().SetMainColumn(2);
  Header().SetSortColumn(3);
  Header().SetAutoSizeIndex(1);
  Columns().Delete(0);  // the old 1, 2, 3 become 0, 1, 2
  EXPECT_EQ(Positions(), "2 1 0");
  EXPECT_EQ(Lefts(), "90@2 10@1 0@0");
  EXPECT_EQ(Header().MainColumn(), 1);
  EXPECT_EQ(Header().SortColumn(), 2);
  EXPECT_EQ(Header().AutoSizeIndex(), 0);
  Columns().Delete(1);  // the main column goes: the first remaining takes over
  EXPECT_EQ(Header().MainColumn(), 0);
  EXPECT_EQ(Positions(), "1 0");
  Columns().Delete(1);  // the sort column goes
  EXPECT_EQ(Header().SortColumn(), -1);
  Columns().Delete(0);
  EXPECT_EQ(Header().MainColumn(), -1);
  EXPECT_EQ(Columns().ColumnAtPoint(QPoint(5, 5), false), -2);
  EXPECT_FALSE(Header().InSplitArea(QPoint(0, 5)));
}

TEST_F(ColumnTree, ChangingAnIndexKeepsTheDisplayPosition) {
  Column(0).SetText("a");
  Column(1).SetText("b");
  Column(2).SetText("c");
  Column(0).SetIndex(2);  // b, c, a by index; still a, b, c on screen
  EXPECT_EQ(Column(2).Text(), "a");
  EXPECT_EQ(Columns().IndexOfPosition(0), 2);
  EXPECT_EQ(Positions(), "2 0 1");
  EXPECT_EQ(Column(2).Left(), 0);
  Column(2).SetIndex(0);
  EXPECT_EQ(Positions(), "0 1 2");
}

TEST_F(ColumnTree, WidthsAreClampedIntoTheirLimits) {
  TLazyTreeColumn& c = Column(0);
  c.SetMinWidth(-5);
  EXPECT_EQ(c.MinWidth(), 0);
  c.SetMaxWidth(60);
  EXPECT_EQ(c.Width(), 60);  // the width follows a lower maximum
  c.SetMinWidth(80);
  EXPECT_EQ(c.MinWidth(), 60);  // never above the maximum
  c.SetMaxWidth(20);
  EXPECT_EQ(c.MaxWidth(), 60);  // never below the minimum
  c.SetWidth(5);
  EXPECT_EQ(c.Width(), 60);
  c.SetMargin(-3);
  EXPECT_EQ(c.Margin(), 4);
  EXPECT_EQ(c.PreviousWidth(), 100);
}

TEST_F(ColumnTree, ResizingTellsTheOwnerOnce) {
  std::vector<int> resized;
  tree.OnColumnResize = [&](TBaseLazyTree*, int column) { resized.push_back(column); };
  Column(1).SetWidth(70);
  Column(1).SetWidth(70);
  EXPECT_EQ(resized, std::vector<int>({1}));
  EXPECT_EQ(Lefts(), "0@0 100@1 170@2");
}

TEST_F(ColumnTree, TheAutoSizeColumnTakesTheFreeRoom) {
  Header().SetAutoSizeIndex(1);
  Header().SetOptions(Header().Options() + TLTHeaderOptions{hoAutoResize});
  EXPECT_EQ(Column(1).Width(), 400 - 100 - 80);
  Column(1).SetWidth(30);  // computed only
  EXPECT_EQ(Column(1).Width(), 220);
  Column(0).SetWidth(150);  // left of it: it gives way
  EXPECT_EQ(Column(1).Width(), 170);
  Column(2).SetWidth(100);  // the last column: nothing right of it, so it gives way again
  EXPECT_EQ(Column(1).Width(), 150);
  EXPECT_EQ(Columns().AllColumnsWidth(), 400);
  Columns().Add()->SetWidth(40);
  EXPECT_EQ(Column(1).Width(), 110);
  Column(2).SetWidth(60);  // right of it: the next visible column takes up the change
  EXPECT_EQ(Column(3).Width(), 400 - 150 - 110 - 60);
  EXPECT_EQ(Column(1).Width(), 110);
  tree.resize(500, 200);
  QApplication::processEvents();
  EXPECT_EQ(Column(1).Width(), 500 - 150 - 60 - 80);  // a wider window widens the auto-size column
}

TEST_F(ColumnTree, SpringColumnsShareWidthChangesWithTheirRemainders) {
  Header().SetOptions(Header().Options() + TLTHeaderOptions{hoAutoSpring});
  for (int i : {0, 2}) Column(i).SetOptions(Column(i).Options() + TLTColumnOptions{coAutoSpring});
  auto widen = [&](int width) {
    tree.resize(width, 200);
    QApplication::processEvents();
    return QStringLiteral("%1 %2 %3").arg(Column(0).Width()).arg(Column(1).Width()).arg(Column(2).Width());
  };
  EXPECT_EQ(widen(407), "103 50 83");  // 3.5 each: 3 now, half a pixel kept
  EXPECT_EQ(widen(408), "104 50 84");  // half a pixel more each: the kept halves add up
  EXPECT_EQ(widen(398), "99 50 79");   // shrinking by 10: 5 each
  EXPECT_FLOAT_EQ(Column(0).SpringRest(), 0);
}

TEST_F(ColumnTree, FitToContentAndBack) {
  tree.OnGetNodeWidth = [](TBaseLazyTree*, PLazyNode node, int column, int& width) {
    width = 20 + column * 10 + int(node->Index);
  };
  tree.SetRootNodeCount(5);
  Column(2).SetOptions(Column(2).Options() - TLTColumnOptions{coResizable});
  Header().FitColumnsToContent(false);
  // Main column: margins 2 × 4, the root's indent 18, the widest content 24.
  EXPECT_EQ(Column(0).Width(), 8 + 18 + 24);
  EXPECT_EQ(Column(1).Width(), 8 + 34);
  EXPECT_EQ(Column(2).Width(), 80);  // not resizable
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + TLTPaintOptions{toShowVertGridLines});
  EXPECT_EQ(tree.GetColumnContentWidth(1), 8 + 34 + 1);
  tree.hide();  // no animation without a window on screen
  Header().RestoreColumnWidths();
  EXPECT_EQ(Column(0).Width(), 100);
  EXPECT_EQ(Column(1).Width(), 50);
}

TEST_F(ColumnTree, DisplayNamesAndTheClearedHeader) {
  Column(0).SetText(QStringLiteral("Due"));
  Column(1).SetText(QString::fromUtf8("Fällig \u2192"));
  EXPECT_EQ(Column(0).DisplayName(), "Due");
  EXPECT_EQ(Column(1).DisplayName(), "Column 1");
  Header().SetSortColumn(1);
  Columns().Clear();
  EXPECT_EQ(Header().MainColumn(), -1);
  EXPECT_EQ(Header().SortColumn(), -1);
  EXPECT_EQ(Header().AutoSizeIndex(), -1);
}

// A tree without columns answers the column queries for its one column from itself: the
// bounds span its client area, alignment and reading direction are its own.
class ColumnlessTree : public TCustomLazyDrawTree {
public:
  using TCustomLazyDrawTree::ColumnBounds;
};

TEST(ColumnQueries, WithoutColumnsTheTreeAnswersForItsOneColumn) {
  ColumnlessTree tree;
  const struct {
    int width;
    Qt::LayoutDirection direction;
    TLTAlignment alignment;
    bool rightToLeft;
  } cases[] = {
      {300, Qt::LeftToRight, taCenter, false},
      {250, Qt::RightToLeft, taRightJustify, true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(ShowPlain(tree, QSize(c.width, 100)));
    tree.setLayoutDirection(c.direction);
    tree.SetAlignment(c.alignment);
    EXPECT_EQ(tree.ColumnBounds(NoColumn).width(), c.width);
    EXPECT_EQ(tree.ColumnAlignment(NoColumn), c.alignment) << c.width;
    EXPECT_EQ(tree.ColumnIsRightToLeft(NoColumn), c.rightToLeft) << c.width;
  }
}

}  // namespace
