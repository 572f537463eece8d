// The main window's task list at 1,000, 10,000 and 100,000 realistic tasks, on the
// offscreen platform, next to a QTreeView + QSortFilterProxyModel over the same tasks
// where the peer has the same operation:
//   focus change   moving the focus to another row with AutoFitColumns on (the notes pane
//                  follows and every visible column is fitted); the first fit, which
//                  measures every row, on its own line. Peer: setCurrentIndex and
//                  resizeColumnToContents of its columns over all rows.
//   title sort     a header click on the title, from the click to the sorted rows painted,
//                  the first after the stores were opened: every collation key made in
//                  the time. Peer: proxy.sort on the title through keys prepared once
//                  outside the time (its best), then a paint. Beside it: the keys alone;
//                  a click again with the keys kept from the click before; the same after
//                  lookup names changed (every title checked against its kept key); and a
//                  click after one title was edited (its key made again).
//   id sort        a header click on the ID, from the title order, to the rows painted.
//                  Peer: proxy.sort through a comparison of the tasks' IDs
//   tabs           BuildQuickFilterTabs by status and by due day (tabs, counts, images and
//                  the re-filter of every row).
//   filter toggle  switching a status filter on and off (every row re-filtered, the
//                  selection kept, columns fitted). Peer: invalidateFilter on the proxy.
// Each figure is the median of several runs; the ratio is the peer's time over ours.
#include "BenchTiming.h"
#include "RealisticTasks.h"

#include "core/TdApp.h"
#include "platform/AppContext.h"
#include "ui/TaskCellTexts.h"
#include "ui/TdCommon.h"
#include "ui/TdTaskTree.h"
#include "ui/TdTreeHelpers.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCollator>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QStyleFactory>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTreeView>
#include <QVBoxLayout>

#include <cstdio>
#include <random>

namespace {

void Print(const char* what, int count, double ours, double peer = -1) {
  if (peer < 0) {
    std::printf("%-16s %7d   ours %10.3f ms\n", what, count, ours);
    return;
  }
  std::printf("%-16s %7d   ours %10.3f ms   peer %10.3f ms   peer/ours %6.1fx\n", what, count, ours, peer,
              peer / ours);
}

// The peer's model: the columns the default options show, texts from the same functions.
class TaskModel : public QAbstractTableModel {
public:
  TaskModel(const TTdTodoHandler& store, TTaskViewContext context) : store_(store), context_(std::move(context)) {}
  static constexpr int kColumns[] = {tcTitle, tcCategory, tcPriority, tcDue, tcStatus, tcResource, tcType};
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : store_.TaskCount(); }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(std::size(kColumns)); }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    return TaskCellText(*store_.GetTodo(index.row()), kColumns[index.column()], context_);
  }
  const TTdTodoHandler& store_;
  TTaskViewContext context_;
};

// The peer at its best: title keys made once, the comparison looks up two keys.
class KeyedProxy : public QSortFilterProxyModel {
public:
  std::vector<QCollatorSortKey> keys;
  TIdArray statusFilter;
  bool filterOn = false;
  const TTdTodoHandler* store = nullptr;
  bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
    if (a.column() == 0) return keys[static_cast<size_t>(a.row())].compare(keys[static_cast<size_t>(b.row())]) < 0;
    return store->GetTodo(a.row())->ID < store->GetTodo(b.row())->ID;
  }
  bool filterAcceptsRow(int row, const QModelIndex&) const override {
    return !filterOn || statusFilter.contains(store->GetTodo(row)->Status);
  }
  using QSortFilterProxyModel::invalidateFilter;
};

struct Setup {
  QTemporaryDir dir;
  std::unique_ptr<TAppContextScope> scope;
  std::unique_ptr<TTodoAppHandler> handler;
  QWidget window;
  QTabBar* tabs;
  TLazyStringTree* tree;
  QPlainTextEdit* notes;
  std::unique_ptr<TTaskTreeView> view;
  double firstFit = 0;

  explicit Setup(int count) {
    scope = std::make_unique<TAppContextScope>(ContextWith([&](TAppContext& c) { c.DataFolder = dir.path() + "/"; }));
    handler = std::make_unique<TTodoAppHandler>(nullptr, TTodoAppTimings{25000, 0});
    std::mt19937 rng(20261211);
    AddRealisticTasks(handler->TodoHandler(), count, rng, false);
    handler->OptionsHandler().Options().AutoFitColumns = false;  // the first fit is timed alone
    auto* layout = new QVBoxLayout(&window);
    tabs = new QTabBar(&window);
    tree = new TLazyStringTree(&window);
    notes = new QPlainTextEdit(&window);
    layout->addWidget(tabs);
    layout->addWidget(tree, 4);
    layout->addWidget(notes, 1);
    view = std::make_unique<TTaskTreeView>(*handler, tree, tabs, notes, CommonModule());
    view->Setup();
    view->ApplyViewSettings();
    view->BuildQuickFilterTabs(true);
    view->ApplySorting(false);
    firstFit = Ms([&] { view->FitColumnWidths(); });
    handler->OptionsHandler().Options().AutoFitColumns = true;
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
  }
};

struct Peer {
  TaskModel model;
  KeyedProxy proxy;
  QTreeView view;
  Peer(const TTdTodoHandler& store, const TTaskViewContext& context) : model(store, context) {
    proxy.store = &store;
    proxy.setSourceModel(&model);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    for (const auto& task : store.Todos()) proxy.keys.push_back(collator.sortKey(task->Title));
    view.setUniformRowHeights(true);
    view.setModel(&proxy);
    view.resize(1000, 600);
    view.show();
    QApplication::processEvents();
  }
};

