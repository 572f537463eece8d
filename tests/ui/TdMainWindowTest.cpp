// The main window as a user meets it: its actions, tool bar, status bar and view
// settings, and the commands with their questions answered by the test.
#include "core/TdAppTestSupport.h"

#include "FakeMainDialogs.h"
#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/ContextPins.h"
#include "support/FakeDesktop.h"
#include "controls/ActnPopupCtrl.h"
#include "controls/FmSplit.h"
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"
#include "ui/TdFindDlg.h"
#include "ui/TdMain.h"

#include <QAction>
#include <QHelpEvent>
#include <QTest>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

namespace {

struct TaskSpec {
  const char* title;
  int32_t status = tsOpen;
  const char* notes = "";
};

class MainWindowTest : public ::testing::Test {
protected:
  // Writes the tasks to todo.tbl of the data folder, with ids 1, 2, ...
  void WriteTasks(std::initializer_list<TaskSpec> tasks) {
    QDir().mkpath(data.Folder());
    TTdTodoHandler store(data.File(QStringLiteral("todo.tbl")));
    for (const TaskSpec& spec : tasks) {
      TTdTodo* task = store.AddTodo();
      task->Title = QString::fromUtf8(spec.title);
      task->Notes = QString::fromUtf8(spec.notes);
      task->SetStatus(spec.status);
      task->ID = ++store.LastId;
    }
    store.SetModified(true);
    store.Save();
  }

  // Starts the handler, lets the test change the options it read, then opens the window.
  TTodoMainForm& Start(const std::function<void(TTdAppOptions&)>& change = {}) {
    handler = std::make_unique<TTodoAppHandler>();
    TTdAppOptions o = handler->GetOptions();
    // Unsorted, the list keeps the store's order, which the cases below spell out.
    o.SortElement1 = 255;
    if (change) change(o);
    handler->PutOptions(o);
    form = std::make_unique<TTodoMainForm>(*handler, &dialogs);
    return *form;
  }

  QStringList Titles() const {
    QStringList titles;
    for (TTdTodo* task : form->TasksInTreeOrder()) titles << (task ? task->Title : QStringLiteral("<none>"));
    return titles;
  }

  void Select(int index) {
    TLazyStringTree& tree = form->TaskTree();
    PLazyNode node = tree.GetFirst();
    for (int i = 0; i < index; ++i) node = tree.GetNext(node);
    tree.UnselectAll();
    tree.SetFocusedNode(node);
    tree.SetNodeSelected(node, true);
    form->UpdateStatusAndActions();
  }

  QString Panel(int index) const { return form->StatusPanel(index)->text(); }

  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  FakeMainDialogs dialogs;
  std::unique_ptr<TTodoAppHandler> handler;
  std::unique_ptr<TTodoMainForm> form;
};

}  // namespace

// ---- Actions and tool bar -------------------------------------------------------------

TEST_F(MainWindowTest, ActionsCarryTheirCaptionsShortcutsAndHints) {
  TTodoMainForm& f = Start();
  struct Row {
    QAction* action;
    const char* caption;
    const char* shortcut;
    const char* tip;
    const char* status;
  };
  const Row rows[] = {
      {f.acFilePrint, "&Print...", "Ctrl+P", "", ""},
      {f.acFileExit, "E&xit", "", "Exit", "Exit Velmora"},
      {f.acEditUndoDelete, "&Undo Delete", "Ctrl+Z", "Undo Delete", "Restores last deleted Task"},
      {f.acSearchFindTree, "&Find...", "Ctrl+F", "Find", "Find the specified text"},
      {f.acSearchFindNextTree, "Search &Again", "F3", "Search Again", "Repeat the last search"},
      {f.acAddTodo, "&Add Task...", "F4", "Add Task", "Add Task"},
      {f.acEditTodo, "&Edit Task...", "F5", "Edit Task", "Edit Task"},
      {f.acDeleteTodo, "&Delete Task", "", "Delete Task", "Delete Task"},
      {f.acEditDelete, "De&lete Task", "Del", "Delete Task (Del)", "Delete Task (Del)"},
      {f.acEditCategory, "Edit &Categories...", "F6", "Edit Categories", "Edit Categories"},
      {f.acEditResource, "E&dit Resources...", "F7", "Edit Resources", "Edit Resources"},
      {f.acArchiveTasks, "Archive &Tasks", "F8", "Archive completed Tasks", "Archive completed Tasks"},
      {f.acViewArchive, "&View Archive", "F9", "", ""},
      {f.acEditTodoFilter, "Edit &Filter...", "F10", "Edit Filter", "Edit Filter"},
      {f.acSortTodo, "&Sort..", "F11", "", ""},
      {f.acEditTodoOptions, "&Options...", "F12", "Edit Options", "Edit Options"},
      {f.acHelpContents, "&Contents", "", "Help Contents", "Help Contents"},
      {f.acWebLink, "Visit Velmora on the Internet", "", "", ""},
      {f.acRestoreFromTray, "&Restore", "", "Restore the window", "Restore the window"},
      {f.acTrayExit, "&Exit", "", "Exit Velmora", "Exit Velmora"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.caption);
    EXPECT_EQ(row.action->text(), QString::fromUtf8(row.caption));
    EXPECT_EQ(row.action->shortcut().toString(), QString::fromUtf8(row.shortcut));
    if (*row.tip) {
      EXPECT_EQ(row.action->toolTip(), QString::fromUtf8(row.tip));
    }
    EXPECT_EQ(row.action->statusTip(), QString::fromUtf8(row.status));
  }
}

