// The commands of the main window: what each action does.
#include "controls/Menus.h"
#include "controls/UtTrIcon.h"
#include "core/BTodo.h"
#include "core/UtAutoStart.h"
#include "platform/ApplicationError.h"
#include "platform/DateTime.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdDbFolderMove.h"
#include "ui/TdFindDlg.h"
#include "ui/TdHelpContexts.h"
#include "ui/TdMain.h"
#include "ui/TdMainDialogs.h"
#include "ui/TdTaskTree.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabBar>

namespace {

const QString kMessage = QStringLiteral("Message");
const QString kWebPage = QStringLiteral("https://velmora.example.org/");

bool AskYes(const QString& text, Msg::Icon icon) {
  return Desktop().MessageBox(kMessage, text, icon, Msg::Yes | Msg::No | Msg::Cancel) == Msg::Yes;
}

QString Quoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// The day `days` from now at the given hour, minutes 0, seconds as now.
TDateTime AtHour(TDateTime now, int days, int hour) {
  QDate date;
  QTime time;
  DateTime::SplitDateAndTime(now + days, &date, &time);
  return DateTime::FromDateAndTime(date, QTime(qBound(0, hour, 23), 0, time.second(), time.msec()));
}

}  // namespace

bool TTodoMainForm::CellEditing() const { return TaskTree_->IsEditing(); }

// ---- File ---------------------------------------------------------------------------

void TTodoMainForm::acFilePrintExecute() {
  TTdAppOptions copy = handler_.GetOptions();
  if (dialogs_->RunPrintWizard(copy, handler_, *TaskTree_, view_->IgnoreTabFilter)) handler_.PutOptions(copy);
}

void TTodoMainForm::acFileBackupExecute() { dialogs_->Backup(handler_); }

void TTodoMainForm::acFileExportExecute() {
  FileDialogRequest request;
  request.caption = QStringLiteral("Export");
  request.fileName = handler_.Options().ExportPath;
  request.filter = QStringLiteral("Text files (*.txt)");
  request.defaultSuffix = QStringLiteral("txt");
  const QString file = Desktop().SaveFileName(request, this);
  if (file.isEmpty()) return;
  const ScopedWaitCursor wait;
  TTdAppOptions o = handler_.GetOptions();
  o.ExportPath = file;
  handler_.PutOptions(o);
  handler_.ExportTasks(file);
}

void TTodoMainForm::acFileExitExecute() { close(); }

// ---- Edit and view --------------------------------------------------------------------

void TTodoMainForm::acEditUndoDeleteExecute() {
  TTdTodoHandler& todos = handler_.TodoHandler();
  if (todos.UndoCount() == 0) return;
  if (handler_.Options().ConfirmUndoDelete &&
      !AskYes(QStringLiteral("Do you want to restore ") + Quoted(todos.UndoTitle()) + QStringLiteral("?"),
              Msg::Warning))
    return;
  TTdTodo* task = todos.Undo();
  if (!task) return;
  handler_.AddAssociationIcon(*task);
  TasksAdded(1);
}

void TTodoMainForm::acViewTemplatesExecute() {
  TTdAppOptions o = handler_.GetOptions();
  o.ViewTemplates = !o.ViewTemplates;
  handler_.PutOptions(o);
  acViewTemplates->setChecked(o.ViewTemplates);
  RefilterKeepingSelection();
  if (o.QuickFilterMode != 0) BuildQuickFilterTabs(false);
  UpdateStatusAndActions();
}

void TTodoMainForm::acSearchFindTreeExecute() {
  view_->ForgetLastFound();
  findDialog_->show();
  findDialog_->raise();
  findDialog_->activateWindow();
}

void TTodoMainForm::FindDialogFind() {
  FindNextTask(findDialog_->FindText());
  UpdateStatusAndActions();
}

void TTodoMainForm::acSearchFindNextTreeExecute() {
  if (findDialog_->FindText().isEmpty()) return;
  FindDialogFind();
}

// ---- Tasks ---------------------------------------------------------------------------

