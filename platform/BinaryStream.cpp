#include "platform/BinaryStream.h"

#include "platform/Exception.h"

#include <QDir>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {
// Small enough to stay in the second-level cache, large enough to cost few system calls.
constexpr qsizetype kWindowSize = 256 * 1024;
}  // namespace

BinaryReader::BinaryReader(const QByteArray& bytes, QString fileName)
    : pos_(bytes.constData()), end_(pos_ + bytes.size()), fileName_(std::move(fileName)) {}

BinaryReader::BinaryReader(QIODevice& device, qsizetype size, QString fileName)
    : device_(&device), unread_(std::max<qsizetype>(size, 0)), fileName_(std::move(fileName)) {}

void BinaryReader::Refill(qsizetype count) {
  if (count < 0 || count > Remaining()) Fail();
  const qsizetype kept = end_ - pos_;
  // A small file needs no more than its own size.
  const qsizetype size = std::max(std::min(kWindowSize, Remaining()), count);
  if (window_.size() < size) {
    QByteArray larger(size, Qt::Uninitialized);
    if (kept) std::memcpy(larger.data(), pos_, static_cast<size_t>(kept));
    window_ = std::move(larger);
  } else if (kept) {
    std::memmove(window_.data(), pos_, static_cast<size_t>(kept));
  }
  char* const begin = window_.data();
  qsizetype filled = kept;
  const qsizetype wanted = kept + std::min(window_.size() - kept, unread_);
  while (filled < wanted) {
    const qint64 got = device_->read(begin + filled, wanted - filled);
    if (got < 0) Fail();
    if (got == 0) break;  // the file was cut after its size was taken
    filled += got;
  }
  unread_ = filled < wanted ? 0 : unread_ - (filled - kept);
  pos_ = begin;
  end_ = begin + filled;
  if (count > filled) Fail();
}

void BinaryReader::Fail() const {
  throw EReadError(QStringLiteral("Stream read error in file %1").arg(QDir::toNativeSeparators(fileName_)));
}

BinaryWriter::BinaryWriter(qsizetype capacity) {
  bytes_.resize(std::max<qsizetype>(capacity, 16));
  pos_ = bytes_.data();
}

BinaryWriter::BinaryWriter(std::function<void(QByteArrayView)> sink) : BinaryWriter(kWindowSize) { sink_ = std::move(sink); }

void BinaryWriter::Flush() {
  if (Size() > 0) sink_(QByteArrayView(bytes_.constData(), Size()));
  pos_ = bytes_.data();
}

void BinaryWriter::Grow(qsizetype count) {
  if (sink_) {
    Flush();
    if (bytes_.size() >= count) return;
  }
  const qsizetype used = Size();
  bytes_.resize(std::max(2 * bytes_.size(), used + count));
  pos_ = bytes_.data() + used;
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
