// How the program ends when it is asked to by a signal in the middle of a reminder pass
// with many reminders due: promptly, with no further reminder, its data saved, and with
// a failure code when that last save fails.
#include "core/BTodo.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <csignal>

#include <gtest/gtest.h>

namespace {

constexpr int kDueReminders = 1500;
// Only keeps a broken run from hanging the suite; a sound run ends long before.
constexpr int kGuardMs = 120000;

class ProgramEndTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(DataFolder()));
    ASSERT_TRUE(QDir().mkpath(runtime_.Path() + "/run"));
    QFile::setPermissions(runtime_.Path() + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                        QFileDevice::ExeOwner);
    TTdTodoHandler store(DataFolder() + "todo.tbl");
    for (int i = 0; i < kDueReminders; ++i) {
      TTdTodo& task = *store.AddTodo();
      task.ID = ++store.LastId;
      task.Title = QStringLiteral("Reminder %1").arg(i);
      task.Status = tsOpen;
      task.ReminderType = 3;  // speech
      task.SetReminderActivated(true);
      task.ReminderDateTime = DateTime::Now() - 1;
    }
    store.SetModified(true);
    store.Save();
  }

  QString DataFolder() const { return data_.Path() + "/velmora/"; }

  // Starts the program, waits for its first reminder window, then sends the signal.
  void RunAndInterrupt(const char* voice, const std::function<void()>& beforeSignal = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // A channel of its own, so parallel runs of the suite do not meet.
    env.insert("XDG_RUNTIME_DIR", runtime_.Path() + "/run");
    program_.setProcessEnvironment(env);
    program_.setProcessChannelMode(QProcess::SeparateChannels);
    program_.start(QStringLiteral(PROGRAM_END_HELPER), {DataFolder(), QString::fromLatin1(voice)});
    ASSERT_TRUE(program_.waitForStarted(kGuardMs));
    ASSERT_TRUE(WaitForLine(QStringLiteral("window 1"))) << "no reminder window came up";
    if (beforeSignal) beforeSignal();
    ::kill(static_cast<pid_t>(program_.processId()), SIGTERM);
    ASSERT_TRUE(program_.waitForFinished(kGuardMs)) << "the program did not end";
    output_ += QString::fromLocal8Bit(program_.readAllStandardOutput());
    errors_ = QString::fromLocal8Bit(program_.readAllStandardError());
  }

  bool WaitForLine(const QString& line) {
    while (!output_.split('\n').contains(line)) {
      if (!program_.waitForReadyRead(kGuardMs)) return false;
      output_ += QString::fromLocal8Bit(program_.readAllStandardOutput());
    }
    return true;
  }

  int WindowsShown() const { return output_.count(QRegularExpression("^window ", QRegularExpression::MultilineOption)); }

  TempDir data_;
  TempDir runtime_;
  QProcess program_;
  QString output_;
  QString errors_;
};

}  // namespace

TEST_F(ProgramEndTest, ASignalEndsThePassAtOnceAndTheDataIsSaved) {
  RunAndInterrupt("fake");
  EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_.exitCode(), 0) << errors_.toStdString();
  EXPECT_EQ(WindowsShown(), 1) << "no reminder after the signal";

  EXPECT_TRUE(output_.contains("spoken 1\n")) << output_.toStdString();

  TTdTodoHandler saved(DataFolder() + "todo.tbl");
  saved.Load();
  ASSERT_EQ(saved.TaskCount(), kDueReminders);
  EXPECT_TRUE(saved.GetTodo(0)->ReminderGiven()) << "the shown reminder was saved as given";
  EXPECT_FALSE(saved.GetTodo(1)->ReminderGiven());
}

TEST_F(ProgramEndTest, WithTheRealSynthesiserTheEndIsPromptToo) {
  RunAndInterrupt("real");
  EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_.exitCode(), 0) << errors_.toStdString();
  EXPECT_EQ(WindowsShown(), 1);
  TTdTodoHandler saved(DataFolder() + "todo.tbl");
  saved.Load();
  EXPECT_TRUE(saved.GetTodo(0)->ReminderGiven());
}

TEST_F(ProgramEndTest, ALastSaveThatFailsGivesAFailureCodeAndItsMessageOnStandardError) {
  RunAndInterrupt("fake", [this] {
    // The task file can no longer be replaced.
    ASSERT_TRUE(QFile::remove(DataFolder() + "todo.tbl"));
    ASSERT_TRUE(QDir().mkpath(DataFolder() + "todo.tbl/blocked"));
  });
  EXPECT_EQ(program_.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program_.exitCode(), 1);
  EXPECT_TRUE(errors_.contains("todo.tbl")) << errors_.toStdString();
  EXPECT_FALSE(output_.contains("message ")) << "no box held the end up: " << output_.toStdString();
}
