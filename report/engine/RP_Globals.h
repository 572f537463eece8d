#pragma once
// The engine-wide state: created on first use, in a fixed order, and freed in the
// reverse one. rpResetGlobals frees it, so the next use starts afresh (tests run in any
// order).
#include "report/engine/RP_FuncLib.h"
#include "report/engine/RP_Host.h"
#include "report/engine/RP_Intrp.h"
#include "report/engine/RP_Pars.h"

#include <QImage>
#include <QObject>
#include <QStringList>
#include <array>
#include <memory>
#include <vector>

class TrpGlobals;

// The report's interpreter: names and functions go to the global parser's callbacks
// (the report's name and function resolution); assignments to script variables,
// dictionary variables, MODALRESULT, CURY, PROGRESS and object properties, and
// anything else becomes a new script variable.
class TInterpretator : public TrpInterpretator {
public:
  explicit TInterpretator(TrpGlobals& globals) : globals_(globals) {}

  void GetValue(const QString& name, TrpValue& value) override;
  void SetValue(const QString& name, const TrpValue& value) override;
  void RunFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                   TrpValue& value) override;

private:
  TrpGlobals& globals_;
};

// Prepared pages stay uncompressed: both operations leave the bytes as they are.
class TrpCompressor {
public:
  QByteArray Compress(const QByteArray& bytes) const { return bytes; }
  QByteArray Decompress(const QByteArray& bytes) const { return bytes; }
};

class TrpGlobals : public TrpLibraryHost {
public:
  TrpGlobals();
  ~TrpGlobals() override;
  TrpGlobals(const TrpGlobals&) = delete;
  TrpGlobals& operator=(const TrpGlobals&) = delete;

  // Texts from the string table.
  int DefaultCharset() const { return defaultCharset_; }
  const QString& BandName(int bandType) const;
  // For the format window: "0;1", "No;Yes", "_;x", "False;True" and the date and time
  // formats of its first four kinds.
  const std::array<QString, 4>& BooleanFormats() const { return booleanFormats_; }
  const std::array<QString, 4>& DateFormats() const { return dateFormats_; }
  const std::array<QString, 4>& TimeFormats() const { return timeFormats_; }

  // The error list of script compilation.
  QStringList& ScratchList() { return scratch_; }
  // 8 x 8 pixels; the first a two-colour checker pattern.
  const QImage& CheckerBitmap() const { return checker_; }
  const QImage& PlainBitmap() const { return plain_; }

  // Null when no windows are installed.
  TrpProgressView* Progress() { return progress_.get(); }

  TrpInstalledFunctions& InstalledFunctions() { return *installed_; }
  const std::vector<std::unique_ptr<TrpFunctionLibrary>>& Libraries() const { return libraries_; }
  // The library table (see rpRegisterFunctionLibrary).
  void RegisterLibrary(const TrpLibraryFactory& factory);
  void UnregisterLibrary(const QString& className);

  TrpParser& Parser() { return *parser_; }
  TInterpretator& Interpreter() { return *interpreter_; }

  // Sorted lists: the scripts' variables and the named constants (colours, ...).
  TrpVariables& Variables() { return *variables_; }
  TrpVariables& Constants() { return *constants_; }

  const TrpCompressor& Compressor() const { return compressor_; }
  // Objects that want a notice after each printed memo.
  std::vector<TrpScriptObject*>& SpecialHandling() { return specialHandling_; }
  // Null when no windows are installed.
  QObject* DialogForm() { return dialogForm_.get(); }

  // The report being built, if any.
  TrpReportHost* CurrentReport() const override { return currentReport_; }
  // Computes an argument text with the global parser.
  TrpValue Calc(const QString& text) override { return parser_->Calc(text); }
  void SetCurrentReport(TrpReportHost* report) { currentReport_ = report; }

  // What the global parser's callbacks do until a report hooks its own: names are
  // script variables, then constants; functions start as "0" and go to the libraries.
  void DefaultGetValue(const QString& name, TrpValue& value);
  void DefaultFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3, TrpValue& value);
  void InstallDefaultCallbacks();

private:
  void AddConstants();

  int defaultCharset_ = 1;
  std::array<QString, 23> bandNames_;
  std::array<QString, 4> booleanFormats_;
  std::array<QString, 4> dateFormats_;
  std::array<QString, 4> timeFormats_;
  QStringList scratch_;
  QImage checker_;
  QImage plain_;
  std::unique_ptr<TrpProgressView> progress_;
  std::unique_ptr<TrpInstalledFunctions> installed_;
  std::vector<std::unique_ptr<TrpFunctionLibrary>> libraries_;
  std::unique_ptr<TrpParser> parser_;
  std::unique_ptr<TInterpretator> interpreter_;
  std::unique_ptr<TrpVariables> variables_;
  std::unique_ptr<TrpVariables> constants_;
  TrpCompressor compressor_;
  std::vector<TrpScriptObject*> specialHandling_;
  std::unique_ptr<QObject> dialogForm_;
  TrpReportHost* currentReport_ = nullptr;
};

TrpGlobals& rpGlobals();
void rpResetGlobals();

// The engine's library table (held by the globals). Registering a class name that is
// registered already does nothing; the table holds at most 64 libraries and raises
// ErpError beyond that. Unregistering removes the library and its descriptions.
void rpRegisterFunctionLibrary(const TrpLibraryFactory& factory);
template <class T>
void rpRegisterFunctionLibrary() {
  rpRegisterFunctionLibrary([] { return std::make_unique<T>(); });
}
void rpUnRegisterFunctionLibrary(const QString& className);
// The registered libraries in order.
std::vector<TrpFunctionLibrary*> rpFunctionLibraries();
// Asks the libraries in order; true when one of them answered.
bool rpCallFunctionLibraries(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                             TrpValue& value);
