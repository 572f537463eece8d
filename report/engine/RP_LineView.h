#pragma once
// A horizontal or vertical line: a view whose frame is the line.
#include "report/engine/RP_View.h"

class TrpLineView : public TrpStretcheable {
public:
  TrpLineView();
  QString ClassName() const override { return QStringLiteral("TrpLineView"); }

  void DeclareProperties() override;
  // Horizontal (height 0, top side) when lower than wide, else vertical (width 0, left
  // side); only the frame is drawn.
  void Draw(QPainter& canvas) override;
  int CalcHeight() override { return Height; }
  int MinHeight() override { return 1; }
  int RemainHeight() override { return 0; }
};
