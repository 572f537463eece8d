#pragma once
// A printer backend with printers described in memory: each has its paper, resolution,
// unprintable margins, papers and bins; any of them can refuse to be selected or fail
// to tell its settings. Records the modes the wrapper hands it.
#include "report/engine/RP_PrinterBackend.h"

#include <QStringList>
#include <vector>

struct FakePrinter {
  QString name;
  int dpi = 600;
  int widthPx = 4960;  // A4 at 600 dpi
  int heightPx = 7016;
  int marginPx = 100;
  std::vector<TrpPaperChoice> papers{{1, QStringLiteral("Letter")}, {9, QStringLiteral("A4")}};
  std::vector<TrpBinChoice> bins;
  bool selectable = true;
  bool tellsSettings = true;
};

// A printer with that name and the defaults above.
inline FakePrinter NamedPrinter(const char* name, bool selectable = true) {
  FakePrinter printer;
  printer.name = QString::fromLatin1(name);
  printer.selectable = selectable;
  return printer;
}

class FakePrinterBackend : public TrpPrinterBackend {
public:
  explicit FakePrinterBackend(std::vector<FakePrinter> printers, int current = 0)
      : printers_(std::move(printers)), current_(printers_.empty() ? -1 : current) {}

  QStringList Printers() override {
    QStringList names;
    for (const FakePrinter& p : printers_) names.append(p.name);
    return names;
  }
  int CurrentIndex() override { return current_; }
  bool SetCurrentIndex(int index) override {
    if (index < 0 || index >= static_cast<int>(printers_.size()) || !printers_[index].selectable) return false;
    current_ = index;
    mode = TrpDeviceMode();
    return true;
  }
  std::optional<TrpDeviceMode> DeviceMode() override {
    if (current_ < 0 || !printers_[current_].tellsSettings) return std::nullopt;
    return mode;
  }
  bool SetDeviceMode(const TrpDeviceMode& m) override {
    modesSet.push_back(m);
    mode = m;
    return true;
  }
  std::optional<TrpDeviceCaps> Caps() override {
    if (current_ < 0 || !printers_[current_].tellsSettings) return std::nullopt;
    const FakePrinter& p = printers_[current_];
    const bool landscape = mode.orientation == 2;
    TrpDeviceCaps caps;
    caps.physicalWidth = landscape ? p.heightPx : p.widthPx;
    caps.physicalHeight = landscape ? p.widthPx : p.heightPx;
    caps.physicalOffsetX = caps.physicalOffsetY = p.marginPx;
    caps.pageWidth = caps.physicalWidth - 2 * p.marginPx;
    caps.pageHeight = caps.physicalHeight - 2 * p.marginPx;
    caps.logPixelsX = caps.logPixelsY = p.dpi;
    return caps;
  }
  std::vector<TrpPaperChoice> Papers() override { return printers_[current_].papers; }
  std::vector<TrpBinChoice> Bins() override { return printers_[current_].bins; }
  bool Printing() override { return printing; }
  bool WritesFile() override { return false; }
  bool EditProperties() override {
    if (!propertiesAnswer) return false;
    mode = *propertiesAnswer;
    return true;
  }
  std::unique_ptr<TrpPrintJob> BeginJob(const QString&, const QString&, QString& error) override {
    error = QStringLiteral("not a real printer");
    return nullptr;
  }

  TrpDeviceMode mode;
  std::vector<TrpDeviceMode> modesSet;
  bool printing = false;
  std::optional<TrpDeviceMode> propertiesAnswer;  // what the set-up dialog confirms; none: cancelled

private:
  std::vector<FakePrinter> printers_;
  int current_;
};
