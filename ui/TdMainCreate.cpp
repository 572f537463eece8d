// The main window's controls and its start.
#include "controls/ActnPopupCtrl.h"
#include "controls/FmSplit.h"
#include "controls/Menus.h"
#include "controls/UtTrIcon.h"
#include "core/BTodo.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdCommon.h"
#include "ui/TdFindDlg.h"
#include "ui/TdHelpContexts.h"
#include "ui/TdMain.h"
#include "ui/TdMainDialogs.h"
#include "ui/TdTaskTree.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kDesignWidth = 705, kDesignHeight = 595;
constexpr int kMinWidth = 610, kMinHeight = 400;
constexpr std::array<int, 4> kPanelWidths = {180, 100, 80, 150};
const QString kSiteName = QStringLiteral("Velmora");

// The tool buttons' object names, by code - 1.
constexpr std::array<const char*, TTodoMainForm::kToolButtonCount> kToolButtonNames = {
    "btnAddTodo", "btnDeleteTask", "btnPrint", "btnEditOptions", "btnEditTodoFilter", "btnSort",
    "btnHelp",    "btnExit",       "btnFind",  "btnEdit",        "btnToggleFilter"};

}  // namespace

QIcon ActionIcon(int image) {
  // Menus draw the small images, the tool bar the large ones, each with its disabled
  // and hot look; the small list has a few images the large one lacks.
  const TCommonModule& common = CommonModule();
  QIcon icon = common.SmallIcon(image);
  const QIcon large = common.LargeIcon(image);
  if (!large.isNull())
    for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Active})
      icon.addPixmap(large.pixmap(QSize(24, 24), mode), mode);
  return icon;
}

TTodoMainForm::TTodoMainForm(TTodoAppHandler& handler, TMainDialogs* dialogs, QWidget* parent)
    : QMainWindow(parent), handler_(handler), dialogs_(dialogs) {
  if (dialogs_ == nullptr) {
    ownDialogs_ = std::make_unique<TNotAvailableDialogs>();
    dialogs_ = ownDialogs_.get();
  }
  FormCreate();
}

TTodoMainForm::~TTodoMainForm() {
  FormDestroy();
  // The tree goes first, while everything its events reach (the notes pane, the
  // handler) is still there.
  delete TaskTree_;
  TaskTree_ = nullptr;
  view_.reset();
}

void TTodoMainForm::FormCreate() {
  setObjectName(QStringLiteral("TodoMainForm"));
  // The single-instance check ran before the handler was made (RunProgram), and the
  // application-wide error box is the application object's.
  resize(kDesignWidth, kDesignHeight);
  setMinimumSize(kMinWidth, kMinHeight);
  CreateActions();
  acWebLink->setText(QStringLiteral("Visit ") + kSiteName + QStringLiteral(" on the Internet"));
  setWindowTitle(QStringLiteral("Velmora"));
  CreateMenus();
  CreateToolBar();
  CreateClientArea();
  CreateStatusBar();
  CreatePopupMenus();

  handler_.SetMainLink(this);
  ApplyBounds();
  ApplyTrayOptions(true);

  BindTaskList();
  LoadColumnLayout();
  ApplyViewSettings();
  ApplyAlwaysOnTop();
  BuildQuickFilterTabs(true);
  const int tab = handler_.Options().CurrentTabIndex;
  if (tabControl_->count() > 0 && tab != -1 && tab < tabControl_->count()) {
    // The tab bar reports the change to the presentation, which filters.
    tabControl_->setCurrentIndex(tab);
  }
  ApplySorting(false);
  FocusNode(TaskTree_->GetFirstVisible());
  FitColumns();
  UpdateStatusAndActions();
}

QAction* TTodoMainForm::MakeAction(const char* name, const QString& caption, const QString& hint, int image) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  // "tip|status": the tool tip before the bar, the status-bar text after it.
  const int bar = hint.indexOf(QLatin1Char('|'));
  action->setToolTip(bar < 0 ? hint : hint.left(bar));
  action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
  if (image != aiNone) action->setIcon(ActionIcon(image));
  addAction(action);
  return action;
}

