#pragma once
// Little-endian, packed reading and writing of the table files' fields. The reader
// checks every size against the bytes that remain, so a cut or damaged file raises
// EReadError and never makes us allocate more than the file holds. Both work straight
// on one buffer: files of 100,000 tasks load and save in a few tens of milliseconds.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>
#include <QtEndian>
#include <cstdint>
#include <cstring>

// Text as the table files hold it: UTF-8, or Windows-1252 where the bytes are not valid
// UTF-8 (files of earlier versions). A leading byte-order mark is kept as a character,
// so text survives a save unchanged.
QString DecodeFileText(QByteArrayView bytes);
QByteArray EncodeFileText(const QString& text);

class BinaryReader {
public:
  // fileName only names the file in error messages. The bytes must outlive the reader.
  BinaryReader(const QByteArray& bytes, QString fileName);

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
  // The view points into the reader's buffer.
  QByteArrayView ReadRawStringView();
  QByteArray ReadRawString() { return ReadRawStringView().toByteArray(); }
  QString ReadString();

  qsizetype Remaining() const { return end_ - pos_; }
  const QString& FileName() const { return fileName_; }

private:
  const char* Take(qsizetype count) {
    if (count < 0 || count > Remaining()) Fail();
    const char* data = pos_;
    pos_ += count;
    return data;
  }
  [[noreturn]] void Fail() const;

  const char* pos_;
  const char* end_;
  QString fileName_;
};

class BinaryWriter {
public:
  explicit BinaryWriter(qsizetype capacity = 256);

  void WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }
  void WriteUInt32(uint32_t value);
  void WriteUInt8(uint8_t value) {
    Ensure(1);
    *pos_++ = static_cast<char>(value);
  }
  void WriteDouble(double value);
  void WriteBytes(QByteArrayView bytes);
  void WriteRawString(QByteArrayView bytes);
  void WriteString(const QString& text);

  qsizetype Size() const { return pos_ - bytes_.constData(); }
  // The bytes written; the writer is empty afterwards.
  QByteArray Take();

private:
  void Ensure(qsizetype count) {
    if (bytes_.size() - Size() < count) Grow(count);
  }
  void Grow(qsizetype count);

  QByteArray bytes_;
  char* pos_ = nullptr;
  QStringEncoder utf8_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
};
