#include "report/RP_PreviewPageSetup.h"

#include "report/engine/RP_Class.h"
#include "report/engine/RP_Printer.h"

#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPageSize>
#include <QPrinter>

#include <cmath>

namespace {

bool RunSystemPageSetup(TrpPageSetupChoice& choice, QWidget* parent) {
  QPrinter printer;
  const TrpPrinter& engine = rpPrinter();
  // The virtual printer is no system printer: the dialog then works on the default one.
  if (choice.printerIndex >= 0 && choice.printerIndex < engine.VirtualIndex) {
    printer.setPrinterName(engine.Printers[choice.printerIndex]);
  }
  const QSizeF paperMm(choice.paper.width / 10.0, choice.paper.height / 10.0);
  const auto orientation = choice.paper.orientation ? QPageLayout::Landscape : QPageLayout::Portrait;
  const QMarginsF marginsMm(choice.margins.left() / 100.0, choice.margins.top() / 100.0,
                            choice.margins.right() / 100.0, choice.margins.bottom() / 100.0);
  printer.setPageLayout(QPageLayout(QPageSize(paperMm, QPageSize::Millimeter), orientation, marginsMm,
                                    QPageLayout::Millimeter));
  QPageSetupDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  const QPageLayout layout = printer.pageLayout();
  const QSizeF size = layout.pageSize().size(QPageSize::Millimeter);
  choice.paper.size = 256;  // a size of its own: the dialog gives measures, not codes
  choice.paper.width = int(std::lround(size.width() * 10));
  choice.paper.height = int(std::lround(size.height() * 10));
  choice.paper.orientation = layout.orientation() == QPageLayout::Landscape ? 1 : 0;
  const QMarginsF m = layout.margins(QPageLayout::Millimeter);
  choice.margins = QMargins(int(std::lround(m.left() * 100)), int(std::lround(m.top() * 100)),
                            int(std::lround(m.right() * 100)), int(std::lround(m.bottom() * 100)));
  const int index = engine.Printers.indexOf(printer.printerName());
  if (index >= 0) choice.printerIndex = index;
  return true;
}

}  // namespace

TrpPageSetupDialog& rpPageSetupDialog() {
  static TrpPageSetupDialog dialog = RunSystemPageSetup;
  return dialog;
}

int rpUnitsToDialogMargin(int units) { return int(std::lround(units * 500.0 / 18.0)); }
int rpDialogMarginToUnits(int hundredthsMm) { return int(std::lround(hundredthsMm * 18.0 / 500.0)); }

bool rpRunPageSetup(TrpReport& report, QWidget* parent, const std::function<void()>& beforeBuild) {
  if (report.PageCount() == 0 || !rpPageSetupDialog()) return false;
  const TrpPage& first = *report.Page(0);
  TrpPageSetupChoice choice;
  choice.printerIndex = rpPrinter().PrinterIndex;
  choice.paper.size = first.PaperSize;
  choice.paper.width = first.PaperWidth;
  choice.paper.height = first.PaperHeight;
  choice.paper.orientation = first.Orientation;
  choice.paper.bin = first.Bin;
  choice.margins = QMargins(rpUnitsToDialogMargin(first.MarginLeft), rpUnitsToDialogMargin(first.MarginTop),
                            rpUnitsToDialogMargin(first.MarginRight), rpUnitsToDialogMargin(first.MarginBottom));
  if (!rpPageSetupDialog()(choice, parent)) return false;
  const int opening = rpPrinter().PrinterIndex;
  // A printer that cannot be selected is told by the report, which keeps the old one.
  if (choice.printerIndex != opening && !report.ChangePrinter(opening, choice.printerIndex)) return false;
  for (int i = 0; i < report.PageCount(); ++i) {
    TrpPage& page = *report.Page(i);
    page.MarginLeft = rpDialogMarginToUnits(choice.margins.left());
    page.MarginTop = rpDialogMarginToUnits(choice.margins.top());
    page.MarginRight = rpDialogMarginToUnits(choice.margins.right());
    page.MarginBottom = rpDialogMarginToUnits(choice.margins.bottom());
    page.ChangePaper(choice.paper.size, choice.paper.width, choice.paper.height, choice.paper.bin,
                     choice.paper.orientation);
  }
  if (beforeBuild) beforeBuild();
  return report.PrepareReport();
}
