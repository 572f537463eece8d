#include "ui/TdTaskTree.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdApp.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/FormatSettings.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"
#include "ui/TaskCellTexts.h"
#include "ui/TaskRowState.h"
#include "treeview/LazyTreeDrawing.h"
#include "ui/TdCommon.h"
#include "ui/TdTreeHelpers.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTabBar>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// A node's data: its task for life, and the task's title order number written before a
// sort (or when its title changes), so the sort compares two numbers in the nodes
// instead of looking up tasks.
struct TTaskNode {
  TTdTodo* Task;
  int64_t TitleOrder;
};

// A node's data at the offset the tree keeps it at: sorts read every node's, and a call
// to the tree per node would cost as much as the comparison.
TTaskNode* TaskNodeAt(PLazyNode node, std::ptrdiff_t offset) {
  return reinterpret_cast<TTaskNode*>(reinterpret_cast<char*>(node) + offset);
}

template <typename Set, typename E>
void SetIn(Set& set, E element, bool on) {
  if (on) set.Include(element);
  else set.Exclude(element);
}

}  // namespace

TTaskTreeView::TTaskTreeView(TTodoAppHandler& handler, TLazyStringTree* taskTree, QTabBar* tabControl,
                             QPlainTextEdit* notes, TCommonModule& common, QObject* parent)
    : QObject(parent),
      handler_(handler),
      tree_(taskTree),
      tabs_bar_(tabControl),
      notes_(notes),
      common_(common),
      measurer_(std::make_unique<TRowStateMeasurer>()) {
  Now = [] { return DateTime::Now(); };
  measurer_->Reset(Options());
  fitter_ = std::make_unique<TColumnFitter>(*measurer_);
}

TTaskTreeView::~TTaskTreeView() {
  // The tree may outlive the view: it must not call into it any more.
  if (!tree_) return;
  tree_->OnInitNode = nullptr;
  tree_->OnGetText = nullptr;
  tree_->OnGetImageIndex = nullptr;
  tree_->OnGetHint = nullptr;
  tree_->OnPaintText = nullptr;
  tree_->OnBeforeItemErase = nullptr;
  tree_->OnCompareNodes = nullptr;
  tree_->OnGetSortKey = nullptr;
  tree_->OnHeaderClick = nullptr;
  tree_->OnEditing = nullptr;
  tree_->OnNewText = nullptr;
  tree_->OnChecked = nullptr;
  tree_->OnKeyAction = nullptr;
  tree_->OnIncrementalSearch = nullptr;
  tree_->OnFocusChanged = nullptr;
}

TTdAppOptions& TTaskTreeView::Options() const { return handler_.OptionsHandler().Options(); }

TDateTime TTaskTreeView::CurrentNow() const {
  // Reading the clock goes through the time zone and costs a file look-up; the rows of
  // one pass or one paint share one reading.
  if (!nowValid_ || nowAge_.elapsed() > 50) {
    now_ = Now();
    nowValid_ = true;
    nowAge_.start();
  }
  return now_;
}

const TTaskViewContext& TTaskTreeView::Context() const {
  if (!contextValid_) {
    context_.Options = &Options();
    context_.Categories = &handler_.CategoryHandler();
    context_.Resources = &handler_.ResourceHandler();
    context_.Types = &handler_.TypeHandler();
    TTodoAppHandler* handler = &handler_;
    context_.AssociationImage = [handler](const TTdTodo& task) { return handler->AssociationIconIndex(task); };
    contextValid_ = true;
  }
  context_.Now = CurrentNow();
  return context_;
}

void TTaskTreeView::StatusChanged() {
  if (OnStatusChanged) OnStatusChanged();
}

void TTaskTreeView::RepaintNode(PLazyNode node) {
  if (node) tree_->InvalidateNodeRow(node);
}

// ---------------------------------------------------------------------------------------
// Set-up

