// The header driven with the mouse: clicks, split areas and resizing, column dragging,
// hot tracking with its timer, the popup menu, and where a button's parts go.
#include "RecordingPainter.h"
#include "TreeFixture.h"

#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeImageList.h"

#include <QMenu>
#include <QTest>

namespace {

class HeaderTree : public ::testing::Test {
protected:
  // Columns 100, 50 and 80 wide under a visible header 20 high.
  void SetUp() override {
    for (int width : {100, 50, 80}) Columns().Add()->SetWidth(width);
    Header().SetHeight(20);
    Header().SetOptions(Header().Options() + TLTHeaderOptions{hoVisible});
    tree.OnHeaderClick = [this](TBaseLazyTree*, TColumnIndex column, Qt::MouseButton button, TShiftState shift, int, int) {
      log << QStringLiteral("click %1%2%3")
                 .arg(column)
                 .arg(button == Qt::RightButton ? " right" : "")
                 .arg(shift.Contains(ssDouble) ? " double" : "");
    };
    tree.OnHeaderDblClick = [this](TBaseLazyTree*, TColumnIndex column, Qt::MouseButton, TShiftState, int, int) {
      log << QStringLiteral("dblclick %1").arg(column);
    };
    tree.OnHeaderDragged = [this](TBaseLazyTree*, TColumnIndex column, int old) {
      log << QStringLiteral("dragged %1 from %2").arg(column).arg(old);
    };
    tree.OnHeaderDraggedOut = [this](TBaseLazyTree*, TColumnIndex column, QPoint) {
      log << QStringLiteral("dragged out %1").arg(column);
    };
    tree.OnColumnResize = [this](TBaseLazyTree*, int column) { log << QStringLiteral("resize %1").arg(column); };
    ASSERT_TRUE(ShowPlain(tree, QSize(400, 200)));
  }
  TLTHeader& Header() { return tree.Header(); }
  TLazyTreeColumns& Columns() { return tree.Columns(); }
  QWidget* Area() { return Header().Area(); }
  QString Positions() {
    QStringList out;
    for (TColumnIndex i : Columns().PositionArray()) out << QString::number(i);
    return out.join(' ');
  }
  void Drag(int fromX, QPoint to) {
    QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(fromX, 10));
    QTest::mouseMove(Area(), QPoint(fromX + 20, 10));  // beyond the drag threshold
    QTest::mouseMove(Area(), to);
  }
  TestTree tree;
  QStringList log;
};

TEST_F(HeaderTree, SitsAboveTheRows) {
  EXPECT_TRUE(Area()->isVisible());
  EXPECT_EQ(Area()->geometry(), QRect(0, 0, 400, 20));
  EXPECT_EQ(tree.viewport()->geometry(), QRect(0, 20, 400, 180));
  Header().SetHeight(30);
  EXPECT_EQ(tree.viewport()->geometry().top(), 30);
  Header().SetOptions(Header().Options() - TLTHeaderOptions{hoVisible});
  EXPECT_FALSE(Area()->isVisible());
  EXPECT_EQ(tree.viewport()->geometry().top(), 0);
}

TEST_F(HeaderTree, SplitAreasReachTwoPixelsLeftAndFourRightOfAnEdge) {
  Columns()[1]->SetMinWidth(0);
  Columns()[1]->SetWidth(4);  // its border zone overlaps the first column's
  Columns()[1]->SetOptions(Columns()[1]->Options() - TLTColumnOptions{coResizable});
  struct {
    int x;
    bool hit;
    TColumnIndex tracked;
  } cases[] = {{97, false, -1}, {98, true, 0}, {101, true, 0}, {103, false, -1} /* the fixed column is nearer */,
               {181, false, -1}, {182, true, 2}, {188, true, 2}, {189, false, -1}};
  for (const auto& t : cases) {
    EXPECT_EQ(Header().InSplitArea(QPoint(t.x, 5)), t.hit) << t.x;
    EXPECT_EQ(Columns().TrackIndex(), t.tracked) << t.x;
  }
}

TEST_F(HeaderTree, AClickNeedsThePressAndReleaseOnTheSameColumn) {
  Header().SetOptions(Header().Options() - TLTHeaderOptions{hoDrag});
  QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(120, 10));
  EXPECT_EQ(log, QStringList({"click 1"}));
  EXPECT_EQ(Columns().PressedIndex(), -1);
  log.clear();
  // Pressed on one column, moved to another: once the header timer has seen it, no click.
  QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(120, 10));
  QTest::mouseMove(Area(), QPoint(40, 10));
  EXPECT_TRUE(tree.fakeTimers->IsRunning(HeaderTimer));
  EXPECT_EQ(tree.fakeTimers->Interval(HeaderTimer), 50);
  tree.HandleTimer(HeaderTimer);
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(40, 10));
  EXPECT_TRUE(log.isEmpty()) << log.join(", ").toStdString();
  // A column that does not allow clicks stays silent.
  Columns()[2]->SetOptions(Columns()[2]->Options() - TLTColumnOptions{coAllowClick});
  QTest::mouseClick(Area(), Qt::LeftButton, {}, QPoint(200, 10));
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(HeaderTree, HotTrackingEndsWhenTheMouseHasLeft) {
  QTest::mouseMove(Area(), QPoint(200, 10));
  EXPECT_EQ(Columns().HotIndex(), 2);
  tree.HandleTimer(HeaderTimer);  // still over the header
  EXPECT_EQ(Columns().HotIndex(), 2);
  QCursor::setPos(Area()->mapToGlobal(QPoint(200, 150)));
  tree.HandleTimer(HeaderTimer);
  EXPECT_EQ(Columns().HotIndex(), -1);
  EXPECT_FALSE(tree.fakeTimers->IsRunning(HeaderTimer));
}

