#include "platform/SessionDesktop.h"

#include "platform/EventSound.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QFileDialog>
#include <QFontDialog>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <chrono>
#include <mutex>

namespace {

// A backend that never reports the end of a sound must not keep it going forever.
constexpr std::chrono::minutes kLongestSound{2};

// Where the sound library's threads hand their reports to the event loop. The desktop
// cuts the link when it goes, so a late report finds nobody and touches nothing.
struct SoundReports {
  std::mutex mutex;
  QObject* receiver = nullptr;
};

class SessionDesktop final : public DesktopServices {
public:
  SessionDesktop() : reports_(std::make_shared<SoundReports>()) { reports_->receiver = &receiver_; }

  ~SessionDesktop() override {
    {
      std::lock_guard lock(reports_->mutex);
      reports_->receiver = nullptr;
    }
    EventSound::StopAll();
  }

  void Beep() override { EventSound::PlayBell(); }

  void PlaySoundFile(const QString& path, std::function<void(bool)> finished) override {
    auto report = [reports = reports_, finished](bool played) {
      std::lock_guard lock(reports->mutex);
      if (reports->receiver == nullptr || !finished) return;
      QMetaObject::invokeMethod(reports->receiver, [finished, played] { finished(played); }, Qt::QueuedConnection);
    };
    const uint32_t id = EventSound::StartFile(path, report);
    if (id == 0) {
      QTimer::singleShot(0, &receiver_, [finished] {
        if (finished) finished(false);
      });
      return;
    }
    QTimer::singleShot(kLongestSound, &receiver_, [id] { EventSound::Stop(id); });
  }

  void StopSounds() override { EventSound::StopAll(); }

  bool OpenUrl(const QString& pathOrAddress) override {
    const QUrl url = DocumentUrl(pathOrAddress);
    if (!url.isValid()) return false;
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
    return QDesktopServices::openUrl(url);
  }

  Msg::Button MessageBox(const QString& caption, const QString& text, Msg::Icon icon, Msg::Buttons buttons,
                         Msg::Button defaultButton, QWidget* parent) override {
    QMessageBox box(static_cast<QMessageBox::Icon>(icon), caption, text,
                    QMessageBox::StandardButtons(buttons.toInt()), parent);
    if (defaultButton != Msg::NoButton) box.setDefaultButton(static_cast<QMessageBox::StandardButton>(defaultButton));
    return static_cast<Msg::Button>(box.exec());
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

  QString OpenFileName(const FileDialogRequest& request, QWidget* parent) override {
    return QFileDialog::getOpenFileName(parent, request.caption, StartPath(request), request.filter);
  }

  QString SaveFileName(const FileDialogRequest& request, QWidget* parent) override {
    QFileDialog dialog(parent, request.caption, StartPath(request), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
  }

  // The toolkit's font dialog has no colour; ours puts it inside a dialog with a
  // "Color..." button beside OK and Cancel.
  bool ChooseFont(QFont& font, QColor& color, const QString& caption, QWidget* parent) override {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* fonts = new QFontDialog(font, &dialog);
    fonts->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    fonts->setWindowFlags(Qt::Widget);
    layout->addWidget(fonts);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto* colorButton = buttons->addButton(QStringLiteral("&Color..."), QDialogButtonBox::ActionRole);
    QColor chosenColor = color;
    const auto showColor = [&] {
      QPixmap swatch(16, 16);
      swatch.fill(chosenColor.isValid() ? chosenColor : QColor(Qt::black));
      colorButton->setIcon(QIcon(swatch));
    };
    showColor();
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
      const QColor picked = QColorDialog::getColor(chosenColor, &dialog, QStringLiteral("Color"));
      if (picked.isValid()) chosenColor = picked;
      showColor();
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    font = fonts->currentFont();
    color = chosenColor;
    return true;
  }

  bool ChooseColor(QColor& color, const QString& caption, QWidget* parent) override {
    const QColor chosen = QColorDialog::getColor(color, parent, caption);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
  }

private:
  static QString StartPath(const FileDialogRequest& request) {
    if (request.fileName.isEmpty()) return request.folder;
    if (request.folder.isEmpty() || QFileInfo(request.fileName).isAbsolute()) return request.fileName;
    return request.folder + QLatin1Char('/') + request.fileName;
  }

  QObject receiver_;
  std::shared_ptr<SoundReports> reports_;
};

}  // namespace

std::unique_ptr<DesktopServices> CreateSessionDesktop() { return std::make_unique<SessionDesktop>(); }
