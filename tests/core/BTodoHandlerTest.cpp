#include "TodoTestSupport.h"

#include "platform/Exception.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

TTdTodo* AddTask(TTdTodoHandler& store, const QString& title, int32_t status = tsOpen) {
  TTdTodo* t = store.AddTodo();
  t->ID = ++store.LastId;
  t->Title = title;
  t->Status = status;
  return t;
}

QStringList Titles(const TTdTodoHandler& store) {
  QStringList titles;
  for (const auto& t : store.Todos()) titles << t->Title;
  return titles;
}

}  // namespace

TEST(TodoStore, UndoRingKeepsTheLastTenNewestFirst) {
  TTdTodoHandler store("/x/todo.tbl");
  for (int i = 1; i <= 11; ++i) AddTask(store, QString::number(i));
  for (int i = 0; i < 11; ++i) store.Delete(store.GetTodo(0));
  EXPECT_EQ(store.TaskCount(), 0);
  EXPECT_EQ(store.UndoCount(), 10);
  store.SetModified(false);

  QStringList undone;
  QList<int> ids;
  while (store.UndoCount() > 0) {
    EXPECT_EQ(store.UndoTitle(), QString::number(11 - undone.size()));
    TTdTodo* t = store.Undo();
    undone << t->Title;
    ids << t->ID;
  }
  EXPECT_EQ(undone, QStringList({"11", "10", "9", "8", "7", "6", "5", "4", "3", "2"}));
  EXPECT_EQ(ids, QList<int>({11, 10, 9, 8, 7, 6, 5, 4, 3, 2})) << "undone tasks keep their ids";
  EXPECT_TRUE(store.Modified());
  EXPECT_EQ(store.Undo(), nullptr);
  EXPECT_EQ(store.UndoTitle(), QString());
  EXPECT_EQ(store.LastId, 11);
  EXPECT_EQ(AddTask(store, "new")->ID, 12) << "the next new task still gets LastId + 1";
}

TEST(TodoStore, UndoRestoresEveryField) {
  TTdTodoHandler store("/x/todo.tbl");
  TTdTodo* t = store.AddTodo();
  FillEveryField(*t, true);
  const TTdTodo copy = *t;
  store.Delete(t);
  ExpectSameTask(*store.Undo(), copy);
}

TEST(TodoStore, ArchiveMovesClosedTasksLastFirst) {
  TempDir dir;
  const QString todo = dir.File("todo.tbl");
  {
    TTdTodoHandler archive(dir.File("archive.tbl"));
    AddTask(archive, "old", tsOK);
    archive.Save();
  }
  TTdTodoHandler store(todo);
  AddTask(store, "a", tsOK);
  AddTask(store, "b", tsOpen);
  AddTask(store, "c", tsCancelled);
  AddTask(store, "d", tsWaiting);
  AddTask(store, "e", tsOK);
  store.SetModified(false);

  EXPECT_EQ(store.ArchiveClosed(), 3);
  EXPECT_EQ(Titles(store), QStringList({"b", "d"}));
  EXPECT_TRUE(store.Modified());

  TTdTodoHandler archive(store.ArchiveFileName());
  archive.Load();
  EXPECT_EQ(Titles(archive), QStringList({"old", "e", "c", "a"}));
  EXPECT_EQ(archive.GetTodo(1)->ID, 5) << "archived tasks keep their ids";
  EXPECT_TRUE(QFile::exists(dir.File("archive.~tbl")));
}

TEST(TodoStore, ArchiveWithNothingClosedLeavesArchiveAlone) {
  TempDir dir;
  TTdTodoHandler store(dir.File("todo.tbl"));
  AddTask(store, "a", tsOpen);
  store.SetModified(false);
  EXPECT_EQ(store.ArchiveClosed(), 0);
  EXPECT_TRUE(store.Modified());
  EXPECT_FALSE(QFile::exists(dir.File("archive.tbl")));
}

