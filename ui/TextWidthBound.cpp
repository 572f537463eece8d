#include "ui/TextWidthBound.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

std::vector<char16_t> TableCharacters() {
  std::vector<char16_t> codes;
  for (char16_t c = 0x20; c < 0x7F; ++c) codes.push_back(c);
  for (char16_t c = 0xA1; c <= 0xFF; ++c)
    if (c != 0xAD) codes.push_back(c);
  return codes;
}

// Every ordered pair of the codes once, as neighbours in one text of n² + 1 characters
// (a de Bruijn sequence of order 2: the Lyndon words of length 1 and 2 in order).
QString AllPairs(const std::vector<char16_t>& codes) {
  QString text;
  text.reserve(static_cast<qsizetype>(codes.size() * codes.size() + 1));
  for (size_t i = 0; i < codes.size(); ++i) {
    text += QChar(codes[i]);
    for (size_t j = i + 1; j < codes.size(); ++j) {
      text += QChar(codes[i]);
      text += QChar(codes[j]);
    }
  }
  if (!codes.empty()) text += QChar(codes.front());
  return text;
}

// Shaped at most this many characters at a time: long texts are shaped in pieces, and a
// pair cut apart would hide its kerning.
constexpr qsizetype kPiece = 2048;
// Each joined pair costs a few shapings to find.
constexpr size_t kMostJoinedPairs = 64;

// The font as far as it moves glyphs.
QFont ShapingFont(QFont font) {
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

// The glyph positions of a text on one line, when it is drawn in one run of one glyph
// per expected glyph; empty otherwise.
QList<QPointF> GlyphPositions(const QString& text, const QFont& font, qsizetype expectedGlyphs) {
  QTextLayout layout(text, font);
  layout.beginLayout();
  QTextLine line = layout.createLine();
  line.setLineWidth(1e9);
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  if (runs.size() != 1 || runs[0].positions().size() != expectedGlyphs) return {};
  return runs[0].positions();
}

}  // namespace

TTextWidthBound::TTextWidthBound(const QFont& font) {
  advance_.fill(-1);
  const QFontMetricsF metrics(font);
  // A character the font lacks comes from another font: left out of the table.
  std::vector<char16_t> codes = TableCharacters();
  std::erase_if(codes, [&](char16_t c) { return !metrics.inFont(QChar(c)); });
  for (char16_t c : codes) advance_[c] = metrics.horizontalAdvance(QChar(c));
  const QString pairs = AllPairs(codes);
  // Pieces overlap by one character, so that no pair is cut apart.
  for (qsizetype from = 0; from + 1 < pairs.size() && ligatures_.size() <= kMostJoinedPairs; from += kPiece)
    ReadPairs(font, pairs.mid(from, kPiece + 1));
  // A font that joins or splits that many pairs is not one this table models.
  if (ligatures_.size() > kMostJoinedPairs) {
    advance_.fill(-1);
    return;
  }
  for (TLigature& ligature : ligatures_) ReadLigature(font, codes, ligature);
}

// Every character's advance in context is the distance to the next glyph, as long as each
// character is one glyph; a piece where that fails is halved (the halves sharing the
// middle character) until the pair that joins is found.
void TTextWidthBound::ReadPairs(const QFont& font, const QString& pairs) {
  if (ligatures_.size() > kMostJoinedPairs) return;
  const QList<QPointF> positions = GlyphPositions(pairs, font, pairs.size());
  if (!positions.isEmpty()) {
    for (qsizetype i = 0; i + 1 < pairs.size(); ++i) {
      double& advance = advance_[pairs[i].unicode()];
      advance = std::max(advance, positions[i + 1].x() - positions[i].x());
    }
    return;
  }
  if (pairs.size() > 2) {
    const qsizetype half = pairs.size() / 2;
    ReadPairs(font, pairs.left(half + 1));
    ReadPairs(font, pairs.mid(half));
    return;
  }
  // One pair that is not two glyphs of one run: joined, or drawn from two fonts.
  if (pairs.size() == 2) {
    const size_t pair = static_cast<size_t>(pairs[0].unicode()) * kCodes + pairs[1].unicode();
    if (joined_.test(pair)) return;
    joined_.set(pair);
    ligatures_.push_back({pair, -1, {}});
  }
}

