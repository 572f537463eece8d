#include "core/BCat.h"

#include "core/BTodo.h"
#include "core/LookupListImpl.h"

template class TLookupList<TCategoryTraits>;
template class TLookupHandler<TCategoryTraits>;

std::span<const TLookupDefault> TCategoryTraits::Defaults() {
  static constexpr TLookupDefault defaults[] = {{"-- unknown --", -1}};
  return defaults;
}

void RenumberArchiveCategory(const QString& folder, int32_t k) {
  TTdTodoHandler archive(folder + QStringLiteral("archive.tbl"));
  archive.Load();
  archive.RenumberCategory(k);
  archive.Save();
}
