#pragma once
// The root of everything a script can name on a report: views and pages. Each object
// answers named properties and methods (TrpScriptObject); its property list, which an
// inspector and HasProperty read, is built lazily by DeclareProperties the first time a
// name is looked up.
#include "report/engine/RP_Host.h"

#include <QString>
#include <QStringList>
#include <vector>

// Type codes of the property list, as the program uses them.
namespace rpProp {
constexpr int Integer = 0;  // also flags words and counts
constexpr int FrameSides = 2;
constexpr int Boolean = 8;
constexpr int Color = 16;
constexpr int Enumeration = 32;
constexpr int WithEditor = 64;
constexpr int Geometry = 128;
constexpr int FrameWidth = 132;
constexpr int Name = 257;
constexpr int Text = 320;  // a text or list with an editor
}  // namespace rpProp

struct TrpPropRec {
  QString name;  // up to 32 characters
  int type = rpProp::Integer;
  bool hasEditor = false;
  // Enumerations only: the value names and their values, in the same order.
  QStringList enumNames;
  std::vector<int> enumValues;
};

class TrpObject : public TrpScriptObject {
public:
  TrpObject() = default;
  ~TrpObject() override = default;
  TrpObject(const TrpObject&) = delete;
  TrpObject& operator=(const TrpObject&) = delete;

  // Nothing here: subclasses answer their names; unknown ones are ignored or null.
  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override;
  virtual void DeclareProperties() {}

  bool HasProperty(const QString& name) override { return FindProperty(name) != nullptr; }
  // Ignores case; builds the list first when it is empty.
  const TrpPropRec* FindProperty(const QString& name);
  const std::vector<TrpPropRec>& Properties();

protected:
  void AddProperty(const QString& name, int type, bool hasEditor = false);
  // names: ";"-separated, one per value.
  void AddEnumProperty(const QString& name, const QString& names, std::vector<int> values);
  void ClearProperties() { props_.clear(); }

private:
  std::vector<TrpPropRec> props_;
};

// The string-list methods of a list property P (upper case, e.g. "MEMO"):
// "SETINDEXPROPERTY"(P, i, v) and "GETINDEXPROPERTY"(P, i) with evaluated arguments;
// P.ADD(s), P.CLEAR, P.DELETE(i), P.INDEXOF(s) with expression texts that are computed
// first. Returns false when the method is none of these for that list.
bool rpStringListMethod(QStringList& list, const QString& listName, const QString& method, const QString& p1,
                        const QString& p2, const QString& p3, TrpValue& result);
