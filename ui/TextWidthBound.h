#pragma once
// Text widths in the fonts of the task list's row states, exactly and as a cheap upper
// bound. The bound lets the column fit find the widest of many texts by measuring exactly
// only those whose bound reaches the widest exact width found so far.
//
// A character's entry in the bound table is the largest advance it takes before any other
// character of the table, read from the font's own shaping: some fonts widen a pair by
// kerning (DejaVu Sans widens "«Æ" and "C-"), so the plain advance would not be a bound.
// A pair the font joins into one glyph (a ligature such as "fi") counts the glyph's widest
// advance, read the same way. A text where joined pairs overlap ("ffi") or follow each
// other, or with a
// character outside the table (Latin-1 without control characters and the soft hyphen),
// has no bound and is measured exactly.
#include "ui/ColumnFit.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QStringView>

#include <array>
#include <bitset>
#include <memory>
#include <optional>
#include <vector>

class TTextWidthBound {
public:
  // Shapes every pair of table characters once: some milliseconds per font.
  explicit TTextWidthBound(const QFont& font);
  // At least QFontMetrics(font).horizontalAdvance(text); -1 when the text has no bound.
  int UpperBound(QStringView text) const;

private:
  static constexpr size_t kCodes = 256;
  struct TLigature {
    size_t Pair;     // first * kCodes + second
    double Advance;  // the glyph's widest advance; negative: none found
    std::bitset<kCodes> Neighbours;  // the characters it was shaped next to
  };
  void ReadPairs(const QFont& font, const QString& pairs);
  void ReadLigature(const QFont& font, const std::vector<char16_t>& codes, TLigature& ligature);
  bool Joined(size_t first, size_t second) const;

  std::array<double, kCodes> advance_{};  // widest advance by character; negative: not in the table
  std::bitset<kCodes * kCodes> joined_;   // pairs shaped into fewer glyphs
  std::vector<TLigature> ligatures_;
};

// The exact widths and their bounds in the row states' fonts. The bound tables are built
// at the first bound asked for a font and shared by the states that use the same font.
class TRowStateMeasurer : public TTextMeasurer {
public:
  void Reset(const TTdAppOptions& options);
  int TextWidth(const QString& text, TRowState state) override;
  int UpperBound(const QString& text, TRowState state) override;

private:
  std::array<QFont, kRowStateCount> fonts_;  // without the styles that move no glyph
  std::array<std::optional<QFontMetrics>, kRowStateCount> metrics_;
  std::array<std::shared_ptr<const TTextWidthBound>, kRowStateCount> bounds_;
};
