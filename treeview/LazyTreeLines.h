#pragma once
// The tree lines of one row: one piece per indent level, worked out from the node's links
// alone, and the band pieces the grid draws in the main column with the band line mode.
#include "treeview/LazyTreeTypes.h"

#include <QBrush>
#include <QRect>
#include <QVector>

class QPainter;

enum TLTLineType { ltNone, ltBottomRight, ltTopDown, ltTopDownRight, ltRight, ltTopRight, ltLeft, ltLeftBottom };
using TLineImage = QVector<TLTLineType>;

// One entry per level of indent: the node's ancestors below Root, plus the top level with
// ShowRoot. The last entry is the node's own (a connector); ancestors continue down where
// they have a later visible sibling. Reads only links and visibility flags. O(depth).
TLineImage ComputeLineImage(PLazyNode Node, PLazyNode Root, bool ShowRoot);
// The band pieces for the same row, from the deepest level up; an expanded node's row
// has a band edge on every level.
TLineImage ComputeBandImage(const TLineImage& Lines, bool Expanded);

// Draws the pieces from Cell's left edge (right edge when RightToLeft), Indent apart, over
// the cell's height: vertical lines in each piece's middle, connectors at LineY. Lines are
// one-pixel fills with Pattern.
void DrawLineImage(QPainter& Canvas, const TLineImage& Image, const QRect& Cell, int Indent, int LineY, bool RightToLeft,
                   const QBrush& Pattern);
