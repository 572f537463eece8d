#pragma once
// The task record, its vocabularies and caption tables, and the task store bound to one
// task file (todo.tbl, or archive.tbl for the archive).
#include "platform/FormatSettings.h"
#include "core/StringList.h"
#include "platform/DateTime.h"
#include "platform/Exception.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <cstddef>
#include <deque>
#include <iterator>
#include <memory>
#include <vector>

// ---------------------------------------------------------------------------------------
// Codes

enum : int32_t {
  tsCreated = 0,
  tsOpen = 1,
  tsWaiting = 2,
  tsOnHold = 3,
  tsCancelled = 4,
  tsOK = 5,
};
constexpr int kStatusCount = 6;
constexpr int kPriorityCount = 5;
constexpr int kReminderTypeCount = 8;

// Bits of TTdTodo::Flags. Bits not named here are carried unchanged.
enum : uint32_t {
  tfFlagged = 1u << 0,
  tfReminderActivated = 1u << 1,
  tfReminderGiven = 1u << 2,
  tfReminderAccepted = 1u << 3,
  tfIsTemplate = 1u << 4,
  tfFromTemplate = 1u << 5,
  tfOnlyOneOpen = 1u << 6,
};

// Due-date groups: the number of groups before "Later"; "Overdue" follows "Later".
constexpr int kDayGroupLater = 31, kDayGroupOverdue = 32;
constexpr int kWeekdayGroupLater = 14, kWeekdayGroupOverdue = 15;
constexpr int kWeekGroupLater = 52, kWeekGroupOverdue = 53;
constexpr int kMonthGroupLater = 12, kMonthGroupOverdue = 13;
constexpr int kYearGroupLater = 10, kYearGroupOverdue = 11;

// ---------------------------------------------------------------------------------------
// One task

// The ten reserved strings of a task, carried byte for byte from file to file. Nearly
// every task has none, so they take one pointer until one of them is set: ten empty
// byte arrays in each of 100,000 tasks were a tenth of the memory a large store loads.
class TReservedStrings {
public:
  static constexpr int kCount = 10;

  TReservedStrings() = default;
  TReservedStrings(const TReservedStrings& other) { *this = other; }
  TReservedStrings& operator=(const TReservedStrings& other) {
    if (this != &other) strings_ = other.strings_ ? std::make_unique<Strings>(*other.strings_) : nullptr;
    return *this;
  }
  TReservedStrings(TReservedStrings&&) noexcept = default;
  TReservedStrings& operator=(TReservedStrings&&) noexcept = default;

  const QByteArray& operator[](int index) const {
    static const QByteArray empty;
    return strings_ ? (*strings_)[static_cast<size_t>(index)] : empty;
  }
  QByteArray& operator[](int index) {
    if (!strings_) strings_ = std::make_unique<Strings>();
    return (*strings_)[static_cast<size_t>(index)];
  }
  friend bool operator==(const TReservedStrings& a, const TReservedStrings& b) {
    for (int i = 0; i < kCount; ++i)
      if (a[i] != b[i]) return false;
    return true;
  }

private:
  using Strings = std::array<QByteArray, kCount>;
  std::unique_ptr<Strings> strings_;
};

class TTdTodoList;

// Where a task stands in the list that owns it. A copy of a task is in no list, and
// assigning one task to another keeps the target's place.
class TListSlot {
public:
  static constexpr uint32_t kNone = ~0u;
  TListSlot() = default;
  TListSlot(const TListSlot&) {}
  TListSlot& operator=(const TListSlot&) { return *this; }

private:
  friend class TTdTodoList;
  uint32_t value = kNone;
};

class TTdTodo {
public:
  // Created and the recurrence dates start at Now.
  TTdTodo();
  // The same with a given Now, for loops that make many tasks.
  explicit TTdTodo(TDateTime now);

  // Copies every field, id, flags, recurrence block and reserved fields included.
  void Assign(const TTdTodo& source) { *this = source; }

  // Closing (4, 5) completes the task and switches its reminder off; any other status
  // clears the completion date and the percentage. Setting the current status does nothing.
  void SetStatus(int32_t status);

