#pragma once
// The engine's one printer wrapper: every paper, margin and page-size question of the
// engine goes to it. It lists the system's printers plus a "Virtual printer" that always
// exists, so reports can be prepared and previewed with no printer at all; reads and
// writes the current printer's settings; and converts device measures into report units.
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_PageInfo.h"
#include "report/engine/RP_PrinterBackend.h"

#include <QStringList>
#include <cstdint>
#include <vector>

// A printer that cannot be selected.
class ErpPrinterError : public ErpError {
public:
  using ErpError::ErpError;
};

class TrpPrinter {
public:
  // Takes the system's printers (backend not owned; it must outlive this wrapper or be
  // replaced first) and reads the current one's settings; without any printer, the
  // virtual printer is in use.
  void AttachPrinter(TrpPrinterBackend* backend);
  TrpPrinterBackend* Backend() const { return backend_; }
  bool IsVirtual() const { return PrinterIndex == VirtualIndex; }

  // Nothing when index is current. A printer that cannot be switched to raises
  // ErpPrinterError ("Printer selected is not valid") and the printer in use stays.
  void SelectPrinterIndex(int index);
  void UpdatePrinterInfo() { GetSettings(); }
  // Reads the current printer's paper, papers, bins and orientation; on any failure
  // the virtual printer is selected instead.
  void GetSettings();
  // Applies PaperSize, PaperWidth, PaperHeight, Orientation and Bin to the printer.
  void SetSettings();
  // Stores the format and applies it, unless it is current already (or the printer is
  // busy with a document) and force is off.
  void SetPageFormat(int paperSize, int width, int height, int orientation, int bin, bool force);
  void FillPageInfo(TrpPageInfo& info) const;
  // The printer's set-up dialog; true when the user confirmed.
  bool PropertiesDialog();

  QString Device;  // the current printer's name
  QStringList PaperNames;
  QStringList BinNames;
  QStringList Printers;  // the system's printers, then "Virtual printer"
  int PrinterIndex = 0;
  int VirtualIndex = 0;
  int PaperSize = 9;  // 256: PaperWidth x PaperHeight
  int PaperWidth = 0;  // tenths of a millimetre
  int PaperHeight = 0;
  int Orientation = 0;  // 0 portrait, 1 landscape
  int Bin = -1;  // -1: the printer's default
  std::vector<int16_t> PaperCodes;  // at most 256
  std::vector<int16_t> BinCodes;  // entry 0 is -1, the default bin

private:
  void SelectVirtual();
  bool ReadSettings();

  TrpPrinterBackend* backend_ = nullptr;
  TrpDeviceCaps caps_;
};

// The engine's printer: made when first asked for, attached to the printers installed
// with rpSetPrinterBackend (the "PDF file" printer alone when none were).
TrpPrinter& rpPrinter();
// Installs the system's printers (not owned) and attaches the engine's printer to them;
// null goes back to the "PDF file" printer alone.
void rpSetPrinterBackend(TrpPrinterBackend* backend);
// The paper the engine's printer had when it was attached.
int rpDefaultPaperSize();
