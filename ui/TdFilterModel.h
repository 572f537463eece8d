#pragma once
// What the filter dialog decides, without a widget: how a check list opens from an id
// list and is stored back, the default date bounds of the task store and the first and
// last instant of a chosen day.
#include "core/TdOption.h"

#include <QDate>
#include <QList>

class TTdTodoHandler;

// "Any ...", "Only selected ..." or "Not selected ..." of a group.
enum TFilterChoice { fcAny, fcOnly, fcNot };

// A group's radio choice and its check list, an item's position being the stored value.
struct TFilterListState {
  TFilterChoice Choice = fcAny;
  QList<bool> Checked;
  bool operator==(const TFilterListState&) const = default;
};

// "Only selected" with the listed positions checked, or "Not selected" when only the
// exclude list holds any; "Any" when both are empty. Positions outside the list are
// left out.
TFilterListState OpenFilterList(const TIdArray& include, const TIdArray& exclude, int count);
// The checked positions in list order; empty for "Any", for none checked and for all
// checked, as each of these lets every task through.
TIdArray CheckedPositions(const TFilterListState& state);
// The positions into the list the choice names, the other list emptied.
void StoreFilterList(const TFilterListState& state, TIdArray& include, TIdArray& exclude);

// One date window: the "Use" box and the days of its two pickers.
struct TFilterDateRow {
  bool Use = false;
  QDate First;
  QDate Last;
};
enum TFilterDateKind { fdCreated, fdDue, fdCompleted, fdReminder, fdCount };

// The earliest and latest date of each kind over the store's tasks.
struct TFilterBounds {
  TDateTime First[fdCount] = {};
  TDateTime Last[fdCount] = {};
};
TFilterBounds DefaultFilterBounds(const TTdTodoHandler& store);
// The day a picker shows: the stored bound, or the default when none is stored (0).
QDate PickerDay(TDateTime stored, TDateTime fallback);
// The first instant of a day (00:00:00.000) and the last (23:59:59.999).
TDateTime FirstInstant(const QDate& day);
TDateTime LastInstant(const QDate& day);

// The options' fields of a date window, by kind.
struct TFilterDateFields {
  bool TTdAppOptions::*Use;
  TDateTime TTdAppOptions::*First;
  TDateTime TTdAppOptions::*Last;
};
TFilterDateFields FilterDateFields(TFilterDateKind kind);

// Everything the filter dialog shows.
struct TFilterFormState {
  TFilterListState Status, Priority, Category, Resource, Type;
  TFilterDateRow Dates[fdCount];
  int FlagMode = 0;
  int NotesMode = 0;
};
// Stores the form into the options: lists, then the "Use" boxes, the bounds (first
// instant of each "First" day, last instant of each "Last" day), then the two modes.
void StoreFilter(TTdAppOptions& options, const TFilterFormState& form);
