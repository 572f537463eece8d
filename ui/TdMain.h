#pragma once
// The main window: the menu bar, the tool bar, the quick-filter tabs over the task tree
// and the notes pane, the four-panel status bar, the tray icon and its menu, the tree's
// popup menu and the find dialog; every command of the program as an action, and the
// flows behind them. It is given the application handler for the run (and the dialogs it
// opens); it makes neither.
#include "core/TdApp.h"
#include "core/TdMainLink.h"
#include "treeview/LazyTreeTypes.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QPlainTextEdit;
class QTabBar;
class QToolBar;
class QToolButton;
class QWidget;
class TActionManager;
class TFmSplitter;
class TLazyStringTree;
class TMainDialogs;
class TPopupActionBarEx;
class TTdFindDialog;
class TTaskTreeView;
class TTdTodo;
class TUtTrayIcon;

// The tool bar's button codes as the options store them (0 = an empty slot).
enum TToolButtonCode {
  tbAdd = 1, tbDelete, tbPrint, tbOptions, tbFilter, tbSort, tbHelp, tbExit, tbFind, tbEdit, tbFilterToggle
};

class TTodoMainForm : public QMainWindow, public TTdMainLink {
  Q_OBJECT

public:
  static constexpr int kColumnCount = 19;
  static constexpr int kToolButtonCount = 11;

  // Reports to `handler` from now on and runs the start (FormCreate). `dialogs` opens
  // the dialogs; null: each says it is not available yet. Both must outlive the window.
  explicit TTodoMainForm(TTodoAppHandler& handler, TMainDialogs* dialogs = nullptr, QWidget* parent = nullptr);
  ~TTodoMainForm() override;

  TTodoAppHandler& AppHandler() { return handler_; }

  // Saves everything first. A failed save is shown in the error box and the window
  // stays open, so nothing the user entered is lost; so it does while a reminder window
  // is up (the save follows when the reminder is answered). With ConfirmExit only Yes
  // to "Quit Velmora?" closes.
  void FormCloseQuery(bool& canClose);
  // Stores the column layout and the tab, leaves the window's bounds in the options and
  // stops reporting to the handler.
  void FormDestroy();

  // TTdMainLink
  void TasksAdded(int count) override;
  QString StatusText() const override;
  void SetStatusText(const QString& text) override;
  TWindowBounds WindowBounds() const override;
  int AddTaskImage(const QIcon& icon) override;

  // Sorts by the first sort key when there is one; otherwise repaints when asked.
  void ApplySorting(bool repaint);
  void UpdateStatusAndActions();
  void ApplyAlwaysOnTop();
  void ApplyViewSettings();
  void UpdateFilterButton(bool on);
  void LoadColumnLayout();
  void SaveColumnLayout();

  // Read by the print wizard (which sets the presentation's IgnoreTabFilter while it
  // prints every task).
  TLazyStringTree& TaskTree() const { return *TaskTree_; }

  int AddedCount() const { return addedCount_; }
  int DeletedCount() const { return deletedCount_; }
  int ArchivedCount() const { return archivedCount_; }
  // The task a node stands for, null for none.
  TTdTodo* TaskOf(PLazyNode node) const;
  // The tasks in the tree's order, for tests and the print wizard.
  std::vector<TTdTodo*> TasksInTreeOrder() const;

  // The actions, as the menus, the tool bar and the tray menu show them.
  QAction* acFilePrint = nullptr;
  QAction* acFileBackup = nullptr;
  QAction* acFileExport = nullptr;
  QAction* acFileExit = nullptr;
  QAction* acEditUndoDelete = nullptr;
  QAction* acViewTemplates = nullptr;
  QAction* acSearchFindTree = nullptr;
  QAction* acSearchFindNextTree = nullptr;
  QAction* acAddTodo = nullptr;
  QAction* acAddTaskPopup = nullptr;
  QAction* acEditTodo = nullptr;
  QAction* acDeleteTodo = nullptr;
  QAction* acEditDelete = nullptr;
  QAction* acEditCategory = nullptr;
  QAction* acEditResource = nullptr;
  QAction* acEditType = nullptr;
  QAction* acArchiveTasks = nullptr;
  QAction* acViewArchive = nullptr;
  QAction* acEditTodoFilter = nullptr;
  QAction* acFilterOnOff = nullptr;
  QAction* acSortTodo = nullptr;
  QAction* acEditTodoOptions = nullptr;
  QAction* acHelpContents = nullptr;
  QAction* acWebLink = nullptr;
  QAction* acHelpAbout = nullptr;
  QAction* acRestoreFromTray = nullptr;
  QAction* acTrayExit = nullptr;

  QToolBar* ToolBar() const { return toolBar_; }
  // The tool button of a code (1 to 11).
  QToolButton* ToolButton(int code) const;
  QTabBar* TabControl() const { return tabControl_; }
  TFmSplitter* FmSplitter() const { return splitter_; }
  QPlainTextEdit* Notes() const { return meNotes_; }
  QLabel* StatusPanel(int index) const { return statusPanels_[static_cast<size_t>(index)]; }
  TPopupActionBarEx* TrayPopupMenu() const { return trayPopupMenu_.get(); }
  TPopupActionBarEx* TaskTreePopupMenu() const { return taskTreePopupMenu_.get(); }
  TUtTrayIcon* TrayIcon() const { return trayIcon_.get(); }
  TTdFindDialog* FindDialog() const { return findDialog_; }
  const std::array<int, kColumnCount>& ColumnMinWidths() const;
  // The task list's presentation: what the tree, the tabs and the notes pane show.
  TTaskTreeView& TaskView() const { return *view_; }

