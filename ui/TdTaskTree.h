#pragma once
// The main window's task list: binds the task tree (TaskTree), the quick-filter tab bar,
// the notes pane and the shared images to the application handler's stores. The main
// window makes one after its controls and calls it; every handler of the tree is here.
//
//   TTaskTreeView view(handler, taskTree, tabBar, notesEdit, CommonModule(), window);
//   view.OnEditTask = [..] { acEditTodo };          // Enter, double-click on a cell
//   view.OnStatusChanged = [..] { UpdateStatusAndActions(); };
//   view.Setup();                 // columns, fixed options, events; one node per task
//   view.ApplyViewSettings();     // captions, visibility, fonts, grid, header, notes pane
//   view.BuildQuickFilterTabs(true);
//   view.ApplySorting(false); view.FocusFirst(); view.FitColumnWidths();
//
// Afterwards the window reports what it changed:
//   TasksAdded(n)               the store grew by n tasks at its end (add, undo, reminders,
//                               archive viewer): the tree grows by n nodes
//   TaskChanged(task)           after the task editor's OK: widths, sort and row refreshed
//   DeleteTask(node)            deletes the node and its task (undo copy kept), focuses
//                               the next row, else the previous
//   ResetNodes()                after archiving or reopening the stores: one node per
//                               task again
//   RefilterKeepingSelection()  after the filter or template switch or the filter dialog
//   BuildQuickFilterTabs(false) after anything that changes the tabs
//   InvalidateSortKeys()        after lookup names changed; ApplyViewSettings after options
//   FindNextTask(text), ForgetLastFound()   the find dialog and F3
// and reads: SelectedTask(), SelectedNode(), TaskOf(node), NodeOf(task), QuickFilterTabs(),
// IgnoreTabFilter (set by the print wizard), MemoTask, NotesChangeGuard, ColumnMinWidths.
//
// A node holds its task for life (and the task's title order number), never a
// position in the store; the last search hit is kept as its task, so deleting nodes never
// leaves it dangling. The clock is read at most every 50 ms (set Now before Setup).
//
// The tab bar is a QTabBar: the control library's notebook is made of pages, and the
// quick-filter tabs have none (the one tree below them is filtered instead).
#include "treeview/LazyStringTree.h"
#include "ui/ColumnFit.h"
#include "ui/QuickFilterTabs.h"
#include "ui/TaskCompare.h"
#include "ui/TaskFilter.h"
#include "ui/TaskViewContext.h"
#include "ui/TextWidthBound.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabBar>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPlainTextEdit;
class QTabBar;
class TCommonModule;
class TTodoAppHandler;
class TTdTodo;

class TTaskTreeView : public QObject {
  Q_OBJECT

public:
  TTaskTreeView(TTodoAppHandler& handler, TLazyStringTree* taskTree, QTabBar* tabControl, QPlainTextEdit* notes,
                TCommonModule& common, QObject* parent = nullptr);
  ~TTaskTreeView() override;

  // What the window does for the list.
  std::function<void()> OnEditTask;       // the Edit Task action
  std::function<void()> OnStatusChanged;  // refresh the status bar and the actions
  // The moment "now" for due states and day counts; the clock of the context by default.
  std::function<TDateTime()> Now;

  // Configures the tree once (columns, fixed options, images, events) and creates one
  // node per task, filtered.
  void Setup();
  // Captions by ShortColumnNames, ColumnMinWidths, column visibility, header font and
  // height, grid lines, sort marks, notes pane font and colour; all nodes re-initialised.
  void ApplyViewSettings();

  // ---- Tree events (each also bound to the tree's event of the same name) ----------
  void TaskTreeInitNode(PLazyNode node, TLazyNodeInitStates& states);
  QString TaskTreeGetText(PLazyNode node, int column);
  int TaskTreeGetImageIndex(PLazyNode node, TLTImageKind kind, int column);
  QString TaskTreeGetHint(PLazyNode node, int column);
  void TaskTreePaintText(QPainter& canvas, PLazyNode node, int column);
  void TaskTreeBeforeItemErase(PLazyNode node, QColor& color, TItemEraseAction& action);
  int TaskTreeCompareNodes(PLazyNode a, PLazyNode b, int column);
  void TaskTreeHeaderClick(int column, Qt::MouseButton button);
  bool TaskTreeEditing(PLazyNode node, int column);
  void TaskTreeNewText(PLazyNode node, int column, const QString& text);
  void TaskTreeChecked(PLazyNode node);
  // With a selected node and no edit: the flag column toggles the flag, the link column
  // opens the association, any other runs OnEditTask.
  void TaskTreeDblClick(int column);
  // Enter runs OnEditTask; false when the key was taken.
  bool TaskTreeKeyDown(int key);
  // 0 when the title starts with the typed text, ignoring case; an empty title never matches.
  int TaskTreeIncrementalSearch(PLazyNode node, const QString& text);
  void TaskTreeFocusChanged(PLazyNode node);
  void meNotesChange();
  void meNotesEnter();

  // ---- Filtering and tabs ----------------------------------------------------------
  bool IsTaskVisible(const TTdTodo& task) const;
  void BuildQuickFilterTabs(bool reset);
  void TabControlChange();
  int TabControlGetImageIndex(int tab) const;
  // The tabs as built (text, value, image), in tab order.
  const std::vector<TQuickFilterTab>& QuickFilterTabs() const { return tabs_; }
  bool IgnoreTabFilter = false;