void TTodoMainForm::acAddTodoExecute() {
  const TTdAppOptions& o = handler_.Options();
  const TDateTime now = DateTime::Now();
  // The task stays outside the store until the editor is confirmed: no node, save or
  // reminder pass may see a task that Cancel throws away.
  TTdTodo task(now);
  task.Category = o.DefaultCategoryIndex;
  task.Resource = o.DefaultResourceIndex;
  task.SetStatus(o.DefaultStatus);
  task.Priority = o.DefaultPriority;
  task.Type = o.DefaultType;
  const int tab = tabControl_->currentIndex();
  if (tab >= 0 && o.QuickFilterMode >= 1 && o.QuickFilterMode <= 5) {
    const int32_t value = tabControl_->tabData(tab).toInt();
    switch (o.QuickFilterMode) {
      case 1: task.SetStatus(value); break;
      case 2: task.Priority = value; break;
      case 3: task.Category = value; break;
      case 4: task.Resource = value; break;
      case 5: task.Type = value; break;
    }
  }
  task.Due = AtHour(now, o.DefaultDueDateDelta, o.DefaultDueHour);
  task.SetReminderActivated(o.DefaultReminderActivated);
  // The reminder at this hour that many days on, on the full hour.
  QDate today;
  QTime nowTime;
  DateTime::SplitDateAndTime(now, &today, &nowTime);
  task.ReminderDateTime = AtHour(now, o.DefaultReminderDateDelta, nowTime.hour());
  task.ReminderType = o.DefaultReminderType;
  task.ReminderPath = o.DefaultReminderSoundPath;

  TTdTodoHandler& todos = handler_.TodoHandler();
  if (dialogs_->EditTodo(handler_, task, true, true)) {
    ++addedCount_;
    TTdTodo* added = todos.AddTodo();
    added->Assign(task);
    todos.SetModified(true);
    handler_.AddAssociationIcon(*added);
    added->ID = ++todos.LastId;
    TasksAdded(1);
  } else {
    // As a deleted task would: Undo Delete brings it back.
    todos.PushUndo(task);
  }
  UpdateStatusAndActions();
}

void TTodoMainForm::acEditTodoExecute() {
  PLazyNode node = TaskTree_->GetFirstSelectedNode();
  if (!node || !TaskTree_->GetNodeVisible(node)) return;
  TTdTodo* task = TaskOf(node);
  if (!task) return;
  const int mode = handler_.Options().QuickFilterMode;
  auto tabValue = [mode](const TTdTodo& t) {
    switch (mode) {
      case 1: return t.Status;
      case 2: return t.Priority;
      case 3: return t.Category;
      case 4: return t.Resource;
      case 5: return t.Type;
      default: return 0;
    }
  };
  const int32_t before = tabValue(*task);
  if (dialogs_->EditTodo(handler_, *task, false, true)) {
    handler_.TodoHandler().SetModified(true);
    handler_.AddAssociationIcon(*task);
    view_->TaskChanged(task);
    if (tabValue(*task) != before) BuildQuickFilterTabs(false);
    else if (handler_.Options().FilterOn) RefilterKeepingSelection();
    ApplySorting(false);
    if (handler_.Options().AutoFitColumns) FitColumns();
    SetNotes(task);
  }
  UpdateStatusAndActions();
}

void TTodoMainForm::acDeleteTodoExecute() {
  PLazyNode node = TaskTree_->GetFirstSelectedNode();
  if (!node) return;
  TTdTodo* task = TaskOf(node);
  if (!task) return;
  if (handler_.Options().ConfirmDelete &&
      !AskYes(QStringLiteral("Do you want to delete ") + Quoted(task->Title) + QStringLiteral("?"), Msg::Warning))
    return;
  ++deletedCount_;
  // The next row, else the previous, takes the focus and its notes show.
  view_->DeleteTask(node);
  BuildQuickFilterTabs(false);
  if (handler_.Options().AutoFitColumns) FitColumns();
  UpdateStatusAndActions();
}

void TTodoMainForm::acArchiveTasksExecute() {
  const int closed = handler_.ClosedCount();
  if (handler_.Options().ConfirmArchive &&
      !AskYes(QStringLiteral("Do you want to archive %1 done Tasks (OK and cancelled)?").arg(closed), Msg::Warning))
    return;
  SetNotes(nullptr);
  // The nodes go before their tasks do.
  TaskTree_->Clear();
  try {
    archivedCount_ += handler_.ArchiveClosed();
  } catch (...) {
    ResetTaskNodes();
    throw;
  }
  ResetTaskNodes();
  BuildQuickFilterTabs(false);
  ApplySorting(false);
  if (!TaskTree_->GetFirstSelectedNode()) SetNotes(nullptr);
  FitColumns();
  UpdateStatusAndActions();
  // The archive file has the tasks now; the task file must lose them at once, or a
  // crash would leave them in both.
  handler_.SaveAll();
}