void TTaskTreeView::Setup() {
  TLTHeader& header = tree_->Header();
  TLazyTreeColumns& columns = header.Columns();
  columns.BeginUpdate();
  columns.Clear();
  for (int k = 0; k < kColumnCount; ++k) {
    TLazyTreeColumn* column = columns.Add();
    column->SetText(ColumnCaption(k));
    column->SetHint(ColumnHeaderHint(k));
    column->SetWidth(k == tcDone ? 20 : 80);
  }
  columns.EndUpdate();
  header.SetMainColumn(tcDone);
  header.SetOptions({hoColumnResize, hoDrag, hoRestrictDrag, hoShowHint, hoShowImages, hoShowSortGlyphs, hoVisible});
  header.SetSortColumn(NoColumn);

  TCustomLazyTreeOptions& o = tree_->TreeOptions();
  o.SetPaintOptions({toHideFocusRect, toShowHorzGridLines, toShowVertGridLines, toThemeAware});
  o.SetSelectionOptions({toFullRowSelect, toExtendedFocus});
  o.SetMiscOptions({toCheckSupport, toEditable, toFullRepaintOnResize});
  o.SetAutoOptions({});
  tree_->SetNodeDataSize(static_cast<int>(sizeof(TTaskNode)));
  tree_->SetDefaultText(QString());
  tree_->SetCheckImageKind(ckDarkTick);
  tree_->SetIncrementalSearch(isAll);
  tree_->SetHintMode(hmHint);
  tree_->SetShowHint(true);
  tree_->SetMargin(0);
  tree_->SetImages(common_.TaskTreeImages());

  // Each event runs guarded: an error shows in the error box instead of crossing the tree.
  tree_->OnInitNode = [this](TBaseLazyTree*, PLazyNode, PLazyNode node, TLazyNodeInitStates& states) {
    TaskTreeInitNode(node, states);
  };
  tree_->OnGetText = [this](TBaseLazyTree*, PLazyNode node, int column, TLSTTextType type, QString& text) {
    if (type == ttNormal) text = TaskTreeGetText(node, column);
  };
  tree_->OnGetImageIndex = [this](TBaseLazyTree*, PLazyNode node, TLTImageKind kind, int column, bool&, int& index) {
    index = TaskTreeGetImageIndex(node, kind, column);
  };
  tree_->OnGetHint = [this](TBaseLazyTree*, PLazyNode node, int column, QString& hint) {
    hint = TaskTreeGetHint(node, column);
  };
  tree_->OnPaintText = [this](TBaseLazyTree*, QPainter& canvas, PLazyNode node, int column, TLSTTextType) {
    TaskTreePaintText(canvas, node, column);
  };
  tree_->OnBeforeItemErase = [this](TBaseLazyTree*, QPainter&, PLazyNode node, QRect, QColor& color,
                                    TItemEraseAction& action) { TaskTreeBeforeItemErase(node, color, action); };
  tree_->OnCompareNodes = [this](TBaseLazyTree*, PLazyNode a, PLazyNode b, int column, int& result) {
    result = TaskTreeCompareNodes(a, b, column);
  };
  // In a sort of ours the comparison orders by a number first (the title's order
  // number, an ID, a date): the tree puts the rows in that order without comparing
  // pairs, and compares only rows with equal numbers.
  tree_->OnGetSortKey = [this](TBaseLazyTree*, PLazyNode node, int, std::int64_t& key, bool& known) {
    if (!ranksReady_ || !sortDataOffset_) return;
    const TTaskNode* data = TaskNodeAt(node, sortDataOffset_);
    if (titleSort_) {
      key = data->TitleOrder;
      known = true;
    } else if (!data->Task) {
      key = std::numeric_limits<std::int64_t>::min();  // rows without a task come first
      known = true;
    } else {
      known = comparer_->SortNumber(sortColumn_ >= 0 ? sortColumn_ : Options().SortElement1, *data->Task, key);
    }
  };
  tree_->OnHeaderClick = [this](TBaseLazyTree*, TColumnIndex column, Qt::MouseButton button, TShiftState, int, int) {
    RunGuarded([&] { TaskTreeHeaderClick(column, button); });
  };
  tree_->OnEditing = [this](TBaseLazyTree*, PLazyNode node, int column, bool& allowed) {
    allowed = TaskTreeEditing(node, column);
  };
  tree_->OnNewText = [this](TBaseLazyTree*, PLazyNode node, int column, const QString& text) {
    RunGuarded([&] { TaskTreeNewText(node, column, text); });
  };
  tree_->OnChecked = [this](TBaseLazyTree*, PLazyNode node) { RunGuarded([&] { TaskTreeChecked(node); }); };
  tree_->OnKeyAction = [this](TBaseLazyTree*, int& key, TShiftState&, bool& doDefault) {
    RunGuarded([&] { doDefault = TaskTreeKeyDown(key); });
  };
  tree_->OnIncrementalSearch = [this](TBaseLazyTree*, PLazyNode node, const QString& text, int& result) {
    result = TaskTreeIncrementalSearch(node, text);
  };
  tree_->OnFocusChanged = [this](TBaseLazyTree*, PLazyNode node, int) {
    RunGuarded([&] { TaskTreeFocusChanged(node); });
  };
  treeViewport_ = tree_->viewport();
  treeViewport_->installEventFilter(this);
  if (notes_) {
    notes_->installEventFilter(this);
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
      if (tree_) RunGuarded([this] { meNotesChange(); });
    });
  }
  if (tabs_bar_)
    connect(tabs_bar_, &QTabBar::currentChanged, this, [this] {
      if (!building_ && tree_) RunGuarded([this] { TabControlChange(); });
    });

  tree_->SetRootNodeCount(static_cast<unsigned>(handler_.TodoHandler().TaskCount()));
  ReinitAll();
}

