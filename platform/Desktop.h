#pragma once
// Everything the program asks of the desktop session: sounds, opening documents and
// addresses, message boxes, the wait cursor, the screen and window activation. The
// program reaches it only through Desktop(), so tests put a recording fake in its place.
#include <QMessageBox>
#include <QSize>
#include <QString>

class QUrl;
class QWidget;

class DesktopServices {
public:
  virtual ~DesktopServices() = default;

  // The session's warning sound (the sound theme's "bell"); nothing happens when there
  // is no sound server.
  virtual void Beep() = 0;
  // Plays a sound file and returns when it has finished. False, quietly and at once,
  // when there is no sound server or the file cannot be played.
  virtual bool PlaySoundFile(const QString& path) = 0;
  // Opens an address with the application the desktop associates with it. Text
  // without a scheme is a local file (relative to the current folder). False when
  // nothing could be started (a local file that does not exist counts as that).
  virtual bool OpenUrl(const QString& pathOrAddress) = 0;
  // A modal message box; returns the button pressed (Escape or closing gives the
  // escape button Qt chooses).
  virtual QMessageBox::StandardButton MessageBox(const QString& caption, const QString& text,
                                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                                 QWidget* parent = nullptr) = 0;
  // The hourglass over the whole application. Calls nest: each true needs its false.
  virtual void SetWaitCursor(bool on) = 0;
  // Size of the primary screen in pixels; 1024 x 768 when there is no screen.
  virtual QSize ScreenSize() = 0;
  // Restores a minimised window, raises it and gives it the focus.
  virtual void BringToFront(QWidget* window) = 0;
};

// The desktop in use: the real session unless a test has put another in its place.
DesktopServices& Desktop();

// Puts `desktop` in place of the real one (nullptr restores the real one); the caller
// keeps ownership and must restore before destroying it. Returns the one replaced.
DesktopServices* SetDesktopForTests(DesktopServices* desktop);

// The address OpenUrl hands on: text with a scheme as it is, "www." as a web address,
// anything else as a local file made absolute against the current folder.
QUrl DocumentUrl(const QString& pathOrAddress);

// The wait cursor for the lifetime of the object, taken away again on every way out.
class ScopedWaitCursor {
public:
  ScopedWaitCursor() : desktop_(Desktop()) { desktop_.SetWaitCursor(true); }
  ~ScopedWaitCursor() { desktop_.SetWaitCursor(false); }
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
  DesktopServices& desktop_;
};
