#include "report/engine/RP_PrinterPdfFile.h"

#include "platform/Exception.h"
#include "platform/SafeFile.h"
#include "report/engine/RP_PrinterPaper.h"

#include <QPainter>
#include <QPdfWriter>

namespace {

// Paints straight into the temporary file of a safe save, which End puts in place, so
// a failed or aborted document leaves whatever file was there before and no temporary
// file behind. The document goes to disk as it is written rather than staying in
// memory: a long list makes a PDF of tens of megabytes, on top of the prepared pages it
// is printed from.
class TrpPdfFileJob : public TrpPrintJob {
public:
  TrpPdfFileJob(const QString& title, const QString& file, const QPageLayout& layout, std::shared_ptr<bool> printing)
      : printing_(std::move(printing)) {
    *printing_ = false;
    try {
      file_ = std::make_unique<SafeFileWriter>(file, false);
      writer_ = std::make_unique<QPdfWriter>(&file_->Device());
    } catch (const Exception& e) {
      startError_ = e.Message();
      file_.reset();
      return;
    }
    writer_->setResolution(TrpPdfFilePrinter::kResolution);
    writer_->setPageLayout(layout);
    writer_->setTitle(title);
    writer_->setCreator(QStringLiteral("Velmora"));
    started_ = painter_.begin(writer_.get());
    *printing_ = started_;
  }
  ~TrpPdfFileJob() override { Abort(); }

  bool Started() const { return started_; }
  // Why the document could not start, when the file could not be made.
  const QString& StartError() const { return startError_; }
  QPainter& Painter() override { return painter_; }
  bool NewPage() override { return started_ && writer_->newPage(); }
  bool NewPage(const TrpDeviceMode& format) override {
    const std::optional<QPageLayout> layout = TrpPdfFilePrinter::LayoutOf(format);
    return started_ && layout && writer_->setPageLayout(*layout) && writer_->newPage();
  }

  bool End(QString& error) override {
    if (!started_) {
      error = QStringLiteral("The document was not started");
      return false;
    }
    Finish();
    try {
      file_->Commit();
    } catch (const Exception& e) {
      error = e.Message();
      file_.reset();
      return false;
    }
    file_.reset();
    return true;
  }

  void Abort() override {
    Finish();
    file_.reset();  // removes the unfinished document
  }

private:
  void Finish() {
    if (painter_.isActive()) painter_.end();
    writer_.reset();
    started_ = false;
    *printing_ = false;
  }

  std::shared_ptr<bool> printing_;
  std::unique_ptr<SafeFileWriter> file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPainter painter_;
  QString startError_;
  bool started_ = false;
};

}  // namespace

QPageSize rpPageSizeOfCode(int code, int userWidth, int userHeight) {
  if (code != kRpUserPaper) {
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id != QPageSize::Custom) return QPageSize(id);
    if (const TrpPaperRow* row = rpFindVirtualPaper(code)) {
      userWidth = row->width;
      userHeight = row->height;
    }
  }
  return QPageSize(QSizeF(userWidth / 10.0, userHeight / 10.0), QPageSize::Millimeter, QString(),
                   QPageSize::ExactMatch);
}

QString TrpPdfFilePrinter::Name() { return QStringLiteral("PDF file"); }

bool TrpPdfFilePrinter::SetMode(const TrpDeviceMode& mode) {
  if (!LayoutOf(mode)) return false;
  mode_ = mode;
  mode_.userSize = mode.paperSize == kRpUserPaper;
  mode_.defaultSource = -1;  // a file has no paper bins
  return true;
}

std::optional<QPageLayout> TrpPdfFilePrinter::LayoutOf(const TrpDeviceMode& mode) {
  if (!rpFindVirtualPaper(mode.paperSize)) return std::nullopt;
  if (mode.paperSize == kRpUserPaper && (mode.paperWidth <= 0 || mode.paperHeight <= 0)) return std::nullopt;
  return QPageLayout(rpPageSizeOfCode(mode.paperSize, mode.paperWidth, mode.paperHeight),
                     mode.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

void TrpPdfFilePrinter::SetLayout(const QPageLayout& layout) {
  TrpDeviceMode mode = mode_;
  const int code = layout.pageSize().windowsId();
  const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
  if (code > 0 && code < kRpUserPaper && rpFindVirtualPaper(code)) {
    mode.paperSize = code;
  } else {
    mode.paperSize = kRpUserPaper;
    mode.paperWidth = rpRoundMeasure(mm.width() * 10);
    mode.paperHeight = rpRoundMeasure(mm.height() * 10);
  }
  mode.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
  SetMode(mode);
}

TrpDeviceCaps TrpPdfFilePrinter::Caps() const {
  // From millimetres rather than the toolkit's whole points, so A4 reads as 2100 x 2970.
  const QRectF paper = Layout().fullRect(QPageLayout::Millimeter);
  TrpDeviceCaps caps;
  caps.physicalWidth = caps.pageWidth = rpRoundMeasure(paper.width() * kResolution / 25.4);
  caps.physicalHeight = caps.pageHeight = rpRoundMeasure(paper.height() * kResolution / 25.4);
  caps.logPixelsX = caps.logPixelsY = kResolution;
  return caps;
}

std::vector<TrpPaperChoice> TrpPdfFilePrinter::Papers() const {
  std::vector<TrpPaperChoice> papers;
  for (const TrpPaperRow& row : rpVirtualPapers())
    if (row.code != kRpUserPaper) papers.push_back({row.code, rpPageSizeOfCode(row.code, 0, 0).name()});
  return papers;
}

std::unique_ptr<TrpPrintJob> TrpPdfFilePrinter::BeginJob(const QString& title, const QString& outputFile,
                                                         QString& error) {
  if (outputFile.isEmpty()) {
    error = QStringLiteral("No file name was given for the PDF file");
    return nullptr;
  }
  if (*printing_) {
    error = QStringLiteral("A document is being printed already");
    return nullptr;
  }
  auto job = std::make_unique<TrpPdfFileJob>(title, outputFile, Layout(), printing_);
  if (!job->Started()) {
    error = job->StartError().isEmpty() ? QStringLiteral("The PDF file could not be started") : job->StartError();
    return nullptr;
  }
  return job;
}

bool TrpPdfOnlyBackend::SetCurrentIndex(int index) {
  if (index != 0) return false;
  pdf_.SetMode(TrpDeviceMode());
  return true;
}