void TTaskTreeView::ApplyViewSettings() {
  const TTdAppOptions& o = Options();
  TLazyTreeColumns& columns = tree_->Header().Columns();
  for (int k = 0; k < kColumnCount && k < columns.Count(); ++k) columns[k]->SetText(ColumnHeaderCaption(k, o));
  TLTHeader& header = tree_->Header();
  header.SetFont(FontFromOption(o.ColHeaderFont));
  header.SetFontColor(ColorFromCode(o.ColHeaderFont.Color));
  header.SetHeight(o.ColHeaderFont.Size + 10);
  MeasureHeaderCaptions();
  ApplyColumnVisibility();

  TLTHeaderOptions ho = header.Options();
  SetIn(ho, hoShowSortGlyphs, o.ShowSortMarkers);
  SetIn(ho, hoHotTrack, o.HeaderHotTrack);
  header.SetOptions(ho);
  TCustomLazyTreeOptions& to = tree_->TreeOptions();
  TLTPaintOptions paint = to.PaintOptions();
  SetIn(paint, toShowHorzGridLines, o.ShowHorzGridLines);
  SetIn(paint, toShowVertGridLines, o.ShowVertGridLines);
  to.SetPaintOptions(paint);
  TLTAutoOptions autoOptions = to.AutoOptions();
  SetIn(autoOptions, toAutoSort, o.AutoSort);
  to.SetAutoOptions(autoOptions);
  tree_->SetLineStyle(o.DottedGrid ? lsDotted : lsSolid);
  tree_->Colors().SetColor(TLTColors::GridLineColor, ColorFromCode(o.GridColor));
  tree_->Colors().SetColor(TLTColors::FocusedSelectionColor, ColorFromCode(o.SelectedBkColor));
  tree_->Colors().SetColor(TLTColors::FocusedSelectionBorderColor, ColorFromCode(o.SelectedBkColor));

  if (notes_) {
    QPalette palette = notes_->palette();
    palette.setColor(QPalette::Base, ColorFromCode(o.NotesBkColor));
    palette.setColor(QPalette::Text, ColorFromCode(o.NotesFont.Color));
    notes_->setPalette(palette);
    notes_->setFont(FontFromOption(o.NotesFont));
  }
  measurer_->Reset(o);
  fitter_->ForgetAll();
  InvalidateSortKeys();
  ReinitAll();
}

// ---------------------------------------------------------------------------------------
// Nodes and tasks

TTdTodo* TTaskTreeView::TaskOf(PLazyNode node) const {
  if (!node) return nullptr;
  auto* data = tree_->GetNodeData<TTaskNode>(node);
  return data ? data->Task : nullptr;
}

TTdTodo* TTaskTreeView::TaskOfNode(TLazyStringTree& tree, PLazyNode node) {
  if (!node) return nullptr;
  auto* data = tree.GetNodeData<TTaskNode>(node);
  if (data && !data->Task) {
    tree.InitializeNode(node);
    data = tree.GetNodeData<TTaskNode>(node);
  }
  return data ? data->Task : nullptr;
}

PLazyNode TTaskTreeView::NodeOf(const TTdTodo* task) const {
  if (!task) return nullptr;
  for (PLazyNode node = tree_->GetFirstRaw(); node; node = tree_->GetNextRaw(node))
    if (TaskOf(node) == task) return node;
  return nullptr;
}

PLazyNode TTaskTreeView::SelectedNode() const {
  // The list selects one row, which is the focused one; asking the focus is O(1).
  PLazyNode node = tree_->FocusedNode();
  if (node && tree_->GetNodeSelected(node)) return node;
  return tree_->SelectionCount() ? tree_->GetFirstSelectedNode() : nullptr;
}

TTdTodo* TTaskTreeView::SelectedTask() const {
  PLazyNode node = SelectedNode();
  return node && tree_->GetNodeVisible(node) ? TaskOf(node) : nullptr;
}

void TTaskTreeView::TaskTreeInitNode(PLazyNode node, TLazyNodeInitStates&) {
  auto* data = tree_->GetNodeData<TTaskNode>(node);
  const TTdTodoList& list = handler_.TodoHandler().Todos();
  // A node keeps its task for life; only a new node takes the task at its position.
  if (!data->Task || !list.Contains(data->Task)) {
    data->Task =
        node->Index < static_cast<unsigned>(list.TaskCount()) ? list.GetItem(static_cast<int>(node->Index)) : nullptr;
    nodeRanksFilled_ = false;
  }
  TTdTodo* task = data->Task;
  node->CheckType = ctCheckBox;
  node->CheckState = task && task->IsOK() ? csCheckedNormal : csUncheckedNormal;
  if (!task) {
    tree_->SetNodeVisible(node, false);
    return;
  }
  tree_->SetNodeVisible(node, IsTaskVisible(*task));
  tree_->SetNodeHeight(node, RowHeight(TaskRowState(*task, Options(), CurrentNow()), Options()));
}

QString TTaskTreeView::TaskTreeGetText(PLazyNode node, int column) {
  const TTdTodo* task = TaskOf(node);
  return task ? TaskCellText(*task, column, Context()) : QString();
}

int TTaskTreeView::TaskTreeGetImageIndex(PLazyNode node, TLTImageKind kind, int column) {
  const TTdTodo* task = TaskOf(node);
  if (!task || (kind != ikNormal && kind != ikSelected)) return -1;
  return TaskCellImage(*task, column, Context());
}

QString TTaskTreeView::TaskTreeGetHint(PLazyNode node, int column) {
  const TTdTodo* task = TaskOf(node);
  return task ? TaskCellHint(*task, column, Context()) : QString();
}

TFontOption TTaskTreeView::GetTaskFont(const TTdTodo& task) const {
  return RowStateFont(TaskRowState(task, Options(), CurrentNow()), Options());
}

void TTaskTreeView::SetTaskFont(QPainter& canvas, PLazyNode node) {
  const TTdTodo* task = TaskOf(node);
  if (!task) return;
  const TFontOption font = GetTaskFont(*task);
  canvas.setFont(FontFromOption(font));
  canvas.setPen(ColorFromCode(font.Color));
}

