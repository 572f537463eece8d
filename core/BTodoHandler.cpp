// The task list, editing through the store, undo, archive, renumbering and counts.
#include "core/BTodo.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

// ---------------------------------------------------------------------------------------
// TTdTodoList

namespace {

size_t LowBit(size_t i) { return i & (~i + 1); }

}  // namespace

TTdTodo* TTdTodoList::Add() {
  Append(std::make_unique<TTdTodo>());
  return items_.back().get();
}

void TTdTodoList::Append(std::unique_ptr<TTdTodo> task) {
  task->slot_.value = static_cast<uint32_t>(items_.size());
  items_.push_back(std::move(task));
  if (live_.empty()) return;
  // The new node covers the slots (i - LowBit(i), i]: this task and those left before it.
  const size_t i = items_.size();
  live_.push_back(1 + LiveBefore(i - 1) - LiveBefore(i - LowBit(i)));
}

void TTdTodoList::Remove(TTdTodo* task) {
  if (!Contains(task)) return;
  const size_t slot = task->slot_.value;
  if (live_.empty()) CountLive();  // there are no gaps yet
  for (size_t i = slot + 1; i < live_.size(); i += LowBit(i)) --live_[i];
  items_[slot].reset();
  ++gaps_;
  if (gaps_ * 2 > items_.size()) Compact();
}

int TTdTodoList::IndexOf(const TTdTodo* task) const {
  if (!Contains(task)) return -1;
  const size_t slot = task->slot_.value;
  return live_.empty() ? static_cast<int>(slot) : LiveBefore(slot);
}

// Tasks left in the slots before this one.
int TTdTodoList::LiveBefore(size_t slot) const {
  int count = 0;
  for (size_t i = slot; i > 0; i -= LowBit(i)) count += live_[i];
  return count;
}

// The slot of the task at the index: the first slot with index + 1 tasks up to it.
size_t TTdTodoList::SlotOf(int index) const {
  size_t slot = 0;
  int wanted = index + 1;
  size_t step = 1;
  while (step * 2 < live_.size()) step *= 2;
  for (; step > 0; step /= 2) {
    if (slot + step < live_.size() && live_[slot + step] < wanted) {
      slot += step;
      wanted -= live_[slot];
    }
  }
  return slot;
}

void TTdTodoList::CountLive() {
  // Without gaps every slot holds a task, and the node of slot i counts LowBit(i) of
  // them. The memory stays with the list between counts.
  live_.resize(items_.size() + 1);
  live_[0] = 0;
  for (size_t i = 1; i < live_.size(); ++i) live_[i] = static_cast<int32_t>(LowBit(i));
}

void TTdTodoList::NumberSlots() {
  for (size_t i = 0; i < items_.size(); ++i) items_[i]->slot_.value = static_cast<uint32_t>(i);
  gaps_ = 0;
  live_.clear();
}

void TTdTodoList::Compact() {
  if (gaps_ == 0) return;
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
  NumberSlots();
}

int TTdTodoList::CopyClosedTo(TTdTodoHandler& target) const {
  int copied = 0;
  for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
    if (!*it || !(*it)->IsClosed()) continue;
    target.AddTodo()->Assign(**it);
    ++copied;
  }
  return copied;
}

int TTdTodoList::RemoveClosed() {
  const int before = TaskCount();
  items_.erase(std::remove_if(items_.begin(), items_.end(), [](const auto& task) { return !task || task->IsClosed(); }),
               items_.end());
  NumberSlots();
  return before - TaskCount();
}

int TTdTodoList::MoveClosedTo(TTdTodoHandler& target) {
  const int moved = CopyClosedTo(target);
  RemoveClosed();
  return moved;
}

// ---------------------------------------------------------------------------------------
// TTdTodoHandler: editing and undo

TTdTodoHandler::TTdTodoHandler(QString fileName)
    : fileName_(std::move(fileName)), reserved_(kReservedHeaderSize, '\0') {}

TTdTodo* TTdTodoHandler::AddTodo() {
  modified_ = true;
  return list_.Add();
}

void TTdTodoHandler::Delete(TTdTodo* task) {
  if (!list_.Contains(task)) return;
  PushUndo(*task);
  list_.Remove(task);
  modified_ = true;
}

void TTdTodoHandler::PushUndo(const TTdTodo& task) {
  if (undo_.size() >= static_cast<size_t>(kUndoLimit)) undo_.pop_front();
  undo_.push_back(task);
}

QString TTdTodoHandler::UndoTitle() const { return undo_.empty() ? QString() : undo_.back().Title; }

