#include "report/engine/RP_MemoExpand.h"

#include "report/engine/RP_Pars.h"

QString rpExpandBrackets(const QString& text, const TrpExpressionText& valueOf) {
  QString result;
  qsizetype pos = 0;
  while (pos < text.size()) {
    qsizetype start = pos;
    qsizetype stop = pos;
    const QString inner = GetBracketedText(text, start, stop);
    if (start == stop || stop >= text.size()) break;
    result += QStringView(text).sliced(pos, start - pos);
    result += valueOf(inner);
    pos = stop + 1;
  }
  result += QStringView(text).sliced(pos);
  return result;
}

QStringList rpExpandVariables(const QStringList& memo, bool textOnly, const TrpExpressionText& valueOf) {
  QStringList expanded;
  expanded.reserve(memo.size());
  for (const QString& line : memo) {
    const QString text = textOnly ? line : rpExpandBrackets(line, valueOf);
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] != u'\r' && text[i] != u'\n') continue;
      expanded << text.sliced(from, i - from);
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      from = i + 1;
    }
    if (from < text.size() || text.isEmpty()) expanded << text.sliced(from);
  }
  return expanded;
}
