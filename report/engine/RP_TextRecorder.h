#pragma once
// The text a prepared page puts on paper, in the order it is drawn: the page is drawn
// through the one paint path onto a device that keeps only the text outputs with their
// bounds, so searching finds exactly what the preview and the printer show.
#include <QRectF>
#include <QString>
#include <vector>

class TrpEMFPages;

// One line of text as drawn: the words drawn one after another on a line join up.
struct TrpTextRecord {
  QString Text;
  QRectF Bounds;  // in the pixels of the drawing rectangle's device
};

// Draws page `index` into `rect` (every object, none culled) and returns its text
// outputs in drawing order. A page not in use gives up its rebuilt objects afterwards.
std::vector<TrpTextRecord> rpPageTextRecords(TrpEMFPages& pages, int index, const QRect& rect);
