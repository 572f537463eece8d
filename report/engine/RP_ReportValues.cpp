// What expressions and scripts read and call during a build: the report's name
// resolution in its fixed order, its functions and procedures, and the text a memo's
// bracketed expression becomes (evaluation, then display format).
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_StringTable.h"

#include <cmath>
#include <optional>

namespace {

bool Is(const QString& upper, const char* name) { return upper == QLatin1String(name); }

// Format word fields.
constexpr uint32_t Category(uint32_t format) { return (format >> 24) & 0x0F; }
constexpr uint32_t Kind(uint32_t format) { return (format >> 16) & 0xFF; }
constexpr uint32_t Decimals(uint32_t format) { return (format >> 8) & 0xFF; }
constexpr uint32_t Pack(uint32_t category, uint32_t kind, uint32_t decimals, char16_t separator) {
  return (category << 24) | (kind << 16) | ((decimals & 0xFF) << 8) | (separator & 0xFF);
}

// The index of a SETARRAY/GETARRAY element: a string's text, else the integer.
QString ArrayIndex(const QString& expression) {
  const TrpValue index = rpGlobals().Parser().Calc(expression);
  return index.IsString() ? index.StringValue() : QString::number(index.ToInteger());
}

class EvaluatingScope {
public:
  EvaluatingScope(QStringList& names, const QString& name) : names_(names) { names_.append(name); }
  ~EvaluatingScope() { names_.removeLast(); }
  EvaluatingScope(const EvaluatingScope&) = delete;
  EvaluatingScope& operator=(const EvaluatingScope&) = delete;

private:
  QStringList& names_;
};

}  // namespace

bool TrpReport::ReportValue(const QString& upper, TrpValue& value) {
  if (build_ && build_->CounterValue(upper, value)) return true;
  if (Is(upper, "DATE")) {
    value = TrpValue::DateTime(std::floor(buildDate_));
  } else if (Is(upper, "TIME")) {
    value = TrpValue::DateTime(buildDate_ - std::floor(buildDate_));
  } else if (Is(upper, "TOTALPAGES")) {
    value = TrpValue(totalPages_);
  } else if (Is(upper, "REPORTCOMMENT")) {
    value = TrpValue(InfoComment);
  } else if (Is(upper, "REPORTNAME")) {
    value = TrpValue(InfoName);
  } else if (Is(upper, "REPORTAUTOR")) {
    value = TrpValue(InfoAuthor);
  } else if (Is(upper, "VMAJOR")) {
    value = TrpValue(InfoVersionMajor);
  } else if (Is(upper, "VMINOR")) {
    value = TrpValue(InfoVersionMinor);
  } else if (Is(upper, "VRELEASE")) {
    value = TrpValue(InfoVersionRelease);
  } else if (Is(upper, "VBUILD")) {
    value = TrpValue(InfoVersionBuild);
  } else if (Is(upper, "REPORTDATE")) {
    value = TrpValue::DateTime(InfoCreateDate);
  } else if (Is(upper, "REPORTLASTCHANGE")) {
    value = TrpValue::DateTime(InfoLastChange);
  } else {
    return false;
  }
  return true;
}

