#include "ui/TdLookupEditor.h"

#include "core/TdApp.h"
#include "core/UtStrings.h"
#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"
#include "treeview/LazyTreeImageList.h"
#include "ui/TdGlyphListBox.h"
#include "ui/TdImageIcons.h"
#include "ui/TdDialogButtons.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

using namespace LookupEditor;

namespace {
constexpr int kDesignedListWidth = 200;
constexpr int kDesignedListHeight = 220;

}  // namespace

TLookupEditorDialog::TLookupEditorDialog(TLookupKind kind, TTodoAppHandler& app, const TLTImageList* images,
                                         const TSelection& selection, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      variant_(VariantOf(kind)),
      app_(app),
      images_(variant_.hasImage ? images : nullptr),
      list_(AccessTo(kind, app)),
      selection_(selection) {
  setObjectName(QStringLiteral("LookupEditorDialog"));
  setWindowTitle(variant_.caption);

  if (variant_.hasImage) {
    glyphList_ = new TGlyphListBox(this);
    lstItems = glyphList_;
  } else {
    lstItems = new QListWidget(this);
  }
  lstItems->setObjectName(QStringLiteral("lstItems"));
  lstItems->setSelectionMode(QAbstractItemView::SingleSelection);
  lstItems->setMinimumSize(kDesignedListWidth, kDesignedListHeight);
  auto* listCaption = new QLabel(variant_.listCaption, this);
  listCaption->setBuddy(lstItems);
  txtName = new QLineEdit(this);
  txtName->setObjectName(QStringLiteral("txtName"));
  auto* nameCaption = new QLabel(QStringLiteral("Name:"), this);
  nameCaption->setBuddy(txtName);

  auto* left = new QVBoxLayout;
  left->addWidget(listCaption);
  left->addWidget(lstItems, 1);
  left->addWidget(nameCaption);
  left->addWidget(txtName);
  if (variant_.hasImage) {
    cmbGlyph = new QComboBox(this);
    cmbGlyph->setObjectName(QStringLiteral("cmbGlyph"));
    for (int item = 1; item <= kGlyphPickerCount; ++item) {
      const QIcon icon = images_ != nullptr ? ImageIcon(*images_, GlyphPickerImage(item)) : QIcon();
      cmbGlyph->addItem(icon, QString::number(item), GlyphPickerImage(item));
    }
    auto* pickerCaption = new QLabel(QStringLiteral("Image:"), this);
    pickerCaption->setBuddy(cmbGlyph);
    auto* picker = new QHBoxLayout;
    picker->addWidget(pickerCaption);
    picker->addWidget(cmbGlyph);
    picker->addStretch();
    left->addLayout(picker);
  }

  btnAdd = DialogButton(QStringLiteral("&Add"), "AddButton", this);
  btnDelete = DialogButton(QStringLiteral("&Delete"), "DeleteButton", this);
  btnReplace = DialogButton(QStringLiteral("&Replace"), "ReplaceButton", this);
  btnClose = DialogButton(QStringLiteral("&Close"), "CloseButton", this);
  btnHelp = DialogButton(QStringLiteral("&Help"), "HelpButton", this);
  QBoxLayout* right = CommandColumn(listCaption->sizeHint().height(), {btnAdd, btnDelete, btnReplace}, btnClose, btnHelp);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);

  const auto guarded = [this](void (TLookupEditorDialog::*handler)()) {
    return [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); };
  };
  connect(lstItems, &QListWidget::currentRowChanged, this, guarded(&TLookupEditorDialog::lstItemsClick));
  connect(txtName, &QLineEdit::textChanged, this, guarded(&TLookupEditorDialog::UpdateButtons));
  connect(btnAdd, &QPushButton::clicked, this, guarded(&TLookupEditorDialog::btnAddClick));
  connect(btnReplace, &QPushButton::clicked, this, guarded(&TLookupEditorDialog::btnReplaceClick));
  connect(btnDelete, &QPushButton::clicked, this, guarded(&TLookupEditorDialog::btnDeleteClick));
  connect(btnHelp, &QPushButton::clicked, this, guarded(&TLookupEditorDialog::btnHelpClick));
  connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
}

TLookupEditorDialog::~TLookupEditorDialog() = default;

void TLookupEditorDialog::showEvent(QShowEvent* event) {
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
  QDialog::showEvent(event);
}

QPixmap TLookupEditorDialog::GlyphOf(int image) const {
  if (images_ == nullptr || !images_->IsValidIndex(image)) return {};
  return QPixmap::fromImage(images_->Image(image));
}

int TLookupEditorDialog::PickedImage() const {
  if (cmbGlyph == nullptr || cmbGlyph->currentIndex() < 0) return -1;
  return GlyphPickerImage(cmbGlyph->currentIndex() + 1);
}