  bool Flagged() const { return HasFlag(tfFlagged); }
  void SetFlagged(bool on) { SetFlag(tfFlagged, on); }
  bool ReminderActivated() const { return HasFlag(tfReminderActivated); }
  // Switching the reminder on forgets that it was given and accepted.
  void SetReminderActivated(bool on);
  bool ReminderGiven() const { return HasFlag(tfReminderGiven); }
  void SetReminderGiven(bool on) { SetFlag(tfReminderGiven, on); }
  bool ReminderAccepted() const { return HasFlag(tfReminderAccepted); }
  void SetReminderAccepted(bool on) { SetFlag(tfReminderAccepted, on); }
  bool IsTemplate() const { return HasFlag(tfIsTemplate); }
  void SetIsTemplate(bool on) { SetFlag(tfIsTemplate, on); }
  bool FromTemplate() const { return HasFlag(tfFromTemplate); }
  void SetFromTemplate(bool on) { SetFlag(tfFromTemplate, on); }
  bool OnlyOneOpen() const { return HasFlag(tfOnlyOneOpen); }
  void SetOnlyOneOpen(bool on) { SetFlag(tfOnlyOneOpen, on); }

  bool IsClosed() const { return Status == tsCancelled || Status == tsOK; }
  bool IsOK() const { return Status == tsOK; }
  bool IsOverdue() const;
  double DaysGone() const;
  double DaysLeft() const;

  QString PriorityText() const;
  QString StatusText() const;
  QString ReminderTypeText() const;

  static int32_t ReminderTypeOf(bool beep, bool sound, bool speech);
  static bool ReminderHasBeep(int32_t reminderType);
  static bool ReminderHasSound(int32_t reminderType);
  static bool ReminderHasSpeech(int32_t reminderType);

  // Due-date groups for the quick-filter tabs; "overdue" compares dates only. The
  // overloads taking today serve loops over many tasks.
  int DayGroup() const { return DayGroup(DateTime::Today()); }
  int WeekdayGroup() const { return WeekdayGroup(DateTime::Today()); }
  int WeekGroup() const { return WeekGroup(DateTime::Today()); }
  int MonthGroup() const { return MonthGroup(DateTime::Today()); }
  int YearGroup() const { return YearGroup(DateTime::Today()); }
  int DayGroup(TDateTime today) const;
  int WeekdayGroup(TDateTime today) const;
  int WeekGroup(TDateTime today) const;
  int MonthGroup(TDateTime today) const;
  int YearGroup(TDateTime today) const;

  // For a template: the due date of its next instance and the day that instance is to be
  // created. False when there is none: the rule selects no day, the date lies past the
  // last allowed one, or it would not come after the newest instance. Changes nothing.
  bool NextOccurrence(TDateTime& next, TDateTime& creationDate) const;

  // Persistent fields, in file order.
  int32_t ID = 0;
  int32_t Reserved = 0;
  int32_t Category = 0;
  int32_t Resource = 0;
  QString Title;
  QString Notes;
  int32_t Priority = 0;
  int32_t Status = tsCreated;  // editors change it through SetStatus
  int32_t Type = 0;
  uint8_t Percent = 0;
  TDateTime Created = 0;
  TDateTime Due = 0;
  TDateTime Completed = 0;
  QString ReminderPath;
  int32_t ReminderType = 0;
  TDateTime ReminderDateTime = 0;
  uint32_t Flags = tfOnlyOneOpen;
  QString Association;
  // Recurrence block, stored only for templates.
  int32_t RecurKind = 0;
  int32_t RecurInterval = 1;
  int32_t RecurDayMask = 0;
  int32_t RecurLeadDays = 3;
  TDateTime RecurFirstDate = 0;
  TDateTime RecurLastDate = 0;
  TDateTime RecurLastGenerated = 0;
  int32_t TemplateId = 0;
  std::array<int32_t, 3> RecurReserved{};
  // Carried byte for byte from file to file.
  TReservedStrings ReservedStrings;

private:
  friend class TTdTodoList;
  bool HasFlag(uint32_t bit) const { return (Flags & bit) != 0; }
  void SetFlag(uint32_t bit, bool on) { Flags = on ? (Flags | bit) : (Flags & ~bit); }

