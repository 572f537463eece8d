#pragma once
// The category lookup list, kept in cat.tbl: a name and an image index per entry.
#include "core/LookupList.h"

struct TTdCategory {
  QString Name;
  int32_t ImageIndex = -1;  // into the shared task image list; -1 for none
};

struct TCategoryTraits {
  using Entry = TTdCategory;
  static constexpr bool HasImage = true;
  static constexpr const char* VersionError = "Wrong version in Category-file ";
  static constexpr const char* DeleteError = "Not allowed to delete \"unknown category\"";
  static constexpr const char* NoEntryName = "[no category]";
  static std::span<const TLookupDefault> Defaults();
};

using TTdCategoryList = TLookupList<TCategoryTraits>;

class TTdCategoryHandler : public TLookupHandler<TCategoryTraits> {
public:
  using TLookupHandler::TLookupHandler;

  // A new entry with an empty name and no image, appended; marks the handler modified.
  TTdCategory* AddCategory() { return AddEntry(); }
  // Entry 0 raises ELookupListError and nothing changes.
  void DeleteCategory(TTdCategory* category) { DeleteEntry(category); }
  TTdCategory* GetCategory(int index) const { return GetEntry(index); }
};

extern template class TLookupList<TCategoryTraits>;
extern template class TLookupHandler<TCategoryTraits>;

// After category k was deleted: renumbers the tasks of archive.tbl in the folder (which
// ends with "/") and writes the file at once when a task changed.
void RenumberArchiveCategory(const QString& folder, int32_t k);
