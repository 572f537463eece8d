#include "platform/Desktop.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"

#include <QMessageBox>
#include <QPushButton>
#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QEventLoop>
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

// Starts a sound and runs the event loop until its end is reported (the guard only
// keeps a broken test from hanging). The report, and whether it came from inside the call.
struct SoundEnd {
  bool played = false;
  bool reported = false;
  bool duringTheCall = false;
};

SoundEnd PlayAndWait(const QString& path, const std::function<void()>& whilePlaying = {}) {
  SoundEnd end;
  bool inCall = true;
  QEventLoop loop;
  Desktop().PlaySoundFile(path, [&](bool played) {
    end = {played, true, inCall};
    loop.quit();
  });
  inCall = false;
  if (whilePlaying) whilePlaying();
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);
  if (!end.reported) loop.exec();
  return end;
}

}  // namespace

TEST_F(SessionDesktop, ASoundFilePlaysWhileTheLoopGoesOnAndReportsItsEnd) {
  TempDir dir;
  const QString wave = dir.File("tone.wav");
  ASSERT_TRUE(WriteToneWave(wave, 0.2));
  // The end is the event itself: reported once, later, through the event loop, as played
  // to its end (a stopped or refused sound reports false).
  const SoundEnd end = PlayAndWait(wave);
  ASSERT_TRUE(end.reported);
  EXPECT_FALSE(end.duringTheCall);
  if (!end.played) GTEST_SKIP() << "no sound server: the file was refused quietly";
}

TEST_F(SessionDesktop, StoppingEndsASoundEarly) {
  TempDir dir;
  const QString wave = dir.File("long.wav");
  ASSERT_TRUE(WriteToneWave(wave, 30));
  const SoundEnd end = PlayAndWait(wave, [] { Desktop().StopSounds(); });
  ASSERT_TRUE(end.reported);
  EXPECT_FALSE(end.played);
}

TEST_F(SessionDesktop, UnplayableSoundFilesAreRefusedQuietly) {
  TempDir dir;
  WriteAll(dir.File("garbage.wav"), "not a sound at all");
  for (const QString& path : {dir.File("missing.wav"), dir.File("garbage.wav"), QString()}) {
    const SoundEnd end = PlayAndWait(path);
    EXPECT_TRUE(end.reported) << path.toStdString();
    EXPECT_FALSE(end.played) << path.toStdString();
    EXPECT_FALSE(end.duringTheCall) << path.toStdString();
  }
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
  const auto answer = Desktop().MessageBox("Message", "Delete the task?", Msg::Question, Msg::Yes | Msg::No, Msg::No);
  EXPECT_EQ(answer, Msg::No);
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
  desktop.messageAnswers = {Msg::Yes, Msg::No};
  desktop.messageResult = Msg::Cancel;
  const auto ask = [] { return Desktop().MessageBox("Message", "Sure?", Msg::Question, Msg::Yes | Msg::No); };
  EXPECT_EQ(ask(), Msg::Yes);
  EXPECT_EQ(ask(), Msg::No);
  EXPECT_EQ(ask(), Msg::Cancel);
  EXPECT_EQ(desktop.Calls("message:").size(), 3);
  EXPECT_EQ(desktop.Messages().back().icon, Msg::Question);
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
