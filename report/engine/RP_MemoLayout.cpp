#include "report/engine/RP_MemoLayout.h"

#include "report/engine/RP_BreakWord.h"

#include <algorithm>
#include <cmath>

namespace {

// Widths come from floating-point sums; a line measured at exactly the width fits.
constexpr double kSlack = 1e-6;

int RoundInt(double value) { return static_cast<int>(std::nearbyint(value)); }

bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

// UTF-16 units of the code point at i: 2 for a whole surrogate pair, else 1.
qsizetype UnitsAt(QStringView text, qsizetype i) {
  return text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

char32_t CodePointAt(QStringView text, qsizetype i) {
  return UnitsAt(text, i) == 2 ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
}

bool EndsWord(QChar c) { return c == u' ' || c == u',' || c == u'-' || c == u'.'; }

// A wrapped line and its ending in one allocation: memos of many lines make many of
// them.
QString Piece(QStringView text, QChar ending) {
  QString piece;
  piece.reserve(text.size() + 1);
  piece.append(text);
  piece.append(ending);
  return piece;
}

}  // namespace

bool rpEndsParagraph(QStringView line) { return !line.isEmpty() && line.back() == kRpParagraphMark; }

QStringView rpWithoutMark(QStringView line) { return rpEndsParagraph(line) ? line.chopped(1) : line; }

int rpLineStep(int lineSpacing, int pixelHeight) { return std::max(1, lineSpacing + pixelHeight); }

TrpLineWrapper::TrpLineWrapper(const TrpTextMeasurer& measurer, double width, bool wordBreak)
    : measurer_(measurer), width_(width + kSlack), wordBreak_(wordBreak), hyphenWidth_(measurer.CharWidth(U'-')) {}

double TrpLineWrapper::Width(qsizetype from, qsizetype to) {
  while (base_ + static_cast<qsizetype>(cumulative_.size()) - 1 < to) {
    const qsizetype at = base_ + static_cast<qsizetype>(cumulative_.size()) - 1;
    const double before = cumulative_.back();
    if (UnitsAt(line_, at) == 2) cumulative_.push_back(before);  // inside the pair: never a boundary
    cumulative_.push_back(before + measurer_.CharWidth(CodePointAt(line_, at)));
  }
  return cumulative_[static_cast<size_t>(to - base_)] - cumulative_[static_cast<size_t>(from - base_)];
}

void TrpLineWrapper::MoveBase(qsizetype start) {
  const qsizetype known = base_ + static_cast<qsizetype>(cumulative_.size()) - 1;
  if (start >= known) {
    cumulative_.assign(1, 0.0);
  } else {
    cumulative_.erase(cumulative_.begin(), cumulative_.begin() + (start - base_));
  }
  base_ = start;
}

bool TrpLineWrapper::TakeSyllableBreak(qsizetype start, qsizetype wordStart, qsizetype current, QStringList& out,
                                       qsizetype& next) {
  // Breaks past the overflowing character cannot fit, and the rule looks two
  // characters ahead: the word is read no further than that, so a very long word
  // costs no more than the line it is cut from.
  qsizetype limit = current + UnitsAt(line_, current);
  for (int ahead = 0; ahead < 2 && limit < line_.size(); ++ahead) limit += UnitsAt(line_, limit);
  qsizetype wordEnd = wordStart;
  while (wordEnd < limit && !EndsWord(line_[wordEnd]) && !IsLineBreak(line_[wordEnd])) ++wordEnd;
  qsizetype best = -1;
  for (int offset : BreakWord(line_.sliced(wordStart, wordEnd - wordStart))) {
    const qsizetype at = wordStart + offset;
    if (at <= start) continue;
    if (Width(start, at) + hyphenWidth_ > width_) break;
    best = at;
  }
  if (best < 0) return false;
  out << Piece(line_.sliced(start, best - start), u'-');
  next = best;
  return true;
}

void TrpLineWrapper::WrapLine(QStringView line, QStringList& out) {
  const qsizetype n = line.size();
  const QChar mark(kRpParagraphMark);
  // Most lines fit: find out without keeping widths, stopping at the first character
  // that does not.
  bool hasBreaks = false;
  bool fits = true;
  double total = 0;
  qsizetype codePoints = 0;
  for (qsizetype i = 0; i < n && !hasBreaks && fits; i += UnitsAt(line, i)) {
    hasBreaks = IsLineBreak(line[i]);
    total += measurer_.CharWidth(CodePointAt(line, i));
    fits = ++codePoints <= 1 || total <= width_;
  }
  if (!hasBreaks && fits) {
    out << Piece(line, mark);
    return;
  }

  line_ = line;
  base_ = 0;
  cumulative_.assign(1, 0.0);
  qsizetype start = 0;
  qsizetype lastBlank = -1;  // the last blank of this line after its first character
  qsizetype i = 0;
  while (i < n) {
    const QChar c = line[i];
    if (IsLineBreak(c)) {
      out << Piece(line.sliced(start, i - start), mark);
      while (i < n && IsLineBreak(line[i])) ++i;
      start = i;
      lastBlank = -1;
      MoveBase(start);
      if (i == n) return;
      continue;
    }
    const qsizetype units = UnitsAt(line, i);
    if (c == u' ') {
      if (i > start) lastBlank = i;
      i += units;
      continue;
    }
    if (Width(start, i + units) <= width_) {
      i += units;
      continue;
    }
    // The character at i does not fit: end the line, then look at i again from the
    // new start.
    qsizetype next = 0;
    if (wordBreak_ && TakeSyllableBreak(start, lastBlank >= 0 ? lastBlank + 1 : start, i, out, next)) {
      start = next;
    } else if (lastBlank >= 0) {
      out << line.sliced(start, lastBlank - start).toString();
      start = lastBlank + 1;
    } else if (i > start) {
      out << line.sliced(start, i - start).toString();
      start = i;
    } else {
      // One character wider than the line still takes a line of its own.
      i += units;
      if (i == n) {
        out << Piece(line.sliced(start), mark);
        return;
      }
      out << line.sliced(start, i - start).toString();
      start = i;
    }
    lastBlank = -1;
    MoveBase(start);
  }
  out << Piece(line.sliced(start), mark);
}

TrpWrappedMemo rpWrapMemo(const QStringList& expanded, const TrpMemoBox& box, bool alreadyMarked, bool building,
                          const TrpTextMeasurer& measurer) {
  TrpWrappedMemo result;
  result.lineStep = rpLineStep(box.lineSpacing, measurer.PixelHeight());
  const bool rotated = (box.alignment & rpMemoAlign::Rotated) != 0;
  const double width = rotated ? box.height - 2 * box.gapY : box.width - 2 * box.gapX;
  const QChar mark(kRpParagraphMark);
  if (alreadyMarked) {
    result.lines = expanded;
  } else if (!building && expanded.size() == 1 && expanded[0].startsWith(u'[') &&
             measurer.TextWidth(expanded[0]) > width + kSlack) {
    result.lines << expanded[0] + mark;
  } else if (box.flags & rpMemoFlag::WordWrap) {
    TrpLineWrapper wrapper(measurer, width, (box.flags & rpMemoFlag::WordBreak) != 0);
    for (const QString& line : expanded) wrapper.WrapLine(line, result.lines);
  } else {
    result.lines.reserve(expanded.size());
    for (const QString& line : expanded) result.lines << line + mark;
  }
  const int gap = rotated ? box.gapX : box.gapY;
  result.neededHeight = static_cast<int>(result.lines.size()) * result.lineStep + 2 * gap;
  return result;
}

bool rpTakeStoredLines(QStringList& lines) {
  const bool marked = std::any_of(lines.cbegin(), lines.cend(),
                                  [](const QString& line) { return line.contains(QChar(kRpParagraphMark)); });
  if (marked && lines.back() == QString(QChar(kRpParagraphMark))) lines.removeLast();
  return marked;
}

TrpMemoSplit rpSplitPrinted(const QStringList& wrapped, qsizetype printed) {
  printed = std::clamp<qsizetype>(printed, 0, wrapped.size());
  TrpMemoSplit split;
  split.printed = wrapped.mid(0, printed);
  split.rest = wrapped.mid(printed);
  const bool marked =
      std::any_of(split.printed.cbegin(), split.printed.cend(), [](const QString& line) { return rpEndsParagraph(line); });
  if (!marked) split.printed << QString(QChar(kRpParagraphMark));
  return split;
}

int rpMemoMinHeight(int pixelHeight, int lineSpacing, int gapY, double frameWidth) {
  return RoundInt(2 * frameWidth) + 2 * gapY + rpLineStep(lineSpacing, pixelHeight);
}

int rpMemoRemainHeight(int height, double frameWidth, int gapY, int lineStep) {
  const int edges = 2 * gapY + RoundInt(2 * frameWidth);
  const int inner = height - edges;
  if (inner < 0) return height;
  return edges + inner % std::max(1, lineStep);
}

int rpMemoCalcWidth(const QStringList& lines, const TrpTextMeasurer& measurer, double scaleX, double frameWidth,
                    int gapX) {
  double widest = 0;
  for (const QString& line : lines) {
    QString text = line;
    text.remove(QChar(kRpParagraphMark));
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
      if (i < text.size() && !IsLineBreak(text[i])) continue;
      widest = std::max(widest, measurer.TextWidth(QStringView(text).sliced(from, i - from)));
      if (i + 1 < text.size() && text[i] == u'\r' && text[i + 1] == u'\n') ++i;
      from = i + 1;
    }
  }
  return RoundInt(widest / (scaleX > 0 ? scaleX : 1.0) + frameWidth + 2 * gapX + 1);
}

int rpAutoWidthLeft(int left, int oldWidth, int newWidth, uint32_t alignment) {
  if (alignment & rpMemoAlign::Rotated) return left;
  const uint32_t horizontal = alignment & rpMemoAlign::HorizontalMask;
  if (horizontal == rpMemoAlign::Right || horizontal == rpMemoAlign::Justify) return left + oldWidth - newWidth;
  return left;
}
