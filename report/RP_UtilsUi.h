#pragma once
// Helpers of the engine's windows that need Qt Widgets.
#include <QList>
#include <QPoint>

class QWidget;

// Enables or disables the controls together; labels take the window-text or the grey
// text colour, edits the window or the window-face colour.
void rpEnableControls(const QList<QWidget*>& controls, bool enabled);
// The topmost visible child of parent that contains point (in parent's coordinates),
// descending into visible containers that hold children; null when there is none.
QWidget* rpControlAtPos(QWidget* parent, QPoint point);
