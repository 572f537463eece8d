#pragma once
// Where an exported prepared page goes: text lines of memos one by one (so text
// exporters get each line with its own frame sides), every other object whole.
#include <QRect>
#include <QString>
#include <cstdint>

class TrpView;

class TrpExportFilter {
public:
  virtual ~TrpExportFilter() = default;
  // One line of a memo, its rectangle in report units, and the frame sides it keeps.
  virtual void OnText(const TrpView& view, const QString& text, const QRect& rect, uint16_t frameTyp) = 0;
  // A picture, line, band, check box ...
  virtual void OnObject(TrpView& view) = 0;
};
