// The task list's presentation inside the main window. This file is the joint where
// the full presentation (cell texts, images, hints, comparison, filter, quick-filter
// tabs, check boxes, editing, search, notes pane, column fitting) is bound; until then
// it gives the tree what the window's commands need: one node per task of the store,
// each holding its task, and the title in the title column.
#include "controls/ActnPopupCtrl.h"
#include "core/BTodo.h"
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"
#include "ui/TdMain.h"

#include <QPlainTextEdit>

namespace {
constexpr int kTitleColumn = 2;
}

void TTodoMainForm::BindTaskList() {
  TLazyStringTree& tree = *TaskTree_;
  TLTHeader& header = tree.Header();
  TLazyTreeColumns& columns = header.Columns();
  columns.BeginUpdate();
  for (int i = 0; i < kColumnCount; ++i) {
    TLazyTreeColumn* column = columns.Add();
    column->SetText(ColumnCaption(i));
    column->SetWidth(i == kTitleColumn ? 250 : 60);
  }
  columns.EndUpdate();
  TLTHeaderOptions options = header.Options();
  options.Include(hoVisible);
  options.Include(hoColumnResize);
  options.Include(hoDrag);
  header.SetOptions(options);
  header.SetMainColumn(kTitleColumn);
  TLTSelectionOptions selection = tree.TreeOptions().SelectionOptions();
  selection.Include(toFullRowSelect);
  tree.TreeOptions().SetSelectionOptions(selection);
  TLTPaintOptions paint = tree.TreeOptions().PaintOptions();
  paint.Exclude(toShowRoot);
  paint.Exclude(toShowTreeLines);
  paint.Exclude(toShowButtons);
  tree.TreeOptions().SetPaintOptions(paint);

  tree.SetNodeDataSize(static_cast<int>(sizeof(TTdTodo*)));
  tree.OnInitNode = [this](TBaseLazyTree* t, PLazyNode, PLazyNode node, TLazyNodeInitStates&) {
    const TTdTodoHandler& todos = handler_.TodoHandler();
    TTdTodo* task = static_cast<int>(node->Index) < todos.TaskCount() ? todos.GetTodo(static_cast<int>(node->Index))
                                                                        : nullptr;
    *t->GetNodeData<TTdTodo*>(node) = task;
    t->SetNodeVisible(node, task && IsTaskVisible(*task));
  };
  tree.OnGetText = [this](TBaseLazyTree*, PLazyNode node, int column, TLSTTextType, QString& text) {
    const TTdTodo* task = TaskOf(node);
    text = task && column == kTitleColumn ? task->Title : QString();
  };
  tree.OnFocusChanged = [this](TBaseLazyTree*, PLazyNode node, int) { TaskTreeFocusChanged(node); };
  tree.OnGetPopupMenu = [this](TBaseLazyTree*, PLazyNode, int, QPoint, bool& askParent, QMenu*&) {
    askParent = false;
    const QPoint at = QCursor::pos();
    TaskTreePopupMenu()->Popup(at.x(), at.y());
  };
}

void TTodoMainForm::ResetTaskNodes() {
  TaskTree_->Clear();
  TaskTree_->SetRootNodeCount(static_cast<unsigned>(handler_.TodoHandler().TaskCount()));
}

bool TTodoMainForm::IsTaskVisible(const TTdTodo&) const { return true; }

void TTodoMainForm::BuildQuickFilterTabs(bool) {}

void TTodoMainForm::TabControlChange() {}

void TTodoMainForm::FocusNode(PLazyNode node) {
  if (!node || !TaskTree_->GetNodeVisible(node)) return;
  // Focusing scrolls only up or down: the columns stay where the user left them.
  const int offsetX = TaskTree_->OffsetX();
  TaskTree_->UnselectAll();
  TaskTree_->SetFocusedNode(node);
  TaskTree_->SetNodeSelected(node, true);
  TaskTree_->ScrollIntoView(node, true);
  TaskTree_->SetOffsetX(offsetX);
}

void TTodoMainForm::FitColumns() {}

void TTodoMainForm::ApplyColumnVisibility() {}

bool TTodoMainForm::FindNextTask(const QString& text) {
  PLazyNode node = nullptr;
  if (lastFoundNode_) {
    PLazyNode from = TaskTree_->FocusedNode() ? TaskTree_->FocusedNode() : lastFoundNode_;
    node = TaskTree_->GetNext(from);
  } else {
    node = TaskTree_->GetFirst();
  }
  const QString wanted = text.toUpper();
  bool found = false;
  for (; node; node = TaskTree_->GetNext(node)) {
    const TTdTodo* task = TaskOf(node);
    if (task && (task->Title.toUpper().contains(wanted) || task->Notes.toUpper().contains(wanted))) {
      lastFoundNode_ = node;
      FocusNode(node);
      if (handler_.Options().AutoFitColumns) FitColumns();
      found = true;
      break;
    }
  }
  TaskTree_->setFocus();
  return found;
}

void TTodoMainForm::TaskTreeFocusChanged(PLazyNode node) { SetNotes(TaskOf(node)); }

TTdTodo* TTodoMainForm::TaskOf(PLazyNode node) const {
  if (!node) return nullptr;
  TaskTree_->InitializeNode(node);
  TTdTodo** data = TaskTree_->GetNodeData<TTdTodo*>(node);
  return data ? *data : nullptr;
}

PLazyNode TTodoMainForm::NodeOfTask(const TTdTodo* task) {
  for (PLazyNode node = TaskTree_->GetFirst(); node; node = TaskTree_->GetNext(node))
    if (TaskOf(node) == task) return node;
  return nullptr;
}

std::vector<TTdTodo*> TTodoMainForm::TasksInTreeOrder() const {
  std::vector<TTdTodo*> tasks;
  for (PLazyNode node = TaskTree_->GetFirst(); node; node = TaskTree_->GetNext(node)) tasks.push_back(TaskOf(node));
  return tasks;
}
