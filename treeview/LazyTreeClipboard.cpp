// Format ids with their MIME types, the registry of the formats tree classes offer and the
// per-tree list of allowed formats.
#include "treeview/LazyTreeClipboard.h"

#include "treeview/LazyStringTree.h"
#include "treeview/LazyTrees.h"

#include <QMetaObject>

#include <algorithm>
#include <array>
#include <mutex>

namespace {

// Descriptions of the sixteen standard formats.
constexpr std::array<const char*, 16> kStandardNames = {
    "Plain text",       "Bitmap",         "Metafile picture", "Symbolic link",   "Data interchange format",
    "Tagged image",     "OEM text",       "Device-independent bitmap",           "Palette",
    "Pen data",         "Audio data",     "Wave audio",       "Unicode text",    "Enhanced metafile",
    "File list",        "Locale"};

// Where the formats of this program travel: the text formats as the desktop's text types.
struct TKnownFormat {
  const char* Description;
  const char* MimeType;
};
constexpr std::array<TKnownFormat, 6> kKnownFormats = {{
    {"Lazy Tree Data", "application/x-lazy-tree-data"},
    {"Lazy Tree Reference", "application/x-lazy-tree-reference"},
    {"HTML Format", "text/html"},
    {"Rich Text Format", "text/rtf"},
    {"Rich Text Format Without Objects", "text/rtf"},
    {"CSV", "text/csv"},
}};

constexpr int kFirstRegisteredFormat = 0xC000;

struct TRegisteredFormat {
  QString Description;
  QString MimeType;
};

// The ids handed out so far; ids are process-wide like the registry.
struct TFormatTable {
  std::mutex lock;
  QVector<TRegisteredFormat> formats;
};
TFormatTable& Formats() {
  static TFormatTable table;
  return table;
}

QString MimeTypeFor(const QString& description) {
  for (const TKnownFormat& known : kKnownFormats)
    if (description.compare(QLatin1String(known.Description), Qt::CaseInsensitive) == 0)
      return QString::fromLatin1(known.MimeType);
  if (description.contains('/')) return description;
  QString name;
  for (QChar c : description.toLower()) name += c.isLetterOrNumber() && c.unicode() < 128 ? c : QChar('-');
  return QStringLiteral("application/x-") + name;
}

bool InheritsFrom(const QMetaObject* treeClass, const QMetaObject* ancestor) {
  return treeClass && ancestor && treeClass->inherits(ancestor);
}

}  // namespace

// ---- Format ids -------------------------------------------------------------------------------

int RegisterClipboardFormat(const QString& description) {
  TFormatTable& table = Formats();
  std::lock_guard guard(table.lock);
  for (qsizetype i = 0; i < table.formats.size(); ++i)
    if (table.formats[i].Description.compare(description, Qt::CaseInsensitive) == 0)
      return kFirstRegisteredFormat + static_cast<int>(i);
  table.formats.append({description, MimeTypeFor(description)});
  return kFirstRegisteredFormat + static_cast<int>(table.formats.size() - 1);
}

QString ClipboardFormatName(int format) {
  if (format >= 1 && format <= 16) return QString::fromLatin1(kStandardNames[static_cast<std::size_t>(format - 1)]);
  TFormatTable& table = Formats();
  std::lock_guard guard(table.lock);
  const int i = format - kFirstRegisteredFormat;
  return i >= 0 && i < table.formats.size() ? table.formats[i].Description : QString();
}

QString ClipboardFormatMimeType(int format) {
  // The 8-bit text is this platform's code page, UTF-8, so both text formats are UTF-8;
  // they differ in their content (the 8-bit form quotes fields).
  if (format == CF_TEXT) return QStringLiteral("text/plain");
  if (format == CF_UNICODETEXT) return QStringLiteral("text/plain;charset=utf-8");
  TFormatTable& table = Formats();
  std::lock_guard guard(table.lock);
  const int i = format - kFirstRegisteredFormat;
  return i >= 0 && i < table.formats.size() ? table.formats[i].MimeType : QString();
}

int ClipboardFormatOfMimeType(const QString& mimeType) {
  if (mimeType == QLatin1String("text/plain")) return CF_TEXT;
  if (mimeType == QLatin1String("text/plain;charset=utf-8")) return CF_UNICODETEXT;
  TFormatTable& table = Formats();
  std::lock_guard guard(table.lock);
  for (qsizetype i = 0; i < table.formats.size(); ++i)
    if (table.formats[i].MimeType == mimeType) return kFirstRegisteredFormat + static_cast<int>(i);
  return 0;
}

