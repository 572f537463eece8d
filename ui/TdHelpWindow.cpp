#include "ui/TdHelpWindow.h"

#include "ui/TdHelpContexts.h"

#include <QHBoxLayout>
#include <QPointer>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

static void InitHelpResources() { Q_INIT_RESOURCE(TdHelp); }

QString HelpTopicUrl(int context) {
  InitHelpResources();
  for (const THelpTopic& topic : kHelpTopics)
    if (topic.Context == context) return QStringLiteral("qrc:/help/") + QString::fromLatin1(topic.Page);
  return QStringLiteral("qrc:/help/index.html");
}

TTdHelpWindow::TTdHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  InitHelpResources();
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Velmora Help"));
  resize(560, 480);
  auto makeButton = [this](const QString& text, const char* name, const QString& icon) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setIcon(QIcon::fromTheme(icon));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    return button;
  };
  back_ = makeButton(QStringLiteral("&Back"), "HelpBack", QStringLiteral("go-previous"));
  forward_ = makeButton(QStringLiteral("&Forward"), "HelpForward", QStringLiteral("go-next"));
  contents_ = makeButton(QStringLiteral("&Contents"), "HelpContents", QStringLiteral("go-home"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back_);
  buttons->addWidget(forward_);
  buttons->addWidget(contents_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_, 1);

  back_->setEnabled(false);
  forward_->setEnabled(false);
  connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
  connect(contents_, &QToolButton::clicked, this, [this] { ShowContext(kHelpContents); });
  connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
}

void TTdHelpWindow::ShowContext(int context) { browser_->setSource(QUrl(HelpTopicUrl(context))); }

namespace {
QPointer<TTdHelpWindow>& HelpWindow() {
  static QPointer<TTdHelpWindow> window;
  return window;
}
}  // namespace

void ShowHelpWindow(int context) {
  QPointer<TTdHelpWindow>& window = HelpWindow();
  if (!window) {
    window = new TTdHelpWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
  }
  window->ShowContext(context);
  window->show();
  window->raise();
  window->activateWindow();
}

void CloseHelpWindow() {
  if (HelpWindow()) HelpWindow()->close();
}