TEST_F(MainWindowTest, TheFilterActionShowsWhetherTheFilterIsOn) {
  TTodoMainForm& f = Start();
  f.UpdateFilterButton(true);
  EXPECT_TRUE(f.acFilterOnOff->isChecked());
  EXPECT_EQ(f.acFilterOnOff->text(), QStringLiteral("F&ilter is ON"));
  EXPECT_EQ(f.acFilterOnOff->toolTip(), QStringLiteral("Click to deactivate filter"));
  f.UpdateFilterButton(false);
  EXPECT_FALSE(f.acFilterOnOff->isChecked());
  EXPECT_EQ(f.acFilterOnOff->text(), QStringLiteral("F&ilter is OFF"));
  EXPECT_EQ(f.acFilterOnOff->toolTip(), QStringLiteral("Click to activate filter"));
}

TEST_F(MainWindowTest, TheToolBarShowsTheChosenSlotsInOrderInBothSizes) {
  for (const bool captions : {true, false}) {
    SCOPED_TRACE(captions);
    form.reset();
    TTodoMainForm& f = Start([&](TTdAppOptions& o) {
      o.ShowToolbar = true;
      o.ButtonText = captions;
      o.ToolBarButtons = {tbEdit, 0, tbAdd, tbFind, tbExit, 0, 0, 0, 0, 0, tbFilterToggle};
    });
    QStringList names;
    for (QAction* action : f.ToolBar()->actions()) names << f.ToolBar()->widgetForAction(action)->objectName();
    EXPECT_EQ(names, (QStringList{"btnEdit", "btnAddTodo", "btnFind", "btnExit", "btnToggleFilter"}));
    const QSize size = captions ? QSize(71, 44) : QSize(61, 34);
    EXPECT_EQ(f.ToolButton(tbEdit)->size(), size);
    EXPECT_EQ(f.ToolBar()->height(), captions ? 46 : 36);
    EXPECT_EQ(f.ToolButton(tbEdit)->toolButtonStyle(),
              captions ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly);
  }
}

TEST_F(MainWindowTest, TheDefaultToolBarHoldsElevenButtons) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.ShowToolbar = true;
    for (int i = 0; i < kToolBarSlotCount; ++i) o.ToolBarButtons[static_cast<size_t>(i)] = i + 1;
  });
  QStringList names;
  for (QAction* action : f.ToolBar()->actions()) names << f.ToolBar()->widgetForAction(action)->objectName();
  EXPECT_EQ(names, (QStringList{"btnAddTodo", "btnDeleteTask", "btnPrint", "btnEditOptions", "btnEditTodoFilter",
                                "btnSort", "btnHelp", "btnExit", "btnFind", "btnEdit", "btnToggleFilter"}));
  TTdAppOptions o = f.AppHandler().GetOptions();
  o.ShowToolbar = false;
  f.AppHandler().PutOptions(o);
  f.ApplyViewSettings();
  EXPECT_TRUE(f.ToolBar()->isHidden());
}

// ---- Status bar ---------------------------------------------------------------------

