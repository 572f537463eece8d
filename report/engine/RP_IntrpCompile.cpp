// Script text to coded lines: comments out, statements compiled with their expressions
// checked, labels resolved and expressions compiled in a second pass.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Intrp.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <optional>
#include <vector>

namespace {

// Statements and expressions nest by recursion; a stored script cannot nest deeper.
constexpr int kMaxNesting = 200;
// Jump targets are 16-bit line indexes.
constexpr qsizetype kMaxLines = 0xFFFF;

struct CompileFailure {
  qsizetype at;  // in the buffer without comments
  int messageId;
};

struct Token {
  qsizetype start;
  qsizetype end;
  QString upper;  // " " at the end of the text
};

bool IsIdentStart(QChar c) { return c.isLetter() || c == u'_'; }
bool IsIdentChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; }

QString Target(qsizetype index) {
  return QString(QChar(static_cast<char16_t>(index & 0xFF))) + QChar(static_cast<char16_t>((index >> 8) & 0xFF));
}

class ScriptCompiler {
public:
  explicit ScriptCompiler(const QStringList& source) {
    source_ = source.join(u'\r');
    source_.replace(u'\t', u' ');
    StripComments();
  }

  QStringList coded;
  std::vector<std::pair<QString, qsizetype>> labels;

  void Compile() { Statement(); }

  // "Line L/C: " for a place in the buffer, counted in the source with its comments.
  QString Where(qsizetype at) const {
    qsizetype sourcePos = at;
    for (const auto& [cleanedAt, length] : comments_) {
      if (cleanedAt <= at) sourcePos += length;
    }
    sourcePos = std::min(sourcePos, source_.size());
    qsizetype line = 1;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < sourcePos; ++i) {
      if (source_[i] == u'\r') {
        ++line;
        lineStart = i + 1;
      }
    }
    return rpLoadStr(rpStrings::LinePrefix) + QString::number(line) + u'/' + QString::number(sourcePos - lineStart + 1) +
           QStringLiteral(": ");
  }

