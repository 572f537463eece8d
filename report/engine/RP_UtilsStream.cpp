// Stream encodings, the password and display-format words, and small text helpers.
#include "platform/FileText.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QVarLengthArray>
#include <QtEndian>

namespace {

constexpr int kMaxCount = 0xFFFF;

[[noreturn]] void LoadFailed() { throw ErpLoadError(rpLoadStr(rpStrings::StreamReadError)); }

QByteArray ReadExactly(QIODevice& stream, qint64 count) {
  if (count == 0) return {};
  if (!stream.isSequential() && stream.size() - stream.pos() < count) LoadFailed();
  const QByteArray bytes = stream.read(count);
  if (bytes.size() != count) LoadFailed();
  return bytes;
}

void WriteBytes(QIODevice& stream, const char* bytes, qint64 count) {
  if (stream.write(bytes, count) != count) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
}

QByteArray Encoded(const QString& text) {
  QByteArray bytes = EncodeFileText(text);
  if (bytes.size() > kMaxCount) throw EWriteError(rpLoadStr(rpStrings::TextTooLong));
  return bytes;
}

// Bytes up to a 0 byte, which is consumed.
QByteArray ReadToZero(QIODevice& stream) {
  QByteArray bytes;
  char c = 0;
  for (;;) {
    if (!stream.getChar(&c)) LoadFailed();
    if (c == 0) return bytes;
    bytes += c;
  }
}

int HexDigit(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

}  // namespace

void rpWriteByte(QIODevice& stream, uint8_t value) {
  const char byte = static_cast<char>(value);
  WriteBytes(stream, &byte, 1);
}

void rpWriteWord(QIODevice& stream, uint16_t value) {
  char bytes[2];
  qToLittleEndian(value, bytes);
  WriteBytes(stream, bytes, 2);
}

void rpWriteInt(QIODevice& stream, int32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  WriteBytes(stream, bytes, 4);
}

namespace {

// Numbers are read into the stack: a form holds thousands of them.
template <size_t N>
void ReadFixed(QIODevice& stream, char (&bytes)[N]) {
  if (stream.read(bytes, N) != static_cast<qint64>(N)) LoadFailed();
}

}  // namespace

uint8_t rpReadByte(QIODevice& stream) {
  char bytes[1];
  ReadFixed(stream, bytes);
  return static_cast<uint8_t>(bytes[0]);
}

uint16_t rpReadWord(QIODevice& stream) {
  char bytes[2];
  ReadFixed(stream, bytes);
  return qFromLittleEndian<uint16_t>(bytes);
}

int32_t rpReadInt(QIODevice& stream) {
  char bytes[4];
  ReadFixed(stream, bytes);
  return qFromLittleEndian<int32_t>(bytes);
}

void TrpPackedFields::WriteTo(QIODevice& stream) {
  WriteBytes(stream, bytes_, size_);
  size_ = 0;
}

TrpFieldsReader::TrpFieldsReader(QIODevice& stream, int count) : size_(count) {
  Q_ASSERT(count <= static_cast<int>(sizeof bytes_));
  if (stream.read(bytes_, count) != count) LoadFailed();
}

void TrpFieldsReader::TooShort() { LoadFailed(); }

namespace {

// Records are gathered on the stack: most strings of a record are short.
using RecordBytes = QVarLengthArray<char, 256>;

void AppendWord(RecordBytes& out, uint16_t value) {
  char bytes[2];
  qToLittleEndian(value, bytes);
  out.append(bytes, 2);
}

void Append(RecordBytes& out, const QByteArray& bytes) { out.append(bytes.constData(), bytes.size()); }

}  // namespace

// Count, bytes and terminator go out in one write.
void rpWriteString(QIODevice& stream, const QString& text) {
  const QByteArray bytes = Encoded(text);
  RecordBytes out;
  AppendWord(out, static_cast<uint16_t>(bytes.size()));
  Append(out, bytes);
  out.append('\0');
  WriteBytes(stream, out.constData(), out.size());
}

QString rpReadString(QIODevice& stream) {
  const uint16_t length = rpReadWord(stream);
  const QByteArray bytes = ReadExactly(stream, length);
  if (rpReadByte(stream) != 0) LoadFailed();
  return DecodeFileText(bytes);
}

void rpWriteMemo(QIODevice& stream, const QStringList& lines) {
  if (lines.size() > kMaxCount) throw EWriteError(rpLoadStr(rpStrings::TextTooLong));
  // The whole list goes out in one write.
  RecordBytes out;
  AppendWord(out, static_cast<uint16_t>(lines.size()));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QByteArray bytes = Encoded(lines[i]);
    AppendWord(out, static_cast<uint16_t>(bytes.size()));
    Append(out, bytes);
    if (i + 1 < lines.size()) out.append('\r');
  }
  out.append('\0');
  WriteBytes(stream, out.constData(), out.size());
}

