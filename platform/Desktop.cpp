#include "platform/Desktop.h"

#include "platform/AppContext.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

namespace {

class QuietDesktop final : public DesktopServices {
public:
  void Beep() override {}
  void PlaySoundFile(const QString&, std::function<void(bool)> finished) override {
    if (finished) QTimer::singleShot(0, [finished = std::move(finished)] { finished(false); });
  }
  void StopSounds() override {}
  bool OpenUrl(const QString&) override { return false; }
  Msg::Button MessageBox(const QString&, const QString&, Msg::Icon, Msg::Buttons, Msg::Button defaultButton,
                         QWidget*) override {
    return defaultButton != Msg::NoButton ? defaultButton : Msg::Ok;
  }
  void SetWaitCursor(bool) override {}
  QSize ScreenSize() override { return {1024, 768}; }
  void BringToFront(QWidget*) override {}
  QString OpenFileName(const FileDialogRequest&, QWidget*) override { return {}; }
  QString SaveFileName(const FileDialogRequest&, QWidget*) override { return {}; }
  bool ChooseFont(QFont&, QColor&, const QString&, QWidget*) override { return false; }
  bool ChooseColor(QColor&, const QString&, QWidget*) override { return false; }
};

}  // namespace

DesktopServices& Desktop() {
  if (DesktopServices* desktop = AppContext().Desktop) return *desktop;
  static QuietDesktop quiet;
  return quiet;
}

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
