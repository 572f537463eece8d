// The prepared pages shown, printed and exported: the preview, the print loop with
// page ranges, copies, collation, odd/even and each page's paper, the printer change,
// and export filters.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_PreviewView.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_PrinterPaper.h"
#include "report/engine/RP_StringTable.h"

#include <QCoreApplication>
#include <QFile>
#include <QPaintDevice>
#include <QPainter>
#include <QSaveFile>

namespace {

TrpDeviceMode ModeOf(const TrpEMFPage& page) {
  TrpDeviceMode mode;
  mode.paperSize = page.PaperSize;
  mode.userSize = page.PaperSize == kRpUserPaper;
  mode.paperWidth = page.PaperWidth;
  mode.paperHeight = page.PaperHeight;
  mode.orientation = page.Orientation ? 2 : 1;
  mode.defaultSource = page.Bin;
  return mode;
}

bool SameFormat(const TrpEMFPage& a, const TrpEMFPage& b) {
  return a.PaperSize == b.PaperSize && a.Orientation == b.Orientation && a.Bin == b.Bin &&
         (a.PaperSize != kRpUserPaper || (a.PaperWidth == b.PaperWidth && a.PaperHeight == b.PaperHeight));
}

// A sheet's page information read from the job's own device, for a sheet whose paper
// differs from the one the printer was set to (the offsets stay the printer's).
TrpPageInfo InfoOfSheet(const TrpPageInfo& printer, const QPaintDevice& device) {
  TrpPageInfo info = printer;
  const double kx = kRpUnitsPerInch / std::max(1, device.logicalDpiX());
  const double ky = kRpUnitsPerInch / std::max(1, device.logicalDpiY());
  info.PrintWidthPx = device.width();
  info.PrintHeightPx = device.height();
  info.PaperWidthPx = device.width() + 2 * info.OffsetXPx;
  info.PaperHeightPx = device.height() + 2 * info.OffsetYPx;
  info.PrintWidth = qRound(kx * info.PrintWidthPx);
  info.PrintHeight = qRound(ky * info.PrintHeightPx);
  info.PaperWidth = qRound(kx * info.PaperWidthPx);
  info.PaperHeight = qRound(ky * info.PaperHeightPx);
  return info;
}

// Where a prepared page goes on the sheet, in the job's pixels (origin: the printable
// corner). A page with margins of its own is placed on the paper unshifted; otherwise
// it fills the printable area less its margins.
QRect PageRect(const TrpEMFPage& page, const TrpPageInfo& info) {
  if (page.UseMargins)
    return QRect(-info.OffsetXPx, -info.OffsetYPx, info.PaperWidthPx, info.PaperHeightPx);
  const double kx = info.PrintWidth > 0 ? static_cast<double>(info.PrintWidthPx) / info.PrintWidth : 1;
  const double ky = info.PrintHeight > 0 ? static_cast<double>(info.PrintHeightPx) / info.PrintHeight : 1;
  const int left = qRound(page.MarginLeft * kx), top = qRound(page.MarginTop * ky);
  const int right = qRound(page.MarginRight * kx), bottom = qRound(page.MarginBottom * ky);
  return QRect(left, top, info.PrintWidthPx - left - right, info.PrintHeightPx - top - bottom);
}

// Disconnects an assigned preview that shows nothing while the pages are used, and
// connects it again afterwards.
class EmptyPreviewAside {
public:
  EmptyPreviewAside(TrpReport& report) : report_(report) {
    TrpPreviewView* preview = report.Preview();
    if (preview && !preview->ShowsPages()) {
      preview->Disconnect();
      preview_ = preview;
    }
  }
  ~EmptyPreviewAside() {
    if (preview_ && report_.Preview() == preview_) preview_->ConnectReport(report_);
  }
  EmptyPreviewAside(const EmptyPreviewAside&) = delete;
  EmptyPreviewAside& operator=(const EmptyPreviewAside&) = delete;

private:
  TrpReport& report_;
  TrpPreviewView* preview_ = nullptr;
};

}  // namespace

