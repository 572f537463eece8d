#pragma once
// The small drawing routines the tree's painting, header, hints and drag images share:
// blending of 32-bit images, shortening text with an ellipsis, text output with the
// classic format flags, colour codes, image strips and check images, rectangles and the
// vertical alignment of images in a row. None of them needs a tree.
#include "treeview/LazyTreeTypes.h"

#include <QColor>
#include <QFontMetrics>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>

class QPainter;
class QStyle;
class QWidget;
class TLTImageList;

// ---- Blending ------------------------------------------------------------------------------
enum TBlendMode {
  blendUniform,         // source over target with one opacity for all pixels
  blendPerPixel,        // the source's alpha channel gives each pixel's opacity
  blendPerPixelScaled,  // per-pixel alpha scaled by the opacity
  blendColour,          // a constant colour blended into the target with one opacity
};

// Blends Rect of Source (or, for blendColour, Colour over Rect's size) into Target at
// TargetPoint. Every channel, alpha included, is blended, Bias is added to the colour
// channels, and results are held in 0..255. Opacity runs from 0 (target unchanged) to 255 (source). Both images
// are used as 32-bit pixels; a target of another format is converted first. The area is
// cut to both images.
void BlendBitmaps(const QImage& Source, QImage& Target, QRect Rect, int Bias, int Opacity, TBlendMode Mode,
                  QPoint TargetPoint, QColor Colour = QColor());

// ---- Text ----------------------------------------------------------------------------------
// The longest prefix (suffix for right-to-left text) that fits Width together with "...",
// joined to it. Empty when the text is empty, Width is not positive or no wider than the
// ellipsis. Meant for text that does not fit: callers test that first. EllipsisWidth < 0
// measures "..." with Metrics. Costs a logarithmic number of measurements.
QString FitTextWithEllipsis(const QFontMetrics& Metrics, const QString& Text, int Width, bool RightToLeft,
                            int EllipsisWidth = -1);

// The format flags of classic text output, as stored and passed around by the control.
enum TDrawTextFlag : unsigned {
  DT_LEFT = 0x0,
  DT_CENTER = 0x1,
  DT_RIGHT = 0x2,
  DT_VCENTER = 0x4,
  DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10,
  DT_SINGLELINE = 0x20,
  DT_CALCRECT = 0x400,
  DT_NOPREFIX = 0x800,
  DT_RTLREADING = 0x20000,
};
// Draws Text into Rect with the classic flags; with DT_CALCRECT nothing is drawn and Rect
// becomes the text's extent (its width kept with DT_WORDBREAK, which wraps at it).
// Without DT_NOPREFIX "&" marks the next character as a mnemonic.
void DrawWideText(QPainter& Canvas, const QString& Text, QRect& Rect, unsigned Format);

// ---- Colours -------------------------------------------------------------------------------
// Colours as the layout stream and the owners' settings store them: 0x00BBGGRR, the
// system colours 0xFF0000nn (the palette's roles), and two specials.
using TColorCode = std::int32_t;
inline constexpr TColorCode clNone = 0x1FFFFFFF;
inline constexpr TColorCode clDefault = 0x20000000;
inline constexpr TColorCode clSystemColor = static_cast<TColorCode>(0xFF000000u);
// The system colour indexes the control uses.
inline constexpr int COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_HIGHLIGHT = 13, COLOR_BTNFACE = 15,
                     COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_BTNHIGHLIGHT = 20;

// clNone: opaque white; clDefault: opaque black; system colours: the application palette's
// colour for that role; others: their RGB, opaque.
QRgb ColorToRGBA(TColorCode Colour);
// A QColor for a stored colour (clNone: transparent, clDefault: an invalid colour).
QColor ColorFromCode(TColorCode Colour);
// The stored form of a QColor: RGB for valid colours (alpha dropped, except that fully
// transparent is clNone), clDefault for an invalid one.
TColorCode ColorToCode(const QColor& Colour);

// ---- Rectangles and alignment --------------------------------------------------------------
// Left <= Right and Top <= Bottom, by exchanging the edges (exclusive right/bottom kept).
QRect NormalizeRect(const QRect& Rect);

// The vertical centre, within a row of NodeHeight, of an image or button that is
// ItemHeight high (0: the tree lines), from the node's alignment value and the tree's
// NodeAlignment (0 from bottom, 1 from top, 2 proportional).
int NodeAlignmentCentre(int NodeAlignment, int NodeHeight, int AlignValue, int ItemHeight);

// ---- Image strips and check images ---------------------------------------------------------
// Fills List from the built-in strip named ResourceName ("LT_CHECK_DARK", ...): square
// cells as high as the strip, the pixel at (0, 0) as the mask colour; with RemapColours
// white, silver and grey become the palette's window, button-face and button-shadow
// colours. Fails with "Internal image "NAME" is missing or corrupt." Strips are loaded one
// at a time process-wide.
void LoadImageStrip(TLTImageList& List, const QString& ResourceName, bool RemapColours);
// A built-in image (panning pictures, XP buttons) or cursor picture by name; null when
// there is none.
QImage BuiltInImage(const QString& Name);
QImage BuiltInCursorImage(const QString& Name);

// Draws check image Index (the index layout of the check strips) with the style's
// indicators into Cell: 1-8 radio buttons, 9-20 check boxes, 21-24 push buttons.
void DrawStyledCheckImage(QPainter& Canvas, const QRect& Cell, int Index, bool Flat, QStyle* Style,
                          const QWidget* Widget);
// The system check image sets: image 0 empty, 1-20 from the style's indicators (drawn flat
// for the flat set), 21-24 the push-button images of the dark (flat) strip. 16 × 16 cells.
void BuildSystemCheckImages(TLTImageList& List, bool Flat, QStyle* Style);

// The image of a check, by check type, state, whether the node is enabled and whether it
// is hot; -1 for a node without check type. Disabled images do not change with hot.
int CheckImageIndexFor(TCheckType Type, TCheckState State, bool Enabled, bool Hot);
// Each state's pressed partner (shown while a key or button is held on the box) and each
// state's normal form (when the press ends or is abandoned).
TCheckState PressedCheckState(TCheckState State);
TCheckState NormalCheckState(TCheckState State);