  // ---- Sorting ---------------------------------------------------------------------
  // With SortElement1 set: the header's sort column cleared and the tree sorted by the
  // options' keys in SortAsc1's direction; otherwise a repaint when asked.
  void ApplySorting(bool repaint);
  // Titles or lookup names changed, or tasks came or went: the next sort starts afresh.
  void InvalidateSortKeys() {
    keysDirty_ = true;
    sortedBy_.reset();
  }

  // ---- Columns ---------------------------------------------------------------------
  void FitColumnWidths();
  int GetFitColumnWidth(int column);
  int MeasureColumnText(int column);
  void MeasureHeaderCaptions();
  void ApplyColumnVisibility();
  TFontOption GetTaskFont(const TTdTodo& task) const;
  void SetTaskFont(QPainter& canvas, PLazyNode node);
  std::array<int, 19> ColumnMinWidths{};

  // ---- Focus, find, notes ----------------------------------------------------------
  void FocusFirst();
  // Searches from after the focused node (or the first node for a new search) for the
  // text in titles, then notes, ignoring case; hidden nodes are skipped. True on a hit.
  bool FindNextTask(const QString& text);
  // A new search starts at the first node.
  void ForgetLastFound() { lastFound_ = nullptr; }
  TTdTodo* MemoTask = nullptr;
  bool NotesChangeGuard = false;

  // ---- Nodes and tasks -------------------------------------------------------------
  TTdTodo* TaskOf(PLazyNode node) const;
  // The task a node of a tree set up by a view holds; a node not yet initialised is
  // initialised first. For those that have the tree but not the view (the print wizard).
  static TTdTodo* TaskOfNode(TLazyStringTree& tree, PLazyNode node);
  // O(n): the node of a task, or none.
  PLazyNode NodeOf(const TTdTodo* task) const;
  TTdTodo* SelectedTask() const;
  PLazyNode SelectedNode() const;
  // The store grew by `count` tasks at its end: a node each, in the order of the rows
  // when they are sorted by the options' keys. Answers the last task's node.
  PLazyNode TasksAdded(int count);
  // A task's texts changed: its widths are measured again, its row repainted. `node`,
  // when known, saves looking for the task's node.
  void TaskChanged(TTdTodo* task, PLazyNode node = nullptr);
  // Deletes the node and its task (the store keeps an undo copy); the next node, else the
  // previous, is focused.
  void DeleteTask(PLazyNode node);
  // The tree gets one node per task again (after archiving, or over reopened stores).
  void ResetNodes();
  // Re-initialises every node (so re-filters), keeping the selected task selected.
  void RefilterKeepingSelection();
  void ReinitAll();
  // Only the visibility of every node is decided again (the tasks did not change): what
  // a tab change or a filter switch needs, without re-initialising the nodes.
  void Refilter();
  void SelectTask(TTdTodo* task);

  TLazyStringTree* Tree() const { return tree_.data(); }
  QTabBar* TabControl() const { return tabs_bar_.data(); }
  // The view context of this moment (the clock read at most every 50 ms).
  const TTaskViewContext& Context() const;
  TDateTime CurrentNow() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TTdAppOptions& Options() const;
  void SyncComparer();
  void StatusChanged();
  void RepaintNode(PLazyNode node);
  // Sorts by a column (NoColumn: the options' keys) with the title order in the nodes.
  void SortNodes(int column, bool ascending);
  // The options' sort keys and direction; whether the rows are in their order now.
  std::array<int, 4> SortSignature() const;
  bool InOptionsOrder() const;
  // Whether the order of the options' keys moves with the clock (days gone or left).
  bool OrderFollowsClock() const;
  // The rows in their order, kept between adds (an add at 100,000 rows must not walk
  // them all); none when the kept list is out of date.
  void RefreshRowsInOrder();
  std::optional<size_t> PlaceInOrder(const TTdTodo& task) const;
  // More tasks at once are sorted in with the rest.
  static constexpr int kTasksPlacedOneByOne = 8;

  TTodoAppHandler& handler_;
  // The window owns the controls and may take them down before the view.
  QPointer<TLazyStringTree> tree_;
  QPointer<QTabBar> tabs_bar_;
  QPointer<QPlainTextEdit> notes_;
  // The tree's viewport, compared by identity in the event filter: the filter also sees
  // events while the tree is half destroyed, when its typed pointer must not be used.
  QPointer<QWidget> treeViewport_;
  TCommonModule& common_;

  std::vector<TQuickFilterTab> tabs_;
  std::unique_ptr<TTaskComparer> comparer_;
  bool keysDirty_ = true;
  bool ranksReady_ = false;  // the nodes hold their title order (during a sort of ours)
  // The nodes' title order numbers are those of the comparer at this version (a task
  // whose title changed since took its new one); a new node has none until the next sort.
  bool nodeRanksFilled_ = false;
  uint64_t nodeRanksVersion_ = 0;
  // Where a node's data lies in its block, during a sort of ours (else 0).
  std::ptrdiff_t sortDataOffset_ = 0;
  int sortColumn_ = -1;     // of that sort: the header's column, or -1 for the options' keys
  bool titleSort_ = false;  // ... and whether the title decides first
  // The options' keys and direction the rows are in the order of; none when tasks
  // changed since.
  std::optional<std::array<int, 4>> sortedBy_;
  std::vector<PLazyNode> rows_;  // the rows in order as the last add left them
  std::unique_ptr<TRowStateMeasurer> measurer_;
  std::unique_ptr<TColumnFitter> fitter_;
  TTdTodo* lastFound_ = nullptr;
  bool building_ = false;
  mutable TTaskViewContext context_;
  mutable bool contextValid_ = false;
  mutable TDateTime now_ = 0;
  mutable bool nowValid_ = false;
  mutable QElapsedTimer nowAge_;
};
