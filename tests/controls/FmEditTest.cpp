#include "controls/FmEdit.h"
#include "controls/FmFrameController.h"
#include "controls/FmNumEdit.h"
#include "QtPrinters.h"
#include "RecordingCanvas.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// A window with the numeric edit and a second edit to move the focus to.
class EditWindow : public ::testing::Test {
protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    edit = new TFmNumericEdit;
    other = new QLineEdit;
    layout->addWidget(edit);
    layout->addWidget(other);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  // Types into the edit as a user would and leaves it.
  void TypeAndLeave(const QString& typed) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    other->setFocus();
  }

  FakeDesktop desktop;
  QWidget window;
  TFmNumericEdit* edit = nullptr;
  QLineEdit* other = nullptr;
};

TEST_F(EditWindow, TypedTextMaskAndLocaleGiveTheShownTextAndValue) {
  const struct {
    const char* typed;
    const char* mask;
    QLocale::Language language;
    double min, max;
    bool integersOnly;
    const char* shown;
    double value;
  } cases[] = {
      {"0", "0", QLocale::English, 1, 999, true, "1", 1},          // raised to Min on leaving
      {"5000", "0", QLocale::English, 1, 999, true, "999", 999},   // lowered to Max
      {"-5", "0;(0)", QLocale::English, 0, 0, true, "(5)", -5},    // Min = Max = 0: no range
      {"-1234567", ",0;(,0)", QLocale::English, 0, 0, true, "(1,234,567)", -1234567},
      {"12a3", "0", QLocale::English, 0, 0, true, "123", 123},     // the letter is refused
      {"1.5", "0", QLocale::English, 0, 0, true, "15", 15},        // whole numbers only
      {"1234,5", "#,##0.00", QLocale::German, 0, 0, false, "1.234,50", 1234.5},
      {"1234.5", "#,##0.00", QLocale::English, 0, 0, false, "1,234.50", 1234.5},
      {"", "0", QLocale::English, 3, 9, true, "3", 3},
  };
  for (const auto& c : cases) {
    edit->setLocale(QLocale(c.language));
    edit->SetMin(c.min);
    edit->SetMax(c.max);
    edit->SetIntegersOnly(c.integersOnly);
    edit->SetDisplayFormat(QString::fromUtf8(c.mask));
    TypeAndLeave(QString::fromUtf8(c.typed));
    EXPECT_EQ(edit->text(), QString::fromUtf8(c.shown)) << c.typed << " with " << c.mask;
    EXPECT_DOUBLE_EQ(edit->Value(), c.value) << c.typed << " with " << c.mask;
  }
}

TEST_F(EditWindow, RefusedKeysBeep) {
  edit->SetIntegersOnly(false);
  edit->SetDisplayFormat(QStringLiteral("0.00"));
  edit->setFocus();
  edit->setText(QStringLiteral("1.5"));
  desktop.Clear();
  QTest::keyClick(edit, '.');
  EXPECT_EQ(edit->text(), "1.5");
  EXPECT_EQ(desktop.Log(), QStringList{"beep"});
  // A selection over the separator lets a new one replace it.
  edit->setSelection(1, 1);
  QTest::keyClick(edit, '.');
  EXPECT_EQ(edit->text(), "1.5");
  edit->setSelection(1, 2);
  QTest::keyClick(edit, '.');
  EXPECT_EQ(edit->text(), "1.");
  EXPECT_EQ(desktop.Log(), QStringList{"beep"});
  QTest::keyClick(edit, Qt::Key_Return);  // Enter is no number either
  EXPECT_EQ(desktop.Log(), (QStringList{"beep", "beep"}));
}

TEST_F(EditWindow, ReadingTheValueClampsWithoutLeaving) {
  edit->SetMin(1);
  edit->SetMax(999);
  edit->setFocus();
  edit->setText(QStringLiteral("5000"));
  EXPECT_EQ(edit->Value(), 999);  // what a default button would read
  edit->setText(QString());
  EXPECT_EQ(edit->Value(), 1);
  EXPECT_EQ(edit->text(), "1");  // an empty edit shows Min once read
  edit->setText(QStringLiteral("-"));
  EXPECT_EQ(edit->Value(), 1);  // no number: Min, with a beep
  EXPECT_EQ(desktop.Calls("beep").size(), 1);
}

TEST_F(EditWindow, ValueRangeAndFormatSetters) {
  edit->SetMin(10);
  edit->SetMax(5);  // below Min: Min follows
  EXPECT_EQ(edit->Min(), 5);
  edit->SetMin(20);  // above Max: Max follows
  EXPECT_EQ(edit->Max(), 20);

  edit->SetMin(0);
  edit->SetMax(0);
  edit->SetIntegersOnly(false);
  edit->SetDisplayFormat(QStringLiteral("0.0"));
  edit->SetValue(2.5);
  EXPECT_EQ(edit->text(), "2.5");
  edit->setText(QStringLiteral("2.50"));
  edit->SetValue(2.5);  // the text reads as 2.5 already: left as typed
  EXPECT_EQ(edit->text(), "2.50");
  edit->SetIntegersOnly(true);  // rounds, halves to even
  EXPECT_EQ(edit->text(), "2.0");
  EXPECT_EQ(edit->AsInteger(), 2);
  edit->SetDisplayFormat(QStringLiteral("0 'x'"));
  EXPECT_EQ(edit->text(), "2 x");
}

