#pragma once
// Which tasks the task list shows: the quick-filter tab and the filter of the options
// meet in one predicate.
#include "core/TdOption.h"
#include "platform/DateTime.h"

class TTdTodo;

constexpr int kQuickFilterModeCount = 11;  // 0 none, 1..10 the tab kinds

// The selected quick-filter tab as the predicate needs it.
struct TTabFilter {
  bool Active = false;  // there are tabs and one is selected
  int Value = 0;        // the selected tab's value
  bool Ignore = false;  // IgnoreTabFilter: every task passes the tab test
};

// The task's attribute a quick-filter mode groups by: status, priority, category,
// resource, type, or its due-date group relative to `today`; -1 for mode 0 and modes
// outside the table.
int TaskTabValue(const TTdTodo& task, int mode, TDateTime today);

// The tab test: passes without tabs, without a selected tab, in mode 0 and whenever the
// tab filter is ignored; in modes 1..10 the task's attribute must equal the tab's value;
// any other mode fails.
bool PassesTabFilter(const TTdTodo& task, const TTdAppOptions& options, const TTabFilter& tab, TDateTime today);

// Templates only with ViewTemplates, then the tab test, then (with FilterOn) the flag
// and notes modes, the priority, type, status, category and resource sets (each set
// skipped in the tab mode of its own attribute) and the four date windows, bounds
// inclusive; the completed window tests only tasks with status OK.
bool IsTaskVisible(const TTdTodo& task, const TTdAppOptions& options, const TTabFilter& tab, TDateTime today);
