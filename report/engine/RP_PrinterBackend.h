#pragma once
// What the engine's printer wrapper needs of the system's printers, behind a small
// interface: the engine links no print support of the toolkit. The report library
// supplies the real printers; tests supply fakes. Measures are device pixels, paper
// sizes tenths of a millimetre, papers and bins 16-bit codes.
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class QPainter;

// The settings of one printer that a job prints with.
struct TrpDeviceMode {
  int paperSize = 9;    // paper code; 256 is a user-defined size
  int paperWidth = 0;   // tenths of a millimetre, portrait; meaningful with userSize
  int paperHeight = 0;
  bool userSize = false;
  int orientation = 1;  // 1 portrait, 2 landscape
  int copies = 1;
  int defaultSource = -1;  // bin code; -1 the printer's default
  bool operator==(const TrpDeviceMode&) const = default;
};

// The device measures of the current paper, in device pixels.
struct TrpDeviceCaps {
  int physicalWidth = 0;
  int physicalHeight = 0;
  int physicalOffsetX = 0;  // the printable area's corner on the paper
  int physicalOffsetY = 0;
  int pageWidth = 0;  // the printable area
  int pageHeight = 0;
  int logPixelsX = 0;
  int logPixelsY = 0;
};

struct TrpPaperChoice {
  int code = 0;
  QString name;
};

struct TrpBinChoice {
  int code = 0;
  QString name;
};

// One document being printed. The painter's origin is the printable area's corner and
// its unit the device pixel of TrpDeviceCaps.
class TrpPrintJob {
public:
  virtual ~TrpPrintJob() = default;
  virtual QPainter& Painter() = 0;
  // Starts the next sheet; false when the device refuses.
  virtual bool NewPage() = 0;
  // Starts the next sheet on another paper or orientation (paperSize, the user size,
  // orientation), so one document carries pages of several formats; false when the
  // printer lacks that paper. The painter's device measures follow the new sheet.
  virtual bool NewPage(const TrpDeviceMode& format) = 0;
  // Finishes the document and hands it on (spooled to the printer, or written to the
  // file); returns at once without waiting for the printer. False with the reason in
  // error when that fails.
  virtual bool End(QString& error) = 0;
  // Drops the document: nothing is printed or written.
  virtual void Abort() = 0;
};

class TrpPrinterBackend {
public:
  virtual ~TrpPrinterBackend() = default;
  // The printers, in the order the wrapper lists them.
  virtual QStringList Printers() = 0;
  // The printer in use, or -1 when none is.
  virtual int CurrentIndex() = 0;
  // Switches to that printer with its default settings; false, the printer in use
  // unchanged, when it cannot be used.
  virtual bool SetCurrentIndex(int index) = 0;
  // The current printer's settings and measures; nothing when it cannot tell.
  virtual std::optional<TrpDeviceMode> DeviceMode() = 0;
  virtual bool SetDeviceMode(const TrpDeviceMode& mode) = 0;
  virtual std::optional<TrpDeviceCaps> Caps() = 0;
  virtual std::vector<TrpPaperChoice> Papers() = 0;
  virtual std::vector<TrpBinChoice> Bins() = 0;
  // A document is being printed on the current printer.
  virtual bool Printing() = 0;
  // The current printer writes a file (the "PDF file" printer) rather than paper.
  virtual bool WritesFile() = 0;
  // Shows the printer's set-up dialog on a copy of its settings; true when the user
  // confirmed, and the printer then uses them.
  virtual bool EditProperties() = 0;
  // Starts a document on the current printer; outputFile is where a printer that
  // writes a file puts it. Null, with the reason in error, when it cannot start.
  virtual std::unique_ptr<TrpPrintJob> BeginJob(const QString& title, const QString& outputFile, QString& error) = 0;
};
