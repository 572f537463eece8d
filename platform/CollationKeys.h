#pragma once
// Sort keys of texts, without regard to case, by a locale: byte strings that order as
// QCollator (case-insensitive) orders the texts, so a large sort compares bytes instead
// of collating pair by pair. QCollator's own keys cannot be read as bytes; these can, so
// a sort sees most comparisons end in the first eight bytes, held beside the pointer.
//
// A key maker belongs to one thread. Keys are views into the arena they were written
// to and live as long as it does.
#include <QLocale>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

struct UCollator;

struct TCollationKey {
  std::uint64_t Prefix = 0;  // the first eight bytes, big-endian, zeros after the end
  const unsigned char* Bytes = nullptr;
  std::uint32_t Size = 0;

  // Negative, 0 or positive, as the texts collate.
  int compare(const TCollationKey& other) const {
    if (Prefix != other.Prefix) return Prefix < other.Prefix ? -1 : 1;
    const std::uint32_t common = Size < other.Size ? Size : other.Size;
    if (common > 8)
      if (const int c = std::memcmp(Bytes + 8, other.Bytes + 8, common - 8)) return c;
    return int(Size > other.Size) - int(Size < other.Size);
  }
};

// Where keys are written: large blocks, so a hundred thousand keys cost a few
// allocations instead of one each.
class TCollationKeyArena {
public:
  // A copy of the bytes, alive as long as the arena.
  const unsigned char* Store(const unsigned char* bytes, std::size_t size);
  // The bytes written so far.
  std::size_t Used() const { return used_; }

private:
  static constexpr std::size_t kBlockSize = 256 * 1024;
  std::vector<std::unique_ptr<unsigned char[]>> blocks_;
  unsigned char* next_ = nullptr;  // the free end of the last block
  std::size_t left_ = 0;
  std::size_t used_ = 0;
};

class TCollationKeyMaker {
public:
  explicit TCollationKeyMaker(const QLocale& locale);
  ~TCollationKeyMaker();
  TCollationKeyMaker(const TCollationKeyMaker&) = delete;
  TCollationKeyMaker& operator=(const TCollationKeyMaker&) = delete;

  TCollationKey Make(QStringView text, TCollationKeyArena& arena);
  // The same key written again into another arena.
  static TCollationKey CopyInto(const TCollationKey& key, TCollationKeyArena& arena);

private:
  // Null for the C locale, where QCollator compares case-folded code points: the key is
  // then the case-folded text in UTF-8.
  UCollator* collator_ = nullptr;
  std::vector<unsigned char> buffer_;
};
