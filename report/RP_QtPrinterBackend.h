#pragma once
// The system's printers for the report engine: the print server's printers through the
// toolkit's print support, paper bins and spooling through the print server's own
// library, and the "PDF file" printer last, which is always there.
//
// A job paints into a PDF file through QPrinter with the printer's page layout and
// resolution, and End spools that file to the print server: the call returns once the
// server holds the job, never waiting on the printer, and a refusal comes back with the
// server's own text.
#include "report/engine/RP_PrinterBackend.h"
#include "report/engine/RP_PrinterPdfFile.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <functional>
#include <map>

class QPrinter;

class TrpQtPrinterBackend : public TrpPrinterBackend {
public:
  TrpQtPrinterBackend();
  ~TrpQtPrinterBackend() override;

  QStringList Printers() override { return names_; }
  int CurrentIndex() override { return current_; }
  bool SetCurrentIndex(int index) override;
  std::optional<TrpDeviceMode> DeviceMode() override;
  bool SetDeviceMode(const TrpDeviceMode& mode) override;
  std::optional<TrpDeviceCaps> Caps() override;
  std::vector<TrpPaperChoice> Papers() override;
  std::vector<TrpBinChoice> Bins() override { return IsPdfFile() ? std::vector<TrpBinChoice>() : bins_; }
  bool Printing() override;
  bool WritesFile() override { return IsPdfFile(); }
  bool EditProperties() override;
  std::unique_ptr<TrpPrintJob> BeginJob(const QString& title, const QString& outputFile, QString& error) override;
  // The print server's id of the job the last End spooled; 0 before any, or when the
  // server refused it. Lets a caller follow the job in the server's queue.
  int SpooledJobId() const { return *spooledJob_; }

  // The set-up dialog on a copy of the printer; the page set-up dialog unless a test
  // puts its own answer here.
  std::function<bool(QPrinter& copy)> PageSetup;

private:
  bool IsPdfFile() const { return current_ == static_cast<int>(names_.size()) - 1; }
  void ReadPapers();
  void ReadBins(const QString& printerName);
  // The mode that matches the printer's page layout now.
  void TakeModeFromPrinter();
  // The current printer's layout changed to a format; nothing when it lacks the paper.
  static std::optional<QPageLayout> LayoutOf(const QPageLayout& current, const std::map<int, QPageSize>& papers,
                                             const TrpDeviceMode& mode);

  QStringList names_;  // the server's printers, then "PDF file"
  int current_ = -1;
  std::unique_ptr<QPrinter> printer_;  // the current server printer
  TrpPdfFilePrinter pdf_;
  TrpDeviceMode mode_;
  std::map<int, QPageSize> papers_;  // paper code -> size, for the current printer
  std::vector<TrpPaperChoice> paperList_;
  std::vector<TrpBinChoice> bins_;
  std::map<int, QString> binKeywords_;  // bin code -> the server's media-source value
  std::shared_ptr<bool> printing_ = std::make_shared<bool>(false);
  std::shared_ptr<int> spooledJob_ = std::make_shared<int>(0);  // written by the job, which may outlive us
};

// Attaches the engine's printer to the system's printers; the program calls it once as
// it starts (before that, and without it, the engine knows only the "PDF file" printer).
void rpUseSystemPrinters();

// Hands a PDF file to the print server's queue with its paper ("media") and bin
// ("media-source"; empty for the default); the server copies it, so the file may go
// afterwards. The server's id of the new job; 0 with the server's own text in error when
// it refuses.
int rpSpoolFile(const QString& printerName, const QString& fileName, const QString& title, const QString& media,
                const QString& mediaSource, QString& error);
