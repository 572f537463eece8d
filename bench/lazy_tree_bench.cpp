// The lazy tree next to QTreeView over the cheapest models we can write, in one run, on
// the offscreen platform: six columns of text, a 1000×700 window, 1k to 1M nodes.
//   first view    setting the node count and painting the first window
//   scroll step   one row down at the top, painted
//   expand all    a two-level tree (one parent per hundred nodes), opened and painted
//   destroy       deleting the control after that expand-all
//   memory        bytes per node beyond the owner's data
//   sort tree     SortTree of a flat list in scrambled order, cheap owner comparison
// and, for the position cache (its own block below):
//   first paint   painting the first window right after setting the count, while the
//                 worker builds the cache
//   cache build   from setting the count to the worker's report that the cache is valid,
//                 with the longest wait the tree's thread saw meanwhile: its event loop
//                 kept turning, and a change in the middle of the build halted it
//   into view     ScrollIntoView of the last node, painted
//   bottom step   one row up from the bottom, painted
//   hit test      scrolling to a random row and finding the node there
// each with the valid cache and, beside it, with the cache halted (walking from the top).
// Each figure is the median of several runs; the ratio is QTreeView's time over ours.
#include "BenchTiming.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTrees.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTreeView>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kColumns = 6;
constexpr int kChildrenPerParent = 99;  // a parent and its children make a hundred nodes
const QSize kViewport(1000, 700);

// ---- The peer's models: nothing stored, every answer computed ----------------------------

class FlatModel : public QAbstractItemModel {
public:
  void SetRows(int rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  }
  QModelIndex index(int row, int column, const QModelIndex& parent) const override {
    return parent.isValid() ? QModelIndex() : createIndex(row, column);
  }
  QModelIndex parent(const QModelIndex&) const override { return {}; }
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_; }
  int columnCount(const QModelIndex&) const override { return kColumns; }
  QVariant data(const QModelIndex& index, int role) const override {
    return role == Qt::DisplayRole ? QVariant(QString::number(index.row())) : QVariant();
  }

private:
  int rows_ = 0;
};

// Parents at the top; a child's internal id is its parent's row + 1.
class TwoLevelModel : public QAbstractItemModel {
public:
  explicit TwoLevelModel(int parents) : parents_(parents) {}
  QModelIndex index(int row, int column, const QModelIndex& parent) const override {
    if (!parent.isValid()) return createIndex(row, column, quintptr(0));
    if (parent.internalId() == 0) return createIndex(row, column, quintptr(parent.row() + 1));
    return {};
  }
  QModelIndex parent(const QModelIndex& index) const override {
    return index.internalId() == 0 ? QModelIndex() : createIndex(int(index.internalId() - 1), 0, quintptr(0));
  }
  int rowCount(const QModelIndex& parent) const override {
    if (!parent.isValid()) return parents_;
    return parent.internalId() == 0 && parent.column() == 0 ? kChildrenPerParent : 0;
  }
  int columnCount(const QModelIndex&) const override { return kColumns; }
  QVariant data(const QModelIndex& index, int role) const override {
    return role == Qt::DisplayRole ? QVariant(QString::number(index.row())) : QVariant();
  }

private:
  int parents_;
};

// ---- Our control with an owner that draws six cells of text per row ----------------------

struct Owned {
  quint32 row;
  quint32 parents;  // the two-level tree's parent count, 0 for a flat list
};

std::unique_ptr<TCustomLazyDrawTree> MakeTree(quint32 parents) {
  auto tree = std::make_unique<TCustomLazyDrawTree>();
  tree->SetNodeDataSize(sizeof(void*));  // what a real owner keeps: one reference
  tree->OnInitNode = [parents](TBaseLazyTree* t, PLazyNode parent, PLazyNode node, TLazyNodeInitStates& states) {
    auto* data = t->GetNodeData<quint32>(node);
    *data = node->Index;
    if (parents > 0 && !parent) states.Include(ivsHasChildren);
  };
  tree->OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t& count) { count = kChildrenPerParent; };
  tree->OnDrawNode = [](TBaseLazyTree* t, const TLTPaintInfo& info) {
    const QString text = QString::number(*t->GetNodeData<quint32>(info.Node));
    const int width = info.CellRect.width() / kColumns;
    for (int c = 0; c < kColumns; ++c) {
      const QRect cell(info.CellRect.left() + c * width, info.CellRect.top(), width, info.CellRect.height());
      info.Canvas->drawText(c == 0 ? info.ContentRect.intersected(cell) : cell.adjusted(4, 0, 0, 0),
                            Qt::AlignVCenter | Qt::AlignLeft, text);
    }
  };
  return tree;
}

