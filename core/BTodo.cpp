#include "core/BTodo.h"

#include <cmath>

TTdTodo::TTdTodo() : TTdTodo(DateTime::Now()) {}

TTdTodo::TTdTodo(TDateTime now) : Created(now), RecurFirstDate(now), RecurLastDate(now) {}

void TTdTodo::SetStatus(int32_t status) {
  if (status == Status) return;
  Status = status;
  if (IsClosed()) {
    Completed = DateTime::Now();
    Percent = 100;
    SetFlag(tfReminderActivated, false);
  } else {
    Completed = 0;
    Percent = 0;
  }
}

void TTdTodo::SetReminderActivated(bool on) {
  SetFlag(tfReminderActivated, on);
  if (on) Flags &= ~(tfReminderGiven | tfReminderAccepted);
}

bool TTdTodo::IsOverdue() const { return DateTime::Now() > Due; }

double TTdTodo::DaysGone() const { return std::fabs(DateTime::Now() - Created); }

double TTdTodo::DaysLeft() const {
  const TDateTime now = DateTime::Now();
  const double span = std::fabs(now - Due);
  return now > Due ? -span : span;
}

QString TTdTodo::PriorityText() const { return PriorityTextOf(Priority); }
QString TTdTodo::StatusText() const { return StatusTextOf(Status); }
QString TTdTodo::ReminderTypeText() const { return ReminderTypeTextOf(ReminderType); }

int32_t TTdTodo::ReminderTypeOf(bool beep, bool sound, bool speech) {
  if (beep && sound && speech) return 7;
  if (beep && sound) return 6;
  if (sound && speech) return 5;
  if (beep && speech) return 4;
  if (speech) return 3;
  if (sound) return 2;
  if (beep) return 1;
  return 0;
}

bool TTdTodo::ReminderHasBeep(int32_t t) { return t == 1 || t == 4 || t == 6 || t == 7; }
bool TTdTodo::ReminderHasSound(int32_t t) { return t == 2 || t == 5 || t == 6 || t == 7; }
bool TTdTodo::ReminderHasSpeech(int32_t t) { return t == 3 || t == 4 || t == 5 || t == 7; }