void TTodoMainForm::acViewArchiveExecute() {
  const TTdAppOptions& o = handler_.Options();
  const int restored =
      dialogs_->ViewArchive(o.DatabaseFolder + QStringLiteral("archive.tbl"), handler_, o.AlwaysOnTop);
  if (restored > 0) {
    TasksAdded(restored);
    UpdateStatusAndActions();
    // The archive lost the tasks the store gained: both files now, not one.
    handler_.SaveAll();
  }
}

// ---- Lists ---------------------------------------------------------------------------

void TTodoMainForm::acEditCategoryExecute() {
  TTdAppOptions o = handler_.GetOptions();
  if (!dialogs_->EditCategories(handler_, o.DefaultCategoryIndex, o.FilterCategoryIncl, o.AlwaysOnTop,
                                o.FilterCategoryExcl))
    return;
  handler_.PutOptions(o);
  if (o.QuickFilterMode == 3) BuildQuickFilterTabs(false);
  view_->InvalidateSortKeys();
  ApplySorting(true);
  if (o.AutoFitColumns) FitColumns();
  handler_.SaveAll();
}

void TTodoMainForm::acEditResourceExecute() {
  TTdAppOptions o = handler_.GetOptions();
  if (!dialogs_->EditResources(handler_, o.DefaultResourceIndex, o.FilterResourceIncl, o.AlwaysOnTop,
                               o.FilterResourceExcl))
    return;
  handler_.PutOptions(o);
  if (o.QuickFilterMode == 4) BuildQuickFilterTabs(false);
  view_->InvalidateSortKeys();
  TaskTree_->InvalidateTree();
  if (o.AutoFitColumns) FitColumns();
  handler_.SaveAll();
}

void TTodoMainForm::acEditTypeExecute() {
  TTdAppOptions o = handler_.GetOptions();
  // The type filter is one list; the editor's exclude list has nothing to update.
  TIdArray noExclude;
  if (!dialogs_->EditTypes(handler_, o.DefaultType, o.FilterType, o.AlwaysOnTop, noExclude)) return;
  handler_.PutOptions(o);
  if (o.QuickFilterMode == 5) BuildQuickFilterTabs(false);
  view_->InvalidateSortKeys();
  ApplySorting(true);
  if (o.AutoFitColumns) FitColumns();
  handler_.SaveAll();
}

// ---- Filter and sort ------------------------------------------------------------------

void TTodoMainForm::acEditTodoFilterExecute() {
  TTdAppOptions copy = handler_.GetOptions();
  if (dialogs_->EditFilter(handler_, copy)) {
    handler_.PutOptions(copy);
    const bool criteria = handler_.OptionsHandler().HasFilterCriteria();
    if (handler_.Options().FilterOn) {
      // Off and on again re-applies the new filter; without criteria it stays off.
      acFilterOnOffExecute();
      if (criteria) acFilterOnOffExecute();
    }
    if (handler_.Options().FilterOn) RefilterKeepingSelection();
  }
  UpdateStatusAndActions();
}

void TTodoMainForm::acFilterOnOffExecute() {
  TTdAppOptions o = handler_.GetOptions();
  o.FilterOn = !o.FilterOn;
  handler_.PutOptions(o);
  UpdateFilterButton(o.FilterOn);
  RefilterKeepingSelection();
  UpdateStatusAndActions();
}

void TTodoMainForm::acSortTodoExecute() {
  TTdAppOptions copy = handler_.GetOptions();
  if (!dialogs_->EditSort(copy)) return;
  handler_.PutOptions(copy);
  ApplySorting(true);
}

// ---- Options -------------------------------------------------------------------------

void TTodoMainForm::acEditTodoOptionsExecute() {
  const TTdAppOptions old = handler_.GetOptions();
  TTdAppOptions copy = old;
  if (!dialogs_->EditOptions(handler_, copy)) return;
  // The table files' names are the folder and the file name put together.
  if (!copy.DatabaseFolder.isEmpty() && !copy.DatabaseFolder.endsWith(QLatin1Char('/')))
    copy.DatabaseFolder += QLatin1Char('/');
  handler_.PutOptions(copy);
  if (!SameFolder(old.DatabaseFolder, copy.DatabaseFolder) &&
      !MoveDatabaseFolder(old.DatabaseFolder, copy.DatabaseFolder)) {
    // The data stay where they are, and so does the folder the options name.
    TTdAppOptions o = handler_.GetOptions();
    o.DatabaseFolder = old.DatabaseFolder;
    o.SpecialDbLocation = old.SpecialDbLocation;
    handler_.PutOptions(o);
  }
  if (old.AutoStart != copy.AutoStart) SetAutoStart(copy.AutoStart);
  TaskTree_->BeginTreeUpdate();
  ApplyViewSettings();
  ApplyAlwaysOnTop();
  BuildQuickFilterTabs(false);
  TaskTree_->EndTreeUpdate();
  ApplyTrayOptions(false);
  UpdateStatusAndActions();
}

