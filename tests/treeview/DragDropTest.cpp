// Drags over and between trees, driven by synthetic drag events on the offscreen
// platform: where a drop goes, the owner's say, moved nodes, auto-expand and auto-scroll
// on the tree's own timers and clock, and the drag source's decisions and picture.
#include "support/LogCapture.h"
#include "NamedTree.h"

#include "treeview/LazyTreeDragImage.h"
#include "treeview/LazyTreeDragManager.h"
#include "treeview/LazyTreeReference.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QMimeData>

#include <cmath>

namespace {

constexpr Qt::DropActions kCopyMove = Qt::CopyAction | Qt::MoveAction;

// Synthetic drag events on a tree's window; each answers the action the tree took.
Qt::DropAction Enter(TBaseLazyTree& tree, const QMimeData* data, QPoint p, Qt::KeyboardModifiers keys = {}) {
  QDragEnterEvent e(p, kCopyMove, data, Qt::LeftButton, keys);
  QCoreApplication::sendEvent(tree.viewport(), &e);
  return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
}
Qt::DropAction Move(TBaseLazyTree& tree, const QMimeData* data, QPoint p, Qt::KeyboardModifiers keys = {}) {
  QDragMoveEvent e(p, kCopyMove, data, Qt::LeftButton, keys);
  QCoreApplication::sendEvent(tree.viewport(), &e);
  return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
}
void Leave(TBaseLazyTree& tree) {
  QDragLeaveEvent e;
  QCoreApplication::sendEvent(tree.viewport(), &e);
}
Qt::DropAction Drop(TBaseLazyTree& tree, const QMimeData* data, QPoint p, Qt::KeyboardModifiers keys = {}) {
  QDropEvent e(QPointF(p), kCopyMove, data, Qt::LeftButton, keys);
  QCoreApplication::sendEvent(tree.viewport(), &e);
  return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
}

TLTNodeAttachMode AttachModeFor(TDropMode mode) {
  switch (mode) {
    case dmAbove: return amInsertBefore;
    case dmBelow: return amInsertAfter;
    default: return amAddChildLast;
  }
}

// Two shown trees whose owners take every drag and insert dropped tree data where the
// drop went: a move from a tree of this process moves, anything else is copied.
class Dragging : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* name : {"a", "b", "c"}) source.Add(name);
    source.Add("b1", source.Named("b"));
    for (const char* name : {"x", "y"}) target.Add(name);
    for (NamedTree* tree : {&source, &target}) {
      tree->OnDragOver = [this](TBaseLazyTree*, QObject*, TShiftState, TDragState state, QPoint, TDropMode,
                                TDropEffect&, bool& accept) {
        states << state;
        accept = accepting;
      };
      tree->OnDragDrop = [this](TBaseLazyTree* tree, QObject* from, const QMimeData* data, const QStringList& formats,
                                TShiftState, QPoint, TDropEffect& effect, TDropMode mode) {
        dropped << formats.join(',');
        dropSource = from;
        tree->ProcessTreeData(qobject_cast<TBaseLazyTree*>(from), data, effect == deMove, AttachModeFor(mode),
                              tree->DropTargetNode());
      };
      ASSERT_TRUE(ShowPlain(*tree, {200, 100}));
    }
  }
  void TearDown() override {
    for (NamedTree* tree : {&source, &target}) {
      tree->OnDragOver = nullptr;
      tree->OnDragDrop = nullptr;
    }
  }
  // The middle of a node's row at x, in window coordinates.
  QPoint RowAt(NamedTree& tree, const QString& name, int dy = 0, int x = 190) {
    PLazyNode node = tree.Named(name);
    return {x, tree.NodeTop(node) + tree.OffsetY() + node->NodeHeight / 2 + dy};
  }
  // Drags the selection of `from` onto a point of `to` with the given keys.
  Qt::DropAction DragSelection(NamedTree& from, NamedTree& to, QPoint p, Qt::KeyboardModifiers keys = {}) {
    Qt::DropAction result = Qt::IgnoreAction;
    from.DragLoop = [&](QDrag& drag, Qt::DropActions) {
      Enter(to, drag.mimeData(), p, keys);
      Move(to, drag.mimeData(), p, keys);
      return result = Drop(to, drag.mimeData(), p, keys);
    };
    from.BeginDrag();
    from.DragLoop = nullptr;
    return result;
  }

  NamedTree source;
  NamedTree target;
  bool accepting = true;
  QList<TDragState> states;
  QStringList dropped;
  QObject* dropSource = nullptr;
  QMimeData data_;  // stands for "no drop seen yet"
};

