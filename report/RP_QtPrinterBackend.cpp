#include "report/RP_QtPrinterBackend.h"

#include "report/engine/RP_Printer.h"
#include "report/engine/RP_PrinterPaper.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cups/cups.h>

namespace {

// Bins the server names get codes from here up, as printer-specific bins do.
constexpr int kFirstServerBin = 256;
// Papers without a code of their own get codes above the user-defined size.
constexpr int kFirstServerPaper = kRpUserPaper + 1;

// The server's name of a paper, as its "media" option takes it.
QByteArray MediaKeyword(const QPageSize& size) {
  if (size.id() != QPageSize::Custom) return size.key().toUtf8();
  const QSizeF mm = size.size(QPageSize::Millimeter);
  return QStringLiteral("Custom.%1x%2mm").arg(mm.width()).arg(mm.height()).toUtf8();
}

// Paints into a temporary PDF file with the printer's layout; End hands the file to the
// print server, which copies it into its spool, so the call returns before printing.
class TrpSpoolJob : public TrpPrintJob {
public:
  using LayoutOfFormat = std::function<std::optional<QPageLayout>(const QPageLayout&, const TrpDeviceMode&)>;

  TrpSpoolJob(const QString& printerName, const QString& title, const QPageLayout& layout, int resolution,
              const QString& mediaSource, LayoutOfFormat layoutOf, std::shared_ptr<bool> printing,
              std::shared_ptr<int> spooledJob)
      : layoutOf_(std::move(layoutOf)),
        printerName_(printerName.toUtf8()),
        title_(title.toUtf8()),
        media_(MediaKeyword(layout.pageSize())),
        mediaSource_(mediaSource.toUtf8()),
        temp_(QDir::tempPath() + QStringLiteral("/velmora-print-XXXXXX.pdf")),
        printing_(std::move(printing)),
        spooledJob_(std::move(spooledJob)) {
    if (!temp_.open()) return;
    temp_.close();
    printer_.setOutputFormat(QPrinter::PdfFormat);
    printer_.setOutputFileName(temp_.fileName());
    printer_.setResolution(resolution);
    printer_.setPageLayout(layout);
    printer_.setDocName(title);
    printer_.setCreator(QStringLiteral("Velmora"));
    started_ = painter_.begin(&printer_);
    *printing_ = started_;
  }
  ~TrpSpoolJob() override { Abort(); }

  bool Started() const { return started_; }
  QPainter& Painter() override { return painter_; }
  bool NewPage() override { return started_ && printer_.newPage(); }
  bool NewPage(const TrpDeviceMode& format) override {
    if (!started_) return false;
    const std::optional<QPageLayout> layout = layoutOf_(printer_.pageLayout(), format);
    return layout && printer_.setPageLayout(*layout) && printer_.newPage();
  }

  bool End(QString& error) override {
    if (!started_) {
      error = QStringLiteral("The document was not started");
      return false;
    }
    Finish();
    *spooledJob_ = rpSpoolFile(QString::fromUtf8(printerName_), temp_.fileName(), QString::fromUtf8(title_),
                               QString::fromUtf8(media_), QString::fromUtf8(mediaSource_), error);
    return *spooledJob_ != 0;
  }

  void Abort() override { Finish(); }

private:
  void Finish() {
    if (painter_.isActive()) painter_.end();
    started_ = false;
    *printing_ = false;
  }

  LayoutOfFormat layoutOf_;
  QByteArray printerName_;
  QByteArray title_;
  QByteArray media_;
  QByteArray mediaSource_;
  QTemporaryFile temp_;
  std::shared_ptr<bool> printing_;
  std::shared_ptr<int> spooledJob_;
  QPrinter printer_{QPrinter::HighResolution};
  QPainter painter_;
  bool started_ = false;
};

}  // namespace

int rpSpoolFile(const QString& printerName, const QString& fileName, const QString& title, const QString& media,
                const QString& mediaSource, QString& error) {
  const QByteArray printer = printerName.toUtf8();
  const QByteArray file = QFile::encodeName(fileName);
  const QByteArray jobTitle = title.toUtf8();
  const QByteArray mediaValue = media.toUtf8();
  const QByteArray sourceValue = mediaSource.toUtf8();
  cups_option_t* options = nullptr;
  int count = 0;
  if (!mediaValue.isEmpty()) count = cupsAddOption("media", mediaValue.constData(), count, &options);
  if (!sourceValue.isEmpty()) count = cupsAddOption("media-source", sourceValue.constData(), count, &options);
  const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.constData(), file.constData(), jobTitle.constData(), count,
                                 options);
  cupsFreeOptions(count, options);
  if (job == 0) error = QString::fromUtf8(cupsLastErrorString());
  return job;
}