TEST_F(MainWindowTest, TheStatusBarCountsTasksAndTellsTheFilter) {
  WriteTasks({{"Water the plants"}, {"Pay the rent"}, {"Call the bank"}});
  TTodoMainForm& f = Start();
  EXPECT_EQ(Panel(0), QStringLiteral("Tasks: 3"));
  EXPECT_EQ(Panel(2), QString());
  EXPECT_EQ(Panel(3), QStringLiteral("Added: 0 Deleted: 0 Archived: 0"));

  TTdAppOptions o = f.AppHandler().GetOptions();
  o.FilterOn = true;
  f.AppHandler().PutOptions(o);
  f.UpdateStatusAndActions();
  EXPECT_EQ(Panel(0), QStringLiteral("Tasks: 3/3"));
  EXPECT_EQ(Panel(2), QStringLiteral("Filter is ON"));

  o.FilterOn = false;
  o.QuickFilterMode = 2;
  f.AppHandler().PutOptions(o);
  f.UpdateStatusAndActions();
  EXPECT_EQ(Panel(0), QStringLiteral("Tasks: 3/3")) << "a tab picks a part of the list";
  EXPECT_EQ(Panel(2), QString());
}

TEST_F(MainWindowTest, ActionsFollowTheSelectionAndTheStore) {
  WriteTasks({{"Water the plants"}, {"Pay the rent", tsOK}});
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.UseCategory = true;
    o.UseType = false;
  });
  f.TaskTree().UnselectAll();
  f.UpdateStatusAndActions();
  EXPECT_FALSE(f.acEditTodo->isEnabled());
  EXPECT_FALSE(f.acDeleteTodo->isEnabled());
  EXPECT_FALSE(f.acEditUndoDelete->isEnabled());
  EXPECT_TRUE(f.acArchiveTasks->isEnabled()) << "one task is OK";
  EXPECT_TRUE(f.acSearchFindTree->isEnabled());
  EXPECT_FALSE(f.acSearchFindNextTree->isEnabled()) << "no find text yet";
  EXPECT_TRUE(f.acEditCategory->isVisible());
  EXPECT_FALSE(f.acEditType->isVisible());
  EXPECT_FALSE(f.acFilterOnOff->isEnabled()) << "the filter has no criteria";
  Select(0);
  EXPECT_TRUE(f.acEditTodo->isEnabled());
  EXPECT_TRUE(f.acDeleteTodo->isEnabled());
}

// ---- View settings -------------------------------------------------------------------

TEST_F(MainWindowTest, ShortCaptionsNameTheImageOnlyColumnsByOneLetter) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.ShortColumnNames = true;
    o.DisplayImageCategory = true;
    o.DisplayTextCategory = false;
    o.DisplayImagePriority = true;
    o.DisplayTextPriority = true;  // text shown: the full caption stays
    o.DisplayImageStatus = true;
    o.DisplayTextStatus = false;
    o.DisplayImageType = true;
    o.DisplayTextType = false;
  });
  const TLazyTreeColumns& columns = f.TaskTree().Header().Columns();
  EXPECT_EQ(columns[3]->Text(), QStringLiteral("C"));
  EXPECT_EQ(columns[4]->Text(), ColumnCaption(4));
  EXPECT_EQ(columns[7]->Text(), QStringLiteral("S"));
  EXPECT_EQ(columns[17]->Text(), QStringLiteral("T"));
  EXPECT_EQ(columns[14]->Text(), QStringLiteral("F"));
  EXPECT_EQ(columns[2]->Text(), ColumnCaption(2));
  for (int i = 0; i < TTodoMainForm::kColumnCount; ++i)
    EXPECT_GT(f.ColumnMinWidths()[static_cast<size_t>(i)], 20) << i;

  TTdAppOptions o = f.AppHandler().GetOptions();
  o.ShortColumnNames = false;
  f.AppHandler().PutOptions(o);
  f.ApplyViewSettings();
  for (int i = 0; i < TTodoMainForm::kColumnCount; ++i) EXPECT_EQ(columns[i]->Text(), ColumnCaption(i)) << i;
}

TEST_F(MainWindowTest, TheHeaderHeightFollowsItsFontSize) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) { o.ColHeaderFont.Size = 12; });
  EXPECT_EQ(f.TaskTree().Header().Height(), 22);
}

TEST_F(MainWindowTest, TheNotesPaneShowsOnlyWithNotesInUseAndShownInTheirArea) {
  struct Case {
    bool useNotes, inMemo;
    int percent, bar;
    bool locked;
  };
  for (const Case& c : {Case{true, true, 80, 3, false}, Case{true, false, 100, 0, true},
                        Case{false, true, 100, 0, true}}) {
    SCOPED_TRACE(QStringLiteral("%1 %2").arg(c.useNotes).arg(c.inMemo).toStdString());
    form.reset();
    TTodoMainForm& f = Start([&](TTdAppOptions& o) {
      o.UseNotes = c.useNotes;
      o.ShowNotesInMemo = c.inMemo;
    });
    EXPECT_EQ(f.FmSplitter()->Percent(), c.percent);
    EXPECT_EQ(f.FmSplitter()->SplitterWidth(), c.bar);
    EXPECT_EQ(f.FmSplitter()->LockBar(), c.locked);
  }
}

