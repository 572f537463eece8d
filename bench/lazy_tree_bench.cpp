// The lazy tree next to QTreeView over the cheapest models we can write, in one run, on
// the offscreen platform: a header with six columns of text, a 1000×700 window, 1k to 1M
// nodes. Each figure is what a user waits for: from the change through the event loop
// until the viewport's paint has been handled (the frame is on the screen), both sides
// alike. The peer runs at its best: uniform row heights, interactive header sections of
// fixed width (nothing measured over the rows), a model that stores nothing.
//   first view    a fresh control each round, shown and empty: from setting the node
//                 count (ours) or the model's reset (the peer) to the first painted frame
//   scroll step   one row down at the top, to the painted frame
//   full repaint  header and rows invalidated, to the painted frame
//   col resize    one column's width changed, to the painted frame (100k nodes)
//   expand all    a two-level tree (one parent per hundred nodes) built in a fresh
//                 process each round, opened all at once, to the painted frame
//   destroy       deleting that control (and the peer's model) right after
//   memory        bytes per node beyond the owner's data
//   sort tree     a flat list in scrambled order by a key prepared beforehand: ours by
//                 SortTree with a cheap owner comparison, the peer by a sort proxy whose
//                 comparison reads the same keys
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
// Each figure is the median of several runs, with the range beside it; the ratio is
// QTreeView's time over ours.
#include "BenchTiming.h"
#include "PaintWatch.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTrees.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QPainter>
#include <QProcess>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyleFactory>
#include <QTreeView>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace {

constexpr int kColumns = 6;
constexpr int kChildrenPerParent = 99;  // a parent and its children make a hundred nodes
const QSize kViewport(1000, 700);
constexpr int kColumnWidth = 1000 / kColumns;

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

// Parents at the top; a child's internal id holds its parent's row + 1 in the high half
// and a scrambled copy in the low half. The view's persistent indexes live in a hash of
// row, column and internal id whose buckets come from the low bits: ids that were just
// the parent's row would make children of different parents collide there, and tearing
// the view down would take minutes.
class TwoLevelModel : public QAbstractItemModel {
public:
  explicit TwoLevelModel(int parents) : parents_(parents) {}
  QModelIndex index(int row, int column, const QModelIndex& parent) const override {
    if (!parent.isValid()) return createIndex(row, column, quintptr(0));
    if (parent.internalId() == 0) return createIndex(row, column, ChildId(parent.row()));
    return {};
  }
  QModelIndex parent(const QModelIndex& index) const override {
    return index.internalId() == 0 ? QModelIndex() : createIndex(int((index.internalId() >> 32) - 1), 0, quintptr(0));
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
  static quintptr ChildId(int parentRow) {
    const quint64 id = quint64(parentRow) + 1;
    return quintptr((id << 32) | quint32(id * 2654435761u));
  }
  int parents_;
};

// The peer's sort with its keys prepared once: the comparison reads two integers.
class KeyedSortProxy : public QSortFilterProxyModel {
public:
  explicit KeyedSortProxy(const std::vector<quint32>& keys) : keys_(keys) {}

protected:
  bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
    return keys_[std::size_t(left.row())] < keys_[std::size_t(right.row())];
  }

private:
  const std::vector<quint32>& keys_;
};

// ---- Both controls with a header of six columns -------------------------------------------

// Our control with an owner that keeps one reference per node and draws its number in
// every cell.
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
    info.Canvas->drawText(info.ContentRect, Qt::AlignVCenter | Qt::AlignLeft,
                          QString::number(*t->GetNodeData<quint32>(info.Node)));
  };
  TLTHeader& header = tree->Header();
  for (int c = 0; c < kColumns; ++c) {
    TLazyTreeColumn* column = tree->Columns().Add();
    column->SetText(QStringLiteral("Column %1").arg(c));
    column->SetWidth(kColumnWidth);
  }
  header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
  header.SetHeight(20);
  tree->TreeOptions().SetPaintOptions(tree->TreeOptions().PaintOptions() +
                                      TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines});
  return tree;
}

// The peer at its best: uniform rows and header sections of a fixed width, so nothing
// is measured over the rows.
std::unique_ptr<QTreeView> MakeView(QAbstractItemModel& model, bool decorated) {
  auto view = std::make_unique<QTreeView>();
  view->setUniformRowHeights(true);
  view->setRootIsDecorated(decorated);
  view->setModel(&model);
  QHeaderView* header = view->header();
  header->setStretchLastSection(false);
  header->setSectionResizeMode(QHeaderView::Interactive);
  header->setDefaultSectionSize(kColumnWidth);
  for (int c = 0; c < kColumns; ++c) header->resizeSection(c, kColumnWidth);
  return view;
}

