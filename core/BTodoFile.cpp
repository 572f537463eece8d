// The task file: version 1, LastId, 100 reserved bytes, the count, then the records.
// A record's recurrence block is present only when its template bit is set.
#include "core/BTodo.h"

#include "platform/BackgroundTextDecoder.h"
#include "platform/BinaryStream.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kVersion = 1;
constexpr qsizetype kHeaderSize = 4 + 4 + TTdTodoHandler::kReservedHeaderSize + 4;
// From this size on the texts are decoded on a second thread; below it, starting the
// thread costs more than it saves.
constexpr qsizetype kBackgroundTextSize = 1 << 20;
// A record whose strings are all empty and that carries no recurrence block.
constexpr qsizetype kMinRecordSize = 4 * 4 + 4 + 4 + 3 * 4 + 1 + 3 * 8 + 4 + 4 + 8 + 4 + 4 + 10 * 4;

QString FullPath(const QString& fileName) { return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()); }

// readText(field) reads one text into the field, now or later.
template <typename ReadText>
void ReadRecord(BinaryReader& in, TTdTodo& t, ReadText readText) {
  t.ID = in.ReadInt32();
  t.Reserved = in.ReadInt32();
  t.Category = in.ReadInt32();
  t.Resource = in.ReadInt32();
  readText(t.Title);
  readText(t.Notes);
  t.Priority = in.ReadInt32();
  t.Status = in.ReadInt32();
  t.Type = in.ReadInt32();
  t.Percent = in.ReadUInt8();
  t.Created = in.ReadDouble();
  t.Due = in.ReadDouble();
  t.Completed = in.ReadDouble();
  readText(t.ReminderPath);
  t.ReminderType = in.ReadInt32();
  t.ReminderDateTime = in.ReadDouble();
  t.Flags = in.ReadUInt32();
  readText(t.Association);
  if (t.IsTemplate()) {
    t.RecurKind = in.ReadInt32();
    t.RecurInterval = in.ReadInt32();
    t.RecurDayMask = in.ReadInt32();
    t.RecurLeadDays = in.ReadInt32();
    t.RecurFirstDate = in.ReadDouble();
    t.RecurLastDate = in.ReadDouble();
    t.RecurLastGenerated = in.ReadDouble();
    t.TemplateId = in.ReadInt32();
    for (int32_t& r : t.RecurReserved) r = in.ReadInt32();
  }
  for (int i = 0; i < TReservedStrings::kCount; ++i) {
    const QByteArrayView raw = in.ReadRawStringView();
    if (!raw.isEmpty()) t.ReservedStrings[i] = raw.toByteArray();
  }
}

void WriteRecord(BinaryWriter& out, const TTdTodo& t) {
  out.WriteInt32(t.ID);
  out.WriteInt32(t.Reserved);
  out.WriteInt32(t.Category);
  out.WriteInt32(t.Resource);
  out.WriteString(t.Title);
  out.WriteString(t.Notes);
  out.WriteInt32(t.Priority);
  out.WriteInt32(t.Status);
  out.WriteInt32(t.Type);
  out.WriteUInt8(t.Percent);
  out.WriteDouble(t.Created);
  out.WriteDouble(t.Due);
  out.WriteDouble(t.Completed);
  out.WriteString(t.ReminderPath);
  out.WriteInt32(t.ReminderType);
  out.WriteDouble(t.ReminderDateTime);
  out.WriteUInt32(t.Flags);
  out.WriteString(t.Association);
  if (t.IsTemplate()) {
    out.WriteInt32(t.RecurKind);
    out.WriteInt32(t.RecurInterval);
    out.WriteInt32(t.RecurDayMask);
    out.WriteInt32(t.RecurLeadDays);
    out.WriteDouble(t.RecurFirstDate);
    out.WriteDouble(t.RecurLastDate);
    out.WriteDouble(t.RecurLastGenerated);
    out.WriteInt32(t.TemplateId);
    for (int32_t r : t.RecurReserved) out.WriteInt32(r);
  }
  for (int i = 0; i < TReservedStrings::kCount; ++i) out.WriteRawString(t.ReservedStrings[i]);
}

}  // namespace

void TTdTodoHandler::Load() {
  QFile file(fileName_);
  if (!file.exists()) {
    modified_ = false;
    return;
  }
  // Unbuffered: the reader has a window of its own.
  if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
    throw EReadError(QStringLiteral("Cannot open file \"%1\". %2").arg(FullPath(fileName_), file.errorString()));
  BinaryReader in(file, file.size(), FullPath(fileName_));
  ReadTasks(in);
}

void TTdTodoHandler::LoadFromBytes(const QByteArray& bytes) {
  BinaryReader in(bytes, FullPath(fileName_));
  ReadTasks(in);
}

void TTdTodoHandler::ReadTasks(BinaryReader& in) {
  if (in.ReadInt32() != kVersion) throw ETodoFileError(QStringLiteral("Wrong version in Todo-file ") + FullPath(fileName_));
  LastId = in.ReadInt32();
  reserved_ = in.ReadBytes(kReservedHeaderSize);
  const int32_t count = in.ReadInt32();
  if (count > 0) list_.Reserve(list_.TaskCount() + static_cast<int>(std::min<qsizetype>(count, in.Remaining() / kMinRecordSize)));
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
