#include "controls/FolderDialog.h"

#include "controls/ReplaceableService.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// A QFileDialog in folder mode inside a dialog of ours, which adds the text above the
// tree and the status line below it.
class FolderDialogWindowImpl final : public FolderDialogWindow {
public:
  FolderDialogWindowImpl(const FolderDialogRequest& request, FolderDialogEvents& events)
      : dialog_(request.owner), root_(request.root) {
    auto* layout = new QVBoxLayout(&dialog_);
    auto* title = new QLabel(request.title, &dialog_);
    title->setWordWrap(true);
    title->setVisible(!request.title.isEmpty());
    layout->addWidget(title);

    files_ = new QFileDialog(&dialog_);
    files_->setWindowFlags(Qt::Widget);
    files_->setOption(QFileDialog::DontUseNativeDialog, true);
    files_->setFileMode(QFileDialog::Directory);
    files_->setOption(QFileDialog::ShowDirsOnly, !request.showFiles);
    if (!root_.isEmpty()) {
      files_->setDirectory(root_);
      files_->setSidebarUrls({QUrl::fromLocalFile(root_)});
      // The tree's root is as far up as the user may go.
      QObject::connect(files_, &QFileDialog::directoryEntered, files_, [this](const QString& folder) {
        if (!IsInside(folder)) files_->setDirectory(root_);
      });
    }
    layout->addWidget(files_);

    status_ = new QLabel(&dialog_);
    status_->setVisible(request.statusLine);
    layout->addWidget(status_);

    QObject::connect(files_, &QFileDialog::finished, &dialog_, &QDialog::done);
    QObject::connect(files_, &QFileDialog::currentChanged, &dialog_, [&events](const QString& path) {
      events.SelectionChanged(QFileInfo(path).isDir() ? path : QString());
    });
    dialog_.resize(dialog_.sizeHint());
  }

  void SetCaption(const QString& caption) override { dialog_.setWindowTitle(caption); }
  void SetSelection(const QString& path) override {
    if (path.isEmpty()) return;
    const QFileInfo folder(path);
    files_->setDirectory(folder.absolutePath());
    files_->selectFile(folder.absoluteFilePath());
  }
  void SetStatusText(const QString& text) override { status_->setText(text); }
  QSize Size() const override { return dialog_.size(); }
  void Move(const QPoint& topLeft) override { dialog_.move(topLeft); }

  std::optional<FolderChoice> Exec() {
    if (dialog_.exec() != QDialog::Accepted) return std::nullopt;
    FolderChoice choice;
    choice.path = files_->selectedFiles().value(0);
    if (!choice.path.isEmpty()) {
      const QFileInfo chosen(choice.path);
      choice.displayName = chosen.isRoot() ? choice.path : chosen.fileName();
    }
    return choice;
  }

private:
  bool IsInside(const QString& folder) const {
    const QString root = QDir::cleanPath(root_);
    const QString path = QDir::cleanPath(folder);
    return path == root || path.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
  }

  QDialog dialog_;
  QString root_;
  QFileDialog* files_;
  QLabel* status_;
};

class QtFolderDialogs final : public FolderDialogHost {
public:
  std::optional<FolderChoice> Run(const FolderDialogRequest& request, FolderDialogEvents& events) override {
    FolderDialogWindowImpl window(request, events);
    events.Initialized(window);
    std::optional<FolderChoice> choice = window.Exec();
    events.Closed();
    return choice;
  }
};

}  // namespace

FolderDialogHost& FolderDialogs() {
  static QtFolderDialogs dialogs;
  return ReplaceableService<FolderDialogHost>::Current(dialogs);
}
