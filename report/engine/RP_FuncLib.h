#pragma once
// Function libraries: the functions expressions call by name beyond the parser's own.
// A library lists its names (upper case; the position is the function's number) and
// answers calls of them. The engine asks its registered libraries in registration
// order; the first that knows a name answers.
#include "report/engine/RP_Variant.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TrpInstalledFunctions;
class TrpReportHost;

// What a library reaches of the engine that holds it (the globals): the parser its
// arguments are computed with and the report being built.
class TrpLibraryHost {
public:
  virtual ~TrpLibraryHost() = default;
  virtual TrpValue Calc(const QString& text) = 0;
  virtual TrpReportHost* CurrentReport() const = 0;
};

class TrpFunctionLibrary {
public:
  virtual ~TrpFunctionLibrary() = default;

  // The engine that registered the library; set before the first call.
  void Attach(TrpLibraryHost& host) { host_ = &host; }

  // Looks name up and, when the library has it, calls it and answers true.
  virtual bool OnFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                          TrpValue& value);
  // p1..p3 are the argument texts, computed (or not) as each function needs.
  virtual void CallLibraryFunction(int number, const QString& p1, const QString& p2, const QString& p3,
                                   TrpValue& value) = 0;
  // Adds the description of each of its functions.
  virtual void Describe(TrpInstalledFunctions& functions) const;
  // Libraries are registered once per class name.
  virtual QString ClassName() const = 0;

  const QStringList& List() const { return list_; }

protected:
  void AddFunction(const QString& upperName);
  TrpLibraryHost& Host() const;

private:
  TrpLibraryHost* host_ = nullptr;
  QStringList list_;
  QHash<QString, int> numbers_;
};

struct TrpFunctionDescription {
  QString libraryClass;  // empty for the parser's and the report's own names
  QString name;
  QString category;
  QString description;
};

// Descriptions of the functions and names expressions can use.
class TrpInstalledFunctions {
public:
  // A name listed already is left as it is.
  void Add(const QString& libraryClass, const QString& name, const QString& category = {},
           const QString& description = {});
  void RemoveLibrary(const QString& libraryClass);
  const TrpFunctionDescription* Find(const QString& name) const;
  const std::vector<TrpFunctionDescription>& Items() const { return items_; }
  void Clear() { items_.clear(); }

private:
  std::vector<TrpFunctionDescription> items_;
};

using TrpLibraryFactory = std::function<std::unique_ptr<TrpFunctionLibrary>()>;