// A joined pair's glyph is shaped between every character that joins with neither of
// its own ("a fi b fi c ..."): that gives the glyph's widest advance, and the kerning of
// each character before it.
void TTextWidthBound::ReadLigature(const QFont& font, const std::vector<char16_t>& codes, TLigature& ligature) {
  const QChar first(static_cast<char16_t>(ligature.Pair / kCodes));
  const QChar second(static_cast<char16_t>(ligature.Pair % kCodes));
  std::vector<char16_t> neighbours;
  for (char16_t c : codes)
    if (!Joined(c, first.unicode()) && !Joined(second.unicode(), c)) neighbours.push_back(c);
  if (neighbours.empty()) return;
  QString text;
  for (char16_t c : neighbours) {
    text += QChar(c);
    text += first;
    text += second;
  }
  text += QChar(neighbours.front());
  const QList<QPointF> positions = GlyphPositions(text, font, static_cast<qsizetype>(neighbours.size()) * 2 + 1);
  if (positions.isEmpty()) return;  // shaped otherwise than as one glyph: left unbounded
  double widest = QFontMetricsF(font).horizontalAdvance(QString(first) + second);
  for (size_t i = 0; i < neighbours.size(); ++i) {
    const qsizetype at = static_cast<qsizetype>(i) * 2;
    double& before = advance_[neighbours[i]];
    before = std::max(before, positions[at + 1].x() - positions[at].x());
    widest = std::max(widest, positions[at + 2].x() - positions[at + 1].x());
  }
  ligature.Advance = widest;
  for (char16_t c : neighbours) ligature.Neighbours.set(c);
}

bool TTextWidthBound::Joined(size_t first, size_t second) const {
  return first < kCodes && second < kCodes && joined_.test(first * kCodes + second);
}

int TTextWidthBound::UpperBound(QStringView text) const {
  double sum = 0;
  bool afterLigature = false;
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const size_t code = text[i].unicode();
    if (code >= kCodes || advance_[code] < 0) return -1;
    if (i + 1 < size && Joined(code, text[i + 1].unicode())) {
      // Only the neighbours the glyph was shaped between are known not to form a
      // longer glyph with it or to kern it further.
      const size_t pair = code * kCodes + text[i + 1].unicode();
      const auto it = std::find_if(ligatures_.begin(), ligatures_.end(),
                                   [pair](const TLigature& l) { return l.Pair == pair; });
      if (it == ligatures_.end() || it->Advance < 0) return -1;
      if (i > 0 && (afterLigature || !it->Neighbours.test(text[i - 1].unicode()))) return -1;
      if (i + 2 < size && (text[i + 2].unicode() >= kCodes || !it->Neighbours.test(text[i + 2].unicode())))
        return -1;
      sum += it->Advance;
      afterLigature = true;
      ++i;
      continue;
    }
    sum += advance_[code];
    afterLigature = false;
  }
  // The exact width is the shaped advances' sum rounded to the nearest pixel; one pixel
  // more is spare.
  return size == 0 ? 0 : static_cast<int>(std::ceil(sum)) + 1;
}

void TRowStateMeasurer::Reset(const TTdAppOptions& options) {
  for (size_t s = 0; s < fonts_.size(); ++s) {
    const QFont font = FontFromOption(RowStateFont(static_cast<TRowState>(s), options));
    metrics_[s].emplace(font);
    fonts_[s] = ShapingFont(font);
    bounds_[s].reset();
  }
}

int TRowStateMeasurer::TextWidth(const QString& text, TRowState state) {
  return metrics_[static_cast<size_t>(state)]->horizontalAdvance(text);
}

int TRowStateMeasurer::UpperBound(const QString& text, TRowState state) {
  const size_t s = static_cast<size_t>(state);
  if (!bounds_[s]) {
    // Colour, underline and strike-out do not move glyphs: states that differ only
    // there share one table.
    for (size_t other = 0; other < bounds_.size() && !bounds_[s]; ++other)
      if (bounds_[other] && fonts_[other] == fonts_[s]) bounds_[s] = bounds_[other];
    if (!bounds_[s]) bounds_[s] = std::make_shared<const TTextWidthBound>(fonts_[s]);
  }
  return bounds_[s]->UpperBound(text);
}
