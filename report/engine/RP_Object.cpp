// The property protocol's base and the string-list methods.
#include "report/engine/RP_Object.h"

#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Utils.h"

void TrpObject::SetPropValue(const QString&, const TrpValue&) {}

TrpValue TrpObject::GetPropValue(const QString&) { return TrpValue::Null(); }

TrpValue TrpObject::DoMethod(const QString&, const QString&, const QString&, const QString&) {
  return TrpValue::Null();
}

const TrpPropRec* TrpObject::FindProperty(const QString& name) {
  for (const TrpPropRec& prop : Properties()) {
    if (prop.name.compare(name, Qt::CaseInsensitive) == 0) return &prop;
  }
  return nullptr;
}

const std::vector<TrpPropRec>& TrpObject::Properties() {
  if (props_.empty()) DeclareProperties();
  return props_;
}

void TrpObject::AddProperty(const QString& name, int type, bool hasEditor) {
  TrpPropRec prop;
  prop.name = name.left(32);
  prop.type = type;
  prop.hasEditor = hasEditor;
  props_.push_back(std::move(prop));
}

void TrpObject::AddEnumProperty(const QString& name, const QString& names, std::vector<int> values) {
  TrpPropRec prop;
  prop.name = name.left(32);
  prop.type = rpProp::Enumeration;
  prop.enumNames = rpSplitText(names);
  prop.enumValues = std::move(values);
  props_.push_back(std::move(prop));
}

namespace {

int IndexArgument(const TrpValue& value) {
  const int64_t index = value.ToInteger();
  return index < 0 || index > INT32_MAX ? -1 : static_cast<int>(index);
}

}  // namespace

bool rpStringListMethod(QStringList& list, const QString& listName, const QString& method, const QString& p1,
                        const QString& p2, const QString& p3, TrpValue& result) {
  const QString upper = method.toUpper();
  if (upper == QLatin1String("SETINDEXPROPERTY") || upper == QLatin1String("GETINDEXPROPERTY")) {
    if (p1.toUpper() != listName) return false;
    bool ok = false;
    const int index = p2.trimmed().toInt(&ok);
    // An index outside the list changes nothing and reads as the empty text.
    if (upper.startsWith(u'S')) {
      if (ok && index >= 0 && index < list.size()) list[index] = p3;
      result = TrpValue::Null();
    } else {
      result = ok && index >= 0 && index < list.size() ? TrpValue(list[index]) : TrpValue(QString());
    }
    return true;
  }
  if (!upper.startsWith(listName + u'.')) return false;
  const QString verb = upper.mid(listName.size() + 1);
  TrpParser& parser = rpGlobals().Parser();
  if (verb == QLatin1String("ADD")) {
    list << parser.Calc(p1).ToString();
  } else if (verb == QLatin1String("CLEAR")) {
    list.clear();
  } else if (verb == QLatin1String("DELETE")) {
    const int index = IndexArgument(parser.Calc(p1));
    if (index >= 0 && index < list.size()) list.removeAt(index);
  } else if (verb == QLatin1String("INDEXOF")) {
    result = TrpValue(static_cast<int>(list.indexOf(parser.Calc(p1).ToString())));
    return true;
  } else {
    return false;
  }
  result = TrpValue::Null();
  return true;
}
