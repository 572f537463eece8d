// One picture per control, compared with its reference: the frames, text styles and
// colours as a user sees them.
#include "Screenshot.h"
#include "controls/FmEdit.h"
#include "controls/FmLabel.h"
#include "controls/FmNumEdit.h"
#include "controls/FmPanel.h"
#include "controls/FmSplit.h"
#include "controls/clurl.h"

#include <QHBoxLayout>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using screenshot::FixedFont;
using screenshot::MatchesGolden;

class Screenshot : public ::testing::Test {
protected:
  void SetUp() override {
    host.setFont(FixedFont());
    host.setAutoFillBackground(true);
  }
  QWidget host;
};

TEST_F(Screenshot, FramedPanels) {
  host.resize(260, 60);
  const struct {
    TFrameStyle outer, inner;
    int width;
    bool enabled;
    QString caption;
  } panels[] = {
      {fsRaised, fsNone, 0, true, "Raised"},
      {fsGroove, fsLowered, 2, true, "Groove"},
      {fsButtonUp, fsFlat, 1, false, "Disabled"},
  };
  int x = 5;
  for (const auto& p : panels) {
    auto* panel = new TFmCustomPanel(&host);
    panel->setGeometry(x, 5, 80, 50);
    panel->SetBorderOuter(p.outer);
    panel->SetBorderInner(p.inner);
    panel->SetBorderWidth(p.width);
    panel->SetCaption(p.caption);
    panel->setEnabled(p.enabled);
    x += 85;
  }
  EXPECT_TRUE(MatchesGolden(host, QStringLiteral("panels")));
}

TEST_F(Screenshot, SplitterWithHotSpot) {
  host.resize(200, 140);
  auto* splitter = new TFmSplitter(&host);
  splitter->setGeometry(0, 0, 200, 140);
  splitter->SetOrientation(orVertical);
  splitter->SetSplitterStyle(ssBump);
  splitter->SetHotSpotVisible(true);
  splitter->SetBorderOuter(fsLowered);
  splitter->SetPosition(60);
  splitter->UpperLeft()->SetColor(Qt::white);
  splitter->UpperLeft()->SetCaption(QStringLiteral("Tasks"));
  splitter->LowerRight()->SetCaption(QStringLiteral("Notes"));
  EXPECT_TRUE(MatchesGolden(host, QStringLiteral("splitter")));
}

TEST_F(Screenshot, SplitterDragBarFollowsThePointer) {
  host.resize(200, 80);
  auto* splitter = new TFmSplitter(&host);
  splitter->setGeometry(0, 0, 200, 80);
  splitter->SetPosition(60);
  splitter->UpperLeft()->SetColor(Qt::white);
  host.show();
  QTest::mousePress(splitter, Qt::LeftButton, {}, QPoint(61, 10));
  QTest::mouseMove(splitter, QPoint(121, 10));
  EXPECT_TRUE(MatchesGolden(host, QStringLiteral("splitter-drag")));
  QTest::mouseRelease(splitter, Qt::LeftButton, {}, QPoint(121, 10));
}

TEST_F(Screenshot, LabelTextStyles) {
  host.resize(300, 110);
  const struct {
    TFmTextStyle style;
    int angle;
    QPoint at;
  } labels[] = {{tsRaised, 0, {5, 5}}, {tsRecessed, 0, {5, 35}}, {tsShadow, 0, {5, 65}}, {tsNormal, 30, {170, 5}}};
  for (const auto& l : labels) {
    auto* label = new TFmLabel(&host);
    label->move(l.at);
    label->SetLabelFont(FixedFont(19, true));
    label->SetFontColor(QColor(0x30, 0x60, 0xc0));
    label->SetTextStyle(l.style);
    label->SetAngle(l.angle);
    label->SetCaption(QStringLiteral("Velmora"));
  }
  EXPECT_TRUE(MatchesGolden(host, QStringLiteral("labels")));
}

TEST_F(Screenshot, FramedAndNumericEdits) {
  host.resize(250, 40);
  auto* layout = new QHBoxLayout(&host);
  auto* flat = new TFmCustomEdit;
  flat->SetFrameVisible(true);
  flat->setText(QStringLiteral("Flat"));
  auto* lowered = new TFmCustomEdit;
  lowered->SetFrameVisible(true);
  lowered->SetFrameStyle(fsLowered);
  lowered->setText(QStringLiteral("Lowered"));
  auto* numeric = new TFmNumericEdit;
  numeric->SetFrameVisible(true);
  numeric->SetFrameStyle(fsRaised);
  numeric->SetColor(QColor(255, 250, 200));
  numeric->SetValue(-12345);
  for (QWidget* w : {static_cast<QWidget*>(flat), static_cast<QWidget*>(lowered), static_cast<QWidget*>(numeric)}) {
    w->setFixedSize(75, 22);
    layout->addWidget(w);
  }
  EXPECT_TRUE(MatchesGolden(host, QStringLiteral("edits")));
}

TEST_F(Screenshot, LinkLabel) {
  host.resize(160, 24);
  auto* link = new TClURL(&host);
  link->move(5, 4);
  link->SetFontColor(Qt::black);
  link->SetCaption(QStringLiteral("www.example.org"));
  EXPECT_TRUE(MatchesGolden(host, QStringLiteral("link")));
}

}  // namespace
