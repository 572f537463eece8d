// The real window with the program's real dialogs, driven by keys and mouse clicks as a
// user drives it, from an empty data folder to the next start; only the message boxes
// are answered by the test.
#include "core/TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeEditLink.h"
#include "ui/TdCommon.h"
#include "ui/TdEdTodo.h"
#include "ui/TdFindDlg.h"
#include "ui/TdMain.h"
#include "ui/TdProgramDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kTitleColumn = 2;

QStringList VisibleTitles(TTodoMainForm& form) {
  QStringList titles;
  TLazyStringTree& tree = form.TaskTree();
  for (PLazyNode node = tree.GetFirstVisible(); node; node = tree.GetNextVisible(node))
    titles << form.TaskOf(node)->Title;
  return titles;
}

PLazyNode NodeTitled(TTodoMainForm& form, const QString& title) {
  TLazyStringTree& tree = form.TaskTree();
  for (PLazyNode node = tree.GetFirstVisible(); node; node = tree.GetNextVisible(node))
    if (form.TaskOf(node)->Title == title) return node;
  return nullptr;
}

// The window has the keyboard, as the user's window has: its shortcuts work.
void Activate(TTodoMainForm& form) {
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.TaskTree().setFocus();
}

// Clicks a cell of a row, as the user picks a task.
void ClickCell(TTodoMainForm& form, PLazyNode node, int column) {
  TLazyStringTree& tree = form.TaskTree();
  const QRect cell = tree.GetDisplayRect(node, column);
  QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, cell.center());
}

// Presses F4 and, in the task editor it opens, types the title and clicks OK.
void AddTask(TTodoMainForm& form, const QString& title) {
  // Back from a dialog, the user is in the window again.
  Activate(form);
  bool edited = false;
  QTimer::singleShot(0, [&] {
    auto* editor = qobject_cast<TEditTodoDialog*>(QApplication::activeModalWidget());
    if (!editor) return;
    auto* header = editor->findChild<QLineEdit*>(QStringLiteral("txtHeader"));
    auto* ok = editor->findChild<QPushButton*>(QStringLiteral("OkButton"));
    if (!header || !ok) {
      editor->reject();
      return;
    }
    QTest::keyClicks(header, title);
    QTest::mouseClick(ok, Qt::LeftButton);
    edited = true;
  });
  QTest::keyClick(&form.TaskTree(), Qt::Key_F4);
  ASSERT_TRUE(edited) << "the task editor opened";
}

QStringList StoredTitles(const QString& file) {
  TTdTodoHandler store(file);
  store.Load();
  QStringList titles;
  for (int i = 0; i < store.TaskCount(); ++i) titles << store.GetTodo(i)->Title;
  return titles;
}

}  // namespace

