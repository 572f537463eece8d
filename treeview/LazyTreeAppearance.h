#pragma once
// How a lazy tree looks, in one record: colours, indents and margins, tree lines and
// buttons, check images, the selection's drawing, the background picture and the
// frame's bevels. The tree's setters change it and repaint; painting only reads it.
#include "treeview/LazyTreeControlTypes.h"
#include "treeview/LazyTreeOptions.h"

#include <QCursor>
#include <QPixmap>
#include <QPoint>

#include <memory>

struct TLazyTreeAppearance {
  std::unique_ptr<TLTColors> colors;
  // Indents and margins
  int indent = 18;
  int margin = 4;
  int textMargin = 4;
  TLTAlignment alignment = taLeftJustify;
  TLTNodeAlignment nodeAlignment = naProportional;
  // Tree lines, buttons and check images
  TLTLineMode lineMode = lmNormal;
  TLTLineStyle lineStyle = lsDotted;
  TLTButtonFillMode buttonFillMode = fmTreeColor;
  TLTButtonStyle buttonStyle = bsRectangle;
  TCheckImageKind checkImageKind = ckLightCheck;
  // The selection and the hot node
  TLTDrawSelectionMode drawSelectionMode = smDottedRectangle;
  int selectionBlendFactor = 128;
  int selectionCurveRadius = 0;
  QCursor hotCursor;
  // Background and frame
  QPixmap background;
  QPoint backgroundOffset;
  TLTBorderStyle borderStyle = bsSingle;
  TBevelKind bevelKind = bkNone;
  TBevelCut bevelInner = bvRaised;
  TBevelCut bevelOuter = bvLowered;
  TBevelEdges bevelEdges = {beLeft, beTop, beRight, beBottom};
  int bevelWidth = 1;
};
