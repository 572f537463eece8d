// Painting of the rows, recorded part by part: erasing through the owner, cells in display
// order with their clip, grid lines, selection box and focus, check images, drop marks,
// the area below the rows; and the geometry painting relies on.
#include "RecordingPainter.h"
#include "TreeFixture.h"

#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"
#include "treeview/LazyTreeLines.h"

#include <QTest>

namespace {

const QColor kMarker(1, 2, 3);  // what RecordingTree draws over each cell's content

class Paint : public ::testing::Test {
protected:
  void SetUp() override {
    auto paint = tree.TreeOptions().PaintOptions() - TLTPaintOptions{toThemeAware};
    tree.TreeOptions().SetPaintOptions(paint);
    tree.SetLineStyle(lsSolid);
    tree.SetRootNodeCount(3);
    ASSERT_TRUE(ShowPlain(tree, QSize(300, 100)));
  }
  void AddColumns(std::initializer_list<int> widths) {
    for (int w : widths) tree.Columns().Add()->SetWidth(w);
  }
  PLazyNode Node(int i) {
    PLazyNode n = tree.GetFirst();
    while (i-- > 0) n = tree.GetNextSiblingNode(n);
    return n;
  }
  static std::vector<PaintOp> Filter(const std::vector<PaintOp>& ops, const std::function<bool(const PaintOp&)>& keep) {
    std::vector<PaintOp> out;
    for (const PaintOp& op : ops)
      if (keep(op)) out.push_back(op);
    return out;
  }
  static std::vector<PaintOp> Markers(const std::vector<PaintOp>& ops) {
    return Filter(ops, [](const PaintOp& op) { return op.kind == PaintOp::Rect && op.brush == kMarker; });
  }
  static bool Covers(const PaintOp& op, const QRectF& r, const QColor& brush) {
    return op.kind == PaintOp::Rect && op.bounds == r && op.brush == brush;
  }
  void SetPaint(TLTPaintOptions add, TLTPaintOptions remove = {}) {
    tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + add - remove);
  }
  RecordingTree tree;
};

TEST_F(Paint, ErasingFollowsTheOwner) {
  int afterErase = 0;
  tree.OnBeforeItemErase = [this](TBaseLazyTree*, QPainter&, PLazyNode node, QRect, QColor& colour, TItemEraseAction& action) {
    if (node == Node(0)) action = eaColor, colour = Qt::red;
    if (node == Node(1)) action = eaNone;
  };
  tree.OnAfterItemErase = [&](TBaseLazyTree*, QPainter&, PLazyNode, QRect) { ++afterErase; };
  tree.Record();
  const QRectF row(0, 0, 300, 18);
  auto erased = [&](int r, const QColor& c) {
    const auto ops = tree.OpsOfRow(r);
    return std::any_of(ops.begin(), ops.end(), [&](const PaintOp& op) { return Covers(op, row, c); });
  };
  EXPECT_TRUE(erased(1, Qt::red));
  EXPECT_FALSE(erased(2, tree.Color()));  // left as it was
  EXPECT_TRUE(erased(3, tree.Color()));
  EXPECT_EQ(afterErase, 3);
  EXPECT_EQ(tree.flushedAt, std::vector<QPoint>({{0, 0}, {0, 18}, {0, 36}, {0, 54}}));  // rows, then the rest
}

TEST_F(Paint, ACustomDrawnRowIsLeftWhollyToTheOwner) {
  tree.OnBeforeItemPaint = [this](TBaseLazyTree*, QPainter& canvas, PLazyNode node, QRect r, bool& custom) {
    custom = node == Node(1);
    if (custom) canvas.fillRect(r, Qt::green);
  };
  tree.Record();
  const auto row = tree.OpsOfRow(2);
  ASSERT_EQ(row.size(), 1u);
  EXPECT_EQ(row[0].brush, QColor(Qt::green));
  EXPECT_EQ(Markers(tree.OpsOfRow(1)).size(), 1u);
}