void TTodoMainForm::Guarded(void (TTodoMainForm::*handler)()) {
  RunGuarded([this, handler] { (this->*handler)(); });
}

void TTodoMainForm::Bind(QAction* action, void (TTodoMainForm::*handler)()) {
  connect(action, &QAction::triggered, this, [this, handler] {
    if (CellEditing()) return;
    Guarded(handler);
  });
}

void TTodoMainForm::CreateActions() {
  acFilePrint = MakeAction("acFilePrint", QStringLiteral("&Print..."), QString(), aiPrint);
  acFilePrint->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  acFileBackup = MakeAction("acFileBackup", QStringLiteral("&Backup..."), QString(), aiBackup);
  acFileExport = MakeAction("acFileExport", QStringLiteral("&Export..."), QString(), aiExport);
  acFileExit = MakeAction("acFileExit", QStringLiteral("E&xit"), QStringLiteral("Exit|Exit Velmora"), aiExit);
  acEditUndoDelete = MakeAction("acEditUndoDelete", QStringLiteral("&Undo Delete"),
                                QStringLiteral("Undo Delete|Restores last deleted Task"), aiUndoDelete);
  acEditUndoDelete->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
  acViewTemplates = MakeAction("acViewTemplates", QStringLiteral("&View templates"), QStringLiteral("View templates"), aiNone);
  acViewTemplates->setCheckable(true);
  acSearchFindTree = MakeAction("acSearchFindTree", QStringLiteral("&Find..."),
                                QStringLiteral("Find|Find the specified text"), aiFind);
  acSearchFindTree->setShortcut(QKeySequence(QStringLiteral("Ctrl+F")));
  acSearchFindNextTree = MakeAction("acSearchFindNextTree", QStringLiteral("Search &Again"),
                                    QStringLiteral("Search Again|Repeat the last search"), aiSearchAgain);
  acSearchFindNextTree->setShortcut(QKeySequence(Qt::Key_F3));
  acAddTodo = MakeAction("acAddTodo", QStringLiteral("&Add Task..."), QStringLiteral("Add Task"), aiAddTask);
  acAddTodo->setShortcut(QKeySequence(Qt::Key_F4));
  acAddTaskPopup = MakeAction("acAddTaskPopup", QStringLiteral("Add Task..."), QStringLiteral("Add Task"), aiAddTask);
  acEditTodo = MakeAction("acEditTodo", QStringLiteral("&Edit Task..."), QStringLiteral("Edit Task"), aiEditTask);
  acEditTodo->setShortcut(QKeySequence(Qt::Key_F5));
  acDeleteTodo = MakeAction("acDeleteTodo", QStringLiteral("&Delete Task"), QStringLiteral("Delete Task"), aiDeleteTask);
  // The menu's item carries the key; one action per key, or neither would fire.
  acEditDelete = MakeAction("acEditDelete", QStringLiteral("De&lete Task"), QStringLiteral("Delete Task (Del)"), aiDeleteTask);
  acEditDelete->setShortcut(QKeySequence(Qt::Key_Delete));
  acEditCategory = MakeAction("acEditCategory", QStringLiteral("Edit &Categories..."),
                              QStringLiteral("Edit Categories"), aiCategories);
  acEditCategory->setShortcut(QKeySequence(Qt::Key_F6));
  acEditResource = MakeAction("acEditResource", QStringLiteral("E&dit Resources..."),
                              QStringLiteral("Edit Resources"), aiResources);
  acEditResource->setShortcut(QKeySequence(Qt::Key_F7));
  acEditType = MakeAction("acEditType", QStringLiteral("Ed&it Types..."), QString(), aiTypes);
  acArchiveTasks = MakeAction("acArchiveTasks", QStringLiteral("Archive &Tasks"),
                              QStringLiteral("Archive completed Tasks"), aiArchiveTasks);
  acArchiveTasks->setShortcut(QKeySequence(Qt::Key_F8));
  acViewArchive = MakeAction("acViewArchive", QStringLiteral("&View Archive"), QString(), aiViewArchive);
  acViewArchive->setShortcut(QKeySequence(Qt::Key_F9));
  acEditTodoFilter = MakeAction("acEditTodoFilter", QStringLiteral("Edit &Filter..."), QStringLiteral("Edit Filter"), aiEditFilter);
  acEditTodoFilter->setShortcut(QKeySequence(Qt::Key_F10));
  acFilterOnOff = MakeAction("acFilterOnOff", QStringLiteral("F&ilter is OFF"), QStringLiteral("Click to activate filter"), aiFilterOff);
  acFilterOnOff->setCheckable(true);
  acSortTodo = MakeAction("acSortTodo", QStringLiteral("&Sort.."), QString(), aiSort);
  acSortTodo->setShortcut(QKeySequence(Qt::Key_F11));
  acEditTodoOptions = MakeAction("acEditTodoOptions", QStringLiteral("&Options..."), QStringLiteral("Edit Options"), aiOptions);
  acEditTodoOptions->setShortcut(QKeySequence(Qt::Key_F12));
  acHelpContents = MakeAction("acHelpContents", QStringLiteral("&Contents"), QStringLiteral("Help Contents"), aiHelp);
  acWebLink = MakeAction("acWebLink", QString(), QString(), aiWebLink);
  acHelpAbout = MakeAction("acHelpAbout", QStringLiteral("&About.."), QString(), aiAbout);
  acRestoreFromTray = MakeAction("acRestoreFromTray", QStringLiteral("&Restore"), QStringLiteral("Restore the window"), aiRestore);
  acTrayExit = MakeAction("acTrayExit", QStringLiteral("&Exit"), QStringLiteral("Exit Velmora"), aiExit);

  Bind(acFilePrint, &TTodoMainForm::acFilePrintExecute);
  Bind(acFileBackup, &TTodoMainForm::acFileBackupExecute);
  Bind(acFileExport, &TTodoMainForm::acFileExportExecute);
  Bind(acFileExit, &TTodoMainForm::acFileExitExecute);
  Bind(acEditUndoDelete, &TTodoMainForm::acEditUndoDeleteExecute);
  Bind(acViewTemplates, &TTodoMainForm::acViewTemplatesExecute);
  Bind(acSearchFindTree, &TTodoMainForm::acSearchFindTreeExecute);
  Bind(acSearchFindNextTree, &TTodoMainForm::acSearchFindNextTreeExecute);
  Bind(acAddTodo, &TTodoMainForm::acAddTodoExecute);
  // The tray's commands work while a cell is edited: the window may not even be shown.
  connect(acAddTaskPopup, &QAction::triggered, this, [this] { Guarded(&TTodoMainForm::acAddTodoExecute); });
  Bind(acEditTodo, &TTodoMainForm::acEditTodoExecute);
  Bind(acDeleteTodo, &TTodoMainForm::acDeleteTodoExecute);
  Bind(acEditDelete, &TTodoMainForm::acDeleteTodoExecute);
  Bind(acEditCategory, &TTodoMainForm::acEditCategoryExecute);
  Bind(acEditResource, &TTodoMainForm::acEditResourceExecute);
  Bind(acEditType, &TTodoMainForm::acEditTypeExecute);
  Bind(acArchiveTasks, &TTodoMainForm::acArchiveTasksExecute);
  Bind(acViewArchive, &TTodoMainForm::acViewArchiveExecute);
  Bind(acEditTodoFilter, &TTodoMainForm::acEditTodoFilterExecute);
  Bind(acFilterOnOff, &TTodoMainForm::acFilterOnOffExecute);
  Bind(acSortTodo, &TTodoMainForm::acSortTodoExecute);
  Bind(acEditTodoOptions, &TTodoMainForm::acEditTodoOptionsExecute);
  Bind(acHelpContents, &TTodoMainForm::acHelpContentsExecute);
  Bind(acWebLink, &TTodoMainForm::acWebLinkExecute);
  Bind(acHelpAbout, &TTodoMainForm::acHelpAboutExecute);
  // F1 asks for the window's own help topic.
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [] { ShowHelpContext(kHelpMainWindow); });
  connect(acRestoreFromTray, &QAction::triggered, this, [this] { Guarded(&TTodoMainForm::acRestoreFromTrayExecute); });
  connect(acTrayExit, &QAction::triggered, this, [this] { Guarded(&TTodoMainForm::acTrayExitExecute); });
}