template <typename Widget>
void ShowAt(Widget& widget, const QSize& viewport) {
  widget.resize(viewport + (widget.size() - widget.viewport()->size()));
  widget.show();
  QElapsedTimer wait;
  wait.start();
  while (!(widget.windowHandle() && widget.windowHandle()->isExposed()) && wait.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  widget.resize(viewport + (widget.size() - widget.viewport()->size()));
  QCoreApplication::processEvents();
}

int Repeats(int nodes) { return nodes >= 1000000 ? 3 : nodes >= 100000 ? 5 : 9; }

// ---- The measurements ----------------------------------------------------------------------

struct Row {
  double ours = 0;
  double peer = 0;
};

Row FirstView(int nodes) {
  std::vector<double> ours, peer;
  auto tree = MakeTree(0);
  ShowAt(*tree, kViewport);
  QTreeView view;
  view.setUniformRowHeights(true);  // the peer's fastest setting
  FlatModel model;
  view.setModel(&model);
  ShowAt(view, kViewport);
  for (int i = 0; i < Repeats(nodes); ++i) {
    tree->SetRootNodeCount(0);
    ours.push_back(Ms([&] {
      tree->SetRootNodeCount(nodes);
      tree->viewport()->repaint();
    }));
    model.SetRows(0);
    QCoreApplication::processEvents();
    peer.push_back(Ms([&] {
      model.SetRows(nodes);
      view.viewport()->repaint();
    }));
  }
  return {Median(ours), Median(peer)};
}

Row ScrollStep(int nodes) {
  std::vector<double> ours, peer;
  auto tree = MakeTree(0);
  ShowAt(*tree, kViewport);
  tree->SetRootNodeCount(nodes);
  tree->viewport()->repaint();
  QTreeView view;
  view.setUniformRowHeights(true);
  FlatModel model;
  model.SetRows(nodes);
  view.setModel(&model);
  ShowAt(view, kViewport);
  view.viewport()->repaint();
  for (int i = 0; i < 21; ++i) {
    tree->SetOffsetY(0);
    tree->viewport()->repaint();
    ours.push_back(Ms([&] {
      tree->SetOffsetY(-tree->DefaultNodeHeight());
      tree->viewport()->repaint();
    }));
    view.verticalScrollBar()->setValue(0);
    view.viewport()->repaint();
    peer.push_back(Ms([&] {
      view.verticalScrollBar()->setValue(1);  // one row: the view scrolls per item
      view.viewport()->repaint();
    }));
  }
  return {Median(ours), Median(peer)};
}

struct ExpandRows {
  Row expand;
  double destroy = 0;
  double bytesPerNode = 0;
};

ExpandRows ExpandAll(int nodes) {
  const int parents = std::max(nodes / (kChildrenPerParent + 1), 1);
  std::vector<double> ours, peer, destroy;
  double bytes = 0;
  for (int i = 0; i < Repeats(nodes); ++i) {
    auto tree = MakeTree(parents);
    ShowAt(*tree, kViewport);
    tree->SetRootNodeCount(parents);
    tree->viewport()->repaint();
    ours.push_back(Ms([&] {
      tree->ExpandAll(nullptr);
      tree->viewport()->repaint();
    }));
    bytes = double(tree->NodeMemoryBytes()) / tree->TotalCount() - sizeof(void*);
    destroy.push_back(Ms([&] { tree.reset(); }));

    // The peer's expand-all grows far faster than its node count: a single run at 100k,
    // and none at 1M, where it would take hours.
    const int peerRuns = nodes <= 10000 ? 3 : nodes <= 100000 ? 1 : 0;
    if (i < peerRuns) {
      QTreeView view;
      view.setUniformRowHeights(true);
      TwoLevelModel model(parents);
      view.setModel(&model);
      ShowAt(view, kViewport);
      view.viewport()->repaint();
      peer.push_back(Ms([&] {
        view.expandAll();
        view.viewport()->repaint();
      }));
    }
  }
  return {{Median(ours), peer.empty() ? -1.0 : Median(peer)}, Median(destroy), bytes};
}

// ---- Sorting: a flat list in scrambled order by a key in the node, the cheapest owner
//      comparison; the keys are set beforehand, so only the sort is timed.
double SortTree(int nodes) {
  std::vector<double> ours;
  for (int i = 0; i < Repeats(nodes); ++i) {
    auto tree = MakeTree(0);
    tree->SetRootNodeCount(static_cast<unsigned>(nodes));
    for (PLazyNode run = tree->GetFirstRaw(); run; run = tree->GetNextRaw(run))
      *tree->GetNodeData<quint32>(run) = run->Index * 2654435761u;  // scrambled, few ties
    tree->OnCompareNodes = [](TBaseLazyTree* t, PLazyNode a, PLazyNode b, int, int& result) {
      const quint32 x = *t->GetNodeData<quint32>(a), y = *t->GetNodeData<quint32>(b);
      result = x < y ? -1 : x > y ? 1 : 0;
    };
    ours.push_back(Ms([&] { tree->SortTree(0, true, false); }));
  }
  return Median(ours);
}

// ---- Columns and painting: six header columns with grid lines -------------------------------
//   full repaint  the whole 1000×700 window painted again, header included
//   column resize one column's width changed and the window painted, 100k nodes

std::unique_ptr<TCustomLazyDrawTree> MakeColumnTree() {
  auto tree = std::make_unique<TCustomLazyDrawTree>();
  tree->SetNodeDataSize(sizeof(void*));
  tree->OnDrawNode = [](TBaseLazyTree*, const TLTPaintInfo& info) {
    info.Canvas->drawText(info.ContentRect, Qt::AlignVCenter | Qt::AlignLeft, QString::number(info.Node->Index));
  };
  TLTHeader& header = tree->Header();
  for (int c = 0; c < kColumns; ++c) {
    TLazyTreeColumn* column = tree->Columns().Add();
    column->SetText(QStringLiteral("Column %1").arg(c));
    column->SetWidth(kViewport.width() / kColumns);
  }
  header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
  header.SetHeight(20);
  tree->TreeOptions().SetPaintOptions(tree->TreeOptions().PaintOptions() +
                                      TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines});
  return tree;
}

