#pragma once
// Append-only text buffers for the exporters: they grow in steps of 4096 units so that
// building a large export does not reallocate for every cell.
#include <QByteArray>
#include <QString>

#include <algorithm>

template <typename Text>
class TBasicBufferedString {
public:
  static constexpr int kGrowth = 4096;

  void Add(const Text& text) {
    const qsizetype needed = written_ + text.size();
    if (needed > buffer_.size()) {
      const qsizetype missing = needed - buffer_.size();
      buffer_.resize(buffer_.size() + (missing + kGrowth - 1) / kGrowth * kGrowth);
    }
    std::copy(text.cbegin(), text.cend(), buffer_.begin() + written_);
    written_ = needed;
  }
  void AppendLineBreak() { Add(Text("\r\n")); }
  // The text written so far, without the unused tail.
  Text AsString() const { return buffer_.left(written_); }
  qsizetype Length() const { return written_; }
  // Units reserved, written or not.
  qsizetype Capacity() const { return buffer_.size(); }

private:
  Text buffer_;
  qsizetype written_ = 0;
};

using TBufferedString = TBasicBufferedString<QByteArray>;      // bytes
using TWideBufferedString = TBasicBufferedString<QString>;     // UTF-16 characters