TEST_F(Paint, CellsGoInDisplayOrderEachInsideItsClip) {
  AddColumns({60, 70, 80});
  tree.Columns()[2]->SetPosition(0);  // on screen: 2, 0, 1 at 0, 80 and 140
  QStringList order;
  tree.OnBeforeCellPaint = [&](TBaseLazyTree*, QPainter&, PLazyNode node, int column, QRect) {
    if (node == Node(0)) order << QString::number(column);
  };
  tree.Record();
  const auto markers = Markers(tree.OpsOfRow(1));
  ASSERT_EQ(markers.size(), 3u);
  EXPECT_EQ(order, QStringList({"2", "0", "1"}));
  EXPECT_EQ(markers[0].clip, QRect(0, 0, 80, 18));
  EXPECT_EQ(markers[1].clip, QRect(80, 0, 60, 18));
  EXPECT_EQ(markers[2].clip, QRect(140, 0, 70, 18));
  // Content starts after the margin, in the main column after the indent too.
  EXPECT_EQ(markers[0].bounds.left(), 4);
  EXPECT_EQ(markers[1].bounds.left(), 80 + 4 + 18);
  EXPECT_EQ(markers[2].bounds.left(), 140 + 4);
}

TEST_F(Paint, GridLinesRunAlongEachCellsBottomAndRight) {
  AddColumns({100, 100});
  tree.Colors().SetColor(TLTColors::GridLineColor, Qt::blue);
  SetPaint({toShowHorzGridLines, toShowVertGridLines});
  auto lines = [&] {
    return Filter(tree.OpsOfRow(1), [](const PaintOp& op) { return op.kind == PaintOp::Rect && op.brush == QColor(Qt::blue); });
  };
  tree.Record();
  auto grid = lines();
  std::vector<QRectF> rects;
  for (const PaintOp& op : grid) rects.push_back(op.bounds);
  EXPECT_EQ(rects, std::vector<QRectF>({{0, 17, 100, 1}, {99, 0, 1, 17}, {100, 17, 100, 1}, {199, 0, 1, 17}}));
  // Columns that fill the window leave the last right edge to the border.
  tree.Columns()[1]->SetWidth(200);
  tree.Record();
  grid = lines();
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[2].bounds, QRectF(100, 17, 200, 1));
}

TEST_F(Paint, CheckImagesByTypeStateAndEnabling) {
  TLTImageList custom(16, 16);
  for (int i = 0; i < 25; ++i) {
    QImage cell(16, 16, QImage::Format_ARGB32_Premultiplied);
    cell.fill(qRgb(i, 0, 0));
    custom.Add(cell);
  }
  tree.SetCustomCheckImages(&custom);
  tree.SetCheckImageKind(ckCustom);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toCheckSupport});
  tree.SetRootNodeCount(6);
  const struct {
    TCheckType type;
    TCheckState state;
    bool disabled;
    int image;
  } nodes[] = {{ctNone, csCheckedNormal, false, -1},          {ctCheckBox, csCheckedNormal, false, 13},
               {ctCheckBox, csUncheckedPressed, true, 12},    {ctTriStateCheckBox, csMixedPressed, false, 19},
               {ctRadioButton, csCheckedNormal, true, 8},     {ctButton, csUncheckedNormal, false, 21}};
  for (int i = 0; i < 6; ++i) {
    Node(i)->CheckType = nodes[i].type;
    Node(i)->CheckState = nodes[i].state;
    tree.SetNodeDisabled(Node(i), nodes[i].disabled);
  }
  tree.Record();
  for (int i = 0; i < 6; ++i) {
    const auto images = Filter(tree.OpsOfRow(i + 1), [](const PaintOp& op) { return op.kind == PaintOp::Image; });
    if (nodes[i].image < 0) {
      EXPECT_TRUE(images.empty()) << i;
      EXPECT_EQ(Markers(tree.OpsOfRow(i + 1))[0].bounds.left(), 4 + 18);  // no room kept for a box
      continue;
    }
    ASSERT_EQ(images.size(), 1u) << i;
    EXPECT_EQ(qRed(images[0].imageCentre), nodes[i].image) << i;
    EXPECT_EQ(images[0].bounds, QRectF(4 + 18, 1, 16, 16)) << i;
    EXPECT_EQ(Markers(tree.OpsOfRow(i + 1))[0].bounds.left(), 4 + 18 + 16 + 2) << i;
  }
}

