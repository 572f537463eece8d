// Infix to reverse-Polish form.
#include "report/engine/RP_Pars.h"

namespace {

constexpr char16_t kOpenParen = u'(';

int Priority(char16_t code) {
  switch (code) {
    case rpOp::GreaterEqual:
    case rpOp::LessEqual:
    case rpOp::NotEqual:
    case u'<':
    case u'=':
    case u'>': return 3;
    case u'+':
    case u'-':
    case rpOp::Negate:
    case rpOp::Plus: return 2;
    case u'*':
    case u'/':
    case rpOp::Mod:
    case rpOp::And:
    case rpOp::Or:
    case rpOp::Not: return 1;
    case rpOp::Int:
    case rpOp::Frac:
    case rpOp::Str:
    case rpOp::Round: return 0;
    case kOpenParen: return 5;
    default: return 4;
  }
}

bool IsPrefix(char16_t code) {
  switch (code) {
    case rpOp::Int:
    case rpOp::Frac:
    case rpOp::Negate:
    case rpOp::Plus:
    case rpOp::Str:
    case rpOp::Not:
    case rpOp::Round: return true;
    default: return false;
  }
}

char16_t WordOperator(const QString& upper) {
  static const QHash<QString, char16_t> words{
      {QStringLiteral("INT"), rpOp::Int}, {QStringLiteral("FRAC"), rpOp::Frac}, {QStringLiteral("ROUND"), rpOp::Round},
      {QStringLiteral("OR"), rpOp::Or},   {QStringLiteral("AND"), rpOp::And},   {QStringLiteral("NOT"), rpOp::Not},
      {QStringLiteral("STR"), rpOp::Str}, {QStringLiteral("MOD"), rpOp::Mod}};
  return words.value(upper, 0);
}

// The operator stack keeps its top at the end (the order the output wants reversed).
struct Compiler {
  QString out;
  QString stack;
  bool lastWasOperand = false;

  void Operator(char16_t code) {
    if (!lastWasOperand) {
      if (code == u'-') code = rpOp::Negate;
      if (code == u'+') code = rpOp::Plus;
    }
    if (!IsPrefix(code) && !stack.isEmpty() && Priority(code) >= Priority(stack.back().unicode())) {
      while (!stack.isEmpty() && Priority(code) >= Priority(stack.back().unicode())) {
        out += stack.back();
        stack.chop(1);
      }
    }
    stack += QChar(code);
    lastWasOperand = false;
  }

  void CloseParen() {
    while (!stack.isEmpty() && stack.back() != kOpenParen) {
      out += stack.back();
      stack.chop(1);
    }
    if (!stack.isEmpty()) stack.chop(1);
  }
};

}  // namespace

QString TrpParser::CompileExpression(const QString& text) {
  Compiler c;
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    const QChar ch = text[i];
    if (ch.unicode() <= u' ') {
      ++i;
      continue;
    }
    if (ch == u';') break;
    if (ch == u'(') {
      c.stack += ch;
      c.lastWasOperand = false;
      ++i;
      continue;
    }
    if (ch == u')') {
      c.CloseParen();
      ++i;
      continue;
    }
    if (rpIsOperatorChar(ch.unicode())) {
      char16_t code = ch.unicode();
      const QChar next = i + 1 < n ? text[i + 1] : QChar();
      if (code == u'<' && next == u'>') code = rpOp::NotEqual;
      else if (code == u'>' && next == u'=') code = rpOp::GreaterEqual;
      else if (code == u'<' && next == u'=') code = rpOp::LessEqual;
      i += code == ch.unicode() ? 1 : 2;
      c.Operator(code);
      continue;
    }

    // An operand: an optional two-character "%" prefix, then a quoted string, a
    // bracketed part, or an identifier with an optional bracketed index.
    const qsizetype start = i;
    if (text[i] == u'%') i = std::min(n, i + 2);
    if (i < n && text[i] == u'\'') {
      ReadQuotedString(text, i);
    } else if (i < n && text[i] == u'[') {
      qsizetype open = i;
      qsizetype stop = i;
      GetBracketedText(text, open, stop);
      i = std::min(n, stop + 1);
    } else if (i < n) {
      ReadIdentifier(text, i);
      if (i < n && text[i] == u'[') {
        qsizetype open = i;
        qsizetype stop = i;
        GetBracketedText(text, open, stop);
        i = std::min(n, stop + 1);
      }
    }
    if (i == start) ++i;  // a character no rule takes becomes an operand of its own
    const QString operand = text.mid(start, i - start);
    if (rpStartsNumber(operand[0])) {
      c.out += operand;
      c.out += u' ';
      c.lastWasOperand = true;
      continue;
    }
    if (const char16_t code = WordOperator(operand.toUpper())) {
      c.Operator(code);
      continue;
    }
    if (i < n && text[i] == u'(') {
      QString p1, p2, p3;
      SplitArguments(text, i, p1, p2, p3);
      c.out += text.mid(start, i - start);
    } else {
      c.out += operand;
      c.out += u' ';
    }
    c.lastWasOperand = true;
  }
  for (qsizetype k = c.stack.size() - 1; k >= 0; --k) c.out += c.stack[k];
  return c.out;
}
