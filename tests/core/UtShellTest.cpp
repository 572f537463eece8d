#include "core/UtShell.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

TEST(OpenDocument, BeepsOnceOnFailureAndOnlyThen) {
  const struct {
    QString text;
    bool opens;
    QStringList log;
  } cases[] = {
      {"", false, {}},
      {"", true, {}},
      {"/home/anna/plan.txt", true, {"open:/home/anna/plan.txt"}},
      {"https://example.org", false, {"open:https://example.org", "beep"}},
  };
  for (const auto& c : cases) {
    FakeDesktop desktop;
    desktop.openResult = c.opens;
    OpenDocument(c.text);
    EXPECT_EQ(desktop.Log(), c.log) << c.text.toStdString();
  }
}

TEST(OpenDocument, PassesOnAtMost1023Characters) {
  FakeDesktop desktop;
  const QString text = "/" + QString(1999, 'a');
  OpenDocument(text);
  const QStringList opened = desktop.Calls("open:");
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0], "open:" + text.left(1023));
}

TEST(GetFileIcon, AnIconFileIsItsOwnIcon) {
  TempDir dir;
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(dir.File("green.ico"), "PNG"));  // read by content, not by name
  QIcon large, small;
  ASSERT_TRUE(GetFileIcon(dir.File("green.ico"), &large, &small));
  EXPECT_EQ(large.pixmap(32, 32).toImage().pixelColor(16, 16), QColor(Qt::green));
  EXPECT_EQ(small.pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
}

TEST(GetFileIcon, EveryOtherFileGetsSomeIcon) {
  TempDir dir;
  WriteAll(dir.File("broken.ico"), "not an icon");
  for (const QString& name : {dir.File("broken.ico"), QString("/nowhere/letter.txt"), QString("/nowhere/setup.EXE"),
                              QString("/nowhere/no-extension"), QString()}) {
    QIcon large, small;
    EXPECT_TRUE(GetFileIcon(name, &large, &small)) << name.toStdString();
    EXPECT_FALSE(large.isNull());
    EXPECT_FALSE(small.isNull());
  }
  EXPECT_TRUE(GetFileIcon("/nowhere/letter.txt", nullptr, nullptr));
}