TEST_F(Dragging, TheDropModeFollowsThePointWithinTheRow) {
  QMimeData data;
  struct Case {
    int dy;        // from the row's middle pixel row (18-pixel rows: 9 rows above it, 8 below)
    int x;         // 190 lies right of the label, 25 on it
    bool dropMark; // toShowDropmark
    TDropMode mode;
  } cases[] = {
      {-9, 190, true, dmAbove}, {-1, 190, true, dmAbove}, {0, 190, true, dmOnNode}, {1, 190, true, dmBelow},
      {8, 190, true, dmBelow},  {-5, 25, true, dmOnNode}, {-5, 190, false, dmOnNode},
  };
  for (const Case& c : cases) {
    TLTPaintOptions paint = target.TreeOptions().PaintOptions();
    target.TreeOptions().SetPaintOptions(c.dropMark ? paint + TLTPaintOptions{toShowDropmark}
                                                    : paint - TLTPaintOptions{toShowDropmark});
    const QPoint p = RowAt(target, "y", c.dy, c.x);
    Enter(target, &data, p);
    Move(target, &data, p);
    EXPECT_EQ(target.DropTargetNode(), target.Named("y")) << c.dy << ' ' << c.x;
    EXPECT_EQ(target.LastDropMode(), c.mode) << c.dy << ' ' << c.x << ' ' << c.dropMark;
    Leave(target);
    EXPECT_EQ(target.DropTargetNode(), nullptr);
  }
  // Below the last row there is no node to drop on.
  Enter(target, &data, {100, 90});
  EXPECT_EQ(target.LastDropMode(), dmNowhere);
  Leave(target);
}

TEST_F(Dragging, AnOwnerThatNeverAcceptsGetsNoDrop) {
  accepting = false;
  QMimeData data;
  const QPoint p = RowAt(target, "x");
  EXPECT_EQ(Move(target, &data, p), Qt::IgnoreAction);  // no enter, no move
  Enter(target, &data, p);
  EXPECT_EQ(Move(target, &data, p), Qt::IgnoreAction);
  EXPECT_EQ(Drop(target, &data, p), Qt::IgnoreAction);
  EXPECT_TRUE(dropped.isEmpty());
  EXPECT_EQ(target.DropTargetNode(), nullptr);
  EXPECT_EQ(states, (QList<TDragState>{dsDragEnter, dsDragMove, dsDragMove}));
}

TEST_F(Dragging, AnOwnerErrorBecomesAFailureCodeAndIsLogged) {
  target.OnDragOver = [](TBaseLazyTree*, QObject*, TShiftState, TDragState, QPoint, TDropMode, TDropEffect&, bool&) {
    throw ELazyTreeError("owner refuses", 0);
  };
  LogCapture log;
  for (bool enter : {true, false}) {
    SCOPED_TRACE(enter ? "enter" : "over");
    std::uint32_t effect = DROPEFFECT_COPY;
    const QPoint at = RowAt(target, "x");
    const THResult result = enter ? target.OLEDragEnter(&source, {}, at, effect) : target.OLEDragOver(&source, {}, at, effect);
    EXPECT_EQ(result, E_UNEXPECTED);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
  }
  EXPECT_EQ(log.Lines().filter("owner refuses").size(), 2) << log.Lines().join('|').toStdString();
}

TEST_F(Dragging, BetweenTreesACopyKeepsTheSourceAndAMoveTakesTheNodes) {
  source.AddToSelection(QVector<PLazyNode>{source.Named("a"), source.Named("c")});
  EXPECT_EQ(DragSelection(source, target, RowAt(target, "x")), Qt::CopyAction);
  EXPECT_EQ(dropSource, &source);
  EXPECT_TRUE(dropped.first().contains("application/x-lazy-tree-data"));
  EXPECT_EQ(target.Rows(), "x(a c) y");
  EXPECT_EQ(source.Rows(), "a b(b1) c");

  EXPECT_EQ(DragSelection(source, target, RowAt(target, "y", -5), Qt::ShiftModifier), Qt::MoveAction);
  EXPECT_EQ(target.Rows(), "x(a c) a c y");
  EXPECT_EQ(source.Rows(), "b(b1)");
  EXPECT_TRUE(source.DragSelection().isEmpty());
  EXPECT_FALSE(source.TreeStates().Intersects({tsOLEDragging, tsLeftButtonDown}));
  EXPECT_TOTALS_AGREE(source);
  EXPECT_TOTALS_AGREE(target);
}

