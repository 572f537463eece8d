#pragma once
// The pictures every tree shares, built once and rebuilt when the palette changes: the
// check image sets, the utility images (drop marks, sort glyphs, XP header pieces), the
// wheel-panning pictures and the move and header-split cursors.
#include "treeview/LazyTrees.h"

#include <QCursor>
#include <QImage>

class TLTImageList;

// The built-in check image set of a kind (not ckCustom, which is the tree's own list).
TLTImageList& CheckImageList(TCheckImageKind Kind);
// 0, 1: drop marks at a column's left and right edge; 2, 3: descending and ascending sort
// glyphs; 4, 5: their themed forms; 6-8: the hot bar of the hand-drawn XP header button.
TLTImageList& UtilityImages();
// A cursor drawn for the tree ("LT_HEADERSPLIT", "LT_MOVEALL", "LT_MOVEN", ...), its hot
// spot in the middle; an arrow for an unknown name.
QCursor TreeCursor(const QString& Name);
