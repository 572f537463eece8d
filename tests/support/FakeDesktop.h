#pragma once
// A desktop that records what the program asks of it and answers from a script. It takes
// the real desktop's place for its lifetime:
//
//   FakeDesktop desktop;
//   desktop.openResult = false;
//   OpenDocument("x");
//   EXPECT_EQ(desktop.Log(), (QStringList{"open:x", "beep"}));
//
// Log entries, in call order: "beep", "sound:<path>", "open:<text>",
// "message:<caption>|<text>", "wait:on", "wait:off", "front:<window title>".
// ScreenSize is a query and is not logged.
//
// Every test binary runs with one of these standing in (see TestMain.cpp); a test
// about the real desktop puts the real one back with SessionDesktopScope.
#include "platform/Desktop.h"

#include <QStringList>
#include <QWidget>
#include <deque>
#include <functional>
#include <vector>

class FakeDesktop : public DesktopServices {
public:
  struct Message {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
  };

  FakeDesktop() : previous_(SetDesktopForTests(this)) {}
  ~FakeDesktop() override { SetDesktopForTests(previous_); }
  FakeDesktop(const FakeDesktop&) = delete;
  FakeDesktop& operator=(const FakeDesktop&) = delete;

  // Answers. Message boxes take the queued answers first, then `messageResult`;
  // `onMessage`, when set, answers instead and may act while the box is "up".
  bool soundResult = true;
  bool openResult = true;
  QMessageBox::StandardButton messageResult = QMessageBox::Ok;
  std::deque<QMessageBox::StandardButton> messageAnswers;
  std::function<QMessageBox::StandardButton(const Message&)> onMessage;
  QSize screenSize{1024, 768};

  void Beep() override { log_ << QStringLiteral("beep"); }

  bool PlaySoundFile(const QString& path) override {
    log_ << QStringLiteral("sound:") + path;
    return soundResult;
  }

  bool OpenUrl(const QString& pathOrAddress) override {
    log_ << QStringLiteral("open:") + pathOrAddress;
    return openResult;
  }

  QMessageBox::StandardButton MessageBox(const QString& caption, const QString& text, QMessageBox::Icon icon,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                         QWidget* = nullptr) override {
    log_ << QStringLiteral("message:") + caption + QLatin1Char('|') + text;
    messages_.push_back({caption, text, icon, buttons, defaultButton});
    if (onMessage) return onMessage(messages_.back());
    if (!messageAnswers.empty()) {
      const QMessageBox::StandardButton answer = messageAnswers.front();
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

private:
  DesktopServices* previous_;
  QStringList log_;
  std::vector<Message> messages_;
  int waitDepth_ = 0;
};

// The real desktop for the lifetime of the object.
class SessionDesktopScope {
public:
  SessionDesktopScope() : previous_(SetDesktopForTests(nullptr)) {}
  ~SessionDesktopScope() { SetDesktopForTests(previous_); }
  SessionDesktopScope(const SessionDesktopScope&) = delete;
  SessionDesktopScope& operator=(const SessionDesktopScope&) = delete;

private:
  DesktopServices* previous_;
};
