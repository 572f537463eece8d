#include "ui/TaskFilter.h"

#include "core/BTodo.h"

namespace {

bool InSetOrEmpty(const TIdArray& set, int32_t value) { return set.isEmpty() || set.contains(value); }

// A non-empty include list decides alone; otherwise the exclude list.
bool PassesInclExcl(const TIdArray& incl, const TIdArray& excl, int32_t value) {
  if (!incl.isEmpty()) return incl.contains(value);
  return !excl.contains(value);
}

bool InWindow(TDateTime value, TDateTime first, TDateTime last) { return first <= value && value <= last; }

// 1: only tasks that have it, 2: only tasks without; any other mode lets all through.
bool PassesModeFilter(int mode, bool has) {
  if (mode == 1) return has;
  if (mode == 2) return !has;
  return true;
}

}  // namespace

int TaskTabValue(const TTdTodo& task, int mode, TDateTime today) {
  switch (mode) {
    case 1: return task.Status;
    case 2: return task.Priority;
    case 3: return task.Category;
    case 4: return task.Resource;
    case 5: return task.Type;
    case 6: return task.DayGroup(today);
    case 7: return task.WeekdayGroup(today);
    case 8: return task.WeekGroup(today);
    case 9: return task.MonthGroup(today);
    case 10: return task.YearGroup(today);
    default: return -1;
  }
}

bool PassesTabFilter(const TTdTodo& task, const TTdAppOptions& options, const TTabFilter& tab, TDateTime today) {
  const int mode = options.QuickFilterMode;
  if (tab.Ignore || !tab.Active || mode == 0) return true;
  if (mode >= kQuickFilterModeCount) return false;
  return TaskTabValue(task, mode, today) == tab.Value;
}

bool IsTaskVisible(const TTdTodo& task, const TTdAppOptions& o, const TTabFilter& tab, TDateTime today) {
  if (task.IsTemplate() && !o.ViewTemplates) return false;
  if (!PassesTabFilter(task, o, tab, today)) return false;
  if (!o.FilterOn) return true;
  const int mode = o.QuickFilterMode;
  if (!PassesModeFilter(o.FilterFlagMode, task.Flagged())) return false;
  if (!PassesModeFilter(o.FilterNotesMode, !task.Notes.isEmpty())) return false;
  if (mode != 2 && !InSetOrEmpty(o.FilterPriority, task.Priority)) return false;
  if (mode != 5 && !InSetOrEmpty(o.FilterType, task.Type)) return false;
  if (mode != 1 && !InSetOrEmpty(o.FilterStatus, task.Status)) return false;
  if (mode != 3 && !PassesInclExcl(o.FilterCategoryIncl, o.FilterCategoryExcl, task.Category)) return false;
  if (mode != 4 && !PassesInclExcl(o.FilterResourceIncl, o.FilterResourceExcl, task.Resource)) return false;
  if (o.FilterCreatedDates && !InWindow(task.Created, o.FilterCreatedFirst, o.FilterCreatedLast)) return false;
  if (o.FilterDueDates && !InWindow(task.Due, o.FilterDueFirst, o.FilterDueLast)) return false;
  if (o.FilterCompletedDates && task.IsOK() &&
      !InWindow(task.Completed, o.FilterCompletedFirst, o.FilterCompletedLast))
    return false;
  if (o.FilterReminderDates && !InWindow(task.ReminderDateTime, o.FilterReminderFirst, o.FilterReminderLast))
    return false;
  return true;
}