void TTodoMainForm::CreateMenus() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("ActionMainMenuBar"));
  QMenu* file = bar->addMenu(QStringLiteral("&File"));
  file->addActions({acFilePrint, acFileBackup, acFileExport});
  file->addSeparator();
  file->addAction(acFileExit);
  QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
  edit->addAction(acEditUndoDelete);
  QMenu* view = bar->addMenu(QStringLiteral("&View"));
  view->addAction(acViewTemplates);
  view->addSeparator();
  view->addActions({acSearchFindTree, acSearchFindNextTree});
  QMenu* actions = bar->addMenu(QStringLiteral("&Actions"));
  actions->addActions({acAddTodo, acEditTodo, acEditDelete});
  actions->addSeparator();
  actions->addActions({acEditCategory, acEditResource, acEditType});
  actions->addSeparator();
  actions->addActions({acArchiveTasks, acViewArchive});
  QMenu* filter = bar->addMenu(QStringLiteral("F&ilter"));
  filter->addActions({acEditTodoFilter, acFilterOnOff});
  QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
  tools->addActions({acSortTodo, acEditTodoOptions});
  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  help->addAction(acHelpContents);
  help->addSeparator();
  help->addAction(acWebLink);
  help->addSeparator();
  help->addAction(acHelpAbout);
}

