#pragma once
// Base of the shell components (folder picker, tray icon) and their errors.
#include "controls/Component.h"
#include "platform/Exception.h"

#include <QString>

// An error of the shell components: the text is the message of its number.
class EShException : public Exception {
public:
  explicit EShException(int id);
  int Id() const { return id_; }

private:
  int id_;
};

class EShVersionInfoError : public EShException {
public:
  using EShException::EShException;
};

class EShShellError : public EShException {
public:
  using EShException::EShException;
};

class EShTrayIconError : public EShException {
public:
  using EShException::EShException;
};

// A version text as a number: the whole text when it reads as one ("4.72"), else its
// major and minor part ("4.72.3110.0" gives 4.72, at most five characters of it), else 0.
double VersionTextToNumber(const QString& text);

class TShComponent : public TComponent {
  Q_OBJECT

public:
  explicit TShComponent(QObject* owner = nullptr) : TComponent(owner) {}

  // Read-only; writing it is ignored so that stored values cannot change it.
  QString Version() const { return QStringLiteral("1.02"); }
  void SetVersion(const QString&) {}
};

class TShShellComponent : public TShComponent {
  Q_OBJECT

public:
  explicit TShShellComponent(QObject* owner = nullptr);

  // The version of the toolkit that provides the folder dialog and the tray, which
  // stands where the system's shell library stands elsewhere; features that need a
  // newer shell compare against it.
  double ShellVersion() const { return shellVersion_; }

private:
  double shellVersion_;
};
