#pragma once
// The result of a build: one record per output page with its paper, margins, the
// printer's page information and the stream of object records the bands wrote onto
// it. Pages are drawn on demand by rebuilding their objects from the stream, so the
// screen, the printer and exports all draw the same records through QPainter; the set
// is saved to and loaded from a prepared-report (".vrp") file.
//
// Object stream: the version byte 25, then per object its type byte, the class name
// for add-ins (10), and the object's record in prepared mode.
//
// ".vrp" file: version (25), compressed flag (0), printer name (string), page count
// (i32), the pages, the generator version (byte). A page: the absolute offset just
// after it (i32), paper size (u16), width and height (i32, tenths of a millimetre),
// orientation (byte), bin (i32), use-margins (byte), the margins (4 × i32), the object
// stream. Files without the version byte hold no bin or margins; the oldest files hold
// metafile pages instead, which load as one picture covering the page.
#include "report/engine/RP_ExportFilter.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageInfo.h"
#include "report/engine/RP_PageSink.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class TrpReport;

struct TrpEMFPage {
  int32_t PaperSize = 0;
  int32_t PaperWidth = 0, PaperHeight = 0;  // tenths of a millimetre
  uint8_t Orientation = 0;
  int32_t Bin = -1;
  uint8_t UseMargins = 0;
  int32_t MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;  // report units
  TrpPageInfo PageInfo;
  // Set while the page is shown or printed; drawing with it off frees the rebuilt page.
  bool InUse = false;
  // The object records; `Stream` writes into `Bytes`.
  QByteArray Bytes;
  std::unique_ptr<QBuffer> Stream;
  // The objects rebuilt from the records, while needed.
  std::unique_ptr<TrpPage> Page;
};

// The version byte that starts every object stream and ".vrp" file written here.
constexpr uint8_t kRpPreparedVersion = 25;

class TrpEMFPages : public TrpPageSink {
public:
  explicit TrpEMFPages(TrpReport* report = nullptr);
  ~TrpEMFPages();
  TrpEMFPages(const TrpEMFPages&) = delete;
  TrpEMFPages& operator=(const TrpEMFPages&) = delete;

  int Count() const override { return static_cast<int>(pages_.size()); }
  TrpEMFPage& Pages(int index) { return *pages_.at(static_cast<size_t>(index)); }
  const TrpEMFPage& Pages(int index) const { return *pages_.at(static_cast<size_t>(index)); }
  void Clear();
  // Appends a page with the paper and margins of `page`; OnBeginPage then hears the new
  // index, which is returned.
  int Add(const TrpPage& page) override;
  // At index, or appended when index is past the end.
  void Insert(int index, const TrpPage& page);
  void Delete(int index);
  // The page's object stream positioned at its end, for appending object records.
  // view.Print(stream, band) writes the whole entry itself (type byte, class name for
  // add-ins, record), so the caller writes nothing before it.
  QIODevice& PageStream(int index) override;

  // Rebuilds the page's objects from its stream unless they are there. A damaged
  // stream yields the objects before the damage.
  TrpPage* PageToObjects(int index);
  // Rewrites the stream from the rebuilt objects.
  void ObjectsToPage(int index);
  // Draws the page scaled into rect. Off the printer, objects whose rectangle (widened
  // by 10 pixels) misses the painter's visible area are skipped.
  void Draw(int index, QPainter& canvas, const QRect& rect, bool onPrinter = false);
  // Each object of the page to the filter (memos line by line); the page is not rebuilt.
  void ExportPage(int index, TrpExportFilter& filter);
  // point in page report units; click: true for a click, false for the mouse moving
  // over. The last object containing the point gets the event; true when one fired.
  bool ObjectClickAt(int index, const QPoint& point, bool click, Qt::CursorShape& cursor);

  void WriteToStream(QIODevice& stream);
  // Reads a whole file into a new set and takes it only when all of it is valid; a
  // damaged file leaves the pages as they were, shows the error and returns false.
  bool ReadFromStream(QIODevice& stream);
  const QString& LastError() const { return lastError_; }

  // The printer written into a file, and the one a loaded file named.
  QString PrinterName;
  // The generator version written after the pages (the report's WriterVersion when
  // there is a report).
  uint8_t GeneratorVersion = 88;

  std::function<void(int index)> OnBeginPage;
  std::function<void(TrpView& view)> OnObjectClick;
  std::function<void(TrpView& view, Qt::CursorShape& cursor)> OnMouseOverObject;
  // The printer's page information for a paper; without it the page information is
  // the paper itself, the whole of it printable, one pixel to a unit.
  std::function<TrpPageInfo(const TrpEMFPage& paper)> PageInfoFor;

private:
  TrpPageInfo InfoFor(const TrpEMFPage& page) const;
  void ForgetRebuiltPage(TrpEMFPage& record);

  TrpReport* report_;
  std::vector<std::unique_ptr<TrpEMFPage>> pages_;
  QString lastError_;
};

// A fresh object stream holding only the version byte.
std::unique_ptr<QBuffer> rpNewObjectStream(QByteArray& bytes);
