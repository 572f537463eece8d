// The task file: version 1, LastId, 100 reserved bytes, the count, then the records.
// A record's recurrence block is present only when its template bit is set.
#include "core/BTodo.h"

#include "core/UtFiles.h"

#include "platform/BackgroundTextDecoder.h"
#include "platform/BinaryStream.h"
#include "platform/SafeFile.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr int32_t kVersion = 1;
constexpr qsizetype kHeaderSize = 4 + 4 + TTdTodoHandler::kReservedHeaderSize + 4;
// From this size on the texts are decoded on a second thread; below it, starting the
// thread costs more than it saves.
constexpr qsizetype kBackgroundTextSize = 1 << 20;
// A record whose strings are all empty and that carries no recurrence block.
constexpr qsizetype kMinRecordSize = 4 * 4 + 4 + 4 + 3 * 4 + 1 + 3 * 8 + 4 + 4 + 8 + 4 + 4 + 10 * 4;

// Every field of a record in file order, handed to the reader or the writer, so the
// two cannot disagree. Task is TTdTodo when reading and const TTdTodo when writing;
// the template bit is read before the block it decides on.
template <typename Task, typename Fields>
void WalkRecord(Task& t, Fields& f) {
  f.Int32(t.ID);
  f.Int32(t.Reserved);
  f.Int32(t.Category);
  f.Int32(t.Resource);
  f.Text(t.Title);
  f.Text(t.Notes);
  f.Int32(t.Priority);
  f.Int32(t.Status);
  f.Int32(t.Type);
  f.UInt8(t.Percent);
  f.Double(t.Created);
  f.Double(t.Due);
  f.Double(t.Completed);
  f.Text(t.ReminderPath);
  f.Int32(t.ReminderType);
  f.Double(t.ReminderDateTime);
  f.UInt32(t.Flags);
  f.Text(t.Association);
  if (t.IsTemplate()) {
    f.Int32(t.RecurKind);
    f.Int32(t.RecurInterval);
    f.Int32(t.RecurDayMask);
    f.Int32(t.RecurLeadDays);
    f.Double(t.RecurFirstDate);
    f.Double(t.RecurLastDate);
    f.Double(t.RecurLastGenerated);
    f.Int32(t.TemplateId);
    for (auto& r : t.RecurReserved) f.Int32(r);
  }
  for (int i = 0; i < TReservedStrings::kCount; ++i) f.Reserved(t.ReservedStrings, i);
}

// readText(field) reads one text into the field, now or later.
template <typename ReadText>
struct FieldReader {
  BinaryReader& in;
  ReadText readText;

  void Int32(int32_t& v) { v = in.ReadInt32(); }
  void UInt32(uint32_t& v) { v = in.ReadUInt32(); }
  void UInt8(uint8_t& v) { v = in.ReadUInt8(); }
  void Double(double& v) { v = in.ReadDouble(); }
  void Text(QString& v) { readText(v); }
  void Reserved(TReservedStrings& r, int i) {
    const QByteArrayView raw = in.ReadRawStringView();
    if (!raw.isEmpty()) r[i] = raw.toByteArray();  // most tasks keep none allocated
  }
};

struct FieldWriter {
  BinaryWriter& out;

  void Int32(int32_t v) { out.WriteInt32(v); }
  void UInt32(uint32_t v) { out.WriteUInt32(v); }
  void UInt8(uint8_t v) { out.WriteUInt8(v); }
  void Double(double v) { out.WriteDouble(v); }
  void Text(const QString& v) { out.WriteString(v); }
  void Reserved(const TReservedStrings& r, int i) { out.WriteRawString(r[i]); }
};

template <typename ReadText>
void ReadRecord(BinaryReader& in, TTdTodo& t, ReadText readText) {
  FieldReader<ReadText> fields{in, std::move(readText)};
  WalkRecord(t, fields);
}

void WriteRecord(BinaryWriter& out, const TTdTodo& t) {
  FieldWriter fields{out};
  WalkRecord(t, fields);
}

}  // namespace

void TTdTodoHandler::Load() {
  QFile file(fileName_);
  if (!file.exists()) {
    modified_ = false;
    return;
  }
  LoadOrMarkFailed(loadFailed_, [&] {
    // Unbuffered: the reader has a window of its own.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
      throw EReadError(QStringLiteral("Cannot open file \"%1\". %2").arg(FullPath(fileName_), file.errorString()));
    BinaryReader in(file, file.size(), FullPath(fileName_));
    ReadTasks(in);
  });
}

void TTdTodoHandler::LoadFromBytes(const QByteArray& bytes) {
  LoadOrMarkFailed(loadFailed_, [&] {
    BinaryReader in(bytes, FullPath(fileName_));
    ReadTasks(in);
  });
}

void TTdTodoHandler::ReadTasks(BinaryReader& in) {
  if (in.ReadInt32() != kVersion) throw ETodoFileError(QStringLiteral("Wrong version in Todo-file ") + FullPath(fileName_));
  LastId = in.ReadInt32();
  reserved_ = in.ReadBytes(kReservedHeaderSize);
  const int32_t count = in.ReadInt32();
  if (count < 0) in.Fail();
  list_.Reserve(list_.TaskCount() + static_cast<int>(std::min<qsizetype>(count, in.Remaining() / kMinRecordSize)));
  const TDateTime now = DateTime::Now();
  if (in.Remaining() < kBackgroundTextSize) {
    for (int32_t i = 0; i < count; ++i) {
      auto task = std::make_unique<TTdTodo>(now);
      ReadRecord(in, *task, [&in](QString& text) { text = in.ReadString(); });
      list_.Append(std::move(task));
    }
  } else {
    // A record cut short is freed before its texts are committed, so they are never
    // decoded; the decoder finishes the committed ones even when reading fails.
    BackgroundTextDecoder decoder;
    for (int32_t i = 0; i < count; ++i) {
      auto task = std::make_unique<TTdTodo>(now);
      ReadRecord(in, *task, [&](QString& text) { decoder.Defer(in.ReadRawStringView(), &text); });
      list_.Append(std::move(task));
      decoder.Commit();
    }
  }
  in.ExpectEnd();
  modified_ = false;
}

void TTdTodoHandler::WriteTasks(BinaryWriter& out) const {
  out.WriteInt32(kVersion);
  out.WriteInt32(LastId);
  out.WriteBytes(reserved_);
  out.WriteInt32(list_.TaskCount());
  for (const auto& task : list_) WriteRecord(out, *task);
}

QByteArray TTdTodoHandler::SaveToBytes() const {
  // Most records are far below this; the buffer seldom grows.
  BinaryWriter out(kHeaderSize + qsizetype(list_.TaskCount()) * (kMinRecordSize + 256));
  WriteTasks(out);
  return out.Take();
}

void TTdTodoHandler::Save() {
  if (!modified_) return;
  // The store holds at most the records before the damage: written, they would replace
  // every task the file still holds.
  if (loadFailed_) RefuseToOverwriteUnread(fileName_);
  list_.Compact();  // it walks every task anyway
  // Straight to the file through the writer's window: a copy of a large file in memory
  // cost more than writing it.
  WriteFileSafely(
      fileName_,
      [this](const FileChunkWrite& write) {
        BinaryWriter out(write);
        WriteTasks(out);
        out.Flush();
      },
      true);
  modified_ = false;
}
