#pragma once
// The clipboard vocabulary of the tree: format ids and the MIME types that carry them, the
// format descriptions with their storage details, the answers of the data object, the
// process-wide registry of the formats each tree class offers, and each tree's own list
// of the formats it allows.
//
// A clipboard format is a MIME type here. Ids 1 to 16 are the standard formats (only the
// two text formats have a MIME type); descriptions registered by name get ids from 0xC000.
// Costs: the registry and the per-tree lists hold a handful of entries; every operation
// is O(entries).
#include "treeview/LazyTreeTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <cstdint>
#include <memory>

struct QMetaObject;
class QObject;
class TLazyTreeStream;

// The answers of the data object and the drag manager, with the values they have in the
// component model the tree's data exchange follows.
enum THResult : std::int32_t {
  S_OK = 0,
  S_FALSE = 1,
  DRAGDROP_S_DROP = 0x00040100,
  DRAGDROP_S_CANCEL = 0x00040101,
  DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102,
  DATA_S_SAMEFORMATETC = 0x00040130,
  E_NOTIMPL = static_cast<std::int32_t>(0x80004001),
  E_FAIL = static_cast<std::int32_t>(0x80004005),
  E_UNEXPECTED = static_cast<std::int32_t>(0x8000FFFF),
  E_OUTOFMEMORY = static_cast<std::int32_t>(0x8007000E),
  DV_E_FORMATETC = static_cast<std::int32_t>(0x80040064),
  DV_E_LINDEX = static_cast<std::int32_t>(0x80040068),
  DV_E_TYMED = static_cast<std::int32_t>(0x80040069),
  DV_E_DVASPECT = static_cast<std::int32_t>(0x8004006B),
};

// Storage media: a block of bytes, or a stream handed over at position 0.
enum TTymed : unsigned { TYMED_NULL = 0, TYMED_HGLOBAL = 1, TYMED_ISTREAM = 4 };
inline constexpr unsigned DVASPECT_CONTENT = 1;
enum TDataDirection { DATADIR_GET = 1, DATADIR_SET = 2 };

// The standard formats the tree uses.
inline constexpr int CF_TEXT = 1;
inline constexpr int CF_UNICODETEXT = 13;

// A format as the data object offers and is asked for it.
struct TFormatEtc {
  int Format = 0;
  unsigned Aspect = DVASPECT_CONTENT;
  int Index = -1;
  unsigned Tymed = TYMED_HGLOBAL;  // a set of TTymed bits
  bool operator==(const TFormatEtc&) const = default;
};

// The data of one format: bytes, or a stream shared with whoever handed it over.
struct TStgMedium {
  TTymed Tymed = TYMED_NULL;
  QByteArray HGlobal;
  std::shared_ptr<TLazyTreeStream> Stream;
  void Clear() { *this = TStgMedium(); }
};

// ---- Format ids (the "system" side) ------------------------------------------------------------
// The id of a format registered by description; the same description (any case) gets the
// same id. Known descriptions carry their MIME type; a description that is a MIME type
// stands for itself; any other becomes "application/x-" and its letters and digits.
int RegisterClipboardFormat(const QString& Description);
// The description of an id: the standard names for 1 to 16, else the registered one.
QString ClipboardFormatName(int Format);
// The MIME type of an id, empty for a standard format without one and unknown ids.
QString ClipboardFormatMimeType(int Format);
// The id behind a MIME type among the known ones (0 when there is none).
int ClipboardFormatOfMimeType(const QString& MimeType);

// The tree's own formats, registered on first use.
int CF_LAZYTREEDATA();
int CF_LAZYTREEREFERENCE();
int CF_HTML();
int CF_RTF();
int CF_RTFNOOBJS();
int CF_CSV();

// ---- The registry ---------------------------------------------------------------------------
class TClipboardFormats;

// One process-wide list of the formats tree classes offer, sorted by ascending priority.
class TClipboardFormatList {
public:
  struct TEntry {
    QString Description;
    const QMetaObject* TreeClass = nullptr;
    int Priority = 0;
    TFormatEtc FormatEtc;
  };
  static TClipboardFormatList& Instance();

  void Add(const TEntry& Entry);
  void Clear() { entries_.clear(); }
  // Case-insensitive, from the last entry; false when the description is unknown.
  bool FindFormat(const QString& Description, const QMetaObject*& TreeClass, int& Format) const;
  // The formats offered to TreeClass (entries of its class or of an ancestor) whose
  // description Allowed lists (every one when Allowed is nil), in priority order.
  QVector<TFormatEtc> EnumerateFormats(const QMetaObject* TreeClass, const TClipboardFormats* Allowed) const;
  const QVector<TEntry>& Entries() const { return entries_; }

private:
  QVector<TEntry> entries_;
};

// Registers a format by description and enters it; returns its id.
int RegisterTreeClipboardFormat(const QString& Description, const QMetaObject* TreeClass, int Priority,
                                unsigned MediumType = TYMED_HGLOBAL, int Index = -1,
                                unsigned Aspect = DVASPECT_CONTENT);
// Enters a format that has an id already (the standard ones).
void AddTreeClipboardFormat(int Format, const QMetaObject* TreeClass, int Priority);
// The formats the tree classes offer, entered once per process.
void RegisterStandardTreeFormats();

// The descriptions of the formats one tree offers: sorted, without duplicates; a
// description is taken only when the registry knows it for the tree's class.
class TClipboardFormats {
public:
  explicit TClipboardFormats(const QObject* Tree) : tree_(Tree) {}
  bool Add(const QString& Description);
  void Insert(int, const QString& Description) { Add(Description); }
  void Clear() { list_.clear(); }
  void Assign(const QStringList& Descriptions);
  bool Contains(const QString& Description) const;
  const QStringList& List() const { return list_; }
  int Count() const { return static_cast<int>(list_.size()); }

private:
  const QObject* tree_;
  QStringList list_;
};
