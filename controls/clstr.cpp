#include "controls/clstr.h"

void StrDeleteChar(QString& text, int pos) {
  if (pos >= 0 && pos < text.size()) text.remove(pos, 1);
}

void StrInsertChar(QString& text, QChar c, int pos) {
  text.insert(pos < 0 ? 0 : qMin<qsizetype>(pos, text.size()), c);
}

std::optional<int> StrFindChar(const QString& text, QChar c) {
  const qsizetype at = text.indexOf(c);
  if (at < 0) return std::nullopt;
  return static_cast<int>(at);
}

std::optional<int> StrFindSubstr(const QString& text, const QString& part) {
  if (text.isEmpty() || part.isEmpty() || part.size() > text.size()) return std::nullopt;
  const qsizetype at = text.indexOf(part);
  if (at < 0) return std::nullopt;
  return static_cast<int>(at);
}
