// The task file: version 1, LastId, 100 reserved bytes, the count, then the records.
// A record's recurrence block is present only when its template bit is set.
#include "core/BTodo.h"

#include "platform/BinaryStream.h"
#include "platform/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kVersion = 1;
constexpr qsizetype kHeaderSize = 4 + 4 + TTdTodoHandler::kReservedHeaderSize + 4;
// A record whose strings are all empty and that carries no recurrence block.
constexpr qsizetype kMinRecordSize = 4 * 4 + 4 + 4 + 3 * 4 + 1 + 3 * 8 + 4 + 4 + 8 + 4 + 4 + 10 * 4;
constexpr qsizetype kRecurrenceSize = 4 * 4 + 3 * 8 + 4 + 3 * 4;

QString FullPath(const QString& fileName) { return QDir::toNativeSeparators(QFileInfo(fileName).absoluteFilePath()); }

// Reads the records straight out of the file's bytes: every size is checked against
// what remains, and text is decoded without an intermediate copy. Same layout and
// checks as BinaryReader, which copies each string twice.
class RecordReader {
public:
  RecordReader(const QByteArray& bytes, QString fileName)
      : pos_(bytes.constData()), end_(pos_ + bytes.size()), fileName_(std::move(fileName)) {}

  qsizetype Remaining() const { return end_ - pos_; }

  int32_t Int32() { return static_cast<int32_t>(UInt32()); }
  uint32_t UInt32() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  }
  uint8_t UInt8() { return static_cast<uint8_t>(*Take(1)); }
  double Double() {
    const auto* p = reinterpret_cast<const unsigned char*>(Take(8));
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  QByteArray Bytes(qsizetype count) { return QByteArray(Take(count), count); }
  QByteArrayView RawString() {
    const int32_t count = Int32();
    if (count <= 0) return {};
    return QByteArrayView(Take(count), count);
  }
  // UTF-8; bytes that are not valid UTF-8 are Windows-1252 text of earlier versions.
  QString String() {
    const QByteArrayView bytes = RawString();
    if (bytes.isEmpty()) return {};
    QString text = utf8_(bytes);
    if (!utf8_.hasError()) return text;
    utf8_.resetState();
    return DecodeFileText(bytes.toByteArray());
  }

private:
  const char* Take(qsizetype count) {
    if (count < 0 || count > Remaining()) throw EReadError(QStringLiteral("Stream read error in file %1").arg(fileName_));
    const char* data = pos_;
    pos_ += count;
    return data;
  }

  const char* pos_;
  const char* end_;
  QString fileName_;
  // Keeps a leading byte-order mark as a character, so text survives a save unchanged.
  QStringDecoder utf8_{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom};
};

// Writes into one buffer that grows by doubling; each record makes room for its largest
// possible size first, so the field writers need no checks.
class RecordWriter {
public:
  explicit RecordWriter(qsizetype capacity) {
    bytes_.resize(capacity);
    pos_ = bytes_.data();
  }
  void Reserve(qsizetype size) {
    const qsizetype used = pos_ - bytes_.constData();
    if (bytes_.size() - used >= size) return;
    bytes_.resize(std::max(2 * bytes_.size(), used + size));
    pos_ = bytes_.data() + used;
  }
  // The fields go through a local pointer so the compiler keeps it in a register.
  char* Position() const { return pos_; }
  void SetPosition(char* pos) { pos_ = pos; }
  QByteArray Take() {
    bytes_.resize(pos_ - bytes_.constData());
    return std::move(bytes_);
  }
  QStringEncoder& Utf8() { return utf8_; }

private:
  QByteArray bytes_;
  char* pos_ = nullptr;
  QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};

char* PutUInt32(char* p, uint32_t value) {
  qToUnaligned(qToLittleEndian(value), p);
  return p + 4;
}
char* PutInt32(char* p, int32_t value) { return PutUInt32(p, static_cast<uint32_t>(value)); }
char* PutDouble(char* p, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  qToUnaligned(qToLittleEndian(bits), p);
  return p + 8;
}
char* PutBytes(char* p, const QByteArray& bytes) {
  std::memcpy(p, bytes.constData(), static_cast<size_t>(bytes.size()));
  return p + bytes.size();
}
char* PutRawString(char* p, const QByteArray& bytes) {
  return PutBytes(PutInt32(p, static_cast<int32_t>(bytes.size())), bytes);
}
char* PutString(char* p, QStringEncoder& utf8, const QString& text) {
  if (text.isEmpty()) return PutInt32(p, 0);
  char* end = utf8.appendToBuffer(p + 4, text);
  PutInt32(p, static_cast<int32_t>(end - p - 4));
  return end;
}

