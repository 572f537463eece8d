#pragma once
// Printing from the preview: the print dialog with the report's default copies and
// collation, a change of printer carried into the report, the page range, and for the
// "PDF file" printer the file to write, asked through the file dialog; then the report
// prints its prepared pages and the preview shows them again.
#include <QString>

#include <memory>

class QWidget;
class TrpEMFPages;
class TrpPrinter;

// What printing needs of the report behind the shown pages.
class TrpPreviewPrintTarget {
public:
  virtual ~TrpPreviewPrintTarget() = default;
  virtual int DefaultCopies() const = 0;
  virtual bool DefaultCollate() const = 0;
  // Off: print at once with the defaults, no dialog.
  virtual bool ShowPrintDialog() const = 0;
  // The report is re-adapted to a printer chosen in the dialog only when it may be
  // rebuilt (it was built in this run and asks for it).
  virtual bool CanRebuildForPrinter() const = 0;
  // Moves the report to printer newIndex and builds its pages again; false (nothing to
  // print) when the printer cannot be used or the build fails.
  virtual bool ChangePrinterAndRebuild(int oldIndex, int newIndex) = 0;
  // Prints the prepared pages: range text ("" all), copies, collate, 0 all / 1 odd /
  // 2 even, and the file a printer that writes files writes to.
  virtual void PrintPreparedReport(const QString& pageNumbers, int copies, bool collate, int parity,
                                   const QString& outputFile) = 0;
  // The pages to show afterwards (a rebuild makes new ones).
  virtual TrpEMFPages* PreparedPages() = 0;
};

class TrpPreviewForm;
class TrpReport;
// The report behind a preview window as what printing needs: a printer change with
// RebuildPrinter drops the shown pages, changes the printer and builds the report again.
std::unique_ptr<TrpPreviewPrintTarget> rpReportPrintTarget(TrpReport& report, TrpPreviewForm& form);

// Runs the print command for the pages shown with currentPage current. True when the
// report printed.
bool rpPrintFromPreview(TrpPreviewPrintTarget& target, TrpPrinter& printer, int currentPage, QWidget* parent);
