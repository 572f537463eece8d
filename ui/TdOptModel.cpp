#include "ui/TdOptModel.h"

#include "core/BTodo.h"

#include <algorithm>

namespace {
constexpr int kMinutesPerDay = 1440;
constexpr uint8_t kNoSortKey = 255;
using O = TTdAppOptions;
}  // namespace

TDaysHoursMinutes SplitMinutes(int minutes) {
  const int m = std::max(minutes, 0);
  return {m / kMinutesPerDay, m % kMinutesPerDay / 60, m % 60};
}

int JoinMinutes(const TDaysHoursMinutes& time) { return time.Days * kMinutesPerDay + time.Hours * 60 + time.Minutes; }

const QList<TFieldBoxRule>& FieldBoxRules() {
  // The image and text boxes follow their display box only: switching a field off
  // unchecks its display box, which disables them, and keeps the user's choice of how it
  // shows for when it comes back.
  static const QList<TFieldBoxRule> rules = {
      {&O::UseDTDueTime, &O::UseDTDue, nullptr},
      {&O::DisplayNotes, &O::UseNotes, nullptr},
      {&O::DisplayPriority, &O::UsePriority, nullptr},
      {&O::DisplayImagePriority, nullptr, &O::DisplayPriority},
      {&O::DisplayTextPriority, nullptr, &O::DisplayPriority},
      {&O::DisplayImageStatus, nullptr, &O::DisplayStatus},
      {&O::DisplayTextStatus, nullptr, &O::DisplayStatus},
      {&O::DisplayPercent, &O::UsePercent, nullptr},
      {&O::DisplayDTDue, &O::UseDTDue, nullptr},
      {&O::DisplayDTDueTime, &O::UseDTDueTime, &O::DisplayDTDue},
      {&O::DisplayDTCompletedTime, nullptr, &O::DisplayDTCompleted},
      {&O::DisplayImageAssociation, &O::UseAssociation, nullptr},
      {&O::DisplayCategory, &O::UseCategory, nullptr},
      {&O::DisplayImageCategory, nullptr, &O::DisplayCategory},
      {&O::DisplayTextCategory, nullptr, &O::DisplayCategory},
      {&O::DisplayDTCreatedTime, nullptr, &O::DisplayDTCreated},
      {&O::DisplayImageDTReminder, &O::UseDTReminder, nullptr},
      {&O::DisplayResource, &O::UseResource, nullptr},
      {&O::DisplayFlagged, &O::UseFlagged, nullptr},
      {&O::DisplayDaysLeft, &O::UseDTDue, nullptr},
      {&O::DisplayType, &O::UseType, nullptr},
      {&O::DisplayTextType, nullptr, &O::DisplayType},
      {&O::DisplayImageType, nullptr, &O::DisplayType},
  };
  return rules;
}

void ApplyFieldRules(TTdAppOptions& options) {
  for (const TFieldBoxRule& rule : FieldBoxRules()) {
    if (rule.Use != nullptr && !(options.*rule.Use)) options.*rule.Box = false;
  }
  struct Shown {
    TOptionFlag Display, Image, Text;
  };
  for (const Shown& s : {Shown{&O::DisplayPriority, &O::DisplayImagePriority, &O::DisplayTextPriority},
                         Shown{&O::DisplayStatus, &O::DisplayImageStatus, &O::DisplayTextStatus},
                         Shown{&O::DisplayCategory, &O::DisplayImageCategory, &O::DisplayTextCategory},
                         Shown{&O::DisplayType, &O::DisplayImageType, &O::DisplayTextType}}) {
    if (options.*s.Display && !(options.*s.Image) && !(options.*s.Text)) options.*s.Text = true;
  }
}

bool FieldBoxEnabled(const TTdAppOptions& options, TOptionFlag box) {
  for (const TFieldBoxRule& rule : FieldBoxRules()) {
    if (rule.Box != box) continue;
    return (rule.Use == nullptr || options.*rule.Use) && (rule.Parent == nullptr || options.*rule.Parent);
  }
  return true;
}

bool QuickFilterModeEnabled(const TTdAppOptions& options, int mode) {
  switch (mode) {
    case 2: return options.UsePriority;
    case 3: return options.UseCategory;
    case 4: return options.UseResource;
    case 5: return options.UseType;
    default: return mode < 6 || options.UseDTDue;
  }
}

void StoreQuickFilterMode(TTdAppOptions& options, int mode) {
  options.QuickFilterMode = static_cast<uint8_t>(mode);
  switch (mode) {
    case 0: options.AllTasks = true; break;
    case 1: options.FilterStatus.clear(); break;
    case 2: options.FilterPriority.clear(); break;
    case 3:
      options.FilterCategoryIncl.clear();
      options.FilterCategoryExcl.clear();
      break;
    case 4:
      options.FilterResourceIncl.clear();
      options.FilterResourceExcl.clear();
      break;
    case 5: options.FilterType.clear(); break;
    default: break;
  }
}

