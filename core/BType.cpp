#include "core/BType.h"

#include "core/BTodo.h"
#include "core/LookupListImpl.h"

template class TLookupList<TTypeTraits>;
template class TLookupHandler<TTypeTraits>;

std::span<const TLookupDefault> TTypeTraits::Defaults() {
  static constexpr TLookupDefault defaults[] = {
      {"-- unknown --", 0}, {"Call", 35},    {"Mail", 36},  {"Meet", 37},    {"Trash", 38},
      {"Find", 39},         {"Arrange", 40}, {"Fix", 41},   {"Buy", 42},     {"Invest", 43},
      {"Talk to", 44},      {"Write", 45},   {"Check", 46}, {"Fix bug", 47}, {"Idea", 48},
  };
  return defaults;
}

void RenumberArchiveType(const QString& folder, int32_t k) { RenumberArchive<&TTdTodo::Type>(folder, k); }
