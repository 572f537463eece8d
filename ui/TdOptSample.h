#pragma once
// The sample list of the options dialog's List page: one row per row state of the task
// list (Completed, Overdue, Urgent, High, Medium, Low, None, Selected), each painted with
// the font and background colour being edited, under a header and grid as chosen.
#include "core/TdOption.h"
#include "treeview/LazyStringTree.h"

#include <QStringList>

enum TSampleRow { srCompleted, srOverdue, srUrgent, srHigh, srMedium, srLow, srNone, srSelected, srCount };

// The font and background of a row state, for the sample and its buttons.
// The Selected row has no font of its own and shows the None font.
TFontOption& SampleRowFont(TTdAppOptions& options, TSampleRow row);
int32_t& SampleRowColor(TTdAppOptions& options, TSampleRow row);
inline const TFontOption& SampleRowFont(const TTdAppOptions& options, TSampleRow row) {
  return SampleRowFont(const_cast<TTdAppOptions&>(options), row);
}
inline int32_t SampleRowColor(const TTdAppOptions& options, TSampleRow row) {
  return SampleRowColor(const_cast<TTdAppOptions&>(options), row);
}
// "Completed Tasks:" ... "<None> Tasks:", "Selected Tasks:".
QString SampleRowCaption(TSampleRow row);

class TOptionSampleTree : public TLazyStringTree {
  Q_OBJECT

public:
  // Paints from `options`, which must outlive the tree; call Refresh after a change.
  explicit TOptionSampleTree(const TTdAppOptions& options, QWidget* parent = nullptr);
  ~TOptionSampleTree() override;

  // Header style, font and height, grid lines and their colour, row heights: all again
  // from the options.
  void Refresh();
  // The text of the second column of a row.
  static QString RowText(TSampleRow row);

private:
  const TTdAppOptions& options_;
};
