#pragma once
// Categories, resources and types are one design in three variants: a list addressed by
// position (tasks refer to an entry by its position), whose entry 0 "-- unknown --"
// cannot be deleted, kept in a table file of version 1, the count and the entries. A
// traits struct per variant names its entry, its texts and its default content.
//
// The member definitions live in core/LookupListImpl.h and are instantiated once per
// variant in BCat.cpp, BRes.cpp and BType.cpp.
#include "core/StringList.h"
#include "platform/Exception.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// A lookup file whose version word is not 1.
class ELookupFileError : public Exception {
public:
  using Exception::Exception;
};

// Refused change of a lookup list: deleting entry 0, or an index outside the list.
class ELookupListError : public Exception {
public:
  using Exception::Exception;
};

// One entry of a variant's default content.
struct TLookupDefault {
  const char* Name;
  int32_t ImageIndex;
};

// What a traits struct provides:
//   using Entry = ...;                       // has QString Name, and int32_t ImageIndex when HasImage
//   static constexpr bool HasImage;          // the file stores an image index per entry
//   static constexpr const char* VersionError, *DeleteError, *NoEntryName;
//   static std::span<const TLookupDefault> Defaults();

template <typename Traits>
class TLookupList {
public:
  using Entry = typename Traits::Entry;

  TLookupList() = default;
  TLookupList(const TLookupList&) = delete;
  TLookupList& operator=(const TLookupList&) = delete;

  // Appends an entry with the construction defaults and returns it.
  Entry* Add();
  void Append(std::unique_ptr<Entry> entry);
  // Takes the entry out and frees it. An entry not in the list is ignored; entry 0
  // raises ELookupListError and stays.
  void Remove(Entry* entry);
  // Raises ELookupListError for an index outside the list.
  Entry* GetItem(int index) const;
  int Count() const { return static_cast<int>(items_.size()); }
  int IndexOf(const Entry* entry) const;
  void Reserve(int count) { items_.reserve(static_cast<size_t>(count)); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<std::unique_ptr<Entry>> items_;
};

template <typename Traits>
class TLookupHandler {
public:
  using Entry = typename Traits::Entry;
  using List = TLookupList<Traits>;

  explicit TLookupHandler(QString fileName);
  TLookupHandler(const TLookupHandler&) = delete;
  TLookupHandler& operator=(const TLookupHandler&) = delete;

  const QString& FileName() const { return fileName_; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  int32_t Version() const { return version_; }

  // Appends the entries of the file. When the list is then empty (no file, or a file
  // without entries) the default content is added and the handler marked modified, so
  // the file is written at the next save. Raises ELookupFileError naming the file for a
  // wrong version and EReadError for a damaged file (one that ends early, a negative
  // count, bytes after the last announced entry); entries read before the damage stay,
  // but the handler then never writes its file.
  void Load();
  void LoadFromBytes(const QByteArray& bytes);
  // Writes the file when modified, keeping the previous one as the "~" copy. Raises
  // EWriteError and stays modified when the file cannot be written, or when a load of
  // it failed.
  void Save();
  QByteArray SaveToBytes() const;

  int Count() const { return list_.Count(); }
  List& Items() { return list_; }
  const List& Items() const { return list_; }

  // The entry's name; any id outside the list (-1 meaning none) gives the "[no ...]" text.
  QString NameOf(int32_t id) const;
  // An entry of that name, compared without regard to case.
  bool NameExists(const QString& name) const;
  // Adds the names in position order, from position 1 when skipFirst is set, each with
  // its image index as the object (0 where the entries have no image).
  void FillStrings(TStringList& list, bool skipFirst) const;
  // Adds every name with its position as the object.
  void FillNamesWithIds(TStringList& list) const;
  // Replaces the list's content with every entry's image index in position order.
  void GetImageIndexes(TImageIndexList& list) const
    requires Traits::HasImage;

  // After entry deletedId was deleted: removes that id from the array and lowers every
  // greater id by one, so the array keeps naming the same entries.
  static void RenumberIdArray(QList<int32_t>& ids, int32_t deletedId);

protected:
  Entry* AddEntry();
  // Entry 0 raises ELookupListError; the list and the modified flag stay as they were.
  void DeleteEntry(Entry* entry);
  Entry* GetEntry(int index) const { return list_.GetItem(index); }

private:
  void AddDefaults();

  bool modified_ = false;
  bool loadFailed_ = false;
  QString fileName_;
  List list_;
  int32_t version_ = 1;
};
