// The data dictionary: its lists, its stream layouts and its lookups.
#include "report/engine/RP_DataDictionary.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

namespace {

constexpr int16_t kCurrentTag = -2, kOlderTag = -1;

[[noreturn]] void Damaged() { throw ErpLoadError(rpLoadStr(rpStrings::UnsupportedFormat)); }

void WriteList(QIODevice& stream, const TrpNameValueList& list) {
  rpWriteInt(stream, list.Count());
  for (int i = 0; i < list.Count(); ++i) {
    rpWriteString(stream, list.Name(i));
    rpWriteString(stream, list.Value(i));
  }
}

void ReadList(QIODevice& stream, TrpNameValueList& list) {
  const int32_t count = rpReadInt(stream);
  // Each entry holds two strings of at least three bytes.
  if (count < 0 || count > rpRemaining(stream) / 6) Damaged();
  for (int32_t i = 0; i < count; ++i) {
    const QString name = rpReadString(stream);
    list.Append(name, rpReadString(stream));
  }
}

QString ReadShortString(QIODevice& stream) {
  const int length = rpReadByte(stream);
  if (length > rpRemaining(stream)) Damaged();
  return QString::fromLatin1(stream.read(length));
}

}  // namespace

int TrpNameValueList::IndexOf(const QString& name) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].first.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  }
  return -1;
}

void TrpNameValueList::Set(const QString& name, const QString& value) {
  const int i = IndexOf(name);
  if (i >= 0) {
    items_[static_cast<size_t>(i)].second = value;
  } else {
    Append(name, value);
  }
}

void TrpDataDictionary::Clear() {
  Variables.Clear();
  FieldAliases.Clear();
  BandDataSources.Clear();
  ClearCache();
}

void TrpDataDictionary::AddCacheItem(const QString& name, TrpTableDataSet* dataSet, const QString& fieldName) {
  cache_.insert(name.toUpper(), {dataSet, fieldName});
}

void TrpDataDictionary::WriteToStream(QIODevice& stream) const {
  rpWriteWord(stream, static_cast<uint16_t>(kCurrentTag));
  WriteList(stream, Variables);
  WriteList(stream, FieldAliases);
  WriteList(stream, BandDataSources);
}

void TrpDataDictionary::ReadFromStream(QIODevice& stream, int version) {
  Clear();
  const auto tag = static_cast<int16_t>(rpReadWord(stream));
  if (tag == kCurrentTag || tag == kOlderTag) {
    ReadList(stream, Variables);
    ReadList(stream, FieldAliases);
    ReadList(stream, BandDataSources);
  } else {
    if (!stream.seek(stream.pos() - 2)) Damaged();
    ReadLegacy(stream, version);
  }
  // Older writers marked variables with the blank instead of categories: swap. Forms
  // with the current tag follow this convention already, and a variable heading their
  // list must stay one.
  if (tag != kCurrentTag && Variables.Count() > 0 && !Variables.Name(0).isEmpty() &&
      !Variables.Name(0).startsWith(u' ')) {
    for (int i = 0; i < Variables.Count(); ++i) {
      const QString& name = Variables.Name(i);
      Variables.SetName(i, name.startsWith(u' ') ? name.mid(1) : u' ' + name);
    }
  }
  if (tag == kOlderTag) {
    for (int i = FieldAliases.Count() - 1; i >= 0; --i) {
      CacheItem item;
      if (FieldAliases.Value(i).isEmpty() && !Resolve(FieldAliases.Name(i), item)) FieldAliases.Delete(i);
    }
    for (int i = BandDataSources.Count() - 1; i >= 0; --i) {
      if (BandDataSources.Value(i).isEmpty()) BandDataSources.Delete(i);
    }
  }
}