void TTodoMainForm::CreateToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("ToolBar"), this);
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->toggleViewAction()->setEnabled(false);
  toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
  toolBar_->setIconSize(QSize(24, 24));
  addToolBar(Qt::TopToolBarArea, toolBar_);
  toolActions_ = {acAddTodo, acDeleteTodo, acFilePrint, acEditTodoOptions, acEditTodoFilter, acSortTodo,
                  acHelpContents, acFileExit, acSearchFindTree, acEditTodo, acFilterOnOff};
}

QToolButton* TTodoMainForm::ToolButton(int code) const {
  if (code < 1 || code > kToolButtonCount) return nullptr;
  return qobject_cast<QToolButton*>(toolBar_->widgetForAction(toolActions_[static_cast<size_t>(code - 1)]));
}

void TTodoMainForm::CreateClientArea() {
  tabHolder_ = new QWidget(this);
  tabHolder_->setObjectName(QStringLiteral("TabControlHolder"));
  auto* layout = new QVBoxLayout(tabHolder_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  tabControl_ = new QTabBar(tabHolder_);
  tabControl_->setObjectName(QStringLiteral("TabControl"));
  tabControl_->setExpanding(false);
  tabControl_->setDrawBase(true);
  layout->addWidget(tabControl_);

  pnlHolder_ = new QWidget(tabHolder_);
  pnlHolder_->setObjectName(QStringLiteral("pnlHolder"));
  auto* holderLayout = new QVBoxLayout(pnlHolder_);
  holderLayout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(pnlHolder_, 1);

  splitter_ = new TFmSplitter(pnlHolder_);
  splitter_->setObjectName(QStringLiteral("FmSplitter"));
  splitter_->SetOrientation(orVertical);
  splitter_->SetUsePercent(true);
  holderLayout->addWidget(splitter_);

  TaskTree_ = new TLazyStringTree(splitter_->UpperLeft());
  TaskTree_->setObjectName(QStringLiteral("TaskTree"));
  auto* treeLayout = new QVBoxLayout(splitter_->UpperLeft());
  treeLayout->setContentsMargins(0, 0, 0, 0);
  treeLayout->addWidget(TaskTree_);

  pnlNotes_ = new QWidget(splitter_->LowerRight());
  pnlNotes_->setObjectName(QStringLiteral("pnlNotes"));
  auto* notesHolder = new QVBoxLayout(splitter_->LowerRight());
  notesHolder->setContentsMargins(0, 0, 0, 0);
  notesHolder->addWidget(pnlNotes_);
  auto* notesLayout = new QVBoxLayout(pnlNotes_);
  notesLayout->setContentsMargins(0, 0, 0, 0);
  meNotes_ = new QPlainTextEdit(pnlNotes_);
  meNotes_->setObjectName(QStringLiteral("meNotes"));
  notesLayout->addWidget(meNotes_);

  setCentralWidget(tabHolder_);
}

void TTodoMainForm::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName(QStringLiteral("StatusBar"));
  for (size_t i = 0; i < statusPanels_.size(); ++i) {
    auto* panel = new QLabel(bar);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setMinimumWidth(kPanelWidths[i]);
    if (i + 1 < statusPanels_.size()) panel->setMaximumWidth(kPanelWidths[i]);
    bar->addWidget(panel);
    statusPanels_[i] = panel;
  }
}

