// The program's help: every context it asks for opens a page of its own help, at an
// anchor that page has, and the help window moves back, forward and to the contents.
#include "support/FakeDesktop.h"
#include "ui/TdHelpContexts.h"
#include "ui/TdHelpWindow.h"

#include <QFile>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

TEST(HelpPages, EveryContextOpensAPageAndAnchorThatExist) {
  QSet<int> seen;
  for (const THelpTopic& topic : kHelpTopics) {
    SCOPED_TRACE(topic.Context);
    EXPECT_FALSE(seen.contains(topic.Context)) << "listed twice";
    seen.insert(topic.Context);
    const QUrl url(HelpTopicUrl(topic.Context));
    QFile page(QLatin1Char(':') + url.path());
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << url.toString().toStdString();
    const QByteArray html = page.readAll();
    EXPECT_TRUE(html.contains("<title>"));
    if (url.hasFragment()) {
      EXPECT_TRUE(html.contains("id=\"" + url.fragment().toUtf8() + "\"")) << url.fragment().toStdString();
    }
  }
  EXPECT_TRUE(seen.contains(kHelpContents));
  EXPECT_TRUE(seen.contains(kHelpMainWindow));
}

TEST(HelpPages, AnUnknownContextOpensTheContents) {
  EXPECT_EQ(HelpTopicUrl(999), QStringLiteral("qrc:/help/index.html"));
}

TEST(HelpWindow, GoesToTheTopicBackForwardAndToTheContents) {
  TTdHelpWindow window;
  window.ShowContext(61);
  EXPECT_EQ(window.Browser()->source(), QUrl(QStringLiteral("qrc:/help/task.html#reminder")));
  EXPECT_TRUE(window.Browser()->toPlainText().contains(QStringLiteral("Reminder")));
  EXPECT_FALSE(window.BackButton()->isEnabled());

  QTest::mouseClick(window.ContentsButton(), Qt::LeftButton);
  EXPECT_EQ(window.Browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
  ASSERT_TRUE(window.BackButton()->isEnabled());
  QTest::mouseClick(window.BackButton(), Qt::LeftButton);
  EXPECT_EQ(window.Browser()->source().path(), QStringLiteral("/help/task.html"));
  ASSERT_TRUE(window.ForwardButton()->isEnabled());
  QTest::mouseClick(window.ForwardButton(), Qt::LeftButton);
  EXPECT_EQ(window.Browser()->source(), QUrl(QStringLiteral("qrc:/help/index.html")));
}
