#pragma once
// The engine's own function libraries. Argument texts are computed with the global
// parser unless a function says otherwise.
//
// TrpStdFunctionLibrary, numbered in this order: AVG, COUNT, DAYOF(d), FORMATDATETIME
// (fmt, d), FORMATFLOAT(fmt, x), FORMATTEXT(mask, s), INPUT(prompt, default),
// LENGTH(s), LOWERCASE(s), MAX, MAXNUM(a, b), MESSAGEBOX(text, caption, flags), MIN,
// MINNUM(a, b), MONTHOF(d), NAMECASE(s), POS(sub, s), SUM, TRIM(s), UPPERCASE(s),
// YEAROF(d). The aggregates take (expression, band, flags); COUNT takes (band, flags).
#include "report/engine/RP_FuncLib.h"

class TrpStdFunctionLibrary : public TrpFunctionLibrary {
public:
  TrpStdFunctionLibrary();
  void CallLibraryFunction(int number, const QString& p1, const QString& p2, const QString& p3,
                           TrpValue& value) override;
  QString ClassName() const override { return QStringLiteral("TrpStdFunctionLibrary"); }
};

// FIELDISNULL(name): true when "dataset.field" names no data set or field, or a field
// whose value is null.
class TDatabaseFunctionLibrary : public TrpFunctionLibrary {
public:
  TDatabaseFunctionLibrary();
  void CallLibraryFunction(int number, const QString& p1, const QString& p2, const QString& p3,
                           TrpValue& value) override;
  void Describe(TrpInstalledFunctions& functions) const override;
  QString ClassName() const override { return QStringLiteral("TDatabaseFunctionLibrary"); }
};