  TListSlot slot_;
};

// ---------------------------------------------------------------------------------------
// Vocabularies, image indexes and caption tables

// Empty text for a code outside the table.
QString StatusTextOf(int32_t status);
QString PriorityTextOf(int32_t priority);
QString ReminderTypeTextOf(int32_t reminderType);

// Indexes into the shared task image list; defaultIndex for a value outside the table.
int PriorityImageIndex(int32_t priority, int defaultIndex);
int StatusImageIndex(int32_t status, int defaultIndex);
int ReminderTypeImageIndex(int32_t reminderType, int defaultIndex);

constexpr int kColumnCount = 19;
// The task tree's column captions, empty outside 0..18.
QString ColumnCaption(int column);
// The one-letter caption of a narrow column, or empty.
QString ColumnLetter(int column);
// Adds the 19 captions, each with its column number as the object.
void FillColumnNames(TStringList& list);

void FillStatusNames(TStringList& list);
void FillPriorityNames(TStringList& list);

// The printable task fields: the name offered in the list and the column heading.
struct TPrintField {
  const char* ListName;
  const char* Heading;
};
constexpr int kPrintFieldCount = 28;
extern const std::array<TPrintField, kPrintFieldCount> PrintFields;

// The short date, a blank and the time; no time at exactly midnight.
QString DateTimeText(TDateTime value);
// The date in the short date format.
QString ShortDateText(TDateTime value);

// "[TEMPLATE] Pay rent" -> "Pay rent"; any other title unchanged.
QString StripTemplatePrefix(const QString& title);

// ---------------------------------------------------------------------------------------
// The store

class TTdTodoHandler;
class BinaryReader;
class BinaryWriter;

// Owns its tasks, in file order; a task keeps its address while it is in the list.
//
// A removal leaves a gap instead of moving every later task, and a count of the tasks
// left before each place answers IndexOf and GetItem, so deleting k tasks out of n
// costs O(n + k log n) instead of k times n. The gaps are closed by Compact (which a
// save, RemoveClosed and a list more than half gaps call).
class TTdTodoList {
public:
  TTdTodoList() = default;
  TTdTodoList(const TTdTodoList&) = delete;
  TTdTodoList& operator=(const TTdTodoList&) = delete;

  // Appends a task with the construction defaults. O(1) amortized; O(log n) with gaps.
  TTdTodo* Add();
  void Append(std::unique_ptr<TTdTodo> task);
  // Removes and frees the task; a task not in the list is ignored. O(log n); the first
  // removal after the gaps were closed fills the counts once, O(n) with a small
  // constant (a save, which closes them, is O(n) anyway).
  void Remove(TTdTodo* task);
  // O(1); O(log n) with gaps.
  TTdTodo* GetItem(int index) const {
    return items_[live_.empty() ? static_cast<size_t>(index) : SlotOf(index)].get();
  }
  int TaskCount() const { return static_cast<int>(items_.size() - gaps_); }
  // -1 for a task not in this list. O(1); O(log n) with gaps.
  int IndexOf(const TTdTodo* task) const;
  bool Contains(const TTdTodo* task) const {
    return task && task->slot_.value < items_.size() && items_[task->slot_.value].get() == task;
  }
  void Reserve(int count) { items_.reserve(static_cast<size_t>(count)); }
  // Closes the gaps that removals left. O(n) when there are any.
  void Compact();

  // Copies the closed tasks, last first, into new tasks of the target store.
  int CopyClosedTo(TTdTodoHandler& target) const;
  // Frees the closed tasks; the others keep their order.
  int RemoveClosed();
  // CopyClosedTo, then RemoveClosed.
  int MoveClosedTo(TTdTodoHandler& target);

  // Walks the tasks in order, over any gaps.
  class const_iterator {
  public:
    using Base = std::vector<std::unique_ptr<TTdTodo>>::const_iterator;
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::unique_ptr<TTdTodo>;
    using difference_type = std::ptrdiff_t;
    using pointer = const value_type*;
    using reference = const value_type&;

