#include "platform/BinaryStream.h"

#include "platform/Exception.h"

#include <QDir>
#include <QStringDecoder>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    out[i] = (c >= 0x80 && c < 0xA0) ? QChar(kCp1252High[c - 0x80]) : QChar(c);
  }
  return text;
}

bool IsAscii(const QByteArray& bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

QString DecodeFileText(const QByteArray& bytes) {
  if (IsAscii(bytes)) return QString::fromLatin1(bytes);
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (!decoder.hasError()) return text;
  return DecodeCp1252(bytes);
}

QByteArray EncodeFileText(const QString& text) { return text.toUtf8(); }

BinaryReader::BinaryReader(const QByteArray& bytes, QString fileName)
    : bytes_(bytes), fileName_(std::move(fileName)) {}

const char* BinaryReader::Take(qsizetype count) {
  if (count < 0 || count > Remaining())
    throw EReadError(QStringLiteral("Stream read error in file %1").arg(QDir::toNativeSeparators(fileName_)));
  const char* data = bytes_.constData() + pos_;
  pos_ += count;
  return data;
}

int32_t BinaryReader::ReadInt32() { return static_cast<int32_t>(ReadUInt32()); }

uint32_t BinaryReader::ReadUInt32() {
  const auto* p = reinterpret_cast<const unsigned char*>(Take(4));
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

uint8_t BinaryReader::ReadUInt8() { return static_cast<uint8_t>(*Take(1)); }

double BinaryReader::ReadDouble() {
  const auto* p = reinterpret_cast<const unsigned char*>(Take(8));
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

QByteArray BinaryReader::ReadBytes(qsizetype count) {
  const char* data = Take(count);
  return QByteArray(data, count);
}

QByteArray BinaryReader::ReadRawString() {
  const int32_t count = ReadInt32();
  if (count <= 0) return {};
  return ReadBytes(count);
}

QString BinaryReader::ReadString() { return DecodeFileText(ReadRawString()); }

void BinaryWriter::WriteUInt32(uint32_t value) {
  const char bytes[4] = {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 24)};
  bytes_.append(bytes, 4);
}

void BinaryWriter::WriteInt32(int32_t value) { WriteUInt32(static_cast<uint32_t>(value)); }

void BinaryWriter::WriteUInt8(uint8_t value) { bytes_.append(static_cast<char>(value)); }

void BinaryWriter::WriteDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  char bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(bits >> (8 * i));
  bytes_.append(bytes, 8);
}

void BinaryWriter::WriteBytes(const QByteArray& bytes) { bytes_.append(bytes); }

void BinaryWriter::WriteRawString(const QByteArray& bytes) {
  WriteInt32(static_cast<int32_t>(bytes.size()));
  bytes_.append(bytes);
}

void BinaryWriter::WriteString(const QString& text) { WriteRawString(EncodeFileText(text)); }
