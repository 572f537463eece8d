// The main window driven by keys as a user drives it: F4 adds, Del deletes, Ctrl+Z
// brings back, Ctrl+F finds; what is left is on disk at the next start.
#include "core/TdAppTestSupport.h"

#include "FakeMainDialogs.h"
#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdFindDlg.h"
#include "ui/TdMain.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

TEST(MainWindowKeys, AddDeleteUndoFindAndTheNextStart) {
  FakeDesktop desktop;
  DataFolderPin data;
  FakeMainDialogs dialogs;
  QStringList titles = {"Water the plants", "Pay the rent", "Call the bank"};
  dialogs.onEditTodo = [&](TTdTodo& task, bool isNew) {
    if (!isNew || titles.isEmpty()) return false;
    task.Title = titles.takeFirst();
    return true;
  };
  {
    TTodoAppHandler handler;
    TTdAppOptions o = handler.GetOptions();
    o.ConfirmDelete = false;
    o.ConfirmUndoDelete = false;
    o.ConfirmExit = false;
    handler.PutOptions(o);
    TTodoMainForm form(handler, &dialogs);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    TLazyStringTree& tree = form.TaskTree();
    tree.setFocus();

    for (int i = 0; i < 3; ++i) QTest::keyClick(&tree, Qt::Key_F4);
    ASSERT_EQ(handler.TodoHandler().TaskCount(), 3);
    EXPECT_EQ(form.TaskOf(tree.FocusedNode())->Title, QStringLiteral("Call the bank")) << "the newest is focused";

    QTest::keyClick(&tree, Qt::Key_Delete);
    EXPECT_EQ(handler.TodoHandler().TaskCount(), 2);
    EXPECT_EQ(form.DeletedCount(), 1);
    QTest::keyClick(&tree, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(handler.TodoHandler().TaskCount(), 3);

    QTest::keyClick(&tree, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(form.FindDialog()->isVisible());
    QTest::keyClicks(form.FindDialog()->FindEdit(), QStringLiteral("rent"));
    QTest::keyClick(form.FindDialog()->FindEdit(), Qt::Key_Return);
    EXPECT_EQ(form.TaskOf(tree.FocusedNode())->Title, QStringLiteral("Pay the rent"));
    form.FindDialog()->close();

    EXPECT_TRUE(form.close());
  }
  TTodoAppHandler again;
  QStringList stored;
  for (const auto& task : again.TodoHandler().Todos()) stored << task->Title;
  EXPECT_EQ(stored, (QStringList{"Water the plants", "Pay the rent", "Call the bank"}));
  EXPECT_EQ(dialogs.log, (QStringList{"edit-todo:new", "edit-todo:new", "edit-todo:new"}));
}