    const_iterator() = default;
    const_iterator(Base at, Base end) : at_(at), end_(end) { SkipGaps(); }
    reference operator*() const { return *at_; }
    pointer operator->() const { return &*at_; }
    const_iterator& operator++() {
      ++at_;
      SkipGaps();
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.at_ == b.at_; }

  private:
    void SkipGaps() {
      while (at_ != end_ && !*at_) ++at_;
    }
    Base at_, end_;
  };
  const_iterator begin() const { return {items_.begin(), items_.end()}; }
  const_iterator end() const { return {items_.end(), items_.end()}; }

private:
  size_t SlotOf(int index) const;
  int LiveBefore(size_t slot) const;
  void CountLive();
  void NumberSlots();

  std::vector<std::unique_ptr<TTdTodo>> items_;  // nullptr where a task was removed
  size_t gaps_ = 0;
  // A Fenwick tree of the tasks left per slot (1-based), kept only while there are gaps.
  std::vector<int32_t> live_;
};

// A task file whose version word is not 1.
class ETodoFileError : public Exception {
public:
  using Exception::Exception;
};

// Archive list items carry their task.
using TTodoStringList = QList<TObjectStringItem<TTdTodo*>>;

class TTdTodoHandler {
public:
  static constexpr int kUndoLimit = 10;
  static constexpr int kReservedHeaderSize = 100;

  explicit TTdTodoHandler(QString fileName);
  TTdTodoHandler(const TTdTodoHandler&) = delete;
  TTdTodoHandler& operator=(const TTdTodoHandler&) = delete;

