#pragma once
// The aggregate functions SUM, MIN, MAX, AVG and COUNT. Before a report runs, every
// call in the band texts is evaluated once while data sources are bound and registers
// itself with its data band under a key; while the report prints, each record of the
// data band adds to the values, and the calls read them back by the same key.
//
// A key is made of fields each followed by the character 1: an optional column prefix
// (digits), the band name, the function code as one character, the expression text and
// the flags text ("1": count the record also while the band is invisible).
#include "report/engine/RP_Host.h"
#include "report/engine/RP_Variant.h"

#include <QString>
#include <functional>
#include <vector>

namespace rpAggregate {
constexpr int Sum = 11, Min = 12, Max = 13, Avg = 14, Count = 15;
}

QString rpAggregateKey(const QString& columnPrefix, const QString& bandName, int code, const QString& expression,
                       const QString& flags);

// One band's aggregate values.
class TrpAggregateValues {
public:
  // Registers a key once; later registrations of the same key keep the values.
  void Register(const QString& key, int code, const QString& expression, const QString& flags);
  bool Contains(const QString& key) const { return Find(key) != nullptr; }
  // SUM and COUNT start at 0; MIN, MAX and AVG have no value (empty) until a record
  // comes, so a group without records shows nothing and all-negative data its true
  // maximum. AVG is the sum over the records accumulated since the reset.
  TrpValue Value(const QString& key) const;
  // One record. Entries count when the band is visible or their flags are "1";
  // evaluate computes an expression (once for entries in a row with the same one).
  // Null and empty values count as 0.
  void Accumulate(bool bandVisible, const std::function<TrpValue(const QString& expression)>& evaluate);
  // One record in one cross-tab column: every entry a band cut by cross bands
  // registered (column prefix "0") adds to its copy for that column, made on first use,
  // so a footer cell under a column totals that column only.
  void AccumulateColumn(int column, bool bandVisible,
                        const std::function<TrpValue(const QString& expression)>& evaluate);
  void Reset();
  // Resets only the entries a band's texts registered (its name is in their keys).
  void ResetBand(const QString& bandName);
  int Size() const { return static_cast<int>(entries_.size()); }

private:
  struct Entry {
    QString key;
    int code;
    QString expression;
    QString flags;
    TrpValue value;
    int64_t records = 0;
    int column = 0;  // a copy for one cross-tab column counts that column's records only
  };
  const Entry* Find(const QString& key) const;
  qsizetype IndexOf(const QString& key) const;
  static void Add(Entry& entry, const TrpValue& value);
  static TrpValue StartValue(int code);

  std::vector<Entry> entries_;
};

// An aggregate call met while a band's text is evaluated: registers it (binding) or
// reads its value (printing). value is left as it is when neither applies.
void rpAggregateCall(TrpReportHost& host, int code, const QString& p1, const QString& p2, const QString& p3,
                     TrpValue& value);
