#include "report/engine/RP_Printer.h"

#include "report/engine/RP_PrinterPaper.h"
#include "report/engine/RP_PrinterPdfFile.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr size_t kMaxPapers = 256;
constexpr size_t kMaxBins = 64;
constexpr int kDefaultBinText = 53701;  // the name of the printer's default bin
}  // namespace

void TrpPrinter::AttachPrinter(TrpPrinterBackend* backend) {
  backend_ = backend;
  Printers.clear();
  int current = -1;
  if (backend_) {
    Printers = backend_->Printers();
    current = backend_->CurrentIndex();
    if (!Printers.isEmpty() && (current < 0 || current >= Printers.size()))
      current = backend_->SetCurrentIndex(0) ? 0 : -1;
  }
  VirtualIndex = static_cast<int>(Printers.size());
  Printers.append(rpLoadStr(rpStrings::VirtualPrinter));
  if (current < 0) {
    SelectVirtual();
    return;
  }
  PrinterIndex = current;
  GetSettings();
}

void TrpPrinter::SelectPrinterIndex(int index) {
  if (index == PrinterIndex) return;
  if (index == VirtualIndex) {
    SelectVirtual();
    return;
  }
  if (!backend_ || index < 0 || index >= VirtualIndex || !backend_->SetCurrentIndex(index))
    throw ErpPrinterError(rpLoadStr(rpStrings::PrinterNotValid));
  PrinterIndex = index;
  GetSettings();
}

void TrpPrinter::SelectVirtual() {
  PrinterIndex = VirtualIndex;
  SetSettings();
}

void TrpPrinter::GetSettings() {
  if (IsVirtual() || !ReadSettings()) SelectVirtual();
}

bool TrpPrinter::ReadSettings() {
  if (!backend_) return false;
  const std::optional<TrpDeviceMode> mode = backend_->DeviceMode();
  const std::optional<TrpDeviceCaps> caps = backend_->Caps();
  if (!mode || !caps || caps->logPixelsX <= 0 || caps->logPixelsY <= 0) return false;
  Device = Printers.value(PrinterIndex);
  caps_ = *caps;
  PaperSize = mode->paperSize;
  PaperWidth = rpRoundMeasure(static_cast<double>(caps->physicalWidth) / caps->logPixelsX * 254);
  PaperHeight = rpRoundMeasure(static_cast<double>(caps->physicalHeight) / caps->logPixelsY * 254);

  PaperCodes.clear();
  PaperNames.clear();
  for (const TrpPaperChoice& paper : backend_->Papers()) {
    if (PaperCodes.size() == kMaxPapers) break;
    PaperCodes.push_back(static_cast<int16_t>(paper.code));
    PaperNames.append(paper.name);
  }

  Bin = mode->defaultSource;
  BinCodes.assign(1, -1);
  BinNames = QStringList{rpLoadStr(kDefaultBinText)};
  for (const TrpBinChoice& bin : backend_->Bins()) {
    if (BinCodes.size() > kMaxBins) break;
    BinCodes.push_back(static_cast<int16_t>(bin.code));
    BinNames.append(bin.name);
  }
  Orientation = mode->orientation == 1 ? 0 : 1;
  return true;
}

void TrpPrinter::SetSettings() {
  if (IsVirtual()) {
    Device = Printers.value(PrinterIndex);
    PaperCodes.clear();
    PaperNames.clear();
    for (const TrpPaperRow& row : rpVirtualPapers()) {
      PaperCodes.push_back(row.code);
      PaperNames.append(QString());  // the virtual papers carry no names
    }
    BinCodes.assign(1, -1);
    BinNames = QStringList{rpLoadStr(kDefaultBinText)};
    if (PaperSize != kRpUserPaper) {
      if (const TrpPaperRow* row = rpFindVirtualPaper(PaperSize)) {
        PaperWidth = Orientation == 1 ? row->height : row->width;
        PaperHeight = Orientation == 1 ? row->width : row->height;
      }
    }
    return;
  }
  std::optional<TrpDeviceMode> mode = backend_ ? backend_->DeviceMode() : std::nullopt;
  if (!mode) {
    SelectVirtual();
    return;
  }
  mode->userSize = PaperSize == kRpUserPaper;
  if (mode->userSize) {
    mode->paperWidth = PaperWidth;
    mode->paperHeight = PaperHeight;
  }
  mode->paperSize = PaperSize;
  mode->orientation = Orientation == 1 ? 2 : 1;
  mode->copies = 1;
  if (Bin != -1) mode->defaultSource = Bin;
  backend_->SetDeviceMode(*mode);
  GetSettings();
}