TEST_F(EditWindow, LeavingTellsWhetherTheValueChanged) {
  edit->SetMin(1);
  edit->SetMax(9);
  TypeAndLeave(QStringLiteral("5"));
  EXPECT_TRUE(edit->ValueChangedOnExit());
  edit->setFocus();
  other->setFocus();
  EXPECT_FALSE(edit->ValueChangedOnExit());
}

TEST_F(EditWindow, TabOnEnterMovesTheFocusOn) {
  edit->SetTabOnEnter(true);
  edit->setFocus();
  desktop.Clear();
  QTest::keyClick(edit, Qt::Key_Return);
  QCoreApplication::sendPostedEvents();
  EXPECT_TRUE(other->hasFocus());
  EXPECT_TRUE(desktop.Log().isEmpty());
}

TEST(FmNumericEditInDialog, EnterGoesToTheDefaultButtonWithoutABeep) {
  FakeDesktop desktop;
  QDialog dialog;
  auto* edit = new TFmNumericEdit(&dialog);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(desktop.Log().isEmpty());
}

class FlatFrame : public EditWindow {
protected:
  DistinctPalette palette;
};

TEST_F(FlatFrame, StyleFollowsFocusAndPointer) {
  int enters = 0, leaves = 0;
  edit->OnMouseEnter = [&enters] { ++enters; };
  edit->OnMouseLeave = [&leaves] { ++leaves; };
  other->setFocus();
  edit->SetFrameSides(TSides(sdLeft));
  edit->SetFrameFlat(true);
  EXPECT_TRUE(edit->FrameVisible());
  EXPECT_EQ(edit->FrameSides(), AllSides);
  EXPECT_EQ(edit->FrameStyle(), fsStatus);
  EXPECT_EQ(edit->CurrentFrameStyle(), fsStatus);
  edit->setFocus();
  EXPECT_EQ(edit->CurrentFrameStyle(), fsLowered);
  other->setFocus();
  EXPECT_EQ(edit->CurrentFrameStyle(), fsStatus);
  QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), QPointF(3, 3));
  QApplication::sendEvent(edit, &enter);
  EXPECT_EQ(edit->CurrentFrameStyle(), fsLowered);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(edit, &leave);
  EXPECT_EQ(edit->CurrentFrameStyle(), fsStatus);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(edit->contentsMargins(), QMargins(2, 2, 2, 2));
}

TEST_F(FlatFrame, PaintsItsFrameInTheOuterPixels) {
  edit->resize(6, 5);
  edit->SetFrameVisible(true);
  edit->SetFrameStyle(fsFlat);
  edit->SetFrameColor(QColor(0xffa0a000));
  edit->SetColor(QColor(0xfff0f0ff));
  GridCanvas canvas(6, 5, DistinctPalette::Legend());
  edit->PaintFrame(canvas);
  EXPECT_EQ(canvas.Rows(), (QStringList{"PPPPPP", "PWWWWP", "PW..WP", "PWWWWP", "PPPPPP"}));
}

TEST(FmFrameController, PushesSettingsToRegisteredEditsByName) {
  TFmCustomEdit first, second, optedOut;
  optedOut.SetUseFrameController(false);
  QObject plain;  // no frame properties at all: every setting is skipped
  {
    TFmFrameController controller;
    controller.SetFrameVisible(true);
    controller.SetFrameStyle(fsGroove);
    first.SetFrameController(&controller);
    EXPECT_TRUE(first.FrameVisible());
    EXPECT_EQ(first.FrameStyle(), fsGroove);
    EXPECT_EQ(first.Color(), controller.Color());

    second.SetFrameController(&controller);
    optedOut.SetFrameController(&controller);
    controller.Register(&plain);
    controller.SetFrameColor(Qt::red);
    EXPECT_EQ(first.FrameColor(), QColor(Qt::red));
    EXPECT_EQ(second.FrameColor(), QColor(Qt::red));
    EXPECT_NE(optedOut.FrameColor(), QColor(Qt::red));

    controller.BeginUpdate();
    controller.SetFrameSides(TSides(sdTop));
    EXPECT_EQ(first.FrameSides(), AllSides);  // held back while locked
    controller.EndUpdate();
    EXPECT_EQ(first.FrameSides(), TSides(sdTop));

    controller.SetParentColor(true);
    controller.SetColor(Qt::yellow);
    EXPECT_NE(first.Color(), QColor(Qt::yellow));  // the parent's colour wins

    {
      TFmCustomEdit shortLived;
      shortLived.SetFrameController(&controller);
      EXPECT_TRUE(controller.IsRegistered(&shortLived));
    }
    controller.SetFrameStyle(fsBump);  // the destroyed edit is gone from the list
    EXPECT_EQ(first.FrameStyle(), fsBump);
  }
  EXPECT_EQ(first.FrameController(), nullptr);  // a freed controller is forgotten
}

}  // namespace