void TTaskTreeView::TaskTreePaintText(QPainter& canvas, PLazyNode node, int) { SetTaskFont(canvas, node); }

void TTaskTreeView::TaskTreeBeforeItemErase(PLazyNode node, QColor& color, TItemEraseAction& action) {
  const TTdTodo* task = TaskOf(node);
  if (!task) return;
  color = ColorFromCode(RowBkColor(*task, tree_->GetNodeSelected(node), Options(), CurrentNow()));
  action = eaColor;
}

// ---------------------------------------------------------------------------------------
// Sorting

void TTaskTreeView::SyncComparer() {
  const TTaskViewContext& context = Context();
  if (!comparer_) {
    comparer_ = std::make_unique<TTaskComparer>(context);
    nodeRanksFilled_ = false;
  }
  if (keysDirty_ || !comparer_->KeysPrepared()) {
    comparer_->PrepareKeys(handler_.TodoHandler().Todos());  // unchanged titles keep their keys
    keysDirty_ = false;
  }
  comparer_->SetNow(context.Now);
}

int TTaskTreeView::TaskTreeCompareNodes(PLazyNode a, PLazyNode b, int) {
  // During a sort of ours the tree asks this about a million times at 100,000 rows:
  // the node's data is found at its offset in the node, without a call per node.
  const TTaskNode* x = sortDataOffset_ ? TaskNodeAt(a, sortDataOffset_) : tree_->GetNodeData<TTaskNode>(a);
  const TTaskNode* y = sortDataOffset_ ? TaskNodeAt(b, sortDataOffset_) : tree_->GetNodeData<TTaskNode>(b);
  if (!x->Task || !y->Task) return int(x->Task != nullptr) - int(y->Task != nullptr);
  if (ranksReady_) {
    // A sort of ours: the title order is in the nodes and the keys are fresh.
    // Without branches: which way it goes is as good as random, a branch on it a miss
    // half the time.
    if (titleSort_ && (sortColumn_ >= 0 || x->TitleOrder != y->TitleOrder))
      return int(x->TitleOrder > y->TitleOrder) - int(x->TitleOrder < y->TitleOrder);
    return comparer_->CompareForSort(sortColumn_, *x->Task, *y->Task);
  }
  if (!comparer_ || keysDirty_) SyncComparer();
  return comparer_->CompareForSort(tree_->Header().SortColumn(), *x->Task, *y->Task);
}

void TTaskTreeView::SortNodes(int column, bool ascending) {
  SyncComparer();
  // Walking every node costs about as much as the sort itself: the order numbers they
  // hold are copied again only when the numbers changed or a node came since.
  if (!nodeRanksFilled_ || nodeRanksVersion_ != comparer_->OrderVersion()) {
    // Looking up a task's number reads the task, a cache miss of its own: the nodes are
    // listed first and looked up on several threads.
    const std::ptrdiff_t offset = tree_->NodeDataOffset();
    std::vector<TTaskNode*> nodes;
    nodes.reserve(tree_->TotalCount());
    for (PLazyNode node = tree_->GetFirstRaw(); node; node = tree_->GetNextRaw(node))
      nodes.push_back(TaskNodeAt(node, offset));
    const TTaskComparer& comparer = *comparer_;
    ForRangesInParallel(nodes.size(), [&nodes, &comparer](size_t from, size_t to) {
      for (size_t i = from; i < to; ++i)
        nodes[i]->TitleOrder = nodes[i]->Task ? comparer.TitleOrder(*nodes[i]->Task) : std::numeric_limits<int64_t>::min();
    });
    nodeRanksFilled_ = true;
    nodeRanksVersion_ = comparer_->OrderVersion();
  }
  sortColumn_ = column;
  titleSort_ = column == tcTitle || (column < 0 && Options().SortElement1 == tcTitle);
  ranksReady_ = true;
  rows_.clear();
  sortDataOffset_ = tree_->NodeDataOffset();
  tree_->SortTree(column, ascending, false);
  sortDataOffset_ = 0;
  ranksReady_ = false;
}

std::array<int, 4> TTaskTreeView::SortSignature() const {
  const TTdAppOptions& o = Options();
  return {o.SortElement1, o.SortElement2, o.SortElement3, int(o.SortAsc1)};
}

bool TTaskTreeView::InOptionsOrder() const { return sortedBy_ == SortSignature() && !keysDirty_; }

void TTaskTreeView::ApplySorting(bool repaint) {
  const TTdAppOptions& o = Options();
  if (o.SortElement1 == kNoSortElement) {
    if (repaint) tree_->InvalidateTree();
    return;
  }
  // Re-filtering keeps the order of the rows: a sort by the same keys over unchanged
  // tasks would find nothing to do, and at 100,000 rows it is most of a filter's time.
  // A header click leaves the rows in the order of the options' keys it set: only its
  // sort column is cleared.
  const bool sorted = InOptionsOrder();
  if (!sorted || tree_->Header().SortColumn() != NoColumn) {
    tree_->BeginTreeUpdate();  // clearing the sort column must not start a sort of its own
    tree_->Header().SetSortColumn(NoColumn);
    tree_->EndTreeUpdate();
  }
  if (sorted) {
    if (repaint) tree_->InvalidateTree();
    return;
  }
  SortNodes(NoColumn, o.SortAsc1);
  sortedBy_ = SortSignature();
}