void TTodoMainForm::CreatePopupMenus() {
  actionManager_ = new TActionManager(this);
  trayPopupMenu_ = std::make_unique<TPopupActionBarEx>();
  trayPopupMenu_->setObjectName(QStringLiteral("TrayPopupMenu"));
  trayPopupMenu_->Items().AddAction(acRestoreFromTray);
  trayPopupMenu_->Items().Add(QStringLiteral("-"));
  trayPopupMenu_->Items().AddAction(acAddTaskPopup);
  trayPopupMenu_->Items().Add(QStringLiteral("-"));
  trayPopupMenu_->Items().AddAction(acTrayExit);

  taskTreePopupMenu_ = std::make_unique<TPopupActionBarEx>();
  taskTreePopupMenu_->setObjectName(QStringLiteral("TaskTreePopupMenu"));
  taskTreePopupMenu_->Items().AddAction(acAddTodo);
  taskTreePopupMenu_->Items().AddAction(acEditTodo);
  taskTreePopupMenu_->Items().AddAction(acDeleteTodo);

  findDialog_ = new TTdFindDialog(this);
  findDialog_->OnFind = [this] { FindDialogFind(); };
}

void TTodoMainForm::CreateTrayIcon() {
  try {
    trayIcon_ = std::make_unique<TUtTrayIcon>(this);
    // Set up first and shown once, with its final hint, icon and menu.
    trayIcon_->BeginLoading();
    trayIcon_->SetHint(QStringLiteral("Velmora - manage your tasks"));
    trayIcon_->SetIcon(QApplication::windowIcon());
    trayIcon_->SetPopupMenu(trayPopupMenu_.get());
    trayIcon_->EndLoading();
  } catch (...) {
    // The program has a tray icon already (a second window), or the notification area
    // refused it: the window goes without, as with the tray options off.
    trayIcon_.reset();
  }
}

void TTodoMainForm::ApplyTrayOptions(bool atStart) {
  const TTdAppOptions& o = handler_.Options();
  if (o.UseSystemTray && !trayIcon_) CreateTrayIcon();
  // Without a notification area there is no icon to come back from: the window then
  // behaves as with the tray options off, and minimises as usual.
  if (trayIcon_ && !(o.UseSystemTray && trayIcon_->Active())) trayIcon_.reset();
  if (trayIcon_) {
    trayIcon_->SetCloseToTray(true);
    trayIcon_->SetMinimizeToTray(o.MinimizeOnStart);
  }
  if (atStart && o.MinimizeOnStart) setWindowState(windowState() | Qt::WindowMinimized);
}

void TTodoMainForm::ApplyBounds() {
  const TTdAppOptions& o = handler_.Options();
  resize(o.Width, o.Height);
  if (o.Left == -1 || o.Top == -1) {
    const QSize screen = Desktop().ScreenSize();
    move((screen.width() - o.Width) / 2, (screen.height() - o.Height) / 2);
  } else {
    move(o.Left, o.Top);
  }
}

bool TTodoMainForm::eventFilter(QObject* watched, QEvent* event) {
  // Tool tips of the tool bar follow ShowToolTips.
  if (event->type() == QEvent::ToolTip && !showToolTips_ && qobject_cast<QToolButton*>(watched) &&
      static_cast<QWidget*>(watched)->parentWidget() == toolBar_)
    return true;
  return QMainWindow::eventFilter(watched, event);
}
