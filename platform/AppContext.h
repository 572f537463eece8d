#pragma once
// Everything the program reaches outside its own logic, in one object: the desktop
// (sounds, opening documents, message boxes, the wait cursor, the screen size, windows
// coming forward), the clock, the date and time formats, the default data folder, the
// speech voice and help. The program's start builds one; tests build their own with
// fakes in it. Code finds the one in use through AppContext().
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"

#include <QString>

#include <functional>
#include <optional>

class DesktopServices;
class SpeechVoice;
struct TrpContext;

struct TAppContext {
  // Null: a quiet desktop that plays, opens and shows nothing (libraries used by
  // benchmarks and fuzzers run without a session).
  DesktopServices* Desktop = nullptr;
  // Empty: the system clock.
  std::function<TDateTime()> Clock;
  // Empty: taken from the system locale at first use.
  std::optional<TFormatSettings> Formats;
  // The default data folder, ending with "/". Empty: looked up in the environment.
  QString DataFolder;
  // Null: there is no voice, and reminders play without their speech part.
  SpeechVoice* Voice = nullptr;
  // Help requests by context number; empty: a request does nothing.
  std::function<void(int)> Help;
  // The report engine's format record and windows, a type of the engine's own
  // (report/engine/RP_Context.h) that the platform only carries. Null: the default
  // locale's record and no windows.
  const TrpContext* Report = nullptr;
};

// The context in use: the innermost scope's, or an empty context when none is in place.
const TAppContext& AppContext();

// Puts a copy of `context` in place for the lifetime of the scope. Scopes nest and must
// end in the reverse order of their start; the objects the context points to must
// outlive the scope.
class TAppContextScope {
public:
  explicit TAppContextScope(TAppContext context);
  ~TAppContextScope();
  TAppContextScope(const TAppContextScope&) = delete;
  TAppContextScope& operator=(const TAppContextScope&) = delete;

  const TAppContext& Context() const { return context_; }

private:
  TAppContext context_;
  const TAppContextScope* previous_;
};

// A copy of the context in use with one part changed, for a scope of its own.
TAppContext ContextWith(std::function<void(TAppContext&)> change);