std::unique_ptr<QTreeView> MakeColumnView(FlatModel& model) {
  auto view = std::make_unique<QTreeView>();
  view->setUniformRowHeights(true);
  view->setRootIsDecorated(false);
  view->setModel(&model);
  for (int c = 0; c < kColumns; ++c) view->header()->resizeSection(c, kViewport.width() / kColumns);
  return view;
}

void RepaintAll(QAbstractScrollArea& widget) {
  widget.repaint();
  widget.viewport()->repaint();
}

// Both controls shown with the same rows, then Step(ours, peer, i) timed 21 times each.
Row TimeWithColumns(int nodes, const std::function<void(TCustomLazyDrawTree&, QTreeView&, int)>& step) {
  std::vector<double> ours, peer;
  auto tree = MakeColumnTree();
  ShowAt(*tree, kViewport);
  tree->SetRootNodeCount(nodes);
  RepaintAll(*tree);
  FlatModel model;
  model.SetRows(nodes);
  auto view = MakeColumnView(model);
  ShowAt(*view, kViewport);
  RepaintAll(*view);
  for (int i = 0; i < 21; ++i) {
    ours.push_back(Ms([&] {
      step(*tree, *view, i);
      tree->Header().Area()->repaint();
      tree->viewport()->repaint();
    }));
    peer.push_back(Ms([&] {
      step(*tree, *view, -1 - i);
      view->header()->viewport()->repaint();
      view->viewport()->repaint();
    }));
  }
  return {Median(ours), Median(peer)};
}

Row FullRepaint(int nodes) {
  return TimeWithColumns(nodes, [](TCustomLazyDrawTree&, QTreeView&, int) {});
}