bool TTodoMainForm::MoveDatabaseFolder(const QString& oldFolder, const QString& newFolder) {
  const ScopedWaitCursor wait;
  // The settings name the new folder only once the files are there, and the old files go
  // only once the settings name the new folder: a crash at any point leaves a settings
  // file that leads to the data.
  auto nameFolder = [this](const QString& folder) {
    TTdAppOptions o = handler_.GetOptions();
    o.DatabaseFolder = folder;
    handler_.PutOptions(o);
  };
  nameFolder(oldFolder);
  // What the stores hold goes to the old folder first, so the copies carry it along.
  if (!RunGuarded([this] { handler_.SaveAll(); })) return false;
  const TDbFolderCopyResult copied = CopyTableFiles(oldFolder, newFolder);
  if (!copied.Ok) {
    Desktop().MessageBox(kMessage, copied.Message, Msg::Warning, Msg::Ok);
    return false;
  }
  SetNotes(nullptr);
  TaskTree_->Clear();
  bool reopened = false;
  try {
    // A table file the new folder had already is the one the run goes on with.
    handler_.ReopenStores(newFolder);
    reopened = true;
    nameFolder(newFolder);
    handler_.SaveAll();
  } catch (...) {
    const QString message = CurrentExceptionMessage();
    nameFolder(oldFolder);
    // The old files are whole and hold everything: the run goes on with them.
    if (reopened) RunGuarded([&] { handler_.ReopenStores(oldFolder); });
    ResetTaskNodes();
    Desktop().MessageBox(kMessage, message, Msg::Warning, Msg::Ok);
    for (const QString& name : copied.Copied) QFile::remove(newFolder + name);
    return false;
  }
  RemoveTableFiles(oldFolder);
  ResetTaskNodes();
  FocusNode(TaskTree_->GetFirstVisible());
  return true;
}

// ---- Help and tray -------------------------------------------------------------------

void TTodoMainForm::acHelpContentsExecute() { ShowHelpContext(kHelpContents); }

void TTodoMainForm::acWebLinkExecute() { Desktop().OpenUrl(kWebPage); }

void TTodoMainForm::acHelpAboutExecute() { dialogs_->ShowAbout(false, windowIcon()); }

void TTodoMainForm::acRestoreFromTrayExecute() { acOpenAppExecute(); }

void TTodoMainForm::acOpenAppExecute() {
  if (trayIcon_ && trayIcon_->Shown()) {
    trayIcon_->Restore();
    return;
  }
  showNormal();
  Desktop().BringToFront(this);
}

void TTodoMainForm::acTrayExitExecute() {
  if (handler_.Options().ConfirmExit && !AskYes(QStringLiteral("Quit Velmora?"), Msg::Question)) return;
  QCoreApplication::quit();
}

// ---- Close and destroy ---------------------------------------------------------------

void TTodoMainForm::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose) event->accept();
  else event->ignore();
}

void TTodoMainForm::FormCloseQuery(bool& canClose) {
  bool saved = false;
  if (!RunGuarded([&] { saved = handler_.SaveAll(); }) || !saved) {
    canClose = false;
    return;
  }
  if (handler_.Options().ConfirmExit) canClose = AskYes(QStringLiteral("Quit Velmora?"), Msg::Question);
}

void TTodoMainForm::FormDestroy() {
  if (destroyed_) return;
  destroyed_ = true;
  SaveColumnLayout();
  // The handler's last save writes the bounds from the options once the window is gone.
  const TWindowBounds bounds = WindowBounds();
  TTdAppOptions o = handler_.GetOptions();
  o.CurrentTabIndex = tabControl_->currentIndex();
  o.Left = bounds.Left;
  o.Top = bounds.Top;
  o.Width = bounds.Width;
  o.Height = bounds.Height;
  handler_.PutOptions(o);
  handler_.SetMainLink(nullptr);
}

std::unique_ptr<TTodoAppHandler> CreateAppHandler(const TTodoAppTimings& timings) {
  std::unique_ptr<TTodoAppHandler> handler;
  RunGuarded([&] { handler = std::make_unique<TTodoAppHandler>(nullptr, timings); });
  return handler;
}
