#include "report/engine/RP_EMFPages.h"

#include "report/engine/RP_Class.h"
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_GlyphBatch.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_ObjectRegistry.h"
#include "report/engine/RP_PictureView.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void PagesDamaged() { throw ErpLoadError(rpLoadStr(rpStrings::StreamReadError)); }

int Units(int32_t tenthsOfMm) { return rpRound(tenthsOfMm / 10.0 * 18.0 / 5.0); }

// Reads the object records of a page stream onto `page`. Raises on damage, leaving on
// the page the objects read before it. settleWidths: measure AutoWidth memos, which
// needs fonts; checking a file does without.
void ReadObjects(const QByteArray& bytes, TrpPage& page, bool settleWidths) {
  QBuffer stream;
  stream.setData(bytes);
  // Records are read a few bytes at a time: straight from the bytes, not through a
  // second buffer.
  stream.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  const int version = rpReadByte(stream);
  if (version > kRpStreamVersion) PagesDamaged();
  while (!stream.atEnd()) {
    const int type = rpReadByte(stream);
    const QString className = type == rpObjectType::AddIn ? rpReadString(stream) : QString();
    std::unique_ptr<TrpView> view = rpCreateObject(type, className);
    if (!view) PagesDamaged();
    view->SetParent(&page);
    view->PreparedMode = true;
    view->ReadFromStream(stream, version);
    view->PreparedMode = false;
    auto* memo = settleWidths ? dynamic_cast<TrpMemoView*>(view.get()) : nullptr;
    if (memo && (memo->Flags & rpMemoFlag::AutoWidth)) {
      // The width the text takes is settled once, as a build would have drawn it.
      const int width = memo->CalcWidth(memo->Memo);
      if (memo->Alignment & rpMemoAlign::Rotated) {
        memo->Height = width;
      } else {
        memo->Left = rpAutoWidthLeft(memo->Left, memo->Width, width, memo->Alignment);
        memo->Width = width;
      }
    }
    page.Add(std::move(view));
  }
}

std::unique_ptr<TrpPage> NewPageFor(const TrpEMFPage& record, TrpReport* report) {
  auto page = std::make_unique<TrpPage>(report);
  page->PaperSize = record.PaperSize;
  page->PaperWidth = record.PaperWidth;
  page->PaperHeight = record.PaperHeight;
  page->Bin = record.Bin;
  page->Orientation = record.Orientation;
  page->MarginLeft = record.MarginLeft;
  page->MarginTop = record.MarginTop;
  page->MarginRight = record.MarginRight;
  page->MarginBottom = record.MarginBottom;
  page->UseMargins = record.UseMargins ? -1 : 0;
  return page;
}

QByteArray ReadBytes(QIODevice& stream, qint64 count) {
  if (count < 0 || count > stream.bytesAvailable()) PagesDamaged();
  const QByteArray bytes = stream.read(count);
  if (bytes.size() != count) PagesDamaged();
  return bytes;
}

// The offset after a page: past where the page's header ends, within the file.
qint64 NextOffset(QIODevice& stream, qint64 headerSize) {
  const qint64 next = rpReadInt(stream);
  if (next < stream.pos() + headerSize - 4 || next > stream.pos() + stream.bytesAvailable()) PagesDamaged();
  return next;
}

// The oldest layout: metafile pages, each drawn through one picture covering the page.
std::vector<std::unique_ptr<TrpEMFPage>> ReadLegacyPages(QIODevice& stream, QString& printer) {
  const QStringList header = rpReadOldMemo(stream);
  printer = header.value(0);
  const int32_t count = rpReadInt(stream);
  constexpr qint64 kHeader = 4 + 2 + 4 + 4 + 1 + 1;
  if (count < 0 || count > stream.bytesAvailable() / kHeader) PagesDamaged();
  std::vector<std::unique_ptr<TrpEMFPage>> pages;
  for (int32_t i = 0; i < count; ++i) {
    auto record = std::make_unique<TrpEMFPage>();
    const qint64 next = NextOffset(stream, kHeader);
    record->PaperSize = rpReadWord(stream);
    record->PaperWidth = rpReadInt(stream);
    record->PaperHeight = rpReadInt(stream);
    record->Orientation = rpReadByte(stream);
    record->UseMargins = rpReadByte(stream);
    const QByteArray metafile = ReadBytes(stream, next - stream.pos());

    TrpPictureView picture;
    picture.SetGeometry(0, 0, Units(record->PaperWidth), Units(record->PaperHeight));
    picture.Name = QStringLiteral("Picture1");
    picture.BlobType = rpBlobType::btWMF;
    picture.Picture.Assign(rpGraphicKind::Metafile, metafile);
    record->Stream = rpNewObjectStream(record->Bytes);
    rpWriteByte(*record->Stream, rpObjectType::Picture);
    picture.PreparedMode = true;
    picture.WriteToStream(*record->Stream);
    TrpPage check;
    ReadObjects(record->Bytes, check, false);  // the page must read back as it will be drawn
    pages.push_back(std::move(record));
  }
  return pages;
}

}  // namespace