// Shown at the size of the window, exposed, and with its first frames painted.
template <typename Widget>
void ShowAt(Widget& widget, TPaintWatch& watch) {
  widget.resize(kViewport + (widget.size() - widget.viewport()->size()));
  widget.show();
  for (int turn = 0; turn < 1000 && !(widget.windowHandle() && widget.windowHandle()->isExposed()); ++turn)
    watch.WaitBeyond(watch.Paints(), 100);
  widget.resize(kViewport + (widget.size() - widget.viewport()->size()));
  watch.Settle();
}

int Repeats(int nodes) { return nodes >= 1000000 ? 3 : nodes >= 100000 ? 5 : 9; }

// ---- The measurements ----------------------------------------------------------------------

struct Figure {
  double median = -1, low = 0, high = 0;  // median < 0: not measured
};

Figure Summary(const std::vector<double>& values) {
  if (values.empty()) return {};
  return {Median(values), *std::min_element(values.begin(), values.end()),
          *std::max_element(values.begin(), values.end())};
}

struct Row {
  Figure ours, peer;
};

Row FirstView(int nodes) {
  std::vector<double> ours, peer;
  for (int i = 0; i < Repeats(nodes); ++i) {
    {
      auto tree = MakeTree(0);
      TPaintWatch watch(tree->viewport());
      ShowAt(*tree, watch);
      ours.push_back(Ms([&] {
        tree->SetRootNodeCount(unsigned(nodes));
        watch.WaitForFrame();
      }));
    }
    {
      FlatModel model;
      auto view = MakeView(model, false);
      TPaintWatch watch(view->viewport());
      ShowAt(*view, watch);
      peer.push_back(Ms([&] {
        model.SetRows(nodes);
        watch.WaitForFrame();
      }));
    }
  }
  return {Summary(ours), Summary(peer)};
}

// Both controls shown with the same flat rows; each of 21 rounds runs the side's
// preparation untimed, then times its step until the frame it causes is painted.
struct FrameSteps {
  std::function<void(TCustomLazyDrawTree&, int)> ourPrepare, ourStep;
  std::function<void(QTreeView&, int)> peerPrepare, peerStep;
};

Row TimeFrames(int nodes, const FrameSteps& steps) {
  std::vector<double> ours, peer;
  auto tree = MakeTree(0);
  TPaintWatch ourWatch(tree->viewport());
  ShowAt(*tree, ourWatch);
  tree->SetRootNodeCount(unsigned(nodes));
  ourWatch.WaitForFrame();
  FlatModel model;
  model.SetRows(nodes);
  auto view = MakeView(model, false);
  TPaintWatch peerWatch(view->viewport());
  ShowAt(*view, peerWatch);
  for (int i = 0; i < 21; ++i) {
    if (steps.ourPrepare) steps.ourPrepare(*tree, i);
    ourWatch.Settle();
    ours.push_back(Ms([&] {
      steps.ourStep(*tree, i);
      ourWatch.WaitForFrame();
    }));
    if (steps.peerPrepare) steps.peerPrepare(*view, i);
    peerWatch.Settle();
    peer.push_back(Ms([&] {
      steps.peerStep(*view, i);
      peerWatch.WaitForFrame();
    }));
  }
  return {Summary(ours), Summary(peer)};
}

Row ScrollStep(int nodes) {
  return TimeFrames(nodes, {[](TCustomLazyDrawTree& tree, int) { tree.SetOffsetY(0); },
                            [](TCustomLazyDrawTree& tree, int) { tree.SetOffsetY(-tree.DefaultNodeHeight()); },
                            [](QTreeView& view, int) { view.verticalScrollBar()->setValue(0); },
                            // one row: the view scrolls per item
                            [](QTreeView& view, int) { view.verticalScrollBar()->setValue(1); }});
}

Row FullRepaint(int nodes) {
  return TimeFrames(nodes, {nullptr,
                            [](TCustomLazyDrawTree& tree, int) {
                              tree.Header().Area()->update();
                              tree.viewport()->update();
                            },
                            nullptr,
                            [](QTreeView& view, int) {
                              view.header()->viewport()->update();
                              view.viewport()->update();
                            }});
}