TEST_F(HeaderTree, DraggingTheBorderResizesTheColumn) {
  QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(101, 10));
  EXPECT_TRUE(Header().States().Contains(hstResizePending));
  QTest::mouseMove(Area(), QPoint(131, 10));
  EXPECT_TRUE(Header().States().Contains(hstResizing));
  EXPECT_EQ(Columns()[0]->Width(), 131);
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(131, 10));
  EXPECT_TRUE(Header().States().Empty());
  EXPECT_EQ(Columns()[1]->Left(), 131);
  EXPECT_EQ(log, QStringList({"resize 0"}));
  // Escape ends a resize where it is.
  QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(132, 10));
  QTest::mouseMove(Area(), QPoint(140, 10));
  QTest::keyClick(&tree, Qt::Key_Escape);
  EXPECT_TRUE(Header().States().Empty());
  QTest::mouseMove(Area(), QPoint(160, 10));
  EXPECT_EQ(Columns()[0]->Width(), 140);
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(160, 10));
}

TEST_F(HeaderTree, DoubleClickOnABorderFitsTheContent) {
  Header().SetOptions(Header().Options() + TLTHeaderOptions{hoDblClickResize});
  tree.shape[""] = 3;
  tree.Build();
  // The nodes have no content of their own: the main column needs its margins and indent.
  QTest::mouseDClick(Area(), Qt::LeftButton, {}, QPoint(101, 10));
  EXPECT_EQ(Columns()[0]->Width(), 2 * 4 + 18);
  EXPECT_FALSE(log.contains("dblclick 0"));
  log.clear();
  QTest::mouseDClick(Area(), Qt::LeftButton, {}, QPoint(60, 10));  // on the button itself
  EXPECT_TRUE(log.contains("click 1 double")) << log.join(", ").toStdString();
  EXPECT_EQ(log.last(), "dblclick 1");
}

TEST_F(HeaderTree, DroppingAColumnBeforeOrAfterATarget) {
  struct {
    int from;
    int to;
    const char* positions;
    const char* event;
  } cases[] = {
      {50, 160, "1 0 2", "dragged 0 from 0"},   // before a target right of it: one before the target
      {50, 210, "1 2 0", "dragged 0 from 0"},   // after it: at the target's place
      {200, 20, "2 0 1", "dragged 2 from 2"},   // before a target left of it: at the target's place
      {200, 90, "0 2 1", "dragged 2 from 2"},   // after it: one after the target
  };
  for (const auto& t : cases) {
    for (int i = 0; i < 3; ++i) Columns()[i]->SetPosition(TColumnPosition(i));
    log.clear();
    Drag(t.from, QPoint(t.to, 10));
    EXPECT_TRUE(Header().States().Contains(hstDragging));
    QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(t.to, 10));
    EXPECT_EQ(Positions(), t.positions) << t.from << " to " << t.to;
    EXPECT_EQ(log, QStringList({t.event})) << t.from << " to " << t.to;
    EXPECT_TRUE(Header().States().Empty());
  }
}

TEST_F(HeaderTree, ADropOutsideOrOnItselfOrCancelledMovesNothing) {
  Drag(50, QPoint(60, -150));  // far above the tree
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(60, -150));
  EXPECT_EQ(log, QStringList({"dragged out 0"}));
  log.clear();
  Drag(50, QPoint(30, 10));  // back onto itself
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(30, 10));
  EXPECT_EQ(log, QStringList({"dragged out 0"}));
  log.clear();
  Drag(50, QPoint(210, 10));
  QTest::keyClick(&tree, Qt::Key_Escape);
  EXPECT_TRUE(Header().States().Empty());
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(210, 10));
  EXPECT_TRUE(log.isEmpty());
  EXPECT_EQ(Positions(), "0 1 2");
  // The owner may refuse the drag.
  tree.OnHeaderDragging = [](TBaseLazyTree*, TColumnIndex, bool& allowed) { allowed = false; };
  Drag(50, QPoint(210, 10));
  EXPECT_FALSE(Header().States().Contains(hstDragging));
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(210, 10));
  EXPECT_EQ(Positions(), "0 1 2");
}

