// Evaluation of reverse-Polish texts. A text is decoded once into steps (operands read,
// numbers converted, calls split), so evaluating it again only runs the steps.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_Pars.h"
#include "report/engine/RP_StringTable.h"

#include <cmath>

namespace {

// Nested evaluations (IF, COPY and array elements evaluate their arguments, names may
// be expressions themselves) and values waiting on the stack are bounded, so no stored
// report can exhaust the machine's stack or memory.
constexpr int kMaxDepth = 64;
constexpr size_t kMaxPending = 4096;
// Distinct texts kept decoded; beyond this the cache starts afresh.
constexpr qsizetype kMaxCached = 4096;

enum class StepKind : uint8_t { Binary, Unary, Push, GetValue, Array, Call, Copy, If, StrToDate, StrToTime, Fail };

bool IsBinary(char16_t c) {
  switch (c) {
    case rpOp::GreaterEqual:
    case rpOp::LessEqual:
    case rpOp::NotEqual:
    case rpOp::Or:
    case rpOp::And:
    case rpOp::Mod: return true;
    default: return rpIsOperatorChar(c);
  }
}

bool IsUnary(char16_t c) {
  switch (c) {
    case rpOp::Int:
    case rpOp::Frac:
    case rpOp::Negate:
    case rpOp::Str:
    case rpOp::Not:
    case rpOp::Round: return true;
    default: return false;
  }
}

[[noreturn]] void Fail(int id) { throw EParserError(rpLoadStr(id)); }

TrpValue Truth(bool value) { return TrpValue(value ? 1 : 0); }

TrpValue Binary(char16_t code, const TrpValue& a, const TrpValue& b) {
  switch (code) {
    case rpOp::GreaterEqual: return Truth(rpCompare(a, b) != TrpOrder::Less);
    case rpOp::LessEqual: return Truth(rpCompare(a, b) != TrpOrder::Greater);
    case rpOp::NotEqual: return Truth(!rpEquals(a, b));
    case u'<': return Truth(rpLess(a, b));
    case u'=': return Truth(rpEquals(a, b));
    case u'>': return Truth(rpGreater(a, b));
    case rpOp::Or: return rpOr(a, b);
    case rpOp::And:  // a product: any result other than 0 counts as true
    case u'*': return rpMultiply(a, b);
    case rpOp::Mod: return rpModulo(a, b);
    case u'+': return rpAdd(a, b);
    case u'-': return rpSubtract(a, b);
    case u'/': return rpDivide(a, b);
    default: Fail(rpStrings::InvalidExpression);
  }
}

// INT and FRAC first snap values within 1e-10 of a whole number onto it, so a sum that
// comes out as 2.9999999999 still counts as 3.
double Snapped(double x) {
  const double nearest = rpRoundHalfEven(x);
  return std::fabs(nearest - x) < 1e-10 ? nearest : x;
}

TrpValue Unary(char16_t code, const TrpValue& v) {
  switch (code) {
    case rpOp::Negate: return rpNegate(v);
    case rpOp::Not: return Truth(rpEquals(v, TrpValue(0)));
    case rpOp::Str: return TrpValue(v.ToString());
    default: break;
  }
  if (v.IsNull()) return v;
  const double x = v.ToFloat();
  switch (code) {
    case rpOp::Int: return TrpValue(std::trunc(Snapped(x)));
    case rpOp::Frac: {
      const double s = Snapped(x);
      return TrpValue(s - std::trunc(s));
    }
    case rpOp::Round: {
      const double r = rpRoundHalfEven(x);
      if (r >= -9.2e18 && r <= 9.2e18) return TrpValue(static_cast<int64_t>(r));
      return TrpValue(r);
    }
    default: Fail(rpStrings::InvalidExpression);
  }
}

// Outer quotes removed, every run of quotes inside reduced to one.
QString StringLiteral(const QString& quoted) {
  const QChar quote = quoted[0];
  QString inner = quoted.mid(1);
  if (quoted.size() >= 2 && inner.endsWith(quote)) inner.chop(1);
  QString out;
  out.reserve(inner.size());
  for (qsizetype i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == quote) {
      while (i + 1 < inner.size() && inner[i + 1] == quote) ++i;
    }
  }
  return out;
}

}  // namespace

