#pragma once
// How a task's row looks: its state (completed, overdue, or its priority) chooses the
// background colour, the font and the row height.
#include "core/TdOption.h"
#include "platform/DateTime.h"

#include <QColor>
#include <QFont>

class TTdTodo;

enum TRowState : int { rsCompleted, rsOverDue, rsUrgent, rsHigh, rsMedium, rsLow, rsNone };
constexpr int kRowStateCount = 7;

// Cancelled or OK: completed; else, with due dates in use and a due date set that now
// has passed: overdue; else by priority (a priority outside the table counts as none).
TRowState TaskRowState(const TTdTodo& task, const TTdAppOptions& options, TDateTime now);
const TFontOption& RowStateFont(TRowState state, const TTdAppOptions& options);
int32_t RowStateBkColor(TRowState state, const TTdAppOptions& options);
// The background: SelectedBkColor for a selected row, else the state's.
int32_t RowBkColor(const TTdTodo& task, bool selected, const TTdAppOptions& options, TDateTime now);
// The state's font size + 10 pixels.
int RowHeight(TRowState state, const TTdAppOptions& options);

// A font from a font group: name, size in points and the four styles set or cleared.
QFont FontFromOption(const TFontOption& option);
// Sets name, size and each style of `font`.
void ApplyFontAttributes(QFont& font, const QString& name, int size, bool bold, bool italic, bool underline,
                         bool strikeOut);