TTdTodo* TTdTodoHandler::Undo() {
  if (undo_.empty()) return nullptr;
  TTdTodo* task = list_.Add();
  task->Assign(undo_.back());
  undo_.pop_back();
  modified_ = true;
  return task;
}

// ---------------------------------------------------------------------------------------
// Archive

QString TTdTodoHandler::ArchiveFileName() const {
  return QFileInfo(fileName_).absolutePath() + QDir::separator() + QStringLiteral("archive.tbl");
}

int TTdTodoHandler::ArchiveClosed() {
  TTdTodoHandler archive(ArchiveFileName());
  archive.Load();
  const int moved = list_.CopyClosedTo(archive);
  archive.Save();  // raises before anything leaves this store
  list_.RemoveClosed();
  modified_ = true;
  return moved;
}

void TTdTodoHandler::FillArchiveList(TTodoStringList& list) const {
  for (int i = list_.TaskCount() - 1; i >= 0; --i) {
    TTdTodo* task = list_.GetItem(i);
    list.append({task->StatusText() + QStringLiteral(": ") + ShortDateText(task->Completed) + QLatin1Char('-') +
                     task->Title,
                 task});
  }
}

// ---------------------------------------------------------------------------------------
// Renumbering after a lookup entry was deleted

void TTdTodoHandler::Renumber(int32_t TTdTodo::*field, int32_t k) {
  for (const auto& task : list_) {
    int32_t& value = (*task).*field;
    if (value == k) {
      value = 0;
      modified_ = true;
    } else if (value > k) {
      --value;
      modified_ = true;
    }
  }
}

// ---------------------------------------------------------------------------------------
// Counts

namespace {

template <typename Predicate>
int CountIf(const TTdTodoList& list, bool withTemplates, Predicate predicate) {
  int count = 0;
  for (const auto& task : list)
    if ((withTemplates || !task->IsTemplate()) && predicate(*task)) ++count;
  return count;
}

}  // namespace

int TTdTodoHandler::CountByStatus(int32_t v, bool t) const {
  return CountIf(list_, t, [v](const TTdTodo& x) { return x.Status == v; });
}
int TTdTodoHandler::CountByPriority(int32_t v, bool t) const {
  return CountIf(list_, t, [v](const TTdTodo& x) { return x.Priority == v; });
}
int TTdTodoHandler::CountByType(int32_t v, bool t) const {
  return CountIf(list_, t, [v](const TTdTodo& x) { return x.Type == v; });
}
int TTdTodoHandler::CountByCategory(int32_t v, bool t) const {
  return CountIf(list_, t, [v](const TTdTodo& x) { return x.Category == v; });
}
int TTdTodoHandler::CountByResource(int32_t v, bool t) const {
  return CountIf(list_, t, [v](const TTdTodo& x) { return x.Resource == v; });
}

int TTdTodoHandler::CountOpenInDayGroup(int g, bool t) const {
  const TDateTime today = DateTime::Today();
  return CountIf(list_, t, [=](const TTdTodo& x) { return !x.IsClosed() && x.DayGroup(today) == g; });
}
int TTdTodoHandler::CountOpenInWeekdayGroup(int g, bool t) const {
  const TDateTime today = DateTime::Today();
  return CountIf(list_, t, [=](const TTdTodo& x) { return !x.IsClosed() && x.WeekdayGroup(today) == g; });
}
int TTdTodoHandler::CountOpenInWeekGroup(int g, bool t) const {
  const TDateTime today = DateTime::Today();
  return CountIf(list_, t, [=](const TTdTodo& x) { return !x.IsClosed() && x.WeekGroup(today) == g; });
}
int TTdTodoHandler::CountOpenInMonthGroup(int g, bool t) const {
  const TDateTime today = DateTime::Today();
  return CountIf(list_, t, [=](const TTdTodo& x) { return !x.IsClosed() && x.MonthGroup(today) == g; });
}
int TTdTodoHandler::CountOpenInYearGroup(int g, bool t) const {
  const TDateTime today = DateTime::Today();
  return CountIf(list_, t, [=](const TTdTodo& x) { return !x.IsClosed() && x.YearGroup(today) == g; });
}

int TTdTodoHandler::ClosedCount() const {
  return CountIf(list_, true, [](const TTdTodo& x) { return x.IsClosed(); });
}

bool TTdTodoHandler::HasCancelled() const {
  return std::any_of(list_.begin(), list_.end(), [](const auto& x) { return x->Status == tsCancelled; });
}

bool TTdTodoHandler::HasOK() const {
  return std::any_of(list_.begin(), list_.end(), [](const auto& x) { return x->Status == tsOK; });
}
