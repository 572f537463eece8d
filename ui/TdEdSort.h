#pragma once
// The sort dialog ("Sort options"): the three sort keys of the task list, each a column
// and a direction. Edits a copy of the options, handed back only on OK.
#include "core/TdOption.h"

#include <QDialog>
#include <QList>
#include <QString>

class QCheckBox;
class QComboBox;

constexpr int kSortDialogHelpContext = 33;

// A column the lists offer: its caption and column number.
struct TSortColumn {
  QString Caption;
  int Column;
  bool operator==(const TSortColumn&) const = default;
};
// The task list's columns in column order, without those of fields switched off.
QList<TSortColumn> SortColumns(const TTdAppOptions& options);
// The item of the column `element`, or the first item when the list has none.
int SortItemIndex(const QList<TSortColumn>& columns, int element);
// What "&Reset" selects in the three lists: the third, sixth and fourth item.
constexpr int kResetSortItems[3] = {2, 5, 3};

class TTdEditSortDialog : public QDialog {
  Q_OBJECT

public:
  explicit TTdEditSortDialog(const TTdAppOptions& options, QWidget* parent = nullptr);
  ~TTdEditSortDialog() override;

  // The options as stored by OK; the copy as given before.
  const TTdAppOptions& Options() const { return options_; }
  void btnResetClick();
  // The three selected columns and boxes into the options.
  void StoreSort();
  void done(int result) override;

private:
  TTdAppOptions options_;
  QList<TSortColumn> columns_;
  QComboBox* lists_[3] = {};
  QCheckBox* ascending_[3] = {};
};

// Shows the sort dialog on a copy of `options` and writes it back on OK. True on OK.
bool ShowEditSortDialog(TTdAppOptions& options);
