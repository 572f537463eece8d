#pragma once
// The report's data dictionary: variables (name -> expression text; category names
// share the list and carry a leading blank), field aliases (alias ->
// "dataset.field"), band data sources, disabled data sets, and a sorted cache from a
// name to the data set and field it resolved to during a build.
#include "report/engine/RP_Variant.h"

#include <QIODevice>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

class TrpTableDataSet;

// Name/value pairs in their stored order; names match without regard to case.
class TrpNameValueList {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  const QString& Name(int i) const { return items_[static_cast<size_t>(i)].first; }
  const QString& Value(int i) const { return items_[static_cast<size_t>(i)].second; }
  void SetName(int i, const QString& name) { items_[static_cast<size_t>(i)].first = name; }
  int IndexOf(const QString& name) const;
  // Replaces the value of an existing name, else appends.
  void Set(const QString& name, const QString& value);
  void Append(const QString& name, const QString& value) { items_.emplace_back(name, value); }
  void Delete(int i) { items_.erase(items_.begin() + i); }
  void Clear() { items_.clear(); }
  bool operator==(const TrpNameValueList& other) const { return items_ == other.items_; }

private:
  std::vector<std::pair<QString, QString>> items_;
};

class TrpDataDictionary {
public:
  TrpNameValueList Variables;
  TrpNameValueList FieldAliases;
  TrpNameValueList BandDataSources;
  QStringList DisabledDataSets;

  void Clear();
  void ClearCache() { cache_.clear(); }
  void AddCacheItem(const QString& name, TrpTableDataSet* dataSet, const QString& fieldName);

  // Tag -2, then the three lists (a 32-bit count, then name and value strings).
  void WriteToStream(QIODevice& stream) const;
  // Also the older layouts (tag -1, or no tag at all); version selects the string
  // layout of the oldest one. Raises ErpLoadError on damage.
  void ReadFromStream(QIODevice& stream, int version);

  bool IsVariable(const QString& name);
  // A cached field's value, or a variable's: the engine variable of that name when
  // there is one, else its text evaluated. Variables that name each other end with
  // EParserError "Undefined symbol".
  TrpValue GetValue(const QString& name);

  // At the last "." outside double quotes.
  static void SplitFieldName(const QString& text, QString& dataSetPart, QString& fieldPart);
  QString RealDataSetName(const QString& alias) const;
  QString RealFieldName(const QString& dataSetAlias, const QString& fieldAlias) const;

private:
  struct CacheItem {
    TrpTableDataSet* dataSet = nullptr;
    QString fieldName;
  };
  // Resolves "dataset.field" (through the aliases); false when it names no field.
  bool Resolve(const QString& text, CacheItem& item) const;
  void ReadLegacy(QIODevice& stream, int version);

  QMap<QString, CacheItem> cache_;  // upper-case names
  QSet<QString> evaluating_;
};
