#include "report/TdPrnWizRun.h"

#include "report/GRpView.h"
#include "report/RP_Preview.h"
#include "report/engine/RP_Class.h"

void ShowPrintPreview(TrpReport& report, TPreviewWindowState& state, bool topmost, QWidget* parent) {
  TFrPreviewDialog window(parent);
  if (topmost) window.setWindowFlag(Qt::WindowStaysOnTopHint);
  window.resize(state.Width, state.Height);
  window.SetZoomMode(state.ZoomMode);
  // The report's preview is the window's preview control while the window is up.
  report.SetPreview(window.rpPreview());
  struct Release {
    TrpReport& report;
    TrpPreview* preview;
    ~Release() {
      preview->Disconnect();
      report.SetPreview(nullptr);
    }
  } release{report, window.rpPreview()};
  report.ShowPreparedReport();
  window.exec();
  state.Height = window.height();
  state.Width = window.width();
  state.ZoomMode = window.ZoomMode();
}
