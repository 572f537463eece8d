#pragma once
// The report the print wizard builds in code: the column sizes measured over the rows
// with the print fonts, a page header band with one caption per column, a master data
// band with one cell per column over the wizard's user data set, a child band for the
// notes, the paper and margins of the page, and the look each cell gets per row.
// Widget-free: fonts are measured through TrpTextMeasurer, so any measurer serves.
#include "report/TdPrnWizModel.h"
#include "report/engine/RP_Graphics.h"

#include <QString>

#include <optional>
#include <vector>

class TLTImageList;
class TrpPage;
class TrpReport;
class TrpTextMeasurer;
class TrpView;
struct TFontOption;

// The name of the wizard's user data set, as the data band names it.
inline const QString kPrintDataSetName = QStringLiteral("rpUserDataSet");
inline const QString kNotesBandName = QStringLiteral("NotesBand");

// The rows the sizes are measured over; the value of a text column as printed.
class TPrintRows {
public:
  virtual ~TPrintRows() = default;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual bool Eof() const = 0;
  virtual QString Value(int code) = 0;
};

// Per printed position k: cell width W, cell height H, header width C (report units).
struct TPrintColumnSizes {
  std::vector<int> W, H, C;
  int BandHeight() const;
  // Every position's width, the Notes position too.
  int BandWidth() const;
};

struct TPrintSizeInput {
  std::vector<int> Printed;
  TPrintCaptions Captions;
  int ExtraGapMm = 0;
  int MaxWidthTitleMm = 0;
};

TPrintColumnSizes CalcColumnSizes(const TPrintSizeInput& input, const TrpTextMeasurer& headerFont,
                                  const TrpTextMeasurer& normalFont, TPrintRows& rows);

// A font of the options as the report's views take it.
TrpFont PrintFontOf(const TFontOption& option);

struct TPrintFonts {
  TrpFont Header, Normal, Notes;
};

// Clears the report's pages and builds the one page of the task list on it.
TrpPage* BuildPrintReport(TrpReport& report, const std::vector<int>& printed, const TPrintCaptions& captions,
                          const TPrintColumnSizes& sizes, const TPrintFonts& fonts);

struct TPrintPaper {
  int Size = 9;                // the printer's paper code; 9 when no paper is chosen
  std::optional<int> Bin;      // the printer's bin number, none: the page's default
  int Orientation = 0;         // 0 portrait, 1 landscape
  bool UseMargins = false;
  int LeftMm = 0, TopMm = 0, RightMm = 0, BottomMm = 0;
};
void ApplyPrintPaper(TrpPage& page, const TPrintPaper& paper);

// The look of a cell for one row, before it is printed: cells outside the page header
// get the row colour (pictures stay transparent), a picture gets its image of `images`
// by the code in its Tag. `image` is the image index of that code for the row's task.
void ApplyCellLook(TrpView& view, bool inPageHeader, int32_t rowColor, int image, const TLTImageList* images);
// The column code a cell carries in its Tag, 0 when none.
int CellCode(const TrpView& view);
