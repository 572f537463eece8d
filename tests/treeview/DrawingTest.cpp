// The shared drawing routines: shortening with an ellipsis, blending, colour codes,
// rectangles, image strips and the check image tables.
#include "TreeFixture.h"

#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeImageList.h"
#include "treeview/LazyTreeResources.h"

#include <QApplication>
#include <QPainter>

namespace {

// Every character 10 pixels wide: a monospace font measured once.
struct FixedMetrics {
  FixedMetrics() {
    font.setFamily(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(16);
  }
  QFont font;
  QFontMetrics Metrics() const { return QFontMetrics(font); }
};

TEST(FitTextWithEllipsis, KeepsWhatFitsBesideTheEllipsis) {
  const FixedMetrics fixed;
  const QFontMetrics m = fixed.Metrics();
  const int ellipsis = m.horizontalAdvance(QStringLiteral("..."));
  const int three = m.horizontalAdvance(QStringLiteral("abc")), four = m.horizontalAdvance(QStringLiteral("abcd"));
  struct Case {
    const char* text;
    int width;
    bool rtl;
    const char* expected;
  } cases[] = {
      {"abcdef", three + ellipsis, false, "abc..."},
      {"abcdef", m.horizontalAdvance(QStringLiteral("def")) + ellipsis, true, "...def"},
      {"abcdef", four + ellipsis - 1, false, "abc..."},  // one pixel short of a fourth
      {"abcdef", ellipsis + 1, false, "..."},                  // room for the ellipsis only
      {"abcdef", ellipsis, false, ""},                         // not wider than the ellipsis
      {"abcdef", 0, false, ""},
      {"", 100, false, ""},
  };
  for (const Case& t : cases)
    EXPECT_EQ(FitTextWithEllipsis(m, QString::fromLatin1(t.text), t.width, t.rtl), QString::fromLatin1(t.expected))
        << t.text << " in " << t.width << (t.rtl ? " rtl" : "");
}

TEST(FitTextWithEllipsis, NeverSplitsACharacterOutsideTheBasicPlane) {
  const FixedMetrics fixed;
  const QFontMetrics m = fixed.Metrics();
  const QString text = QStringLiteral("ab") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("cd");
  for (int width = 1; width < m.horizontalAdvance(text); ++width) {
    const QString fitted = FitTextWithEllipsis(m, text, width, false, 0);
    EXPECT_FALSE(fitted.size() > 3 && fitted.at(fitted.size() - 4).isHighSurrogate()) << width;
    const QString mirrored = FitTextWithEllipsis(m, text, width, true, 0);
    EXPECT_FALSE(mirrored.size() > 3 && mirrored.at(3).isLowSurrogate()) << width;
  }
}

TEST(DrawWideText, CalculatesTheExtentWithoutDrawing) {
  QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setFont(FixedMetrics().font);
  QRect r(10, 10, 50, 0);
  DrawWideText(p, QStringLiteral("one two three"), r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(r.topLeft(), QPoint(10, 10));
  EXPECT_LE(r.width(), 50);
  EXPECT_EQ(r.height(), 3 * p.fontMetrics().height());  // three lines
  QRect single(10, 10, 50, 0);
  DrawWideText(p, QStringLiteral("one two three"), single, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_NEAR(single.width(), p.fontMetrics().horizontalAdvance(QStringLiteral("one two three")), 1);
  EXPECT_EQ(single.height(), p.fontMetrics().height());
  p.end();
  EXPECT_EQ(image.pixel(20, 15), qRgb(255, 255, 255));  // nothing drawn
}

QImage Pixel(QRgb value) {
  QImage image(1, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, value);
  return image;
}

TEST(BlendBitmaps, FourModesAndTheBias) {
  struct Case {
    const char* name;
    QRgb source, target;
    int opacity, bias;
    TBlendMode mode;
    QColor colour;
    QRgb expected;
  } cases[] = {
      {"uniform half", qRgba(200, 100, 0, 255), qRgba(0, 100, 200, 255), 128, 0, blendUniform, {}, qRgba(100, 100, 100, 255)},
      {"uniform full", qRgba(200, 100, 0, 255), qRgba(0, 100, 200, 255), 255, 0, blendUniform, {}, qRgba(200, 100, 0, 255)},
      {"uniform none", qRgba(200, 100, 0, 255), qRgba(0, 100, 200, 255), 0, 0, blendUniform, {}, qRgba(0, 100, 200, 255)},
      {"per pixel", qRgba(250, 250, 250, 51), qRgba(0, 0, 0, 255), 0, 0, blendPerPixel, {}, qRgba(50, 50, 50, 214)},
      {"per pixel scaled", qRgba(250, 250, 250, 102), qRgba(0, 0, 0, 255), 128, 0, blendPerPixelScaled, {},
       qRgba(50, 50, 50, 224)},
      {"colour", qRgba(0, 0, 0, 0), qRgba(0, 0, 0, 255), 51, 0, blendColour, QColor(250, 0, 100), qRgba(50, 0, 20, 255)},
      {"bias saturates", qRgba(250, 10, 0, 255), qRgba(250, 10, 0, 255), 0, 20, blendUniform, {}, qRgba(255, 30, 20, 255)},
      {"negative bias", qRgba(250, 10, 0, 255), qRgba(250, 10, 0, 255), 0, -20, blendUniform, {}, qRgba(230, 0, 0, 255)},
  };
  for (const Case& t : cases) {
    QImage target = Pixel(t.target);
    BlendBitmaps(Pixel(t.source), target, QRect(0, 0, 1, 1), t.bias, t.opacity, t.mode, QPoint(0, 0), t.colour);
    EXPECT_EQ(target.pixel(0, 0), t.expected) << t.name;
  }
}

TEST(BlendBitmaps, TheAreaIsCutToBothImages) {
  QImage source(4, 4, QImage::Format_ARGB32);
  source.fill(qRgba(255, 255, 255, 255));
  QImage target(4, 4, QImage::Format_ARGB32);
  target.fill(qRgba(0, 0, 0, 255));
  // Two pixels hang over the target's right and bottom edges.
  BlendBitmaps(source, target, QRect(0, 0, 4, 4), 0, 255, blendUniform, QPoint(2, 2));
  EXPECT_EQ(target.pixel(1, 1), qRgba(0, 0, 0, 255));
  EXPECT_EQ(target.pixel(2, 2), qRgba(255, 255, 255, 255));
  EXPECT_EQ(target.pixel(3, 3), qRgba(255, 255, 255, 255));
  // A source area beyond the source itself changes nothing.
  QImage untouched = target;
  BlendBitmaps(source, target, QRect(10, 10, 4, 4), 0, 255, blendUniform, QPoint(0, 0));
  EXPECT_EQ(target, untouched);
}

TEST(ColourCodes, SpecialsSystemColoursAndRoundTrips) {
  EXPECT_EQ(ColorToRGBA(clNone), qRgba(255, 255, 255, 255));
  EXPECT_EQ(ColorToRGBA(clDefault), qRgba(0, 0, 0, 255));
  EXPECT_EQ(ColorToRGBA(0x00336699), qRgba(0x99, 0x66, 0x33, 255));  // stored as blue, green, red
  EXPECT_EQ(ColorToRGBA(clSystemColor | COLOR_HIGHLIGHT), QGuiApplication::palette().color(QPalette::Highlight).rgb());
  for (const QColor& c : {QColor(1, 2, 3), QColor(255, 255, 255), QColor(), QColor(Qt::transparent)})
    EXPECT_EQ(ColorFromCode(ColorToCode(c)), c) << c.name().toStdString();
}

TEST(NormalizeRect, SwapsReversedEdges) {
  QRect dragged;
  dragged.setCoords(50, 40, 9, 19);  // from (50, 40) back to (10, 20), far edges exclusive
  EXPECT_EQ(NormalizeRect(dragged), QRect(10, 20, 40, 20));
  EXPECT_EQ(NormalizeRect(QRect(10, 20, 40, 20)), QRect(10, 20, 40, 20));
}

TEST(NodeAlignment, CentreByMode) {
  EXPECT_EQ(NodeAlignmentCentre(0, 20, 6, 16), 14);               // from the bottom
  EXPECT_EQ(NodeAlignmentCentre(1, 20, 6, 16), 6);                // from the top
  EXPECT_EQ(NodeAlignmentCentre(2, 20, 50, 16), 2 + 8);           // proportional, an image
  EXPECT_EQ(NodeAlignmentCentre(2, 20, 50, 0), 10);               // proportional, the lines
  EXPECT_EQ(NodeAlignmentCentre(2, 18, 100, 9), 9 + 4);           // at the bottom
}

TEST(CheckImages, IndexByTypeStateEnabledAndHot) {
  struct Case {
    TCheckType type;
    TCheckState state;
    int normal, hot, disabled;
  } cases[] = {
      {ctCheckBox, csUncheckedNormal, 9, 10, 12},   {ctCheckBox, csUncheckedPressed, 11, 11, 12},
      {ctTriStateCheckBox, csCheckedNormal, 13, 14, 16}, {ctCheckBox, csCheckedPressed, 15, 15, 16},
      {ctCheckBox, csMixedNormal, 17, 18, 20},      {ctCheckBox, csMixedPressed, 19, 19, 20},
      {ctRadioButton, csUncheckedNormal, 1, 2, 4},  {ctRadioButton, csUncheckedPressed, 3, 3, 4},
      {ctRadioButton, csCheckedNormal, 5, 6, 8},    {ctRadioButton, csCheckedPressed, 7, 7, 8},
      {ctRadioButton, csMixedNormal, 17, 18, 20},   {ctButton, csCheckedNormal, 21, 22, 24},
      {ctButton, csUncheckedPressed, 23, 23, 24},   {ctButton, csMixedPressed, 19, 19, 20},
  };
  for (const Case& t : cases) {
    EXPECT_EQ(CheckImageIndexFor(t.type, t.state, true, false), t.normal) << int(t.type) << "/" << int(t.state);
    EXPECT_EQ(CheckImageIndexFor(t.type, t.state, true, true), t.hot) << int(t.type) << "/" << int(t.state);
    EXPECT_EQ(CheckImageIndexFor(t.type, t.state, false, true), t.disabled) << int(t.type) << "/" << int(t.state);
  }
  EXPECT_EQ(CheckImageIndexFor(ctNone, csCheckedNormal, true, true), -1);
  for (int s = csUncheckedNormal; s <= csMixedPressed; ++s) {
    const auto state = TCheckState(s);
    EXPECT_EQ(NormalCheckState(PressedCheckState(state)), NormalCheckState(state));
    EXPECT_EQ(PressedCheckState(NormalCheckState(state)), PressedCheckState(state));
    EXPECT_NE(PressedCheckState(state), NormalCheckState(state));
  }
}

TEST(ImageStrips, CellsMaskAndMissingResource) {
  TLTImageList list(16, 16);
  LoadImageStrip(list, QStringLiteral("LT_CHECK_DARK"), true);
  EXPECT_EQ(list.Count(), 25);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(qAlpha(list.Image(0).pixel(0, 0)), 0);      // the mask colour is transparent
  EXPECT_EQ(list.Image(9).pixel(6, 6), QGuiApplication::palette().color(QPalette::Base).rgb());  // white remapped
  for (const char* kind : {"LT_CHECK_LIGHT", "LT_TICK_LIGHT", "LT_TICK_DARK", "LT_FLAT", "LT_XP"}) {
    TLTImageList strip(16, 16);
    LoadImageStrip(strip, QString::fromLatin1(kind), true);
    EXPECT_EQ(strip.Count(), 25) << kind;
  }
  TLTImageList utilities(16, 16);
  LoadImageStrip(utilities, QStringLiteral("LT_UTILITIES"), true);
  EXPECT_EQ(utilities.Count(), 9);
  try {
    LoadImageStrip(list, QStringLiteral("LT_NOTHING"), true);
    FAIL() << "a missing strip loaded";
  } catch (const ELazyTreeError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Internal image \"LT_NOTHING\" is missing or corrupt."));
  }
  EXPECT_EQ(list.Count(), 25);  // a failed load leaves the list alone
}

TEST(ImageStrips, SystemSetsAreDrawnByTheStyle) {
  TLTImageList system(16, 16);
  BuildSystemCheckImages(system, false, QApplication::style());
  ASSERT_EQ(system.Count(), 25);
  EXPECT_NE(system.Image(9), system.Image(13));   // unchecked and checked differ
  EXPECT_NE(system.Image(13), system.Image(17));  // checked and mixed differ
  EXPECT_EQ(qAlpha(system.Image(0).pixel(8, 8)), 0);
  TLTImageList flat(16, 16);
  BuildSystemCheckImages(flat, true, QApplication::style());
  EXPECT_NE(flat.Image(9), system.Image(9));
}

TEST(TreeCursors, EveryMoveCursorIsDrawn) {
  for (const char* name : {"LT_MOVEALL", "LT_MOVEEW", "LT_MOVENS", "LT_MOVEN", "LT_MOVES", "LT_MOVEE", "LT_MOVEW",
                           "LT_MOVENE", "LT_MOVENW", "LT_MOVESE", "LT_MOVESW", "LT_HEADERSPLIT"}) {
    const QCursor cursor = TreeCursor(QString::fromLatin1(name));
    EXPECT_EQ(cursor.shape(), Qt::BitmapCursor) << name;
    EXPECT_EQ(cursor.hotSpot(), QPoint(16, 16)) << name;
  }
  for (const char* name : {"LT_MOVEALL", "LT_MOVEEW", "LT_MOVENS", "LT_XPBUTTONPLUS", "LT_XPBUTTONMINUS"})
    EXPECT_FALSE(BuiltInImage(QString::fromLatin1(name)).isNull()) << name;
}

}  // namespace
