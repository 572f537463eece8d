// Recurring templates: the next occurrence of a rule and the pass that creates instances.
#include "core/BTodo.h"
#include "core/UtStrings.h"

#include <cmath>

namespace {

enum : int32_t { rkDaily = 0, rkWeekly = 1, rkMonthly = 2 };

uint32_t DayMask(const TTdTodo& t) { return static_cast<uint32_t>(t.RecurDayMask); }

// The first occurrence: the first date, provided the rule selects its day.
bool FirstOccurrence(const TTdTodo& t, TDateTime& next) {
  switch (t.RecurKind) {
    case rkDaily:
      break;
    case rkWeekly:
      if (!BitIsSet(DayMask(t), DateTime::IsoWeekday(t.RecurFirstDate))) return false;
      break;
    case rkMonthly:
      if (!BitIsSet(DayMask(t), DateTime::ToQDate(t.RecurFirstDate).day())) return false;
      break;
    default:
      return false;
  }
  next = t.RecurFirstDate;
  return true;
}

// Weekly and monthly rules alike: the next selected day later in the same week or
// month, else the first selected day of the week or month the interval steps to.
template <class StartOfSteppedPeriod>
bool NextSelectedDay(const TTdTodo& t, int dayInPeriod, StartOfSteppedPeriod startOfSteppedPeriod, TDateTime& next) {
  const int c = NextSetBit(DayMask(t), dayInPeriod);
  if (c != 0) {
    next = t.RecurLastGenerated + (c - dayInPeriod);  // time of day kept
    return true;
  }
  const int first = NextSetBit(DayMask(t), 0);
  TDateTime periodStart = 0;
  if (first == 0 || !startOfSteppedPeriod(periodStart)) return false;
  // A day the month lacks runs on into the next month.
  next = periodStart + (first - 1);
  return true;
}

bool NextWeekly(const TTdTodo& t, TDateTime& next) {
  const TDateTime last = t.RecurLastGenerated;
  return NextSelectedDay(t, DateTime::IsoWeekday(last), [&](TDateTime& monday) {
    int weekYear = 0;
    const int week = DateTime::IsoWeekNumber(last + 7.0 * t.RecurInterval, &weekYear);
    if (week == 0) return false;  // outside the calendar
    monday = DateTime::EncodeIsoWeekDay(weekYear, week, 1);
    return true;
  }, next);
}

bool NextMonthly(const TTdTodo& t, TDateTime& next) {
  const TDateTime last = t.RecurLastGenerated;
  const int b = DateTime::ToQDate(last).day();
  if (b == 0) return false;  // outside the calendar
  return NextSelectedDay(t, b, [&](TDateTime& firstOfMonth) {
    const TDateTime d = DateTime::IncMonth(last, t.RecurInterval);
    firstOfMonth = DateTime::DateOf(d) - (DateTime::ToQDate(d).day() - 1);
    return true;
  }, next);
}

}  // namespace

bool TTdTodo::NextOccurrence(TDateTime& next, TDateTime& creationDate) const {
  TDateTime candidate = 0;
  if (RecurLastGenerated == 0) {
    if (!FirstOccurrence(*this, candidate)) return false;
    // 0 marks "no instance yet", so an occurrence at that very moment could never be
    // remembered and would be created again and again.
    if (candidate == 0) return false;
  } else {
    bool found = false;
    switch (RecurKind) {
      case rkDaily:
        candidate = RecurLastGenerated + RecurInterval;
        found = true;
        break;
      case rkWeekly:
        found = NextWeekly(*this, candidate);
        break;
      case rkMonthly:
        found = NextMonthly(*this, candidate);
        break;
      default:
        break;
    }
    // A rule that does not move forward (interval 0 or less) has no next date; this also
    // keeps the generation pass from looping.
    if (!found || !(DateTime::DateOf(candidate) > DateTime::DateOf(RecurLastGenerated))) return false;
  }
  if (!(DateTime::DateOf(candidate) <= DateTime::DateOf(RecurLastDate))) return false;
  next = candidate;
  creationDate = candidate - RecurLeadDays;
  return true;
}

namespace {

bool HasOpenInstance(const TTdTodoList& list, const TTdTodo& tmpl) {
  for (const auto& t : list) {
    if (t.get() != &tmpl && !t->IsClosed() && t->OnlyOneOpen() && t->TemplateId == tmpl.ID) return true;
  }
  return false;
}

}  // namespace

int TTdTodoHandler::GenerateRecurring() {
  const TDateTime now = DateTime::Now();
  const TDateTime today = DateTime::DateOf(now);
  // A template dated decades back (a damaged file, a clock that was wrong) would flood
  // the list with one task per missed day: occurrences older than a year are passed over.
  const TDateTime oldestKept = today - 365;
  // Instances appended by this pass lie beyond n and are never taken for templates.
  const int n = list_.TaskCount();
  int count = 0;
  for (int i = 0; i < n; ++i) {
    TTdTodo& tmpl = *list_.GetItem(i);
    if (!tmpl.IsTemplate() || tmpl.IsClosed()) continue;
    if (tmpl.OnlyOneOpen() && HasOpenInstance(list_, tmpl)) continue;
    bool created = false;
    for (;;) {
      if (created && tmpl.OnlyOneOpen()) break;
      TDateTime next = 0, creationDate = 0;
      if (!tmpl.NextOccurrence(next, creationDate)) break;
      if (DateTime::DateOf(creationDate) > today) break;
      if (DateTime::DateOf(next) < oldestKept) {
        tmpl.RecurLastGenerated = next;
        continue;
      }
      const double reminderOffset =
          tmpl.ReminderActivated() ? std::trunc(std::fabs(tmpl.ReminderDateTime - tmpl.Due)) : 0.0;
      tmpl.RecurLastGenerated = next;

      auto instance = std::make_unique<TTdTodo>(now);
      instance->Assign(tmpl);
      ++LastId;
      instance->ID = LastId;
      instance->Created = now;
      instance->SetIsTemplate(false);
      instance->SetFromTemplate(true);
      instance->TemplateId = tmpl.ID;
      instance->Due = next;
      instance->ReminderDateTime = next - reminderOffset;
      list_.Append(std::move(instance));
      created = true;
      ++count;
    }
  }
  return count;
}