std::unique_ptr<QBuffer> rpNewObjectStream(QByteArray& bytes) {
  bytes.clear();
  auto stream = std::make_unique<QBuffer>(&bytes);
  stream->open(QIODevice::ReadWrite);
  rpWriteByte(*stream, kRpPreparedVersion);
  return stream;
}

TrpEMFPages::TrpEMFPages(TrpReport* report) : report_(report) {}

TrpEMFPages::~TrpEMFPages() { Clear(); }

void TrpEMFPages::ForgetRebuiltPage(TrpEMFPage& record) {
  // The report must not keep pointing at a page that is freed.
  if (report_ && record.Page && report_->CurrentPage() == record.Page.get()) report_->SetCurrentPage(nullptr);
  record.Page.reset();
}

void TrpEMFPages::Clear() {
  while (!pages_.empty()) Delete(0);
}

TrpPageInfo TrpEMFPages::InfoFor(const TrpEMFPage& page) const {
  if (PageInfoFor) return PageInfoFor(page);
  TrpPageInfo info;
  info.PaperWidthPx = info.PaperWidth = info.PrintWidthPx = info.PrintWidth = Units(page.PaperWidth);
  info.PaperHeightPx = info.PaperHeight = info.PrintHeightPx = info.PrintHeight = Units(page.PaperHeight);
  return info;
}

void TrpEMFPages::Insert(int index, const TrpPage& page) {
  auto record = std::make_unique<TrpEMFPage>();
  record->Stream = rpNewObjectStream(record->Bytes);
  record->PaperSize = page.PaperSize;
  record->PaperWidth = page.PaperWidth;
  record->PaperHeight = page.PaperHeight;
  record->Orientation = page.Orientation;
  record->Bin = page.Bin;
  record->UseMargins = page.UseMargins != 0 ? 1 : 0;
  record->MarginLeft = page.MarginLeft;
  record->MarginTop = page.MarginTop;
  record->MarginRight = page.MarginRight;
  record->MarginBottom = page.MarginBottom;
  record->PageInfo = InfoFor(*record);
  if (index < 0 || index >= Count()) {
    pages_.push_back(std::move(record));
  } else {
    pages_.insert(pages_.begin() + index, std::move(record));
  }
}

int TrpEMFPages::Add(const TrpPage& page) {
  // The page before is finished: it gives back the room kept for its growth, and the
  // new page starts with room for as much, as pages of one report are much alike.
  qsizetype expected = 0;
  if (!pages_.empty()) {
    pages_.back()->Bytes.squeeze();
    expected = pages_.back()->Bytes.size();
  }
  Insert(Count(), page);
  if (expected > 0) pages_.back()->Bytes.reserve(expected + expected / 8);
  const int index = Count() - 1;
  if (OnBeginPage) OnBeginPage(index);
  return index;
}

void TrpEMFPages::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  ForgetRebuiltPage(*pages_[static_cast<size_t>(index)]);
  pages_.erase(pages_.begin() + index);
}

QIODevice& TrpEMFPages::PageStream(int index) {
  TrpEMFPage& record = Pages(index);
  // Records arrive a few bytes at a time: room for many is kept ahead, doubling, so a
  // page does not reallocate its bytes at every write.
  if (record.Bytes.capacity() - record.Bytes.size() < 1024)
    record.Bytes.reserve(std::max<qsizetype>(2 * record.Bytes.size(), 4096));
  record.Stream->seek(record.Bytes.size());
  return *record.Stream;
}

TrpPage* TrpEMFPages::PageToObjects(int index) {
  TrpEMFPage& record = Pages(index);
  if (record.Page) return record.Page.get();
  record.Page = NewPageFor(record, report_);
  try {
    ReadObjects(record.Bytes, *record.Page, true);
  } catch (const Exception&) {
    // A stream this program wrote or checked on loading is whole; whatever else
    // shows the objects before the damage.
  }
  return record.Page.get();
}

