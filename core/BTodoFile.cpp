// The task file: version 1, LastId, 100 reserved bytes, the count, then the records.
// A record's recurrence block is present only when its template bit is set.
#include "core/BTodo.h"

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
// A record whose strings are all empty and that carries no recurrence block.
constexpr qsizetype kMinRecordSize = 4 * 4 + 4 + 4 + 3 * 4 + 1 + 3 * 8 + 4 + 4 + 8 + 4 + 4 + 10 * 4;

QString FullPath(const QString& fileName) { return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()); }

void ReadRecord(BinaryReader& in, TTdTodo& t) {
  t.ID = in.ReadInt32();
  t.Reserved = in.ReadInt32();
  t.Category = in.ReadInt32();
  t.Resource = in.ReadInt32();
  t.Title = in.ReadString();
  t.Notes = in.ReadString();
  t.Priority = in.ReadInt32();
  t.Status = in.ReadInt32();
  t.Type = in.ReadInt32();
  t.Percent = in.ReadUInt8();
  t.Created = in.ReadDouble();
  t.Due = in.ReadDouble();
  t.Completed = in.ReadDouble();
  t.ReminderPath = in.ReadString();
  t.ReminderType = in.ReadInt32();
  t.ReminderDateTime = in.ReadDouble();
  t.Flags = in.ReadUInt32();
  t.Association = in.ReadString();
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
  for (QByteArray& s : t.ReservedStrings) {
    const QByteArrayView raw = in.ReadRawStringView();
    if (!raw.isEmpty()) s = raw.toByteArray();
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
  for (const QByteArray& s : t.ReservedStrings) out.WriteRawString(s);
}

}  // namespace

void TTdTodoHandler::Load() {
  QFile file(fileName_);
  if (!file.exists()) {
    modified_ = false;
    return;
  }
  if (!file.open(QIODevice::ReadOnly))
    throw EReadError(QStringLiteral("Cannot open file \"%1\". %2").arg(FullPath(fileName_), file.errorString()));
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    throw EReadError(QStringLiteral("Stream read error in file %1").arg(FullPath(fileName_)));
  LoadFromBytes(bytes);
}

void TTdTodoHandler::LoadFromBytes(const QByteArray& bytes) {
  BinaryReader in(bytes, FullPath(fileName_));
  if (in.ReadInt32() != kVersion) throw ETodoFileError(QStringLiteral("Wrong version in Todo-file ") + FullPath(fileName_));
  LastId = in.ReadInt32();
  reserved_ = in.ReadBytes(kReservedHeaderSize);
  const int32_t count = in.ReadInt32();
  if (count > 0) list_.Reserve(list_.TaskCount() + static_cast<int>(std::min<qsizetype>(count, in.Remaining() / kMinRecordSize)));
  const TDateTime now = DateTime::Now();
  for (int32_t i = 0; i < count; ++i) {
    auto task = std::make_unique<TTdTodo>(now);
    ReadRecord(in, *task);
    list_.Append(std::move(task));
  }
  modified_ = false;
}

QByteArray TTdTodoHandler::SaveToBytes() const {
  // Most records are far below this; the buffer seldom grows.
  BinaryWriter out(kHeaderSize + qsizetype(list_.TaskCount()) * (kMinRecordSize + 256));
  out.WriteInt32(kVersion);
  out.WriteInt32(LastId);
  out.WriteBytes(reserved_);
  out.WriteInt32(list_.TaskCount());
  for (const auto& task : list_) WriteRecord(out, *task);
  return out.Take();
}

void TTdTodoHandler::Save() {
  if (!modified_) return;
  WriteFileSafely(fileName_, SaveToBytes(), true);
  modified_ = false;
}