void ReadRecord(RecordReader& in, TTdTodo& t) {
  t.ID = in.Int32();
  t.Reserved = in.Int32();
  t.Category = in.Int32();
  t.Resource = in.Int32();
  t.Title = in.String();
  t.Notes = in.String();
  t.Priority = in.Int32();
  t.Status = in.Int32();
  t.Type = in.Int32();
  t.Percent = in.UInt8();
  t.Created = in.Double();
  t.Due = in.Double();
  t.Completed = in.Double();
  t.ReminderPath = in.String();
  t.ReminderType = in.Int32();
  t.ReminderDateTime = in.Double();
  t.Flags = in.UInt32();
  t.Association = in.String();
  if (t.IsTemplate()) {
    t.RecurKind = in.Int32();
    t.RecurInterval = in.Int32();
    t.RecurDayMask = in.Int32();
    t.RecurLeadDays = in.Int32();
    t.RecurFirstDate = in.Double();
    t.RecurLastDate = in.Double();
    t.RecurLastGenerated = in.Double();
    t.TemplateId = in.Int32();
    for (int32_t& r : t.RecurReserved) r = in.Int32();
  }
  for (QByteArray& s : t.ReservedStrings) {
    const QByteArrayView raw = in.RawString();
    if (!raw.isEmpty()) s = raw.toByteArray();
  }
}

// An upper bound of the record's size. Text takes at most three UTF-8 bytes per UTF-16 unit.
qsizetype RecordSizeBound(const TTdTodo& t) {
  qsizetype size = kMinRecordSize + kRecurrenceSize;
  size += 3 * (t.Title.size() + t.Notes.size() + t.ReminderPath.size() + t.Association.size());
  for (const QByteArray& s : t.ReservedStrings) size += s.size();
  return size;
}

void WriteRecord(RecordWriter& out, const TTdTodo& t) {
  out.Reserve(RecordSizeBound(t));
  QStringEncoder& utf8 = out.Utf8();
  char* p = out.Position();
  p = PutInt32(p, t.ID);
  p = PutInt32(p, t.Reserved);
  p = PutInt32(p, t.Category);
  p = PutInt32(p, t.Resource);
  p = PutString(p, utf8, t.Title);
  p = PutString(p, utf8, t.Notes);
  p = PutInt32(p, t.Priority);
  p = PutInt32(p, t.Status);
  p = PutInt32(p, t.Type);
  *p++ = static_cast<char>(t.Percent);
  p = PutDouble(p, t.Created);
  p = PutDouble(p, t.Due);
  p = PutDouble(p, t.Completed);
  p = PutString(p, utf8, t.ReminderPath);
  p = PutInt32(p, t.ReminderType);
  p = PutDouble(p, t.ReminderDateTime);
  p = PutUInt32(p, t.Flags);
  p = PutString(p, utf8, t.Association);
  if (t.IsTemplate()) {
    p = PutInt32(p, t.RecurKind);
    p = PutInt32(p, t.RecurInterval);
    p = PutInt32(p, t.RecurDayMask);
    p = PutInt32(p, t.RecurLeadDays);
    p = PutDouble(p, t.RecurFirstDate);
    p = PutDouble(p, t.RecurLastDate);
    p = PutDouble(p, t.RecurLastGenerated);
    p = PutInt32(p, t.TemplateId);
    for (int32_t r : t.RecurReserved) p = PutInt32(p, r);
  }
  for (const QByteArray& s : t.ReservedStrings) p = PutRawString(p, s);
  out.SetPosition(p);
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
  RecordReader in(bytes, FullPath(fileName_));
  if (in.Int32() != kVersion) throw ETodoFileError(QStringLiteral("Wrong version in Todo-file ") + FullPath(fileName_));
  LastId = in.Int32();
  reserved_ = in.Bytes(kReservedHeaderSize);
  const int32_t count = in.Int32();
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
  // Most records are far below their bound; the buffer seldom grows.
  RecordWriter out(kHeaderSize + qsizetype(list_.TaskCount()) * (kMinRecordSize + 256));
  char* p = out.Position();
  p = PutInt32(p, kVersion);
  p = PutInt32(p, LastId);
  p = PutBytes(p, reserved_);
  p = PutInt32(p, list_.TaskCount());
  out.SetPosition(p);
  for (const auto& task : list_) WriteRecord(out, *task);
  return out.Take();
}

void TTdTodoHandler::Save() {
  if (!modified_) return;
  WriteFileSafely(fileName_, SaveToBytes(), true);
  modified_ = false;
}
