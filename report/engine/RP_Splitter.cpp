#include "report/engine/RP_Splitter.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Pars.h"

namespace {

// Texts nest through brackets, calls and variables; a stored report cannot nest deeper.
constexpr int kMaxSplitDepth = 64;

bool IsNameStart(QChar c) { return c.isLetter() || c == u'_'; }
bool IsNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'#'; }

}  // namespace

TrpFunctionSplitter::TrpFunctionSplitter(QStringList names, TrpVariableText variables, QStringList& out)
    : names_(std::move(names)), variables_(std::move(variables)), out_(out) {}

void TrpFunctionSplitter::SplitVariable(const QString& name, const QString& text) {
  if (expanding_.contains(name, Qt::CaseInsensitive)) return;
  expanding_ << name;
  Split(text);
  expanding_.removeLast();
}

void TrpFunctionSplitter::Split(const QString& source) {
  if (depth_ >= kMaxSplitDepth) return;
  struct Depth {
    int& d;
    explicit Depth(int& value) : d(value) { ++d; }
    ~Depth() { --d; }
  } depth(depth_);
  const QString text = source.trimmed();
  if (text.startsWith(u'\'') || text.startsWith(u'"')) return;
  QString value;
  for (qsizetype i = 0; i < text.size();) {
    const QChar c = text[i];
    if (c == u'[') {
      qsizetype open = i;
      qsizetype stop = i;
      const QString inner = GetBracketedText(text, open, stop);
      if (variables_ && variables_(inner.trimmed(), value)) {
        SplitVariable(inner.trimmed(), value);
      } else {
        Split(inner);
      }
      i = stop + 1;
    } else if (c == u'\'') {
      ReadQuotedString(text, i);
    } else if (IsNameStart(c)) {
      const qsizetype start = i;
      while (i < text.size() && IsNameChar(text[i])) ++i;
      const QString name = text.mid(start, i - start);
      if (i < text.size() && text[i] == u'(') {
        QString p1, p2, p3;
        try {
          SplitArguments(text, i, p1, p2, p3);
        } catch (const EParserError&) {
          return;  // an unbalanced call holds nothing to register
        }
        Split(p1);
        Split(p2);
        Split(p3);
        if (names_.contains(name.toUpper())) out_ << text.mid(start, i - start);
      } else if (variables_ && variables_(name, value)) {
        SplitVariable(name, value);
      }
    } else {
      ++i;
    }
  }
}
