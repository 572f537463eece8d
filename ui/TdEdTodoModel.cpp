#include "ui/TdEdTodoModel.h"

#include "core/BTodo.h"
#include "core/TdOption.h"

#include <cmath>

namespace EditTodo {

namespace {

bool IsClosedStatus(int status) { return status == tsCancelled || status == tsOK; }

int Bits(const bool* boxes, int count) {
  int mask = 0;
  for (int i = 0; i < count; ++i)
    if (boxes[i]) mask |= 1 << i;
  return mask;
}

// The picked day at the time of day the value had, so a template's first occurrence
// keeps its hour when only the day is changed.
TDateTime DayKeepingTime(const QDate& day, TDateTime original) {
  return DateTime::FromQDate(day) + DateTime::TimeOf(original);
}

}  // namespace

QString DialogCaption(bool isNew, bool editable) {
  if (!editable) return QStringLiteral("View Task");
  return isNew ? QStringLiteral("New Task") : QStringLiteral("Edit Task");
}

QString InfoCaption(const TTdTodo& task) {
  if (task.ID != 0) return QStringLiteral(" Information #%1 ").arg(task.ID);
  return QStringLiteral(" Information ");
}

QString RecurringText(const TTdTodo& task) {
  if (task.IsTemplate()) return QStringLiteral("TEMPLATE");
  if (task.FromTemplate()) return QStringLiteral("Created from template");
  return QStringLiteral("-");
}

QString ReminderStateText(const TTdTodo& task) {
  if (!task.ReminderGiven()) return {};
  if (task.ReminderAccepted()) return QStringLiteral("Reminder has been given and accepted");
  return QStringLiteral("Reminder has been given but has not yet been accepted");
}

QString CompletedText(int status, TDateTime completion) {
  return IsClosedStatus(status) ? DateTimeText(completion) : QStringLiteral("-");
}

int PercentIndexOf(int percent) {
  if (percent < 0 || percent > 100 || percent % 5 != 0) return -1;
  return percent / 5;
}

int PercentOfIndex(int index) { return index * 5; }

TPages PagesOf(const TTdAppOptions& options) {
  return {options.UseDTReminder, options.UseAssociation, options.UseDTDue};
}

int HeightReduction(const TTdAppOptions& options) {
  if (options.UseDTDue) return 0;
  return (options.UsePercent ? 0 : 60) + (options.UseNotes ? 0 : 60) + (options.UseFlagged ? 0 : 40);
}

TEnabling EnablingOf(const TControlState& state) {
  TEnabling e;
  e.percent = state.status == tsCreated || state.status == tsOpen;
  const bool anyType = state.beep || state.sound || state.speech;
  const bool soundWithoutFile = state.sound && !state.beep && !state.speech && state.soundFile.isEmpty();
  e.clearUseReminder = state.useReminder && (!anyType || soundWithoutFile);
  const bool useReminder = state.useReminder && !e.clearUseReminder;
  e.test = useReminder && anyType;
  e.reminderDates = useReminder;
  // The types and the sound file stay open to the user while the reminder is off:
  // otherwise a reminder that went off for want of a type or a file could never be
  // switched on again, since it goes off as soon as it is checked.
  e.reminderTypes = true;
  e.soundFile = state.sound;
  e.play = useReminder && !state.soundFile.isEmpty();
  e.run = !state.link.isEmpty();
  e.ok = !state.title.isEmpty();
  e.recurrence = state.isTemplate;
  if (state.isTemplate) e.kinds[static_cast<size_t>(state.kind)] = true;
  return e;
}

TStatusPercent StatusChosen(TStatusPercent current, int status, TDateTime now) {
  current.status = status;
  if (IsClosedStatus(status)) {
    current.percentIndex = PercentIndexOf(100);
    current.completion = now;
  } else {
    current.percentIndex = 0;
  }
  return current;
}

TStatusPercent PercentChosen(TStatusPercent current, int percentIndex, TDateTime now) {
  current.percentIndex = percentIndex;
  const int percent = PercentOfIndex(percentIndex);
  if (percent == 100) {
    if (!IsClosedStatus(current.status)) {
      current.status = tsOK;
      current.completion = now;
    }
  } else if (percent > 0 && current.status == tsCreated) {
    current.status = tsOpen;
  }
  return current;
}

int RecurDayMask(TRecurKind kind, const std::array<bool, 7>& weekdays, const std::array<bool, 31>& days) {
  switch (kind) {
    case rkWeekly: return Bits(weekdays.data(), 7);
    case rkMonthly: return Bits(days.data(), 31);
    case rkDaily: break;
  }
  return 0;
}

std::array<bool, 7> WeekdaysOf(int mask) {
  std::array<bool, 7> boxes{};
  for (int i = 0; i < 7; ++i) boxes[static_cast<size_t>(i)] = (mask >> i & 1) != 0;
  return boxes;
}

std::array<bool, 31> DaysOf(int mask) {
  std::array<bool, 31> boxes{};
  for (int i = 0; i < 31; ++i) boxes[static_cast<size_t>(i)] = (mask >> i & 1) != 0;
  return boxes;
}

QString CapitalizeFirst(const QString& text) {
  if (text.isEmpty()) return text;
  return text.at(0).toUpper() + text.mid(1);
}

QString TemplateCheck(const TValues& values) {
  if (!values.isTemplate) return {};
  if (values.lastDate < values.firstDate)
    return QStringLiteral("Last valid date cannot be earlier than the first date");
  if (values.kind == rkWeekly && RecurDayMask(rkWeekly, values.weekdays, values.days) == 0)
    return QStringLiteral("You must select one or more weekdays");
  if (values.kind == rkMonthly && RecurDayMask(rkMonthly, values.weekdays, values.days) == 0)
    return QStringLiteral("You must select one or more days");
  return {};
}

QString Apply(TTdTodo& task, const TValues& values, const TTdAppOptions& options) {
  if (options.UseDTDue) {
    QString failed = TemplateCheck(values);
    if (!failed.isEmpty()) return failed;
  }
  TTdTodo t = task;
  t.Title = options.AlwaysCapitalizeFirst ? CapitalizeFirst(values.title) : values.title;
  t.Notes = values.notes;
  if (values.category >= 0) t.Category = values.category;
  if (values.resource >= 0) t.Resource = values.resource;
  if (values.priority >= 0) t.Priority = values.priority;
  if (values.status >= 0) t.SetStatus(values.status);
  if (values.type >= 0) t.Type = values.type;
  if (values.percentIndex >= 0) t.Percent = static_cast<uint8_t>(PercentOfIndex(values.percentIndex));
  t.SetFlagged(values.flagged);
  t.Due = DateTime::FromDateAndTime(values.dueDate, values.dueTime);

  if (options.UseDTReminder) {
    t.ReminderDateTime = DateTime::FromDateAndTime(values.reminderDate, values.reminderTime);
    t.ReminderType = TTdTodo::ReminderTypeOf(values.beep, values.sound, values.speech);
    // Switching it on also clears the given and accepted marks, so it comes again.
    t.SetReminderActivated(values.useReminder && t.ReminderType != 0);
    t.ReminderPath = values.soundFile;
  }
  if (t.IsClosed()) t.Completed = values.completion;
  if (options.UseAssociation) t.Association = values.link;

  if (options.UseDTDue) {
    t.SetIsTemplate(values.isTemplate);
    t.RecurKind = values.kind;
    t.RecurFirstDate = DayKeepingTime(values.firstDate, task.RecurFirstDate);
    t.RecurLastDate = DayKeepingTime(values.lastDate, task.RecurLastDate);
    t.RecurLeadDays = values.leadDays;
    t.SetOnlyOneOpen(values.onlyOneOpen);
    t.RecurInterval = values.intervals[static_cast<size_t>(values.kind)];
    t.RecurDayMask = RecurDayMask(values.kind, values.weekdays, values.days);
  }
  task.Assign(t);
  return {};
}

}  // namespace EditTodo
