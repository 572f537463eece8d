#include "platform/Desktop.h"

#include "platform/EventSound.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QUrl>
#include <QWidget>
#include <atomic>

namespace {

// A backend that never reports the end of a sound must not hold the program forever.
constexpr std::chrono::minutes kLongestSound{2};

class SessionDesktop final : public DesktopServices {
public:
  void Beep() override { EventSound::PlayBell(); }

  bool PlaySoundFile(const QString& path) override { return EventSound::PlayFileAndWait(path, kLongestSound); }

  bool OpenUrl(const QString& pathOrAddress) override {
    const QUrl url = DocumentUrl(pathOrAddress);
    if (!url.isValid()) return false;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
    return QDesktopServices::openUrl(url);
  }

  QMessageBox::StandardButton MessageBox(const QString& caption, const QString& text, QMessageBox::Icon icon,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton, QWidget* parent) override {
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
  }

  void SetWaitCursor(bool on) override {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    if (on) {
      QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (QGuiApplication::overrideCursor() != nullptr) {
      QGuiApplication::restoreOverrideCursor();
    }
  }

  QSize ScreenSize() override {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
      if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
    }
    return {1024, 768};
  }

  void BringToFront(QWidget* window) override {
    if (window == nullptr) return;
    if (window->isMinimized()) {
      window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
      window->show();
    }
    window->raise();
    window->activateWindow();
  }
};

std::atomic<DesktopServices*> replacement{nullptr};

DesktopServices& Session() {
  static SessionDesktop session;
  return session;
}

}  // namespace

DesktopServices& Desktop() {
  DesktopServices* desktop = replacement.load();
  return desktop != nullptr ? *desktop : Session();
}

DesktopServices* SetDesktopForTests(DesktopServices* desktop) { return replacement.exchange(desktop); }

QUrl DocumentUrl(const QString& pathOrAddress) {
  // One letter before the colon would be a drive, not a scheme.
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
  if (scheme.match(pathOrAddress).hasMatch()) return QUrl(pathOrAddress, QUrl::TolerantMode);
  if (pathOrAddress.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) {
    return QUrl(QStringLiteral("http://") + pathOrAddress, QUrl::TolerantMode);
  }
  if (pathOrAddress.isEmpty()) return {};
  return QUrl::fromLocalFile(QFileInfo(pathOrAddress).absoluteFilePath());
}
