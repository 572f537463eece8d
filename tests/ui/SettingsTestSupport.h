#pragma once
// What the settings dialogs' tests share: the options as a new user has them, a task
// store with known date bounds, small image lists of coloured squares and lookup stores.
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdOption.h"
#include "support/ContextPins.h"
#include "treeview/LazyTreeImageList.h"

#include <QImage>

inline constexpr const char* kTestDataFolder = "/data/velmora-software/velmora/";

inline TTdAppOptions DefaultOptions() {
  DataFolderScope folder{QString::fromLatin1(kTestDataFolder)};
  TTdAppOptionsHandler handler(QStringLiteral("/nowhere/pendra.ini"));
  handler.SetDefaultOptions();
  return handler.Options();
}

// `count` squares, each in a colour of its own.
inline void FillSquares(TLTImageList& list, int count) {
  for (int i = 0; i < count; ++i) {
    QImage square(list.Width(), list.Height(), QImage::Format_ARGB32);
    square.fill(QColor::fromHsv((i * 47) % 360, 200, 210));
    list.Add(square);
  }
}

// Three tasks: created on the 1st, 5th and 9th of March 2024, due on the 10th, 20th and
// 15th, a reminder on the 8th (the others have none, so the earliest reminder date is 0),
// one task completed on the 7th.
struct SettingsStores {
  TTdTodoHandler todos{QStringLiteral("/x/todo.tbl")};
  TTdCategoryHandler categories{QStringLiteral("/x/cat.tbl")};
  TTdResourceHandler resources{QStringLiteral("/x/res.tbl")};
  TTdTypeHandler types{QStringLiteral("/x/type.tbl")};
  TLTImageList smallImages{16, 16};
  TLTImageList taskImages{16, 16};

  SettingsStores() {
    using DateTime::EncodeDateTime;
    const struct {
      TDateTime created, due, reminder, completed;
    } tasks[] = {
        {EncodeDateTime(2024, 3, 1, 9, 0), EncodeDateTime(2024, 3, 10, 22, 0), 0, 0},
        {EncodeDateTime(2024, 3, 5, 9, 0), EncodeDateTime(2024, 3, 20, 22, 0), EncodeDateTime(2024, 3, 8, 8, 30),
         EncodeDateTime(2024, 3, 7, 16, 0)},
        {EncodeDateTime(2024, 3, 9, 9, 0), EncodeDateTime(2024, 3, 15, 12, 0), 0, 0},
    };
    for (const auto& t : tasks) {
      TTdTodo* task = todos.Todos().Add();
      task->Created = t.created;
      task->Due = t.due;
      task->ReminderDateTime = t.reminder;
      if (t.completed != 0) {
        task->SetStatus(tsOK);
        task->Completed = t.completed;
      }
    }
    for (const char* name : {"-- unknown --", "Work", "Home", "Hobby"}) categories.Items().Add()->Name = name;
    for (const char* name : {"-- unknown --", "Anna", "Ben"}) resources.Items().Add()->Name = name;
    for (const char* name : {"-- unknown --", "Call", "Mail"}) types.Items().Add()->Name = name;
    FillSquares(smallImages, 25);
    FillSquares(taskImages, 55);
  }
};