void TrpReport::ShowPreparedReport() {
  if (prepared_.Count() == 0) return;
  const QString caption = title_.isEmpty() ? rpLoadStr(rpStrings::Preview)
                                           : rpLoadStr(rpStrings::Preview) + QStringLiteral(" - ") + title_;
  if (preview_) {
    preview_->ConnectReport(*this);
    return;
  }
  const auto& create = rpContext().CreatePreviewWindow;
  if (!create) return;
  previewWindow_.reset();
  std::unique_ptr<TrpPreviewWindow> window = create();
  if (!window) return;
  previewWindow_ = std::move(window);
  previewWindow_->ConnectReport(*this);
  previewWindow_->ShowWindow(caption, modalPreview_, mdiPreview_);
  if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

template <class Work>
bool TrpReport::RunWithProgress(const QString& label, Work work) {
  TrpProgressView* progress = OnProgress || !showProgress_ ? nullptr : rpGlobals().Progress();
  progressPrefix_ = label;
  if (!progress) return work();
  progress_ = progress;
  std::function<void()> previousCancel = progress->OnCancel;
  progress->OnCancel = [this] {
    cancelled_ = true;
    stop_ = true;
  };
  struct Restore {
    TrpProgressView* progress;
    std::function<void()>& previousCancel;
    TrpProgressView*& current;
    ~Restore() {
      progress->OnCancel = std::move(previousCancel);
      current = nullptr;
    }
  } restore{progress, previousCancel, progress_};
  const QString caption = title_.isEmpty() ? rpLoadStr(rpStrings::PreparingReport)
                                           : rpLoadStr(rpStrings::PreparingReport) + QStringLiteral(" - ") + title_;
  progress->SetCaption(caption);
  progress->SetFirstLine(label);
  bool result = false;
  progress->Run([&] {
    result = work();
    progress->Close(!stop_);
  });
  return result;
}

void TrpReport::PrintPreparedReport(const QString& pageNumbers, int copies, bool collate, TrpPageParity printPages) {
  if (Busy() || prepared_.Count() == 0) return;
  RunningMark running(this);
  stop_ = cancelled_ = false;
  RequestedPages = pageNumbers;
  RequestedCopies = copies;
  RequestedCollate = collate;
  RequestedParity = printPages;
  EmptyPreviewAside aside(*this);
  if (OnProgress || !showProgress_ || !rpGlobals().Progress()) {
    auto mouseOver = std::move(OnMouseOverObject);
    OnMouseOverObject = nullptr;
    try {
      PrintPages(pageNumbers, copies, printPages, collate);
    } catch (...) {
      OnMouseOverObject = std::move(mouseOver);
      throw;
    }
    OnMouseOverObject = std::move(mouseOver);
    return;
  }
  RunWithProgress(rpLoadStr(rpStrings::PrintingPage), [&] { return PrintPages(pageNumbers, copies, printPages, collate); });
}

bool TrpReport::PrintPages(const QString& pageNumbers, int copies, TrpPageParity printPages, bool collate) {
  const int count = prepared_.Count();
  if (count == 0) return false;
  TrpPageList pages;
  try {
    pages = pageNumbers.trimmed().isEmpty() ? TrpPageList::AllPages() : TrpPageList::Parse(pageNumbers, count);
  } catch (const ErpError& error) {
    ShowError(error.Message());
    return false;
  }
  if (pages.SelectsNothing()) {
    ShowError(rpLoadStr(rpStrings::NoPagesToPrint));
    return false;
  }
  TrpPrinter& printer = rpPrinter();
  TrpPrinterBackend* backend = printer.Backend();
  if (printer.IsVirtual() || !backend) {
    ShowError(rpLoadStr(rpStrings::PrinterNotValid));
    return false;
  }
  // The job starts on the paper of the first page it prints.
  int firstNumber = 0;
  rpForEachPageToSend(pages, count, 1, true, printPages, [&firstNumber](int number) {
    firstNumber = number;
    return false;
  });
  if (firstNumber == 0) {
    ShowError(rpLoadStr(rpStrings::NoPagesToPrint));
    return false;
  }
  const TrpEMFPage& first = prepared_.Pages(firstNumber - 1);
  printer.SetPageFormat(first.PaperSize, first.PaperWidth, first.PaperHeight, first.Orientation, first.Bin, true);
  TrpPageInfo printerInfo;
  printer.FillPageInfo(printerInfo);
  const QString title = title_.isEmpty() ? rpLoadStr(rpStrings::Untitled) : title_;
  if (OnPrintReport) OnPrintReport();

  QString error;
  std::unique_ptr<TrpPrintJob> job = backend->BeginJob(title, PrintFileName, error);
  if (!job) {
    ShowError(error);
    return false;
  }
  const TrpEMFPage* sheet = &first;  // the format of the sheet in the job
  TrpPageInfo sheetInfo = printerInfo;
  bool started = false;
  bool refused = false;
  const bool sent = rpForEachPageToSend(pages, count, copies, collate, printPages, [&](int number) {
    const int index = number - 1;
    TrpEMFPage& page = prepared_.Pages(index);
    if (started) {
      if (SameFormat(*sheet, page)) {
        refused = !job->NewPage();
      } else {
        refused = !job->NewPage(ModeOf(page));
        sheet = &page;
        sheetInfo = SameFormat(first, page) ? printerInfo : InfoOfSheet(printerInfo, *job->Painter().device());
      }
      if (refused) return false;
    }
    started = true;
    QPainter& painter = job->Painter();
    page.InUse = true;
    prepared_.Draw(index, painter, PageRect(page, sheetInfo), true);
    page.InUse = false;
    prepared_.Draw(index, painter, QRect(), true);  // frees the rebuilt objects
    DoProgress(number);
    return !Terminated();
  });
  if (!sent || refused) {
    job->Abort();
    if (refused) ShowError(rpLoadStr(rpStrings::PrinterNotValid));
    return false;
  }
  if (!job->End(error)) {
    ShowError(error);
    return false;
  }
  return true;
}

void TrpReport::ReapplyPapers() {
  TrpPrinter& printer = rpPrinter();
  rpSetPaperSetter([&printer](TrpPaper& paper) {
    printer.SetPageFormat(paper.size, paper.width, paper.height, paper.orientation, paper.bin, false);
    paper.size = printer.PaperSize;
    paper.width = printer.PaperWidth;
    paper.height = printer.PaperHeight;
    return true;
  });
  struct Unset {
    ~Unset() { rpSetPaperSetter({}); }
  } unset;
  for (const auto& page : pages_)
    page->ChangePaper(page->PaperSize, page->PaperWidth, page->PaperHeight, page->Bin, page->Orientation);
}

bool TrpReport::ChangePrinter(int oldIndex, int newIndex) {
  TrpPrinter& printer = rpPrinter();
  try {
    printer.SelectPrinterIndex(newIndex);
  } catch (const ErpPrinterError&) {
    ShowError(rpLoadStr(rpStrings::PrinterNotValid));
    try {
      printer.SelectPrinterIndex(oldIndex);
    } catch (const ErpPrinterError&) {
      // The old printer went as well: the wrapper keeps what it has.
    }
    PrinterName = printer.Printers.value(printer.PrinterIndex);
    ReapplyPapers();
    return false;
  }
  PrinterName = printer.Printers.value(newIndex);
  printer.PaperSize = -1;  // the next format is applied in full
  ReapplyPapers();
  return true;
}

void TrpReport::SelectPrinter(const QString& name) {
  if (!UseDefaultPrinter) {
    TrpPrinter& printer = rpPrinter();
    const int index = static_cast<int>(printer.Printers.indexOf(name));
    if (index >= 0) {
      try {
        printer.SelectPrinterIndex(index);
      } catch (const ErpPrinterError&) {
        // A stored printer that is gone: the one in use stays.
      }
    }
  }
  PrinterName = name;
}

bool TrpReport::LoadPreparedReport(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    ShowError(file.errorString());
    return false;
  }
  if (!prepared_.ReadFromStream(file)) return false;
  canRebuild_ = false;
  return true;
}