QStringList rpReadMemo(QIODevice& stream) {
  const uint16_t count = rpReadWord(stream);
  QStringList lines;
  if (count == 0) {
    if (rpReadByte(stream) != 0) LoadFailed();
    return lines;
  }
  for (int i = 0; i < count; ++i) {
    const uint16_t length = rpReadWord(stream);
    lines << DecodeFileText(ReadExactly(stream, length));
    const uint8_t next = rpReadByte(stream);
    if (next == 0) return lines;  // fewer lines than counted: the end byte still says where the list ends
    if (i + 1 == count) LoadFailed();
  }
  return lines;
}

QString rpReadOldString(QIODevice& stream) { return DecodeFileText(ReadToZero(stream)); }

QStringList rpReadOldMemo(QIODevice& stream) {
  const QByteArray bytes = ReadToZero(stream);
  if (bytes.isEmpty()) return {};
  QStringList lines;
  for (const QByteArray& line : bytes.split('\r')) lines << DecodeFileText(line);
  return lines;
}

QString rpReadStringOfVersion(QIODevice& stream, int version) {
  return version >= kRpFirstCurrentLayoutVersion ? rpReadString(stream) : rpReadOldString(stream);
}

QStringList rpReadMemoOfVersion(QIODevice& stream, int version) {
  return version >= kRpFirstCurrentLayoutVersion ? rpReadMemo(stream) : rpReadOldMemo(stream);
}

QString rpPasswordToHex(const QString& password) { return QString::fromLatin1(EncodeFileText(password).toHex().toUpper()); }

QString rpHexToPassword(const QString& hex) {
  if (hex.size() % 2 != 0) LoadFailed();
  QByteArray bytes;
  for (qsizetype i = 0; i < hex.size(); i += 2) {
    const int high = HexDigit(hex[i]);
    const int low = HexDigit(hex[i + 1]);
    if (high < 0 || low < 0) LoadFailed();
    bytes += static_cast<char>(high * 16 + low);
  }
  return DecodeFileText(bytes);
}

uint32_t rpMakeFormat(const TrpDisplayFormat& format) {
  return (static_cast<uint32_t>(format.category & 0x0F) << 24) | (static_cast<uint32_t>(format.kind & 0xFF) << 16) |
         (static_cast<uint32_t>(format.decimals & 0xFF) << 8) | static_cast<uint32_t>(format.separator.unicode() & 0xFF);
}

TrpDisplayFormat rpSplitFormat(uint32_t format) {
  TrpDisplayFormat f;
  f.category = static_cast<int>((format >> 24) & 0x0F);
  f.kind = static_cast<int>((format >> 16) & 0xFF);
  f.decimals = static_cast<int>((format >> 8) & 0xFF);
  f.separator = QChar(static_cast<char16_t>(format & 0xFF));
  return f;
}

uint32_t rpDefaultFormat() {
  return rpMakeFormat({rpFormatCategory::Text, 0, 2, rpFormatSettings().DecimalSeparator});
}

double rpStrToFloat(const QString& text) {
  QString s = text;
  const QChar point = rpFormatSettings().DecimalSeparator;
  for (QChar& c : s) {
    if (c == u',' || c == u'.') c = point;
  }
  return rpTextToFloat(s.trimmed());
}

QStringList rpSplitText(const QString& text) {
  if (text.isEmpty()) return {};
  QStringList parts = text.split(u';');
  if (text.endsWith(u';')) parts.removeLast();
  return parts;
}

QString rpUnquote(const QString& name) {
  if (name.size() > 2 && name.startsWith(u'"') && name.endsWith(u'"')) return name.mid(1, name.size() - 2);
  return name;
}
