#include "report/engine/RP_FuncLib.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <algorithm>

namespace {

constexpr size_t kMaxLibraries = 64;

}  // namespace

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

void TrpGlobals::RegisterLibrary(const TrpLibraryFactory& factory) {
  std::unique_ptr<TrpFunctionLibrary> library = factory();
  const QString className = library->ClassName();
  for (const auto& registered : libraries_) {
    if (registered->ClassName() == className) return;
  }
  if (libraries_.size() >= kMaxLibraries) throw ErpError(rpLoadStr(rpStrings::TooManyLibraries));
  library->Describe(*installed_);
  libraries_.push_back(std::move(library));
}

void TrpGlobals::UnregisterLibrary(const QString& className) {
  installed_->RemoveLibrary(className);
  std::erase_if(libraries_, [&](const std::unique_ptr<TrpFunctionLibrary>& library) {
    return library->ClassName() == className;
  });
}

void rpRegisterFunctionLibrary(const TrpLibraryFactory& factory) { rpGlobals().RegisterLibrary(factory); }

void rpUnRegisterFunctionLibrary(const QString& className) { rpGlobals().UnregisterLibrary(className); }

std::vector<TrpFunctionLibrary*> rpFunctionLibraries() {
  std::vector<TrpFunctionLibrary*> libraries;
  for (const auto& library : rpGlobals().Libraries()) libraries.push_back(library.get());
  return libraries;
}

bool rpCallFunctionLibraries(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                             TrpValue& value) {
  // A library may register or remove libraries while it runs; walk a copy.
  for (TrpFunctionLibrary* library : rpFunctionLibraries()) {
    if (library->OnFunction(name, p1, p2, p3, value)) return true;
  }
  return false;
}
