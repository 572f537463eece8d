#pragma once
// Little-endian, packed reading and writing of the table files' fields. The reader
// checks every size against the bytes that remain, so a cut or damaged file raises
// EReadError and never makes us allocate more than the file holds. Each works on one
// buffer, or on a file through a small window that stays in the processor's cache:
// a copy of a large file in memory cost more than reading or writing it.
#include "platform/FileText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringEncoder>
#include <QtEndian>
#include <cstdint>
#include <cstring>
#include <functional>

class BinaryReader {
public:
  // fileName only names the file in error messages. The bytes must outlive the reader.
  BinaryReader(const QByteArray& bytes, QString fileName);
  // Reads the next size bytes of the device, which must stay open while reading.
  BinaryReader(QIODevice& device, qsizetype size, QString fileName);
  BinaryReader(const BinaryReader&) = delete;
  BinaryReader& operator=(const BinaryReader&) = delete;

  int32_t ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }
  uint32_t ReadUInt32() { return qFromLittleEndian<uint32_t>(Take(4)); }
  uint8_t ReadUInt8() { return static_cast<uint8_t>(*Take(1)); }
  double ReadDouble() {
    const uint64_t bits = qFromLittleEndian<uint64_t>(Take(8));
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  QByteArray ReadBytes(qsizetype count) { return QByteArray(Take(count), count); }
  // A 32-bit byte count and that many bytes; a count of 0 or less is the empty text.
  // The view points into the reader's buffer and holds until the next read.
  QByteArrayView ReadRawStringView() {
    const int32_t count = ReadInt32();
    if (count <= 0) return {};
    return QByteArrayView(Take(count), count);
  }
  QByteArray ReadRawString() { return ReadRawStringView().toByteArray(); }
  // Texts read by one reader share their storage.
  QString ReadString() {
    const QByteArrayView bytes = ReadRawStringView();
    // Each text left needs at most its bytes and a terminating zero, and takes a
    // four-byte length besides.
    return textPool_.Decode(bytes, Remaining() + Remaining() / 4);
  }

  qsizetype Remaining() const { return end_ - pos_ + unread_; }
  const QString& FileName() const { return fileName_; }

  // A table file ends where its last announced record ends: bytes left over mean its
  // count is wrong, and loading the records it announces would silently drop the rest.
  void ExpectEnd() const {
    if (Remaining() != 0) Fail();
  }
  // The read error naming the file, as for a file that ends early.
  [[noreturn]] void Fail() const;

private:
  const char* Take(qsizetype count) {
    if (count < 0 || count > end_ - pos_) Refill(count);
    const char* data = pos_;
    pos_ += count;
    return data;
  }
  // Makes the next count bytes whole in the window, or fails.
  void Refill(qsizetype count);

  const char* pos_ = nullptr;
  const char* end_ = nullptr;
  QIODevice* device_ = nullptr;
  qsizetype unread_ = 0;  // bytes of the device not yet in the window
  QByteArray window_;
  QString fileName_;
  FileTextPool textPool_;
};

class BinaryWriter {
public:
  explicit BinaryWriter(qsizetype capacity = 256);
  // Hands the bytes to sink whenever the window is full and on Flush, instead of
  // keeping them all.
  explicit BinaryWriter(std::function<void(QByteArrayView)> sink);

  void WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }
  void WriteUInt32(uint32_t value) {
    Ensure(4);
    qToLittleEndian(value, pos_);
    pos_ += 4;
  }
  void WriteUInt8(uint8_t value) {
    Ensure(1);
    *pos_++ = static_cast<char>(value);
  }
  void WriteDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Ensure(8);
    qToLittleEndian(bits, pos_);
    pos_ += 8;
  }
  void WriteBytes(QByteArrayView bytes) {
    Ensure(bytes.size());
    if (!bytes.isEmpty()) std::memcpy(pos_, bytes.data(), static_cast<size_t>(bytes.size()));
    pos_ += bytes.size();
  }
  void WriteRawString(QByteArrayView bytes) {
    WriteInt32(static_cast<int32_t>(bytes.size()));
    WriteBytes(bytes);
  }
  void WriteString(const QString& text);

  qsizetype Size() const { return pos_ - bytes_.constData(); }
  // The bytes written; the writer is empty afterwards.
  QByteArray Take();
  // Hands what is still in the window to the sink.
  void Flush();

private:
  void Ensure(qsizetype count) {
    if (bytes_.size() - Size() < count) Grow(count);
  }
  void Grow(qsizetype count);

  QByteArray bytes_;
  char* pos_ = nullptr;
  std::function<void(QByteArrayView)> sink_;
  QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
