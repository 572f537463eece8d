#pragma once
// What the engine takes from the program's context (platform/AppContext.h): the record
// numbers and dates are written with, and the windows it opens. The program puts the
// Qt windows in place; tests put their own record and fakes in a scope, as they do with
// the rest of the context.
#include "platform/AppContext.h"
#include "report/engine/RP_FormatSettings.h"

#include <functional>
#include <memory>
#include <optional>

class TrpPreviewWindow;
class TrpWindows;

struct TrpContext {
  // Empty: the default QLocale's record, read at first use.
  std::optional<TrpFormatSettings> Formats;
  // Null: no windows (no progress window, INPUT answers its default, MESSAGEBOX OK).
  TrpWindows* Windows = nullptr;
  // Makes the standalone preview window of ShowPreparedReport. Empty: there is none,
  // and showing prepared pages without an assigned preview does nothing.
  std::function<std::unique_ptr<TrpPreviewWindow>()> CreatePreviewWindow;
};

// The engine's part of the context in use; an empty one when none is in place.
const TrpContext& rpContext();
// The context's record, else the default QLocale's.
const TrpFormatSettings& rpFormatSettings();
TrpWindows* rpWindows();

// A copy of the engine's context in use with one part changed.
TrpContext rpContextWith(const std::function<void(TrpContext&)>& change);

// Puts `report` in place as the engine's part of the context (the rest of the context
// as it stands) for the lifetime of the scope; scopes nest as TAppContextScope's do.
class TrpContextScope {
public:
  explicit TrpContextScope(TrpContext report);
  TrpContextScope(const TrpContextScope&) = delete;
  TrpContextScope& operator=(const TrpContextScope&) = delete;

  const TrpContext& Context() const { return report_; }

private:
  TrpContext report_;
  TAppContextScope scope_;
};

// Sets the decimal separator for the lifetime of the object (formatting a view's value
// with the separator its format asks for); the previous one is back when it ends.
class TrpScopedDecimalSeparator {
public:
  explicit TrpScopedDecimalSeparator(QChar separator);

private:
  TrpContextScope scope_;
};
