// The tree's data object: format negotiation, delayed rendering and kept data.
#include "treeview/LazyTreeDataObject.h"

#include "platform/Log.h"

#include "treeview/LazyTreeReference.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTrees.h"

#include <algorithm>

// ---- The format enumerator ----------------------------------------------------------------------

THResult TEnumFormatEtc::Next(int count, QVector<TFormatEtc>& fetched) {
  fetched.clear();
  while (count-- > 0 && index_ < formats_.size()) fetched.append(formats_[index_++]);
  return count < 0 ? S_OK : S_FALSE;
}

THResult TEnumFormatEtc::Skip(int count) {
  if (index_ + count > formats_.size()) {
    index_ = static_cast<int>(formats_.size());
    return S_FALSE;
  }
  index_ += count;
  return S_OK;
}

THResult TEnumFormatEtc::Reset() {
  index_ = 0;
  return S_OK;
}

THResult TEnumFormatEtc::Clone(std::unique_ptr<TEnumFormatEtc>* result) const {
  if (!result) return E_FAIL;
  *result = std::make_unique<TEnumFormatEtc>(formats_, index_);
  return S_OK;
}

// ---- The data object ------------------------------------------------------------------------------

TLTDataObject::TLTDataObject(TBaseLazyTree* owner, bool forClipboard)
    : owner_(owner), ownerId_(owner ? owner->TreeId() : 0), forClipboard_(forClipboard) {
  if (owner) formatEtcs_ = owner->ClipboardFormatEtcs();
}

TLTDataObject::~TLTDataObject() {
  if (forClipboard_ && owner_ && !owner_->TreeStates().Contains(tsClipboardFlushing)) owner_->CancelCutCopyMarks();
}

bool TLTDataObject::ServesReference() const {
  return owner_ && !owner_->TreeStates().Contains(tsClipboardFlushing);
}

const TStgMedium* TLTDataObject::Stored(int format) const {
  auto it = stored_.find(format);
  return it == stored_.end() ? nullptr : &it->second;
}

bool TLTDataObject::Offers(const TFormatEtc& request, TFormatEtc* offered) const {
  for (const TFormatEtc& f : formatEtcs_) {
    if (f.Format == request.Format && f.Aspect == request.Aspect && f.Index == request.Index &&
        (f.Tymed & request.Tymed) != 0) {
      if (offered) *offered = f;
      return true;
    }
  }
  return false;
}

THResult TLTDataObject::GetData(const TFormatEtc& formatEtc, TStgMedium& medium) {
  medium.Clear();
  if (formatEtc.Format == CF_LAZYTREEREFERENCE()) {
    // The reference names the tree only while it lives; a flushing tree is going away.
    if (!ServesReference()) return E_FAIL;
    medium.Tymed = TYMED_HGLOBAL;
    medium.HGlobal = EncodeTreeReference(ownerId_);
    return S_OK;
  }
  const THResult query = QueryGetData(formatEtc);
  if (query != S_OK) return query;
  if (const TStgMedium* kept = Stored(formatEtc.Format)) {
    medium = *kept;
    return S_OK;
  }
  if (!owner_) return E_FAIL;
  // Rendered once: later requests get what this one produced.
  TFormatEtc offered;
  Offers(formatEtc, &offered);
  TFormatEtc request = formatEtc;
  request.Tymed = formatEtc.Tymed & offered.Tymed;
  THResult result = E_FAIL;
  try {
    result = owner_->RenderTreeData(request, medium, forClipboard_);
  } catch (...) {
    // The caller understands only the code; the cause goes to the log.
    LogCurrentException("Rendering tree data");
    result = E_FAIL;
  }
  if (result != S_OK) {
    medium.Clear();
    return result;
  }
  stored_[formatEtc.Format] = medium;
  return S_OK;
}

THResult TLTDataObject::QueryGetData(const TFormatEtc& formatEtc) const {
  THResult result = DV_E_FORMATETC;
  for (const TFormatEtc& f : formatEtcs_) {
    if (f.Format != formatEtc.Format) continue;
    if ((f.Tymed & formatEtc.Tymed) == 0)
      result = DV_E_TYMED;
    else if (f.Aspect != formatEtc.Aspect)
      result = DV_E_DVASPECT;
    else if (f.Index != formatEtc.Index)
      result = DV_E_LINDEX;
    else
      return S_OK;
  }
  return result;
}

THResult TLTDataObject::GetCanonicalFormatEtc(const TFormatEtc& in, TFormatEtc& out) const {
  out = in;
  return DATA_S_SAMEFORMATETC;
}

THResult TLTDataObject::SetData(const TFormatEtc& formatEtc, TStgMedium& medium, bool release) {
  if (std::none_of(formatEtcs_.cbegin(), formatEtcs_.cend(),
                   [&](const TFormatEtc& f) { return f.Format == formatEtc.Format; }))
    formatEtcs_.append(formatEtc);
  // Bytes are copied, streams shared; with Release the medium is taken over.
  stored_[formatEtc.Format] = medium;
  if (release) medium.Clear();
  for (const auto& [connection, sink] : sinks_) sink(formatEtc);
  return S_OK;
}

THResult TLTDataObject::EnumFormatEtc(TDataDirection direction, std::unique_ptr<TEnumFormatEtc>& result) const {
  if (direction != DATADIR_GET) return E_NOTIMPL;
  result = std::make_unique<TEnumFormatEtc>(formatEtcs_);
  return S_OK;
}

THResult TLTDataObject::DAdvise(const TFormatEtc&, TAdviseSink sink, int& connection) {
  connection = nextConnection_++;
  sinks_[connection] = std::move(sink);
  return S_OK;
}

THResult TLTDataObject::DUnadvise(int connection) { return sinks_.erase(connection) ? S_OK : E_FAIL; }

THResult TLTDataObject::EnumDAdvise(QVector<int>& connections) const {
  connections.clear();
  for (const auto& entry : sinks_) connections.append(entry.first);
  return S_OK;
}

void TLTDataObject::Flush() {
  for (const TFormatEtc& f : QVector<TFormatEtc>(formatEtcs_)) {
    TStgMedium medium;
    GetData(f, medium);
  }
  owner_ = nullptr;
}

// ---- What the desktop sees --------------------------------------------------------------------------

QStringList TLTDataObject::formats() const {
  QStringList types;
  for (const TFormatEtc& f : formatEtcs_) {
    const QString type = ClipboardFormatMimeType(f.Format);
    // Once the tree is gone, only what was rendered is left.
    if (!type.isEmpty() && !types.contains(type) && (owner_ || Stored(f.Format))) types << type;
  }
  if (ServesReference()) types << ClipboardFormatMimeType(CF_LAZYTREEREFERENCE());
  return types;
}

bool TLTDataObject::hasFormat(const QString& mimeType) const { return formats().contains(mimeType); }

QVariant TLTDataObject::retrieveData(const QString& mimeType, QMetaType) const {
  auto* self = const_cast<TLTDataObject*>(this);
  QVector<TFormatEtc> candidates = formatEtcs_;
  candidates.append({CF_LAZYTREEREFERENCE(), DVASPECT_CONTENT, -1, TYMED_HGLOBAL});
  for (const TFormatEtc& f : candidates) {
    if (ClipboardFormatMimeType(f.Format) != mimeType || !(f.Tymed & TYMED_HGLOBAL)) continue;
    TFormatEtc request = f;
    request.Tymed = TYMED_HGLOBAL;
    TStgMedium medium;
    if (self->GetData(request, medium) == S_OK) return medium.HGlobal;
  }
  return {};
}
