#pragma once
// What the task editor decides without a window: its captions and texts, the pages and
// the height the options leave, the enabling rules, the coupling of status and
// percentage, the recurrence mask and the checks and writing of OK.
#include "platform/DateTime.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <array>

class TTdTodo;
struct TTdAppOptions;

namespace EditTodo {

constexpr int kDialogHelpContext = 12;
// General, Reminder, Link, Recurring.
constexpr std::array<int, 4> kPageHelpContexts{46, 61, 62, 63};
constexpr int kPercentItemCount = 21;  // "0", "5", ... "100"
constexpr int kTitleMaxLength = 250;
constexpr int kNotesMaxLength = 5000;
constexpr int kIntervalMax = 999;

enum TRecurKind { rkDaily = 0, rkWeekly = 1, rkMonthly = 2 };

// "New Task", "Edit Task" or "View Task".
QString DialogCaption(bool isNew, bool editable);
// " Information #12 ", or " Information " before the task has an id.
QString InfoCaption(const TTdTodo& task);
// "TEMPLATE", "Created from template" or "-".
QString RecurringText(const TTdTodo& task);
// Whether the reminder was given, and accepted; empty when it was not given.
QString ReminderStateText(const TTdTodo& task);
// "-" unless the status is a closed one; then when the task was completed.
QString CompletedText(int status, TDateTime completion);

// The percentage list's item for a percentage, -1 when the list has none; and back.
int PercentIndexOf(int percent);
int PercentOfIndex(int index);

// Which pages stay in the notebook.
struct TPages {
  bool reminder = true;
  bool link = true;
  bool recurring = true;
};
TPages PagesOf(const TTdAppOptions& options);

// By how many pixels the dialog is designed shorter when fields are switched off: only
// without due dates (no Recurring page to make room for), 60 each for the percentage
// and the notes and 40 more for the flag.
int HeightReduction(const TTdAppOptions& options);

// What the controls show, as far as the enabling rules look at it.
struct TControlState {
  int status = 0;
  bool useReminder = false;
  bool beep = false, sound = false, speech = false;
  QString soundFile;
  QString link;
  QString title;
  bool isTemplate = false;
  TRecurKind kind = rkDaily;
};

// The enabling rules of an editable dialog.
struct TEnabling {
  bool percent = false;
  // "Use reminder" goes off by itself: no type chosen, or a sound without a file.
  bool clearUseReminder = false;
  bool reminderDates = false;
  bool reminderTypes = false;
  bool soundFile = false;
  bool play = false;
  bool test = false;
  bool run = false;
  bool ok = false;
  bool recurrence = false;  // the settings, the only-one-open box and the kind buttons
  std::array<bool, 3> kinds{};  // the frequency, labels and day boxes of each kind
};
TEnabling EnablingOf(const TControlState& state);

// Status and percentage drive each other; each change also moves the completion date.
struct TStatusPercent {
  int status = 0;
  int percentIndex = 0;
  TDateTime completion = 0;
};
// Closing selects "100" and completes now; any other status selects "0".
TStatusPercent StatusChosen(TStatusPercent current, int status, TDateTime now);
// A percentage above 0 opens a created task; "100" closes it as OK, completed now.
TStatusPercent PercentChosen(TStatusPercent current, int percentIndex, TDateTime now);

// Everything the dialog's controls hold when OK is pressed. An index of -1 means the
// list had no item selected: the task keeps what it had.
struct TValues {
  QString title;
  QString notes;
  int category = -1, resource = -1, priority = -1, status = -1, type = -1;
  int percentIndex = -1;
  bool flagged = false;
  QDate dueDate;
  QTime dueTime;

  QDate reminderDate;
  QTime reminderTime;
  bool useReminder = false;
  bool beep = false, sound = false, speech = false;
  QString soundFile;
  TDateTime completion = 0;

  QString link;

  bool isTemplate = false;
  TRecurKind kind = rkDaily;
  QDate firstDate, lastDate;
  int leadDays = 0;
  bool onlyOneOpen = false;
  std::array<int, 3> intervals{1, 1, 1};
  std::array<bool, 7> weekdays{};  // Monday first
  std::array<bool, 31> days{};
};

// Weekly: bit 0 Monday .. bit 6 Sunday; monthly: bit n-1 for day n; daily: 0.
int RecurDayMask(TRecurKind kind, const std::array<bool, 7>& weekdays, const std::array<bool, 31>& days);
// The boxes a mask checks: the weekdays of a weekly mask, the days of a monthly one.
std::array<bool, 7> WeekdaysOf(int mask);
std::array<bool, 31> DaysOf(int mask);

// The text with its first character upper-cased.
QString CapitalizeFirst(const QString& text);

// Why a template cannot be confirmed, or empty. Tasks that are no template pass.
QString TemplateCheck(const TValues& values);

// Writes the values into the task, unless the template check fails: then the task stays
// exactly as it was and the check's message is returned.
QString Apply(TTdTodo& task, const TValues& values, const TTdAppOptions& options);

}  // namespace EditTodo
