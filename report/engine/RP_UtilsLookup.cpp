// Components, data sets and fields by name.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Format.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QPointer>

namespace {

QList<QPointer<QObject>>& TopLevel() {
  static QList<QPointer<QObject>> components;
  return components;
}

bool SameName(const QObject* object, const QString& name) {
  return object && object->objectName().compare(name, Qt::CaseInsensitive) == 0;
}

QObject* ChildNamed(QObject* parent, const QString& name) {
  if (!parent) return nullptr;
  for (QObject* child : parent->findChildren<QObject*>()) {
    if (SameName(child, name)) return child;
  }
  return nullptr;
}

QObject* TopLevelNamed(const QString& name) {
  for (const QPointer<QObject>& component : TopLevel()) {
    if (SameName(component, name)) return component;
  }
  return nullptr;
}

[[noreturn]] void Missing(const QString& name) { throw EClassNotFound(rpLoadStr(rpStrings::Missing) + name); }

// Splits at "."; a part that begins with a double quote runs to the end.
QStringList SplitName(const QString& text) {
  QStringList parts;
  qsizetype start = 0;
  while (start <= text.size()) {
    if (start < text.size() && text[start] == u'"') {
      parts << text.mid(start);
      break;
    }
    const qsizetype dot = text.indexOf(u'.', start);
    if (dot < 0) {
      parts << text.mid(start);
      break;
    }
    parts << text.mid(start, dot - start);
    start = dot + 1;
  }
  return parts;
}

TrpTableDataSet* AsTable(QObject* component) {
  if (auto* table = dynamic_cast<TrpTableDataSet*>(component)) return table;
  if (auto* db = dynamic_cast<TrpDBDataSet*>(component)) return db->TableDataSet();
  return nullptr;
}

int DataBandFor(int bandType) {
  switch (bandType) {
    case rpBand::ReportTitle:
    case rpBand::ReportSummary:
    case rpBand::PageHeader:
    case rpBand::PageFooter:
    case rpBand::MasterHeader:
    case rpBand::MasterData:
    case rpBand::MasterFooter:
    case rpBand::GroupHeader:
    case rpBand::GroupFooter: return rpBand::MasterData;
    case rpBand::DetailData:
    case rpBand::DetailFooter: return rpBand::DetailData;
    case rpBand::SubdetailData:
    case rpBand::SubdetailFooter: return rpBand::SubdetailData;
    case rpBand::CrossData:
    case rpBand::CrossFooter: return rpBand::CrossData;
    default: return -1;
  }
}

}  // namespace

void rpRegisterTopLevelComponent(QObject* component) {
  if (component && !TopLevel().contains(component)) TopLevel() << component;
}

void rpUnregisterTopLevelComponent(QObject* component) { TopLevel().removeAll(component); }

QObject* rpFindComponent(QObject* owner, const QString& name) {
  const QStringList parts = name.split(u'.');
  QObject* found = nullptr;
  if (parts.size() == 1) {
    found = ChildNamed(owner, name);
  } else {
    found = TopLevelNamed(parts[0]);
    for (qsizetype i = 1; found && i < parts.size() && i <= 2; ++i) found = ChildNamed(found, parts[i]);
    if (parts.size() > 3) found = nullptr;
  }
  if (!found) Missing(name);
  return found;
}

TrpDataSetAndField rpGetDataSetAndField(const QString& text) {
  TrpDataSetAndField result;
  const QStringList parts = SplitName(text);
  TrpReportHost* host = rpGlobals().CurrentReport();
  QObject* owner = host ? host->Owner() : nullptr;
  QString field;
  try {
    switch (parts.size()) {
      case 1:
        result.dataSet = rpCurrentDataSet();
        field = parts[0];
        break;
      case 2:
        result.dataSet = AsTable(rpFindComponent(owner, parts[0]));
        field = parts[1];
        break;
      case 3:
      case 4:
        result.dataSet = AsTable(rpFindComponent(owner, parts.mid(0, parts.size() - 1).join(u'.')));
        field = parts.back();
        break;
      default: return result;
    }
  } catch (const EClassNotFound&) {
    return {};
  }
  if (!result.dataSet) return result;
  field = rpUnquote(field);
  try {
    for (const QString& name : result.dataSet->FieldNames()) {
      if (name.compare(field, Qt::CaseInsensitive) == 0) {
        result.fieldName = field;
        break;
      }
    }
  } catch (const std::exception&) {
    // a data set that cannot list its fields has none to offer
  }
  return result;
}

TrpValue rpGetFieldValue(TrpField& field) {
  if (TrpTableDataSet* table = field.DataSet(); table && !table->Active()) table->Open();
  if (field.HasTextHandler() || field.DataType() == TrpFieldType::WideString) return TrpValue(field.DisplayText());
  if (field.IsNull()) {
    switch (field.DataType()) {
      case TrpFieldType::String: return TrpValue(QString());
      case TrpFieldType::Boolean: return TrpValue(false);
      default: return TrpValue(0);
    }
  }
  return field.Value();
}

bool rpIsBlob(const TrpField& field) {
  switch (field.DataType()) {
    case TrpFieldType::Blob:
    case TrpFieldType::Memo:
    case TrpFieldType::Graphic:
    case TrpFieldType::FormattedMemo:
    case TrpFieldType::ParadoxOle:
    case TrpFieldType::DBaseOle:
    case TrpFieldType::TypedBinary: return true;
    default: return false;
  }
}

void rpCopyBlobToStream(const TrpField& field, QIODevice& stream) {
  stream.write(field.BlobData());
  stream.seek(0);
}

TrpFoundDataSet rpGetDataSet(QObject* owner, const QString& name) {
  TrpFoundDataSet found;
  if (!name.isEmpty() && name[0] >= u'1' && name[0] <= u'9') {
    qsizetype digits = 0;
    while (digits < name.size() && name[digits].isDigit()) ++digits;
    auto user = std::make_unique<TrpUserDataset>();
    user->SetRangeEnd(reCount);
    user->SetRangeEndCount(static_cast<int>(std::min<int64_t>(rpTextToInteger(name.left(std::min<qsizetype>(digits, 9))), INT32_MAX)));
    found.dataSet = user.get();
    found.owned = std::move(user);
  } else {
    found.dataSet = dynamic_cast<TrpDataset*>(rpFindComponent(owner, name));
    if (!found.dataSet) Missing(name);
  }
  found.dataSet->Init();
  return found;
}

TrpTableDataSet* rpCurrentDataSet() {
  TrpReportHost* host = rpGlobals().CurrentReport();
  if (!host) return nullptr;
  const int dataBand = DataBandFor(host->CurrentBandType());
  TrpDataset* dataSet = dataBand >= 0 ? host->DataBandDataSet(dataBand) : nullptr;
  if (!dataSet) dataSet = host->DefaultDataSet();
  auto* db = dynamic_cast<TrpDBDataSet*>(dataSet);
  return db ? db->TableDataSet() : nullptr;
}

TrpRotatedFont rpCreateRotatedFont(const QFont& font) { return TrpRotatedFont{font, 900, 900}; }