int CF_LAZYTREEDATA() {
  static const int id = RegisterClipboardFormat(QStringLiteral("Lazy Tree Data"));
  return id;
}
int CF_LAZYTREEREFERENCE() {
  static const int id = RegisterClipboardFormat(QStringLiteral("Lazy Tree Reference"));
  return id;
}
int CF_HTML() {
  static const int id = RegisterClipboardFormat(QStringLiteral("HTML Format"));
  return id;
}
int CF_RTF() {
  static const int id = RegisterClipboardFormat(QStringLiteral("Rich Text Format"));
  return id;
}
int CF_RTFNOOBJS() {
  static const int id = RegisterClipboardFormat(QStringLiteral("Rich Text Format Without Objects"));
  return id;
}
int CF_CSV() {
  static const int id = RegisterClipboardFormat(QStringLiteral("CSV"));
  return id;
}

// ---- The registry -------------------------------------------------------------------------------

TClipboardFormatList& TClipboardFormatList::Instance() {
  static TClipboardFormatList list;
  return list;
}

void TClipboardFormatList::Add(const TEntry& entry) {
  entries_.append(entry);
  std::stable_sort(entries_.begin(), entries_.end(),
                   [](const TEntry& a, const TEntry& b) { return a.Priority < b.Priority; });
}

bool TClipboardFormatList::FindFormat(const QString& description, const QMetaObject*& treeClass, int& format) const {
  for (qsizetype i = entries_.size() - 1; i >= 0; --i) {
    if (entries_[i].Description.compare(description, Qt::CaseInsensitive) != 0) continue;
    treeClass = entries_[i].TreeClass;
    format = entries_[i].FormatEtc.Format;
    return true;
  }
  treeClass = nullptr;
  return false;
}

QVector<TFormatEtc> TClipboardFormatList::EnumerateFormats(const QMetaObject* treeClass,
                                                           const TClipboardFormats* allowed) const {
  QVector<TFormatEtc> result;
  for (const TEntry& entry : entries_)
    if (InheritsFrom(treeClass, entry.TreeClass) && (!allowed || allowed->Contains(entry.Description)))
      result.append(entry.FormatEtc);
  return result;
}

int RegisterTreeClipboardFormat(const QString& description, const QMetaObject* treeClass, int priority,
                                unsigned mediumType, int index, unsigned aspect) {
  const int format = RegisterClipboardFormat(description);
  TClipboardFormatList::Instance().Add({description, treeClass, priority, {format, aspect, index, mediumType}});
  return format;
}

void AddTreeClipboardFormat(int format, const QMetaObject* treeClass, int priority) {
  TClipboardFormatList::Instance().Add(
      {ClipboardFormatName(format), treeClass, priority, {format, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}});
}

void RegisterStandardTreeFormats() {
  static std::once_flag once;
  std::call_once(once, [] {
    const QMetaObject* base = &TBaseLazyTree::staticMetaObject;
    const QMetaObject* strings = &TCustomLazyStringTree::staticMetaObject;
    CF_LAZYTREEREFERENCE();  // known to the system, answered by the data object itself
    RegisterTreeClipboardFormat(QStringLiteral("Lazy Tree Data"), base, 50);
    RegisterTreeClipboardFormat(QStringLiteral("HTML Format"), strings, 80);
    RegisterTreeClipboardFormat(QStringLiteral("Rich Text Format Without Objects"), strings, 84);
    RegisterTreeClipboardFormat(QStringLiteral("Rich Text Format"), strings, 85);
    RegisterTreeClipboardFormat(QStringLiteral("CSV"), strings, 90);
    AddTreeClipboardFormat(CF_UNICODETEXT, strings, 95);
    AddTreeClipboardFormat(CF_TEXT, strings, 100);
  });
}

// ---- A tree's allowed formats ---------------------------------------------------------------------

bool TClipboardFormats::Add(const QString& description) {
  const QMetaObject* entryClass = nullptr;
  int format = 0;
  if (!TClipboardFormatList::Instance().FindFormat(description, entryClass, format)) return false;
  if (!InheritsFrom(tree_ ? tree_->metaObject() : nullptr, entryClass)) return false;
  if (Contains(description)) return true;
  list_.append(description);
  std::sort(list_.begin(), list_.end(),
            [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  return true;
}

void TClipboardFormats::Assign(const QStringList& descriptions) {
  list_.clear();
  for (const QString& description : descriptions) Add(description);
}

bool TClipboardFormats::Contains(const QString& description) const {
  return list_.contains(description, Qt::CaseInsensitive);
}
