#pragma once
// "View Archive": the tasks archived into archive.tbl, last archived first. One can be
// viewed read-only, deleted for good, or restored into the task list with its id.
#include <QDialog>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class TLTImageList;
class TTdTodo;
class TTdTodoHandler;
class TTodoAppHandler;

constexpr int kArchiveHelpContext = 7;

class TViewArchiveDialog : public QDialog {
  Q_OBJECT

public:
  // Loads the archive file into a store of the dialog's own (raises for a damaged file;
  // a missing one is an empty archive). `images` are the task tree's pictures for the
  // task editor; the handler and the images must outlive the dialog.
  TViewArchiveDialog(const QString& archiveFile, TTodoAppHandler& app, const TLTImageList& images,
                     QWidget* parent = nullptr);
  ~TViewArchiveDialog() override;

  // How many tasks went back into the task list.
  int RestoredCount() const { return restored_; }
  const TTdTodoHandler& Archive() const { return *archive_; }

  void FormShow();
  void UpdateButtons();
  void btnViewClick();
  void btnDeleteClick();
  void btnRestoreClick();
  void btnHelpClick();

  // Writes the archive file when it changed, however the dialog ends.
  void done(int result) override;

protected:
  void showEvent(QShowEvent* event) override;

private:
  TTdTodo* SelectedTask() const;
  bool Confirmed(bool ask, const QString& question);
  void RemoveSelectedItem();

  TTodoAppHandler& app_;
  const TLTImageList& images_;
  std::unique_ptr<TTdTodoHandler> archive_;
  int restored_ = 0;
  bool shown_ = false;

  QLabel* lblArchive = nullptr;
  QListWidget* lstArchive = nullptr;
  QPushButton* btnView = nullptr;
  QPushButton* btnDelete = nullptr;
  QPushButton* btnRestore = nullptr;
  QPushButton* btnClose = nullptr;
  QPushButton* btnHelp = nullptr;
};

// Runs the viewer modally on the archive file; returns how many tasks were restored
// (the main window grows its tree by as many).
int ShowViewArchiveDialog(const QString& archiveFile, TTodoAppHandler& app, const TLTImageList& images,
                          bool stayOnTop, QWidget* parent = nullptr);
