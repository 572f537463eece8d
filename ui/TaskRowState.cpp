#include "ui/TaskRowState.h"

#include "core/BTodo.h"

TRowState TaskRowState(const TTdTodo& task, const TTdAppOptions& options, TDateTime now) {
  if (task.IsClosed()) return rsCompleted;
  if (options.UseDTDue && task.Due != 0 && now > task.Due) return rsOverDue;
  switch (task.Priority) {
    case 1: return rsLow;
    case 2: return rsMedium;
    case 3: return rsHigh;
    case 4: return rsUrgent;
    default: return rsNone;
  }
}

const TFontOption& RowStateFont(TRowState state, const TTdAppOptions& o) {
  switch (state) {
    case rsCompleted: return o.CompletedFont;
    case rsOverDue: return o.OverDueFont;
    case rsUrgent: return o.UrgentFont;
    case rsHigh: return o.HighFont;
    case rsMedium: return o.MediumFont;
    case rsLow: return o.LowFont;
    default: return o.NoneFont;
  }
}

int32_t RowStateBkColor(TRowState state, const TTdAppOptions& o) {
  switch (state) {
    case rsCompleted: return o.CompletedBkColor;
    case rsOverDue: return o.OverDueBkColor;
    case rsUrgent: return o.UrgentBkColor;
    case rsHigh: return o.HighBkColor;
    case rsMedium: return o.MediumBkColor;
    case rsLow: return o.LowBkColor;
    default: return o.NoneBkColor;
  }
}

int32_t RowBkColor(const TTdTodo& task, bool selected, const TTdAppOptions& o, TDateTime now) {
  return selected ? o.SelectedBkColor : RowStateBkColor(TaskRowState(task, o, now), o);
}

int RowHeight(TRowState state, const TTdAppOptions& o) { return RowStateFont(state, o).Size + 10; }

void ApplyFontAttributes(QFont& font, const QString& name, int size, bool bold, bool italic, bool underline,
                         bool strikeOut) {
  font.setFamily(name);
  if (size > 0) font.setPointSize(size);
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  font.setStrikeOut(strikeOut);
}

QFont FontFromOption(const TFontOption& option) {
  QFont font;
  ApplyFontAttributes(font, option.Name, option.Size, option.Bold, option.Italic, option.Underline, option.StrikeOut);
  return font;
}