void TTaskTreeView::TaskTreeHeaderClick(int column, Qt::MouseButton button) {
  if (button != Qt::LeftButton || column < 0) return;
  TLTHeader& header = tree_->Header();
  const TSortDirection direction = header.SortDirection() == sdAscending ? sdDescending : sdAscending;
  tree_->BeginTreeUpdate();
  header.SetSortColumn(column);
  header.SetSortDirection(direction);
  tree_->EndTreeUpdate();
  SortNodes(column, direction == sdAscending);
  TTdAppOptions& o = Options();
  o.SortElement1 = static_cast<uint8_t>(column);
  o.SortAsc1 = direction == sdAscending;
  o.SortElement2 = o.SortElement3 = kNoSortElement;
  o.SortAsc2 = o.SortAsc3 = true;
  // One column alone orders the rows as the options' first key alone does.
  sortedBy_ = SortSignature();
}

// ---------------------------------------------------------------------------------------
// Editing, checks, clicks, keys

bool TTaskTreeView::TaskTreeEditing(PLazyNode node, int column) { return TaskOf(node) && column == tcTitle; }

void TTaskTreeView::TaskTreeNewText(PLazyNode node, int column, const QString& text) {
  TTdTodo* task = TaskOf(node);
  if (!task || column != tcTitle) return;
  task->Title = StripTemplatePrefix(text).trimmed();
  handler_.TodoHandler().SetModified(true);
  TaskChanged(task, node);
  // The tree is still closing its editor and sorts nothing until it has: the rest
  // follows on the next turn of the event loop.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!tree_) return;
        RunGuarded([this] {
          ApplySorting(false);
          if (Options().AutoFitColumns) FitColumnWidths();
          StatusChanged();
        });
      },
      Qt::QueuedConnection);
}

void TTaskTreeView::TaskTreeChecked(PLazyNode node) {
  TTdTodo* task = TaskOf(node);
  if (!task) return;
  const bool checked = node->CheckState == csCheckedNormal || node->CheckState == csCheckedPressed;
  task->SetStatus(checked ? tsOK : tsOpen);
  sortedBy_.reset();
  handler_.TodoHandler().SetModified(true);
  fitter_->TaskChanged(task);
  if (handler_.OptionsHandler().StatusFilterExcludesDone() && Options().FilterOn) {
    // The row may go: the neighbour keeps the selection.
    PLazyNode neighbour = tree_->GetNextVisible(node);
    if (!neighbour) neighbour = tree_->GetPreviousVisibleNode(node);
    TTdTodo* keep = TaskOf(neighbour);
    ReinitAll();
    SelectTask(keep);
    TaskTreeFocusChanged(tree_->FocusedNode());
  } else {
    const bool wasVisible = tree_->GetNodeVisible(node);
    tree_->ReinitializeNode(node, false);  // the row's state and font follow the status
    if (tree_->GetNodeVisible(node) != wasVisible) fitter_->VisibleRowsChanged();
    FocusNode(tree_, node);
    RepaintNode(node);
  }
  // With a tab per status the task has moved to another tab: the tabs and their counts
  // follow, or a checked task would vanish with no tab to find it in.
  if (Options().QuickFilterMode == 1) BuildQuickFilterTabs(false);
  ApplySorting(false);
  if (Options().AutoFitColumns) FitColumnWidths();
  StatusChanged();
}

void TTaskTreeView::TaskTreeDblClick(int column) {
  if (tree_->IsEditing()) return;
  PLazyNode node = SelectedNode();
  TTdTodo* task = TaskOf(node);
  if (!task) return;
  if (column == tcFlag) {
    task->SetFlagged(!task->Flagged());
    sortedBy_.reset();
    handler_.TodoHandler().SetModified(true);
    fitter_->TaskChanged(task);
    if (Options().FilterOn) ReinitAll();
    else RepaintNode(node);
    ApplySorting(false);
    if (Options().AutoFitColumns) FitColumnWidths();
  } else if (column == tcLink) {
    if (!task->Association.isEmpty()) Desktop().OpenUrl(task->Association);
  } else if (OnEditTask) {
    OnEditTask();
  }
}

bool TTaskTreeView::TaskTreeKeyDown(int key) {
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !tree_->IsEditing()) {
    if (OnEditTask) OnEditTask();
    return false;
  }
  return true;
}

int TTaskTreeView::TaskTreeIncrementalSearch(PLazyNode node, const QString& text) {
  const TTdTodo* task = TaskOf(node);
  const bool match = task && !task->Title.isEmpty() && !text.isEmpty() &&
                     task->Title.startsWith(text, Qt::CaseInsensitive);
  if (match) StatusChanged();
  return match ? 0 : 1;
}

void TTaskTreeView::TaskTreeFocusChanged(PLazyNode node) {
  TTdTodo* task = node && tree_->GetNodeVisible(node) ? TaskOf(node) : nullptr;
  if (notes_) {
    NotesChangeGuard = true;
    notes_->setPlainText(task ? task->Notes : QString());
    NotesChangeGuard = false;
  }
  MemoTask = task;
  if (Options().AutoFitColumns) FitColumnWidths();
  StatusChanged();
}

