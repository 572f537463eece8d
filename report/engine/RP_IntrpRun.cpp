// Running coded lines, and the interpreter's plumbing.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Intrp.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <limits>

namespace {

qsizetype TargetOf(const QString& line) {
  // A line too short to hold a target (only a damaged list has one) ends the run.
  if (line.size() < 3) return std::numeric_limits<qsizetype>::max();
  return static_cast<qsizetype>(line[1].unicode() & 0xFF) | (static_cast<qsizetype>(line[2].unicode() & 0xFF) << 8);
}

}  // namespace

TrpInterpretator::TrpInterpretator() : parser_(std::make_unique<TrpParser>()) {
  parser_->OnGetValue = [this](const QString& name, TrpValue& value) { GetValue(name, value); };
  parser_->OnFunction = [this](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                               TrpValue& value) { RunFunction(name, p1, p2, p3, value); };
}

TrpInterpretator::~TrpInterpretator() = default;

void TrpInterpretator::GetValue(const QString&, TrpValue&) {}

void TrpInterpretator::SetValue(const QString&, const TrpValue&) {}

void TrpInterpretator::RunFunction(const QString&, const QString&, const QString&, const QString&, TrpValue&) {}

void TrpInterpretator::RunScript(const QStringList& coded) {
  const qsizetype count = coded.size();
  qint64 steps = 0;
  uint32_t polls = 0;
  qsizetype i = 0;
  while (i >= 0 && i < count) {
    if (stepLimit_ > 0 && ++steps > stepLimit_) throw EParserError(rpLoadStr(rpStrings::ScriptRunsTooLong));
    if (stop_) {
      if (poll_ && (++polls & 0xFFF) == 0) poll_();
      if (*stop_) return;
    }
    const QString& line = coded[i];
    if (line.isEmpty()) {
      ++i;
      continue;
    }
    switch (line[0].unicode()) {
      case JumpIfFalse:
        // Going on unless the condition equals 0, so null (unequal to everything) goes on.
        if (rpEquals(parser_->EvaluateRPN(line.mid(3)), TrpValue(0))) {
          i = TargetOf(line);
        } else {
          ++i;
        }
        break;
      case Jump: i = TargetOf(line); break;
      case Call: {
        const QString expression = line.mid(1);
        if (expression.compare(QLatin1String("EXIT(0)"), Qt::CaseInsensitive) == 0) return;
        parser_->EvaluateRPN(expression);
        ++i;
        break;
      }
      default: {
        const qsizetype blank = line.indexOf(u' ');
        const QString name = blank < 0 ? line : line.left(blank);
        const TrpValue value = parser_->EvaluateRPN(blank < 0 ? QString() : line.mid(blank + 1));
        SetValue(name, value);
        ++i;
        break;
      }
    }
  }
}

void TrpInterpretator::SplitExpressions(const QStringList& coded, const QStringList& names,
                                        const TrpVariableText& variables, QStringList& out) const {
  TrpFunctionSplitter splitter(names, variables, out);
  for (const QString& line : coded) {
    if (line.isEmpty()) continue;
    switch (line[0].unicode()) {
      case JumpIfFalse: splitter.Split(line.mid(3)); break;
      case Jump: break;
      case Call: splitter.Split(line.mid(1)); break;
      default: {
        const qsizetype blank = line.indexOf(u' ');
        if (blank >= 0) splitter.Split(line.mid(blank + 1));
        break;
      }
    }
  }
}
