#pragma once
// Where the print wizard shows its prepared report: the preview window. Kept apart from
// the dialog so the window that shows the pages changes here alone.
#include <QString>

class QWidget;
class TrpReport;

// The preview window's size and zoom choice (0 whole page, 1 100 %, 2 page width), read
// before it opens and written back when it closes.
struct TPreviewWindowState {
  int Height = 400;
  int Width = 400;
  int ZoomMode = 1;
};
// Shows the report's prepared pages in the preview window, modally; its Print prints them.
void ShowPrintPreview(TrpReport& report, TPreviewWindowState& state, bool topmost, QWidget* parent);