Row ColumnResize(int nodes) {
  auto width = [](int i) { return kColumnWidth + (i % 2 == 0 ? 40 : -40); };
  return TimeFrames(nodes, {nullptr, [width](TCustomLazyDrawTree& tree, int i) { tree.Columns()[2]->SetWidth(width(i)); },
                            nullptr, [width](QTreeView& view, int i) { view.header()->resizeSection(2, width(i)); }});
}

// ---- Expand all and teardown, one round per process so no round finds a heap warmed
//      by an earlier one.

struct ExpandRound {
  double expand = 0, destroy = 0, bytesPerNode = 0;
};

// The round itself, in the child: build the two-level tree on a fresh control and paint
// it, then time opening every parent to the painted frame, and deleting the control.
ExpandRound RunExpandRound(int nodes, bool peerSide) {
  const int parents = std::max(nodes / (kChildrenPerParent + 1), 1);
  ExpandRound r;
  if (!peerSide) {
    auto tree = MakeTree(quint32(parents));
    {
      TPaintWatch watch(tree->viewport());
      ShowAt(*tree, watch);
      tree->SetRootNodeCount(unsigned(parents));
      watch.WaitForFrame();
      r.expand = Ms([&] {
        tree->ExpandAll(nullptr);
        watch.WaitForFrame();
      });
    }
    r.bytesPerNode = double(tree->NodeMemoryBytes()) / tree->TotalCount() - sizeof(void*);
    r.destroy = Ms([&] { tree.reset(); });
    return r;
  }
  auto model = std::make_unique<TwoLevelModel>(parents);
  auto view = MakeView(*model, true);
  {
    TPaintWatch watch(view->viewport());
    ShowAt(*view, watch);
    r.expand = Ms([&] {
      view->expandAll();
      watch.WaitForFrame();
    });
  }
  r.destroy = Ms([&] {
    view.reset();
    model.reset();
  });
  return r;
}

// The round in a child process of this program; nothing when it failed or ran out of time.
std::optional<ExpandRound> ExpandRoundInChild(int nodes, bool peerSide) {
  constexpr int kRoundLimitMs = 300000;
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(QCoreApplication::applicationFilePath(),
              {QString::number(nodes), QStringLiteral("--expand-round"), peerSide ? QStringLiteral("peer") : QStringLiteral("ours")});
  if (!child.waitForFinished(kRoundLimitMs)) {
    child.kill();
    child.waitForFinished();
    return std::nullopt;
  }
  ExpandRound r;
  if (std::sscanf(child.readAllStandardOutput().constData(), "%lf %lf %lf", &r.expand, &r.destroy, &r.bytesPerNode) != 3)
    return std::nullopt;
  return r;
}

struct ExpandRows {
  Row expand, destroy;
  double bytesPerNode = 0;
};

ExpandRows ExpandAll(int nodes) {
  std::vector<double> ours, oursDestroy, peer, peerDestroy;
  double bytes = 0;
  bool peerFinishes = true;
  for (int i = 0; i < Repeats(nodes); ++i) {
    if (const auto r = ExpandRoundInChild(nodes, false)) {
      ours.push_back(r->expand);
      oursDestroy.push_back(r->destroy);
      bytes = r->bytesPerNode;
    }
    // A peer round that ran out of time is not tried again at this size.
    if (!peerFinishes) continue;
    if (const auto r = ExpandRoundInChild(nodes, true)) {
      peer.push_back(r->expand);
      peerDestroy.push_back(r->destroy);
    } else {
      peerFinishes = false;
    }
  }
  return {{Summary(ours), Summary(peer)}, {Summary(oursDestroy), Summary(peerDestroy)}, bytes};
}

// ---- Sorting: a flat list in scrambled order by a key prepared beforehand, so only the
//      sort is timed; a fresh tree and a fresh proxy each round.
quint32 Scrambled(quint32 row) { return row * 2654435761u; }  // few ties

Row SortTree(int nodes) {
  std::vector<double> ours, peer;
  std::vector<quint32> keys(static_cast<std::size_t>(nodes));
  for (int row = 0; row < nodes; ++row) keys[std::size_t(row)] = Scrambled(quint32(row));
  FlatModel model;
  model.SetRows(nodes);
  for (int i = 0; i < Repeats(nodes); ++i) {
    auto tree = MakeTree(0);
    tree->SetRootNodeCount(static_cast<unsigned>(nodes));
    for (PLazyNode run = tree->GetFirstRaw(); run; run = tree->GetNextRaw(run))
      *tree->GetNodeData<quint32>(run) = Scrambled(run->Index);
    tree->OnCompareNodes = [](TBaseLazyTree* t, PLazyNode a, PLazyNode b, int, int& result) {
      const quint32 x = *t->GetNodeData<quint32>(a), y = *t->GetNodeData<quint32>(b);
      result = x < y ? -1 : x > y ? 1 : 0;
    };
    ours.push_back(Ms([&] { tree->SortTree(0, true, false); }));

    KeyedSortProxy proxy(keys);
    proxy.setSourceModel(&model);
    peer.push_back(Ms([&] { proxy.sort(0, Qt::AscendingOrder); }));
  }
  return {Summary(ours), Summary(peer)};
}