TEST_F(MainWindowTest, TheColumnLayoutAndSplitAreKeptInTheOptions) {
  TTodoMainForm& f = Start();
  TLazyTreeColumns& columns = f.TaskTree().Header().Columns();
  columns[2]->SetPosition(0);
  f.SaveColumnLayout();
  const TTdAppOptions o = f.AppHandler().Options();
  EXPECT_EQ(o.PosTitle, 0);
  EXPECT_EQ(o.SplitterPercent, f.FmSplitter()->Percent());
  columns[2]->SetPosition(5);
  f.LoadColumnLayout();
  EXPECT_EQ(columns[2]->Position(), 0u);
}

// ---- Adding ----------------------------------------------------------------------------

TEST_F(MainWindowTest, ANewTaskStartsWithTheDefaultsAndJoinsOnlyWhenConfirmed) {
  WriteTasks({{"Water the plants"}});
  const ClockPin clock(DateTime::EncodeDateTime(2024, 3, 10, 14, 37, 25));
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.DefaultCategoryIndex = 2;
    o.DefaultResourceIndex = 1;
    o.DefaultStatus = tsWaiting;
    o.DefaultPriority = 3;
    o.DefaultType = 4;
    o.DefaultDueDateDelta = 2;
    o.DefaultDueHour = 9;
    o.DefaultReminderActivated = true;
    o.DefaultReminderDateDelta = 1;
    o.DefaultReminderType = 2;
    o.DefaultReminderSoundPath = QStringLiteral("/sounds/bell.wav");
  });
  int countDuringEditor = -1;
  unsigned nodesDuringEditor = 0;
  dialogs.onEditTodo = [&](TTdTodo& task, bool) {
    countDuringEditor = f.AppHandler().TodoHandler().TaskCount();
    nodesDuringEditor = f.TaskTree().RootNodeCount();
    EXPECT_EQ(task.Category, 2);
    EXPECT_EQ(task.Resource, 1);
    EXPECT_EQ(task.Status, tsWaiting);
    EXPECT_EQ(task.Priority, 3);
    EXPECT_EQ(task.Type, 4);
    EXPECT_EQ(DateTimeText(task.Due), QStringLiteral("12.03.2024 09:00"));
    EXPECT_TRUE(task.ReminderActivated());
    EXPECT_EQ(DateTimeText(task.ReminderDateTime), QStringLiteral("11.03.2024 14:00"));
    EXPECT_EQ(task.ReminderType, 2);
    EXPECT_EQ(task.ReminderPath, QStringLiteral("/sounds/bell.wav"));
    task.Title = QStringLiteral("Plant the roses");
    return true;
  };
  f.acAddTodo->trigger();
  EXPECT_EQ(dialogs.log, QStringList{"edit-todo:new"});
  EXPECT_EQ(countDuringEditor, 1) << "not in the store while the editor runs";
  EXPECT_EQ(nodesDuringEditor, 1u);
  EXPECT_EQ(Titles(), (QStringList{"Water the plants", "Plant the roses"}));
  const TTdTodo* added = f.AppHandler().TodoHandler().GetTodo(1);
  EXPECT_EQ(added->ID, 2);
  EXPECT_TRUE(f.AppHandler().TodoHandler().Modified());
  EXPECT_EQ(f.AddedCount(), 1);
  EXPECT_EQ(Panel(3), QStringLiteral("Added: 1 Deleted: 0 Archived: 0"));
  EXPECT_EQ(f.TaskOf(f.TaskTree().FocusedNode()), added) << "the new task is focused";
}

TEST_F(MainWindowTest, CancellingTheNewTaskLeavesTheListAndOffersUndo) {
  TTodoMainForm& f = Start();
  dialogs.onEditTodo = [](TTdTodo& task, bool) {
    task.Title = QStringLiteral("Second thoughts");
    return false;
  };
  f.acAddTodo->trigger();
  EXPECT_EQ(f.AppHandler().TodoHandler().TaskCount(), 0);
  EXPECT_EQ(f.TaskTree().RootNodeCount(), 0u);
  EXPECT_FALSE(f.AppHandler().TodoHandler().Modified());
  EXPECT_EQ(f.AddedCount(), 0);
  EXPECT_TRUE(f.acEditUndoDelete->isEnabled());
}

