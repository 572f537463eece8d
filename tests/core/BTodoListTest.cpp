// The task list against a plain vector of the same tasks: removals leave gaps that
// IndexOf, GetItem and the walk over the list must not show.
#include "core/BTodo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

void ExpectSameAs(const TTdTodoList& list, const std::vector<TTdTodo*>& model) {
  ASSERT_EQ(list.TaskCount(), static_cast<int>(model.size()));
  std::vector<TTdTodo*> walked;
  for (const auto& task : list) walked.push_back(task.get());
  EXPECT_EQ(walked, model);
  for (size_t i = 0; i < model.size(); ++i) {
    ASSERT_EQ(list.GetItem(static_cast<int>(i)), model[i]) << i;
    ASSERT_EQ(list.IndexOf(model[i]), static_cast<int>(i)) << i;
  }
}

}  // namespace

TEST(TodoList, RemovalsAndAppendsKeepOrderAndIndexes) {
  std::mt19937 rng(7);
  TTdTodoList list;
  std::vector<TTdTodo*> model;
  for (int i = 0; i < 300; ++i) model.push_back(list.Add());
  // Removals at random places, mixed with appends, with the list checked between them;
  // enough removals in a row that the gaps are closed on the way.
  for (int step = 0; step < 600; ++step) {
    if (rng() % 4 == 0 || model.empty()) {
      model.push_back(list.Add());
    } else {
      const size_t at = rng() % model.size();
      list.Remove(model[at]);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
    }
    if (step % 37 == 0) ExpectSameAs(list, model);
  }
  ExpectSameAs(list, model);
  list.Compact();
  ExpectSameAs(list, model);
}

TEST(TodoList, TasksOutsideTheListAreNotInIt) {
  TTdTodoList list, other;
  TTdTodo* a = list.Add();
  TTdTodo* b = list.Add();
  TTdTodo* elsewhere = other.Add();
  TTdTodo copy = *b;  // an undo copy, say

  EXPECT_EQ(list.IndexOf(elsewhere), -1);
  EXPECT_EQ(list.IndexOf(&copy), -1);
  EXPECT_EQ(list.IndexOf(nullptr), -1);
  list.Remove(&copy);
  list.Remove(elsewhere);
  EXPECT_EQ(list.TaskCount(), 2);
  EXPECT_EQ(other.TaskCount(), 1);

  // Assigning another task's fields keeps the task where it is.
  a->Assign(*elsewhere);
  EXPECT_EQ(list.IndexOf(a), 0);
  list.Remove(a);
  EXPECT_EQ(list.IndexOf(b), 0);
  EXPECT_EQ(list.GetItem(0), b);
}

// Closing tasks and moving them out while gaps are open.
TEST(TodoList, ClosedTasksLeaveAroundGaps) {
  TTdTodoHandler store(QStringLiteral("/x/todo.tbl")), archive(QStringLiteral("/x/archive.tbl"));
  std::vector<TTdTodo*> tasks;
  for (int i = 0; i < 8; ++i) {
    tasks.push_back(store.AddTodo());
    tasks.back()->ID = i;
    if (i % 3 == 0) tasks.back()->SetStatus(tsOK);
  }
  store.Delete(tasks[1]);
  store.Delete(tasks[6]);  // closed
  EXPECT_EQ(store.Todos().MoveClosedTo(archive), 2);
  ASSERT_EQ(archive.TaskCount(), 2);
  EXPECT_EQ(archive.GetTodo(0)->ID, 3) << "last first";
  EXPECT_EQ(archive.GetTodo(1)->ID, 0);
  ExpectSameAs(store.Todos(), {tasks[2], tasks[4], tasks[5], tasks[7]});
}
