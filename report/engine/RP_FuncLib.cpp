#include "report/engine/RP_FuncLib.h"

#include <algorithm>

TrpLibraryHost& TrpFunctionLibrary::Host() const {
  Q_ASSERT(host_ != nullptr);
  return *host_;
}

void TrpFunctionLibrary::AddFunction(const QString& upperName) {
  numbers_.insert(upperName, static_cast<int>(list_.size()));
  list_ << upperName;
}

bool TrpFunctionLibrary::OnFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                                    TrpValue& value) {
  const auto it = numbers_.constFind(name);
  if (it == numbers_.constEnd()) return false;
  CallLibraryFunction(it.value(), p1, p2, p3, value);
  return true;
}

void TrpFunctionLibrary::Describe(TrpInstalledFunctions& functions) const {
  for (const QString& name : list_) functions.Add(ClassName(), name);
}

void TrpInstalledFunctions::Add(const QString& libraryClass, const QString& name, const QString& category,
                                const QString& description) {
  if (Find(name)) return;
  items_.push_back({libraryClass, name, category, description});
}

void TrpInstalledFunctions::RemoveLibrary(const QString& libraryClass) {
  std::erase_if(items_, [&](const TrpFunctionDescription& item) { return item.libraryClass == libraryClass; });
}

const TrpFunctionDescription* TrpInstalledFunctions::Find(const QString& name) const {
  for (const TrpFunctionDescription& item : items_) {
    if (item.name.compare(name, Qt::CaseInsensitive) == 0) return &item;
  }
  return nullptr;
}
