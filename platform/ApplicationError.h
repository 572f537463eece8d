#pragma once
// The "Application Error" path: an error that nobody handled is shown in one box and the
// program goes on. Slots and timer handlers catch at their own boundary and come here,
// so no exception ever travels through the toolkit's signal machinery.
#include <QString>

#include <functional>

// Shows the text in the "Application Error" box (error icon, OK) through the desktop;
// once the program is ending on a signal, writes it to standard error instead, since a
// modal box would keep it from ending. Never raises.
void ShowApplicationError(const QString& message);

// Sends every later error to standard error instead of a box.
void SendErrorsToStandardError();

// The text of the exception being handled (for use inside a catch block): the message
// of our own errors, what() of others, a general text for anything else.
QString CurrentExceptionMessage();

// Runs a handler and shows what it raises. One per source of repeated calls (a timer):
// an error equal to the last one it showed is not shown again until the handler has
// once run without error, so a failing tick gives one box, not one per tick.
class TErrorGate {
public:
  // True when the handler ran without raising.
  bool Run(const std::function<void()>& handler) noexcept;

private:
  QString lastShown_;
  bool showing_ = false;
};

// Runs a one-off handler (a button, a menu command) and shows what it raises.
bool RunGuarded(const std::function<void()>& handler) noexcept;
