#pragma once
// The tree stream: the byte format in which a tree writes its nodes and reads them back,
// for the clipboard, drag and drop and moves between trees. All numbers little-endian.
//
//   header      six 16-bit words: 0x2045 'V' 'T' version 0x0020 0x2046; version 2 adds
//               a 32-bit count of top-level node chunks (version 1 runs to the end)
//   chunk       32-bit type, 32-bit size of what follows the chunk's 8-byte header
//   node  (1)   a base chunk, then a user chunk if the owner wrote one, then a caption
//               chunk in the string tree; the size covers them all
//   base  (2)   child count, height, states, align, check state, check type, reserved
//               (17 bytes; version 1: 12 bytes, without the reserved word and with an
//               8-bit state), then the node chunks of the children
//   caption (3) the main column's text as UTF-16 code units
//   user  (4)   what the owner wrote in OnSaveNode
//
// Unknown chunk types are skipped, so newer writers can add some.
#include "treeview/LazyTreeTypes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

inline constexpr std::uint16_t kTreeStreamMagic[6] = {0x2045, 0x0056, 0x0054, 2, 0x0020, 0x2046};
inline constexpr int kTreeStreamHeaderSize = 12;
inline constexpr int kTreeStreamVersion = 2;
inline constexpr int kChunkHeaderSize = 8;

enum TTreeStreamChunk : std::uint32_t {
  NodeChunk = 1,
  BaseChunk = 2,
  CaptionChunk = 3,
  UserChunk = 4,
};

// Bytes of the base chunk's fields by version.
constexpr int BaseChunkFieldsSize(int version) { return version == 1 ? 12 : 17; }

// An in-memory byte stream with a position: the tree writes into it and reads from it,
// and owners read and write their node data through it. Reads never pass the read limit
// (the end of the chunk being read, while the tree reads a chunk), so an owner cannot
// read into the next node.
class TLazyTreeStream {
public:
  TLazyTreeStream() = default;
  explicit TLazyTreeStream(QByteArray bytes) : bytes_(std::move(bytes)), size_(bytes_.size()) {}

  // The bytes written or given, exactly.
  const QByteArray& Bytes() const {
    if (bytes_.size() != size_) bytes_.truncate(size_);
    return bytes_;
  }
  qint64 Size() const { return size_; }
  qint64 Position() const { return position_; }
  // Clamped to the bytes there are.
  void SetPosition(qint64 position) { position_ = std::clamp<qint64>(position, 0, Size()); }
  // Cuts the bytes off at Size (or zero-fills up to it); the position stays within.
  void SetSize(qint64 size);

  // Bytes left to read before the read limit.
  qint64 Remaining() const { return std::max<qint64>(ReadEnd() - position_, 0); }
  // Reads up to count bytes; returns how many were read.
  qint64 Read(void* data, qint64 count) {
    const qint64 n = std::clamp<qint64>(count, 0, Remaining());
    if (n > 0) std::memcpy(data, Data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
  }
  void Write(const void* data, qint64 count) {
    if (count <= 0) return;
    const qint64 end = position_ + count;
    if (end > bytes_.size()) Grow(end);
    std::memcpy(bytes_.data() + position_, data, static_cast<std::size_t>(count));
    position_ = end;
    size_ = std::max(size_, end);
  }
  template <typename T>
  void WriteValue(T value) {
    char buffer[sizeof(T)];
    qToLittleEndian(value, buffer);
    Write(buffer, sizeof buffer);
  }
  // Overwrites a 32-bit value written before, leaving the position where it is.
  void PatchValue(qint64 at, std::uint32_t value) {
    if (at >= 0 && at + 4 <= size_) qToLittleEndian(value, bytes_.data() + at);
  }
  // False, and nothing read, when fewer bytes remain.
  template <typename T>
  bool ReadValue(T& value) {
    if (Remaining() < qint64(sizeof(T))) return false;
    value = qFromLittleEndian<T>(Data() + position_);
    position_ += qint64(sizeof(T));
    return true;
  }

  // Where reads end: the end of the bytes unless a limit is set below it.
  qint64 ReadEnd() const { return std::min(limit_, Size()); }
  qint64 ReadLimit() const { return limit_; }
  void SetReadLimit(qint64 limit) { limit_ = limit; }

private:
  // The bytes without the shared empty array's stand-in (nil when there are none).
  const char* Data() const { return bytes_.data_ptr().data(); }
  // Makes room for size bytes at least, growing by doubling.
  void Grow(qint64 size);

  // Holds Size() bytes and, while writing, room beyond them; trimmed when asked for.
  mutable QByteArray bytes_;
  qint64 size_ = 0;
  qint64 position_ = 0;
  qint64 limit_ = std::numeric_limits<qint64>::max();
};

// Keeps reads within [.., end) while it lives, and puts the previous limit back.
class TStreamReadLimit {
public:
  TStreamReadLimit(TLazyTreeStream& stream, qint64 end) : stream_(stream), previous_(stream.ReadLimit()) {
    stream.SetReadLimit(std::min(end, previous_));
  }
  ~TStreamReadLimit() { stream_.SetReadLimit(previous_); }
  TStreamReadLimit(const TStreamReadLimit&) = delete;
  TStreamReadLimit& operator=(const TStreamReadLimit&) = delete;

private:
  TLazyTreeStream& stream_;
  qint64 previous_;
};

// The loader's errors, with their help contexts 2002 to 2006.
[[noreturn]] void RaiseTreeStreamError(int helpContext);

// Nodes nested deeper than this are taken for a damaged stream: reading them would need a
// stack no thread has.
inline constexpr int kMaxStreamNodeDepth = 1000;

// Checks the chunk structure of the node chunk at the stream's position, within the
// read end, without building anything or moving the position: every size within its
// enclosing chunk, every child count within the bytes its children could fill, children
// ending where their base chunk ends, captions of whole code units. Raises the loader's
// error (2005, 2006) at the first fault.
void CheckNodeChunk(const TLazyTreeStream& stream, int version);

// A caption chunk as the string tree writes and reads it (header included on writing).
void WriteCaptionChunk(TLazyTreeStream& stream, const QString& text);
QString ReadCaptionText(TLazyTreeStream& stream, std::uint32_t size);
