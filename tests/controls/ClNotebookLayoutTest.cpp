#include "controls/clnbkLayout.h"

#include <gtest/gtest.h>

namespace {

using enum TClTabOrientation;

TEST(ClNotebookLayout, TabWidthsIgnoreAmpersandsAndHaveAMinimum) {
  EXPECT_EQ(StripAccelerators("&General && more"), "General  more");
  const struct {
    int active, page, width;
  } cases[] = {{0, 5, 20}, {30, 40, 52}, {50, 10, 62}, {0, 0, 20}};
  for (const auto& c : cases) EXPECT_EQ(TabWidthFor(c.active, c.page), c.width) << c.active << "/" << c.page;
}

TEST(ClNotebookLayout, RowsAreFilledGreedilyOrByCount) {
  const struct {
    const char* what;
    std::vector<int> widths;
    int edge, fixedRows;
    bool oldStyle;
    int rowCount;
    std::vector<int> rows, finalWidths;
  } cases[] = {
      {"four fit in one row", {50, 50, 50, 50}, 200, 0, false, 1, {0, 0, 0, 0}, {50, 50, 50, 50}},
      {"a full row starts the next", {60, 60, 60, 60}, 150, 0, false, 2, {0, 0, 1, 1}, {60, 60, 60, 60}},
      {"a row always takes its first tab", {300, 40}, 150, 0, false, 2, {0, 1}, {300, 40}},
      {"pages without tabs take no room", {60, 0, 60}, 120, 0, false, 1, {0, 0, 0}, {60, 0, 60}},
      {"three to a row", {30, 30, 30, 30, 30, 30}, 500, 2, false, 2, {0, 0, 0, 1, 1, 1}, {30, 30, 30, 30, 30, 30}},
      {"leftovers from row 0 on", {30, 30, 30, 30, 30, 30, 30}, 500, 2, false, 2, {0, 0, 0, 1, 1, 1, 0},
       {30, 30, 30, 30, 30, 30, 30}},
      {"equal tabs stretched to the edge", {40, 60, 50}, 200, 0, true, 1, {0, 0, 0}, {67, 67, 66}},
      {"equal tabs wrap at their common width", {40, 60, 50}, 150, 0, true, 2, {0, 0, 1}, {75, 75, 150}},
      {"rows left without tabs are dropped", {40, 0, 0, 40}, 100, 3, true, 2, {0, 0, 0, 1}, {100, 0, 0, 100}},
  };
  for (const auto& c : cases) {
    TClTabLayoutInput input;
    input.widths = c.widths;
    input.edgeLength = c.edge;
    input.fixedRows = c.fixedRows;
    input.oldStyle = c.oldStyle;
    input.tabHeight = 20;
    const TClTabLayout layout = LayOutTabs(input);
    EXPECT_EQ(layout.rowCount, c.rowCount) << c.what;
    EXPECT_EQ(layout.rows, c.rows) << c.what;
    EXPECT_EQ(layout.widths, c.finalWidths) << c.what;
  }
}

TEST(ClNotebookLayout, TheActiveRowLiesNextToThePage) {
  TClTabLayoutInput input;
  input.widths = {40, 40, 40, 40, 40, 40};
  input.fixedRows = 2;
  input.tabHeight = 18;
  input.currentPage = 4;
  TClTabLayout layout = LayOutTabs(input);
  EXPECT_EQ(layout.activeRow, 1);
  EXPECT_EQ(layout.tabs[0], QRect(2, 2, 40, 18));
  EXPECT_EQ(layout.tabs[2], QRect(82, 2, 40, 18));
  EXPECT_EQ(layout.tabs[4], QRect(42, 20, 40, 18));

  input.currentPage = 1;
  layout = LayOutTabs(input);
  EXPECT_EQ(layout.activeRow, 0);
  EXPECT_EQ(layout.tabs[1], QRect(42, 20, 40, 18)) << "the upper row moved next to the page";
  EXPECT_EQ(layout.tabs[4], QRect(42, 2, 40, 18));

  input.currentPage = -1;
  input.previousActiveRow = 1;
  EXPECT_EQ(LayOutTabs(input).activeRow, 1) << "without a current page the row stays";
}

TEST(ClNotebookLayout, PageAreaForEveryEdge) {
  const QSize size(220, 185);
  const struct {
    TClTabOrientation orientation;
    int rows, tabHeight;
    QRect area;
  } cases[] = {
      {toTop, 2, 20, QRect(1, 43, 217, 140)},   {toRight, 2, 20, QRect(1, 1, 176, 182)},
      {toBottom, 2, 20, QRect(1, 1, 217, 140)}, {toLeft, 2, 20, QRect(43, 1, 175, 182)},
      {toTop, 1, 0, QRect(0, 0, 220, 185)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PageArea(c.orientation, size, c.rows, c.tabHeight), c.area) << static_cast<int>(c.orientation);
  }
}

TEST(ClNotebookLayout, EdgeFrameLaysTheTopTabsAlongEachEdge) {
  const QSize size(220, 185);
  const QRectF firstTab(2, 2, 50, 20);
  const struct {
    TClTabOrientation orientation;
    int edgeLength;
    QRect onNotebook;
  } cases[] = {
      {toTop, 216, QRect(2, 2, 50, 20)},
      {toBottom, 216, QRect(2, 163, 50, 20)},
      {toRight, 181, QRect(198, 2, 20, 50)},
      {toLeft, 181, QRect(2, 133, 20, 50)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TabEdgeLength(c.orientation, size), c.edgeLength);
    EXPECT_EQ(EdgeFrame(c.orientation, size).mapRect(firstTab).toRect(), c.onNotebook)
        << static_cast<int>(c.orientation);
  }
}

}  // namespace
