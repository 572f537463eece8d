#pragma once
// The resource lookup list, kept in res.tbl: a name per entry.
#include "core/LookupList.h"

struct TTdResource {
  QString Name;
};

struct TResourceTraits {
  using Entry = TTdResource;
  static constexpr bool HasImage = false;
  static constexpr const char* VersionError = "Wrong version in Resource-file ";
  static constexpr const char* DeleteError = "Not allowed to delete \"unknown Resource\"";
  static constexpr const char* NoEntryName = "[no Resource]";
  static std::span<const TLookupDefault> Defaults();
};

using TTdResourceList = TLookupList<TResourceTraits>;

class TTdResourceHandler : public TLookupHandler<TResourceTraits> {
public:
  using TLookupHandler::TLookupHandler;

  // A new entry with an empty name, appended; marks the handler modified.
  TTdResource* AddResource() { return AddEntry(); }
  // Entry 0 raises ELookupListError and nothing changes.
  void DeleteResource(TTdResource* resource) { DeleteEntry(resource); }
  TTdResource* GetResource(int index) const { return GetEntry(index); }
};

extern template class TLookupList<TResourceTraits>;
extern template class TLookupHandler<TResourceTraits>;

// After resource k was deleted: renumbers the tasks of archive.tbl in the folder (which
// ends with "/") and writes the file at once when a task changed.
void RenumberArchiveResource(const QString& folder, int32_t k);