TEST(TodoStore, FailedArchiveLosesNothing) {
  TempDir dir;
  {
    TTdTodoHandler archive(dir.File("archive.tbl"));
    AddTask(archive, "old", tsOK);
    archive.Save();
  }
  TTdTodoHandler store(dir.File("todo.tbl"));
  AddTask(store, "a", tsOK);
  AddTask(store, "b", tsOpen);
  store.SetModified(false);
  // A folder in the way of the archive's safety copy makes its save fail.
  ASSERT_TRUE(QDir(dir.Path()).mkpath("archive.~tbl/x"));
  EXPECT_THROW(store.ArchiveClosed(), EWriteError);
  EXPECT_EQ(Titles(store), QStringList({"a", "b"}));
  EXPECT_FALSE(store.Modified());
  TTdTodoHandler archive(dir.File("archive.tbl"));
  archive.Load();
  EXPECT_EQ(Titles(archive), QStringList({"old"}));
}

TEST(TodoStore, ArchiveListNewestFirstWithTasks) {
  FormatPin formats;
  TTdTodoHandler archive("/x/archive.tbl");
  TTdTodo* bank = AddTask(archive, "Call the bank", tsOK);
  bank->Completed = DateTime::EncodeDateTime(2004, 5, 3, 14, 0);
  TTdTodo* trip = AddTask(archive, "Trip", tsCancelled);
  trip->Completed = DateTime::EncodeDate(2004, 6, 1);
  TTodoStringList list;
  archive.FillArchiveList(list);
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list[0].text, "Cancelled: 01.06.2004-Trip");
  EXPECT_EQ(list[0].object, trip);
  EXPECT_EQ(list[1].text, "OK: 03.05.2004-Call the bank");
  EXPECT_EQ(list[1].object, bank);
}

TEST(TodoStore, RenumberAfterLookupDeletion) {
  struct Case {
    void (TTdTodoHandler::*renumber)(int32_t);
    int32_t TTdTodo::*field;
  };
  const Case cases[] = {{&TTdTodoHandler::RenumberCategory, &TTdTodo::Category},
                        {&TTdTodoHandler::RenumberResource, &TTdTodo::Resource},
                        {&TTdTodoHandler::RenumberType, &TTdTodo::Type}};
  for (const Case& c : cases) {
    TTdTodoHandler store("/x/todo.tbl");
    for (int32_t v : {0, 1, 2, 3, 4}) store.AddTodo()->*c.field = v;
    store.SetModified(false);
    (store.*c.renumber)(5);
    EXPECT_FALSE(store.Modified()) << "nothing changed";
    (store.*c.renumber)(2);
    EXPECT_TRUE(store.Modified());
    QList<int> values;
    for (const auto& t : store.Todos()) values << (*t).*c.field;
    EXPECT_EQ(values, QList<int>({0, 1, 0, 2, 3}));
  }
}

TEST(TodoStore, CountsHonourTemplates) {
  ClockPin clock(DateTime::EncodeDateTime(2004, 5, 3, 17, 0));
  TTdTodoHandler store("/x/todo.tbl");
  TTdTodo* open = AddTask(store, "open", tsOpen);
  open->Due = DateTime::EncodeDate(2004, 5, 4);
  open->Category = 2;
  TTdTodo* templ = AddTask(store, "template", tsOpen);
  templ->Due = DateTime::EncodeDate(2004, 5, 4);
  templ->Category = 2;
  templ->SetIsTemplate(true);
  TTdTodo* done = AddTask(store, "done", tsOK);
  done->Due = DateTime::EncodeDate(2004, 5, 4);
  EXPECT_EQ(store.CountByStatus(tsOpen, false), 1);
  EXPECT_EQ(store.CountByStatus(tsOpen, true), 2);
  EXPECT_EQ(store.CountByCategory(2, true), 2);
  EXPECT_EQ(store.CountOpenInDayGroup(1, true), 2) << "closed tasks are not in groups";
  EXPECT_EQ(store.CountOpenInDayGroup(1, false), 1);
  EXPECT_EQ(store.CountOpenInWeekGroup(0, true), 2);
  EXPECT_EQ(store.ClosedCount(), 1);
  EXPECT_TRUE(store.HasOK());
  EXPECT_FALSE(store.HasCancelled());
}
