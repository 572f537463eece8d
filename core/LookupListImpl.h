#pragma once
// Member definitions of the lookup list and its handler; included only by the units
// that instantiate a variant.
#include "core/LookupList.h"
#include "core/UtFiles.h"
#include "core/UtStrings.h"
#include "platform/BinaryStream.h"
#include "platform/SafeFile.h"

#include <QFile>

#include <algorithm>

namespace lookup_detail {

constexpr int32_t kVersion = 1;

}  // namespace lookup_detail

// ---------------------------------------------------------------------------------------
// List

template <typename Traits>
auto TLookupList<Traits>::Add() -> Entry* {
  items_.push_back(std::make_unique<Entry>());
  return items_.back().get();
}

template <typename Traits>
void TLookupList<Traits>::Append(std::unique_ptr<Entry> entry) {
  items_.push_back(std::move(entry));
}

template <typename Traits>
int TLookupList<Traits>::IndexOf(const Entry* entry) const {
  const auto it = std::find_if(items_.begin(), items_.end(), [entry](const auto& e) { return e.get() == entry; });
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

template <typename Traits>
void TLookupList<Traits>::Remove(Entry* entry) {
  const int index = IndexOf(entry);
  if (index < 0) return;
  if (index == 0) throw ELookupListError(QString::fromLatin1(Traits::DeleteError));
  items_.erase(items_.begin() + index);
}

template <typename Traits>
auto TLookupList<Traits>::GetItem(int index) const -> Entry* {
  if (index < 0 || index >= Count())
    throw ELookupListError(QStringLiteral("List index out of bounds (%1)").arg(index));
  return items_[static_cast<size_t>(index)].get();
}

// ---------------------------------------------------------------------------------------
// Handler: file

template <typename Traits>
TLookupHandler<Traits>::TLookupHandler(QString fileName) : fileName_(std::move(fileName)) {}

template <typename Traits>
void TLookupHandler<Traits>::Load() {
  QFile file(fileName_);
  if (file.exists()) {
    QByteArray bytes;
    LoadOrMarkFailed(loadFailed_, [&] {
      if (!file.open(QIODevice::ReadOnly))
        throw EReadError(QStringLiteral("Cannot open file \"%1\". %2").arg(FullPath(fileName_), file.errorString()));
      bytes = file.readAll();
      if (file.error() != QFileDevice::NoError)
        throw EReadError(QStringLiteral("Stream read error in file %1").arg(FullPath(fileName_)));
    });
    LoadFromBytes(bytes);
    return;
  }
  modified_ = false;
  if (list_.Count() == 0) AddDefaults();
}

template <typename Traits>
void TLookupHandler<Traits>::LoadFromBytes(const QByteArray& bytes) {
  LoadOrMarkFailed(loadFailed_, [&] {
    const QString path = FullPath(fileName_);
    BinaryReader in(bytes, path);
    if (in.ReadInt32() != lookup_detail::kVersion) throw ELookupFileError(QString::fromLatin1(Traits::VersionError) + path);
    const int32_t count = in.ReadInt32();
    if (count < 0) in.Fail();
    // Reserve no more than the bytes can hold: a damaged count must not allocate.
    constexpr qsizetype kMinEntrySize = Traits::HasImage ? 8 : 4;
    list_.Reserve(list_.Count() + static_cast<int>(std::min<qsizetype>(count, in.Remaining() / kMinEntrySize)));
    for (int32_t i = 0; i < count; ++i) {
      auto entry = std::make_unique<Entry>();
      entry->Name = in.ReadString();
      if constexpr (Traits::HasImage) entry->ImageIndex = in.ReadInt32();
      list_.Append(std::move(entry));
    }
    in.ExpectEnd();
  });
  modified_ = false;
  if (list_.Count() == 0) AddDefaults();
}

template <typename Traits>
void TLookupHandler<Traits>::AddDefaults() {
  for (const TLookupDefault& d : Traits::Defaults()) {
    Entry* entry = list_.Add();
    entry->Name = QString::fromLatin1(d.Name);
    if constexpr (Traits::HasImage) entry->ImageIndex = d.ImageIndex;
  }
  modified_ = true;
}

template <typename Traits>
QByteArray TLookupHandler<Traits>::SaveToBytes() const {
  BinaryWriter out(8 + qsizetype(list_.Count()) * 32);
  out.WriteInt32(version_);
  out.WriteInt32(list_.Count());
  for (const auto& entry : list_) {
    out.WriteString(entry->Name);
    if constexpr (Traits::HasImage) out.WriteInt32(entry->ImageIndex);
  }
  return out.Take();
}

template <typename Traits>
void TLookupHandler<Traits>::Save() {
  if (!modified_) return;
  // Written now, the entries read before the damage would replace the whole file.
  if (loadFailed_) RefuseToOverwriteUnread(fileName_);
  WriteFileSafely(fileName_, SaveToBytes(), true);
  modified_ = false;
}

// ---------------------------------------------------------------------------------------
// Handler: entries

template <typename Traits>
auto TLookupHandler<Traits>::AddEntry() -> Entry* {
  Entry* entry = list_.Add();
  modified_ = true;
  return entry;
}

template <typename Traits>
void TLookupHandler<Traits>::DeleteEntry(Entry* entry) {
  if (list_.IndexOf(entry) < 0) return;
  list_.Remove(entry);
  modified_ = true;
}

template <typename Traits>
QString TLookupHandler<Traits>::NameOf(int32_t id) const {
  if (id < 0 || id >= list_.Count()) return QString::fromLatin1(Traits::NoEntryName);
  return list_.GetItem(id)->Name;
}

template <typename Traits>
bool TLookupHandler<Traits>::NameExists(const QString& name) const {
  return std::any_of(list_.begin(), list_.end(), [&name](const auto& e) { return FastSameText(e->Name, name); });
}

template <typename Traits>
void TLookupHandler<Traits>::FillStrings(TStringList& list, bool skipFirst) const {
  for (int i = skipFirst ? 1 : 0; i < list_.Count(); ++i) {
    const Entry* entry = list_.GetItem(i);
    if constexpr (Traits::HasImage) list.append({entry->Name, entry->ImageIndex});
    else list.append({entry->Name, 0});
  }
}

template <typename Traits>
void TLookupHandler<Traits>::FillNamesWithIds(TStringList& list) const {
  for (int i = 0; i < list_.Count(); ++i) list.append({list_.GetItem(i)->Name, i});
}

template <typename Traits>
void TLookupHandler<Traits>::GetImageIndexes(TImageIndexList& list) const
  requires Traits::HasImage
{
  list.clear();
  // Some compilers instantiate the body for every variant despite the constraint.
  if constexpr (Traits::HasImage)
    for (const auto& entry : list_) list.append(entry->ImageIndex);
}

template <typename Traits>
void TLookupHandler<Traits>::RenumberIdArray(QList<int32_t>& ids, int32_t deletedId) {
  // Every copy of the id goes: a stale copy would name the entry that moved into its place.
  ids.removeIf([deletedId](int32_t id) { return id == deletedId; });
  for (int32_t& id : ids)
    if (id > deletedId) --id;
}
