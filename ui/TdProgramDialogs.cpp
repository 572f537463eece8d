#include "ui/TdProgramDialogs.h"

#include "controls/UtBrowsr.h"
#include "core/TdApp.h"
#include "report/TdPrnWiz.h"
#include "ui/BAbout.h"
#include "ui/TdArch.h"
#include "ui/TdBackup.h"
#include "ui/TdCommon.h"
#include "ui/TdEdCat.h"
#include "ui/TdEdFilt.h"
#include "ui/TdEdRes.h"
#include "ui/TdEdSort.h"
#include "ui/TdEdTodo.h"
#include "ui/TdEdType.h"
#include "ui/TdOptDlg.h"
#include "ui/TdTaskTree.h"

#include <QApplication>

namespace {

// The dialogs sit over the window the user works in (the main window, or the archive
// viewer that opened the task editor).
QWidget* Owner() { return QApplication::activeWindow(); }

// The main window's task list as the print wizard reaches it.
class TTreePrintTasks : public TPrintTaskList {
public:
  TTreePrintTasks(TLazyStringTree& tree, bool& ignoreTabFilter) : tree_(tree), ignoreTabFilter_(ignoreTabFilter) {}
  TLazyStringTree& TaskTree() override { return tree_; }
  TTdTodo* TaskOf(PLazyNode node) override { return TTaskTreeView::TaskOfNode(tree_, node); }
  void SetIgnoreTabFilter(bool on) override { ignoreTabFilter_ = on; }

private:
  TLazyStringTree& tree_;
  bool& ignoreTabFilter_;
};

}  // namespace

TProgramDialogs::TProgramDialogs(TCommonModule& common) : common_(common) {}

bool TProgramDialogs::EditTodo(TTodoAppHandler& app, TTdTodo& task, bool isNew, bool editable) {
  const TEditTodoSources sources{app.CategoryHandler(), app.ResourceHandler(), app.TypeHandler(), app.Options(),
                                 *common_.TaskTreeImages()};
  return ShowEditTodoDialog(task, sources, isNew, editable, Owner());
}

bool TProgramDialogs::EditOptions(TTodoAppHandler& app, TTdAppOptions& options) {
  const TOptionDialogSources sources{app.CategoryHandler(), app.ResourceHandler(), app.TodoHandler(),
                                     app.TypeHandler(),     *common_.SmallImages(), *common_.TaskTreeImages()};
  return ShowOptionDialog(options, sources);
}

bool TProgramDialogs::EditFilter(TTodoAppHandler& app, TTdAppOptions& options) {
  return ShowEditFilterDialog(options, app.CategoryHandler(), app.ResourceHandler(), app.TodoHandler(),
                              app.TypeHandler());
}

bool TProgramDialogs::EditSort(TTdAppOptions& options) { return ShowEditSortDialog(options); }

bool TProgramDialogs::EditCategories(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                                     TIdArray& exclude) {
  return ShowEditCategoryDialog(app, *common_.TaskTreeImages(), defaultId, include, stayOnTop, exclude, Owner());
}

bool TProgramDialogs::EditResources(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                                    TIdArray& exclude) {
  return ShowEditResourceDialog(app, defaultId, include, stayOnTop, exclude, Owner());
}

bool TProgramDialogs::EditTypes(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                                TIdArray& exclude) {
  return ShowEditTypeDialog(app, *common_.TaskTreeImages(), defaultId, include, stayOnTop, exclude, Owner());
}

int TProgramDialogs::ViewArchive(const QString& archiveFile, TTodoAppHandler& app, bool stayOnTop) {
  return ShowViewArchiveDialog(archiveFile, app, *common_.TaskTreeImages(), stayOnTop, Owner());
}

bool TProgramDialogs::RunPrintWizard(TTdAppOptions& options, TTodoAppHandler& app, TLazyStringTree& taskTree,
                                     bool& ignoreTabFilter) {
  TTreePrintTasks tasks(taskTree, ignoreTabFilter);
  return ::RunPrintWizard(options, app, tasks, common_.TaskTreeImages());
}

void TProgramDialogs::Backup(TTodoAppHandler& app) {
  TUtBrowser browser;
  ExecuteBackup(app, browser, Owner());
}

void TProgramDialogs::ShowAbout(bool stayOnTop, const QIcon& icon) {
  ShowAboutBox(ProgramAboutInfo(), stayOnTop, icon, Owner());
}