TEST_F(Paint, AFreedCustomCheckListLeavesTheLightCheckImages) {
  auto custom = std::make_unique<TLTImageList>(16, 16);
  tree.SetCustomCheckImages(custom.get());
  tree.SetImages(custom.get());  // one list in two roles
  tree.SetCheckImageKind(ckCustom);
  EXPECT_EQ(tree.CheckImages(), custom.get());
  custom.reset();
  EXPECT_EQ(tree.CheckImageKind(), ckLightCheck);
  EXPECT_EQ(tree.Images(), nullptr);
  EXPECT_EQ(tree.CheckImages()->Count(), 25);
}

TEST_F(Paint, TheSelectionBoxFollowsContentFocusAndFullRowSelection) {
  AddColumns({100, 100});
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + TLTPaintOptions{toPopupMode});
  tree.Colors().SetColor(TLTColors::FocusedSelectionColor, Qt::darkBlue);
  tree.SetNodeSelected(Node(1), true);
  tree.SetFocusedNode(Node(1));
  tree.SetFocusedColumn(0);
  auto boxes = [&] {
    tree.Record();
    return Filter(tree.OpsOfRow(2), [](const PaintOp& op) { return op.brush == QColor(Qt::darkBlue); });
  };
  auto selection = boxes();
  ASSERT_EQ(selection.size(), 1u);  // only the focused column
  EXPECT_EQ(selection[0].bounds, QRectF(22, 0, 30 - 1, 18 - 1));  // the content width, outline inside
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toGridExtensions});
  selection = boxes();
  ASSERT_EQ(selection.size(), 1u);
  EXPECT_EQ(selection[0].bounds, QRectF(0, 0, 100 - 1, 18 - 1));  // the whole cell
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() - TLTMiscOptions{toGridExtensions});
  tree.TreeOptions().SetSelectionOptions(TLTSelectionOptions{toFullRowSelect});
  selection = boxes();
  ASSERT_EQ(selection.size(), 3u);  // the row, then each cell
  EXPECT_EQ(selection[0].bounds, QRectF(0, 0, 300 - 1, 18 - 1));
  EXPECT_EQ(selection[2].bounds, QRectF(100, 0, 100 - 1, 18 - 1));
}

TEST_F(Paint, TheFocusFrameSurroundsTheSelectionBox) {
  tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() + TLTPaintOptions{toPopupMode});
  tree.SetFocusedNode(Node(2));
  tree.Record();
  const auto frames = Filter(tree.OpsOfRow(3), [](const PaintOp& op) { return op.pen == QColor(Qt::white); });
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].bounds, QRectF(22, 0, 30 - 1, 18 - 1));
  SetPaint({toHideFocusRect});
  tree.Record();
  EXPECT_TRUE(Filter(tree.OpsOfRow(3), [](const PaintOp& op) { return op.pen == QColor(Qt::white); }).empty());
}

