// The quick-filter tab lists: captions with counts, emptied entries removed, tab images,
// group captions, and the date bounds of the filter dialog. Every builder counts in one
// pass over the tasks.
#include "core/BTodo.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace {

bool Counted(const TTdTodo& task, bool withTemplates) { return withTemplates || !task.IsTemplate(); }

// Counts per value 0..size-1 of a small code or group; values outside are ignored.
template <typename Value>
std::vector<int> CountCodes(const TTdTodoList& list, int size, bool withTemplates, bool openOnly, Value value) {
  std::vector<int> counts(static_cast<size_t>(size), 0);
  for (const auto& task : list) {
    if (!Counted(*task, withTemplates) || (openOnly && task->IsClosed())) continue;
    const int v = value(*task);
    if (v >= 0 && v < size) ++counts[static_cast<size_t>(v)];
  }
  return counts;
}

int CodeCount(const std::vector<int>& counts, int code) {
  return code >= 0 && static_cast<size_t>(code) < counts.size() ? counts[static_cast<size_t>(code)] : 0;
}

// Counts of the lookup ids the list's items carry.
QHash<int, int> CountIds(const TTdTodoList& list, const TStringList& items, bool withTemplates,
                         int32_t TTdTodo::*field) {
  QHash<int, int> counts;
  counts.reserve(items.size());
  for (const TStringItem& item : items) counts.insert(item.object, 0);
  for (const auto& task : list) {
    if (!Counted(*task, withTemplates)) continue;
    const auto it = counts.find((*task).*field);
    if (it != counts.end()) ++*it;
  }
  return counts;
}

QString WithCount(const QString& text, int count) {
  return text + QStringLiteral(" (") + QString::number(count) + QLatin1Char(')');
}

template <typename CountOf>
void AppendCounts(TStringList& list, CountOf countOf) {
  for (TStringItem& item : list) item.text = WithCount(item.text, countOf(item.object));
}

// From the last item down; the parallel image list loses the same positions.
template <typename CountOf>
void RemoveEmpty(TStringList& list, TImageIndexList* images, CountOf countOf) {
  for (qsizetype i = list.size() - 1; i >= 0; --i) {
    if (countOf(list[i].object) != 0) continue;
    list.removeAt(i);
    if (images && i < images->size()) images->removeAt(i);
  }
}

void AddCodeItems(TStringList& list, const std::vector<int>& counts, QString (*textOf)(int32_t), bool showCounts,
                  bool hideEmpty) {
  for (int code = 0; code < static_cast<int>(counts.size()); ++code) {
    const int count = counts[static_cast<size_t>(code)];
    if (hideEmpty && count == 0) continue;
    list.append({showCounts ? WithCount(textOf(code), count) : textOf(code), code});
  }
}

void AddTabImages(TImageIndexList& images, const std::vector<int>& counts, int (*imageOf)(int32_t, int),
                  bool hideEmpty) {
  images.clear();
  for (int code = 0; code < static_cast<int>(counts.size()); ++code)
    if (!hideEmpty || counts[static_cast<size_t>(code)] > 0) images.append(imageOf(code, -1));
}

// Open-task counts per due-date group; groups run 0..overdue.
template <int (TTdTodo::*Group)(TDateTime) const>
std::vector<int> GroupCounts(const TTdTodoList& list, int overdue, bool withTemplates) {
  const TDateTime today = DateTime::Today();
  return CountCodes(list, overdue + 1, withTemplates, true, [today](const TTdTodo& t) { return (t.*Group)(today); });
}