// Step i >= 0 resizes our column, i < 0 the peer's (step -1 - i).
Row ColumnResize(int nodes) {
  const int base = kViewport.width() / kColumns;
  return TimeWithColumns(nodes, [base](TCustomLazyDrawTree& tree, QTreeView& view, int i) {
    const int step = i >= 0 ? i : -1 - i;
    const int width = base + (step % 2 == 0 ? 40 : -40);
    if (i >= 0)
      tree.Columns()[2]->SetWidth(width);
    else
      view.header()->resizeSection(2, width);
  });
}

// ---- The position cache ---------------------------------------------------------------------

// Turns the event loop without waiting until the tree reports its cache valid; returns
// the longest turn meanwhile, the longest time the tree's thread could not answer input.
double WaitForCache(TBaseLazyTree& tree) {
  double longest = 0;
  QElapsedTimer turn;
  while (!tree.TreeStates().Contains(tsUseCache)) {
    turn.start();
    QCoreApplication::processEvents();
    longest = std::max(longest, turn.nsecsElapsed() / 1e6);
  }
  return longest;
}

struct CacheRows {
  Row firstPaint;
  double build = 0, longestTurn = 0, longestHalt = 0;
  Row intoView, intoViewWalking;
  Row bottomStep, bottomStepWalking;
  Row hitTest, hitTestWalking;
};

CacheRows PositionCache(int nodes) {
  CacheRows r;
  auto tree = MakeTree(0);
  ShowAt(*tree, kViewport);
  QTreeView view;
  view.setUniformRowHeights(true);
  FlatModel model;
  view.setModel(&model);
  ShowAt(view, kViewport);

  // The first window while the worker builds, and the build with the thread kept busy.
  std::vector<double> paint, peerPaint, build, turns, halts;
  for (int i = 0; i < Repeats(nodes); ++i) {
    tree->SetRootNodeCount(0);
    QCoreApplication::processEvents();  // no paint of either side left for the loop below
    QElapsedTimer clock;
    clock.start();
    tree->SetRootNodeCount(nodes);
    paint.push_back(Ms([&] { tree->viewport()->repaint(); }));
    // A change in the middle of the build: the tree waits for the worker to stop.
    if (nodes > 2 * int(kCacheThreshold)) halts.push_back(Ms([&] { tree->SetNodeHeight(tree->GetFirstRaw(), 19 + i % 2); }));
    turns.push_back(nodes > int(kCacheThreshold) ? WaitForCache(*tree) : 0);
    build.push_back(clock.nsecsElapsed() / 1e6);
    model.SetRows(0);
    model.SetRows(nodes);
    peerPaint.push_back(Ms([&] { view.viewport()->repaint(); }));
  }
  r.firstPaint = {Median(paint), Median(peerPaint)};
  r.build = Median(build);
  r.longestTurn = *std::max_element(turns.begin(), turns.end());
  r.longestHalt = halts.empty() ? 0 : *std::max_element(halts.begin(), halts.end());

  const PLazyNode last = tree->GetLastRaw();
  const QModelIndex lastIndex = model.index(nodes - 1, 0, {});
  auto intoView = [&] {
    std::vector<double> ours, peer;
    for (int i = 0; i < 9; ++i) {
      tree->SetOffsetY(0);
      ours.push_back(Ms([&] {
        tree->ScrollIntoView(last, false);
        tree->viewport()->repaint();
      }));
      view.scrollToTop();
      peer.push_back(Ms([&] {
        view.scrollTo(lastIndex);
        view.viewport()->repaint();
      }));
    }
    return Row{Median(ours), Median(peer)};
  };
  auto bottomStep = [&] {
    std::vector<double> ours, peer;
    const int bottom = -(tree->RangeY() - tree->ClientHeight());
    QScrollBar* bar = view.verticalScrollBar();
    for (int i = 0; i < 9; ++i) {
      tree->SetOffsetY(bottom);
      tree->viewport()->repaint();
      ours.push_back(Ms([&] {
        tree->SetOffsetY(bottom + tree->DefaultNodeHeight());
        tree->viewport()->repaint();
      }));
      bar->setValue(bar->maximum());
      view.viewport()->repaint();
      peer.push_back(Ms([&] {
        bar->setValue(bar->maximum() - 1);
        view.viewport()->repaint();
      }));
    }
    return Row{Median(ours), Median(peer)};
  };
  auto hitTest = [&] {
    std::mt19937 rng(nodes);
    std::uniform_int_distribution<int> row(0, nodes - 1);
    std::vector<int> rows(200);
    for (int& y : rows) y = row(rng);
    const double ours = Ms([&] {
      for (int y : rows) {
        tree->SetOffsets(QPoint(0, -y * tree->DefaultNodeHeight()), TScrollUpdateOptions{});
        if (!tree->NodeAtPosition(1, true)) std::abort();
      }
    });
    const double peer = Ms([&] {
      for (int y : rows) {
        view.verticalScrollBar()->setValue(y);
        if (!view.indexAt(QPoint(1, 1)).isValid()) std::abort();
      }
    });
    return Row{ours / rows.size(), peer / rows.size()};
  };

  if (nodes > int(kCacheThreshold)) {
    WaitForCache(*tree);
    r.intoView = intoView();
    r.bottomStep = bottomStep();
    r.hitTest = hitTest();
  }
  // The same with the cache halted: the lookups walk from the first row.
  tree->HaltCacheValidation();
  r.intoViewWalking = intoView();
  r.bottomStepWalking = bottomStep();
  r.hitTestWalking = hitTest();
  return r;
}

