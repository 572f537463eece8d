#pragma once
// Helpers the controls and the dialogs that place them share: fitting a path into a
// label, the keyboard state, rotated fonts, default names and cursors.
#include "platform/Exception.h"

#include <QCursor>
#include <QDate>
#include <QFont>
#include <QString>
#include <functional>

class QObject;

// Width in pixels of a text as a label would draw it.
using TextWidthFn = std::function<int(const QString&)>;

// Fits `path` into `width` pixels: unchanged when `width` is 0 or the path fits;
// otherwise leading folders are kept and the rest replaced by "/.../" before the file
// name (a path ending in "/" keeps its last folder as the name), dropping folders from
// the right until it fits or only the first is left; when even that is too wide it is
// cut at the end with "...". "Fits" means not wider than `width`.
QString ShortenPathToWidth(const QString& path, int width, const TextWidthFn& textWidth);
// The same, measured with the menu font, as the dialogs show paths in it.
QString ShortenPathToWidth(const QString& path, int width);

// Keyboard shift state as bits: Shift 2, Ctrl 4, Alt 8.
enum TShiftFlag : int { sfShift = 2, sfCtrl = 4, sfAlt = 8 };
int ShiftFlagsFromModifiers(Qt::KeyboardModifiers modifiers);
// The state of the keyboard now.
int GetShiftFlags();

// A font turned by an angle: the font itself (weight bold or normal only, as the
// rotated text is drawn) and its turn in tenths of a degree, counter-clockwise.
struct TRotatedFont {
  QFont font;
  int escapement = 0;
};
TRotatedFont CreateRotatedFont(const QFont& font, int angle);

inline int MaxL(int a, int b) { return a > b ? a : b; }

// The year `today` lies in, rounded down to its century (two-digit years count from it).
int DefaultEpoch(QDate today = QDate::currentDate());

// A name the form's components do not use yet.
class EInvalidComponentName : public Exception {
public:
  using Exception::Exception;
};
// `base` followed by the smallest number from 1 up that no object in `form` (itself
// included) is named with. Throws EInvalidComponentName when `base` is not an identifier.
QString UniqueComponentName(const QObject& form, const QString& base);

// The library's cursors by their resource names ("FMSPLIT_HORZ", "FMSPLIT_VERT" and
// their "HOTSPOT" variants); an unknown name gives the arrow.
QCursor LoadClCursor(const QString& name);