TEST_F(Paint, DropMarksAboveAndBelowTheTarget) {
  tree.Colors().SetColor(TLTColors::DropMarkColor, Qt::magenta);
  auto mark = [&] {
    tree.Record();
    const auto marks = Filter(tree.OpsOfRow(2), [](const PaintOp& op) { return op.kind == PaintOp::Polygon; });
    return marks.empty() ? QPolygonF() : marks[0].points;
  };
  tree.SetDropTarget(Node(1), dmAbove);
  EXPECT_EQ(mark(), QPolygonF({{2, 0}, {298, 0}, {298, 6}, {294, 2}, {6, 2}, {2, 6}}));
  tree.SetDropTarget(Node(1), dmBelow);
  EXPECT_EQ(mark(), QPolygonF({{2, 17}, {298, 17}, {298, 10}, {293, 15}, {7, 15}, {2, 10}}));
  tree.SetDropTarget(Node(1), dmOnNode);  // no mark; the node shows as the target instead
  EXPECT_TRUE(mark().isEmpty());
  tree.Colors().SetColor(TLTColors::DropTargetColor, Qt::cyan);
  tree.Record();
  EXPECT_FALSE(Filter(tree.OpsOfRow(2), [](const PaintOp& op) { return op.brush == QColor(Qt::cyan); }).empty());
  tree.SetDropTarget(Node(1), dmBelow);  // not selected, not on the node: no target box
  tree.Record();
  EXPECT_TRUE(Filter(tree.OpsOfRow(2), [](const PaintOp& op) { return op.brush == QColor(Qt::cyan); }).empty());
}

TEST_F(Paint, BelowTheLastRowTheColumnsKeepTheirColours) {
  AddColumns({100, 50});
  tree.Columns()[1]->SetColor(Qt::yellow);
  const auto rest = tree.Record(), below = tree.OpsOfRow(4);
  ASSERT_GE(below.size(), 3u);
  EXPECT_TRUE(Covers(below[0], QRectF(0, 0, 300, 100 - 54), tree.Color()));
  EXPECT_TRUE(Covers(below[2], QRectF(100, 0, 50, 100 - 54), Qt::yellow));
  EXPECT_EQ(tree.flushedAt.back(), QPoint(0, 54));
  // The owner may paint it instead.
  tree.OnPaintBackground = [](TBaseLazyTree*, QPainter&, QRect, bool& handled) { handled = true; };
  tree.Record();
  EXPECT_TRUE(tree.OpsOfRow(4).empty());
}

TEST_F(Paint, ButtonsAndTreeLinesInTheIndent) {
  tree.Colors().SetColor(TLTColors::TreeLineColor, Qt::darkGreen);
  tree.OnInitNode = [](TBaseLazyTree*, PLazyNode parent, PLazyNode, TLazyNodeInitStates& states) {
    if (!parent) states.Include(ivsHasChildren);
  };
  tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& count) { count = 1; };
  tree.Clear();
  tree.SetRootNodeCount(1);
  tree.SetExpanded(tree.GetFirst(), true);
  tree.Record();
  // The parent: its button centred on the vertical line of its indent step; a line from
  // the button down (the first and only top-level node with a child below).
  const auto parent = tree.OpsOfRow(1);
  const auto button = Filter(parent, [](const PaintOp& op) { return op.kind == PaintOp::Image && op.imageSize == QSize(9, 9); });
  ASSERT_EQ(button.size(), 1u);
  EXPECT_EQ(button[0].bounds, QRectF(9 - 4, 8 - 4, 9, 9));
  auto lines = [](const std::vector<PaintOp>& ops) {
    std::vector<QRectF> out;
    for (const PaintOp& op : ops)
      if (op.kind == PaintOp::Rect && op.brush == QColor(Qt::darkGreen)) out.push_back(op.bounds);
    return out;
  };
  EXPECT_EQ(lines(parent), std::vector<QRectF>({{9, 8, 9, 1}}));  // a single top-level node: only the connector
  EXPECT_EQ(lines(tree.OpsOfRow(2)), std::vector<QRectF>({{27, 0, 1, 9}, {27, 8, 9, 1}}));  // the last child
}