namespace {

bool RunPageSetupDialog(QPrinter& printer) {
  QPageSetupDialog dialog(&printer, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

TrpQtPrinterBackend::TrpQtPrinterBackend() : PageSetup(RunPageSetupDialog) {
  names_ = QPrinterInfo::availablePrinterNames();
  names_.append(TrpPdfFilePrinter::Name());
  const qsizetype preferred = names_.indexOf(QPrinterInfo::defaultPrinterName());
  // Without a default printer the first one is taken, as the platform printer does.
  if (!SetCurrentIndex(preferred >= 0 ? static_cast<int>(preferred) : 0))
    SetCurrentIndex(static_cast<int>(names_.size()) - 1);
}

TrpQtPrinterBackend::~TrpQtPrinterBackend() = default;

bool TrpQtPrinterBackend::SetCurrentIndex(int index) {
  if (index < 0 || index >= names_.size()) return false;
  if (Printing()) return false;
  if (index == static_cast<int>(names_.size()) - 1) {
    pdf_.SetMode(TrpDeviceMode());
    printer_.reset();
    current_ = index;
    return true;
  }
  const QPrinterInfo info = QPrinterInfo::printerInfo(names_[index]);
  if (info.isNull()) return false;
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  if (!printer->isValid()) return false;
  printer_ = std::move(printer);
  current_ = index;
  ReadPapers();
  ReadBins(names_[index]);
  mode_ = TrpDeviceMode();
  mode_.defaultSource = -1;
  QPageLayout layout = printer_->pageLayout();
  if (info.defaultPageSize().isValid()) layout.setPageSize(info.defaultPageSize());
  layout.setOrientation(QPageLayout::Portrait);
  layout.setMargins(layout.minimumMargins());
  printer_->setPageLayout(layout);
  TakeModeFromPrinter();
  return true;
}

void TrpQtPrinterBackend::ReadPapers() {
  papers_.clear();
  paperList_.clear();
  int nextCode = kFirstServerPaper;
  const QPrinterInfo info = QPrinterInfo::printerInfo(printer_->printerName());
  for (const QPageSize& size : info.supportedPageSizes()) {
    int code = size.windowsId();
    if (code <= 0 || code >= kRpUserPaper || papers_.count(code)) code = nextCode++;
    papers_.emplace(code, size);
    paperList_.push_back({code, size.name()});
  }
}

void TrpQtPrinterBackend::ReadBins(const QString& printerName) {
  bins_.clear();
  binKeywords_.clear();
  const QByteArray name = printerName.toUtf8();
  cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name.constData(), nullptr);
  if (!dest) return;
  if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
    if (ipp_attribute_t* sources = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE)) {
      for (int i = 0; i < ippGetCount(sources); ++i) {
        const char* keyword = ippGetString(sources, i, nullptr);
        if (!keyword) continue;
        const char* shown = cupsLocalizeDestValue(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_SOURCE, keyword);
        const int code = kFirstServerBin + static_cast<int>(bins_.size());
        bins_.push_back({code, QString::fromUtf8(shown ? shown : keyword)});
        binKeywords_.emplace(code, QString::fromUtf8(keyword));
      }
    }
    cupsFreeDestInfo(info);
  }
  cupsFreeDests(1, dest);
}

void TrpQtPrinterBackend::TakeModeFromPrinter() {
  const QPageLayout layout = printer_->pageLayout();
  const QPageSize size = layout.pageSize();
  mode_.paperSize = kRpUserPaper;
  for (const auto& [code, paper] : papers_)
    if (paper.isEquivalentTo(size)) {
      mode_.paperSize = code;
      break;
    }
  const QSizeF mm = size.size(QPageSize::Millimeter);
  mode_.userSize = mode_.paperSize == kRpUserPaper;
  mode_.paperWidth = rpRoundMeasure(mm.width() * 10);
  mode_.paperHeight = rpRoundMeasure(mm.height() * 10);
  mode_.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
  mode_.copies = 1;
}

std::optional<TrpDeviceMode> TrpQtPrinterBackend::DeviceMode() {
  if (current_ < 0) return std::nullopt;
  if (IsPdfFile()) return pdf_.Mode();
  return mode_;
}

