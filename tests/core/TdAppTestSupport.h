#pragma once
// A data folder of its own for each application-handler test and a main window that
// writes down what the handler asked of it.
#include "core/TdDataFolder.h"
#include "core/TdMainLink.h"
#include "support/ContextPins.h"
#include "support/TempDir.h"
#include "support/XdgHome.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QIcon>
#include <QMap>
#include <QStringList>

#include <gtest/gtest.h>

// The default data folder points into a fresh temporary folder, which does not exist yet.
class DataFolderPin {
public:
  DataFolderPin() : scope_(Folder()) {}
  DataFolderPin(const DataFolderPin&) = delete;
  DataFolderPin& operator=(const DataFolderPin&) = delete;

  // Ends with "/".
  QString Folder() const { return dir_.File(QStringLiteral("maker/product/")); }
  QString File(const QString& name) const { return Folder() + name; }
  QString Root() const { return dir_.Path(); }

  void Write(const QString& name, const QByteArray& bytes) const {
    QDir().mkpath(Folder());
    WriteAll(File(name), bytes);
  }
  QByteArray Read(const QString& name) const { return ReadAll(File(name)); }
  void WriteSettings(const QString& text) const { Write(QStringLiteral("pendra.ini"), text.toUtf8()); }

  // Every file below the temporary folder with its bytes, to prove nothing was written.
  QMap<QString, QByteArray> Snapshot() const {
    QMap<QString, QByteArray> files;
    QDirIterator it(Root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      QFile file(path);
      files[path] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }
    return files;
  }

private:
  XdgHome xdg_;
  TempDir dir_;
  DataFolderScope scope_;
};

// Records, in call order: "added:<n>", "status?", "status=<text>", "bounds?", "image".
class FakeMainLink : public TTdMainLink {
public:
  void TasksAdded(int count) override { log << QStringLiteral("added:%1").arg(count); }
  QString StatusText() const override {
    log << QStringLiteral("status?");
    return status;
  }
  void SetStatusText(const QString& text) override {
    log << QStringLiteral("status=") + text;
    status = text;
  }
  TWindowBounds WindowBounds() const override {
    log << QStringLiteral("bounds?");
    return bounds;
  }
  int AddTaskImage(const QIcon& icon) override {
    log << QStringLiteral("image");
    return icon.isNull() ? -1 : nextImage++;
  }

  mutable QStringList log;
  QString status = QStringLiteral("Ready");
  TWindowBounds bounds{10, 20, 640, 480};
  int nextImage = 60;
};
