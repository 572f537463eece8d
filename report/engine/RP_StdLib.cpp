#include "report/engine/RP_StdLib.h"

#include "report/engine/RP_Aggregates.h"
#include "report/engine/RP_DBSet.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Host.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

namespace {

enum StdFunction {
  Avg, Count, DayOf, FormatDateTime, FormatFloat, FormatText, Input, Length, LowerCase, Max, MaxNum, MessageBox, Min,
  MinNum, MonthOf, NameCase, Pos, Sum, Trim, UpperCase, YearOf
};

// Day, month or year through the date's text, as the format letters give it.
TrpValue DatePart(const TrpValue& date, const QString& letters) {
  return TrpValue(rpTextToInteger(rpFormatDateTime(letters, date.ToDateTime())));
}

// Blanks and control characters off both ends.
QString TrimBlanks(const QString& s) {
  qsizetype begin = 0;
  qsizetype end = s.size();
  while (begin < end && s[begin].unicode() <= u' ') ++begin;
  while (end > begin && s[end - 1].unicode() <= u' ') --end;
  return s.mid(begin, end - begin);
}

}  // namespace

TrpStdFunctionLibrary::TrpStdFunctionLibrary() {
  for (const char* name : {"AVG", "COUNT", "DAYOF", "FORMATDATETIME", "FORMATFLOAT", "FORMATTEXT", "INPUT", "LENGTH",
                           "LOWERCASE", "MAX", "MAXNUM", "MESSAGEBOX", "MIN", "MINNUM", "MONTHOF", "NAMECASE", "POS",
                           "SUM", "TRIM", "UPPERCASE", "YEAROF"}) {
    AddFunction(QString::fromLatin1(name));
  }
}

void TrpStdFunctionLibrary::CallLibraryFunction(int number, const QString& p1, const QString& p2, const QString& p3,
                                                TrpValue& value) {
  TrpLibraryHost& host = Host();
  const auto Calc = [&host](const QString& text) { return host.Calc(text); };
  const auto Text = [&host](const QString& text) { return host.Calc(text).ToString(); };
  const auto Aggregate = [&host](int code, const QString& a1, const QString& a2, const QString& a3, TrpValue& result) {
    if (TrpReportHost* report = host.CurrentReport()) rpAggregateCall(*report, code, a1, a2, a3, result);
  };
  switch (number) {
    case Avg: Aggregate(rpAggregate::Avg, p1, p2, p3, value); break;
    case Count: Aggregate(rpAggregate::Count, p1, p2, p3, value); break;
    case Max: Aggregate(rpAggregate::Max, p1, p2, p3, value); break;
    case Min: Aggregate(rpAggregate::Min, p1, p2, p3, value); break;
    case Sum: Aggregate(rpAggregate::Sum, p1, p2, p3, value); break;
    case DayOf: value = DatePart(Calc(p1), QStringLiteral("d")); break;
    case MonthOf: value = DatePart(Calc(p1), QStringLiteral("m")); break;
    case YearOf: value = DatePart(Calc(p1), QStringLiteral("yyyy")); break;
    case FormatDateTime: value = TrpValue(rpFormatDateTime(Text(p1), Calc(p2).ToDateTime())); break;
    case FormatFloat: value = TrpValue(rpFormatFloat(Text(p1), Calc(p2).ToFloat())); break;
    case FormatText: value = TrpValue(rpFormatMaskText(Text(p1) + QStringLiteral(";0; "), Text(p2))); break;
    case Input: {
      const QString prompt = Text(p1);
      const QString defaultText = Text(p2);
      TrpWindows* windows = rpWindows();
      value = TrpValue(windows ? windows->InputBox(QString(), prompt, defaultText) : defaultText);
      break;
    }
    case Length: value = TrpValue(static_cast<int64_t>(Text(p1).size())); break;
    case LowerCase: value = TrpValue(Text(p1).toLower()); break;
    case UpperCase: value = TrpValue(Text(p1).toUpper()); break;
    case NameCase: {
      QString s = Text(p1).toLower();
      if (!s.isEmpty()) s[0] = s[0].toUpper();
      value = TrpValue(s);
      break;
    }
    case MaxNum:
    case MinNum: {
      const TrpValue a = Calc(p1);
      const TrpValue b = Calc(p2);
      const bool first = number == MaxNum ? rpGreater(a, b) : rpLess(a, b);
      value = first ? a : b;
      break;
    }
    case MessageBox: {
      const QString text = Text(p1);
      const QString caption = Text(p2);
      const int flags = static_cast<int>(Calc(p3).ToInteger());
      TrpWindows* windows = rpWindows();
      value = TrpValue(windows ? windows->MessageBox(text, caption, flags) : 1);
      break;
    }
    case Pos: {
      const QString sub = Text(p1);
      value = TrpValue(sub.isEmpty() ? int64_t{0} : static_cast<int64_t>(Text(p2).indexOf(sub) + 1));
      break;
    }
    case Trim: value = TrpValue(TrimBlanks(Text(p1))); break;
    default: break;
  }
}

TDatabaseFunctionLibrary::TDatabaseFunctionLibrary() { AddFunction(QStringLiteral("FIELDISNULL")); }

void TDatabaseFunctionLibrary::CallLibraryFunction(int, const QString& p1, const QString&, const QString&,
                                                   TrpValue& value) {
  const TrpDataSetAndField found = rpGetDataSetAndField(Host().Calc(p1).ToString());
  TrpField* field = found.dataSet && !found.fieldName.isEmpty() ? found.dataSet->FindField(found.fieldName) : nullptr;
  value = TrpValue(!field || field->IsNull());
}

void TDatabaseFunctionLibrary::Describe(TrpInstalledFunctions& functions) const {
  functions.Add(ClassName(), QStringLiteral("FIELDISNULL"), rpLoadStr(rpStrings::Database),
                rpLoadStr(rpStrings::FieldIsNullDescription));
}