  const QString& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }

  // Appends the tasks of the file; a missing file leaves the store empty. Raises
  // ETodoFileError for a wrong version and EReadError for a damaged file: one that ends
  // early, a negative count, or bytes after the last announced record. Tasks read
  // before the damage stay in the store, but the store then never writes its file.
  void Load();
  void LoadFromBytes(const QByteArray& bytes);
  // Writes the file when modified, keeping the previous one as the "~" copy. Raises
  // EWriteError and stays modified when the file cannot be written, or when a load of
  // it failed.
  void Save();
  QByteArray SaveToBytes() const;

  // The last id given to a task; the caller of AddTodo gives a confirmed task LastId + 1.
  int32_t LastId = 0;
  const QByteArray& ReservedHeader() const { return reserved_; }

  TTdTodo* AddTodo();
  // Keeps a copy for Undo, then frees the task.
  void Delete(TTdTodo* task);
  void PushUndo(const TTdTodo& task);
  int UndoCount() const { return static_cast<int>(undo_.size()); }
  // Empty when there is nothing to undo.
  QString UndoTitle() const;
  // Restores the newest deleted task, old id included; nullptr when there is none.
  TTdTodo* Undo();

  // Lets every open template create the instances that are due by today, catching up
  // missed ones; appends them without marking the store modified. Returns how many.
  int GenerateRecurring();

  TTdTodo* GetTodo(int index) const { return list_.GetItem(index); }
  int TaskCount() const { return list_.TaskCount(); }
  TTdTodoList& Todos() { return list_; }
  const TTdTodoList& Todos() const { return list_; }

  // Moves the closed tasks into archive.tbl beside this file. The tasks leave this store
  // only after the archive was written. Returns how many moved.
  int ArchiveClosed();
  QString ArchiveFileName() const;
  // "OK: 03.05.2004-Call the bank", last task first, each carrying its task.
  void FillArchiveList(TTodoStringList& list) const;

  // After the lookup entry at position k was deleted: k becomes 0, higher positions move
  // down; the store is marked modified when a task changed.
  void Renumber(int32_t TTdTodo::*field, int32_t k);
  void RenumberCategory(int32_t k) { Renumber(&TTdTodo::Category, k); }
  void RenumberResource(int32_t k) { Renumber(&TTdTodo::Resource, k); }
  void RenumberType(int32_t k) { Renumber(&TTdTodo::Type, k); }

  // Counts; templates count only when withTemplates is set.
  int CountByStatus(int32_t status, bool withTemplates) const;
  int CountByPriority(int32_t priority, bool withTemplates) const;
  int CountByType(int32_t type, bool withTemplates) const;
  int CountByCategory(int32_t category, bool withTemplates) const;
  int CountByResource(int32_t resource, bool withTemplates) const;
  // Open tasks (status not 4 or 5) in the group.
  int CountOpenInDayGroup(int group, bool withTemplates) const;
  int CountOpenInWeekdayGroup(int group, bool withTemplates) const;
  int CountOpenInWeekGroup(int group, bool withTemplates) const;
  int CountOpenInMonthGroup(int group, bool withTemplates) const;
  int CountOpenInYearGroup(int group, bool withTemplates) const;
  int ClosedCount() const;
  bool HasCancelled() const;
  bool HasOK() const;

  // Quick-filter tab lists.
  void AddStatusItems(TStringList& list, bool showCounts, bool withTemplates, bool hideEmpty) const;
  void AddPriorityItems(TStringList& list, bool showCounts, bool withTemplates, bool hideEmpty) const;
  void AppendCategoryCounts(TStringList& list, bool withTemplates) const;
  void AppendResourceCounts(TStringList& list, bool withTemplates) const;
  void AppendTypeCounts(TStringList& list, bool withTemplates) const;
  void AppendDayGroupCounts(TStringList& list, bool withTemplates) const;
  void AppendWeekdayGroupCounts(TStringList& list, bool withTemplates) const;
  void AppendWeekGroupCounts(TStringList& list, bool withTemplates) const;
  void AppendMonthGroupCounts(TStringList& list, bool withTemplates) const;
  void AppendYearGroupCounts(TStringList& list, bool withTemplates) const;
  void RemoveEmptyCategories(TStringList& list, TImageIndexList& images, bool withTemplates) const;
  void RemoveEmptyTypes(TStringList& list, TImageIndexList& images, bool withTemplates) const;
  void RemoveEmptyResources(TStringList& list, bool withTemplates) const;
  void RemoveEmptyDayGroups(TStringList& list, bool withTemplates) const;
  void RemoveEmptyWeekdayGroups(TStringList& list, bool withTemplates) const;
  void RemoveEmptyWeekGroups(TStringList& list, bool withTemplates) const;
  void RemoveEmptyMonthGroups(TStringList& list, bool withTemplates) const;
  void RemoveEmptyYearGroups(TStringList& list, bool withTemplates) const;
  void GetStatusTabImages(TImageIndexList& images, bool hideEmpty, bool withTemplates) const;
  void GetPriorityTabImages(TImageIndexList& images, bool hideEmpty, bool withTemplates) const;

  // Group captions, each item's object being its group number.
  void FillDayGroups(TStringList& list) const;
  void FillWeekdayGroups(TStringList& list, const TFormatSettings& settings) const;
  void FillWeekGroups(TStringList& list) const;
  void FillMonthGroups(TStringList& list) const;
  void FillYearGroups(TStringList& list) const;

  // Bounds for the filter dialog.
  TDateTime FirstCreatedDate() const;
  TDateTime FirstDueDate() const;
  TDateTime FirstReminderDate() const;
  TDateTime FirstCompletedDate() const;
  TDateTime LastCreatedDate() const;
  TDateTime LastDueDate() const;
  TDateTime LastReminderDate() const;
  TDateTime LastCompletedDate() const;

private:
  void ReadTasks(BinaryReader& in);
  void WriteTasks(BinaryWriter& out) const;

  bool modified_ = false;
  bool loadFailed_ = false;
  QString fileName_;
  int32_t version_ = 1;
  QByteArray reserved_;
  TTdTodoList list_;
  std::deque<TTdTodo> undo_;
};

// After the lookup entry at position k was deleted: renumbers the field in the tasks of
// archive.tbl in the folder (which ends with "/") and writes the file at once when a
// task changed.
template <int32_t TTdTodo::*Field>
void RenumberArchive(const QString& folder, int32_t k) {
  TTdTodoHandler archive(folder + QStringLiteral("archive.tbl"));
  archive.Load();
  archive.Renumber(Field, k);
  archive.Save();
}
