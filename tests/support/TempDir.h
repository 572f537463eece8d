#pragma once
// A fresh folder per test, removed afterwards.
#include <QDir>
#include <QString>
#include <QTemporaryDir>

class TempDir {
public:
  TempDir() { dir_.setAutoRemove(true); }
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }

private:
  QTemporaryDir dir_;
};
