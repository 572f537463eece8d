#include "controls/FmColors.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

QColor SysColor(TSysColor color) {
  const QPalette palette = QApplication::palette();
  switch (color) {
    case TSysColor::clBtnFace: return palette.color(QPalette::Button);
    case TSysColor::clBtnHighlight: return palette.color(QPalette::Light);
    case TSysColor::clBtnShadow: return palette.color(QPalette::Dark);
    case TSysColor::cl3DLight: return palette.color(QPalette::Midlight);
    case TSysColor::cl3DDkShadow: return palette.color(QPalette::Shadow);
    case TSysColor::clBtnText: return palette.color(QPalette::ButtonText);
    case TSysColor::clWindowFrame: return palette.color(QPalette::WindowText);
    case TSysColor::clWindow: return palette.color(QPalette::Base);
    case TSysColor::clWindowText: return palette.color(QPalette::Text);
    case TSysColor::clHighlight: return palette.color(QPalette::Highlight);
    case TSysColor::clGrayText: return palette.color(QPalette::Disabled, QPalette::Text);
    case TSysColor::clActiveCaption: return palette.color(QPalette::Active, QPalette::Highlight);
  }
  return Qt::black;
}

namespace {

constexpr double kScale = 240.0;

int RoundScale(double value) { return static_cast<int>(std::lround(value * kScale)); }

double HueToChannel(double m1, double m2, double sector) {
  if (sector < 0) sector += 6;
  if (sector >= 6) sector -= 6;
  if (sector < 1) return m1 + (m2 - m1) * sector;
  if (sector < 3) return m2;
  if (sector < 4) return m1 + (m2 - m1) * (4 - sector);
  return m1;
}

int ToByte(double channel) { return std::clamp(static_cast<int>(std::lround(channel * 255.0)), 0, 255); }

}  // namespace

THsl RgbToHsl(const QColor& color) {
  const double r = color.red() / 255.0;
  const double g = color.green() / 255.0;
  const double b = color.blue() / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double l = (max + min) / 2;
  if (max == min) return {0, 0, RoundScale(l)};
  const double delta = max - min;
  const double s = l < 0.5 ? delta / (max + min) : delta / (2 - max - min);
  double h;
  if (r == max)
    h = (g - b) / delta;
  else if (g == max)
    h = 2 + (b - r) / delta;
  else
    h = 4 + (r - g) / delta;
  h /= 6;
  if (h < 0) h += 1;
  if (h >= 1) h -= 1;
  return {RoundScale(h) % 240, RoundScale(s), RoundScale(l)};
}

QColor HslToRgb(const THsl& hsl) {
  const double h = std::clamp(hsl.h, 0, 240) / kScale;
  const double s = std::clamp(hsl.s, 0, 240) / kScale;
  const double l = std::clamp(hsl.l, 0, 240) / kScale;
  if (s == 0) return QColor(ToByte(l), ToByte(l), ToByte(l));
  const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
  const double m1 = 2 * l - m2;
  const double sector = h * 6;
  return QColor(ToByte(HueToChannel(m1, m2, sector + 2)), ToByte(HueToChannel(m1, m2, sector)),
                ToByte(HueToChannel(m1, m2, sector - 2)));
}

QColor ShadeColor(const QColor& color, int delta) {
  THsl hsl = RgbToHsl(color);
  hsl.l = std::clamp(hsl.l + delta, 0, 240);
  return HslToRgb(hsl);
}
