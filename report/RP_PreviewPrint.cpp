#include "report/RP_PreviewPrint.h"

#include "platform/Desktop.h"
#include "report/RP_PrintForm.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_Printer.h"

#include <QCheckBox>
#include <QSpinBox>

namespace {

constexpr int kPrint = 53207;

}  // namespace

bool rpPrintFromPreview(TrpPreviewPrintTarget& target, TrpPrinter& printer, int currentPage, QWidget* parent) {
  TrpEMFPages* pages = target.PreparedPages();
  // The virtual printer only measures; without another there is nothing to print on.
  if (!pages || pages->Count() == 0 || printer.VirtualIndex == 0) return false;
  const int opening = printer.PrinterIndex;
  TrpPrintRequest request;
  request.printerIndex = opening;
  request.copies = target.DefaultCopies();
  request.collate = target.DefaultCollate();
  if (target.ShowPrintDialog()) {
    TrpPrintForm form(printer, parent);
    form.CopiesEdit()->setValue(request.copies);
    form.CollateCheck()->setChecked(request.collate);
    if (form.exec() != QDialog::Accepted) return false;
    request = form.Request();
  }
  if (request.printerIndex != opening && target.CanRebuildForPrinter() &&
      !target.ChangePrinterAndRebuild(opening, request.printerIndex)) {
    return false;
  }
  QString range;
  if (request.range == TrpPageRangeChoice::Current) range = QString::number(currentPage);
  if (request.range == TrpPageRangeChoice::Pages) range = request.pageText;

  QString outputFile;
  if (printer.Backend() && printer.Backend()->WritesFile()) {
    FileDialogRequest ask;
    ask.caption = rpLoadStr(kPrint);
    ask.filter = QStringLiteral("PDF (*.pdf)");
    ask.defaultSuffix = QStringLiteral("pdf");
    outputFile = Desktop().SaveFileName(ask, parent);
    if (outputFile.isEmpty()) return false;
  }
  target.PrintPreparedReport(range, request.copies, request.collate, int(request.parity), outputFile);
  return true;
}
