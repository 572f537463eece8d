#include "platform/BinaryStream.h"

#include "platform/Exception.h"

#include <QDir>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeCp1252(QByteArrayView bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    out[i] = (c >= 0x80 && c < 0xA0) ? QChar(kCp1252High[c - 0x80]) : QChar(c);
  }
  return text;
}

// Strict UTF-8 to UTF-16 in one pass, with runs of ASCII taken eight bytes at a time:
// loading a large task file is mostly this. False for bytes that are not UTF-8
// (overlong forms, surrogates, cut sequences).
bool DecodeUtf8(QByteArrayView bytes, QString& text) {
  text = QString(bytes.size(), Qt::Uninitialized);  // never more UTF-16 units than UTF-8 bytes
  char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
  char16_t* out = begin;
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = s + bytes.size();
  auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
  while (s < end) {
#ifdef __SSE2__
    while (end - s >= 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
      if (_mm_movemask_epi8(chunk) != 0) break;
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
      s += 16;
      out += 16;
    }
#endif
    while (end - s >= 8) {
      uint64_t word;
      std::memcpy(&word, s, 8);
      if (word & 0x8080808080808080ULL) break;
      for (int i = 0; i < 8; ++i) out[i] = s[i];
      s += 8;
      out += 8;
    }
    if (s == end) break;
    const unsigned c = *s;
    if (c < 0x80) {
      *out++ = static_cast<char16_t>(c);
      ++s;
    } else if (c >= 0xC2 && c < 0xE0) {
      if (end - s < 2 || !continuation(s[1])) return false;
      *out++ = static_cast<char16_t>((c & 0x1F) << 6 | (s[1] & 0x3F));
      s += 2;
    } else if (c >= 0xE0 && c < 0xF0) {
      if (end - s < 3 || !continuation(s[1]) || !continuation(s[2])) return false;
      const unsigned code = (c & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F);
      if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) return false;
      *out++ = static_cast<char16_t>(code);
      s += 3;
    } else if (c >= 0xF0 && c < 0xF5) {
      if (end - s < 4 || !continuation(s[1]) || !continuation(s[2]) || !continuation(s[3])) return false;
      const unsigned code = (c & 0x07) << 18 | (s[1] & 0x3F) << 12 | (s[2] & 0x3F) << 6 | (s[3] & 0x3F);
      if (code < 0x10000 || code > 0x10FFFF) return false;
      *out++ = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      s += 4;
    } else {
      return false;
    }
  }
  text.truncate(out - begin);
  return true;
}

}  // namespace

QString DecodeFileText(QByteArrayView bytes) {
  QString text;
  if (bytes.isEmpty()) return text;
  if (DecodeUtf8(bytes, text)) return text;
  return DecodeCp1252(bytes);
}

QByteArray EncodeFileText(const QString& text) { return text.toUtf8(); }

BinaryReader::BinaryReader(const QByteArray& bytes, QString fileName)
    : pos_(bytes.constData()), end_(pos_ + bytes.size()), fileName_(std::move(fileName)) {}

void BinaryReader::Fail() const {
  throw EReadError(QStringLiteral("Stream read error in file %1").arg(QDir::toNativeSeparators(fileName_)));
}

QByteArrayView BinaryReader::ReadRawStringView() {
  const int32_t count = ReadInt32();
  if (count <= 0) return {};
  return QByteArrayView(Take(count), count);
}

QString BinaryReader::ReadString() { return DecodeFileText(ReadRawStringView()); }

BinaryWriter::BinaryWriter(qsizetype capacity) {
  bytes_.resize(std::max<qsizetype>(capacity, 16));
  pos_ = bytes_.data();
}

void BinaryWriter::Grow(qsizetype count) {
  const qsizetype used = Size();
  bytes_.resize(std::max(2 * bytes_.size(), used + count));
  pos_ = bytes_.data() + used;
}

void BinaryWriter::WriteUInt32(uint32_t value) {
  Ensure(4);
  qToLittleEndian(value, pos_);
  pos_ += 4;
}

void BinaryWriter::WriteDouble(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  Ensure(8);
  qToLittleEndian(bits, pos_);
  pos_ += 8;
}

void BinaryWriter::WriteBytes(QByteArrayView bytes) {
  Ensure(bytes.size());
  if (!bytes.isEmpty()) std::memcpy(pos_, bytes.data(), static_cast<size_t>(bytes.size()));
  pos_ += bytes.size();
}

void BinaryWriter::WriteRawString(QByteArrayView bytes) {
  WriteInt32(static_cast<int32_t>(bytes.size()));
  WriteBytes(bytes);
}

void BinaryWriter::WriteString(const QString& text) {
  if (text.isEmpty()) return WriteInt32(0);
  // A UTF-16 unit takes at most three UTF-8 bytes.
  Ensure(4 + 3 * text.size());
  char* end = utf8_.appendToBuffer(pos_ + 4, text);
  qToLittleEndian(static_cast<uint32_t>(end - pos_ - 4), pos_);
  pos_ = end;
}

QByteArray BinaryWriter::Take() {
  bytes_.resize(Size());
  pos_ = nullptr;
  QByteArray result = std::move(bytes_);
  bytes_ = QByteArray();
  bytes_.resize(16);
  pos_ = bytes_.data();
  return result;
}
