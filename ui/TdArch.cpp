#include "ui/TdArch.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "ui/TdEdTodo.h"
#include "ui/TdDialogButtons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kDesignedListWidth = 320;
constexpr int kDesignedListHeight = 240;


TTdTodo* TaskOf(const QListWidgetItem* item) {
  return item != nullptr ? reinterpret_cast<TTdTodo*>(item->data(Qt::UserRole).value<quintptr>()) : nullptr;
}
}  // namespace

TViewArchiveDialog::TViewArchiveDialog(const QString& archiveFile, TTodoAppHandler& app,
                                       const TLTImageList& images, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      app_(app),
      images_(images),
      archive_(std::make_unique<TTdTodoHandler>(archiveFile)) {
  archive_->Load();
  setObjectName(QStringLiteral("ViewArchiveDialog"));
  setWindowTitle(QStringLiteral("View Archive"));

  lblArchive = new QLabel(this);
  lblArchive->setObjectName(QStringLiteral("lblArchive"));
  lstArchive = new QListWidget(this);
  lstArchive->setObjectName(QStringLiteral("lstArchive"));
  lstArchive->setSelectionMode(QAbstractItemView::SingleSelection);
  lstArchive->setMinimumSize(kDesignedListWidth, kDesignedListHeight);
  lblArchive->setBuddy(lstArchive);
  btnView = DialogButton(QStringLiteral("&View"), "ViewButton", this);
  btnDelete = DialogButton(QStringLiteral("&Delete"), "DeleteButton", this);
  btnRestore = DialogButton(QStringLiteral("&Restore"), "RestoreButton", this);
  btnClose = DialogButton(QStringLiteral("&Close"), "CloseButton", this);
  btnHelp = DialogButton(QStringLiteral("&Help"), "HelpButton", this);

  auto* left = new QVBoxLayout;
  left->addWidget(lblArchive);
  left->addWidget(lstArchive, 1);
  QBoxLayout* right = CommandColumn(lblArchive->sizeHint().height(), {btnView, btnDelete, btnRestore}, btnClose, btnHelp);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);

  const auto guarded = [this](void (TViewArchiveDialog::*handler)()) {
    return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
  };
  connect(lstArchive, &QListWidget::currentRowChanged, this, guarded(&TViewArchiveDialog::UpdateButtons));
  connect(btnView, &QPushButton::clicked, this, guarded(&TViewArchiveDialog::btnViewClick));
  connect(btnDelete, &QPushButton::clicked, this, guarded(&TViewArchiveDialog::btnDeleteClick));
  connect(btnRestore, &QPushButton::clicked, this, guarded(&TViewArchiveDialog::btnRestoreClick));
  connect(btnHelp, &QPushButton::clicked, this, guarded(&TViewArchiveDialog::btnHelpClick));
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

TViewArchiveDialog::~TViewArchiveDialog() = default;

void TViewArchiveDialog::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  QDialog::showEvent(event);
}

void TViewArchiveDialog::FormShow() {
  TTodoStringList lines;
  archive_->FillArchiveList(lines);
  lstArchive->clear();
  for (const auto& line : lines) {
    auto* item = new QListWidgetItem(line.text, lstArchive);
    item->setData(Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(line.object)));
  }
  if (lstArchive->count() > 0) lstArchive->setCurrentRow(0);
  lstArchive->setFocus();
  UpdateButtons();
}

void TViewArchiveDialog::UpdateButtons() {
  lblArchive->setText(QStringLiteral("Archived Tasks (%1)").arg(archive_->TaskCount()));
  const bool selected = SelectedTask() != nullptr;
  btnView->setEnabled(selected);
  btnDelete->setEnabled(selected);
  btnRestore->setEnabled(selected);
}

TTdTodo* TViewArchiveDialog::SelectedTask() const { return TaskOf(lstArchive->currentItem()); }

bool TViewArchiveDialog::Confirmed(bool ask, const QString& question) {
  return !ask || Desktop().MessageBox(QStringLiteral("Message"), question, Msg::Warning,
                                      Msg::Yes | Msg::No | Msg::Cancel, Msg::Yes, this) == Msg::Yes;
}

void TViewArchiveDialog::RemoveSelectedItem() {
  const int row = lstArchive->currentRow();
  delete lstArchive->takeItem(row);
  if (lstArchive->count() > 0) lstArchive->setCurrentRow(std::min(row, lstArchive->count() - 1));
  UpdateButtons();
}

void TViewArchiveDialog::btnViewClick() {
  TTdTodo* task = SelectedTask();
  if (task == nullptr) return;
  const TEditTodoSources sources{app_.CategoryHandler(), app_.ResourceHandler(), app_.TypeHandler(), app_.Options(),
                                 images_};
  ShowEditTodoDialog(*task, sources, false, false, this);
}

void TViewArchiveDialog::btnDeleteClick() {
  TTdTodo* task = SelectedTask();
  if (task == nullptr) return;
  if (!Confirmed(app_.Options().ConfirmDelete, QStringLiteral("Do you want to delete this archived Task?"))) return;
  archive_->Delete(task);
  RemoveSelectedItem();
}

void TViewArchiveDialog::btnRestoreClick() {
  TTdTodo* task = SelectedTask();
  if (task == nullptr) return;
  if (!Confirmed(app_.Options().ConfirmRestore, QStringLiteral("Do you want to restore this archived Task?"))) return;
  TTdTodo* restored = app_.TodoHandler().AddTodo();
  restored->Assign(*task);
  app_.AddAssociationIcon(*restored);
  ++restored_;
  archive_->Delete(task);
  RemoveSelectedItem();
  // Both files at once, the task list first: at no moment is the task on disk in
  // neither of them.
  app_.TodoHandler().Save();
  archive_->Save();
}

void TViewArchiveDialog::btnHelpClick() { ShowHelpContext(kArchiveHelpContext); }

void TViewArchiveDialog::done(int result) {
  RunGuarded([this] { archive_->Save(); });
  QDialog::done(result);
}

int ShowViewArchiveDialog(const QString& archiveFile, TTodoAppHandler& app, const TLTImageList& images,
                          bool stayOnTop, QWidget* parent) {
  std::unique_ptr<TViewArchiveDialog> dialog;
  {
    const ScopedWaitCursor wait;
    dialog = std::make_unique<TViewArchiveDialog>(archiveFile, app, images, parent);
    if (stayOnTop) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  dialog->exec();
  return dialog->RestoredCount();
}
