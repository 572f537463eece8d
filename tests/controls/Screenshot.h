#pragma once
// Compares a widget's picture with a reference picture kept under golden/ (through the
// shared comparer in support/GoldenPicture.h); a picture that differs is written to the
// build folder for a look.
#include "support/GoldenPicture.h"

#include <QDir>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <gtest/gtest.h>

namespace screenshot {

// The one font every screenshot uses, so pictures do not follow the machine's defaults.
inline QFont FixedFont(int pixelSize = 12, bool bold = false) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setStyleStrategy(QFont::NoSubpixelAntialias);
  return font;
}

// Channels may differ by `tolerance`; a few pixels (anti-aliased glyph edges) may differ more.
inline ::testing::AssertionResult MatchesGolden(QWidget& widget, const QString& name, int tolerance = 24,
                                                int allowedOutliers = 8) {
  return golden::MatchesGolden(widget.grab().toImage().convertToFormat(QImage::Format_ARGB32),
                               QStringLiteral(VELMORA_CONTROLS_GOLDEN_DIR), name, {tolerance, allowedOutliers},
                               QStringLiteral(VELMORA_CONTROLS_ACTUAL_DIR));
}

}  // namespace screenshot