void TrpPrinter::SetPageFormat(int paperSize, int width, int height, int orientation, int bin, bool force) {
  if (!IsVirtual() && backend_ && backend_->Printing()) return;
  if (!force && paperSize == PaperSize) {
    const bool current = paperSize == kRpUserPaper
                             ? std::abs(width - PaperWidth) <= 1 && std::abs(height - PaperHeight) <= 1 &&
                                   orientation == Orientation
                             : orientation == Orientation && (bin == Bin || bin == -1);
    if (current) return;
  }
  PaperSize = paperSize;
  PaperWidth = width;
  PaperHeight = height;
  Orientation = orientation;
  Bin = bin;
  SetSettings();
}

void TrpPrinter::FillPageInfo(TrpPageInfo& info) const {
  if (IsVirtual()) {
    info = TrpPageInfo();
    info.PaperWidth = rpTenthsToUnits(PaperWidth);
    info.PaperHeight = rpTenthsToUnits(PaperHeight);
    info.OffsetX = info.OffsetY = kRpVirtualOffset;
    info.PrintWidth = info.PaperWidth - 2 * kRpVirtualOffset;
    info.PrintHeight = info.PaperHeight - 2 * kRpVirtualOffset;
    return;
  }
  const double kx = kRpUnitsPerInch / caps_.logPixelsX;
  const double ky = kRpUnitsPerInch / caps_.logPixelsY;
  info.PaperWidthPx = caps_.physicalWidth;
  info.PaperHeightPx = caps_.physicalHeight;
  info.PaperWidth = rpRoundMeasure(kx * caps_.physicalWidth);
  info.PaperHeight = rpRoundMeasure(ky * caps_.physicalHeight);
  info.OffsetXPx = caps_.physicalOffsetX;
  info.OffsetYPx = caps_.physicalOffsetY;
  info.OffsetX = rpRoundMeasure(kx * caps_.physicalOffsetX);
  info.OffsetY = rpRoundMeasure(ky * caps_.physicalOffsetY);
  info.PrintWidthPx = caps_.pageWidth;
  info.PrintHeightPx = caps_.pageHeight;
  info.PrintWidth = rpRoundMeasure(kx * caps_.pageWidth);
  info.PrintHeight = rpRoundMeasure(ky * caps_.pageHeight);
}

bool TrpPrinter::PropertiesDialog() {
  if (IsVirtual() || !backend_ || !backend_->EditProperties()) return false;
  GetSettings();
  return true;
}

namespace {

struct TrpPrinterGlobals {
  TrpPdfOnlyBackend pdfOnly;
  TrpPrinterBackend* backend = nullptr;
  std::unique_ptr<TrpPrinter> printer;
  int defaultPaper = kRpDefaultPaper;
};

TrpPrinterGlobals& Globals() {
  static TrpPrinterGlobals globals;
  return globals;
}

void Attach(TrpPrinterGlobals& g) {
  g.printer->AttachPrinter(g.backend ? g.backend : &g.pdfOnly);
  g.defaultPaper = g.printer->PaperSize;
}

}  // namespace

TrpPrinter& rpPrinter() {
  TrpPrinterGlobals& g = Globals();
  if (!g.printer) {
    g.printer = std::make_unique<TrpPrinter>();
    Attach(g);
  }
  return *g.printer;
}

void rpSetPrinterBackend(TrpPrinterBackend* backend) {
  TrpPrinterGlobals& g = Globals();
  g.backend = backend;
  if (!g.printer) g.printer = std::make_unique<TrpPrinter>();
  Attach(g);
}

int rpDefaultPaperSize() {
  rpPrinter();
  return Globals().defaultPaper;
}
