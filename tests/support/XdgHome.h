#pragma once
// Points XDG_CONFIG_HOME and XDG_DATA_HOME into a fresh folder for one test, so
// nothing a test writes reaches the real home folder. QStandardPaths reads them on
// every call.
#include "support/TempDir.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

class XdgHome {
public:
  XdgHome()
      : oldConfig_(qgetenv("XDG_CONFIG_HOME")),
        oldData_(qgetenv("XDG_DATA_HOME")),
        hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
        hadData_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    QDir().mkpath(ConfigHome());
    QDir().mkpath(DataHome());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ConfigHome()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(DataHome()));
  }
  ~XdgHome() {
    Restore("XDG_CONFIG_HOME", hadConfig_, oldConfig_);
    Restore("XDG_DATA_HOME", hadData_, oldData_);
  }
  XdgHome(const XdgHome&) = delete;
  XdgHome& operator=(const XdgHome&) = delete;

  QString ConfigHome() const { return dir_.File(QStringLiteral("config")); }
  QString DataHome() const { return dir_.File(QStringLiteral("data")); }

private:
  static void Restore(const char* name, bool had, const QByteArray& value) {
    if (had) qputenv(name, value);
    else qunsetenv(name);
  }

  TempDir dir_;
  QByteArray oldConfig_;
  QByteArray oldData_;
  bool hadConfig_;
  bool hadData_;
};
