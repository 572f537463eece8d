#pragma once
// The one place where the font names the forms ask for meet the families installed
// here: Liberation where it matches a name's metrics, DejaVu for the rest.
#include <QFont>
#include <QString>

// The installed family that stands in for `requested` (a family we have stays itself).
QString InstalledFamily(const QString& requested);
// A font of `requested`'s stand-in family at `pixelHeight` pixels.
QFont MappedFont(const QString& requested, int pixelHeight, bool bold = false);
// Whether `font` can be turned: only outline fonts rotate cleanly.
bool IsOutlineFont(const QFont& font);
// The family rotated text falls back to when the font cannot be turned.
QString RotationFallbackFamily();
