#pragma once
// The type lookup list, kept in type.tbl: a name and an image index per entry. A new
// file starts with fifteen everyday types.
#include "core/LookupList.h"

struct TTdType {
  QString Name;
  int32_t ImageIndex = -1;  // into the shared task image list; -1 for none
};

struct TTypeTraits {
  using Entry = TTdType;
  static constexpr bool HasImage = true;
  static constexpr const char* VersionError = "Wrong version in Type-file ";
  static constexpr const char* DeleteError = "Not allowed to delete \"unknown Type\"";
  static constexpr const char* NoEntryName = "[no Type]";
  static std::span<const TLookupDefault> Defaults();
};

using TTdTypeList = TLookupList<TTypeTraits>;

class TTdTypeHandler : public TLookupHandler<TTypeTraits> {
public:
  using TLookupHandler::TLookupHandler;

  // A new entry with an empty name and no image, appended; marks the handler modified.
  TTdType* AddType() { return AddEntry(); }
  // Entry 0 raises ELookupListError and nothing changes.
  void DeleteType(TTdType* type) { DeleteEntry(type); }
  TTdType* GetType(int index) const { return GetEntry(index); }
};

extern template class TLookupList<TTypeTraits>;
extern template class TLookupHandler<TTypeTraits>;

// After type k was deleted: renumbers the tasks of archive.tbl in the folder (which ends
// with "/") and writes the file at once when a task changed.
void RenumberArchiveType(const QString& folder, int32_t k);
