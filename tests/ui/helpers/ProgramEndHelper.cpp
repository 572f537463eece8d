// A run of the program for the tests of its end, as the program's main() makes it but
// with a desktop that only counts and a fast reminder tick.
//
//   program_end_helper <data folder> fake|real
//
// Prints "window <n>" once the n-th reminder window is on the screen with its alert
// started, and at the end "spoken <n>" (with the fake voice), each line flushed at once.
#include "core/GSapi.h"
#include "platform/AppContext.h"
#include "platform/Application.h"
#include "platform/Desktop.h"
#include "ui/ProgramRun.h"
#include "ui/TdRemDlg.h"

#include <QStyleFactory>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

void Say(const QString& line) {
  std::printf("%s\n", line.toLocal8Bit().constData());
  std::fflush(stdout);
}

class CountingDesktop final : public DesktopServices {
public:
  void Beep() override {}
  void PlaySoundFile(const QString&, std::function<void(bool)> finished) override {
    if (finished) QTimer::singleShot(0, [finished] { finished(false); });
  }
  void StopSounds() override {}
  bool OpenUrl(const QString&) override { return false; }
  Msg::Button MessageBox(const QString& caption, const QString& text, Msg::Icon, Msg::Buttons, Msg::Button,
                         QWidget*) override {
    Say(QStringLiteral("message ") + caption + QStringLiteral(": ") + text);
    return Msg::Ok;
  }
  void SetWaitCursor(bool) override {}
  QSize ScreenSize() override { return {1024, 768}; }
  void BringToFront(QWidget*) override {}
  QString OpenFileName(const FileDialogRequest&, QWidget*) override { return {}; }
  QString SaveFileName(const FileDialogRequest&, QWidget*) override { return {}; }
  bool ChooseFont(QFont&, QColor&, const QString&, QWidget*) override { return false; }
  bool ChooseColor(QColor&, const QString&, QWidget*) override { return false; }
};

class CountingVoice final : public SpeechVoice {
public:
  void Speak(const QString&) override { ++spoken; }
  void Cancel() override {}
  int spoken = 0;
};

// Announces each reminder window once its alert has started.
class WindowWatcher : public QObject {
public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* dialog = qobject_cast<TReminderDialog*>(watched); dialog != nullptr && !seen_.contains(dialog)) {
        seen_ << dialog;
        connect(dialog, &TReminderDialog::alertStarted, this, [this] { Say(QStringLiteral("window %1").arg(++count_)); });
      }
    }
    return false;
  }

private:
  QList<QObject*> seen_;
  int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  Application app(argc, argv);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setApplicationName(QStringLiteral("Velmora"));

  CountingDesktop desktop;
  CountingVoice counting;
  const bool real = std::strcmp(argv[2], "real") == 0;
  std::unique_ptr<TSapiVoice> voice = real ? CreateSapiVoice() : nullptr;
  TAppContext context;
  context.Desktop = &desktop;
  context.DataFolder = QString::fromLocal8Bit(argv[1]);
  context.Voice = real ? static_cast<SpeechVoice*>(voice.get()) : &counting;
  const TAppContextScope scope(context);

  WindowWatcher watcher;
  app.installEventFilter(&watcher);
  const int code = RunProgram({10, 0});
  if (!real) Say(QStringLiteral("spoken %1").arg(counting.spoken));
  return code;
}