std::optional<QPageLayout> TrpQtPrinterBackend::LayoutOf(const QPageLayout& current,
                                                         const std::map<int, QPageSize>& papers,
                                                         const TrpDeviceMode& mode) {
  QPageLayout layout = current;
  if (mode.userSize || mode.paperSize == kRpUserPaper) {
    if (mode.paperWidth <= 0 || mode.paperHeight <= 0) return std::nullopt;
    layout.setPageSize(rpPageSizeOfCode(kRpUserPaper, mode.paperWidth, mode.paperHeight));
  } else if (const auto paper = papers.find(mode.paperSize); paper != papers.end()) {
    layout.setPageSize(paper->second);
  } else {
    return std::nullopt;
  }
  layout.setOrientation(mode.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
  layout.setMargins(layout.minimumMargins());
  return layout;
}

bool TrpQtPrinterBackend::SetDeviceMode(const TrpDeviceMode& mode) {
  if (current_ < 0) return false;
  if (IsPdfFile()) return pdf_.SetMode(mode);
  // A paper the printer lacks leaves the paper in use; the orientation still applies.
  TrpDeviceMode wanted = mode;
  if (!LayoutOf(printer_->pageLayout(), papers_, wanted)) {
    wanted.paperSize = mode_.paperSize;
    wanted.paperWidth = mode_.paperWidth;
    wanted.paperHeight = mode_.paperHeight;
    wanted.userSize = mode_.userSize;
  }
  if (const std::optional<QPageLayout> layout = LayoutOf(printer_->pageLayout(), papers_, wanted))
    printer_->setPageLayout(*layout);
  mode_.defaultSource = binKeywords_.count(mode.defaultSource) ? mode.defaultSource : -1;
  TakeModeFromPrinter();
  return true;
}

std::optional<TrpDeviceCaps> TrpQtPrinterBackend::Caps() {
  if (current_ < 0) return std::nullopt;
  if (IsPdfFile()) return pdf_.Caps();
  const int resolution = printer_->resolution();
  if (resolution <= 0) return std::nullopt;
  const QPageLayout layout = printer_->pageLayout();
  const QRect full = layout.fullRectPixels(resolution);
  const QRect paint = layout.paintRectPixels(resolution);
  TrpDeviceCaps caps;
  caps.physicalWidth = full.width();
  caps.physicalHeight = full.height();
  caps.physicalOffsetX = paint.x();
  caps.physicalOffsetY = paint.y();
  caps.pageWidth = paint.width();
  caps.pageHeight = paint.height();
  caps.logPixelsX = caps.logPixelsY = resolution;
  return caps;
}

std::vector<TrpPaperChoice> TrpQtPrinterBackend::Papers() { return IsPdfFile() ? pdf_.Papers() : paperList_; }

bool TrpQtPrinterBackend::Printing() { return *printing_ || pdf_.Printing(); }

bool TrpQtPrinterBackend::EditProperties() {
  if (current_ < 0 || Printing() || !PageSetup) return false;
  if (IsPdfFile()) {
    QPrinter copy(QPrinter::HighResolution);
    copy.setOutputFormat(QPrinter::PdfFormat);
    copy.setPageLayout(pdf_.Layout());
    if (!PageSetup(copy)) return false;
    pdf_.SetLayout(copy.pageLayout());
    return true;
  }
  QPrinter copy(QPrinterInfo::printerInfo(names_[current_]), QPrinter::HighResolution);
  copy.setPageLayout(printer_->pageLayout());
  if (!PageSetup(copy)) return false;
  printer_->setPageLayout(copy.pageLayout());
  TakeModeFromPrinter();
  return true;
}

std::unique_ptr<TrpPrintJob> TrpQtPrinterBackend::BeginJob(const QString& title, const QString& outputFile,
                                                           QString& error) {
  if (current_ < 0) {
    error = QStringLiteral("No printer is selected");
    return nullptr;
  }
  if (IsPdfFile()) return pdf_.BeginJob(title, outputFile, error);
  if (*printing_) {
    error = QStringLiteral("A document is being printed already");
    return nullptr;
  }
  const auto source = binKeywords_.find(mode_.defaultSource);
  auto job = std::make_unique<TrpSpoolJob>(
      names_[current_], title, printer_->pageLayout(), printer_->resolution(),
      source != binKeywords_.end() ? source->second : QString(),
      [papers = papers_](const QPageLayout& current, const TrpDeviceMode& format) {
        return LayoutOf(current, papers, format);
      },
      printing_, spooledJob_);
  if (!job->Started()) {
    error = QStringLiteral("The print file could not be started");
    return nullptr;
  }
  return job;
}

namespace {
std::unique_ptr<TrpQtPrinterBackend>& SystemPrinters() {
  static std::unique_ptr<TrpQtPrinterBackend> printers;
  return printers;
}
}  // namespace

void rpUseSystemPrinters() {
  if (!SystemPrinters()) {
    SystemPrinters() = std::make_unique<TrpQtPrinterBackend>();
    // The printers go while the application object still stands, not among the statics.
    qAddPostRoutine([] {
      rpSetPrinterBackend(nullptr);
      SystemPrinters().reset();
    });
  }
  rpSetPrinterBackend(SystemPrinters().get());
}
