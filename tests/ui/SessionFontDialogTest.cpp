// The desktop's font dialog chooses the text colour too, through a button of its own.
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QPushButton* ButtonWithText(QWidget* dialog, const QString& text) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->text() == text) return button;
  return nullptr;
}

TEST(SessionFontDialogTest, TheColourButtonChoosesTheTextColour) {
  SessionDesktopScope session;
  QFont font(QStringLiteral("DejaVu Sans"), 9);
  QColor color(Qt::black);
  bool sawColourDialog = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    auto* fonts = dialog->findChild<QFontDialog*>();
    ASSERT_NE(fonts, nullptr);
    QFont larger = fonts->currentFont();
    larger.setPointSize(14);
    fonts->setCurrentFont(larger);
    QPushButton* colourButton = ButtonWithText(dialog, QStringLiteral("&Color..."));
    ASSERT_NE(colourButton, nullptr);
    QTimer::singleShot(0, [&] {
      auto* colours = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(colours, nullptr);
      sawColourDialog = true;
      colours->setCurrentColor(QColor(0, 0, 255));
      colours->accept();
    });
    colourButton->click();
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  ASSERT_TRUE(Desktop().ChooseFont(font, color, QStringLiteral("Font")));
  EXPECT_TRUE(sawColourDialog);
  EXPECT_EQ(font.pointSize(), 14);
  EXPECT_EQ(color, QColor(0, 0, 255));
}

TEST(SessionFontDialogTest, CancelChangesNothing) {
  SessionDesktopScope session;
  QFont font(QStringLiteral("DejaVu Sans"), 9);
  QColor color(Qt::red);
  QTimer::singleShot(0, [] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
  });
  EXPECT_FALSE(Desktop().ChooseFont(font, color, QStringLiteral("Font")));
  EXPECT_EQ(color, QColor(Qt::red));
  EXPECT_EQ(font.pointSize(), 9);
}

}  // namespace