void TrpDataDictionary::ReadLegacy(QIODevice& stream, int version) {
  const int32_t count = rpReadInt(stream);
  // Each entry: a kind byte, a 32-bit value and three length bytes.
  if (count < 0 || count > rpRemaining(stream) / 8) Damaged();
  TrpNameValueList entries;
  for (int32_t i = 0; i < count; ++i) {
    const int kind = rpReadByte(stream);
    const int32_t value = rpReadInt(stream);
    const QString dataSet = ReadShortString(stream);
    const QString field = ReadShortString(stream);
    const QString alias = ReadShortString(stream);
    QString text;
    if (kind == 1) {
      text = dataSet + u'.' + u'"' + field + u'"';
    } else if (kind == 2 && value == 1) {
      text = field;
    }
    entries.Append(alias, text);
  }
  for (const QString& name : rpReadMemoOfVersion(stream, version)) {
    if (name.startsWith(u' ')) {
      const int i = entries.IndexOf(name.mid(1));
      Variables.Append(name, i >= 0 ? entries.Value(i) : QString());
    } else {
      Variables.Append(name, QString());
    }
  }
}

void TrpDataDictionary::SplitFieldName(const QString& text, QString& dataSetPart, QString& fieldPart) {
  qsizetype split = -1;
  bool quoted = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'"') {
      quoted = !quoted;
    } else if (text[i] == u'.' && !quoted) {
      split = i;
    }
  }
  if (split < 0) {
    dataSetPart.clear();
    fieldPart = text;
  } else {
    dataSetPart = text.left(split);
    fieldPart = text.mid(split + 1);
  }
}

QString TrpDataDictionary::RealDataSetName(const QString& alias) const {
  const int i = FieldAliases.IndexOf(alias);
  return i >= 0 && !FieldAliases.Value(i).isEmpty() ? FieldAliases.Value(i) : alias;
}

QString TrpDataDictionary::RealFieldName(const QString& dataSetAlias, const QString& fieldAlias) const {
  const int i = FieldAliases.IndexOf(dataSetAlias + u'.' + fieldAlias);
  if (i < 0 || FieldAliases.Value(i).isEmpty()) return fieldAlias;
  QString dataSet, field;
  SplitFieldName(FieldAliases.Value(i), dataSet, field);
  return field;
}

bool TrpDataDictionary::Resolve(const QString& text, CacheItem& item) const {
  const TrpDataSetAndField found = rpGetDataSetAndField(text);
  if (!found.dataSet || found.fieldName.isEmpty()) return false;
  item = {found.dataSet, found.fieldName};
  return true;
}

bool TrpDataDictionary::IsVariable(const QString& name) {
  if (cache_.contains(name.toUpper())) return true;
  const int i = name.startsWith(u' ') ? -1 : Variables.IndexOf(name);
  if (i >= 0) {
    const QString& value = Variables.Value(i);
    CacheItem item;
    if (value.contains(u'.') && Resolve(value, item)) cache_.insert(name.toUpper(), item);
    return true;
  }
  QString dataSetPart, fieldPart;
  SplitFieldName(name, dataSetPart, fieldPart);
  if (dataSetPart.isEmpty()) return false;
  const QString real = RealDataSetName(dataSetPart) + u'.' + RealFieldName(dataSetPart, fieldPart);
  CacheItem item;
  if (!Resolve(real, item)) return false;
  cache_.insert(name.toUpper(), item);
  return true;
}

TrpValue TrpDataDictionary::GetValue(const QString& name) {
  const auto cached = cache_.constFind(name.toUpper());
  if (cached != cache_.constEnd()) {
    TrpTableDataSet* dataSet = cached->dataSet;
    if (!dataSet->Active()) dataSet->Open();
    TrpField* field = dataSet->FindField(cached->fieldName);
    return field ? rpGetFieldValue(*field) : TrpValue::Null();
  }
  TrpVariables& engine = rpGlobals().Variables();
  if (const int e = engine.IndexOf(name); e >= 0) return engine.Value(e);
  const int i = name.startsWith(u' ') ? -1 : Variables.IndexOf(name);
  if (i < 0) return TrpValue::Null();
  const QString value = Variables.Value(i);
  if (value.isEmpty()) return TrpValue(value);
  const QString key = name.toUpper();
  if (evaluating_.contains(key)) throw EParserError(rpLoadStr(rpStrings::UndefinedSymbol));
  evaluating_.insert(key);
  try {
    const TrpValue result = rpGlobals().Parser().Calc(value);
    evaluating_.remove(key);
    return result;
  } catch (...) {
    evaluating_.remove(key);
    throw;
  }
}
