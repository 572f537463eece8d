#pragma once
// The filter dialog ("Edit Filter"): which statuses, priorities, categories, resources
// and types, which flag and notes state and which date windows the task list lets
// through when the filter is on. Edits a copy of the options, handed back only on OK.
#include "core/TdOption.h"
#include "ui/TdFilterModel.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTodoHandler;
class TTdTypeHandler;

constexpr int kFilterDialogHelpContext = 15;

class TTdEditFilterDialog : public QDialog {
  Q_OBJECT

public:
  TTdEditFilterDialog(const TTdAppOptions& options, const TTdCategoryHandler& categories,
                      const TTdResourceHandler& resources, const TTdTodoHandler& todos, const TTdTypeHandler& types,
                      QWidget* parent = nullptr);
  ~TTdEditFilterDialog() override;

  // The options as stored by OK; the copy as given before.
  const TTdAppOptions& Options() const { return options_; }

  // Every group back to "Any", the date windows off at the store's bounds, the modes to
  // "All"; only for fields in use.
  void btnClearClick();
  // The form into the options.
  void StoreFilter();
  // What the controls show now.
  TFilterFormState FormState() const;

  void done(int result) override;

private:
  struct TListGroup {
    QGroupBox* Group = nullptr;
    QButtonGroup* Choice = nullptr;
    QListWidget* List = nullptr;
    bool InUse = true;
  };
  struct TDateRowControls {
    QCheckBox* Use = nullptr;
    QLabel* FirstLabel = nullptr;
    QLabel* LastLabel = nullptr;
    QDateEdit* First = nullptr;
    QDateEdit* Last = nullptr;
    bool InUse = true;
  };

  TListGroup MakeListGroup(const QString& title, const QString& name, const QStringList& choices,
                           const QStringList& items, bool inUse);
  QButtonGroup* MakeModeGroup(QGroupBox* group, const QStringList& choices);
  void ShowListGroup(TListGroup& group, const TFilterListState& state);
  static TFilterListState ListState(const TListGroup& group);
  void ShowDates(int kind, const TFilterDateRow& row);
  // The enabling rules.
  void UpdateControls();
  void ChoiceClicked(TListGroup& group);

  TTdAppOptions options_;
  TFilterBounds bounds_;
  bool ready_ = false;
  TListGroup status_, priority_, category_, resource_, type_;
  TDateRowControls dates_[fdCount];
  QGroupBox* flagGroup_ = nullptr;
  QGroupBox* notesGroup_ = nullptr;
  QButtonGroup* flagMode_ = nullptr;
  QButtonGroup* notesMode_ = nullptr;
};

// Shows the filter dialog on a copy of `options` and writes it back on OK. True on OK.
bool ShowEditFilterDialog(TTdAppOptions& options, const TTdCategoryHandler& categories,
                          const TTdResourceHandler& resources, const TTdTodoHandler& todos,
                          const TTdTypeHandler& types);
