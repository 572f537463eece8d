#pragma once
// Everything the program asks of the desktop session: sounds, opening documents and
// addresses, message boxes, the wait cursor, the screen and window activation. The
// program reaches it only through Desktop(), which answers from the context, so tests put
// a recording fake in its place. The interface needs no widgets: windows appear in it
// only as pointers that the session's implementation understands.
#include <QColor>
#include <QFlags>
#include <QFont>
#include <QSize>
#include <QString>

#include <functional>

class QUrl;
class QWidget;

// What a file dialog is opened with. `filter` is in the toolkit's form,
// "Text files (*.txt);;All files (*)"; `fileName` is the name proposed (may hold a folder).
struct FileDialogRequest {
  QString caption;
  QString folder;
  QString fileName;
  QString filter;
  QString defaultSuffix;  // added to a typed name without one when saving
};

// Message box icons and buttons, valued as the widget toolkit's own so the session
// passes them straight through.
namespace Msg {
enum Icon { NoIcon = 0, Information = 1, Warning = 2, Critical = 3, Question = 4 };
enum Button : int {
  NoButton = 0x00000000,
  Ok = 0x00000400,
  Yes = 0x00004000,
  No = 0x00010000,
  Abort = 0x00040000,
  Retry = 0x00080000,
  Ignore = 0x00100000,
  Cancel = 0x00400000,
};
Q_DECLARE_FLAGS(Buttons, Button)
}  // namespace Msg
Q_DECLARE_OPERATORS_FOR_FLAGS(Msg::Buttons)

class DesktopServices {
public:
  virtual ~DesktopServices() = default;

  // The session's warning sound (the sound theme's "bell"); nothing happens when there
  // is no sound server.
  virtual void Beep() = 0;
  // Starts playing a sound file and returns at once. `finished` is called later, on the
  // calling thread's event loop, with true when the sound played to its end and false
  // when it could not be played or was stopped; it is never called from inside this call.
  virtual void PlaySoundFile(const QString& path, std::function<void(bool played)> finished) = 0;
  // Stops every sound file that is playing; their `finished` calls report false.
  virtual void StopSounds() = 0;
  // Opens an address with the application the desktop associates with it. Text
  // without a scheme is a local file (relative to the current folder). False when
  // nothing could be started (a local file that does not exist counts as that).
  virtual bool OpenUrl(const QString& pathOrAddress) = 0;
  // A modal message box; returns the button pressed (Escape or closing gives the
  // escape button the toolkit chooses).
  virtual Msg::Button MessageBox(const QString& caption, const QString& text, Msg::Icon icon, Msg::Buttons buttons,
                                 Msg::Button defaultButton = Msg::NoButton, QWidget* parent = nullptr) = 0;
  // The hourglass over the whole application. Calls nest: each true needs its false.
  virtual void SetWaitCursor(bool on) = 0;
  // Size of the primary screen in pixels; 1024 x 768 when there is no screen. The one
  // place the program learns the screen's size.
  virtual QSize ScreenSize() = 0;
  // Restores a minimised window, raises it and gives it the focus.
  virtual void BringToFront(QWidget* window) = 0;

  // The common dialogs. Each returns what the user chose, or nothing (an empty path)
  // when the user cancelled.
  virtual QString OpenFileName(const FileDialogRequest& request, QWidget* parent = nullptr) = 0;
  virtual QString SaveFileName(const FileDialogRequest& request, QWidget* parent = nullptr) = 0;
  // A font with its text colour: `font` and `color` change only when the user confirms.
  virtual bool ChooseFont(QFont& font, QColor& color, const QString& caption, QWidget* parent = nullptr) = 0;
  virtual bool ChooseColor(QColor& color, const QString& caption, QWidget* parent = nullptr) = 0;
};

// The desktop in use: the context's, or a quiet one that plays, opens and shows nothing
// (message boxes answer with their default button, else Ok).
DesktopServices& Desktop();

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
