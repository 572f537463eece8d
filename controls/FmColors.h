#pragma once
// Colours of the framed controls: the desktop's named colours (taken from the
// application palette, so a theme change follows) and the hue/saturation/lightness
// shades coloured frames are made of.
#include <QColor>

enum class TSysColor {
  clBtnFace,
  clBtnHighlight,
  clBtnShadow,
  cl3DLight,
  cl3DDkShadow,
  clBtnText,
  clWindowFrame,
  clWindow,
  clWindowText,
  clHighlight,
  clGrayText,
  clActiveCaption,
};

QColor SysColor(TSysColor color);

// Hue, saturation and lightness on a 0..240 scale.
struct THsl {
  int h = 0;
  int s = 0;
  int l = 0;
  bool operator==(const THsl&) const = default;
};

THsl RgbToHsl(const QColor& color);
// Inputs outside 0..240 are clamped; the result's components lie in 0..255.
QColor HslToRgb(const THsl& hsl);
// `color` with its lightness moved by `delta`, clamped to 0..240.
QColor ShadeColor(const QColor& color, int delta);