TEST_F(MainWindowTest, ANewTaskTakesTheValueOfTheSelectedTab) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.QuickFilterMode = 2;
    o.DefaultPriority = 0;
  });
  f.TabControl()->addTab(QStringLiteral("Low"));
  f.TabControl()->setTabData(0, 1);
  f.TabControl()->addTab(QStringLiteral("High"));
  f.TabControl()->setTabData(1, 3);
  f.TabControl()->setCurrentIndex(1);
  int32_t priority = -1;
  dialogs.onEditTodo = [&](TTdTodo& task, bool) {
    priority = task.Priority;
    return false;
  };
  f.acAddTodo->trigger();
  EXPECT_EQ(priority, 3);
}

// ---- Editing -------------------------------------------------------------------------

TEST_F(MainWindowTest, EditingATaskMarksTheStoreAndShowsItsNotes) {
  WriteTasks({{"Water the plants"}, {"Pay the rent"}});
  TTodoMainForm& f = Start();
  Select(1);
  dialogs.onEditTodo = [](TTdTodo& task, bool isNew) {
    EXPECT_FALSE(isNew);
    task.Notes = QStringLiteral("by Friday");
    return true;
  };
  f.acEditTodo->trigger();
  EXPECT_EQ(dialogs.log, QStringList{"edit-todo:edit"});
  EXPECT_TRUE(f.AppHandler().TodoHandler().Modified());
  EXPECT_EQ(f.Notes()->toPlainText(), QStringLiteral("by Friday"));
}

// ---- Deleting and undo ------------------------------------------------------------------

TEST_F(MainWindowTest, DeleteAsksFirstAndUndoBringsTheTaskBack) {
  WriteTasks({{"Water the plants"}, {"Pay the rent"}, {"Call the bank"}});
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.ConfirmDelete = true;
    o.ConfirmUndoDelete = true;
  });
  Select(1);
  for (const Msg::Button answer : {Msg::No, Msg::Cancel}) {
    desktop.Clear();
    desktop.messageResult = answer;
    f.acEditDelete->trigger();
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Message"));
    EXPECT_EQ(desktop.Messages()[0].text, QStringLiteral("Do you want to delete \"Pay the rent\"?"));
    EXPECT_EQ(desktop.Messages()[0].icon, Msg::Warning);
    EXPECT_EQ(desktop.Messages()[0].buttons, Msg::Yes | Msg::No | Msg::Cancel);
    EXPECT_EQ(Titles().size(), 3);
    EXPECT_EQ(f.DeletedCount(), 0);
  }
  desktop.messageResult = Msg::Yes;
  f.acEditDelete->trigger();
  EXPECT_EQ(Titles(), (QStringList{"Water the plants", "Call the bank"}));
  EXPECT_EQ(f.AppHandler().TodoHandler().TaskCount(), 2);
  EXPECT_EQ(f.DeletedCount(), 1);
  EXPECT_EQ(f.TaskOf(f.TaskTree().FocusedNode())->Title, QStringLiteral("Call the bank")) << "the next task";
  EXPECT_EQ(Panel(0), QStringLiteral("Tasks: 2"));
  EXPECT_TRUE(f.acEditUndoDelete->isEnabled());

  desktop.Clear();
  desktop.messageResult = Msg::No;
  f.acEditUndoDelete->trigger();
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, QStringLiteral("Do you want to restore \"Pay the rent\"?"));
  EXPECT_EQ(Titles().size(), 2);
  desktop.messageResult = Msg::Yes;
  f.acEditUndoDelete->trigger();
  EXPECT_EQ(Titles(), (QStringList{"Water the plants", "Call the bank", "Pay the rent"}));
  EXPECT_EQ(f.AppHandler().TodoHandler().GetTodo(2)->ID, 2) << "the old id comes back";
  EXPECT_FALSE(f.acEditUndoDelete->isEnabled());
}

TEST_F(MainWindowTest, DeleteWithoutTheQuestionDeletesTheLastTaskAndFocusesThePrevious) {
  WriteTasks({{"Water the plants"}, {"Pay the rent"}});
  TTodoMainForm& f = Start([](TTdAppOptions& o) { o.ConfirmDelete = false; });
  Select(1);
  f.acDeleteTodo->trigger();
  EXPECT_TRUE(desktop.Messages().empty());
  EXPECT_EQ(Titles(), QStringList{"Water the plants"});
  EXPECT_EQ(f.TaskOf(f.TaskTree().FocusedNode())->Title, QStringLiteral("Water the plants"));
}

// ---- Archiving -------------------------------------------------------------------------