bool TrpReport::SavePreparedReport(const QString& fileName) {
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    ShowError(file.errorString());
    return false;
  }
  prepared_.GeneratorVersion = WriterVersion;
  prepared_.PrinterName = PrinterName;
  try {
    prepared_.WriteToStream(file);
  } catch (const Exception& error) {
    file.cancelWriting();
    ShowError(error.Message());
    return false;
  }
  if (!file.commit()) {
    ShowError(file.errorString());
    return false;
  }
  return true;
}

bool TrpReport::ExportTo(TrpReportExportFilter& filter, const QString& fileName) {
  if (Busy() || !filter.OnBeforeExport(fileName) || !filter.Setup()) return false;
  RunningMark running(this);
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    ShowError(file.errorString());
    return false;
  }
  EmptyPreviewAside aside(*this);
  stop_ = cancelled_ = false;
  totalPages_ = prepared_.Count();
  exporting_ = true;
  struct Done {
    bool& exporting;
    ~Done() { exporting = false; }
  } done{exporting_};
  filter.File = &file;
  const bool exported = RunWithProgress(rpLoadStr(rpStrings::ProcessingPage), [&] {
    filter.OnBeginDoc(file);
    for (int i = 0; i < prepared_.Count() && !stop_; ++i) {
      filter.OnBeginPage(i);
      prepared_.ExportPage(i, filter);
      DoProgress(i + 1);
      filter.OnEndPage(i);
    }
    filter.OnEndDoc();
    return !cancelled_;
  });
  filter.File = nullptr;
  if (!exported) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    ShowError(file.errorString());
    return false;
  }
  if (filter.OnAfterExport) filter.OnAfterExport(fileName);
  return true;
}
