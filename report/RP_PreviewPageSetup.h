#pragma once
// The preview's page set-up: the system's page set-up dialog on the first page's paper
// and margins, then every page of the report takes the choice and the report is built
// again. The dialog is reached through rpPageSetupDialog so tests answer it.
#include "report/engine/RP_Page.h"

#include <QMargins>

#include <functional>

class QWidget;
class TrpReport;

// What the dialog shows and the user changes.
struct TrpPageSetupChoice {
  int printerIndex = 0;  // the engine's printer index
  TrpPaper paper;
  QMargins margins;  // hundredths of a millimetre, as the dialog measures them
};

// True with the choice changed when the user pressed OK.
using TrpPageSetupDialog = std::function<bool(TrpPageSetupChoice& choice, QWidget* parent)>;
// The dialog in use: the system's page set-up dialog unless a test puts its own here.
TrpPageSetupDialog& rpPageSetupDialog();

// Report units to the dialog's hundredths of a millimetre and back.
int rpUnitsToDialogMargin(int units);
int rpDialogMarginToUnits(int hundredthsMm);

// Runs the dialog on the report's first page; on OK applies the printer, the margins and
// the paper to every page and prepares the report again. False (report untouched) when
// the report has no page, the dialog was cancelled or the printer cannot be selected;
// true once the report was prepared anew. beforeBuild runs just before the build, which
// replaces the prepared pages (a preview lets go of them there).
bool rpRunPageSetup(TrpReport& report, QWidget* parent, const std::function<void()>& beforeBuild);