TEST_F(MainWindowTest, ArchivingAsksWithTheCountAndSavesBothFilesAtOnce) {
  WriteTasks({{"Water the plants", tsOK}, {"Pay the rent"}, {"Call the bank", tsCancelled}});
  TTodoMainForm& f = Start([](TTdAppOptions& o) { o.ConfirmArchive = true; });
  desktop.messageResult = Msg::No;
  f.acArchiveTasks->trigger();
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, QStringLiteral("Do you want to archive 2 done Tasks (OK and cancelled)?"));
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::Warning);
  EXPECT_EQ(Titles().size(), 3);
  EXPECT_FALSE(QFileInfo::exists(data.File(QStringLiteral("archive.tbl"))));

  desktop.messageResult = Msg::Yes;
  f.acArchiveTasks->trigger();
  EXPECT_EQ(Titles(), QStringList{"Pay the rent"});
  EXPECT_EQ(f.ArchivedCount(), 2);
  EXPECT_EQ(Panel(3), QStringLiteral("Added: 0 Deleted: 0 Archived: 2"));
  EXPECT_FALSE(f.acArchiveTasks->isEnabled());
  TTdTodoHandler archive(data.File(QStringLiteral("archive.tbl")));
  archive.Load();
  EXPECT_EQ(archive.TaskCount(), 2);
  TTdTodoHandler saved(data.File(QStringLiteral("todo.tbl")));
  saved.Load();
  EXPECT_EQ(saved.TaskCount(), 1) << "the task file lost the archived tasks at once";
}

TEST_F(MainWindowTest, RestoredArchiveTasksJoinTheList) {
  WriteTasks({{"Water the plants"}});
  TTodoMainForm& f = Start();
  dialogs.onArchive = [&] {
    f.AppHandler().TodoHandler().AddTodo()->Title = QStringLiteral("Back from the archive");
    f.AppHandler().TodoHandler().SetModified(true);
    return 1;
  };
  f.acViewArchive->trigger();
  EXPECT_EQ(dialogs.log, QStringList{"archive:" + data.File(QStringLiteral("archive.tbl"))});
  EXPECT_EQ(Titles(), (QStringList{"Water the plants", "Back from the archive"}));
  EXPECT_EQ(Panel(0), QStringLiteral("Tasks: 2"));
}

// ---- Filter, sort and lists ------------------------------------------------------------

TEST_F(MainWindowTest, AFilterLeftWithoutCriteriaIsSwitchedOff) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.FilterOn = true;
    o.FilterStatus = {tsOpen};
  });
  dialogs.onFilter = [](TTdAppOptions& o) {
    o.FilterStatus.clear();
    return true;
  };
  f.acEditTodoFilter->trigger();
  EXPECT_FALSE(f.AppHandler().Options().FilterOn);
  EXPECT_FALSE(f.acFilterOnOff->isChecked());
  EXPECT_EQ(Panel(2), QString());
}

TEST_F(MainWindowTest, AFilterWithCriteriaStaysOn) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.FilterOn = true;
    o.FilterStatus = {tsOpen};
  });
  dialogs.onFilter = [](TTdAppOptions& o) {
    o.FilterStatus = {tsWaiting};
    return true;
  };
  f.acEditTodoFilter->trigger();
  EXPECT_TRUE(f.AppHandler().Options().FilterOn);
  EXPECT_EQ(f.AppHandler().Options().FilterStatus, TIdArray{tsWaiting});
  EXPECT_EQ(Panel(2), QStringLiteral("Filter is ON"));
}

TEST_F(MainWindowTest, DialogsChangeTheOptionsOnlyOnOk) {
  TTodoMainForm& f = Start();
  const TTdAppOptions before = f.AppHandler().Options();
  dialogs.onSort = [](TTdAppOptions& o) {
    o.SortElement1 = 7;
    return false;
  };
  f.acSortTodo->trigger();
  EXPECT_EQ(f.AppHandler().Options(), before);
  dialogs.onSort = [](TTdAppOptions& o) {
    o.SortElement1 = 7;
    return true;
  };
  f.acSortTodo->trigger();
  EXPECT_EQ(f.AppHandler().Options().SortElement1, 7);
}

TEST_F(MainWindowTest, TheListEditorsWriteBackTheirFilterLists) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.FilterType = {1};
    o.FilterCategoryIncl = {5};
  });
  dialogs.onLookup = [](int32_t& id, TIdArray& include, TIdArray&) {
    id = 2;
    include = {2, 3};
    return true;
  };
  f.acEditType->trigger();
  EXPECT_EQ(f.AppHandler().Options().DefaultType, 2);
  EXPECT_EQ(f.AppHandler().Options().FilterType, (TIdArray{2, 3})) << "the type editor edits the type filter";
  EXPECT_EQ(f.AppHandler().Options().FilterCategoryIncl, TIdArray{5});
  f.acEditCategory->trigger();
  EXPECT_EQ(f.AppHandler().Options().DefaultCategoryIndex, 2);
  EXPECT_EQ(f.AppHandler().Options().FilterCategoryIncl, (TIdArray{2, 3}));
}