TEST(LineImages, PiecesByPlaceAmongTheSiblings) {
  TestTree tree;
  tree.shape = {{"", 3}, {"0", 2}, {"2", 2}, {"2.1", 1}};
  tree.hidden = {"0.1"};
  tree.Build();
  auto image = [&](const char* path, bool showRoot) { return ComputeLineImage(tree.At(path), tree.RootNode(), showRoot); };
  EXPECT_EQ(image("0", true), TLineImage({ltBottomRight}));
  EXPECT_EQ(image("1", true), TLineImage({ltTopDownRight}));
  EXPECT_EQ(image("2", true), TLineImage({ltTopRight}));
  EXPECT_EQ(image("0.0", true), TLineImage({ltTopDown, ltTopRight}));  // its only later sibling is hidden
  EXPECT_EQ(image("2.0", true), TLineImage({ltNone, ltTopDownRight}));
  EXPECT_EQ(image("2.1.0", true), TLineImage({ltNone, ltNone, ltTopRight}));
  EXPECT_EQ(image("2.1.0", false), TLineImage({ltNone, ltTopRight}));
  EXPECT_TRUE(image("1", false).isEmpty());
  TestTree single;
  single.shape = {{"", 1}};
  single.Build();
  EXPECT_EQ(ComputeLineImage(single.At("0"), single.RootNode(), true), TLineImage({ltRight}));

  // Bands: connectors close their level; levels above continue while a deeper level does.
  EXPECT_EQ(ComputeBandImage({ltNone, ltTopDownRight}, false), TLineImage({ltLeft, ltLeftBottom}));
  EXPECT_EQ(ComputeBandImage({ltTopDown, ltTopRight}, false), TLineImage({ltLeftBottom, ltLeftBottom}));
  EXPECT_EQ(ComputeBandImage({ltTopDown, ltNone, ltTopRight}, false), TLineImage({ltLeftBottom, ltLeftBottom, ltLeftBottom}));
  EXPECT_EQ(ComputeBandImage({ltTopDown, ltTopRight}, true), TLineImage({ltLeft, ltLeft}));
}

TEST_F(Paint, CellRectanglesForTextByAlignment) {
  AddColumns({100, 100});
  tree.Columns()[1]->SetOptions(tree.Columns()[1]->Options() - TLTColumnOptions{coParentBidiMode});
  struct {
    TColumnIndex column;
    TLTAlignment alignment;
    TBiDiMode bidi;
    int width;
    bool unclipped;
    QRect expected;
  } cases[] = {
      {0, taLeftJustify, bdLeftToRight, 30, false, {22, 18, 30, 18}},
      {0, taRightJustify, bdLeftToRight, 30, false, {99 - 30, 18, 30, 18}},
      {0, taCenter, bdLeftToRight, 30, false, {22 + (77 - 30) / 2, 18, 30, 18}},
      {0, taLeftJustify, bdLeftToRight, 200, false, {22, 18, 77, 18}},   // wider: the whole space
      {0, taLeftJustify, bdLeftToRight, 200, true, {22, 18, 200, 18}},   // unclipped: runs on
      {1, taLeftJustify, bdRightToLeft, 30, false, {100 + 99 - 4 - 30, 18, 30, 18}},  // mirrored
      {1, taLeftJustify, bdRightToLeft, 200, true, {100 + 95 - 200, 18, 200, 18}},
  };
  for (const auto& t : cases) {
    tree.contentWidth = t.width;
    tree.Columns()[t.column]->SetAlignment(t.alignment);
    tree.Columns()[t.column]->SetBiDiMode(t.bidi);
    EXPECT_EQ(tree.CellDisplayRect(Node(1), t.column, true, t.unclipped), t.expected)
        << t.column << "/" << t.alignment << "/" << t.bidi << "/" << t.width;
  }
  EXPECT_EQ(tree.CellDisplayRect(Node(1), 1, false), QRect(100, 18, 99, 18));
  EXPECT_EQ(tree.CellDisplayRect(Node(1), -1, false), QRect(0, 18, 300, 18));
  AssertRecorder asserts;
  EXPECT_EQ(tree.CellDisplayRect(nullptr, 0, false), QRect());
  EXPECT_EQ(asserts.messages, QStringList({"Node must not be nil."}));
}

