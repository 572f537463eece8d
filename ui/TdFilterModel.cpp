#include "ui/TdFilterModel.h"

#include "core/BTodo.h"
#include "platform/DateTime.h"

#include <QTime>

TFilterListState OpenFilterList(const TIdArray& include, const TIdArray& exclude, int count) {
  TFilterListState state;
  state.Checked = QList<bool>(count, false);
  const bool excluding = include.isEmpty() && !exclude.isEmpty();
  const TIdArray& listed = excluding ? exclude : include;
  if (listed.isEmpty()) return state;
  state.Choice = excluding ? fcNot : fcOnly;
  for (const int32_t position : listed) {
    if (position >= 0 && position < count) state.Checked[position] = true;
  }
  return state;
}

TIdArray CheckedPositions(const TFilterListState& state) {
  TIdArray positions;
  if (state.Choice == fcAny) return positions;
  for (int i = 0; i < state.Checked.size(); ++i) {
    if (state.Checked[i]) positions << i;
  }
  // Everything checked is no filter at all: an empty list, holding no memory either.
  if (positions.size() == state.Checked.size()) return {};
  return positions;
}

void StoreFilterList(const TFilterListState& state, TIdArray& include, TIdArray& exclude) {
  const TIdArray positions = CheckedPositions(state);
  include = state.Choice == fcNot ? TIdArray() : positions;
  exclude = state.Choice == fcNot ? positions : TIdArray();
}

TFilterBounds DefaultFilterBounds(const TTdTodoHandler& store) {
  TFilterBounds b;
  b.First[fdCreated] = store.FirstCreatedDate();
  b.Last[fdCreated] = store.LastCreatedDate();
  b.First[fdDue] = store.FirstDueDate();
  b.Last[fdDue] = store.LastDueDate();
  b.First[fdCompleted] = store.FirstCompletedDate();
  b.Last[fdCompleted] = store.LastCompletedDate();
  b.First[fdReminder] = store.FirstReminderDate();
  b.Last[fdReminder] = store.LastReminderDate();
  return b;
}

QDate PickerDay(TDateTime stored, TDateTime fallback) { return DateTime::ToQDate(stored != 0 ? stored : fallback); }

TDateTime FirstInstant(const QDate& day) { return DateTime::FromDateAndTime(day, QTime(0, 0)); }

TDateTime LastInstant(const QDate& day) { return DateTime::FromDateAndTime(day, QTime(23, 59, 59, 999)); }

TFilterDateFields FilterDateFields(TFilterDateKind kind) {
  using O = TTdAppOptions;
  static const TFilterDateFields fields[fdCount] = {
      {&O::FilterCreatedDates, &O::FilterCreatedFirst, &O::FilterCreatedLast},
      {&O::FilterDueDates, &O::FilterDueFirst, &O::FilterDueLast},
      {&O::FilterCompletedDates, &O::FilterCompletedFirst, &O::FilterCompletedLast},
      {&O::FilterReminderDates, &O::FilterReminderFirst, &O::FilterReminderLast},
  };
  return fields[kind];
}

void StoreFilter(TTdAppOptions& o, const TFilterFormState& form) {
  o.FilterStatus = CheckedPositions(form.Status);
  o.FilterPriority = CheckedPositions(form.Priority);
  o.FilterType = CheckedPositions(form.Type);
  StoreFilterList(form.Category, o.FilterCategoryIncl, o.FilterCategoryExcl);
  StoreFilterList(form.Resource, o.FilterResourceIncl, o.FilterResourceExcl);
  for (int k = 0; k < fdCount; ++k) o.*FilterDateFields(static_cast<TFilterDateKind>(k)).Use = form.Dates[k].Use;
  for (int k = 0; k < fdCount; ++k) {
    const TFilterDateFields f = FilterDateFields(static_cast<TFilterDateKind>(k));
    o.*f.First = FirstInstant(form.Dates[k].First);
    o.*f.Last = LastInstant(form.Dates[k].Last);
  }
  o.FilterFlagMode = form.FlagMode;
  o.FilterNotesMode = form.NotesMode;
}
