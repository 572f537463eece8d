#include "core/TdReminders.h"

#include "core/BTodo.h"
#include "platform/DateTime.h"

namespace {
bool ReminderDue(const TTdTodo& task, TDateTime now) {
  return task.ReminderActivated() && !task.ReminderAccepted() && now > task.ReminderDateTime && !task.IsClosed();
}
}  // namespace

int CheckReminders(TTdTodoHandler& store, bool useReminders, int snoozeMinutes,
                   const TShowReminderFunc& showReminder, const std::function<bool()>& stopRequested) {
  if (!useReminders) return 0;
  int shown = 0;
  // A window may stay up for a while: the count and the clock are read afresh per task.
  for (int i = 0; i < store.TaskCount(); ++i) {
    if (stopRequested && stopRequested()) break;
    TTdTodo& task = *store.GetTodo(i);
    if (!ReminderDue(task, DateTime::Now())) continue;
    task.SetReminderGiven(true);
    store.SetModified(true);
    ++shown;
    if (showReminder) showReminder(store, task, snoozeMinutes);
  }
  return shown;
}
