// Where the preview puts its pages: each zoom mode over several window sizes, rows,
// centring, scroll ranges, which pages are in view and which page is at the top.
#include "report/RP_PreviewLayout.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
  const char* name;
  std::vector<QSize> pages;
  int current;
  QSize client;
  TrpZoomMode mode;
  double factor;
  double expectedFactor;
  int perRow;
  std::vector<QRect> rects;
  int horzMax, vertMax;
};

class PreviewLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PreviewLayoutTable, PlacesPagesAndSetsRanges) {
  const LayoutCase& c = GetParam();
  const TrpPreviewLayout layout = rpLayoutPages(c.pages, c.current, c.client, c.mode, c.factor);
  EXPECT_DOUBLE_EQ(layout.Factor, c.expectedFactor);
  EXPECT_EQ(layout.PagesPerRow, c.perRow);
  EXPECT_EQ(layout.Rects, c.rects);
  EXPECT_EQ(layout.HorzMax, c.horzMax);
  EXPECT_EQ(layout.VertMax, c.vertMax);
}

const QSize kPage(200, 300);

INSTANTIATE_TEST_SUITE_P(
    Modes, PreviewLayoutTable,
    ::testing::Values(
        // Two fit side by side, the third opens a row 10 below the first.
        LayoutCase{"Free100TwoPerRow", {kPage, kPage, kPage}, 0, {500, 400}, TrpZoomMode::Free, 1.0, 1.0, 2,
                   {{10, 10, 200, 300}, {220, 10, 200, 300}, {10, 320, 200, 300}}, 0, 230},
        LayoutCase{"Free50AllInOneRow", {kPage, kPage, kPage}, 0, {1000, 500}, TrpZoomMode::Free, 0.5, 0.5, 3,
                   {{10, 10, 100, 150}, {120, 10, 100, 150}, {230, 10, 100, 150}}, 0, 0},
        // Wider than the window: not centred, starts at 10, both bars needed.
        LayoutCase{"Free200WiderThanWindow", {kPage}, 0, {300, 300}, TrpZoomMode::Free, 2.0, 2.0, 1,
                   {{10, 10, 400, 600}}, 120, 320},
        LayoutCase{"PageWidth", {kPage, kPage}, 0, {420, 300}, TrpZoomMode::PageWidth, 1.0, 2.0, 1,
                   {{10, 10, 400, 600}, {10, 620, 400, 600}}, 0, 930},
        // Narrower than the window with one page per row: centred.
        LayoutCase{"OnePageCentred", {kPage, kPage}, 0, {500, 320}, TrpZoomMode::OnePage, 3.0, 1.0, 1,
                   {{150, 10, 200, 300}, {150, 320, 200, 300}}, 0, 310},
        LayoutCase{"TwoPages", {kPage, kPage, kPage}, 0, {430, 500}, TrpZoomMode::TwoPages, 1.0, 1.0, 2,
                   {{10, 10, 200, 300}, {220, 10, 200, 300}, {10, 320, 200, 300}}, 0, 130},
        // The current page's size fixes the fitting factor.
        LayoutCase{"FitsTheCurrentPage", {kPage, QSize(100, 150)}, 1, {220, 300}, TrpZoomMode::PageWidth, 1.0, 2.0,
                   1, {{10, 10, 400, 600}, {10, 620, 200, 300}}, 200, 630},
        // A row too narrow for any page still holds one.
        LayoutCase{"TooNarrowForAnyPage", {kPage, kPage}, 0, {150, 200}, TrpZoomMode::Free, 1.0, 1.0, 1,
                   {{10, 10, 200, 300}, {10, 320, 200, 300}}, 70, 430},
        LayoutCase{"NoPages", {}, 0, {300, 300}, TrpZoomMode::PageWidth, 0.75, 0.75, 1, {}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PreviewLayoutTest, ShrunkWindowKeepsAPositiveFactor) {
  const TrpPreviewLayout layout = rpLayoutPages({kPage}, 0, {5, 5}, TrpZoomMode::PageWidth, 1.0);
  EXPECT_GT(layout.Factor, 0);
  EXPECT_GE(layout.Rects.at(0).width(), 0);
}

TEST(PreviewLayoutTest, PagesInViewFollowTheClientAreaNotAFixedLimit) {
  const std::vector<QRect> rects{{10, 10, 200, 300}, {10, 2100, 200, 300}, {10, 4000, 200, 300}};
  // A tall window shows the page whose top is beyond 2000 pixels.
  EXPECT_EQ(rpVisiblePages(rects, 0, 0, {400, 3000}), (std::vector<bool>{true, true, false}));
  // Scrolled down, the first page has left the view.
  EXPECT_EQ(rpVisiblePages(rects, 0, 2000, {400, 1000}), (std::vector<bool>{false, true, false}));
  // Scrolled sideways past every page.
  EXPECT_EQ(rpVisiblePages(rects, 300, 0, {400, 3000}), (std::vector<bool>{false, false, false}));
}

TEST(PreviewLayoutTest, PageAtTopIsTheFirstSpanningTheTopRow) {
  const std::vector<QRect> rects{{10, 10, 200, 300}, {220, 10, 200, 300}, {10, 320, 200, 300}};
  EXPECT_EQ(rpPageAtTop(rects, 0), 0);  // first of the row, not its neighbour
  EXPECT_EQ(rpPageAtTop(rects, 310), 2);
  EXPECT_EQ(rpPageAtTop(rects, 299), -1);  // the row lies in the gap between pages
  EXPECT_EQ(rpPageAtTop(rects, 5000), -1);
  EXPECT_EQ(rpScrollPosForPage(rects[2]), 310);
}

}  // namespace
