// Feeds arbitrary text, line by line, to the script compiler and runs what compiles,
// with a step limit so endless loops end. Compile errors and run-time errors of the
// engine are fine; crashes, hangs and reads out of bounds are not.
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Globals.h"
#include "platform/AppContext.h"
#include "platform/Exception.h"

#include <QString>
#include <QStringList>

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
  TrpInterpretator& interpreter = rpGlobals().Interpreter();
  interpreter.SetStepLimit(5000);
  QStringList coded;
  QStringList errors;
  interpreter.CompileScript(text.split(u'\n'), coded, errors);
  try {
    interpreter.RunScript(coded);
  } catch (const Exception&) {
  }
  QStringList found;
  interpreter.SplitExpressions(coded, {QStringLiteral("SUM"), QStringLiteral("COUNT")}, {}, found);
  rpResetGlobals();
  return 0;
}
