#include "report/engine/RP_LineView.h"

TrpLineView::TrpLineView() {
  Typ = rpObjectType::Line;
  FrameTyp = rpFrameSide::Left;
  FillColor = kRpWhite;
  SetBaseName(QStringLiteral("Line"));
}

void TrpLineView::DeclareProperties() {
  TrpView::DeclareProperties();
  AddProperty(QStringLiteral("Stretched"), rpProp::Boolean);
}

void TrpLineView::Draw(QPainter& canvas) {
  BeginDraw(&canvas);
  if (Height < Width) {
    Height = 0;
    FrameTyp = rpFrameSide::Top;
  } else {
    Width = 0;
    FrameTyp = rpFrameSide::Left;
  }
  CalcGaps();
  ShowFrame();
  RestoreCoord();
}
