#pragma once
// The "PDF file" printer: always there, so printing works on a machine without
// printers. It knows every paper of the virtual printer's table, has no bins and no
// unprintable margins, and writes through QPdfWriter; the file appears whole or not at
// all (the document goes into a safe save's temporary file, put in place when it ends).
#include "report/engine/RP_PrinterBackend.h"

#include <QPageLayout>

class TrpPdfFilePrinter {
public:
  static QString Name();
  // The device resolution of the files it writes.
  static constexpr int kResolution = 1200;

  TrpDeviceMode Mode() const { return mode_; }
  // False for a paper code it does not know.
  bool SetMode(const TrpDeviceMode& mode);
  TrpDeviceCaps Caps() const;
  std::vector<TrpPaperChoice> Papers() const;
  QPageLayout Layout() const { return *LayoutOf(mode_); }
  // The page layout of a format; nothing for a paper code it does not know.
  static std::optional<QPageLayout> LayoutOf(const TrpDeviceMode& mode);
  // Takes paper and orientation from a layout chosen in a set-up dialog.
  void SetLayout(const QPageLayout& layout);
  bool Printing() const { return *printing_; }
  std::unique_ptr<TrpPrintJob> BeginJob(const QString& title, const QString& outputFile, QString& error);

private:
  TrpDeviceMode mode_;
  std::shared_ptr<bool> printing_ = std::make_shared<bool>(false);
};

// The printers of an engine on its own: the "PDF file" printer alone.
class TrpPdfOnlyBackend : public TrpPrinterBackend {
public:
  QStringList Printers() override { return {TrpPdfFilePrinter::Name()}; }
  int CurrentIndex() override { return 0; }
  bool SetCurrentIndex(int index) override;
  std::optional<TrpDeviceMode> DeviceMode() override { return pdf_.Mode(); }
  bool SetDeviceMode(const TrpDeviceMode& mode) override { return pdf_.SetMode(mode); }
  std::optional<TrpDeviceCaps> Caps() override { return pdf_.Caps(); }
  std::vector<TrpPaperChoice> Papers() override { return pdf_.Papers(); }
  std::vector<TrpBinChoice> Bins() override { return {}; }
  bool Printing() override { return pdf_.Printing(); }
  bool WritesFile() override { return true; }
  bool EditProperties() override { return false; }
  std::unique_ptr<TrpPrintJob> BeginJob(const QString& title, const QString& outputFile, QString& error) override {
    return pdf_.BeginJob(title, outputFile, error);
  }

private:
  TrpPdfFilePrinter pdf_;
};

// A paper code's page size: the toolkit's size of that code where it has one, else the
// virtual table's dimensions, else the given user size (tenths of a millimetre).
QPageSize rpPageSizeOfCode(int code, int userWidth, int userHeight);
