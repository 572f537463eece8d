#include "report/RP_PreviewPrint.h"

#include "platform/Desktop.h"
#include "report/RP_PreviewForm.h"
#include "report/RP_PrintForm.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_Printer.h"

#include <QCheckBox>
#include <QSpinBox>

namespace {

constexpr int kPrint = 53207;

class TrpReportPrintTarget : public TrpPreviewPrintTarget {
public:
  TrpReportPrintTarget(TrpReport& report, TrpPreviewForm& form) : report_(report), form_(form) {}
  int DefaultCopies() const override { return report_.DefaultCopies(); }
  bool DefaultCollate() const override { return report_.DefaultCollate(); }
  bool ShowPrintDialog() const override { return report_.ShowPrintDialog(); }
  bool CanRebuildForPrinter() const override { return report_.RebuildPrinter() && report_.CanRebuild(); }
  bool ChangePrinterAndRebuild(int oldIndex, int newIndex) override {
    if (!report_.ChangePrinter(oldIndex, newIndex)) return false;
    // The build replaces the pages shown: the window lets go of them first, and
    // takes the new ones once printing is done.
    form_.DropPages();
    return report_.PrepareReport();
  }
  void PrintPreparedReport(const QString& pageNumbers, int copies, bool collate, int parity,
                           const QString& outputFile) override {
    report_.PrintFileName = outputFile;
    report_.PrintPreparedReport(pageNumbers, copies, collate, static_cast<TrpPageParity>(parity));
  }
  TrpEMFPages* PreparedPages() override { return &report_.EMFPages(); }

private:
  TrpReport& report_;
  TrpPreviewForm& form_;
};

}  // namespace

std::unique_ptr<TrpPreviewPrintTarget> rpReportPrintTarget(TrpReport& report, TrpPreviewForm& form) {
  return std::make_unique<TrpReportPrintTarget>(report, form);
}

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