void TrpEMFPages::ObjectsToPage(int index) {
  TrpEMFPage& record = Pages(index);
  if (!record.Page) return;
  QByteArray bytes;
  auto stream = rpNewObjectStream(bytes);
  for (const auto& view : record.Page->Objects()) {
    view->Memo1 = view->Memo;
    rpWriteByte(*stream, view->Typ);
    if (view->Typ == rpObjectType::AddIn) rpWriteString(*stream, view->ClassName());
    view->PreparedMode = true;
    view->WriteToStream(*stream);
    view->PreparedMode = false;
  }
  stream.reset();
  record.Bytes = bytes;
  record.Stream = std::make_unique<QBuffer>(&record.Bytes);
  record.Stream->open(QIODevice::ReadWrite);
}

void TrpEMFPages::Draw(int index, QPainter& canvas, const QRect& rect, bool onPrinter) {
  if (index < 0 || index >= Count()) return;
  TrpEMFPage& record = Pages(index);
  if (!record.InUse) {
    ForgetRebuiltPage(record);
    return;
  }
  TrpPage* page = PageToObjects(index);
  if (report_) report_->SetCurrentPage(page);
  const int pageWidth = page->PaperWidthUnits(), pageHeight = page->PaperHeightUnits();
  if (pageWidth <= 0 || pageHeight <= 0) return;
  const double sx = double(rect.width()) / pageWidth, sy = double(rect.height()) / pageHeight;

  QRect visible;
  if (!onPrinter) {
    if (canvas.hasClipping()) {
      visible = canvas.clipBoundingRect().toAlignedRect();
    } else if (QPaintDevice* device = canvas.device()) {
      visible = canvas.worldTransform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
    }
  }
  // On paper the plain text of the page is gathered into few text outputs; whatever
  // else is drawn comes after the text gathered before it.
  std::optional<TrpGlyphBatch> batch;
  if (onPrinter) batch.emplace(canvas);
  for (const auto& object : page->Objects()) {
    TrpView& view = *object;
    if (batch) {
      const auto* memo = dynamic_cast<const TrpMemoView*>(&view);
      if (!memo || !memo->DrawsOnlyText()) batch->Flush();
    }
    if (!onPrinter) {
      const QRectF scaled(view.Left * sx + rect.left(), view.Top * sy + rect.top(), view.Width * sx,
                          view.Height * sy);
      if (!scaled.normalized().adjusted(-10, -10, 10, 10).intersects(visible)) continue;
    }
    view.ScaleX = sx;
    view.ScaleY = sy;
    view.OffsetX = rect.left();
    view.OffsetY = rect.top();
    view.IsPrinting = true;
    view.Draw(canvas);
  }
}

void TrpEMFPages::ExportPage(int index, TrpExportFilter& filter) {
  if (index < 0 || index >= Count()) return;
  const TrpEMFPage& record = Pages(index);
  std::unique_ptr<TrpPage> page = NewPageFor(record, report_);
  try {
    ReadObjects(record.Bytes, *page, true);
  } catch (const Exception&) {
    // export what was read
  }
  for (const auto& object : page->Objects()) {
    if (auto* memo = dynamic_cast<TrpMemoView*>(object.get())) {
      memo->Export(filter);
    } else {
      filter.OnObject(*object);
    }
  }
}

bool TrpEMFPages::ObjectClickAt(int index, const QPoint& point, bool click, Qt::CursorShape& cursor) {
  if (index < 0 || index >= Count()) return false;
  if (click ? !OnObjectClick : !OnMouseOverObject) return false;
  const TrpEMFPage& record = Pages(index);
  TrpPage* page = PageToObjects(index);
  double sx = 1, sy = 1;
  int ox = 0, oy = 0;
  if (!record.UseMargins) {
    const int pageWidth = page->PaperWidthUnits(), pageHeight = page->PaperHeightUnits();
    if (pageWidth > 0 && pageHeight > 0) {
      sx = double(record.PageInfo.PrintWidth - record.MarginLeft - record.MarginRight) / pageWidth;
      sy = double(record.PageInfo.PrintHeight - record.MarginTop - record.MarginBottom) / pageHeight;
    }
    ox = record.MarginLeft + record.PageInfo.OffsetX;
    oy = record.MarginTop + record.PageInfo.OffsetY;
  }
  const auto& objects = page->Objects();
  for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
    TrpView& view = **it;
    const QRectF mapped(view.Left * sx + ox, view.Top * sy + oy, view.Width * sx, view.Height * sy);
    if (!mapped.normalized().contains(point)) continue;
    if (click) {
      OnObjectClick(view);
    } else {
      OnMouseOverObject(view, cursor);
    }
    return true;
  }
  return false;
}

