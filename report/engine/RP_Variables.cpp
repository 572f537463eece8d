#include "report/engine/RP_Pars.h"

#include <algorithm>

namespace {

int CompareNames(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive); }

}  // namespace

std::pair<size_t, bool> TrpVariables::Find(const QString& name) const {
  if (sorted_) {
    const auto it = std::lower_bound(items_.begin(), items_.end(), name,
                                     [](const Item& item, const QString& n) { return CompareNames(item.name, n) < 0; });
    const size_t index = static_cast<size_t>(it - items_.begin());
    return {index, it != items_.end() && CompareNames(it->name, name) == 0};
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    if (CompareNames(items_[i].name, name) == 0) return {i, true};
  }
  return {items_.size(), false};
}

void TrpVariables::Sort() {
  std::stable_sort(items_.begin(), items_.end(),
                   [](const Item& a, const Item& b) { return CompareNames(a.name, b.name) < 0; });
  // Duplicates are ignored: the first of equal names stays.
  items_.erase(std::unique(items_.begin(), items_.end(),
                           [](const Item& a, const Item& b) { return CompareNames(a.name, b.name) == 0; }),
               items_.end());
}

void TrpVariables::SetSorted(bool sorted) {
  sorted_ = sorted;
  if (sorted_) Sort();
}

void TrpVariables::SetVariable(const QString& name, const TrpValue& value) {
  const auto [index, found] = Find(name);
  if (found) {
    items_[index].value = value;
  } else {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), Item{name, value});
  }
}

TrpValue TrpVariables::Variable(const QString& name) const {
  const auto [index, found] = Find(name);
  return found ? items_[index].value : TrpValue::Null();
}

int TrpVariables::IndexOf(const QString& name) const {
  const auto [index, found] = Find(name);
  return found ? static_cast<int>(index) : -1;
}

QString TrpVariables::Name(int index) const {
  if (index < 0 || index >= Count()) return {};
  return items_[static_cast<size_t>(index)].name;
}

void TrpVariables::SetName(int index, const QString& name) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<size_t>(index)].name = name;
  if (sorted_) Sort();
}

TrpValue TrpVariables::Value(int index) const {
  if (index < 0 || index >= Count()) return TrpValue(0);
  return items_[static_cast<size_t>(index)].value;
}

void TrpVariables::SetValue(int index, const TrpValue& value) {
  if (index < 0 || index >= Count()) return;
  items_[static_cast<size_t>(index)].value = value;
}

void TrpVariables::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}
