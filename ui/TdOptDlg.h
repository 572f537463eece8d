#pragma once
// The options dialog ("Edit Options"): six pages over a copy of the options record,
// handed back only on OK. What it decides lives in TdOptModel; the form fills its
// controls, keeps their enabling rules and reads them back.
#include "core/TdOption.h"
#include "ui/TdOptModel.h"

#include <QDialog>
#include <QList>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class TGlyphListBox;
class QPushButton;
class QToolButton;
class QWidget;
class TClNotebook;
class TClTabPage;
class TLTImageList;
class TOptionSampleTree;
class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTodoHandler;
class TTdTypeHandler;
class TUpDownEdit;

constexpr int kOptionDialogHelpContext = 13;
enum TOptionPage { opGeneral, opToolbar, opTabFilter, opFields, opList, opDefaults, opPageCount };

// What the dialog reads and shows besides the record: the stores for the default lists
// and the date bounds, and the pictures of the tool buttons and of the task attributes.
struct TOptionDialogSources {
  const TTdCategoryHandler& Categories;
  const TTdResourceHandler& Resources;
  const TTdTodoHandler& Todos;
  const TTdTypeHandler& Types;
  const TLTImageList& SmallImages;     // the tool buttons' glyphs
  const TLTImageList& TaskTreeImages;  // priority, status, category and type pictures
};

class TTdOptionDialog : public QDialog {
  Q_OBJECT

public:
  TTdOptionDialog(const TTdAppOptions& options, const TOptionDialogSources& sources, QWidget* parent = nullptr);
  ~TTdOptionDialog() override;

  // The record as stored by OK; the copy as given before.
  const TTdAppOptions& Options() const { return options_; }
  TClNotebook* NoteBook() const { return noteBook_; }
  // The page shown last in this run, where the next dialog opens.
  static int LastPage();
  static void ResetLastPage();

  // Fills every control from the record; runs when the dialog is first shown.
  void FormShow();
  // The enabling rules; runs after every change.
  void UpdateOptionControls();
  // On every close: false (after telling the user and moving the focus to the field to
  // change) while a numeric field holds no number or the due date delta is below the
  // reminder date delta. `storing` says whether the values are about to be stored.
  bool FormCloseQuery(bool storing);
  // The record from the copy and every control, with the clean-up for switched-off
  // fields, the tool-button choice and the tab mode.
  void StoreOptions();

  void done(int result) override;

protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct TBoundBox {
    QCheckBox* Box;
    TOptionFlag Flag;
  };
  struct TBoxSpec {
    const char* Caption;
    TOptionFlag Flag;
    const char* Key;
  };
  struct TNumberField {
    TUpDownEdit* Field;
    QString Name;
    int Page;
  };

  // Pages (TdOptDlgPages.cpp)
  void BuildGeneralPage(TClTabPage* page);
  void BuildToolbarPage(TClTabPage* page);
  void BuildTabFilterPage(TClTabPage* page);
  void BuildFieldsPage(TClTabPage* page);
  void BuildListPage(TClTabPage* page);
  void BuildDefaultsPage(TClTabPage* page);
  QCheckBox* Bind(QWidget* parent, const TBoxSpec& spec);
  QList<QCheckBox*> BindAll(QWidget* parent, std::initializer_list<TBoxSpec> specs);
  QPushButton* FontButton(QWidget* parent, const char* key, TFontOption* font);
  QPushButton* ColorButton(QWidget* parent, const char* key, int32_t* color);
  TUpDownEdit* NumberField(QWidget* parent, const char* key, const QString& name, int page, int minimum, int maximum);
  void FitNoteBook();

  // Tool-button lists (TdOptDlgToolbar.cpp)
  void FillToolButtonLists();
  QList<int> SelectedToolButtonCodes() const;
  void SelectToolButton();
  void DeselectToolButton();
  void MoveToolButton(int step);
  void UpdateToolbarControls();

  // Reads the boxes into the copy, applies the field rules and shows the result.
  void SyncBoxes();
  void UpdateGlyphs();
  void ShowDefaultFolder();
  void ChooseDatabaseFolder();
  void ChooseSoundFile();
  void TabPositionClick(int position);
  void btnHelpClick();
  // A handler for a signal: what escapes goes to the error box.
  static std::function<void()> Guarded(std::function<void()> handler);

  TTdAppOptions options_;
  const TOptionDialogSources sources_;
  bool ready_ = false;
  bool shown_ = false;
  static int lastPage_;

  TClNotebook* noteBook_ = nullptr;
  QList<TBoundBox> boxes_;
  QList<TNumberField> numbers_;
  QList<std::pair<QPushButton*, std::function<QColor()>>> glyphButtons_;

  // General
  QLineEdit* databaseFolder_ = nullptr;
  QPushButton* databaseBrowse_ = nullptr;
  QLabel* defaultFolder_ = nullptr;
  QLabel* notesSample_ = nullptr;
  QPushButton* notesFont_ = nullptr;
  QPushButton* notesColor_ = nullptr;
  TUpDownEdit* saveMinutes_ = nullptr;
  // Toolbar
  TGlyphListBox* available_ = nullptr;
  TGlyphListBox* selected_ = nullptr;
  QToolButton* select_ = nullptr;
  QToolButton* deselect_ = nullptr;
  QToolButton* moveUp_ = nullptr;
  QToolButton* moveDown_ = nullptr;
  // Tab filter
  QButtonGroup* tabFilter_ = nullptr;
  QButtonGroup* tabPosition_ = nullptr;
  // List
  QComboBox* headerStyle_ = nullptr;
  TOptionSampleTree* sample_ = nullptr;
  // Defaults
  QComboBox* defaultPriority_ = nullptr;
  QComboBox* defaultCategory_ = nullptr;
  QComboBox* defaultResource_ = nullptr;
  QComboBox* defaultStatus_ = nullptr;
  QComboBox* defaultType_ = nullptr;
  TUpDownEdit* reminderDelta_ = nullptr;
  QLineEdit* soundPath_ = nullptr;
  TUpDownEdit* days_ = nullptr;
  TUpDownEdit* hours_ = nullptr;
  TUpDownEdit* minutes_ = nullptr;
  QCheckBox* beep_ = nullptr;
  QCheckBox* sound_ = nullptr;
  QCheckBox* speech_ = nullptr;
  TUpDownEdit* dueDelta_ = nullptr;
  TUpDownEdit* dueHour_ = nullptr;

  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
};

// Shows the dialog on a copy of `options` and writes the edited record back on OK.
// True on OK.
bool ShowOptionDialog(TTdAppOptions& options, const TOptionDialogSources& sources);
