#pragma once
// The program's preview window ("Preview"): a row of zoom, page and Print/Close buttons
// over a preview control. The print wizard sets its zoom choice, connects the report's
// pages to its preview control, runs it modally and reads the choice back with the
// window's size.
#include <QDialog>

class QPushButton;
class TrpPreview;
class TrpSpeedButton;

class TFrPreviewDialog : public QDialog {
  Q_OBJECT
public:
  explicit TFrPreviewDialog(QWidget* parent = nullptr);

  // The zoom choice: 0 whole page, 1 100 %, 2 page width.
  int ZoomMode() const { return zoomMode_; }
  void SetZoomMode(int mode);

  TrpPreview* rpPreview() const { return rpPreview_; }
  TrpSpeedButton* btnZoomTo100() const { return btnZoomTo100_; }
  TrpSpeedButton* btnZoomToFit() const { return btnZoomToFit_; }
  TrpSpeedButton* btnZoomToWidth() const { return btnZoomToWidth_; }
  TrpSpeedButton* btnFirst() const { return btnFirst_; }
  TrpSpeedButton* btnPrev() const { return btnPrev_; }
  TrpSpeedButton* btnNext() const { return btnNext_; }
  TrpSpeedButton* btnLast() const { return btnLast_; }
  QPushButton* btnPrint() const { return btnPrint_; }
  QPushButton* btnClose() const { return btnClose_; }

protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // Presses the button of the zoom choice and applies its zoom.
  void ApplyZoomMode();

  int zoomMode_ = 1;
  TrpPreview* rpPreview_;
  TrpSpeedButton* btnZoomTo100_;
  TrpSpeedButton* btnZoomToFit_;
  TrpSpeedButton* btnZoomToWidth_;
  TrpSpeedButton* btnFirst_;
  TrpSpeedButton* btnPrev_;
  TrpSpeedButton* btnNext_;
  TrpSpeedButton* btnLast_;
  QPushButton* btnPrint_;
  QPushButton* btnClose_;
};