TEST(MainWindowEndToEnd, AUserSessionIsWhatTheNextStartShows) {
  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  TProgramDialogs dialogs(CommonModule());
  QStringList shown;
  {
    TTodoAppHandler handler;
    TTdAppOptions o = handler.GetOptions();
    o.QuickFilterMode = 1;                     // a tab per status
    o.FilterStatus = {tsCreated, tsOpen};      // the filter keeps what is still to do
    o.SortElement1 = 255;                      // the order the tasks came in
    o.ConfirmExit = false;
    handler.PutOptions(o);
    TTodoMainForm form(handler, &dialogs);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TLazyStringTree& tree = form.TaskTree();
    tree.setFocus();

    // Three tasks through the editor.
    for (const char* title : {"Water the plants", "Pay the rent", "Call the bank"})
      AddTask(form, QString::fromLatin1(title));
    ASSERT_EQ(handler.TodoHandler().TaskCount(), 3);
    EXPECT_EQ(VisibleTitles(form), (QStringList{"Water the plants", "Pay the rent", "Call the bank"}));
    EXPECT_EQ(form.StatusPanel(0)->text(), QStringLiteral("Tasks: 3/3"));

    // Checked off with the space bar: done, it leaves the "Created" tab.
    ClickCell(form, NodeTitled(form, QStringLiteral("Pay the rent")), kTitleColumn);
    QTest::keyClick(&tree, Qt::Key_Space);
    EXPECT_TRUE(handler.TodoHandler().GetTodo(1)->IsOK());
    EXPECT_EQ(VisibleTitles(form), (QStringList{"Water the plants", "Call the bank"}));

    // Another tab shows it.
    QTabBar* tabs = form.TabControl();
    int okTab = -1;
    for (int i = 0; i < tabs->count(); ++i)
      if (tabs->tabText(i).startsWith(QLatin1String("OK"))) okTab = i;
    QStringList texts;
    for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i);
    ASSERT_GE(okTab, 0) << "a tab for the done tasks: " << texts.join(QLatin1Char(',')).toStdString();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(okTab).center());
    EXPECT_EQ(VisibleTitles(form), QStringList{"Pay the rent"});
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(VisibleTitles(form), (QStringList{"Water the plants", "Call the bank"}));

    // A title edited in place: F2 on the title cell, type, Enter.
    ClickCell(form, NodeTitled(form, QStringLiteral("Call the bank")), kTitleColumn);
    QTest::keyClick(&tree, Qt::Key_F2);
    ASSERT_TRUE(tree.IsEditing());
    auto* link = dynamic_cast<TStringEditLink*>(tree.EditLink());
    ASSERT_NE(link, nullptr);
    QWidget* editor = link->Edit();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, QStringLiteral("Call the insurer"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_FALSE(tree.IsEditing());
    EXPECT_EQ(handler.TodoHandler().GetTodo(2)->Title, QStringLiteral("Call the insurer"));

    // Deleted after the question, and back with Ctrl+Z.
    ClickCell(form, NodeTitled(form, QStringLiteral("Water the plants")), kTitleColumn);
    Activate(form);
    desktop.messageAnswers = {Msg::Yes};
    QTest::keyClick(&tree, Qt::Key_Delete);
    EXPECT_EQ(VisibleTitles(form), QStringList{"Call the insurer"});
    desktop.messageAnswers = {Msg::Yes};
    QTest::keyClick(&tree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(VisibleTitles(form), (QStringList{"Call the insurer", "Water the plants"}));

    // The filter from its tool button, on and off again.
    QToolButton* filter = form.ToolButton(tbFilterToggle);
    ASSERT_NE(filter, nullptr);
    ASSERT_TRUE(filter->isEnabled());
    QTest::mouseClick(filter, Qt::LeftButton);
    EXPECT_TRUE(handler.Options().FilterOn);
    EXPECT_EQ(form.StatusPanel(2)->text(), QStringLiteral("Filter is ON"));
    QTest::mouseClick(filter, Qt::LeftButton);
    EXPECT_FALSE(handler.Options().FilterOn);
    EXPECT_EQ(form.StatusPanel(2)->text(), QString());

    // Find.
    Activate(form);
    QTest::keyClick(&tree, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form.FindDialog()->isVisible());
    QTest::keyClicks(form.FindDialog()->FindEdit(), QStringLiteral("plants"));
    QTest::mouseClick(form.FindDialog()->FindButton(), Qt::LeftButton);
    EXPECT_EQ(form.TaskOf(tree.FocusedNode())->Title, QStringLiteral("Water the plants"));
    form.FindDialog()->close();

    // The done task goes to the archive.
    Activate(form);
    desktop.messageAnswers = {Msg::Yes};
    QTest::keyClick(&tree, Qt::Key_F8);
    EXPECT_EQ(form.ArchivedCount(), 1);
    EXPECT_EQ(handler.TodoHandler().TaskCount(), 2);

    shown = VisibleTitles(form);
    EXPECT_TRUE(form.close());
    EXPECT_TRUE(handler.FinalSave());
  }

  // The next start shows the same tasks, and the files hold them.
  TTodoAppHandler again;
  TTodoMainForm form(again, &dialogs);
  EXPECT_EQ(VisibleTitles(form), shown);
  EXPECT_EQ(StoredTitles(data.File(QStringLiteral("todo.tbl"))), (QStringList{"Call the insurer", "Water the plants"}));
  EXPECT_EQ(StoredTitles(data.File(QStringLiteral("archive.tbl"))), QStringList{"Pay the rent"});
}

// Every command with a dialog opens the program's own one (printing aside, which is not
// part of the program yet); Escape leaves each without a change.
TEST(MainWindowEndToEnd, EachCommandOpensItsRealDialog) {
  FakeDesktop desktop;
  DataFolderPin data;
  FormatPin formats;
  TProgramDialogs dialogs(CommonModule());
  TTodoAppHandler handler;
  TTodoMainForm form(handler, &dialogs);
  form.show();
  struct Row {
    QAction* action;
    const char* title;
  };
  const Row rows[] = {
      {form.acEditCategory, "Edit Categories"}, {form.acEditResource, "Edit Resources"},
      {form.acEditType, "Edit Types"},          {form.acViewArchive, "View Archive"},
      {form.acEditTodoFilter, "Edit Filter"},   {form.acSortTodo, "Sort options"},
      {form.acEditTodoOptions, "Edit Options"}, {form.acHelpAbout, "About Velmora"},
  };
  const TTdAppOptions before = handler.GetOptions();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.title);
    QString opened;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (!dialog) return;
      opened = dialog->windowTitle();
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    row.action->trigger();
    EXPECT_TRUE(opened.startsWith(QString::fromUtf8(row.title))) << opened.toStdString();
  }
  EXPECT_TRUE(desktop.Messages().empty()) << "no stand-in said it was missing";
  EXPECT_EQ(handler.GetOptions().FilterOn, before.FilterOn);
}