void RemoveSortKeys(TTdAppOptions& options, const QList<int>& columns) {
  struct Key {
    uint8_t Element;
    bool Asc;
  };
  QList<Key> kept;
  for (const Key& key : {Key{options.SortElement1, options.SortAsc1}, Key{options.SortElement2, options.SortAsc2},
                         Key{options.SortElement3, options.SortAsc3}}) {
    if (!columns.contains(key.Element)) kept << key;
  }
  while (kept.size() < 3) kept << Key{kNoSortKey, true};
  options.SortElement1 = kept[0].Element;
  options.SortAsc1 = kept[0].Asc;
  options.SortElement2 = kept[1].Element;
  options.SortAsc2 = kept[1].Asc;
  options.SortElement3 = kept[2].Element;
  options.SortAsc3 = kept[2].Asc;
}

void RemovePrintColumns(TTdAppOptions& options, const QList<int>& codes) {
  auto& columns = options.PrintColumn;
  const auto end = std::remove_if(columns.begin(), columns.end(), [&](uint8_t c) { return c != 0 && codes.contains(c); });
  std::fill(end, columns.end(), uint8_t{0});
}

void ClearSwitchedOffFields(TTdAppOptions& o, const TTdTodoHandler& store) {
  if (!o.UseCategory) {
    o.FilterCategoryIncl.clear();
    o.FilterCategoryExcl.clear();
    RemoveSortKeys(o, {3});
    RemovePrintColumns(o, {3, 4});
  }
  if (!o.UsePriority) {
    o.FilterPriority.clear();
    RemoveSortKeys(o, {4});
    RemovePrintColumns(o, {17, 18});
  }
  if (!o.UseDTDue) {
    o.FilterDueDates = false;
    o.FilterDueFirst = store.FirstDueDate();
    o.FilterDueLast = store.LastDueDate();
    RemoveSortKeys(o, {6, 16});
    RemovePrintColumns(o, {10, 11, 25});
  }
  if (!o.UseDTReminder) {
    o.FilterReminderDates = false;
    o.FilterReminderFirst = store.FirstReminderDate();
    o.FilterReminderLast = store.LastReminderDate();
    RemoveSortKeys(o, {12});
    RemovePrintColumns(o, {12, 13});
  }
  if (!o.UseResource) {
    o.FilterResourceIncl.clear();
    o.FilterResourceExcl.clear();
    RemoveSortKeys(o, {13});
    RemovePrintColumns(o, {19});
  }
  if (!o.UseFlagged) {
    o.FilterFlagMode = 0;
    RemoveSortKeys(o, {14});
    RemovePrintColumns(o, {22});
  }
  if (!o.UseAssociation) RemovePrintColumns(o, {1, 2});
  if (!o.UseNotes) {
    o.FilterNotesMode = 0;
    RemovePrintColumns(o, {15});
  }
  if (!o.UsePercent) RemovePrintColumns(o, {16});
}

const QList<TToolButtonInfo>& ToolButtons() {
  static const QList<TToolButtonInfo> buttons = {
      {1, "Add Task", 0}, {2, "Delete Task", 1}, {3, "Print", 2},      {4, "Options", 3},
      {5, "Edit Filter", 4}, {6, "Sort", 5},     {7, "Help", 6},       {8, "Exit", 7},
      {9, "Find", 11},    {10, "Edit Task", 15}, {11, "Filter On/Off", 20},
  };
  return buttons;
}

QList<int> SelectedToolButtons(const TTdAppOptions& options) {
  QList<int> selected;
  for (const int32_t code : options.ToolBarButtons) {
    if (code >= 1 && code <= kToolButtonCount && !selected.contains(code)) selected << code;
  }
  return selected;
}

QList<int> AvailableToolButtons(const QList<int>& selected) {
  QList<int> available;
  for (const TToolButtonInfo& button : ToolButtons()) {
    if (!selected.contains(button.Code)) available << button.Code;
  }
  return available;
}

void StoreToolBarButtons(TTdAppOptions& options, const QList<int>& selected, bool showToolbar) {
  options.ToolBarButtons.fill(0);
  for (int i = 0; i < selected.size() && i < kToolBarSlotCount; ++i) options.ToolBarButtons[static_cast<size_t>(i)] = selected[i];
  options.ShowToolbar = showToolbar && !selected.isEmpty();
}

std::optional<int> ParseFieldNumber(const QString& text, int minimum, int maximum) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok || value < minimum || value > maximum) return std::nullopt;
  return value;
}

QString FieldNumberMessage(int minimum, int maximum) {
  return QStringLiteral("Enter a whole number from %1 to %2.").arg(minimum).arg(maximum);
}

bool DeltasAllowClose(int dueDateDelta, int reminderDateDelta) { return dueDateDelta >= reminderDateDelta; }
