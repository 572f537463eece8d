// The program's preview window: its zoom choice read and written by the wizard, the
// page buttons, keys that reach the preview whatever has the focus, Esc that leaves the
// window open, Close, Print, and a picture of a two-page task list as the user sees it.
#include "ReportFakes.h"
#include "ReportTestSupport.h"
#include "report/GRpView.h"
#include "report/RP_Ctrls.h"
#include "report/RP_Preview.h"
#include "report/engine/RP_EMFPages.h"
#include "support/FakeDesktop.h"
#include "support/GoldenPicture.h"
#include "TaskListPages.h"

#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

namespace {

QFont FixedFont(int pixelSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::NoSubpixelAntialias);
  return font;
}

class PreviewDialogTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    rpLastScale() = {};
    BuildTaskList(pages, 40);
  }
  void TearDown() override {
    rpLastScale() = {};
    ReportEngineTest::TearDown();
  }
  void Show(TFrPreviewDialog& dialog) {
    dialog.rpPreview()->Connect(&pages);
    dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  }
  static void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  }

  FakeDesktop desktop;
  FakeWindows windows;
  TrpEMFPages pages;
};

TEST_F(PreviewDialogTest, ZoomChoiceIsAppliedAndReadBack) {
  TFrPreviewDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Preview"));
  EXPECT_TRUE(dialog.btnZoomTo100()->Down());
  EXPECT_EQ(dialog.btnZoomToWidth()->toolTip(), QStringLiteral("Zoom to page width"));
  EXPECT_EQ(dialog.btnLast()->toolTip(), QStringLiteral("Last page"));
  dialog.SetZoomMode(0);
  Show(dialog);
  TrpPreview& preview = *dialog.rpPreview();
  EXPECT_TRUE(dialog.btnZoomToFit()->Down());
  EXPECT_EQ(preview.ZoomMode(), TrpZoomMode::OnePage);
  EXPECT_EQ(preview.Layout().Rects.at(0).height(), preview.Box()->height() - 20);

  Click(dialog.btnZoomToWidth());
  EXPECT_EQ(dialog.ZoomMode(), 2);
  EXPECT_TRUE(dialog.btnZoomToWidth()->Down());
  EXPECT_FALSE(dialog.btnZoomToFit()->Down());
  EXPECT_EQ(preview.Layout().Rects.at(0).width(), preview.Box()->width() - 20);

  Click(dialog.btnZoomTo100());
  EXPECT_EQ(dialog.ZoomMode(), 1);
  EXPECT_DOUBLE_EQ(preview.Zoom(), 1.0);
  // The next preview opens at 100 % too.
  EXPECT_EQ(rpLastScale().Mode, TrpZoomMode::Free);
  EXPECT_DOUBLE_EQ(rpLastScale().Factor, 1.0);
}

TEST_F(PreviewDialogTest, PageButtonsKeysAndWheelReachThePreview) {
  TFrPreviewDialog dialog;
  Show(dialog);
  TrpPreview& preview = *dialog.rpPreview();
  Click(dialog.btnLast());
  EXPECT_EQ(preview.CurrentPage(), 2);
  Click(dialog.btnPrev());
  EXPECT_EQ(preview.CurrentPage(), 1);
  Click(dialog.btnNext());
  EXPECT_EQ(preview.CurrentPage(), 2);
  Click(dialog.btnFirst());
  EXPECT_EQ(preview.CurrentPage(), 1);

  // Keys go to the preview first, even from the Print button.
  dialog.btnPrint()->setFocus();
  QTest::keyClick(dialog.btnPrint(), Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(preview.CurrentPage(), 2);
  QTest::keyClick(dialog.btnPrint(), Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(preview.VerticalBar()->value(), 0);

  // The wheel turned anywhere in the window scrolls three small steps a notch.
  QWheelEvent wheel(QPointF(300, 10), QPointF(300, 10), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(&dialog, &wheel);
  EXPECT_EQ(preview.VerticalBar()->value(), 30);
}

TEST_F(PreviewDialogTest, EscLeavesTheWindowOpenCloseEndsItPrintPrints) {
  TFrPreviewDialog dialog;
  Show(dialog);
  int printed = 0;
  dialog.rpPreview()->Form().OnPrint = [&] { ++printed; };
  QTest::keyClick(dialog.rpPreview()->Box(), Qt::Key_Escape);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_TRUE(dialog.isVisible());
  Click(dialog.btnPrint());
  EXPECT_EQ(printed, 1);
  EXPECT_EQ(dialog.rpPreview()->CurrentPage(), 1);
  dialog.btnClose()->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(PreviewDialogTest, TwoPageTaskListAsTheUserSeesIt) {
  TFrPreviewDialog dialog;
  dialog.setFont(FixedFont(12));
  dialog.resize(640, 520);
  dialog.SetZoomMode(2);
  Show(dialog);
  ASSERT_EQ(dialog.rpPreview()->GetAllPages(), 2);
  // Page 2 turned to, then a screen back: the end of page 1 above the start of page 2.
  QTest::keyClick(dialog.rpPreview()->Box(), Qt::Key_PageDown, Qt::ControlModifier);
  QTest::keyClick(dialog.rpPreview()->Box(), Qt::Key_PageUp);
  ASSERT_EQ(dialog.rpPreview()->CurrentPage(), 1);
  QApplication::processEvents();
  const QImage shot = dialog.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  EXPECT_TRUE(golden::MatchesGolden(shot, QStringLiteral(VELMORA_REPORT_GOLDEN_DIR),
                                    QStringLiteral("preview-task-list"), {24, 40},
                                    QStringLiteral(VELMORA_REPORT_ACTUAL_DIR)));
}

}  // namespace
