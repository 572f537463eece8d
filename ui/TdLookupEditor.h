#pragma once
// The editor of one lookup list (categories, resources or types): add, rename and delete
// entries; categories and types also choose a picture. Entry 0 "-- unknown --" is not
// shown and cannot be deleted here.
#include "ui/TdLookupEditorModel.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TGlyphListBox;
class TLTImageList;
class TTodoAppHandler;

class TLookupEditorDialog : public QDialog {
  Q_OBJECT

public:
  // `images` (the task tree's pictures) may be null for a list without pictures; the
  // handler and the images must outlive the dialog.
  TLookupEditorDialog(LookupEditor::TLookupKind kind, TTodoAppHandler& app, const TLTImageList* images,
                      const LookupEditor::TSelection& selection, QWidget* parent = nullptr);
  ~TLookupEditorDialog() override;

  bool Changed() const { return changed_; }
  // The default id and the filter lists, renumbered as entries were deleted.
  const LookupEditor::TSelection& Selection() const { return selection_; }

  void FormShow();
  void lstItemsClick();
  void UpdateButtons();
  void btnAddClick();
  void btnReplaceClick();
  void btnDeleteClick();
  void btnHelpClick();

protected:
  void showEvent(QShowEvent* event) override;

private:
  QPixmap GlyphOf(int image) const;
  int PickedImage() const;
  void Warn(const QString& text);

  const LookupEditor::TVariant& variant_;
  TTodoAppHandler& app_;
  const TLTImageList* images_;
  std::unique_ptr<LookupEditor::TLookupAccess> list_;
  LookupEditor::TSelection selection_;
  bool changed_ = false;
  bool filling_ = false;  // on while the dialog fills itself
  bool shown_ = false;

  QListWidget* lstItems = nullptr;
  TGlyphListBox* glyphList_ = nullptr;  // lstItems, for the lists with pictures
  QLineEdit* txtName = nullptr;
  QComboBox* cmbGlyph = nullptr;
  QPushButton* btnAdd = nullptr;
  QPushButton* btnDelete = nullptr;
  QPushButton* btnReplace = nullptr;
  QPushButton* btnClose = nullptr;
  QPushButton* btnHelp = nullptr;
};

// Runs the editor modally. When something changed, the default id and both lists are
// handed back (renumbered) and true returned.
bool ShowLookupEditor(LookupEditor::TLookupKind kind, TTodoAppHandler& app, const TLTImageList* images,
                      int32_t& defaultId, TIdArray& include, bool stayOnTop, TIdArray& exclude,
                      QWidget* parent = nullptr);
