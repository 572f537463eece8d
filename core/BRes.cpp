#include "core/BRes.h"

#include "core/BTodo.h"
#include "core/LookupListImpl.h"

template class TLookupList<TResourceTraits>;
template class TLookupHandler<TResourceTraits>;

std::span<const TLookupDefault> TResourceTraits::Defaults() {
  static constexpr TLookupDefault defaults[] = {{"-- unknown --", -1}};
  return defaults;
}

void RenumberArchiveResource(const QString& folder, int32_t k) { RenumberArchive<&TTdTodo::Resource>(folder, k); }
