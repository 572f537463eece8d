#pragma once
// Where the print wizard hands its report to the engine: the pages are prepared (with
// the progress window, whose Cancel stops the build) and shown in the preview window.
// Kept apart from the dialog so the way a report is prepared and shown changes here
// alone.
#include "report/engine/RP_Class.h"

#include <QString>

#include <functional>

class QObject;
class QWidget;
class TrpView;
class TrpEMFPages;

// The report the wizard builds. A bracketed field is asked of OnGetValue first; a value
// it answers is printed as it stands, an empty one too (so a task without notes prints
// no notes text and not the field's name read as a number).
class TPrintReport : public TrpReport {
public:
  std::function<bool(const QString& name, QString& value)> OnGetValue;
  // Called for a cell whose text is one field, before its field is read, while it is
  // being measured or written: its look for the current row.
  std::function<void(TrpView& view)> OnBeforePrint;
  QString ExpandFields(const QString& text) override;
};

// Builds the report's pages into `pages`, data sets looked up under `dataOwner`. False
// when the build was cancelled or failed (then `pages` is empty; a failure was shown).
bool PreparePrintPages(TPrintReport& report, TrpEMFPages& pages, QObject* dataOwner);

// The preview window's size and zoom choice (0 whole page, 1 100 %, 2 page width), read
// before it opens and written back when it closes.
struct TPreviewWindowState {
  int Height = 400;
  int Width = 400;
  int ZoomMode = 1;
};
// Shows the prepared pages modally.
void ShowPrintPreview(TrpEMFPages& pages, TPreviewWindowState& state, bool topmost, QWidget* parent);