// ---- Find ----------------------------------------------------------------------------

TEST_F(MainWindowTest, FindLooksInTitlesAndNotesAndSearchAgainGoesOn) {
  WriteTasks({{"Water the plants"}, {"Pay the rent", tsOpen, "bank transfer"}, {"Call the BANK"}});
  TTodoMainForm& f = Start();
  f.acSearchFindTree->trigger();
  EXPECT_TRUE(f.FindDialog()->isVisible());
  f.FindDialog()->FindEdit()->setText(QStringLiteral("bank"));
  QTest::mouseClick(f.FindDialog()->FindButton(), Qt::LeftButton);
  EXPECT_EQ(f.TaskOf(f.TaskTree().FocusedNode())->Title, QStringLiteral("Pay the rent")) << "found in the notes";
  EXPECT_TRUE(f.acSearchFindNextTree->isEnabled());
  f.acSearchFindNextTree->trigger();
  EXPECT_EQ(f.TaskOf(f.TaskTree().FocusedNode())->Title, QStringLiteral("Call the BANK"));
  f.acSearchFindNextTree->trigger();
  EXPECT_EQ(f.TaskOf(f.TaskTree().FocusedNode())->Title, QStringLiteral("Call the BANK")) << "no further hit";
}

// ---- Cell editing, export, help, close --------------------------------------------------

TEST_F(MainWindowTest, WhileACellIsEditedOnlyTheTrayCommandsWork) {
  WriteTasks({{"Water the plants"}});
  TTodoMainForm& f = Start();
  f.show();
  TLazyStringTree& tree = f.TaskTree();
  TLTMiscOptions misc = tree.TreeOptions().MiscOptions();
  misc.Include(toEditable);
  tree.TreeOptions().SetMiscOptions(misc);
  Select(0);
  ASSERT_TRUE(tree.EditNode(tree.GetFirst(), 2));
  ASSERT_TRUE(tree.IsEditing());
  for (QAction* action : {f.acAddTodo, f.acEditTodo, f.acDeleteTodo, f.acEditDelete, f.acEditTodoOptions,
                          f.acSortTodo, f.acEditTodoFilter, f.acFilePrint})
    action->trigger();
  EXPECT_TRUE(dialogs.log.isEmpty()) << dialogs.log.join(QLatin1Char(' ')).toStdString();
  EXPECT_EQ(Titles(), QStringList{"Water the plants"});
  f.acAddTaskPopup->trigger();
  EXPECT_EQ(dialogs.log, QStringList{"edit-todo:new"});
  tree.CancelEditNode();
}

TEST_F(MainWindowTest, ExportWritesTheChosenFileAndRemembersIt) {
  WriteTasks({{"Water the plants"}});
  TTodoMainForm& f = Start();
  const QString file = data.Root() + QStringLiteral("/tasks.txt");
  desktop.fileAnswers.push_back(file);
  f.acFileExport->trigger();
  ASSERT_EQ(desktop.fileRequests.size(), 1u);
  EXPECT_EQ(desktop.fileRequests[0].defaultSuffix, QStringLiteral("txt"));
  EXPECT_EQ(f.AppHandler().Options().ExportPath, file);
  EXPECT_EQ(ReadAll(file), f.AppHandler().ExportBytes());
  EXPECT_EQ(desktop.WaitDepth(), 0);

  f.acFileExport->trigger();  // cancelled: nothing changes
  EXPECT_EQ(f.AppHandler().Options().ExportPath, file);
}

TEST_F(MainWindowTest, HelpContentsAsksTheContextsHelpForTheContents) {
  QList<int> asked;
  const HelpPin help([&](int context) { asked << context; });
  TTodoMainForm& f = Start();
  f.acHelpContents->trigger();
  EXPECT_EQ(asked, QList<int>{0});
  f.show();
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QTest::keyClick(&f.TaskTree(), Qt::Key_F1);
  EXPECT_EQ(asked, (QList<int>{0, 1})) << "F1 opens the main window's topic";
}