TEST_F(Dragging, MovedNodesAreDeletedOnlyAfterASuccessfulMove) {
  source.AddToSelection(source.Named("a"));
  // The target takes the move but keeps no node: the source deletes its own.
  target.OnDragDrop = [](TBaseLazyTree*, QObject*, const QMimeData*, const QStringList&, TShiftState, QPoint,
                         TDropEffect&, TDropMode) {};
  accepting = false;
  EXPECT_EQ(DragSelection(source, target, RowAt(target, "x"), Qt::ShiftModifier), Qt::IgnoreAction);
  EXPECT_EQ(source.Rows(), "a b(b1) c");
  accepting = true;
  EXPECT_EQ(DragSelection(source, target, RowAt(target, "x"), Qt::ShiftModifier), Qt::MoveAction);
  EXPECT_EQ(source.Rows(), "b(b1) c");
  EXPECT_EQ(target.Rows(), "x y");
}

TEST_F(Dragging, WithinOneTreeTheNodesMoveAndStay) {
  source.AddToSelection(source.Named("a"));
  EXPECT_EQ(DragSelection(source, source, RowAt(source, "c", 5)), Qt::MoveAction);
  EXPECT_EQ(source.Rows(), "b(b1) c a");
  EXPECT_TOTALS_AGREE(source);
}

TEST_F(Dragging, DataFromAnotherProcessIsCopiedWhateverTheEffect) {
  source.AddToSelection(source.Named("a"));
  source.SetClipboardFormats({"Lazy Tree Data"});
  QMimeData copied;
  source.DragLoop = [&](QDrag& drag, Qt::DropActions) {
    copied.setData("application/x-lazy-tree-data", drag.mimeData()->data("application/x-lazy-tree-data"));
    QByteArray reference = drag.mimeData()->data("application/x-lazy-tree-reference");
    EXPECT_EQ(TBaseLazyTree::SourceTreeOf(drag.mimeData()), &source);  // in this process it resolves
    reference[1] = static_cast<char>(reference[1] ^ 0x33);             // as another process would send it
    copied.setData("application/x-lazy-tree-reference", reference);
    return Qt::IgnoreAction;
  };
  source.BeginDrag();
  const QPoint p = RowAt(target, "y", 5);
  Enter(target, &copied, p, Qt::ShiftModifier);
  EXPECT_EQ(Drop(target, &copied, p, Qt::ShiftModifier), Qt::MoveAction);
  EXPECT_EQ(dropSource, nullptr);
  EXPECT_EQ(target.Rows(), "x y a");
  EXPECT_EQ(source.Rows(), "a b(b1) c");
}

TEST_F(Dragging, ACollapsedNodeOpensAfterTheExpandDelay) {
  target.Add("x1", target.Named("x"));
  QMimeData data;
  Enter(target, &data, RowAt(target, "y"));
  Move(target, &data, RowAt(target, "x"));
  EXPECT_TRUE(target.fakeTimers->IsRunning(ExpandTimer));
  EXPECT_EQ(target.fakeTimers->Interval(ExpandTimer), target.AutoExpandDelay());
  EXPECT_FALSE(target.Named("x")->Has(nsExpanded));
  target.HandleTimer(ExpandTimer);
  EXPECT_TRUE(target.Named("x")->Has(nsExpanded));
  Leave(target);
  EXPECT_FALSE(target.fakeTimers->IsRunning(ExpandTimer));
}

