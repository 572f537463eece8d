// The notebook as the user sees it: six pages in two rows of tabs, the fourth page
// current and the fifth disabled, compared with its reference picture.
#include "Screenshot.h"
#include "controls/clnbk.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

TEST(ClNotebookScreenshot, SixPagesInTwoRows) {
  QWidget form;
  form.setFont(screenshot::FixedFont(11));
  form.setPalette(QPalette(QColor(0xd4, 0xd0, 0xc8)));
  auto* layout = new QVBoxLayout(&form);
  layout->setContentsMargins(6, 6, 6, 6);
  auto* notebook = new TClNotebook(&form);
  layout->addWidget(notebook);
  notebook->BeginLoading();
  for (const QString caption : {"&General", "Reminder", "&Link", "Recurring", "Printer", "Colors"}) {
    auto* page = new TClTabPage(notebook);
    page->SetCaption(caption);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(new QLabel(QString(caption).remove('&') + QStringLiteral(":"), page));
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
  EXPECT_TRUE(screenshot::MatchesGolden(form, QStringLiteral("notebook-six-pages")));
}

}  // namespace