struct TrpParser::Program {
  struct Step {
    StepKind kind;
    char16_t code = 0;
    TrpValue value;  // a constant, or the message of a failure
    QString name;    // a name, an array element's GETARRAY text, or a function's name
    QString p1, p2, p3;
  };
  std::vector<Step> steps;
};

TrpParser::TrpParser() { stack_.reserve(64); }

TrpParser::~TrpParser() = default;

std::shared_ptr<const TrpParser::Program> TrpParser::Decode(const QString& rpn) {
  auto program = std::make_shared<Program>();
  auto& steps = program->steps;
  auto fail = [&steps](const QString& message) {
    steps.push_back({StepKind::Fail, 0, TrpValue(message), {}, {}, {}, {}});
  };
  const qsizetype n = rpn.size();
  qsizetype i = 0;
  while (i < n) {
    const char16_t c = rpn[i].unicode();
    if (IsBinary(c)) {
      steps.push_back({StepKind::Binary, c, {}, {}, {}, {}, {}});
      ++i;
    } else if (IsUnary(c)) {
      steps.push_back({StepKind::Unary, c, {}, {}, {}, {}, {}});
      ++i;
    } else if (c <= u' ') {  // the blank after an operand, unary plus
      ++i;
    } else if (c == u'[') {
      qsizetype open = i;
      qsizetype stop = i;
      const QString inner = GetBracketedText(rpn, open, stop);
      steps.push_back({StepKind::GetValue, 0, {}, inner, {}, {}, {}});
      i = stop + 1;
    } else if (c == u'\'') {
      steps.push_back({StepKind::Push, 0, TrpValue(StringLiteral(ReadQuotedString(rpn, i))), {}, {}, {}, {}});
    } else {
      const QString word = ReadIdentifier(rpn, i);
      if (word.isEmpty()) {
        fail(rpLoadStr(rpStrings::InvalidExpression));
        break;
      }
      const QString upper = word.toUpper();
      if (rpStartsNumber(word[0])) {
        QString text = word;
        const QChar point = rpFormatSettings().DecimalSeparator;
        for (QChar& ch : text) {
          if (ch == u',' || ch == u'.') ch = point;
        }
        double number = 0;
        if (rpTryTextToFloat(text, number)) {
          steps.push_back({StepKind::Push, 0, TrpValue(number), {}, {}, {}, {}});
        } else {
          fail(rpLoadStr(rpStrings::InvalidFloat).arg(text));
        }
      } else if (upper == QLatin1String("TRUE") || upper == QLatin1String("FALSE")) {
        steps.push_back({StepKind::Push, 0, TrpValue(upper == QLatin1String("TRUE")), {}, {}, {}, {}});
      } else if (i < n && rpn[i] == u'[') {
        qsizetype open = i;
        qsizetype stop = i;
        const QString index = GetBracketedText(rpn, open, stop);
        steps.push_back(
            {StepKind::Array, 0, {}, QStringLiteral("GETARRAY(") + word + QStringLiteral(", ") + index + u')', {}, {}, {}});
        i = stop + 1;
      } else if (i < n && rpn[i] == u'(') {
        Program::Step step{StepKind::Call, 0, {}, upper, {}, {}, {}};
        try {
          SplitArguments(rpn, i, step.p1, step.p2, step.p3);
        } catch (const EParserError& e) {
          fail(e.Message());
          break;
        }
        if (upper == QLatin1String("COPY")) step.kind = StepKind::Copy;
        else if (upper == QLatin1String("IF")) step.kind = StepKind::If;
        else if (upper == QLatin1String("STRTODATE")) step.kind = StepKind::StrToDate;
        else if (upper == QLatin1String("STRTOTIME")) step.kind = StepKind::StrToTime;
        steps.push_back(std::move(step));
      } else {
        steps.push_back({StepKind::GetValue, 0, {}, upper, {}, {}, {}});
      }
    }
  }
  return program;
}

