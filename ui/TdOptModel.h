#pragma once
// What the options dialog decides, without a widget: the snooze time split into days,
// hours and minutes, which field boxes depend on which, the clean-up after a task field
// was switched off, the tool-button choice, the tab mode and the close check. The form
// (TdOptDlg) only reads its controls into these and writes the results back.
#include "core/TdOption.h"
#include "ui/TaskFilter.h"

#include <QList>
#include <QString>

#include <optional>

class TTdTodoHandler;

// ---- Snooze time ------------------------------------------------------------------------
struct TDaysHoursMinutes {
  int Days = 0;
  int Hours = 0;
  int Minutes = 0;
  bool operator==(const TDaysHoursMinutes&) const = default;
};
// Whole days of 1440 minutes, whole hours, the rest; a negative total counts as 0.
TDaysHoursMinutes SplitMinutes(int minutes);
int JoinMinutes(const TDaysHoursMinutes& time);

// ---- Task field boxes ---------------------------------------------------------------------
using TOptionFlag = bool TTdAppOptions::*;

// A "Use" or "Display" box of the Fields page and what it depends on: the box is enabled
// only while `Use` (when set) and `Parent` (when set) are checked, and is unchecked as
// soon as `Use` is not.
struct TFieldBoxRule {
  TOptionFlag Box;
  TOptionFlag Use;     // null: the field is always in use
  TOptionFlag Parent;  // null: no date or display box above it
};
// Every switchable box of the Fields page, dependencies before the boxes that depend on
// them.
const QList<TFieldBoxRule>& FieldBoxRules();

// Unchecks the boxes of fields not in use and checks "Text" of a column that is shown
// with neither image nor text.
void ApplyFieldRules(TTdAppOptions& options);
// Whether the box may be changed now; boxes without a rule always may.
bool FieldBoxEnabled(const TTdAppOptions& options, TOptionFlag box);

// ---- Tab filter ------------------------------------------------------------------------------
// Whether a tab-filter mode may be chosen: the attribute's field must be in use.
bool QuickFilterModeEnabled(const TTdAppOptions& options, int mode);
// QuickFilterMode := mode, and the filter of the attribute the tabs now group by is
// cleared (mode 0 prints all tasks).
void StoreQuickFilterMode(TTdAppOptions& options, int mode);

// ---- Switched-off fields -----------------------------------------------------------------
// For every task field that is off: its filters cleared (a date window switched off with
// its bounds set to the earliest and latest date of the store), its sort keys removed
// (later keys move up; freed keys become 255, ascending) and its print columns removed
// (later columns move down, 0 at the end).
void ClearSwitchedOffFields(TTdAppOptions& options, const TTdTodoHandler& store);
// Both helpers of the above, for each key or code in `columns`.
void RemoveSortKeys(TTdAppOptions& options, const QList<int>& columns);
void RemovePrintColumns(TTdAppOptions& options, const QList<int>& codes);

// ---- Tool buttons ---------------------------------------------------------------------------
struct TToolButtonInfo {
  int Code;
  const char* Text;
  int ImageIndex;  // into the small images
};
constexpr int kToolButtonCount = 11;
const QList<TToolButtonInfo>& ToolButtons();
// The codes chosen by the slots, in slot order, each once; unknown codes are skipped.
QList<int> SelectedToolButtons(const TTdAppOptions& options);
// The codes not chosen, in table order.
QList<int> AvailableToolButtons(const QList<int>& selected);
// The slots filled with `selected` in order, 0 after; the tool bar shows only when asked
// for and at least one button is chosen.
void StoreToolBarButtons(TTdAppOptions& options, const QList<int>& selected, bool showToolbar);

// ---- Numbers and the close check ---------------------------------------------------------------
// The whole number a numeric field holds when it lies in minimum..maximum.
std::optional<int> ParseFieldNumber(const QString& text, int minimum, int maximum);
// "Enter a whole number from 0 to 23."
QString FieldNumberMessage(int minimum, int maximum);
constexpr const char* kDeltaMessage = "Due date delta must be greater than reminder date delta";
// The dialog may close unless the due date would come before the reminder.
bool DeltasAllowClose(int dueDateDelta, int reminderDateDelta);
