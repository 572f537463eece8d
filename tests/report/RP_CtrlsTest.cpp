// The flat speed button and the tool-bar pieces, clicked and painted.
#include "ReportTestSupport.h"
#include "report/RP_Ctrls.h"

#include <QPainter>
#include <QTest>
#include <QToolBar>

namespace {

// A strip of count square images of one colour each.
QPixmap Strip(int count, int side = 16) {
  QImage image(side * count, side, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::cyan};
  QPainter p(&image);
  for (int i = 0; i < count; ++i) p.fillRect(i * side + 4, 4, side - 8, side - 8, colours[i % 5]);
  return QPixmap::fromImage(image);
}

QImage Painted(QWidget& widget) {
  QImage image(widget.size(), QImage::Format_ARGB32);
  widget.render(&image);
  return image;
}

class SpeedButtonTest : public ReportEngineTest {
protected:
  void SetUp() override {
    ReportEngineTest::SetUp();
    parent.resize(200, 60);
    parent.show();
  }
  TrpSpeedButton* Button(int x, int group = 0) {
    auto* b = new TrpSpeedButton(&parent);
    b->move(x, 0);
    b->SetGroupIndex(group);
    b->show();
    return b;
  }
  QWidget parent;
};

TEST_F(SpeedButtonTest, GlyphCountFromTheStripsShape) {
  TrpSpeedButton b;
  const struct {
    int width, height, count;
  } cases[] = {{16, 16, 1}, {32, 16, 2}, {48, 16, 3}, {64, 16, 4}, {80, 16, 1}, {30, 16, 1}};
  for (const auto& c : cases) {
    b.SetGlyph(QPixmap(c.width, c.height));
    EXPECT_EQ(b.NumGlyphs(), c.count) << c.width << "x" << c.height;
  }
}

TEST_F(SpeedButtonTest, ClickFiresOnlyWhenReleasedInside) {
  TrpSpeedButton* b = Button(0);
  int clicks = 0;
  b->OnClick = [&clicks] { ++clicks; };
  QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(b->State(), TrpSpeedButton::DrawState::Pressed);
  QMouseEvent move(QEvent::MouseMove, QPointF(40, 5), QPointF(40, 5), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(b, &move);
  EXPECT_EQ(b->State(), TrpSpeedButton::DrawState::Up);  // the state follows the pointer
  QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(40, 5));
  EXPECT_EQ(clicks, 0);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());  // without a group it comes up again

  b->setEnabled(false);
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(b->State(), TrpSpeedButton::DrawState::Disabled);
}

TEST_F(SpeedButtonTest, GroupedButtonsStayDownOneAtATime) {
  TrpSpeedButton* a = Button(0, 1);
  TrpSpeedButton* b = Button(30, 1);
  TrpSpeedButton* other = Button(60, 2);
  other->SetDown(true);
  QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(a->Down());
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(other->Down());  // another group is left alone
  // Without AllowAllUp the last one down stays down.
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(b->Down());
  b->SetAllowAllUp(true);
  b->SetDown(false);
  EXPECT_FALSE(b->Down());

  TrpSpeedButton* single = Button(90);
  single->SetDown(true);
  EXPECT_FALSE(single->Down());  // only grouped buttons go down
}

TEST_F(SpeedButtonTest, ImagesPerState) {
  TrpSpeedButton b;
  b.SetGlyph(Strip(1));
  const QImage up = b.GlyphFor(TrpSpeedButton::DrawState::Up).toImage();
  EXPECT_EQ(up.size(), QSize(16, 16));
  EXPECT_EQ(b.GlyphFor(TrpSpeedButton::DrawState::Pressed).toImage(), up);  // no down image: the up one
  const QImage disabled = b.GlyphFor(TrpSpeedButton::DrawState::Disabled).toImage();
  EXPECT_NE(disabled, up);
  EXPECT_EQ(QColor(disabled.pixel(8, 8)).red(), QColor(disabled.pixel(8, 8)).green());  // embossed, no colour
  const QImage grey = b.GlyphFor(TrpSpeedButton::DrawState::Inactive).toImage();
  EXPECT_EQ(grey.pixel(8, 8), TrpSpeedButton::Grey(qRgb(255, 0, 0)));
  EXPECT_EQ(qAlpha(grey.pixel(0, 0)), 0);  // transparent stays transparent

  b.SetGlyph(Strip(3));
  EXPECT_EQ(b.GlyphFor(TrpSpeedButton::DrawState::Disabled).toImage().pixel(8, 8), qRgb(0, 255, 0));
  EXPECT_EQ(b.GlyphFor(TrpSpeedButton::DrawState::Pressed).toImage().pixel(8, 8), qRgb(0, 0, 255));
  EXPECT_EQ(TrpSpeedButton::Grey(qRgb(255, 0, 0)), qRgb(76, 76, 76));
  EXPECT_EQ(TrpSpeedButton::Grey(qRgb(100, 100, 100)), qRgb(100, 100, 100));
}

TEST_F(SpeedButtonTest, FlatButtonShowsItsFrameOnlyWhileHot) {
  TrpSpeedButton* b = Button(0);
  b->SetFlat(true);
  b->SetGlyph(Strip(1));
  const QRgb face = b->palette().color(QPalette::Button).rgb();
  QImage cold = Painted(*b);
  EXPECT_EQ(cold.pixel(0, 0), face);
  EXPECT_EQ(cold.pixel(b->width() / 2, b->height() / 2), TrpSpeedButton::Grey(qRgb(255, 0, 0)));
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(b, &enter);
  const QImage hot = Painted(*b);
  EXPECT_NE(hot.pixel(0, 0), face);
  EXPECT_EQ(hot.pixel(b->width() / 2, b->height() / 2), qRgb(255, 0, 0));
}

TEST_F(SpeedButtonTest, ToolBarPiecesLineUpWithTheirBar) {
  QToolBar vertical;
  vertical.setOrientation(Qt::Vertical);
  auto* panel = new QWidget;
  vertical.addWidget(panel);
  auto* separator = new TrpTBSeparator(panel);
  auto* button = new TrpTBButton(panel);
  EXPECT_EQ(separator->Align(), TrpAlign::Top);
  EXPECT_EQ(button->Align(), TrpAlign::Top);
  EXPECT_TRUE(button->Flat());

  QWidget plain;
  separator->setParent(&plain);
  button->setParent(&plain);
  EXPECT_EQ(separator->Align(), TrpAlign::Left);
  EXPECT_EQ(button->Align(), TrpAlign::Left);
  EXPECT_EQ(separator->size(), QSize(8, 8));

  const QRgb shadow = separator->palette().color(QPalette::Dark).rgb();
  separator->SetAlign(TrpAlign::Left);
  EXPECT_EQ(Painted(*separator).pixel(3, 0), shadow);  // a vertical line
  separator->SetAlign(TrpAlign::Top);
  EXPECT_EQ(Painted(*separator).pixel(0, 3), shadow);  // a horizontal one
}

}  // namespace