TrpValue TrpParser::EvaluateRPN(const QString& rpn) {
  std::shared_ptr<const Program> program;
  // The same text evaluated again (a band's condition, record after record) is found
  // by comparing it with the last one, which costs less than hashing it.
  if (lastProgram_ && rpn == lastText_) {
    program = lastProgram_;
  } else {
    program = programs_.value(rpn);
    if (!program) {
      if (programs_.size() >= kMaxCached) programs_.clear();
      program = Decode(rpn);
      programs_.insert(rpn, program);
    }
    lastText_ = rpn;
    lastProgram_ = program;
  }
  if (depth_ >= kMaxDepth) Fail(rpStrings::ExpressionTooComplex);
  const size_t base = stack_.size();
  struct Restore {
    TrpParser& parser;
    size_t base;
    ~Restore() {
      parser.stack_.resize(base);
      --parser.depth_;
    }
  } restore{*this, base};
  ++depth_;
  Run(*program, base);
  if (stack_.size() > base) return stack_[base];
  return TrpValue(0);
}

TrpValue TrpParser::Calc(const QString& text) {
  auto it = compiled_.constFind(text);
  if (it == compiled_.constEnd()) {
    if (compiled_.size() >= kMaxCached) compiled_.clear();
    it = compiled_.insert(text, CompileExpression(text));
  }
  const QString rpn = it.value();  // a copy: a nested Calc may clear the cache
  return EvaluateRPN(rpn);
}

void TrpParser::Run(const Program& program, size_t base) {
  auto push = [this, base](TrpValue value) {
    if (stack_.size() - base >= kMaxPending) Fail(rpStrings::ExpressionTooComplex);
    stack_.push_back(std::move(value));
  };
  for (const Program::Step& step : program.steps) {
    switch (step.kind) {
      case StepKind::Binary: {
        if (stack_.size() - base < 2) Fail(rpStrings::InvalidExpression);
        TrpValue result = Binary(step.code, stack_[stack_.size() - 2], stack_.back());
        stack_.pop_back();
        stack_.back() = std::move(result);
        break;
      }
      case StepKind::Unary:
        if (stack_.size() == base) Fail(rpStrings::InvalidExpression);
        stack_.back() = Unary(step.code, stack_.back());
        break;
      case StepKind::Push: push(step.value); break;
      case StepKind::GetValue: {
        TrpValue value = TrpValue::Null();
        if (OnGetValue) OnGetValue(step.name, value);
        push(std::move(value));
        break;
      }
      case StepKind::Array: push(Calc(step.name)); break;
      case StepKind::Call: {
        TrpValue value = TrpValue::Null();
        if (OnFunction) OnFunction(step.name, step.p1, step.p2, step.p3, value);
        push(std::move(value));
        break;
      }
      case StepKind::Copy: {
        const QString s = Calc(step.p1).ToString();
        int64_t start = rpTextToInteger(Calc(step.p2).ToString());
        int64_t count = rpTextToInteger(Calc(step.p3).ToString());
        if (start < 1) start = 1;
        if (count < 0 || start > s.size()) count = 0;
        push(TrpValue(s.mid(static_cast<qsizetype>(start - 1), static_cast<qsizetype>(std::min<int64_t>(count, s.size())))));
        break;
      }
      case StepKind::If: {
        const TrpValue condition = Calc(step.p1);
        // A boolean condition stands for itself; anything else goes by its text as a number.
        const bool chosen = condition.Kind() == TrpValueKind::Boolean
                                ? condition.BooleanValue()
                                : std::trunc(rpTextToFloat(condition.ToString())) != 0;
        push(Calc(chosen ? step.p2 : step.p3));
        break;
      }
      case StepKind::StrToDate: push(TrpValue::DateTime(rpStrToDate(Calc(step.p1).ToString()))); break;
      case StepKind::StrToTime: push(TrpValue::DateTime(rpStrToTime(Calc(step.p1).ToString()))); break;
      case StepKind::Fail: throw EParserError(step.value.StringValue());
    }
  }
}