bool onlySort = false;

void Run(int count) {
  Setup s(count);
  TTdAppOptions& options = s.handler->OptionsHandler().Options();
  Peer peer(s.handler->TodoHandler(), s.view->Context());
  Print("first fit", count, s.firstFit);

  // Focus changes between the first rows on screen.
  std::vector<double> ours, theirs;
  PLazyNode first = s.tree->GetFirstVisible();
  PLazyNode second = s.tree->GetNextVisible(first);
  for (int run = 0; run < 9; ++run)
    ours.push_back(Ms([&] { FocusNode(s.tree, run % 2 ? first : second); }));
  const bool peerFits = count <= 10000;  // beyond, one peer fit takes too long to repeat
  if (peerFits)
    for (int run = 0; run < 3; ++run)
      theirs.push_back(Ms([&] {
        peer.view.setCurrentIndex(peer.proxy.index(run % 2, 0));
        for (int c = 0; c < peer.model.columnCount({}); ++c) peer.view.resizeColumnToContents(c);
      }));
  Print("focus change", count, Median(ours), peerFits ? Median(theirs) : -1);

  // Header click on the title, from a different order each time, to the rows painted.
  // A header click of ours and a sort of the peer's, each to the rows painted.
  const auto click = [&](int column) {
    return Ms([&] {
      s.view->TaskTreeHeaderClick(column, Qt::LeftButton);
      s.tree->viewport()->repaint();
    });
  };
  const auto peerSort = [&](int column, int run) {
    return Ms([&] {
      peer.proxy.sort(column, run % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
      peer.view.viewport()->repaint();
    });
  };
  // First: over nodes made anew with nothing collated yet, as after the stores were
  // opened, so every title's key is made in the time.
  ours.clear();
  theirs.clear();
  for (int run = 0; run < 5; ++run) {
    s.view->ResetNodes();  // the rows in the store's order, no key kept
    s.tree->viewport()->repaint();
    ours.push_back(click(tcTitle));
    peer.proxy.sort(1, Qt::AscendingOrder);
    theirs.push_back(peerSort(0, run));
  }
  Print("title sort", count, Median(ours), Median(theirs));
  // The parts: the keys alone; a click again with every key kept from the click before,
  // from another order; the same after lookup names changed (every title checked
  // against its key, none collated again).
  std::vector<double> keys, kept, checked;
  for (int run = 0; run < 5; ++run) {
    TTaskComparer comparer(s.view->Context());
    keys.push_back(Ms([&] { comparer.PrepareKeys(s.handler->TodoHandler().Todos()); }));
    s.view->TaskTreeHeaderClick(tcID, Qt::LeftButton);
    kept.push_back(click(tcTitle));
    s.view->TaskTreeHeaderClick(tcID, Qt::LeftButton);
    s.view->InvalidateSortKeys();
    checked.push_back(click(tcTitle));
  }
  // After one title was edited: its key alone is made again, the ranks sorted again.
  std::vector<double> edited;
  for (int run = 0; run < 5; ++run) {
    TTdTodo* task = s.handler->TodoHandler().GetTodo(run);
    task->Title += QStringLiteral(" x");
    s.view->TaskChanged(task);
    edited.push_back(click(tcTitle));
  }
  Print("  title keys", count, Median(keys));
  Print("  keys kept", count, Median(kept), Median(theirs));
  Print("  keys checked", count, Median(checked), Median(theirs));
  Print("  one edited", count, Median(edited), Median(theirs));
  // A click on the ID column, from the title order, to the rows painted. Peer: its
  // proxy compares the tasks' IDs.
  std::vector<double> byId, peerById;
  for (int run = 0; run < 5; ++run) {
    s.view->TaskTreeHeaderClick(tcTitle, Qt::LeftButton);
    s.tree->viewport()->repaint();
    byId.push_back(click(tcID));
    peer.proxy.sort(0, Qt::AscendingOrder);
    peerById.push_back(peerSort(1, run));
  }
  Print("id sort", count, Median(byId), Median(peerById));
  if (onlySort) return;

  // Tabs in two modes.
  for (int mode : {1, 6}) {
    options.QuickFilterMode = static_cast<uint8_t>(mode);
    ours.clear();
    for (int run = 0; run < 5; ++run) ours.push_back(Ms([&] { s.view->BuildQuickFilterTabs(false); }));
    Print(mode == 1 ? "tabs by status" : "tabs by day", count, Median(ours));
  }
  options.QuickFilterMode = 0;
  s.view->BuildQuickFilterTabs(true);

  // Filter toggle.
  options.FilterStatus = {tsOpen, tsWaiting};
  peer.proxy.statusFilter = options.FilterStatus;
  ours.clear();
  theirs.clear();
  for (int run = 0; run < 6; ++run) {
    ours.push_back(Ms([&] {
      options.FilterOn = !options.FilterOn;
      s.view->RefilterKeepingSelection();
    }));
    theirs.push_back(Ms([&] {
      peer.proxy.filterOn = !peer.proxy.filterOn;
      peer.proxy.invalidateFilter();
    }));
  }
  Print("filter toggle", count, Median(ours), Median(theirs));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  qputenv("LC_ALL", "de_DE.UTF-8");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  std::printf("Task list next to QTreeView + QSortFilterProxyModel, offscreen; medians\n");
  const int largest = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
  onlySort = argc > 2 && QByteArray(argv[2]) == "sort";  // the sorting figures alone
  for (int count : {1000, 10000, 100000})
    if (count <= largest) Run(count);
  return 0;
}
