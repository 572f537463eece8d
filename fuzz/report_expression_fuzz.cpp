// Feeds arbitrary text to the expression compiler and evaluator, and the same text as
// an already compiled form. Errors of the engine are fine; crashes, hangs and reads out
// of bounds are not.
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Globals.h"
#include "platform/AppContext.h"
#include "platform/Exception.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    static const TAppContextScope clock(ContextWith([](TAppContext& c) { c.Clock = [] { return 45000.5; }; }));
    static const TrpContextScope formats(TrpContext{TrpFormatSettings(), nullptr, {}});
    return true;
  }();
  (void)ready;
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TrpGlobals& globals = rpGlobals();
  TrpParser& parser = globals.Parser();
  parser.OnGetValue = [](const QString& name, TrpValue& value) {
    value = name.size() % 3 == 0 ? TrpValue(name) : TrpValue(static_cast<int64_t>(name.size()));
  };
  try {
    const QString rpn = TrpParser::CompileExpression(text);
    parser.EvaluateRPN(rpn);
    parser.EvaluateRPN(rpn);
  } catch (const Exception&) {
  }
  try {
    parser.EvaluateRPN(text);
  } catch (const Exception&) {
  }
  rpResetGlobals();
  return 0;
}