  // Restores the window from the tray, like acRestoreFromTray.
  void acOpenAppExecute();

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // ---- FormCreate and the controls (TdMainCreate.cpp) ------------------------------
  void FormCreate();
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateClientArea();
  void CreateStatusBar();
  void CreatePopupMenus();
  void CreateTrayIcon();
  void ApplyBounds();
  // Makes or drops the tray icon by UseSystemTray; at the start also minimises by
  // MinimizeOnStart.
  void ApplyTrayOptions(bool atStart);
  QAction* MakeAction(const char* name, const QString& caption, const QString& hint, int image);
  // Connects an action that does nothing while a cell is edited.
  void Bind(QAction* action, void (TTodoMainForm::*handler)());
  // Runs a handler behind the "Application Error" box.
  void Guarded(void (TTodoMainForm::*handler)());

  // ---- View settings (TdMainView.cpp) ----------------------------------------------
  void ApplyToolBarSettings(const TTdAppOptions& o);
  void ApplyNotesPane(const TTdAppOptions& o);
  void ApplyHeaderStyle(const TTdAppOptions& o);

  // ---- The commands (TdMainFlows.cpp) ----------------------------------------------
  bool CellEditing() const;
  void acFilePrintExecute();
  void acFileBackupExecute();
  void acFileExportExecute();
  void acFileExitExecute();
  void acEditUndoDeleteExecute();
  void acViewTemplatesExecute();
  void acSearchFindTreeExecute();
  void acSearchFindNextTreeExecute();
  void acAddTodoExecute();
  void acEditTodoExecute();
  void acDeleteTodoExecute();
  void acEditCategoryExecute();
  void acEditResourceExecute();
  void acEditTypeExecute();
  void acArchiveTasksExecute();
  void acViewArchiveExecute();
  void acEditTodoFilterExecute();
  void acFilterOnOffExecute();
  void acSortTodoExecute();
  void acEditTodoOptionsExecute();
  void acHelpContentsExecute();
  void acWebLinkExecute();
  void acHelpAboutExecute();
  void acRestoreFromTrayExecute();
  void acTrayExitExecute();
  void FindDialogFind();
  // Re-filters all nodes keeping the selected task selected.
  void RefilterKeepingSelection();
  // The folder move of the options flow; false when it stopped (the old folder stays).
  bool MoveDatabaseFolder(const QString& oldFolder, const QString& newFolder);
  void SetNotes(TTdTodo* task);

  // ---- The task list's presentation (TdMainTaskList.cpp) ------------------------------
  // The window's side of the joint with TTaskTreeView, which owns everything the tree
  // shows of a task and how it reacts (texts, images, hints, comparison, filter and tabs,
  // check boxes, in-place editing, search, the notes pane); these pass through to it.
  void BindTaskList();
  // Gives the tree a node per task of the store, from scratch.
  void ResetTaskNodes();
  bool IsTaskVisible(const TTdTodo& task) const;
  void BuildQuickFilterTabs(bool reset);
  void TabControlChange();
  void FocusNode(PLazyNode node);
  void FitColumns();
  // Shows the columns the options display, hides the others.
  void ApplyColumnVisibility();
  bool FindNextTask(const QString& text);
  void TaskTreeFocusChanged(PLazyNode node);

  TTodoAppHandler& handler_;
  TMainDialogs* dialogs_;
  std::unique_ptr<TMainDialogs> ownDialogs_;

  QToolBar* toolBar_ = nullptr;
  std::array<QAction*, kToolButtonCount> toolActions_{};
  QWidget* tabHolder_ = nullptr;
  QTabBar* tabControl_ = nullptr;
  QWidget* pnlHolder_ = nullptr;
  TFmSplitter* splitter_ = nullptr;
  TLazyStringTree* TaskTree_ = nullptr;
  QWidget* pnlNotes_ = nullptr;
  QPlainTextEdit* meNotes_ = nullptr;
  std::array<QLabel*, 4> statusPanels_{};
  TActionManager* actionManager_ = nullptr;  // a child of the window
  std::unique_ptr<TPopupActionBarEx> trayPopupMenu_;
  std::unique_ptr<TPopupActionBarEx> taskTreePopupMenu_;
  std::unique_ptr<TUtTrayIcon> trayIcon_;
  TTdFindDialog* findDialog_ = nullptr;
  bool showToolTips_ = true;

  std::unique_ptr<TTaskTreeView> view_;
  int addedCount_ = 0;
  int deletedCount_ = 0;
  int archivedCount_ = 0;
  bool destroyed_ = false;
};

// An action's image of the shared lists (TActionImage) in both sizes: small for the
// menus, large for the tool bar.
QIcon ActionIcon(int image);

// Whether windows on the named display platform can learn where they are. Wayland keeps
// window positions to itself; there the stored position is kept as it was.
bool PlatformReportsWindowPositions(const QString& platformName);

// The application handler of a start (settings and table files loaded); when the start
// fails its error is shown in the error box and null returned, since the program cannot
// go on.
std::unique_ptr<TTodoAppHandler> CreateAppHandler(const TTodoAppTimings& timings = {});
