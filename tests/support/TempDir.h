#pragma once
// A fresh folder per test, removed afterwards, and reading and writing whole files in it.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TempDir {
public:
  TempDir() { dir_.setAutoRemove(true); }
  QString Path() const { return dir_.path(); }
  QString File(const QString& name) const { return dir_.filePath(name); }

private:
  QTemporaryDir dir_;
};

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadAll(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void WriteAll(const QString& name, const QByteArray& bytes) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}
