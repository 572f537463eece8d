#include "platform/Desktop.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"

#include <QPushButton>
#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cmath>
#include "support/WaveFile.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {


// Tests of the real desktop, which every other test keeps out of reach.
class SessionDesktop : public ::testing::Test {
  SessionDesktopScope session_;
};

}  // namespace

TEST_F(SessionDesktop, PlaySoundFileReturnsWhenTheSoundHasEnded) {
  TempDir dir;
  const QString wave = dir.File("tone.wav");
  ASSERT_TRUE(WriteToneWave(wave, 0.2));
  QElapsedTimer clock;
  clock.start();
  const bool played = Desktop().PlaySoundFile(wave);
  if (!played) GTEST_SKIP() << "no sound server: the file was refused quietly";
  EXPECT_GE(clock.elapsed(), 150) << "returned before the sound had ended";
}

TEST_F(SessionDesktop, UnplayableSoundFilesAreRefusedQuietly) {
  TempDir dir;
  WriteAll(dir.File("garbage.wav"), "not a sound at all");
  EXPECT_FALSE(Desktop().PlaySoundFile(dir.File("missing.wav")));
  EXPECT_FALSE(Desktop().PlaySoundFile(dir.File("garbage.wav")));
  EXPECT_FALSE(Desktop().PlaySoundFile(QString()));
  Desktop().Beep();  // without a sound server: nothing, and no crash
}

TEST_F(SessionDesktop, OpeningAMissingLocalFileFailsWithoutStartingAnything) {
  TempDir dir;
  EXPECT_FALSE(Desktop().OpenUrl(dir.File("no such file.txt")));
  EXPECT_FALSE(Desktop().OpenUrl(QUrl::fromLocalFile(dir.File("gone.txt")).toString()));
}

TEST(DocumentUrl, SchemesWebAddressesAndLocalFiles) {
  const QString here = QDir::currentPath();
  const struct {
    QString text;
    QUrl url;
  } cases[] = {
      {"https://example.org/a?b=1", QUrl("https://example.org/a?b=1")},
      {"mailto:someone@example.org", QUrl("mailto:someone@example.org")},
      {"www.example.org", QUrl("http://www.example.org")},
      {"/tmp/a b.txt", QUrl::fromLocalFile("/tmp/a b.txt")},
      {"notes/today.txt", QUrl::fromLocalFile(here + "/notes/today.txt")},
      {"c:report.txt", QUrl::fromLocalFile(here + "/c:report.txt")},
      {"", QUrl()},
  };
  for (const auto& c : cases) EXPECT_EQ(DocumentUrl(c.text), c.url) << c.text.toStdString();
}

TEST_F(SessionDesktop, MessageBoxShowsCaptionTextIconAndReturnsTheButton) {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButton initialDefault = QMessageBox::NoButton;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    caption = box->windowTitle();
    text = box->text();
    icon = box->icon();
    initialDefault = box->standardButton(box->defaultButton());
    box->button(QMessageBox::No)->click();
  });
  const auto answer = Desktop().MessageBox("Message", "Delete the task?", QMessageBox::Question,
                                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  EXPECT_EQ(answer, QMessageBox::No);
  EXPECT_EQ(caption, "Message");
  EXPECT_EQ(text, "Delete the task?");
  EXPECT_EQ(icon, QMessageBox::Question);
  EXPECT_EQ(initialDefault, QMessageBox::No);
}

TEST_F(SessionDesktop, WaitCursorAndScreen) {
  {
    ScopedWaitCursor wait;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  Desktop().SetWaitCursor(false);  // an unmatched "off" takes away nobody else's cursor
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  const QSize screen = Desktop().ScreenSize();
  EXPECT_GT(screen.width(), 0);
  EXPECT_GT(screen.height(), 0);
}

TEST_F(SessionDesktop, BringToFrontRestoresAMinimisedWindow) {
  QWidget window;
  window.showMinimized();
  ASSERT_TRUE(window.isMinimized());
  Desktop().BringToFront(&window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  Desktop().BringToFront(nullptr);
}

TEST(FakeDesktop, StandsInForItsLifetimeAndNests) {
  DesktopServices* before = &Desktop();
  {
    FakeDesktop outer;
    EXPECT_EQ(&Desktop(), &outer);
    {
      FakeDesktop inner;
      EXPECT_EQ(&Desktop(), &inner);
      Desktop().Beep();
      EXPECT_EQ(inner.Log(), QStringList{"beep"});
    }
    EXPECT_EQ(&Desktop(), &outer);
    EXPECT_TRUE(outer.Log().isEmpty());
  }
  EXPECT_EQ(&Desktop(), before);
}

TEST(FakeDesktop, AnswersMessagesFromItsScript) {
  FakeDesktop desktop;
  desktop.messageAnswers = {QMessageBox::Yes, QMessageBox::No};
  desktop.messageResult = QMessageBox::Cancel;
  const auto ask = [] { return Desktop().MessageBox("Message", "Sure?", QMessageBox::Question, QMessageBox::Yes | QMessageBox::No); };
  EXPECT_EQ(ask(), QMessageBox::Yes);
  EXPECT_EQ(ask(), QMessageBox::No);
  EXPECT_EQ(ask(), QMessageBox::Cancel);
  EXPECT_EQ(desktop.Calls("message:").size(), 3);
  EXPECT_EQ(desktop.Messages().back().icon, QMessageBox::Question);
}

TEST(ScopedWaitCursor, IsTakenAwayWhenAnErrorLeavesTheScope) {
  FakeDesktop desktop;
  try {
    ScopedWaitCursor wait;
    throw std::runtime_error("failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(desktop.Log(), (QStringList{"wait:on", "wait:off"}));
  EXPECT_EQ(desktop.WaitDepth(), 0);
}
