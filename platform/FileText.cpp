#include "platform/FileText.h"

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

char16_t* DecodeCp1252(QByteArrayView bytes, char16_t* out) {
  for (const char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    *out++ = (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : char16_t(c);
  }
  return out;
}

// Strict UTF-8 to UTF-16 in one pass, sixteen bytes at a time where the text is ASCII
// up to the next accented letter: loading a large task file is mostly this. nullptr
// for bytes that are not UTF-8 (overlong forms, surrogates, cut sequences).
char16_t* DecodeUtf8(QByteArrayView bytes, char16_t* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = s + bytes.size();
  auto continuation = [](unsigned char c) { return (c & 0xC0) == 0x80; };
  while (s < end) {
#ifdef __SSE2__
    // Widening all sixteen is safe: out never runs ahead of s, and the caller's room
    // is one unit a byte. Only the ASCII ones are kept.
    while (end - s >= 16) {
      const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s));
      const __m128i zero = _mm_setzero_si128();
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(chunk, zero));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(chunk, zero));
      const int high = _mm_movemask_epi8(chunk);
      const int ascii = high ? __builtin_ctz(static_cast<unsigned>(high)) : 16;
      s += ascii;
      out += ascii;
      if (ascii < 16) break;
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
      if (end - s < 2 || !continuation(s[1])) return nullptr;
      *out++ = static_cast<char16_t>((c & 0x1F) << 6 | (s[1] & 0x3F));
      s += 2;
    } else if (c >= 0xE0 && c < 0xF0) {
      if (end - s < 3 || !continuation(s[1]) || !continuation(s[2])) return nullptr;
      const unsigned code = (c & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F);
      if (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF)) return nullptr;
      *out++ = static_cast<char16_t>(code);
      s += 3;
    } else if (c >= 0xF0 && c < 0xF5) {
      if (end - s < 4 || !continuation(s[1]) || !continuation(s[2]) || !continuation(s[3])) return nullptr;
      const unsigned code = (c & 0x07) << 18 | (s[1] & 0x3F) << 12 | (s[2] & 0x3F) << 6 | (s[3] & 0x3F);
      if (code < 0x10000 || code > 0x10FFFF) return nullptr;
      *out++ = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      *out++ = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
      s += 4;
    } else {
      return nullptr;
    }
  }
  return out;
}

// Large enough that a block serves a few hundred tasks, small enough that a few texts
// left over from a big file do not keep much memory alive.
constexpr qsizetype kBlockUnits = 32 * 1024;

}  // namespace

char16_t* DecodeFileTextInto(QByteArrayView bytes, char16_t* out) {
  if (char16_t* end = DecodeUtf8(bytes, out)) return end;
  return DecodeCp1252(bytes, out);
}

QString DecodeFileText(QByteArrayView bytes) {
  QString text;
  if (bytes.isEmpty()) return text;
  text = QString(bytes.size(), Qt::Uninitialized);
  char16_t* const begin = reinterpret_cast<char16_t*>(text.data());
  text.truncate(DecodeFileTextInto(bytes, begin) - begin);
  return text;
}

QByteArray EncodeFileText(const QString& text) { return text.toUtf8(); }

#if !VELMORA_SHARED_TEXT_BLOCKS
QString FileTextPool::Decode(QByteArrayView bytes, qsizetype) { return DecodeFileText(bytes); }
#else
QString FileTextPool::Decode(QByteArrayView bytes, qsizetype atMost) {
  if (bytes.isEmpty()) return {};
  // Room for the text and the terminating zero QString expects after its data.
  const qsizetype need = bytes.size() + 1;
  if (need > kBlockUnits / 4) return DecodeFileText(bytes);
  if (end_ - free_ < need) {
    const qsizetype later = atMost == kUnbounded ? kBlockUnits : std::min(atMost, kBlockUnits);
    const qsizetype capacity = std::clamp(need + later, need, kBlockUnits);
    block_ = QString::DataPointer(QTypedArrayData<char16_t>::allocate(capacity));
    free_ = block_.data();
    end_ = free_ + block_.allocatedCapacity();
  }
  char16_t* const text = free_;
  char16_t* const textEnd = DecodeFileTextInto(bytes, text);
  *textEnd = u'\0';
  free_ = textEnd + 1;
  block_.d_ptr()->ref();
  return QString(QString::DataPointer(block_.d_ptr(), text, textEnd - text));
}
#endif
