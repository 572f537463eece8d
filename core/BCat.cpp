#include "core/BCat.h"

#include "core/BTodo.h"
#include "core/LookupListImpl.h"

template class TLookupList<TCategoryTraits>;
template class TLookupHandler<TCategoryTraits>;

std::span<const TLookupDefault> TCategoryTraits::Defaults() {
  static constexpr TLookupDefault defaults[] = {{"-- unknown --", -1}};
  return defaults;
}

void RenumberArchiveCategory(const QString& folder, int32_t k) { RenumberArchive<&TTdTodo::Category>(folder, k); }
