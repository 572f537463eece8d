#pragma once
// Little-endian, packed reading and writing of the table files' fields. The reader
// checks every size against the bytes that remain, so a cut or damaged file raises
// EReadError and never makes us allocate more than the file holds.
#include <QByteArray>
#include <QString>
#include <cstdint>

// Text as the table files hold it: UTF-8, or Windows-1252 where the bytes are not valid
// UTF-8 (files of earlier versions).
QString DecodeFileText(const QByteArray& bytes);
QByteArray EncodeFileText(const QString& text);

class BinaryReader {
public:
  // fileName only names the file in error messages.
  BinaryReader(const QByteArray& bytes, QString fileName);

  int32_t ReadInt32();
  uint32_t ReadUInt32();
  uint8_t ReadUInt8();
  double ReadDouble();
  QByteArray ReadBytes(qsizetype count);
  // A 32-bit byte count and that many bytes; a count of 0 or less is the empty text.
  QByteArray ReadRawString();
  QString ReadString();

  qsizetype Remaining() const { return bytes_.size() - pos_; }
  qsizetype Position() const { return pos_; }
  const QString& FileName() const { return fileName_; }

private:
  const char* Take(qsizetype count);

  const QByteArray& bytes_;
  QString fileName_;
  qsizetype pos_ = 0;
};

class BinaryWriter {
public:
  void WriteInt32(int32_t value);
  void WriteUInt32(uint32_t value);
  void WriteUInt8(uint8_t value);
  void WriteDouble(double value);
  void WriteBytes(const QByteArray& bytes);
  void WriteRawString(const QByteArray& bytes);
  void WriteString(const QString& text);

  void Reserve(qsizetype size) { bytes_.reserve(size); }
  const QByteArray& Bytes() const { return bytes_; }

private:
  QByteArray bytes_;
};
