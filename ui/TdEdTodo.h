#pragma once
// The task editor: edits one task in place on four pages (General, Reminder, Link,
// Recurring), as a new task, an existing one, or read-only from the archive. The task
// changes only when OK is pressed and every check passed; the caller marks its store
// modified.
#include "ui/TdEdTodoModel.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class TClNotebook;
class TClTabPage;
class TFmNumericEdit;
class TLTImageList;
class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTodo;
class TTdTypeHandler;
struct TTdAppOptions;

// The stores and settings the editor reads; all must outlive it. `images` are the task
// tree's pictures (priorities, statuses, category and type images).
struct TEditTodoSources {
  const TTdCategoryHandler& categories;
  const TTdResourceHandler& resources;
  const TTdTypeHandler& types;
  const TTdAppOptions& options;
  const TLTImageList& images;
};

class TEditTodoDialog : public QDialog {
  Q_OBJECT

public:
  // The designed client size with every field in use; a larger font makes it grow.
  static constexpr int kDesignedWidth = 470;
  static constexpr int kDesignedHeight = 490;

  TEditTodoDialog(TTdTodo& task, const TEditTodoSources& sources, bool isNew, bool editable,
                  QWidget* parent = nullptr);
  ~TEditTodoDialog() override;

  // Fills the controls from the task and fits the dialog to the options; runs at the
  // first showing.
  void FormShow();
  // The enabling rules; nothing changes in a read-only dialog.
  void UpdateControls();
  void cmbStatusChange();
  void cmbPercentChange();
  // Checks, then writes into the task; a failed check keeps the dialog open and the
  // task as it was. A read-only dialog just closes.
  void CmdOKClick();
  void btnHelpClick();
  void btnBrowseSoundClick();
  void btnBrowseLinkClick();
  void btnPlaySoundClick();
  void btnRunLinkClick();
  void btnTestClick();

  // What the controls hold now.
  EditTodo::TValues Values() const;
  // The completion date OK writes for a closed status.

protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildGeneralPage(QWidget* page);
  void BuildReminderPage(QWidget* page);
  void BuildLinkPage(QWidget* page);
  void BuildRecurringPage(QWidget* page);
  void ConnectChanges();
  void FillControls();
  void ApplyVisibility();
  void RemovePages();
  void MakeReadOnly();
  void FitSize();
  void ShowCompleted();
  void SetStatusAndPercent(const EditTodo::TStatusPercent& value);
  QString BrowseFile(const QString& current);
  void CapitalizeOnLeave(QObject* watched);

  TTdTodo& task_;
  TEditTodoSources sources_;
  bool isNew_;
  bool editable_;
  TDateTime completion_;
  bool settingControls_ = false;  // on while the dialog sets its controls itself
  bool shown_ = false;

  TClNotebook* Notebook = nullptr;
  TClTabPage* pageReminder_ = nullptr;
  TClTabPage* pageLink_ = nullptr;
  TClTabPage* pageRecurring_ = nullptr;
  std::array<QWidget*, 4> contents_{};  // the controls of each page
  QWidget* removedPages_ = nullptr;     // hidden keeper of the removed pages' controls

  // General
  QLineEdit* txtHeader = nullptr;
  QPlainTextEdit* meNotes = nullptr;
  QComboBox* cmbCategory = nullptr;
  QComboBox* cmbPriority = nullptr;
  QComboBox* cmbStatus = nullptr;
  QComboBox* cmbType = nullptr;
  QComboBox* cmbResource = nullptr;
  QDateEdit* dtpDueDate = nullptr;
  QTimeEdit* dtpDueTime = nullptr;
  QComboBox* cmbPercent = nullptr;
  QCheckBox* chkFlagged = nullptr;
  QGroupBox* pnlInfo = nullptr;
  QLabel* lblCreated = nullptr;
  QLabel* lblCompleted = nullptr;
  QLabel* lblRecurring = nullptr;
  QWidget* fldNotes_ = nullptr;
  QWidget* fldCategory_ = nullptr;
  QWidget* fldPriority_ = nullptr;
  QWidget* fldType_ = nullptr;
  QWidget* fldResource_ = nullptr;
  QWidget* fldDueDate_ = nullptr;
  QWidget* fldDueTime_ = nullptr;
  QWidget* fldPercent_ = nullptr;

  // Reminder
  QCheckBox* chkUseReminder = nullptr;
  QDateEdit* dtpReminderDate = nullptr;
  QTimeEdit* dtpReminderTime = nullptr;
  QCheckBox* chkBeep = nullptr;
  QCheckBox* chkSound = nullptr;
  QCheckBox* chkSpeech = nullptr;
  QLabel* lblSoundFile = nullptr;
  QLineEdit* txtSoundFile = nullptr;
  QPushButton* btnBrowseSound = nullptr;
  QPushButton* btnPlaySound = nullptr;
  QPushButton* btnTest = nullptr;
  QLabel* lblReminderState = nullptr;

  // Link
  QLineEdit* txtLink = nullptr;
  QPushButton* btnBrowseLink = nullptr;
  QPushButton* btnRunLink = nullptr;

  // Recurring
  QCheckBox* chkTemplate = nullptr;
  std::array<QRadioButton*, 3> rbKind{};
  std::array<TFmNumericEdit*, 3> edInterval{};
  std::array<QList<QWidget*>, 3> kindControls_;  // frequency, labels, day boxes per kind
  std::array<QCheckBox*, 7> chkWeekday{};
  std::array<QCheckBox*, 31> chkDay{};
  QGroupBox* grpSettings = nullptr;
  QDateEdit* dtpFirstDate = nullptr;
  QDateEdit* dtpLastDate = nullptr;
  TFmNumericEdit* edLeadDays = nullptr;
  QCheckBox* chkOnlyOneOpen = nullptr;

  QPushButton* btnOK = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnHelp = nullptr;
};

// Runs the editor modally; true when it ended with OK (or Close in a read-only one).
bool ShowEditTodoDialog(TTdTodo& task, const TEditTodoSources& sources, bool isNew, bool editable,
                        QWidget* parent = nullptr);