private:
  // Comments go, quoted text stays; where each comment was is kept for Where.
  void StripComments() {
    const qsizetype n = source_.size();
    for (qsizetype i = 0; i < n;) {
      const QChar c = source_[i];
      if (c == u'\'' || c == u'"') {
        const qsizetype close = source_.indexOf(c, i + 1);
        const qsizetype end = close < 0 ? n : close + 1;
        buf_ += QStringView(source_).mid(i, end - i);
        i = end;
      } else if (c == u'{' || (c == u'/' && i + 1 < n && source_[i + 1] == u'/')) {
        const qsizetype close = source_.indexOf(c == u'{' ? u'}' : u'\r', i + 1);
        const qsizetype end = close < 0 ? n : close + 1;
        comments_.emplace_back(buf_.size(), end - i);
        i = end;
      } else {
        buf_ += c;
        ++i;
      }
    }
  }

  [[noreturn]] void Fail(qsizetype at, int id) const { throw CompileFailure{at, id}; }

  void SkipBlanks() {
    while (pos_ < buf_.size() && buf_[pos_].unicode() <= u' ') ++pos_;
  }

  Token Peek() const {
    qsizetype start = pos_;
    while (start < buf_.size() && buf_[start].unicode() <= u' ') ++start;
    qsizetype end = start;
    while (end < buf_.size() && buf_[end].unicode() > u' ') ++end;
    if (start == end) return {start, end, QStringLiteral(" ")};
    return {start, end, buf_.mid(start, end - start).toUpper()};
  }

  static bool IsEnd(const Token& t) { return t.upper == QLatin1String("END") || t.upper == QLatin1String("END;"); }

  qsizetype Add(const QString& line) {
    if (coded.size() >= kMaxLines) Fail(pos_, rpStrings::ScriptTooLong);
    coded << line;
    return coded.size() - 1;
  }

  void SetTarget(qsizetype line, qsizetype target) {
    if (target > kMaxLines) Fail(pos_, rpStrings::ScriptTooLong);
    QString& text = coded[line];
    text.replace(1, 2, Target(target));
  }

  struct Nest {
    explicit Nest(ScriptCompiler& c) : compiler(c) {
      if (++compiler.nesting_ > kMaxNesting) compiler.Fail(compiler.pos_, rpStrings::ExpressionTooComplex);
    }
    ~Nest() { --compiler.nesting_; }
    ScriptCompiler& compiler;
  };

  void Statement() {
    Nest nest(*this);
    const Token t = Peek();
    const QString& w = t.upper;
    if (w == QLatin1String("BEGIN")) {
      pos_ = t.end;
      for (;;) {
        Statement();
        const Token u = Peek();
        if (u.upper.startsWith(u';')) {
          pos_ = u.start + 1;
        } else if (IsEnd(u)) {
          pos_ = u.start + 3;
          return;
        } else {
          Fail(u.start, rpStrings::NeedSemicolonOrEnd);
        }
      }
    }
    if (w == QLatin1String("IF")) {
      pos_ = t.end;
      const qsizetype jump = Add(QStringLiteral("\x01  ") + Expression());
      const Token then = Peek();
      if (then.upper != QLatin1String("THEN")) Fail(then.start, rpStrings::NeedThen);
      pos_ = then.end;
      Statement();
      const Token other = Peek();
      if (other.upper == QLatin1String("ELSE")) {
        const qsizetype skip = Add(QStringLiteral("\x02  "));
        SetTarget(jump, coded.size());
        pos_ = other.end;
        Statement();
        SetTarget(skip, coded.size());
      } else {
        SetTarget(jump, coded.size());
      }
      return;
    }
    if (w == QLatin1String("REPEAT")) {
      pos_ = t.end;
      const qsizetype first = coded.size();
      for (;;) {
        Statement();
        const Token u = Peek();
        if (u.upper.startsWith(u';')) {
          pos_ = u.start + 1;
        } else if (u.upper == QLatin1String("UNTIL")) {
          pos_ = u.end;
          Add(QChar(TrpInterpretator::JumpIfFalse) + Target(first) + Expression());
          return;
        } else {
          Fail(u.start, rpStrings::NeedSemicolonOrUntil);
        }
      }
    }
    if (w == QLatin1String("WHILE")) {
      pos_ = t.end;
      const qsizetype test = Add(QStringLiteral("\x01  ") + Expression());
      const Token d = Peek();
      if (d.upper != QLatin1String("DO")) Fail(d.start, rpStrings::NeedDo);
      pos_ = d.end;
      Statement();
      Add(QChar(TrpInterpretator::Jump) + Target(test));
      SetTarget(test, coded.size());
      return;
    }
    if (w == QLatin1String("FOR")) {
      pos_ = t.end;
      SkipBlanks();
      const qsizetype at = pos_;
      const QString variable = Designator();
      if (variable.isEmpty()) Fail(at, rpStrings::InvalidExpression);
      const Token assign = Peek();
      if (!assign.upper.startsWith(QLatin1String(":="))) Fail(assign.start, rpStrings::NeedAssign);
      pos_ = assign.start + 2;
      Add(variable + u' ' + Expression());
      const Token to = Peek();
      if (to.upper != QLatin1String("TO")) Fail(to.start, rpStrings::NeedTo);
      pos_ = to.end;
      const qsizetype test = Add(QStringLiteral("\x01  ") + variable + QStringLiteral("<=") + Expression());
      const Token d = Peek();
      if (d.upper != QLatin1String("DO")) Fail(d.start, rpStrings::NeedDo);
      pos_ = d.end;
      Statement();
      Add(variable + u' ' + variable + QStringLiteral("+1"));
      Add(QChar(TrpInterpretator::Jump) + Target(test));
      SetTarget(test, coded.size());
      return;
    }
    if (w == QLatin1String("GOTO")) {
      pos_ = t.end;
      const Token label = Peek();
      qsizetype digits = 0;
      while (digits < label.upper.size() && label.upper[digits].isDigit()) ++digits;
      if (digits == 0) Fail(label.start, rpStrings::GotoLabelNumber);
      pos_ = label.start + digits;
      Add(QStringLiteral("\x02  ") + label.upper.left(digits));
      return;
    }
    if (IsEnd(t) || w == QLatin1String("UNTIL")) return;
    {
      qsizetype digits = 0;
      while (digits < w.size() && w[digits].isDigit()) ++digits;
      if (digits > 0 && digits < w.size() && w[digits] == u':' && (digits + 1 == w.size() || w[digits + 1] != u'=')) {
        const QString label = w.left(digits + 1);
        bool known = false;
        for (const auto& entry : labels) known = known || entry.first == label;
        if (!known) labels.emplace_back(label, coded.size());
        pos_ = t.start + digits + 1;
        Statement();
        return;
      }
    }
    if (t.start < buf_.size() && IsIdentStart(buf_[t.start])) {
      pos_ = t.start;
      std::optional<QString> index;
      const QString variable = Designator(&index);
      if (pos_ < buf_.size() && buf_[pos_] == u'(') {
        pos_ = t.start;  // a call with arguments is an expression statement
      } else {
        const Token next = Peek();
        if (next.upper.startsWith(u';') || IsEnd(next) || next.upper == QLatin1String("ELSE") ||
            next.upper == QLatin1String("UNTIL") || next.upper == QLatin1String(" ")) {
          Add(QChar(TrpInterpretator::Call) + variable + QStringLiteral("(0)"));
          return;
        }
        if (!next.upper.startsWith(QLatin1String(":="))) Fail(next.start, rpStrings::NeedAssign);
        pos_ = next.start + 2;
        const QString value = Expression();
        if (!index) {
          Add(variable + u' ' + value);
        } else {
          Add(QChar(TrpInterpretator::Call) + QStringLiteral("SETARRAY(") + variable + QStringLiteral(", ") + *index +
              QStringLiteral(", ") + value + u')');
        }
        return;
      }
    }
    Add(QChar(TrpInterpretator::Call) + Expression());
  }

  // A letter, then letters, digits, "." or "_", and an optional bracketed index: the
  // index goes to index when asked for, else it stays part of the text returned.
  QString Designator(std::optional<QString>* index = nullptr) {
    const qsizetype start = pos_;
    if (pos_ >= buf_.size() || !IsIdentStart(buf_[pos_])) return {};
    while (pos_ < buf_.size() && IsIdentChar(buf_[pos_])) ++pos_;
    const QString name = buf_.mid(start, pos_ - start);
    if (pos_ < buf_.size() && buf_[pos_] == u'[') {
      qsizetype open = pos_;
      qsizetype stop = pos_;
      const QString inner = GetBracketedText(buf_, open, stop);
      if (stop >= buf_.size()) Fail(open, rpStrings::NeedCloseBracket);
      pos_ = stop + 1;
      if (!index) return buf_.mid(start, pos_ - start);
      *index = inner;
    }
    return name;
  }

  // Checks one expression and returns its text.
  QString Expression() {
    SkipBlanks();
    const qsizetype start = pos_;
    Comparison();
    return buf_.mid(start, pos_ - start).trimmed();
  }

  bool At(QChar c) {
    SkipBlanks();
    return pos_ < buf_.size() && buf_[pos_] == c;
  }

  bool AtWord(QLatin1String word) {
    SkipBlanks();
    if (buf_.mid(pos_, word.size()).compare(word, Qt::CaseInsensitive) != 0) return false;
    const qsizetype after = pos_ + word.size();
    if (after < buf_.size() && (IsIdentChar(buf_[after]) || buf_[after] == u'#')) return false;
    pos_ = after;
    return true;
  }

  void Comparison() {
    Sum();
    SkipBlanks();
    const QStringView rest = QStringView(buf_).mid(pos_);
    if (rest.startsWith(u">=") || rest.startsWith(u"<=") || rest.startsWith(u"<>")) {
      pos_ += 2;
      Sum();
    } else if (At(u'<') || At(u'=') || At(u'>')) {
      ++pos_;
      Sum();
    }
  }

  void Sum() {
    for (;;) {
      Product();
      if (At(u'+') || At(u'-')) {
        ++pos_;
      } else if (!AtWord(QLatin1String("OR"))) {
        return;
      }
    }
  }

  void Product() {
    for (;;) {
      Factor();
      if (At(u'*') || At(u'/')) {
        ++pos_;
      } else if (!AtWord(QLatin1String("AND")) && !AtWord(QLatin1String("MOD"))) {
        return;
      }
    }
  }

  void Factor() {
    Nest nest(*this);
    SkipBlanks();
    if (pos_ >= buf_.size()) Fail(pos_, rpStrings::InvalidExpression);
    const QChar c = buf_[pos_];
    if (c == u'(') {
      ++pos_;
      Comparison();
      if (!At(u')')) Fail(pos_, rpStrings::NeedCloseParen);
      ++pos_;
    } else if (c == u'[') {
      qsizetype open = pos_;
      qsizetype stop = pos_;
      GetBracketedText(buf_, open, stop);
      if (stop >= buf_.size()) Fail(open, rpStrings::NeedCloseBracket);
      pos_ = stop + 1;
    } else if (c == u'+' || c == u'-') {
      ++pos_;
      Comparison();
    } else if (AtWord(QLatin1String("NOT"))) {
      Comparison();
    } else if (IsIdentStart(c)) {
      while (pos_ < buf_.size() && (IsIdentChar(buf_[pos_]) || buf_[pos_] == u'#')) ++pos_;
      if (pos_ < buf_.size() && buf_[pos_] == u'[') {
        qsizetype open = pos_;
        qsizetype stop = pos_;
        GetBracketedText(buf_, open, stop);
        if (stop >= buf_.size()) Fail(open, rpStrings::NeedCloseBracket);
        pos_ = stop + 1;
      }
      if (pos_ < buf_.size() && buf_[pos_] == u'(') {
        ++pos_;
        if (At(u')')) {
          ++pos_;
          return;
        }
        for (;;) {
          Comparison();
          if (At(u',')) {
            ++pos_;
          } else if (At(u')')) {
            ++pos_;
            return;
          } else {
            Fail(pos_, rpStrings::NeedCommaOrParen);
          }
        }
      }
    } else if (c.isDigit()) {
      while (pos_ < buf_.size() && buf_[pos_].isDigit()) ++pos_;
      if (pos_ + 1 < buf_.size() && buf_[pos_] == u'.' && buf_[pos_ + 1].isDigit()) {
        ++pos_;
        while (pos_ < buf_.size() && buf_[pos_].isDigit()) ++pos_;
      }
    } else if (c == u'\'') {
      const qsizetype start = pos_;
      qsizetype doubled = 0;
      ++pos_;
      for (;;) {
        if (pos_ >= buf_.size()) Fail(start, rpStrings::InvalidExpression);
        if (buf_[pos_] == u'\'') {
          if (pos_ + 1 < buf_.size() && buf_[pos_ + 1] == u'\'') {
            pos_ += 2;
            ++doubled;
            continue;
          }
          ++pos_;
          break;
        }
        ++pos_;
      }
      if (pos_ - start - 2 - doubled > rpMaxTextLength) Fail(start, rpStrings::QuotedTextTooLong);
    } else {
      Fail(pos_, rpStrings::InvalidExpression);
    }
  }

  QString source_;
  QString buf_;
  std::vector<std::pair<qsizetype, qsizetype>> comments_;  // where in buf_, how long in the source
  qsizetype pos_ = 0;
  int nesting_ = 0;
};

