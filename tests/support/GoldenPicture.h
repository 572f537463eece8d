#pragma once
// Compares a painted picture with a reference picture kept beside the tests, for every
// test binary that has them. Run the tests with VELMORA_UPDATE_GOLDEN=1 to write missing
// or changed references; a picture that differs is written to `actualFolder` for a look.
#include <QDir>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace golden {

struct Tolerance {
  int channel = 8;   // by how much a red, green or blue value may differ
  int outliers = 0;  // how many pixels may differ more (anti-aliased glyph edges)
};

// `actual` against <goldenFolder>/<name>.png.
inline ::testing::AssertionResult MatchesGolden(const QImage& actual, const QString& goldenFolder, const QString& name,
                                                Tolerance tolerance, const QString& actualFolder) {
  const QString goldenPath = goldenFolder + QLatin1Char('/') + name + QStringLiteral(".png");
  if (qEnvironmentVariableIntValue("VELMORA_UPDATE_GOLDEN") == 1) {
    QDir().mkpath(goldenFolder);
    if (!actual.save(goldenPath)) return ::testing::AssertionFailure() << "cannot write " << goldenPath.toStdString();
    return ::testing::AssertionSuccess() << "written " << goldenPath.toStdString();
  }
  const auto fail = [&](const std::string& why) {
    QDir().mkpath(actualFolder);
    const QString actualPath = actualFolder + QLatin1Char('/') + name + QStringLiteral("-actual.png");
    actual.save(actualPath);
    return ::testing::AssertionFailure() << name.toStdString() << ": " << why << "; the painted picture is in "
                                         << actualPath.toStdString();
  };
  const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_ARGB32);
  if (golden.isNull()) return fail("no reference " + goldenPath.toStdString());
  const QImage painted = actual.convertToFormat(QImage::Format_ARGB32);
  if (golden.size() != painted.size()) return fail("sizes differ");
  int outliers = 0, worst = 0, worstX = 0, worstY = 0;
  for (int y = 0; y < golden.height(); ++y) {
    const QRgb* a = reinterpret_cast<const QRgb*>(painted.constScanLine(y));
    const QRgb* g = reinterpret_cast<const QRgb*>(golden.constScanLine(y));
    for (int x = 0; x < golden.width(); ++x) {
      const int d = std::max({std::abs(qRed(a[x]) - qRed(g[x])), std::abs(qGreen(a[x]) - qGreen(g[x])),
                              std::abs(qBlue(a[x]) - qBlue(g[x]))});
      if (d > tolerance.channel) ++outliers;
      if (d > worst) worst = d, worstX = x, worstY = y;
    }
  }
  if (outliers > tolerance.outliers)
    return fail(std::to_string(outliers) + " pixels differ, the most by " + std::to_string(worst) + " at " +
                std::to_string(worstX) + "," + std::to_string(worstY));
  return ::testing::AssertionSuccess();
}

}  // namespace golden
