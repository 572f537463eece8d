#pragma once
// Finds the calls of a set of functions (the aggregates SUM, MIN, MAX, AVG, COUNT)
// in expression texts, before a report runs, so they can be registered with their data
// bands.
#include <QString>
#include <QStringList>
#include <functional>

// The value text of a dictionary variable; false when name is none.
using TrpVariableText = std::function<bool(const QString& name, QString& text)>;

class TrpFunctionSplitter {
public:
  // names: the functions to find, in upper case. out receives each call's text, from
  // the name to its ")".
  TrpFunctionSplitter(QStringList names, TrpVariableText variables, QStringList& out);

  // A quoted literal yields nothing. Bracketed parts are split again (a part that names
  // a variable: the variable's text instead), so are the arguments of every call, and a
  // name that is a variable has its text split; quoted text inside is passed over. A
  // variable met again inside its own text is not split a second time.
  void Split(const QString& text);

private:
  void SplitVariable(const QString& name, const QString& text);

  QStringList names_;
  TrpVariableText variables_;
  QStringList& out_;
  QStringList expanding_;
  int depth_ = 0;
};
