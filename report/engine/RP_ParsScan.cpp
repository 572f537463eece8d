// The text scanners of the expression language.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_Pars.h"
#include "report/engine/RP_StringTable.h"

namespace {

bool IsBlank(QChar c) { return c.unicode() <= u' '; }

bool EndsWord(QChar c) {
  return c == u'(' || c == u')' || c == u'[' || rpIsOperatorChar(c.unicode()) || IsBlank(c);
}

}  // namespace

QString GetBracketedText(const QString& text, qsizetype& start, qsizetype& stop) {
  const qsizetype open = text.indexOf(u'[', std::max<qsizetype>(start, 0));
  if (open < 0) {
    stop = start;
    return {};
  }
  start = open;
  int depth = 0;
  bool single = false;
  bool dbl = false;
  for (qsizetype i = open; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\'' && !dbl) {
      single = !single;
    } else if (c == u'"' && !single) {
      dbl = !dbl;
    } else if (!single && !dbl) {
      if (c == u'[') {
        ++depth;
      } else if (c == u']' && --depth == 0) {
        stop = i;
        return text.mid(open + 1, i - open - 1);
      }
    }
  }
  stop = text.size();
  return text.mid(open + 1);
}

QString ReadIdentifier(const QString& text, qsizetype& pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  const qsizetype start = pos;
  bool quoted = false;
  while (pos < text.size()) {
    const QChar c = text[pos];
    if (c == u'"') {
      quoted = !quoted;
    } else if (!quoted && EndsWord(c)) {
      break;
    }
    ++pos;
  }
  return text.mid(start, pos - start);
}

QString ReadQuotedString(const QString& text, qsizetype& pos) {
  const qsizetype start = pos;
  if (pos >= text.size()) return {};
  const QChar quote = text[pos++];
  qsizetype doubled = 0;
  while (pos < text.size()) {
    if (text[pos] == quote) {
      if (pos + 1 < text.size() && text[pos + 1] == quote) {
        pos += 2;
        ++doubled;
        continue;
      }
      ++pos;
      break;
    }
    ++pos;
  }
  // Checked before the text is copied: a huge literal would cost its size several times over.
  if (pos - start - 2 - doubled > rpMaxTextLength) throw EParserError(rpLoadStr(rpStrings::QuotedTextTooLong));
  return text.mid(start, pos - start);
}

void SplitArguments(const QString& text, qsizetype& pos, QString& p1, QString& p2, QString& p3) {
  QString* args[3] = {&p1, &p2, &p3};
  for (QString* arg : args) arg->clear();
  int depth = 0;
  int brackets = 0;
  int count = 0;
  QChar quote;
  qsizetype argStart = pos + 1;
  for (qsizetype i = pos; i < text.size(); ++i) {
    const QChar c = text[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      continue;
    }
    switch (c.unicode()) {
      case u'\'':
      case u'"': quote = c; break;
      case u'[': ++brackets; break;
      case u']':
        if (brackets > 0) --brackets;
        break;
      case u'(':
        if (brackets == 0) ++depth;
        break;
      case u')':
        if (brackets == 0 && --depth == 0) {
          if (count < 3) *args[count] = text.mid(argStart, i - argStart).trimmed();
          pos = i + 1;
          return;
        }
        break;
      case u',':
        if (depth == 1 && brackets == 0) {
          if (count < 3) *args[count] = text.mid(argStart, i - argStart).trimmed();
          ++count;
          argStart = i + 1;
        }
        break;
      default: break;
    }
  }
  throw EParserError(QString());
}