void TTaskTreeView::meNotesChange() {
  if (NotesChangeGuard || !MemoTask || !notes_) return;
  MemoTask->Notes = notes_->toPlainText();
  handler_.TodoHandler().SetModified(true);
  fitter_->TaskChanged(MemoTask);
  if (Options().DisplayNotes) RepaintNode(SelectedNode());
  StatusChanged();
}

void TTaskTreeView::meNotesEnter() {
  if (!SelectedTask()) tree_->setFocus();
}

bool TTaskTreeView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && !treeViewport_.isNull() && watched == treeViewport_.get() &&
      !tree_.isNull()) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      THitInfo hit;
      const QPoint at = mouse->position().toPoint();
      tree_->HitTestAt(at.x(), at.y(), true, hit);
      if (hit.HitNode) {
        // The tree's own handling of the click comes first (focus and selection).
        const int column = hit.HitColumn;
        QMetaObject::invokeMethod(
            this, [this, column] { if (tree_) RunGuarded([&] { TaskTreeDblClick(column); }); },
            Qt::QueuedConnection);
      }
    }
  } else if (event->type() == QEvent::FocusIn && !tree_.isNull() && !notes_.isNull() && watched == notes_.get()) {
    RunGuarded([this] { meNotesEnter(); });
  }
  return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// Filtering and tabs

bool TTaskTreeView::IsTaskVisible(const TTdTodo& task) const {
  TTabFilter tab;
  tab.Ignore = IgnoreTabFilter;
  const int selected = tabs_bar_ ? tabs_bar_->currentIndex() : -1;
  tab.Active = selected >= 0 && static_cast<size_t>(selected) < tabs_.size();
  if (tab.Active) tab.Value = tabs_[static_cast<size_t>(selected)].Value;
  return ::IsTaskVisible(task, Options(), tab, DateTime::DateOf(CurrentNow()));
}

void TTaskTreeView::BuildQuickFilterTabs(bool reset) {
  if (!tabs_bar_) return;
  const TTdAppOptions& o = Options();
  const int previous = tabs_bar_->currentIndex();
  building_ = true;
  while (tabs_bar_->count() > 0) tabs_bar_->removeTab(tabs_bar_->count() - 1);
  static constexpr QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedSouth, QTabBar::RoundedWest,
                                              QTabBar::RoundedEast};
  tabs_bar_->setShape(shapes[o.TabPosition < 4 ? o.TabPosition : 0]);
  tabs_bar_->setUsesScrollButtons(!o.MultiTabLines);
  tabs_bar_->setExpanding(false);
  tabs_ = BuildQuickFilterTabList({&handler_.TodoHandler(), &handler_.CategoryHandler(), &handler_.ResourceHandler(),
                                   &handler_.TypeHandler()},
                                  o, FormatSettings(), DateTime::DateOf(CurrentNow()));
  for (size_t i = 0; i < tabs_.size(); ++i) {
    const int index = tabs_bar_->addTab(tabs_[i].Text);
    tabs_bar_->setTabData(index, tabs_[i].Value);
    const int image = TabControlGetImageIndex(index);
    if (image >= 0) tabs_bar_->setTabIcon(index, common_.TaskTreeIcon(image));
  }
  tabs_bar_->setCurrentIndex(ReselectTab(previous, static_cast<int>(tabs_.size()), reset));
  building_ = false;
  TabControlChange();
}

int TTaskTreeView::TabControlGetImageIndex(int tab) const {
  if (!TabsUseImages(Options()) || tab < 0 || static_cast<size_t>(tab) >= tabs_.size()) return -1;
  return tabs_[static_cast<size_t>(tab)].Image;
}

void TTaskTreeView::TabControlChange() {
  tree_->BeginTreeUpdate();
  Refilter();
  ApplySorting(false);
  if (Options().AutoFitColumns) FitColumnWidths();
  tree_->EndTreeUpdate();
  PLazyNode selected = SelectedNode();
  TaskTreeFocusChanged(selected && tree_->GetNodeVisible(selected) ? selected : nullptr);
  StatusChanged();
}

void TTaskTreeView::Refilter() {
  TTabFilter tab;
  tab.Ignore = IgnoreTabFilter;
  const int selected = tabs_bar_ ? tabs_bar_->currentIndex() : -1;
  tab.Active = selected >= 0 && static_cast<size_t>(selected) < tabs_.size();
  if (tab.Active) tab.Value = tabs_[static_cast<size_t>(selected)].Value;
  const TTdAppOptions& options = Options();
  const TDateTime today = DateTime::DateOf(CurrentNow());
  // Visibility does not depend on the order of the rows: after a sort the sibling order
  // jumps around memory, so the rows are tested in the order their nodes lie in memory,
  // which is also the order of their tasks.
  std::vector<PLazyNode> nodes;
  nodes.reserve(tree_->RootNodeCount());
  for (PLazyNode node = tree_->GetFirstRaw(); node; node = tree_->GetNextRaw(node)) nodes.push_back(node);
  std::sort(nodes.begin(), nodes.end(), std::less<PLazyNode>());
  tree_->BeginTreeUpdate();
  for (PLazyNode node : nodes) {
    if (!node->Has(nsInitialized)) {
      tree_->InitializeNode(node);
      continue;
    }
    const TTdTodo* task = TaskOf(node);
    tree_->SetNodeVisible(node, task && ::IsTaskVisible(*task, options, tab, today));
  }
  tree_->EndTreeUpdate();
  fitter_->VisibleRowsChanged();
}