TEST_F(HeaderTree, TheDropMarkShowsOnTheTargetSide) {
  Drag(50, QPoint(160, 10));  // before column 2
  EXPECT_EQ(Columns().DropTarget(), 2);
  EXPECT_TRUE(Columns().DropBefore());
  RecordingDevice device;
  device.size = QSize(400, 20);
  {
    QPainter p(&device);
    Header().PaintHeaderTo(p, QRect(0, 0, 400, 20), 0);
  }
  bool leftMark = false;
  for (const PaintOp& op : device.engine.ops)
    if (op.kind == PaintOp::Image && op.imageSize == QSize(16, 16) && op.bounds.topLeft() == QPointF(150, 2)) leftMark = true;
  EXPECT_TRUE(leftMark);
  QTest::keyClick(&tree, Qt::Key_Escape);
  EXPECT_EQ(Columns().DropTarget(), -1);
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(160, 10));
}

TEST_F(HeaderTree, RightClickShowsThePopupMenu) {
  QMenu menu;
  menu.addAction(QStringLiteral("Hide"));
  Header().SetPopupMenu(&menu);
  QTest::mouseClick(Area(), Qt::RightButton, {}, QPoint(120, 10));
  EXPECT_EQ(log, QStringList({"click 1 right"}));
  EXPECT_TRUE(menu.isVisible());
  menu.close();
}

TEST_F(HeaderTree, HintsOfTheColumnUnderTheMouse) {
  Columns()[0]->SetHint(QStringLiteral("Title column"));
  Header().SetOptions(Header().Options() + TLTHeaderOptions{hoShowHint});
  tree.SetShowHint(true);
  tree.activateWindow();
  TBaseLazyTree::THintInfo info;
  EXPECT_TRUE(tree.HintShow(QPoint(50, -5), info));  // the header lies just above the rows
  EXPECT_EQ(info.Text, "Title column");
  EXPECT_EQ(info.CursorRect, QRect(0, -20, 100, 20));
  EXPECT_FALSE(tree.HintShow(QPoint(120, -5), info));  // a column without a hint
  QTest::mousePress(Area(), Qt::LeftButton, {}, QPoint(101, 10));  // sizing a column: no hints
  EXPECT_FALSE(tree.HintShow(QPoint(50, -5), info));
  QTest::mouseRelease(Area(), Qt::LeftButton, {}, QPoint(101, 10));
}

TEST_F(HeaderTree, SortGlyphAndCaptionPlaces) {
  TLazyTreeColumn& c = *Columns()[0];
  c.SetText(QStringLiteral("Due"));
  const QRect client(2, 2, 96, 16);
  const int caption = QFontMetrics(Header().Font()).horizontalAdvance(QStringLiteral("Due")) + 2;
  struct {
    TLTAlignment alignment;
    TBiDiMode bidi;
    int sortX;
    int textX;
  } cases[] = {
      {taLeftJustify, bdLeftToRight, 2 + 4 + caption + 4, 2 + 4},        // caption, spacing, glyph
      {taRightJustify, bdLeftToRight, 2 + 96 - 4 - 16, 2 + 96 - 4 - 16 - 4 - caption},
      {taLeftJustify, bdRightToLeft, 2 + 96 - 4 - caption - 4 - 16, 2 + 96 - 4 - caption},  // mirrored
  };
  for (const auto& t : cases) {
    c.SetAlignment(t.alignment);
    c.SetBiDiMode(t.bidi);
    const THeaderButtonLayout layout = Header().ButtonLayout(c, client, false, true);
    EXPECT_EQ(layout.SortGlyphPos.x(), t.sortX) << t.alignment << "/" << t.bidi;
    EXPECT_EQ(layout.TextBounds.left(), t.textX) << t.alignment << "/" << t.bidi;
    EXPECT_EQ(layout.SortGlyphPos.y(), 2);  // centred: (16 - 16) / 2
  }
  // A narrow button holds the glyph inside its margins and the caption gives way.
  c.SetAlignment(taLeftJustify);
  c.SetBiDiMode(bdLeftToRight);
  const THeaderButtonLayout narrow = Header().ButtonLayout(c, QRect(0, 0, 30, 16), false, true);
  EXPECT_EQ(narrow.SortGlyphPos.x(), 30 - 4 - 16);
  EXPECT_LE(narrow.TextBounds.right(), narrow.SortGlyphPos.x() - 4);
}

TEST_F(HeaderTree, TheSortGlyphIsDrawnOnlyForTheSortColumn) {
  Header().SetOptions(Header().Options() + TLTHeaderOptions{hoShowSortGlyphs});
  Header().SetSortColumn(1);
  for (TLTHeaderStyle style : {hsThickButtons, hsFlatButtons, hsPlates, hsXPStyle}) {
    Header().SetStyle(style);
    RecordingDevice device;
    device.size = QSize(400, 20);
    {
      QPainter p(&device);
      Header().PaintHeaderTo(p, QRect(0, 0, 400, 20), 0);
    }
    int glyphs = 0;
    for (const PaintOp& op : device.engine.ops)
      if (op.kind == PaintOp::Image && op.imageSize == QSize(16, 16)) {
        ++glyphs;
        EXPECT_GE(op.bounds.left(), 100) << style;
        EXPECT_LT(op.bounds.right(), 150) << style;
      }
    EXPECT_EQ(glyphs, 1) << style;
  }
}

}  // namespace
