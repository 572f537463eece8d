#pragma once
// The report's script language: one statement, normally a BEGIN ... END block of
// assignments, IF, WHILE, REPEAT, FOR and GOTO statements and procedure calls, that
// runs before an object, band or page is printed. CompileScript turns the source lines
// into coded lines, one per elementary action, with jump targets resolved to line
// indexes and every expression compiled by the parser; RunScript runs them.
//
// Coded lines, by their first character:
//   1  jump if false: characters 2 and 3 the target line index (low byte first), then
//      the compiled condition
//   2  jump: characters 2 and 3 the target; a GOTO's label text may follow
//   3  call: the compiled expression; its value is dropped («exit(0)» ends the run)
//   else  assignment: the variable name, one blank, the compiled expression
//
// Errors read "Line L/C: message", L and C counted from 1 in the source text (comments
// included). Reading and writing variables and calling functions go through the
// virtual operations, which the report's interpreter fills; here they do nothing.
#include "report/engine/RP_Pars.h"
#include "report/engine/RP_Splitter.h"

#include <QStringList>
#include <functional>
#include <memory>

class TrpInterpretator {
public:
  TrpInterpretator();
  virtual ~TrpInterpretator();
  TrpInterpretator(const TrpInterpretator&) = delete;
  TrpInterpretator& operator=(const TrpInterpretator&) = delete;

  virtual void GetValue(const QString& name, TrpValue& value);
  virtual void SetValue(const QString& name, const TrpValue& value);
  virtual void RunFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                           TrpValue& value);
  // Clears coded and errors first; source and coded may be the same list.
  virtual void CompileScript(const QStringList& source, QStringList& coded, QStringList& errors);
  virtual void RunScript(const QStringList& coded);

  // Collects the calls of the named functions in the expression of every coded line
  // into out (TrpFunctionSplitter); variables answers a dictionary variable's text.
  void SplitExpressions(const QStringList& coded, const QStringList& names, const TrpVariableText& variables,
                        QStringList& out) const;

  // Ends a run that takes more than this many lines with EParserError; 0 (the default)
  // lets scripts run as long as they loop, as a user's report may.
  void SetStepLimit(qint64 steps) { stepLimit_ = steps; }
  qint64 StepLimit() const { return stepLimit_; }
  // A build's stop flag, read before every line: once it is set, a run ends quietly
  // where it is (a script looping for ever ends with the build). poll runs every few
  // thousand lines so that the progress window can serve its Cancel meanwhile. Null
  // and empty: no stop flag.
  void SetStopFlag(const bool* stop, std::function<void()> poll = nullptr) {
    stop_ = stop;
    poll_ = std::move(poll);
  }

  TrpParser& Parser() { return *parser_; }

  static constexpr char16_t JumpIfFalse = 1;
  static constexpr char16_t Jump = 2;
  static constexpr char16_t Call = 3;

private:
  std::unique_ptr<TrpParser> parser_;
  qint64 stepLimit_ = 0;
  const bool* stop_ = nullptr;
  std::function<void()> poll_;
};
