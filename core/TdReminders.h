#pragma once
// The reminder pass of the reminder tick: every due reminder is marked as given and shown.
#include <functional>

class TTdTodo;
class TTdTodoHandler;

// How a due reminder is shown; ShowReminder in the program.
using TShowReminderFunc = std::function<void(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes)>;

// Does nothing unless reminders are in use. Otherwise, in list order, each open task
// whose active, unaccepted reminder time has passed is marked as given (the store
// becomes modified) and shown with the snooze time; the pass waits for each window.
// Once `stopRequested` answers true (the program is ending) the pass shows no further
// reminder. Returns how many were shown.
int CheckReminders(TTdTodoHandler& store, bool useReminders, int snoozeMinutes,
                   const TShowReminderFunc& showReminder, const std::function<bool()>& stopRequested = {});
