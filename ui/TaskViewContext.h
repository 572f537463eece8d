#pragma once
// What the task list's presentation is computed from besides the task itself: the
// options, the lookup lists, the moment "now" and the association icons. The task
// tree's handlers fill one; tests fill their own.
#include "core/TdOption.h"
#include "platform/DateTime.h"

#include <functional>

class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTypeHandler;
class TTdTodo;

// The task tree's columns.
enum TTaskColumn : int {
  tcDone = 0,
  tcID = 1,
  tcTitle = 2,
  tcCategory = 3,
  tcPriority = 4,
  tcCreated = 5,
  tcDue = 6,
  tcStatus = 7,
  tcPercent = 8,
  tcCompleted = 9,
  tcLink = 10,
  tcNotes = 11,
  tcReminder = 12,
  tcResource = 13,
  tcFlag = 14,
  tcDaysGone = 15,
  tcDaysLeft = 16,
  tcType = 17,
  tcRecurring = 18,
};

struct TTaskViewContext {
  const TTdAppOptions* Options = nullptr;
  // Null lists give the "[no ...]" names and no images.
  const TTdCategoryHandler* Categories = nullptr;
  const TTdResourceHandler* Resources = nullptr;
  const TTdTypeHandler* Types = nullptr;
  TDateTime Now = 0;
  // The cached file-type icon of a task's association; -1 for none. Unset: none.
  std::function<int(const TTdTodo&)> AssociationImage;
};