void TrpReport::GetVariableValue(const QString& name, TrpValue& value) {
  if (OnGetValue) {
    TrpValue answer;
    bool handled = false;
    OnGetValue(name, answer, handled);
    const bool empty = answer.IsEmpty() || (answer.IsString() && answer.StringValue().isEmpty());
    if (handled || !empty) {
      value = answer;
      return;
    }
  }
  if (Dictionary.IsVariable(name)) {
    value = Dictionary.GetValue(name);
    return;
  }
  const QString upper = name.toUpper();
  if (Is(upper, "VALUE")) {
    value = expressionValue_;
    return;
  }
  if (ReportValue(upper, value)) return;
  if (Is(upper, "CALCWIDTH")) {
    TrpView* view = CurrentView();
    if (!view)
      value = TrpValue(QString());
    else if (auto* memo = dynamic_cast<TrpMemoView*>(view))
      value = TrpValue(memo->CalcWidth(memo->Memo1));
    else
      value = TrpValue(view->Width);
    return;
  }
  TrpGlobals& globals = rpGlobals();
  if (const int i = globals.Variables().IndexOf(name); i >= 0) {
    value = globals.Variables().Value(i);
    return;
  }
  if (build_ && build_->PositionValue(upper, value)) return;
  if (name.contains(u'.')) {
    const TrpObjectProperty target = rpGetObjectByName(*this, name);
    if (target.object && target.object->HasProperty(target.property)) {
      value = target.object->GetPropValue(target.property);
      return;
    }
  }
  if (const int k = globals.Constants().IndexOf(name); k >= 0) {
    value = globals.Constants().Value(k);
    return;
  }
  // A view bound to a data field takes its value from it.
  if (build_ && build_->BoundFieldValue(name, value)) return;
  // Last, the name as an expression, once: meeting it again inside its own evaluation
  // would never end.
  if (evaluating_.contains(name)) {
    if (build_ && build_->BindingDataSources()) return;
    throw EParserError(rpLoadStr(rpStrings::UndefinedSymbol) + QStringLiteral(" \"") + name + u'"');
  }
  EvaluatingScope scope(evaluating_, name);
  value = globals.Parser().Calc(name);
}

void TrpReport::CallFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                             TrpValue& value) {
  value = TrpValue(QStringLiteral("0"));
  if (rpCallFunctionLibraries(name, p1, p2, p3, value)) return;
  ExecScriptProc(name, p1, p2, p3, value);
  if (OnUserFunction) {
    TrpParser& parser = rpGlobals().Parser();
    auto argument = [&parser](const QString& text) { return text.isEmpty() ? TrpValue() : parser.Calc(text); };
    OnUserFunction(name, argument(p1), argument(p2), argument(p3), value);
  }
}

void TrpReport::ExecScriptProc(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                               TrpValue& value) {
  const QString upper = name.toUpper();
  if (Is(upper, "STOPREPORT")) {
    Stop();
    return;
  }
  if (build_ && build_->ScriptProcedure(upper, p1)) return;
  TrpGlobals& globals = rpGlobals();
  if (Is(upper, "INC") || Is(upper, "DEC")) {
    const QString variable = p1.trimmed();
    TrpValue current;
    if (globals.Parser().OnGetValue) globals.Parser().OnGetValue(variable, current);
    const int step = Is(upper, "INC") ? 1 : -1;
    const TrpValue next = current.Kind() == TrpValueKind::Float ? TrpValue(current.FloatValue() + step)
                                                                 : TrpValue(current.ToInteger() + step);
    globals.Interpreter().SetValue(variable, next);
    return;
  }
  if (Is(upper, "SETARRAY") || Is(upper, "GETARRAY")) {
    const bool set = Is(upper, "SETARRAY");
    const QString array = p1.trimmed();
    const qsizetype dot = array.indexOf(u'.');
    if (dot < 0) {
      const QString element = QStringLiteral("Arr_") + array + u'_' + ArrayIndex(p2);
      if (set)
        globals.Variables().SetVariable(element, globals.Parser().Calc(p3));
      else if (const int i = globals.Variables().IndexOf(element); i >= 0)
        value = globals.Variables().Value(i);
      return;
    }
    TrpView* view = FindObject(array.left(dot));
    if (!view) return;
    const QString property = array.mid(dot + 1).toUpper();
    const QString index = globals.Parser().Calc(p2).ToString();
    if (set)
      view->DoMethod(QStringLiteral("SETINDEXPROPERTY"), property, index, globals.Parser().Calc(p3).ToString());
    else
      value = view->DoMethod(QStringLiteral("GETINDEXPROPERTY"), property, index, QString());
    return;
  }
  if (const qsizetype dot = name.indexOf(u'.'); dot > 0) {
    if (TrpView* view = FindObject(name.left(dot))) value = view->DoMethod(name.mid(dot + 1), p1, p2, p3);
  }
}

