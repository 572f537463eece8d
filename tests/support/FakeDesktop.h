#pragma once
// A desktop that records what the program asks of it and answers from a script. It takes
// the real desktop's place for its lifetime:
//
//   FakeDesktop desktop;
//   desktop.openResult = false;
//   OpenDocument("x");
//   EXPECT_EQ(desktop.Log(), (QStringList{"open:x", "beep"}));
//
// Log entries, in call order: "beep", "sound:<path>", "stop-sounds", "open:<text>", "message:<caption>|<text>", "wait:on", "wait:off",
// "front:<window title>", "open-file:<caption>", "save-file:<caption>", "font:<caption>",
// "color:<caption>". ScreenSize is a query and is not logged.
//
// File dialogs take the queued `fileAnswers` first (an empty answer is a cancel), then
// answer with nothing; font and colour dialogs ask `onFont` / `onColor`, else cancel.
//
// A sound "plays" until FinishSounds() or StopSounds(); with `autoFinishSounds` it ends
// by itself on the next turn of the event loop.
//
// Every test binary runs with one of these standing in (see TestMain.cpp); a test
// about the real desktop puts the real one in its place with SessionDesktopScope.
#include "platform/AppContext.h"
#include "platform/Desktop.h"
#include "platform/SessionDesktop.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class FakeDesktop : public DesktopServices {
public:
  struct Message {
    QString caption;
    QString text;
    Msg::Icon icon;
    Msg::Buttons buttons;
    Msg::Button defaultButton;
  };

  FakeDesktop() : scope_(ContextWith([this](TAppContext& c) { c.Desktop = this; })) {}
  FakeDesktop(const FakeDesktop&) = delete;
  FakeDesktop& operator=(const FakeDesktop&) = delete;

  // Answers. Message boxes take the queued answers first, then `messageResult`;
  // `onMessage`, when set, answers instead and may act while the box is "up".
  bool soundResult = true;
  bool autoFinishSounds = true;
  bool openResult = true;
  Msg::Button messageResult = Msg::Ok;
  std::deque<Msg::Button> messageAnswers;
  std::function<Msg::Button(const Message&)> onMessage;
  QSize screenSize{1024, 768};
  std::deque<QString> fileAnswers;
  std::vector<FileDialogRequest> fileRequests;  // every file dialog asked for, in order
  std::function<bool(QFont&, QColor&)> onFont;
  std::function<bool(QColor&)> onColor;

  void Beep() override { log_ << QStringLiteral("beep"); }

  void PlaySoundFile(const QString& path, std::function<void(bool)> finished) override {
    log_ << QStringLiteral("sound:") + path;
    playing_.push_back({path, std::move(finished)});
    if (autoFinishSounds) QTimer::singleShot(0, &timerContext_, [this] { FinishSounds(); });
  }

  void StopSounds() override {
    log_ << QStringLiteral("stop-sounds");
    EndSounds(false);
  }

  // Every sound playing ends as if played to its end (or as `soundResult` says).
  void FinishSounds() { EndSounds(soundResult); }
  int SoundsPlaying() const { return static_cast<int>(playing_.size()); }

  bool OpenUrl(const QString& pathOrAddress) override {
    log_ << QStringLiteral("open:") + pathOrAddress;
    return openResult;
  }

  Msg::Button MessageBox(const QString& caption, const QString& text, Msg::Icon icon, Msg::Buttons buttons,
                         Msg::Button defaultButton = Msg::NoButton, QWidget* = nullptr) override {
    log_ << QStringLiteral("message:") + caption + QLatin1Char('|') + text;
    messages_.push_back({caption, text, icon, buttons, defaultButton});
    if (onMessage) return onMessage(messages_.back());
    if (!messageAnswers.empty()) {
      const Msg::Button answer = messageAnswers.front();
      messageAnswers.pop_front();
      return answer;
    }
    return messageResult;
  }

  void SetWaitCursor(bool on) override {
    log_ << (on ? QStringLiteral("wait:on") : QStringLiteral("wait:off"));
    waitDepth_ += on ? 1 : -1;
  }

  QSize ScreenSize() override { return screenSize; }

  void BringToFront(QWidget* window) override {
    log_ << QStringLiteral("front:") + (window != nullptr ? window->windowTitle() : QString());
  }

  QString OpenFileName(const FileDialogRequest& request, QWidget* = nullptr) override {
    log_ << QStringLiteral("open-file:") + request.caption;
    return NextFileAnswer(request);
  }

  QString SaveFileName(const FileDialogRequest& request, QWidget* = nullptr) override {
    log_ << QStringLiteral("save-file:") + request.caption;
    return NextFileAnswer(request);
  }

  bool ChooseFont(QFont& font, QColor& color, const QString& caption, QWidget* = nullptr) override {
    log_ << QStringLiteral("font:") + caption;
    return onFont ? onFont(font, color) : false;
  }

  bool ChooseColor(QColor& color, const QString& caption, QWidget* = nullptr) override {
    log_ << QStringLiteral("color:") + caption;
    return onColor ? onColor(color) : false;
  }

  const QStringList& Log() const { return log_; }
  // The entries that start with `prefix`, e.g. Calls("message:").
  QStringList Calls(const QString& prefix) const {
    QStringList calls;
    for (const QString& entry : log_) {
      if (entry.startsWith(prefix)) calls << entry;
    }
    return calls;
  }
  const std::vector<Message>& Messages() const { return messages_; }
  // Balance of wait-cursor calls: 0 when every "on" was taken back.
  int WaitDepth() const { return waitDepth_; }
  void Clear() {
    log_.clear();
    messages_.clear();
  }

  // Puts an entry of the test's own into the log, to show what came when.
  void Note(const QString& entry) { log_ << entry; }

private:
  QString NextFileAnswer(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return {};
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }

  struct Playing {
    QString path;
    std::function<void(bool)> finished;
  };

  void EndSounds(bool played) {
    std::vector<Playing> ending;
    ending.swap(playing_);
    for (Playing& sound : ending) {
      if (sound.finished) sound.finished(played);
    }
  }

  TAppContextScope scope_;
  QObject timerContext_;
  std::vector<Playing> playing_;
  QStringList log_;
  std::vector<Message> messages_;
  int waitDepth_ = 0;
};

// The real desktop session for the lifetime of the object.
class SessionDesktopScope {
public:
  SessionDesktopScope()
      : session_(CreateSessionDesktop()), scope_(ContextWith([this](TAppContext& c) { c.Desktop = session_.get(); })) {}
  SessionDesktopScope(const SessionDesktopScope&) = delete;
  SessionDesktopScope& operator=(const SessionDesktopScope&) = delete;

private:
  std::unique_ptr<DesktopServices> session_;
  TAppContextScope scope_;
};
