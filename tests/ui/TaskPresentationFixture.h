#pragma once
// Default options, three lookup lists and a store with a pinned clock and date formats,
// for the tests of the task list's presentation.
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdOption.h"
#include "support/ContextPins.h"
#include "ui/TaskViewContext.h"

#include <gtest/gtest.h>

using DateTime::EncodeDateTime;

class TaskPresentationFixture : public ::testing::Test {
protected:
  const TDateTime now = EncodeDateTime(2024, 3, 10, 12, 0);
  ClockPin clock{now};
  FormatPin formats;
  TTdAppOptions options = DefaultOptions();
  TTdCategoryHandler categories{"/x/cat.tbl"};
  TTdResourceHandler resources{"/x/res.tbl"};
  TTdTypeHandler types{"/x/type.tbl"};
  TTdTodoHandler store{"/x/todo.tbl"};

  static TTdAppOptions DefaultOptions() {
    TTdAppOptionsHandler handler(QStringLiteral("/x/pendra.ini"));
    handler.SetDefaultOptions();
    return handler.Options();
  }

  TaskPresentationFixture() {
    AddEntry(categories, "-- unknown --", -1);
    AddEntry(categories, "Work", 14);
    AddEntry(categories, "home", -1);
    AddEntry(resources, "-- unknown --");
    AddEntry(resources, "Anna");
    AddEntry(types, "-- unknown --", 0);
    AddEntry(types, "Call", 35);
  }

  template <typename Handler>
  static void AddEntry(Handler& handler, const char* name, int image) {
    auto* entry = handler.Items().Add();
    entry->Name = QString::fromUtf8(name);
    entry->ImageIndex = image;
  }
  static void AddEntry(TTdResourceHandler& handler, const char* name) {
    handler.Items().Add()->Name = QString::fromUtf8(name);
  }

  TTaskViewContext Context() const {
    TTaskViewContext c;
    c.Options = &options;
    c.Categories = &categories;
    c.Resources = &resources;
    c.Types = &types;
    c.Now = now;
    return c;
  }

  // An open task of medium priority, created two days ago, due in three days at 10:00.
  TTdTodo& AddTask(const QString& title, int id = 1) {
    TTdTodo& t = *store.Todos().Add();
    t.ID = id;
    t.Title = title;
    t.Status = tsOpen;
    t.Priority = 2;
    t.Created = EncodeDateTime(2024, 3, 8, 12, 0);
    t.Due = EncodeDateTime(2024, 3, 13, 10, 0);
    return t;
  }
};