void TLookupEditorDialog::FormShow() {
  filling_ = true;
  lstItems->clear();
  for (int id = 1; id < list_->Count(); ++id) {
    lstItems->addItem(list_->Name(id));
    if (glyphList_ != nullptr) glyphList_->SetItemGlyph(id - 1, GlyphOf(list_->Image(id)));
  }
  if (cmbGlyph != nullptr) cmbGlyph->setCurrentIndex(0);
  filling_ = false;
  if (lstItems->count() > 0) {
    if (lstItems->currentRow() == 0) lstItemsClick();
    else lstItems->setCurrentRow(0);
  }
  lstItems->setFocus();
  UpdateButtons();
}

void TLookupEditorDialog::lstItemsClick() {
  if (filling_) return;
  const int row = lstItems->currentRow();
  if (row >= 0) {
    txtName->setText(lstItems->item(row)->text());
    const int item = GlyphPickerItemOf(list_->Image(row + 1));
    if (cmbGlyph != nullptr && item > 0) cmbGlyph->setCurrentIndex(item - 1);
  }
  UpdateButtons();
}

void TLookupEditorDialog::UpdateButtons() {
  const int row = lstItems->currentRow();
  const bool selected = row >= 0;
  const QString name = txtName->text();
  btnAdd->setEnabled(CanAdd(name));
  btnDelete->setEnabled(CanDelete(selected));
  btnReplace->setEnabled(CanReplace(variant_, selected, name, selected ? lstItems->item(row)->text() : QString()));
}

void TLookupEditorDialog::Warn(const QString& text) {
  Desktop().MessageBox(QStringLiteral("Message"), text, Msg::Warning, Msg::Ok, Msg::Ok, this);
}

void TLookupEditorDialog::btnAddClick() {
  const QString name = txtName->text();
  if (list_->NameExists(name)) {
    Warn(variant_.exists);
    return;
  }
  const int id = list_->Add(name, variant_.hasImage ? PickedImage() : -1);
  lstItems->addItem(name);
  if (glyphList_ != nullptr) glyphList_->SetItemGlyph(id - 1, GlyphOf(list_->Image(id)));
  changed_ = true;
  lstItems->setCurrentRow(id - 1);
  UpdateButtons();
}

void TLookupEditorDialog::btnReplaceClick() {
  const int row = lstItems->currentRow();
  if (row < 0) return;
  const int id = row + 1;
  const QString name = txtName->text();
  // A second entry of the same name could not be told apart in any list.
  for (int other = 0; other < list_->Count(); ++other) {
    if (other != id && FastSameText(list_->Name(other), name)) {
      Warn(variant_.exists);
      return;
    }
  }
  list_->Replace(id, name, variant_.hasImage ? PickedImage() : list_->Image(id));
  lstItems->item(row)->setText(name);
  if (glyphList_ != nullptr) glyphList_->SetItemGlyph(row, GlyphOf(list_->Image(id)));
  changed_ = true;
  UpdateButtons();
}

void TLookupEditorDialog::btnDeleteClick() {
  const int row = lstItems->currentRow();
  if (row < 0) return;
  const int id = row + 1;
  const QString question = DeleteQuestion(variant_, list_->Name(id), list_->TaskCount(id));
  if (Desktop().MessageBox(QStringLiteral("Message"), question, Msg::Warning, Msg::Yes | Msg::No | Msg::Cancel,
                           Msg::Yes, this) != Msg::Yes)
    return;
  // The entry leaves the store first of all, so the list follows it even when a later
  // step (a damaged archive file) fails; the caller learns of the change either way.
  changed_ = true;
  const auto removeItem = [this, row] {
    filling_ = true;
    if (glyphList_ != nullptr) glyphList_->DeleteItemGlyph(row);
    delete lstItems->takeItem(row);
    filling_ = false;
    if (lstItems->count() > 0) lstItems->setCurrentRow(std::min(row, lstItems->count() - 1));
    lstItemsClick();
  };
  try {
    DeleteEntry(*list_, app_, id, selection_);
  } catch (...) {
    removeItem();
    throw;
  }
  removeItem();
}

void TLookupEditorDialog::btnHelpClick() { ShowHelpContext(kHelpContext); }

bool ShowLookupEditor(TLookupKind kind, TTodoAppHandler& app, const TLTImageList* images, int32_t& defaultId,
                      TIdArray& include, bool stayOnTop, TIdArray& exclude, QWidget* parent) {
  std::unique_ptr<TLookupEditorDialog> dialog;
  {
    const ScopedWaitCursor wait;
    dialog = std::make_unique<TLookupEditorDialog>(kind, app, images, TSelection{defaultId, include, exclude}, parent);
    if (stayOnTop) dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  }
  dialog->exec();
  if (!dialog->Changed()) return false;
  defaultId = dialog->Selection().defaultId;
  include = dialog->Selection().include;
  exclude = dialog->Selection().exclude;
  return true;
}
