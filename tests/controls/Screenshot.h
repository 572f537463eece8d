#pragma once
// Compares a widget's picture with a reference picture kept under golden/. Run the
// tests with VELMORA_UPDATE_GOLDEN=1 to write missing or changed references; a picture
// that differs is written to the build folder for a look.
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
  const QImage actual = widget.grab().toImage().convertToFormat(QImage::Format_ARGB32);
  const QString goldenPath = QStringLiteral(VELMORA_CONTROLS_GOLDEN_DIR "/") + name + QStringLiteral(".png");
  if (qEnvironmentVariableIntValue("VELMORA_UPDATE_GOLDEN") == 1) {
    QDir().mkpath(QStringLiteral(VELMORA_CONTROLS_GOLDEN_DIR));
    actual.save(goldenPath);
    return ::testing::AssertionSuccess() << "written " << goldenPath.toStdString();
  }
  const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_ARGB32);
  const auto fail = [&](const std::string& why) {
    QDir().mkpath(QStringLiteral(VELMORA_CONTROLS_ACTUAL_DIR));
    const QString actualPath = QStringLiteral(VELMORA_CONTROLS_ACTUAL_DIR "/") + name + QStringLiteral(".png");
    actual.save(actualPath);
    return ::testing::AssertionFailure() << why << "; the picture is in " << actualPath.toStdString();
  };
  if (golden.isNull()) return fail("no reference " + goldenPath.toStdString());
  if (golden.size() != actual.size()) return fail("sizes differ");
  int outliers = 0;
  for (int y = 0; y < golden.height(); ++y) {
    const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    const QRgb* g = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
    for (int x = 0; x < golden.width(); ++x) {
      const int d = std::max({std::abs(qRed(a[x]) - qRed(g[x])), std::abs(qGreen(a[x]) - qGreen(g[x])),
                              std::abs(qBlue(a[x]) - qBlue(g[x]))});
      if (d > tolerance) ++outliers;
    }
  }
  if (outliers > allowedOutliers) return fail(std::to_string(outliers) + " pixels differ");
  return ::testing::AssertionSuccess();
}

}  // namespace screenshot
