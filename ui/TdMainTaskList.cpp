// The joint between the main window and the task list's presentation (TTaskTreeView):
// the window owns one, made over its tree, tab bar and notes pane, and asks it for
// everything the list shows; the window's own flows stay in the window.
#include "controls/ActnPopupCtrl.h"
#include "core/BTodo.h"
#include "platform/ApplicationError.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdCommon.h"
#include "ui/TdMain.h"
#include "ui/TdTaskTree.h"
#include "ui/TdTreeHelpers.h"

#include <QAction>
#include <QCursor>
#include <QPlainTextEdit>

void TTodoMainForm::BindTaskList() {
  view_ = std::make_unique<TTaskTreeView>(handler_, TaskTree_, tabControl_, meNotes_, CommonModule());
  // Enter and a double-click edit the task as the menu does: not while a cell is edited.
  view_->OnEditTask = [this] { acEditTodo->trigger(); };
  view_->OnStatusChanged = [this] { UpdateStatusAndActions(); };
  view_->Setup();
  // The tree reports a new focus before it selects the row: the actions that need a
  // selected task follow the selection itself, or they would lag one click behind.
  TaskTree_->OnChange = [this](TBaseLazyTree*, PLazyNode) { RunGuarded([this] { UpdateStatusAndActions(); }); };
  TaskTree_->OnGetPopupMenu = [this](TBaseLazyTree*, PLazyNode, int, QPoint, bool& askParent, QMenu*&) {
    askParent = false;
    const QPoint at = QCursor::pos();
    TaskTreePopupMenu()->Popup(at.x(), at.y());
  };
}

void TTodoMainForm::ResetTaskNodes() { view_->ResetNodes(); }

bool TTodoMainForm::IsTaskVisible(const TTdTodo& task) const { return view_->IsTaskVisible(task); }

void TTodoMainForm::BuildQuickFilterTabs(bool reset) { view_->BuildQuickFilterTabs(reset); }

void TTodoMainForm::TabControlChange() { view_->TabControlChange(); }

void TTodoMainForm::FocusNode(PLazyNode node) { ::FocusNode(TaskTree_, node); }

void TTodoMainForm::FitColumns() { view_->FitColumnWidths(); }

void TTodoMainForm::ApplyColumnVisibility() { view_->ApplyColumnVisibility(); }

bool TTodoMainForm::FindNextTask(const QString& text) { return view_->FindNextTask(text); }

void TTodoMainForm::TaskTreeFocusChanged(PLazyNode node) { view_->TaskTreeFocusChanged(node); }

void TTodoMainForm::RefilterKeepingSelection() { view_->RefilterKeepingSelection(); }

void TTodoMainForm::SetNotes(TTdTodo* task) {
  view_->NotesChangeGuard = true;
  meNotes_->setPlainText(task ? task->Notes : QString());
  view_->NotesChangeGuard = false;
  view_->MemoTask = task;
}

const std::array<int, TTodoMainForm::kColumnCount>& TTodoMainForm::ColumnMinWidths() const {
  return view_->ColumnMinWidths;
}

TTdTodo* TTodoMainForm::TaskOf(PLazyNode node) const {
  if (!node) return nullptr;
  TaskTree_->InitializeNode(node);
  return view_->TaskOf(node);
}

std::vector<TTdTodo*> TTodoMainForm::TasksInTreeOrder() const {
  std::vector<TTdTodo*> tasks;
  for (PLazyNode node = TaskTree_->GetFirst(); node; node = TaskTree_->GetNext(node)) tasks.push_back(TaskOf(node));
  return tasks;
}