void TrpEMFPages::WriteToStream(QIODevice& stream) {
  rpWriteByte(stream, kRpPreparedVersion);
  rpWriteByte(stream, 0);  // stored uncompressed
  rpWriteString(stream, PrinterName);
  rpWriteInt(stream, Count());
  for (const auto& record : pages_) {
    const qint64 start = stream.pos();
    rpWriteInt(stream, 0);  // patched below
    rpWriteWord(stream, static_cast<uint16_t>(record->PaperSize));
    rpWriteInt(stream, record->PaperWidth);
    rpWriteInt(stream, record->PaperHeight);
    rpWriteByte(stream, record->Orientation);
    rpWriteInt(stream, record->Bin);
    rpWriteByte(stream, record->UseMargins);
    for (int32_t m : {record->MarginLeft, record->MarginTop, record->MarginRight, record->MarginBottom}) {
      rpWriteInt(stream, m);
    }
    const QByteArray bytes = rpGlobals().Compressor().Compress(record->Bytes);
    if (stream.write(bytes) != bytes.size()) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
    const qint64 end = stream.pos();
    if (end > INT32_MAX || !stream.seek(start)) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
    rpWriteInt(stream, static_cast<int32_t>(end));
    if (!stream.seek(end)) throw EWriteError(rpLoadStr(rpStrings::StreamWriteError));
  }
  rpWriteByte(stream, report_ ? report_->WriterVersion : GeneratorVersion);
}

bool TrpEMFPages::ReadFromStream(QIODevice& stream) {
  std::vector<std::unique_ptr<TrpEMFPage>> pages;
  QString printer;
  uint8_t generator = GeneratorVersion;
  try {
    const qint64 start = stream.pos();
    const int first = rpReadByte(stream);
    int version = first;
    if (first < 24 || first > 31) {
      version = 0;
      if (!stream.seek(start)) PagesDamaged();
    }
    const int compressed = rpReadByte(stream);
    if (compressed != 0 && compressed != 1 && compressed != 255) {
      if (!stream.seek(start)) PagesDamaged();
      pages = ReadLegacyPages(stream, printer);
    } else {
      printer = rpReadString(stream);
      const int32_t count = rpReadInt(stream);
      const qint64 header = version > 23 ? 4 + 2 + 8 + 1 + 4 + 1 + 16 : 4 + 2 + 8 + 1 + 1;
      if (count < 0 || count > stream.bytesAvailable() / header) PagesDamaged();
      for (int32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<TrpEMFPage>();
        const qint64 next = NextOffset(stream, header);
        record->PaperSize = rpReadWord(stream);
        record->PaperWidth = rpReadInt(stream);
        record->PaperHeight = rpReadInt(stream);
        record->Orientation = rpReadByte(stream);
        if (version > 23) record->Bin = rpReadInt(stream);
        record->UseMargins = rpReadByte(stream);
        if (version > 23) {
          record->MarginLeft = rpReadInt(stream);
          record->MarginTop = rpReadInt(stream);
          record->MarginRight = rpReadInt(stream);
          record->MarginBottom = rpReadInt(stream);
        }
        QByteArray bytes = ReadBytes(stream, next - stream.pos());
        if (compressed) bytes = rpGlobals().Compressor().Decompress(bytes);
        if (bytes.isEmpty()) PagesDamaged();
        // Every record is read once here, so a page that loads also draws.
        TrpPage check(report_);
        ReadObjects(bytes, check, false);
        record->Bytes = bytes;
        record->Stream = std::make_unique<QBuffer>(&record->Bytes);
        record->Stream->open(QIODevice::ReadWrite);
        pages.push_back(std::move(record));
      }
      generator = rpReadByte(stream);
    }
    for (auto& record : pages) record->PageInfo = InfoFor(*record);
  } catch (const Exception&) {
    lastError_ = rpLoadStr(rpStrings::StreamReadError);
    if (TrpWindows* windows = rpWindows()) windows->MessageBox(lastError_, rpLoadStr(rpStrings::Error), 16);
    return false;
  }
  Clear();
  pages_ = std::move(pages);
  PrinterName = printer;
  GeneratorVersion = generator;
  if (report_) report_->WriterVersion = generator;
  lastError_.clear();
  return true;
}
