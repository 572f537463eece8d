// The notebook as the user sees it: six pages in two rows of tabs, the fourth page
// current, compared pixel by pixel with the reference picture.
#include "controls/clnbk.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// Largest difference of any colour channel between two pixels.
int ChannelDifference(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Fails with the first pixel that differs by more than `tolerance` in a channel; a
// picture that differs is written to the screenshots folder for a look.
void ExpectMatchesReference(const QImage& actual, const QString& name, int tolerance = 8) {
  const QString golden = QStringLiteral(VELMORA_CONTROLS_GOLDEN_DIR "/") + name;
  const QImage expected = QImage(golden).convertToFormat(QImage::Format_RGB32);
  const QImage shot = actual.convertToFormat(QImage::Format_RGB32);
  auto keep = [&] {
    QDir().mkpath(QStringLiteral(VELMORA_CONTROLS_ACTUAL_DIR));
    shot.save(QStringLiteral(VELMORA_CONTROLS_ACTUAL_DIR "/") + name);
  };
  if (expected.isNull()) {
    keep();
    FAIL() << "no reference picture " << golden.toStdString() << "; the one painted now is in "
           << VELMORA_CONTROLS_ACTUAL_DIR;
  }
  ASSERT_EQ(shot.size(), expected.size());
  for (int y = 0; y < shot.height(); ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if (ChannelDifference(shot.pixel(x, y), expected.pixel(x, y)) > tolerance) {
        keep();
        FAIL() << "pixel (" << x << ", " << y << ") differs; the picture painted now is in "
               << VELMORA_CONTROLS_ACTUAL_DIR;
      }
    }
  }
}

TEST(ClNotebookScreenshot, SixPagesInTwoRows) {
  QWidget form;
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(11);
  form.setFont(font);
  form.setPalette(QPalette(QColor(0xd4, 0xd0, 0xc8)));
  auto* layout = new QVBoxLayout(&form);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* notebook = new TClNotebook(&form);
  layout->addWidget(notebook);
  notebook->BeginLoading();
  const QStringList captions{"&General", "Reminder", "&Link", "Recurring", "Printer", "Colors"};
  for (const QString& caption : captions) {
    auto* page = new TClTabPage(notebook);
    page->SetCaption(caption);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(new QLabel(caption.mid(caption.startsWith('&') ? 1 : 0) + QStringLiteral(":"), page));
    pageLayout->addWidget(new QLineEdit(page));
    pageLayout->addStretch();
  }
  notebook->SetTabRowCount(2);
  notebook->SetDefaultPageIndex(3);
  notebook->EndLoading();
  notebook->PageAt(4)->SetEnabled(false);
  form.resize(300, 200);
  form.show();

  ASSERT_EQ(notebook->TabRows(), 2);
  ExpectMatchesReference(form.grab().toImage(), QStringLiteral("notebook_six_pages_two_rows.png"));
}

}  // namespace