void Print(const char* what, int nodes, const Row& row) {
  if (row.peer < 0) {
    std::printf("%-12s %9d   ours %9.3f ms   QTreeView  not run (too slow at this size)\n", what, nodes, row.ours);
    return;
  }
  std::printf("%-12s %9d   ours %9.3f ms   QTreeView %9.3f ms   ratio %8.1fx\n", what, nodes, row.ours, row.peer,
              row.peer / std::max(row.ours, 1e-6));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  std::vector<int> sizes = {1000, 10000, 100000, 1000000};
  if (argc > 1) sizes = {QByteArray(argv[1]).toInt()};
  // A second argument runs only the block whose name starts with it ("sort", "first", ...).
  const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
  auto runs = [&](const char* block) { return only.isEmpty() || QByteArray(block).startsWith(only); };
  std::printf("Lazy tree next to QTreeView, %d columns, %dx%d, offscreen; medians\n", kColumns, kViewport.width(),
              kViewport.height());
  if (runs("first view"))
    for (int n : sizes) Print("first view", n, FirstView(n));
  for (int n : sizes) {
    if (!runs("cache")) break;
    const CacheRows r = PositionCache(n);
    Print("first paint", n, r.firstPaint);
    std::printf("%-12s %9d   ours %9.3f ms   longest wait of the tree's thread %7.3f ms, of a change %7.3f ms\n",
                "cache build", n, r.build, r.longestTurn, r.longestHalt);
    if (n > int(kCacheThreshold)) {
      Print("into view", n, r.intoView);
      Print("bottom step", n, r.bottomStep);
      Print("hit test", n, r.hitTest);
    }
    Print("into view*", n, r.intoViewWalking);
    Print("bottom step*", n, r.bottomStepWalking);
    Print("hit test*", n, r.hitTestWalking);
  }
  std::printf("(* with the cache halted: lookups walk from the first row)\n");
  if (runs("scroll step"))
    for (int n : sizes) Print("scroll step", n, ScrollStep(n));
  if (runs("full repaint"))
    for (int n : sizes) Print("full repaint", n, FullRepaint(n));
  if (runs("col resize")) Print("col resize", 100000, ColumnResize(100000));
  for (int n : sizes) {
    if (!runs("expand all")) break;
    const ExpandRows r = ExpandAll(n);
    Print("expand all", n, r.expand);
    std::printf("%-12s %9d   ours %9.3f ms\n", "destroy", n, r.destroy);
    std::printf("%-12s %9d   ours %9.1f bytes per node beyond the owner's data\n", "memory", n, r.bytesPerNode);
  }
  if (runs("sort tree"))
    for (int n : sizes) std::printf("%-12s %9d   ours %9.3f ms\n", "sort tree", n, SortTree(n));
  return 0;
}
