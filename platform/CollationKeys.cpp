#include "platform/CollationKeys.h"

#include <QByteArray>
#include <QString>

#include <unicode/ucol.h>

#include <algorithm>

const unsigned char* TCollationKeyArena::Store(const unsigned char* bytes, std::size_t size) {
  if (size > left_) {
    // A key longer than a block gets a block of its own.
    const std::size_t block = std::max(kBlockSize, size);
    blocks_.emplace_back(new unsigned char[block]);  // not zeroed: every byte is written before it is read
    next_ = blocks_.back().get();
    left_ = block;
  }
  unsigned char* at = next_;
  if (size) std::memcpy(at, bytes, size);
  next_ += size;
  left_ -= size;
  used_ += size;
  return at;
}

namespace {

TCollationKey KeyOf(const unsigned char* bytes, std::size_t size) {
  TCollationKey key;
  for (std::size_t i = 0; i < 8; ++i) key.Prefix = (key.Prefix << 8) | (i < size ? bytes[i] : 0u);
  key.Bytes = bytes;
  key.Size = static_cast<std::uint32_t>(size);
  return key;
}

}  // namespace

TCollationKeyMaker::TCollationKeyMaker(const QLocale& locale) : buffer_(256) {
  if (locale.language() == QLocale::C) return;
  // The attributes QCollator sets for a case-insensitive comparison: canonical
  // equivalence, differences of case ignored (base letters and accents count), digits
  // one by one and punctuation counted, whatever the locale's own defaults (Thai, for
  // one, ignores punctuation unless told).
  UErrorCode status = U_ZERO_ERROR;
  const QByteArray name = locale.bcp47Name().replace(QLatin1Char('-'), QLatin1Char('_')).toLatin1();
  collator_ = ucol_open(name.constData(), &status);
  if (U_FAILURE(status)) {
    collator_ = nullptr;
    status = U_ZERO_ERROR;
    collator_ = ucol_open("", &status);  // the root order, rather than none
  }
  ucol_setAttribute(collator_, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
  ucol_setAttribute(collator_, UCOL_STRENGTH, UCOL_SECONDARY, &status);
  ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
  ucol_setAttribute(collator_, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
}

TCollationKeyMaker::~TCollationKeyMaker() {
  if (collator_) ucol_close(collator_);
}

TCollationKey TCollationKeyMaker::Make(QStringView text, TCollationKeyArena& arena) {
  if (!collator_) {
    const QByteArray folded = text.toString().toCaseFolded().toUtf8();
    return KeyOf(arena.Store(reinterpret_cast<const unsigned char*>(folded.constData()), std::size_t(folded.size())),
                 std::size_t(folded.size()));
  }
  const auto* chars = reinterpret_cast<const UChar*>(text.utf16());
  const auto length = static_cast<int32_t>(text.size());
  int32_t size = ucol_getSortKey(collator_, chars, length, buffer_.data(), static_cast<int32_t>(buffer_.size()));
  if (size > static_cast<int32_t>(buffer_.size())) {
    buffer_.resize(static_cast<std::size_t>(size));
    size = ucol_getSortKey(collator_, chars, length, buffer_.data(), size);
  }
  // The terminating zero orders nothing: every key has one.
  const std::size_t bytes = size > 0 ? static_cast<std::size_t>(size - 1) : 0;
  return KeyOf(arena.Store(buffer_.data(), bytes), bytes);
}

TCollationKey TCollationKeyMaker::CopyInto(const TCollationKey& key, TCollationKeyArena& arena) {
  return KeyOf(arena.Store(key.Bytes, key.Size), key.Size);
}