void AddGroupTail(TStringList& list, int later) {
  list.append({QStringLiteral("Later"), later});
  list.append({QStringLiteral("Overdue"), later + 1});
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Status and priority tabs

void TTdTodoHandler::AddStatusItems(TStringList& list, bool showCounts, bool withTemplates, bool hideEmpty) const {
  const auto counts = CountCodes(list_, kStatusCount, withTemplates, false, [](const TTdTodo& t) { return t.Status; });
  AddCodeItems(list, counts, StatusTextOf, showCounts, hideEmpty);
}

void TTdTodoHandler::AddPriorityItems(TStringList& list, bool showCounts, bool withTemplates, bool hideEmpty) const {
  const auto counts =
      CountCodes(list_, kPriorityCount, withTemplates, false, [](const TTdTodo& t) { return t.Priority; });
  AddCodeItems(list, counts, PriorityTextOf, showCounts, hideEmpty);
}

void TTdTodoHandler::GetStatusTabImages(TImageIndexList& images, bool hideEmpty, bool withTemplates) const {
  const auto counts = CountCodes(list_, kStatusCount, withTemplates, false, [](const TTdTodo& t) { return t.Status; });
  AddTabImages(images, counts, StatusImageIndex, hideEmpty);
}

void TTdTodoHandler::GetPriorityTabImages(TImageIndexList& images, bool hideEmpty, bool withTemplates) const {
  const auto counts =
      CountCodes(list_, kPriorityCount, withTemplates, false, [](const TTdTodo& t) { return t.Priority; });
  AddTabImages(images, counts, PriorityImageIndex, hideEmpty);
}

// ---------------------------------------------------------------------------------------
// Lookup tabs

void TTdTodoHandler::AppendCategoryCounts(TStringList& list, bool withTemplates) const {
  const auto counts = CountIds(list_, list, withTemplates, &TTdTodo::Category);
  AppendCounts(list, [&](int id) { return counts.value(id); });
}

void TTdTodoHandler::AppendResourceCounts(TStringList& list, bool withTemplates) const {
  const auto counts = CountIds(list_, list, withTemplates, &TTdTodo::Resource);
  AppendCounts(list, [&](int id) { return counts.value(id); });
}

void TTdTodoHandler::AppendTypeCounts(TStringList& list, bool withTemplates) const {
  const auto counts = CountIds(list_, list, withTemplates, &TTdTodo::Type);
  AppendCounts(list, [&](int id) { return counts.value(id); });
}

void TTdTodoHandler::RemoveEmptyCategories(TStringList& list, TImageIndexList& images, bool withTemplates) const {
  const auto counts = CountIds(list_, list, withTemplates, &TTdTodo::Category);
  RemoveEmpty(list, &images, [&](int id) { return counts.value(id); });
}

void TTdTodoHandler::RemoveEmptyTypes(TStringList& list, TImageIndexList& images, bool withTemplates) const {
  const auto counts = CountIds(list_, list, withTemplates, &TTdTodo::Type);
  RemoveEmpty(list, &images, [&](int id) { return counts.value(id); });
}

void TTdTodoHandler::RemoveEmptyResources(TStringList& list, bool withTemplates) const {
  const auto counts = CountIds(list_, list, withTemplates, &TTdTodo::Resource);
  RemoveEmpty(list, nullptr, [&](int id) { return counts.value(id); });
}

// ---------------------------------------------------------------------------------------
// Due-date group tabs

namespace {

template <int (TTdTodo::*Group)(TDateTime) const>
void AppendGroupCounts(const TTdTodoList& tasks, TStringList& list, int overdue, bool withTemplates) {
  const auto counts = GroupCounts<Group>(tasks, overdue, withTemplates);
  AppendCounts(list, [&](int group) { return CodeCount(counts, group); });
}

template <int (TTdTodo::*Group)(TDateTime) const>
void RemoveEmptyGroups(const TTdTodoList& tasks, TStringList& list, int overdue, bool withTemplates) {
  const auto counts = GroupCounts<Group>(tasks, overdue, withTemplates);
  RemoveEmpty(list, nullptr, [&](int group) { return CodeCount(counts, group); });
}

}  // namespace

void TTdTodoHandler::AppendDayGroupCounts(TStringList& list, bool withTemplates) const {
  AppendGroupCounts<&TTdTodo::DayGroup>(list_, list, kDayGroupOverdue, withTemplates);
}
void TTdTodoHandler::AppendWeekdayGroupCounts(TStringList& list, bool withTemplates) const {
  AppendGroupCounts<&TTdTodo::WeekdayGroup>(list_, list, kWeekdayGroupOverdue, withTemplates);
}
void TTdTodoHandler::AppendWeekGroupCounts(TStringList& list, bool withTemplates) const {
  AppendGroupCounts<&TTdTodo::WeekGroup>(list_, list, kWeekGroupOverdue, withTemplates);
}
void TTdTodoHandler::AppendMonthGroupCounts(TStringList& list, bool withTemplates) const {
  AppendGroupCounts<&TTdTodo::MonthGroup>(list_, list, kMonthGroupOverdue, withTemplates);
}
void TTdTodoHandler::AppendYearGroupCounts(TStringList& list, bool withTemplates) const {
  AppendGroupCounts<&TTdTodo::YearGroup>(list_, list, kYearGroupOverdue, withTemplates);
}

void TTdTodoHandler::RemoveEmptyDayGroups(TStringList& list, bool withTemplates) const {
  RemoveEmptyGroups<&TTdTodo::DayGroup>(list_, list, kDayGroupOverdue, withTemplates);
}
void TTdTodoHandler::RemoveEmptyWeekdayGroups(TStringList& list, bool withTemplates) const {
  RemoveEmptyGroups<&TTdTodo::WeekdayGroup>(list_, list, kWeekdayGroupOverdue, withTemplates);
}
void TTdTodoHandler::RemoveEmptyWeekGroups(TStringList& list, bool withTemplates) const {
  RemoveEmptyGroups<&TTdTodo::WeekGroup>(list_, list, kWeekGroupOverdue, withTemplates);
}
void TTdTodoHandler::RemoveEmptyMonthGroups(TStringList& list, bool withTemplates) const {
  RemoveEmptyGroups<&TTdTodo::MonthGroup>(list_, list, kMonthGroupOverdue, withTemplates);
}
void TTdTodoHandler::RemoveEmptyYearGroups(TStringList& list, bool withTemplates) const {
  RemoveEmptyGroups<&TTdTodo::YearGroup>(list_, list, kYearGroupOverdue, withTemplates);
}

void TTdTodoHandler::FillDayGroups(TStringList& list) const {
  const QDate today = DateTime::ToQDate(DateTime::Today());
  for (int i = 0; i < kDayGroupLater; ++i) list.append({QString::number(today.addDays(i).day()), i});
  AddGroupTail(list, kDayGroupLater);
}

void TTdTodoHandler::FillWeekdayGroups(TStringList& list, const TFormatSettings& settings) const {
  const QDate today = DateTime::ToQDate(DateTime::Today());
  for (int i = 0; i < kWeekdayGroupLater; ++i) {
    const QDate day = today.addDays(i);
    list.append({settings.ShortDayName(day.dayOfWeek()) + QLatin1Char(' ') + QString::number(day.day()), i});
  }
  AddGroupTail(list, kWeekdayGroupLater);
}

void TTdTodoHandler::FillWeekGroups(TStringList& list) const {
  const QDate today = DateTime::ToQDate(DateTime::Today());
  for (int i = 0; i < kWeekGroupLater; ++i)
    list.append({QLatin1Char('W') + QString::number(today.addDays(7 * i).weekNumber()), i});
  AddGroupTail(list, kWeekGroupLater);
}

void TTdTodoHandler::FillMonthGroups(TStringList& list) const {
  const QDate today = DateTime::ToQDate(DateTime::Today());
  for (int i = 0; i < kMonthGroupLater; ++i)
    list.append({QLatin1Char('M') + QString::number(today.addMonths(i).month()), i});
  AddGroupTail(list, kMonthGroupLater);
}

void TTdTodoHandler::FillYearGroups(TStringList& list) const {
  const QDate today = DateTime::ToQDate(DateTime::Today());
  for (int i = 0; i < kYearGroupLater; ++i) list.append({QLatin1Char('Y') + QString::number(today.year() + i), i});
  AddGroupTail(list, kYearGroupLater);
}

// ---------------------------------------------------------------------------------------
// Date bounds

namespace {

// The start value of the earliest-date searches: later than any date a task holds.
TDateTime FirstDateStart() { return DateTime::IncMonth(DateTime::Now() + 1000, 12); }

template <typename Select>
TDateTime Earliest(const TTdTodoList& list, Select select) {
  TDateTime result = FirstDateStart();
  for (const auto& task : list)
    if (const auto v = select(*task); v && *v < result) result = *v;
  return result;
}

template <typename Select>
TDateTime Latest(const TTdTodoList& list, Select select, TDateTime none) {
  bool any = false;
  TDateTime result = 0;
  for (const auto& task : list) {
    const auto v = select(*task);
    if (!v) continue;
    if (!any || *v > result) result = *v;
    any = true;
  }
  return any ? result : none;
}

std::optional<TDateTime> CreatedOf(const TTdTodo& t) { return t.Created; }
std::optional<TDateTime> DueOf(const TTdTodo& t) { return t.Due; }
std::optional<TDateTime> ReminderOf(const TTdTodo& t) { return t.ReminderDateTime; }
std::optional<TDateTime> CompletedOf(const TTdTodo& t) {
  return t.IsClosed() ? std::optional<TDateTime>(t.Completed) : std::nullopt;
}

}  // namespace

TDateTime TTdTodoHandler::FirstCreatedDate() const { return Earliest(list_, CreatedOf); }
TDateTime TTdTodoHandler::FirstDueDate() const { return Earliest(list_, DueOf); }
TDateTime TTdTodoHandler::FirstReminderDate() const { return Earliest(list_, ReminderOf); }
TDateTime TTdTodoHandler::FirstCompletedDate() const { return Earliest(list_, CompletedOf); }
// These start at 0, so an empty store gives 0.
TDateTime TTdTodoHandler::LastCreatedDate() const { return std::max<TDateTime>(0, Latest(list_, CreatedOf, 0)); }
TDateTime TTdTodoHandler::LastDueDate() const { return std::max<TDateTime>(0, Latest(list_, DueOf, 0)); }
TDateTime TTdTodoHandler::LastReminderDate() const { return std::max<TDateTime>(0, Latest(list_, ReminderOf, 0)); }
TDateTime TTdTodoHandler::LastCompletedDate() const {
  return Latest(list_, CompletedOf, DateTime::IncMonth(DateTime::Now() + 1, 12));
}
