#include "report/engine/RP_BreakWord.h"

#include <QChar>

namespace {

enum class Kind { Consonant, Vowel, Sign, Separator };

Kind KindOf(char32_t c) {
  switch (QChar::toUpper(c)) {
    case U'А': case U'Е': case U'Ё': case U'И': case U'О':
    case U'У': case U'Ы': case U'Э': case U'Ю': case U'Я':
      return Kind::Vowel;
    case U'Ъ': case U'Ь':
      return Kind::Sign;
    case U' ': case U',': case U'-': case U'.':
      return Kind::Separator;
    default:
      return Kind::Consonant;
  }
}

bool Allowed(Kind here, Kind next, Kind afterNext) {
  if (here == Kind::Vowel) return next == Kind::Vowel || afterNext == Kind::Vowel;
  if (here == Kind::Sign && afterNext != Kind::Separator) return true;
  return next != Kind::Vowel && next != Kind::Sign && afterNext == Kind::Vowel;
}

}  // namespace

std::vector<int> BreakWord(QStringView word) {
  // Each character's kind and the UTF-16 offset just after it.
  std::vector<Kind> kinds;
  std::vector<int> ends;
  kinds.reserve(static_cast<size_t>(word.size()));
  ends.reserve(static_cast<size_t>(word.size()));
  for (qsizetype i = 0; i < word.size(); ++i) {
    char32_t c = word[i].unicode();
    if (word[i].isHighSurrogate() && i + 1 < word.size() && word[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(word[i], word[i + 1]);
      ++i;
    }
    kinds.push_back(KindOf(c));
    ends.push_back(static_cast<int>(i + 1));
  }
  std::vector<int> breaks;
  const size_t length = kinds.size();
  if (length <= 3) return breaks;
  // 1-based i from 2 to length - 2 is the 0-based k = i - 1 from 1 to length - 3.
  for (size_t k = 1; k + 2 < length; ++k) {
    if (Allowed(kinds[k], kinds[k + 1], kinds[k + 2])) breaks.push_back(ends[k]);
  }
  return breaks;
}