TEST_F(Dragging, AutoScrollWaitsForItsDelayAndStepsNoCloserThanTenMilliseconds) {
  for (int i = 0; i < 20; ++i) target.Add(QString("n%1").arg(i));
  QMimeData data;
  TLTDragManager& manager = *target.DragManager();
  auto over = [&](QPoint p) {
    std::uint32_t effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    manager.DragOver({ssLeft}, p, effect);
    return effect;
  };
  std::uint32_t effect = DROPEFFECT_COPY;
  manager.DragEnter(&data, {ssLeft}, {100, 5}, effect);
  // At the top already: no scrolling, no scroll bit, however long the mouse waits.
  target.now = 5000;
  EXPECT_FALSE(over({100, 5}) & DROPEFFECT_SCROLL);
  EXPECT_EQ(target.OffsetY(), 0);
  manager.DragLeave();

  target.SetOffsetY(-100);
  target.now = 10000;
  manager.DragEnter(&data, {ssLeft}, {100, 5}, effect);
  EXPECT_FALSE(over({100, 5}) & DROPEFFECT_SCROLL);
  EXPECT_EQ(target.OffsetY(), -100);
  EXPECT_TRUE(target.fakeTimers->IsRunning(ScrollTimer));
  EXPECT_EQ(target.fakeTimers->Interval(ScrollTimer), target.AutoScrollDelay());
  target.now = 11000;
  target.HandleTimer(ScrollTimer);
  EXPECT_EQ(target.OffsetY(), -80);  // one vertical increment
  EXPECT_EQ(target.fakeTimers->Interval(ScrollTimer), kMinimumTimerInterval);
  target.now = 11005;
  target.HandleTimer(ScrollTimer);
  EXPECT_TRUE(over({100, 5}) & DROPEFFECT_SCROLL);
  EXPECT_EQ(target.OffsetY(), -80);
  target.now = 11010;
  target.HandleTimer(ScrollTimer);
  EXPECT_EQ(target.OffsetY(), -60);
  // Away from the edge the timer runs out.
  over({100, 50});
  target.now = 11100;
  target.HandleTimer(ScrollTimer);
  EXPECT_FALSE(target.fakeTimers->IsRunning(ScrollTimer));
  manager.DragLeave();
}

TEST_F(Dragging, PressingOnANodeAndMovingPastTheThresholdStartsADragOfTheSelection) {
  source.OnDragAllowed = [](TBaseLazyTree*, PLazyNode, int, bool& allowed) { allowed = true; };
  source.AddToSelection(QVector<PLazyNode>{source.Named("a"), source.Named("c")});
  QVector<PLazyNode> dragged;
  int loops = 0;
  source.DragLoop = [&](QDrag& drag, Qt::DropActions allowed) {
    ++loops;
    dragged = source.DragSelection();
    EXPECT_EQ(allowed, kCopyMove);
    EXPECT_FALSE(drag.pixmap().isNull());  // the rows' picture goes with the drag
    EXPECT_TRUE(source.TreeStates().Contains(tsOLEDragging));
    QCursor::setPos(source.viewport()->mapToGlobal(RowAt(source, "c", 0, 25)));  // let go over the node
    return Qt::IgnoreAction;
  };
  const QPoint press = RowAt(source, "c", 0, 25);
  QTest::mousePress(source.viewport(), Qt::LeftButton, {}, press);
  QTest::mouseMove(source.viewport(), press + QPoint(1, 1));
  EXPECT_EQ(loops, 0);
  QTest::mouseMove(source.viewport(), press + QPoint(20, 0));  // still over the pressed node
  EXPECT_EQ(loops, 1);
  EXPECT_EQ(dragged, (QVector<PLazyNode>{source.Named("a"), source.Named("c")}));
  EXPECT_FALSE(source.TreeStates().Intersects({tsOLEDragging, tsOLEDragPending, tsLeftButtonDown}));
  // A plain press inside a selection would narrow it on release; after a drag it stays.
  EXPECT_EQ(source.SelectionCount(), 2u);
  source.DragLoop = nullptr;
  source.OnDragAllowed = nullptr;
}

TEST_F(Dragging, AClassDragCarriesOnlyItsSourceAndDropsWithoutData) {
  source.SetDragType(dtVCL);
  source.AddToSelection(source.Named("a"));
  QList<TDragState> seen;
  bool draggingSeen = false;
  const QMimeData* droppedData = &data_;
  target.OnDragOver = [&](TBaseLazyTree* tree, QObject* from, TShiftState, TDragState state, QPoint, TDropMode,
                          TDropEffect&, bool& accept) {
    seen << state;
    draggingSeen = tree->TreeStates().Contains(tsVCLDragging);
    EXPECT_EQ(from, &source);
    accept = true;
  };
  target.OnDragDrop = [&](TBaseLazyTree*, QObject* from, const QMimeData* data, const QStringList& formats,
                          TShiftState, QPoint, TDropEffect&, TDropMode mode) {
    droppedData = data;
    dropSource = from;
    dropped << formats.join(',');
    EXPECT_EQ(mode, dmOnNode);
  };
  source.DragLoop = [&](QDrag& drag, Qt::DropActions) {
    EXPECT_TRUE(source.TreeStates().Contains(tsVCLDragging));
    EXPECT_FALSE(drag.mimeData()->hasFormat("application/x-lazy-tree-data"));
    const QPoint p = RowAt(target, "x");
    Enter(target, drag.mimeData(), p);
    Move(target, drag.mimeData(), p);
    return Drop(target, drag.mimeData(), p);
  };
  source.BeginDrag();
  EXPECT_EQ(seen, (QList<TDragState>{dsDragEnter, dsDragMove}));
  EXPECT_TRUE(draggingSeen);
  EXPECT_EQ(droppedData, nullptr);
  EXPECT_EQ(dropped, QStringList{""});
  EXPECT_EQ(dropSource, &source);
  EXPECT_FALSE(target.TreeStates().Contains(tsVCLDragging));
  EXPECT_EQ(target.DropTargetNode(), nullptr);
  EXPECT_FALSE(source.TreeStates().Contains(tsVCLDragging));
  EXPECT_EQ(source.Rows(), "a b(b1) c");  // a class drag deletes nothing
  source.DragLoop = nullptr;
}