QString TrpReport::FormatValue(const TrpValue& value, uint32_t format, const QString& formatString) const {
  if (value.IsEmpty() || value.IsNull()) return QString();
  if (value.IsString() && value.StringValue().trimmed().isEmpty()) return QString();
  const QChar separator(static_cast<char16_t>(format & 0xFF));
  const int decimals = static_cast<int>(Decimals(format));
  try {
    switch (Category(format)) {
      case 1: {
        std::optional<TrpScopedDecimalSeparator> scope;
        if (!separator.isNull()) scope.emplace(separator);
        const double number = value.ToFloat();
        switch (Kind(format)) {
          case 0: return rpFormatFloat(QStringLiteral("##0.") + QString(decimals, u'#'), number);
          case 1: return rpFormatFloat(QStringLiteral("0.") + QString(decimals, u'0'), number);
          case 2: return rpFormatFloat(QStringLiteral("#,##0.") + QString(decimals, u'#'), number);
          case 3: return rpFormatFloat(QStringLiteral("#,##0.") + QString(decimals, u'0'), number);
          default: return rpFormatFloat(formatString, number);
        }
      }
      case 2: {
        const uint32_t kind = Kind(format);
        QString pattern = formatString;
        if (kind == 3)
          pattern = rpFormatSettings().LongDateFormat;
        else if (kind < 3)
          pattern = rpGlobals().DateFormats()[kind];
        return rpFormatDateTime(pattern, value.ToDateTime());
      }
      case 3: {
        const uint32_t kind = Kind(format);
        return rpFormatDateTime(kind < 4 ? rpGlobals().TimeFormats()[kind] : formatString, value.ToDateTime());
      }
      case 4: {
        const uint32_t kind = Kind(format);
        const QString texts = kind < 4 ? rpGlobals().BooleanFormats()[kind] : formatString;
        const qsizetype semicolon = texts.indexOf(u';');
        const bool zero = value.IsString() ? value.StringValue().trimmed() == QLatin1String("0")
                                           : value.ToFloat() == 0;
        if (zero) return semicolon < 0 ? texts : texts.left(semicolon);
        return semicolon < 0 ? QString() : texts.mid(semicolon + 1);
      }
      default: return value.ToString();
    }
  } catch (const ErpError&) {
    return value.ToString();
  }
}

QString TrpReport::ExpressionText(const QString& expression) {
  TrpView* view = CurrentView();
  uint32_t format = view ? view->Format : 0;
  QString pattern = view ? view->FormatPattern : QString();
  QString text = expression;
  if (const qsizetype hash = text.lastIndexOf(QLatin1String(" #")); hash >= 0 && hash + 2 < text.size()) {
    QString spec = text.mid(hash + 2);
    text.truncate(hash);
    const QChar kind = spec[0].toUpper();
    if (kind == u'N' || spec[0].isDigit()) {
      if (spec[0].isDigit()) spec.prepend(u'N');
      char16_t separator = rpFormatSettings().DecimalSeparator.unicode();
      qsizetype at = -1;
      for (qsizetype i = spec.size() - 1; i > 0; --i) {
        if (spec[i] == u',' || spec[i] == u'-' || spec[i] == u'.') {
          at = i;
          break;
        }
      }
      if (at > 0) {
        separator = spec[at].unicode();
        spec[at] = u'.';
      }
      if (spec.size() > 1 && spec[1].isDigit()) {
        const int decimals = at > 0 ? static_cast<int>(spec.size() - at - 1) : 0;
        format = Pack(1, 1, static_cast<uint32_t>(decimals), separator);
      } else {
        format = Pack(1, 4, 0, separator);
        pattern = spec.mid(1);
      }
    } else if (kind == u'B') {
      format = Pack(4, 4, 0, 0);
      pattern = spec.mid(1);
    } else if (kind == u'D' || kind == u'T') {
      format = Pack(kind == u'D' ? 2 : 3, 4, 0, 0);
      pattern = spec.mid(1);
    }
  }
  TrpValue value;
  GetVariableValue(text, value);
  if (view && (view->Flags & rpMemoFlag::HideZeros) && !value.IsString() && !value.IsEmpty() && !value.IsNull()) {
    bool zero = false;
    try {
      zero = value.ToFloat() == 0;
    } catch (const ErpError&) {
    }
    if (zero) value = TrpValue(QString());
  }
  if (build_ && build_->BindingDataSources()) return QString();
  expressionValue_ = value;
  return FormatValue(value, format, pattern);
}