// ---- The position cache ---------------------------------------------------------------------
// Timed by painting directly (repaint), the cache's own cost apart from the event loop's.

struct Pair {
  double ours = 0, peer = 0;
};

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
  Pair firstPaint;
  double build = 0, longestTurn = 0, longestHalt = 0;
  Pair intoView, intoViewWalking;
  Pair bottomStep, bottomStepWalking;
  Pair hitTest, hitTestWalking;
};

CacheRows PositionCache(int nodes) {
  CacheRows r;
  auto tree = MakeTree(0);
  TPaintWatch ourWatch(tree->viewport());
  ShowAt(*tree, ourWatch);
  FlatModel model;
  auto peerView = MakeView(model, false);
  QTreeView& view = *peerView;
  TPaintWatch peerWatch(view.viewport());
  ShowAt(view, peerWatch);

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
    return Pair{Median(ours), Median(peer)};
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
    return Pair{Median(ours), Median(peer)};
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
    return Pair{ours / rows.size(), peer / rows.size()};
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

void Print(const char* what, int nodes, const Figure& ours, const Figure& peer, const char* peerNote = "not run") {
  std::printf("%-12s %9d   ours %9.3f ms (%.3f..%.3f)", what, nodes, ours.median, ours.low, ours.high);
  if (peer.median < 0)
    std::printf("   QTreeView  %s\n", peerNote);
  else
    std::printf("   QTreeView %9.3f ms (%.3f..%.3f)   ratio %8.1fx\n", peer.median, peer.low, peer.high,
                peer.median / std::max(ours.median, 1e-6));
}

void Print(const char* what, int nodes, const Row& row) { Print(what, nodes, row.ours, row.peer); }

void Print(const char* what, int nodes, const Pair& pair) {
  std::printf("%-12s %9d   ours %9.3f ms   QTreeView %9.3f ms   ratio %8.1fx\n", what, nodes, pair.ours, pair.peer,
              pair.peer / std::max(pair.ours, 1e-6));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // The child of one expand-all round: "N --expand-round ours|peer".
  if (argc == 4 && QByteArray(argv[2]) == "--expand-round") {
    const ExpandRound r = RunExpandRound(QByteArray(argv[1]).toInt(), QByteArray(argv[3]) == "peer");
    std::printf("%.4f %.4f %.2f\n", r.expand, r.destroy, r.bytesPerNode);
    return 0;
  }
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // each figure shows as it is measured
  std::vector<int> sizes = {1000, 10000, 100000, 1000000};
  if (argc > 1) sizes = {QByteArray(argv[1]).toInt()};
  // A second argument runs only the block whose name starts with it ("sort", "first", ...).
  const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
  auto runs = [&](const char* block) { return only.isEmpty() || QByteArray(block).startsWith(only); };
  std::printf("Lazy tree next to QTreeView, %d columns, %dx%d, offscreen; medians (ranges)\n", kColumns,
              kViewport.width(), kViewport.height());
  if (runs("first view"))
    for (int n : sizes) Print("first view", n, FirstView(n));
  if (runs("scroll step"))
    for (int n : sizes) Print("scroll step", n, ScrollStep(n));
  if (runs("full repaint"))
    for (int n : sizes) Print("full repaint", n, FullRepaint(n));
  if (runs("col resize")) Print("col resize", 100000, ColumnResize(100000));
  for (int n : sizes) {
    if (!runs("expand all")) break;
    const ExpandRows r = ExpandAll(n);
    Print("expand all", n, r.expand.ours, r.expand.peer, "did not finish in time");
    Print("destroy", n, r.destroy.ours, r.destroy.peer, "did not finish in time");
    std::printf("%-12s %9d   ours %9.1f bytes per node beyond the owner's data\n", "memory", n, r.bytesPerNode);
  }
  if (runs("sort tree"))
    for (int n : sizes) Print("sort tree", n, SortTree(n));
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
    if (n == sizes.back()) std::printf("(* with the cache halted: lookups walk from the first row)\n");
  }
  return 0;
}