void TTaskTreeView::ReinitAll() {
  tree_->BeginTreeUpdate();
  tree_->ReinitializeChildren(nullptr, false);
  tree_->EndTreeUpdate();
  fitter_->VisibleRowsChanged();
}

void TTaskTreeView::RefilterKeepingSelection() {
  // Nodes outlive a re-filter, so the selected node itself is kept.
  PLazyNode keep = SelectedNode();
  Refilter();
  if (keep && tree_->GetNodeVisible(keep)) {
    if (tree_->FocusedNode() != keep) FocusNode(tree_, keep);
  }
  ApplySorting(false);
  FitColumnWidths();
  PLazyNode selected = SelectedNode();
  TaskTreeFocusChanged(selected && tree_->GetNodeVisible(selected) ? selected : nullptr);
  StatusChanged();
}

void TTaskTreeView::SelectTask(TTdTodo* task) {
  PLazyNode node = NodeOf(task);
  if (node && tree_->GetNodeVisible(node)) {
    tree_->UnselectAll();
    FocusNode(tree_, node);
  }
}

bool TTaskTreeView::OrderFollowsClock() const {
  const TTdAppOptions& o = Options();
  for (int key : {o.SortElement1, o.SortElement2, o.SortElement3})
    if (key == tcDaysGone || key == tcDaysLeft) return true;
  return false;
}

void TTaskTreeView::RefreshRowsInOrder() {
  rows_.clear();
  rows_.reserve(tree_->RootNodeCount() + 64);
  for (PLazyNode node = tree_->GetFirstRaw(); node; node = tree_->GetNextRaw(node)) rows_.push_back(node);
}

std::optional<size_t> TTaskTreeView::PlaceInOrder(const TTdTodo& task) const {
  // Where a stable sort puts a task that comes after every row: behind the rows equal
  // to it, before the first row it goes strictly before. A node's index is its place
  // among the rows: a row looked at elsewhere than the kept list says means the list
  // is out of date (the tree sorted itself, say).
  if (rows_.size() != tree_->RootNodeCount()) return std::nullopt;
  const bool ascending = Options().SortAsc1;
  // A binary search: O(log n) comparisons.
  size_t low = 0, high = rows_.size();
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    PLazyNode row = rows_[middle];
    if (row->Index != middle) return std::nullopt;
    const TTdTodo* other = TaskOf(row);
    // A row without a task compares below any task, as in a sort.
    const int result = other ? comparer_->CompareForSort(NoColumn, *other, task) : -1;
    if (ascending ? result > 0 : result < 0) high = middle;
    else low = middle + 1;
  }
  return low;
}

PLazyNode TTaskTreeView::TasksAdded(int count) {
  if (count <= 0) return nullptr;
  const TTdTodoList& list = handler_.TodoHandler().Todos();
  const int total = list.TaskCount();
  count = std::min(count, total);
  // The keys learn the new titles alone; the rows, when they are in the order of the
  // options' keys, take the new tasks at their places instead of being sorted again.
  if (!comparer_ || !comparer_->TasksAppended(list)) keysDirty_ = true;
  const bool inPlace = count <= kTasksPlacedOneByOne && comparer_ && InOptionsOrder() && !OrderFollowsClock();
  if (!inPlace) sortedBy_.reset();
  const TTaskViewContext& context = Context();
  if (inPlace) comparer_->SetNow(context.Now);
  else rows_.clear();
  PLazyNode last = nullptr;
  tree_->BeginTreeUpdate();
  for (int i = total - count; i < total; ++i) {
    TTdTodo* task = list.GetItem(i);
    size_t at = rows_.size();
    if (inPlace) {
      std::optional<size_t> place = PlaceInOrder(*task);
      if (!place) {
        RefreshRowsInOrder();
        place = PlaceInOrder(*task);
      }
      at = place.value_or(rows_.size());
    }
    PLazyNode node = at < rows_.size() ? tree_->InsertNode(rows_[at], amInsertBefore) : tree_->AddChild(nullptr);
    if (!node) continue;
    tree_->GetNodeData<TTaskNode>(node)->Task = task;  // before the node is initialised
    nodeRanksFilled_ = false;
    tree_->InitializeNode(node);
    if (inPlace) rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at), node);
    if (tree_->GetNodeVisible(node)) fitter_->RowShown(*task, context);
    last = node;
  }
  tree_->EndTreeUpdate();
  return last;
}

void TTaskTreeView::TaskChanged(TTdTodo* task, PLazyNode node) {
  fitter_->TaskChanged(task);
  sortedBy_.reset();
  const bool ranked = comparer_ && comparer_->TitleChanged(*task);
  if (!ranked) keysDirty_ = true;
  if (!node || TaskOf(node) != task) node = NodeOf(task);
  if (node) {
    // The other nodes keep their order numbers: this one takes its new one.
    if (ranked) tree_->GetNodeData<TTaskNode>(node)->TitleOrder = comparer_->TitleOrder(*task);
    const bool wasVisible = tree_->GetNodeVisible(node);
    tree_->ReinitializeNode(node, false);
    if (tree_->GetNodeVisible(node) != wasVisible) fitter_->VisibleRowsChanged();
    RepaintNode(node);
  }
}

