#pragma once
// The tree's data object: what a copy puts on the clipboard and a drag carries. It offers
// the formats the tree allows and renders each only when somebody asks for it (once: the
// result is kept), answers "Lazy Tree Reference" itself, and keeps data handed to it.
// The format negotiation follows the component model the tree's data exchange was built
// on; the desktop sees the object as MIME data.
#include "treeview/LazyTreeClipboard.h"

#include <QMimeData>
#include <QPointer>
#include <QVector>

#include <functional>
#include <map>
#include <memory>

class TBaseLazyTree;

// Walks a copy of a format list.
class TEnumFormatEtc {
public:
  explicit TEnumFormatEtc(QVector<TFormatEtc> Formats, int Index = 0) : formats_(std::move(Formats)), index_(Index) {}
  // Up to Count entries from the current one; S_FALSE when fewer were left.
  THResult Next(int Count, QVector<TFormatEtc>& Fetched);
  // S_FALSE when the skip would pass the end.
  THResult Skip(int Count);
  THResult Reset();
  // E_FAIL without somewhere to put the copy.
  THResult Clone(std::unique_ptr<TEnumFormatEtc>* Enum) const;

private:
  QVector<TFormatEtc> formats_;
  int index_;
};

class TLTDataObject : public QMimeData {
  Q_OBJECT

public:
  // The formats come from the tree (its allowed registry formats and the owner's own).
  TLTDataObject(TBaseLazyTree* Owner, bool ForClipboard);
  // A clipboard object that goes away while its tree lives ends the tree's cut or copy.
  ~TLTDataObject() override;

  TBaseLazyTree* Owner() const { return owner_; }
  bool ForClipboard() const { return forClipboard_; }
  const QVector<TFormatEtc>& FormatEtcArray() const { return formatEtcs_; }

  THResult GetData(const TFormatEtc& FormatEtc, TStgMedium& Medium);
  THResult GetDataHere(const TFormatEtc&, TStgMedium&) { return E_NOTIMPL; }
  // S_OK for an offered format; otherwise the error of the last mismatch found.
  THResult QueryGetData(const TFormatEtc& FormatEtc) const;
  THResult GetCanonicalFormatEtc(const TFormatEtc& In, TFormatEtc& Out) const;
  // Keeps Medium for its format (taken over with Release, else copied); a format not
  // offered yet is offered from now on.
  THResult SetData(const TFormatEtc& FormatEtc, TStgMedium& Medium, bool Release);
  THResult EnumFormatEtc(TDataDirection Direction, std::unique_ptr<TEnumFormatEtc>& Enum) const;
  // Sinks hear of every SetData.
  using TAdviseSink = std::function<void(const TFormatEtc& FormatEtc)>;
  THResult DAdvise(const TFormatEtc& FormatEtc, TAdviseSink Sink, int& Connection);
  THResult DUnadvise(int Connection);
  THResult EnumDAdvise(QVector<int>& Connections) const;

  // The tree is going away: every offered format is rendered into the object, which then
  // answers without it.
  void Flush();

  QStringList formats() const override;
  bool hasFormat(const QString& MimeType) const override;

protected:
  QVariant retrieveData(const QString& MimeType, QMetaType Type) const override;

private:
  // The stored medium of a format, nil when there is none.
  const TStgMedium* Stored(int Format) const;
  bool Offers(const TFormatEtc& Request, TFormatEtc* Offered) const;
  bool ServesReference() const;

  QPointer<TBaseLazyTree> owner_;
  std::uint32_t ownerId_ = 0;
  bool forClipboard_;
  QVector<TFormatEtc> formatEtcs_;
  std::map<int, TStgMedium> stored_;
  std::map<int, TAdviseSink> sinks_;
  int nextConnection_ = 1;
};
