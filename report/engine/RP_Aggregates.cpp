#include "report/engine/RP_Aggregates.h"

#include <QStringList>

namespace {

constexpr QChar kSeparator = QChar(1);

// The data band whose records a footer's aggregates without a band name count.
int DataBandOf(int bandType) {
  switch (bandType) {
    case rpBand::ReportSummary:
    case rpBand::PageFooter:
    case rpBand::MasterFooter:
    case rpBand::GroupFooter: return rpBand::MasterData;
    case rpBand::DetailFooter: return rpBand::DetailData;
    case rpBand::SubdetailFooter: return rpBand::SubdetailData;
    case rpBand::CrossFooter: return rpBand::CrossData;
    default: return -1;
  }
}

QString ColumnPrefix(const TrpAggregateBand& band) {
  return band.BandType() != rpBand::CrossFooter && band.HasCrossObjects() ? QStringLiteral("0") : QString();
}

TrpValue OrZero(const TrpValue& value) { return value.IsNull() || value.IsEmpty() ? TrpValue(0) : value; }

}  // namespace

QString rpAggregateKey(const QString& columnPrefix, const QString& bandName, int code, const QString& expression,
                       const QString& flags) {
  QString key;
  if (!columnPrefix.isEmpty()) key += columnPrefix + kSeparator;
  key += bandName + kSeparator + QChar(static_cast<char16_t>(code)) + kSeparator + expression + kSeparator + flags +
         kSeparator;
  return key;
}

TrpValue TrpAggregateValues::StartValue(int code) {
  switch (code) {
    case rpAggregate::Min:
    case rpAggregate::Max:
    case rpAggregate::Avg: return TrpValue();
    default: return TrpValue(0);
  }
}

qsizetype TrpAggregateValues::IndexOf(const QString& key) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].key == key) return static_cast<qsizetype>(i);
  }
  return -1;
}

const TrpAggregateValues::Entry* TrpAggregateValues::Find(const QString& key) const {
  const qsizetype i = IndexOf(key);
  return i < 0 ? nullptr : &entries_[static_cast<size_t>(i)];
}

void TrpAggregateValues::Register(const QString& key, int code, const QString& expression, const QString& flags) {
  if (Contains(key)) return;
  entries_.push_back({key, code, expression, flags, StartValue(code), 0});
}

TrpValue TrpAggregateValues::Value(const QString& key) const {
  const Entry* entry = Find(key);
  if (!entry) return TrpValue::Null();
  if (entry->code == rpAggregate::Avg) {
    if (entry->records == 0) return TrpValue();
    return rpDivide(entry->value, TrpValue(entry->records));
  }
  return entry->value;
}

void TrpAggregateValues::Add(Entry& entry, const TrpValue& value) {
  switch (entry.code) {
    case rpAggregate::Count: entry.value = rpAdd(OrZero(entry.value), TrpValue(1)); break;
    case rpAggregate::Sum:
    case rpAggregate::Avg: entry.value = rpAdd(OrZero(entry.value), value); break;
    case rpAggregate::Min:
      if (entry.value.IsEmpty() || rpLess(value, entry.value)) entry.value = value;
      break;
    case rpAggregate::Max:
      if (entry.value.IsEmpty() || rpGreater(value, entry.value)) entry.value = value;
      break;
    default: break;
  }
  ++entry.records;
}

void TrpAggregateValues::Accumulate(bool bandVisible,
                                    const std::function<TrpValue(const QString& expression)>& evaluate) {
  const QString* lastExpression = nullptr;
  TrpValue last;
  for (Entry& entry : entries_) {
    if (entry.column > 0 || (!bandVisible && entry.flags.trimmed() != QLatin1String("1"))) continue;
    if (entry.code != rpAggregate::Count && (!lastExpression || *lastExpression != entry.expression)) {
      last = OrZero(evaluate(entry.expression));
      lastExpression = &entry.expression;
    }
    Add(entry, last);
  }
}

void TrpAggregateValues::AccumulateColumn(int column, bool bandVisible,
                                          const std::function<TrpValue(const QString& expression)>& evaluate) {
  const QString templatePrefix = QStringLiteral("0") + kSeparator;
  const QString prefix = QString::number(column) + kSeparator;
  QString lastExpression;
  bool evaluated = false;
  TrpValue last;
  // Copies are appended behind the templates: walk only those that were there.
  const size_t count = entries_.size();
  for (size_t i = 0; i < count; ++i) {
    if (!entries_[i].key.startsWith(templatePrefix)) continue;
    if (!bandVisible && entries_[i].flags.trimmed() != QLatin1String("1")) continue;
    const Entry copy = entries_[i];
    const QString key = prefix + copy.key.mid(templatePrefix.size());
    Register(key, copy.code, copy.expression, copy.flags);
    Entry& entry = entries_[static_cast<size_t>(IndexOf(key))];
    entry.column = column;
    if (entry.code != rpAggregate::Count && (!evaluated || lastExpression != entry.expression)) {
      last = OrZero(evaluate(entry.expression));
      lastExpression = entry.expression;
      evaluated = true;
    }
    Add(entry, last);
  }
}

void TrpAggregateValues::Reset() {
  for (Entry& entry : entries_) {
    entry.value = StartValue(entry.code);
    entry.records = 0;
  }
}

void rpAggregateCall(TrpReportHost& host, int code, const QString& p1, const QString& p2, const QString& p3,
                     TrpValue& value) {
  const bool count = code == rpAggregate::Count;
  const QString expression = count ? QString() : p1;
  QString bandName = (count ? p1 : p2).trimmed();
  const QString flags = count ? p2 : p3;
  TrpAggregateBand* current = host.CurrentAggregateBand();
  if (!current) return;
  if (host.BindingDataSources()) {
    TrpAggregateBand* data = host.ExaminedDataBand();
    if (!data) return;
    if (bandName.isEmpty()) {
      if (data->BandType() != DataBandOf(current->BandType())) return;
      bandName = data->Name();
    }
    if (bandName.compare(data->Name(), Qt::CaseInsensitive) != 0) return;
    data->Aggregates().Register(rpAggregateKey(ColumnPrefix(*current), current->Name(), code, expression, flags), code,
                                expression, flags);
    current->SetAggregateSource(data);
    return;
  }
  TrpAggregateBand* source = current->AggregateSource();
  if (!source) return;
  // A cell printed in a cross-tab column reads that column's own total.
  QString prefix = ColumnPrefix(*current);
  if (!prefix.isEmpty() && host.CurrentColumn() > 0) prefix = QString::number(host.CurrentColumn());
  const QString key =
      current->BandType() == rpBand::CrossData
          ? rpAggregateKey(QString::number(host.CurrentColumn()), source->Name(), code, expression, flags)
          : rpAggregateKey(prefix, current->Name(), code, expression, flags);
  if (source->Aggregates().Contains(key)) value = source->Aggregates().Value(key);
}

void TrpAggregateValues::ResetBand(const QString& bandName) {
  for (Entry& entry : entries_) {
    const QStringList fields = entry.key.split(kSeparator);
    // Five fields and the empty tail, one more with a column prefix.
    const QString& name = fields.size() > 5 ? fields[1] : fields[0];
    if (name.compare(bandName, Qt::CaseInsensitive) != 0) continue;
    entry.value = StartValue(entry.code);
    entry.records = 0;
  }
}