// The second pass: GOTO targets from the labels, every expression compiled.
void Finish(QStringList& coded, const std::vector<std::pair<QString, qsizetype>>& labels) {
  for (QString& line : coded) {
    if (line.isEmpty()) continue;
    switch (line[0].unicode()) {
      case TrpInterpretator::Jump:
        if (line.size() > 3) {
          const QString label = line.mid(3) + u':';
          for (const auto& [name, index] : labels) {
            if (name == label) {
              line.replace(1, 2, Target(index));
              break;
            }
          }
        }
        break;
      case TrpInterpretator::JumpIfFalse: line = line.left(3) + TrpParser::CompileExpression(line.mid(3)); break;
      case TrpInterpretator::Call: line = line.left(1) + TrpParser::CompileExpression(line.mid(1)); break;
      default: {
        const qsizetype blank = line.indexOf(u' ');
        if (blank >= 0) line = line.left(blank + 1) + TrpParser::CompileExpression(line.mid(blank + 1));
        break;
      }
    }
  }
}

}  // namespace

void TrpInterpretator::CompileScript(const QStringList& source, QStringList& coded, QStringList& errors) {
  ScriptCompiler compiler(source);  // copies the source first: coded may be the same list
  coded.clear();
  errors.clear();
  try {
    compiler.Compile();
  } catch (const CompileFailure& failure) {
    errors << compiler.Where(failure.at) + rpLoadStr(failure.messageId);
  }
  try {
    Finish(compiler.coded, compiler.labels);
  } catch (const ErpError& e) {
    // The checks above let no unbalanced call through; should one slip by, say so.
    errors << compiler.Where(0) + (e.Message().isEmpty() ? rpLoadStr(rpStrings::UnbalancedParentheses) : e.Message());
  }
  coded = compiler.coded;
}