TEST_F(MainWindowTest, ClosingSavesTheAddedTaskAndAsksWhenConfirmExit) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) { o.ConfirmExit = true; });
  dialogs.onEditTodo = [](TTdTodo& task, bool) {
    task.Title = QStringLiteral("Plant the roses");
    return true;
  };
  f.acAddTodo->trigger();
  desktop.messageResult = Msg::No;
  EXPECT_FALSE(f.close());
  desktop.messageResult = Msg::Yes;
  EXPECT_TRUE(f.close());
  TTdTodoHandler saved(data.File(QStringLiteral("todo.tbl")));
  saved.Load();
  ASSERT_EQ(saved.TaskCount(), 1);
  EXPECT_EQ(saved.GetTodo(0)->Title, QStringLiteral("Plant the roses"));
}

TEST_F(MainWindowTest, DestroyKeepsTheSelectedTabForTheNextStart) {
  TTodoMainForm& f = Start();
  f.TabControl()->addTab(QStringLiteral("Open"));
  f.TabControl()->addTab(QStringLiteral("Done"));
  f.TabControl()->setCurrentIndex(1);
  form.reset();
  EXPECT_EQ(handler->Options().CurrentTabIndex, 1);
}

TEST_F(MainWindowTest, TheMenusHoldTheirItemsInOrder) {
  TTodoMainForm& f = Start();
  QStringList menus;
  for (QAction* menu : f.menuBar()->actions()) {
    QStringList items;
    for (QAction* item : menu->menu()->actions()) items << (item->isSeparator() ? QStringLiteral("-") : item->text());
    menus << menu->text() + QStringLiteral(": ") + items.join(QStringLiteral(", "));
  }
  EXPECT_EQ(menus, (QStringList{
                       "&File: &Print..., &Backup..., &Export..., -, E&xit",
                       "&Edit: &Undo Delete",
                       "&View: &View templates, -, &Find..., Search &Again",
                       "&Actions: &Add Task..., &Edit Task..., De&lete Task, -, Edit &Categories..., E&dit Resources..., "
                       "Ed&it Types..., -, Archive &Tasks, &View Archive",
                       "F&ilter: Edit &Filter..., F&ilter is OFF",
                       "&Tools: &Sort.., &Options...",
                       "&Help: &Contents, -, Visit Velmora on the Internet, -, &About..",
                   }));
  auto items = [](TPopupMenu& menu) {
    QStringList texts;
    for (int i = 0; i < menu.Items().Count(); ++i) {
      TMenuItem* item = menu.Items().Items(i);
      texts << (item->Action() ? item->Action()->text() : item->Caption());
    }
    return texts;
  };
  EXPECT_EQ(items(*f.TrayPopupMenu()), (QStringList{"&Restore", "-", "Add Task...", "-", "&Exit"}));
  EXPECT_EQ(items(*f.TaskTreePopupMenu()), (QStringList{"&Add Task...", "&Edit Task...", "&Delete Task"}));
}

TEST_F(MainWindowTest, ViewTemplatesSwitchesTheOptionAndItsCheckMark) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) { o.ViewTemplates = false; });
  EXPECT_FALSE(f.acViewTemplates->isChecked());
  f.acViewTemplates->trigger();
  EXPECT_TRUE(f.AppHandler().Options().ViewTemplates);
  EXPECT_TRUE(f.acViewTemplates->isChecked());
  f.acViewTemplates->trigger();
  EXPECT_FALSE(f.AppHandler().Options().ViewTemplates);
  EXPECT_FALSE(f.acViewTemplates->isChecked());
}

TEST_F(MainWindowTest, TheTrayExitAsksWithConfirmExit) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) { o.ConfirmExit = true; });
  desktop.messageResult = Msg::No;
  f.acTrayExit->trigger();
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].text, QStringLiteral("Quit Velmora?"));
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::Question);
}

TEST_F(MainWindowTest, StayOnTopAndToolTipsFollowTheOptions) {
  TTodoMainForm& f = Start([](TTdAppOptions& o) {
    o.AlwaysOnTop = true;
    o.ShowToolbar = true;
    o.ShowToolTips = false;
  });
  EXPECT_TRUE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QToolButton* button = f.ToolButton(tbAdd);
  ASSERT_NE(button, nullptr);
  QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
  EXPECT_TRUE(static_cast<QObject&>(f).eventFilter(button, &tip)) << "no tool tip";

  TTdAppOptions o = f.AppHandler().GetOptions();
  o.AlwaysOnTop = false;
  o.ShowToolTips = true;
  f.AppHandler().PutOptions(o);
  f.ApplyViewSettings();
  f.ApplyAlwaysOnTop();
  EXPECT_FALSE(f.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_FALSE(static_cast<QObject&>(f).eventFilter(button, &tip));
}
