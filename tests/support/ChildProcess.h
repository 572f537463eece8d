#pragma once
// Runs this test binary a second time, as another process, for tests about two running
// copies. The event loop keeps running meanwhile, so this process can answer the child.
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

// Runs the tests matching `filter` in a child with `environment` added; returns the
// child's exit code (0 when its tests passed), -1 when it crashed or did not end in time.
inline int RunTestsInChild(const QString& filter, const QProcessEnvironment& environment, int timeoutMs = 120000) {
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(environment);
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::ForwardedChannels);
  QEventLoop loop;
  QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&child, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + filter});
  loop.exec();
  if (child.state() != QProcess::NotRunning) {
    child.kill();
    child.waitForFinished();
    return -1;
  }
  if (child.error() == QProcess::FailedToStart || child.exitStatus() != QProcess::NormalExit) return -1;
  return child.exitCode();
}