TEST(DragOwner, TheOwnersDataObjectAndDropTargetReplaceTheTreesOwn) {
  struct CountingManager : TLTDragManager {
    using TLTDragManager::TLTDragManager;
    THResult DragEnter(const QMimeData* data, TShiftState keys, QPoint pt, std::uint32_t& effect) override {
      ++enters;
      return TLTDragManager::DragEnter(data, keys, pt, effect);
    }
    int enters = 0;
  };
  NamedTree tree;
  tree.Add("a");
  tree.AddToSelection(tree.Named("a"));
  CountingManager* manager = nullptr;
  tree.OnCreateDragManager = [&](TBaseLazyTree* t, std::unique_ptr<TLTDragManager>& made) {
    made = std::make_unique<CountingManager>(*t);
    manager = static_cast<CountingManager*>(made.get());
  };
  QMimeData* own = nullptr;
  tree.OnCreateDataObject = [&](TBaseLazyTree*, std::unique_ptr<QMimeData>& data) {
    data = std::make_unique<QMimeData>();
    own = data.get();
  };
  const QMimeData* dragged = nullptr;
  tree.DragLoop = [&](QDrag& drag, Qt::DropActions) {
    dragged = drag.mimeData();
    Enter(tree, dragged, {10, 5});
    return Qt::IgnoreAction;
  };
  tree.BeginDrag();
  EXPECT_EQ(dragged, own);
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->enters, 1);
  EXPECT_FALSE(manager->IsDropTarget());  // the drag's end left the tree
  tree.DragLoop = nullptr;
  tree.OnCreateDragManager = nullptr;
  tree.OnCreateDataObject = nullptr;
}

TEST(DragSource, EscapeOrBothButtonsCancelAndNoButtonDrops) {
  struct Case {
    bool escape;
    TShiftState keys;
    THResult result;
  } cases[] = {
      {true, {ssLeft}, DRAGDROP_S_CANCEL},     {false, {ssLeft, ssRight}, DRAGDROP_S_CANCEL},
      {false, {}, DRAGDROP_S_DROP},            {false, {ssShift}, DRAGDROP_S_DROP},
      {false, {ssLeft}, S_OK},                 {false, {ssRight, ssCtrl}, S_OK},
  };
  for (const Case& c : cases) EXPECT_EQ(TLTDragManager::QueryContinueDrag(c.escape, c.keys), c.result);
}

TEST(DragPicture, FadesFromItsCentreAndDropsKeyedPixels) {
  EXPECT_EQ(TLTDragImage::FadeAlpha(50, 20, 100, 40), 255);
  // A quarter of the larger side from the centre: e^-2.
  EXPECT_EQ(TLTDragImage::FadeAlpha(75, 20, 100, 40), static_cast<int>(std::lround(255 * std::exp(-2.0))));
  TLTDragImage image;
  image.SetColorKey(Qt::magenta);
  image.SetTransparency(200);
  QImage picture(4, 2, QImage::Format_ARGB32);
  picture.fill(Qt::white);
  picture.setPixel(0, 0, qRgb(255, 0, 255));
  image.PrepareDrag(picture, {10, 10}, {12, 11});
  EXPECT_EQ(qAlpha(image.Picture().pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(image.Picture().pixel(3, 1)), 200);
  // Restricted to horizontal moves, the picture keeps its row.
  image.SetMoveRestriction(dmrHorizontalOnly);
  EXPECT_TRUE(image.DragTo({20, 50}));
  EXPECT_EQ(image.GetDragImageRect(), QRect(18, 10, 4, 2));
  EXPECT_FALSE(image.DragTo({20, 80}));
  image.EndDrag();
  EXPECT_FALSE(image.Prepared());
}

}  // namespace