void TTaskTreeView::DeleteTask(PLazyNode node) {
  TTdTodo* task = TaskOf(node);
  if (!task) return;
  if (MemoTask == task) {
    NotesChangeGuard = true;
    if (notes_) notes_->clear();
    NotesChangeGuard = false;
    MemoTask = nullptr;
  }
  if (lastFound_ == task) lastFound_ = nullptr;
  PLazyNode next = tree_->GetNextVisible(node);
  if (!next) next = tree_->GetPreviousVisibleNode(node);
  // The other rows keep their order, their keys and their widths.
  fitter_->TaskRemoved(task);
  if (!comparer_ || !comparer_->TaskRemoving(*task)) keysDirty_ = true;
  rows_.clear();
  tree_->DeleteNode(node);
  handler_.TodoHandler().Delete(task);
  FocusNode(tree_, next);
}

void TTaskTreeView::ResetNodes() {
  // The stores may be new ones (a database folder move reopens them): nothing read from
  // the old ones is kept.
  contextValid_ = false;
  comparer_.reset();
  rows_.clear();
  tree_->Clear();
  fitter_->ForgetAll();
  lastFound_ = nullptr;
  MemoTask = nullptr;
  InvalidateSortKeys();
  tree_->SetRootNodeCount(static_cast<unsigned>(handler_.TodoHandler().TaskCount()));
  ReinitAll();
}

// ---------------------------------------------------------------------------------------
// Columns

void TTaskTreeView::MeasureHeaderCaptions() {
  const QFontMetrics metrics(tree_->Header().Font());
  TLazyTreeColumns& columns = tree_->Header().Columns();
  for (int k = 0; k < kColumnCount && k < columns.Count(); ++k)
    ColumnMinWidths[static_cast<size_t>(k)] = HeaderMinWidth(metrics.horizontalAdvance(columns[k]->Text()));
}

void TTaskTreeView::ApplyColumnVisibility() {
  TLazyTreeColumns& columns = tree_->Header().Columns();
  for (int k = 0; k < kColumnCount && k < columns.Count(); ++k) {
    if (k == tcTitle) continue;
    TLTColumnOptions options = columns[k]->Options();
    SetIn(options, coVisible, ColumnShown(k, Options()));
    columns[k]->SetOptions(options);
  }
}

int TTaskTreeView::MeasureColumnText(int column) {
  if (column < 0 || column >= kColumnCount) return 0;
  const TTaskViewContext& context = Context();
  const TColumnWidths& largest = fitter_->LargestTexts(
      [this](const std::function<void(const TTdTodo&)>& visit) {
        for (PLazyNode node = tree_->GetFirstVisibleRaw(); node; node = tree_->GetNextVisibleRaw(node))
          if (const TTdTodo* task = TaskOf(node)) visit(*task);
      },
      context);
  return MeasuredColumnWidth(largest[static_cast<size_t>(column)], tree_->TextMargin());
}

int TTaskTreeView::GetFitColumnWidth(int column) {
  const bool fixed = column == tcDone || column == tcLink || column == tcFlag || column == tcRecurring;
  const int measured = fixed ? 0 : MeasureColumnText(column);
  return FitColumnWidth(column, measured, Options(), ColumnMinWidths[static_cast<size_t>(column)]);
}

void TTaskTreeView::FitColumnWidths() {
  TLazyTreeColumns& columns = tree_->Header().Columns();
  for (int k = 0; k < kColumnCount && k < columns.Count(); ++k) {
    TLazyTreeColumn* column = columns[k];
    if (column->Visible() && column->Options().Contains(coResizable)) column->SetWidth(GetFitColumnWidth(k));
  }
}

// ---------------------------------------------------------------------------------------
// Focus and find

void TTaskTreeView::FocusFirst() { FocusNode(tree_, tree_->GetFirstVisible()); }

bool TTaskTreeView::FindNextTask(const QString& text) {
  PLazyNode start;
  if (lastFound_) {
    PLazyNode from = tree_->FocusedNode() ? tree_->FocusedNode() : NodeOf(lastFound_);
    start = from ? tree_->GetNextRaw(from) : tree_->GetFirstRaw();
  } else {
    start = tree_->GetFirstRaw();
  }
  const QString wanted = text.toUpper();
  bool found = false;
  for (PLazyNode node = start; node && !wanted.isEmpty(); node = tree_->GetNextRaw(node)) {
    TTdTodo* task = TaskOf(node);
    // Hidden rows are skipped: a hit there could not be shown, and the next search
    // would start from the focused row and find it again.
    if (!task || !tree_->GetNodeVisible(node)) continue;
    if (task->Title.toUpper().contains(wanted) || task->Notes.toUpper().contains(wanted)) {
      lastFound_ = task;
      FocusNode(tree_, node);
      if (Options().AutoFitColumns) FitColumnWidths();
      found = true;
      break;
    }
  }
  tree_->setFocus();
  return found;
}