TEST_F(Paint, WidthsOfContentAndOfTheRows) {
  TLTImageList images(12, 12);
  images.Add(QImage(12, 12, QImage::Format_ARGB32_Premultiplied));
  tree.SetImages(&images);
  tree.OnGetImageIndex = [this](TBaseLazyTree*, PLazyNode node, TLTImageKind kind, int, bool&, int& index) {
    if (kind == ikNormal && node == Node(2)) index = 0;
  };
  tree.contentWidth = 50;
  // Without columns the rows in the window decide: indent, image for every row, content, margins.
  tree.UpdateScrollBars(false);
  EXPECT_EQ(tree.RangeX(), 18 + 12 + 2 + 50 + 2 * 4);
  // Column content: only the node that has an image counts one.
  EXPECT_EQ(tree.GetColumnContentWidth(-1), 2 * 4 + 18 + 12 + 2 + 50);
}

TEST_F(Paint, NodesAreMeasuredOnceWhenFirstPainted) {
  std::map<PLazyNode, int> asked;
  tree.OnMeasureItem = [&](TBaseLazyTree*, PLazyNode node, int& height) {
    ++asked[node];
    if (node == Node(1)) height = 30;
  };
  tree.Clear();
  tree.SetRootNodeCount(3);
  tree.Record();
  tree.Record();
  EXPECT_EQ(asked.size(), 3u);
  for (const auto& [node, times] : asked) EXPECT_EQ(times, 1);
  EXPECT_EQ(tree.NodeHeight(Node(1)), 30);
  EXPECT_EQ(tree.flushedAt.back(), QPoint(0, 18 + 30 + 18));
  EXPECT_TOTALS_AGREE(tree);
}

TEST_F(Paint, TheHotNodeFollowsTheMouseOverLabels) {
  std::vector<std::pair<PLazyNode, PLazyNode>> changes;
  tree.OnHotChange = [&](TBaseLazyTree*, PLazyNode old, PLazyNode now) { changes.emplace_back(old, now); };
  QTest::mouseMove(tree.viewport(), QPoint(30, 20));  // on node 1's content
  QTest::mouseMove(tree.viewport(), QPoint(200, 20));  // right of it: nothing hot
  QTest::mouseMove(tree.viewport(), QPoint(30, 40));
  const std::vector<std::pair<PLazyNode, PLazyNode>> expected = {
      {nullptr, Node(1)}, {Node(1), nullptr}, {nullptr, Node(2)}};
  EXPECT_EQ(changes, expected);
  tree.TreeOptions().SetSelectionOptions(TLTSelectionOptions{toFullRowSelect});
  QTest::mouseMove(tree.viewport(), QPoint(200, 2));  // anywhere on the row
  EXPECT_EQ(tree.HotNode(), Node(0));
}

TEST_F(Paint, TheBackgroundPictureStaysInPlaceWhenScrolling) {
  QImage picture(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) picture.setPixel(x, y, qRgb(x * 30, y * 40, 0));
  TCustomLazyDrawTree plain;
  plain.ScrollBarOptions().SetScrollBars(ssNone);
  plain.resize(200, 100);
  plain.SetBackground(QPixmap::fromImage(picture));
  plain.SetBackgroundOffset(QPoint(2, 3));
  plain.TreeOptions().SetPaintOptions(TLTPaintOptions{toShowBackground});  // no lines: they move with the rows
  plain.SetRootNodeCount(20);
  plain.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
  auto shot = [&] {
    QImage target(plain.ClientWidth(), plain.ClientHeight(), QImage::Format_RGB32);
    QPainter p(&target);
    plain.PaintTree(p, QRect(-plain.OffsetX(), -plain.OffsetY(), target.width(), target.height()), QPoint(),
                    WindowPaintSwitches);
    return target;
  };
  const QImage before = shot();
  plain.SetOffsetY(-25);
  const QImage after = shot();
  ASSERT_EQ(plain.OffsetY(), -25);
  EXPECT_EQ(before, after);
  EXPECT_EQ(before.pixel(0, 0), picture.pixel(2, 3));  // shifted by the offsets
}

}  // namespace
