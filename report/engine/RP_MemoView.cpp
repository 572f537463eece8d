#include "report/engine/RP_MemoView.h"

#include "platform/FileText.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_GlyphBatch.h"
#include "report/engine/RP_MemoExpand.h"
#include "report/engine/RP_MemoPlacement.h"
#include "report/engine/RP_ObjectRegistry.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_Utils.h"

#include <QGlyphRun>
#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>

namespace {

struct FlagName {
  const char* upper;
  const char* name;
  uint16_t bit;
};
constexpr FlagName kFlags[] = {
    {"WORDWRAP", "WordWrap", rpMemoFlag::WordWrap},       {"WORDBREAK", "WordBreak", rpMemoFlag::WordBreak},
    {"AUTOWIDTH", "AutoWidth", rpMemoFlag::AutoWidth},    {"TEXTONLY", "TextOnly", rpMemoFlag::TextOnly},
    {"SUPPRESS", "Suppress", rpMemoFlag::Suppress},       {"HIDEZEROS", "HideZeros", rpMemoFlag::HideZeros},
    {"UNDERLINES", "Underlines", rpMemoFlag::Underlines}, {"RTLREADING", "RTLReading", rpMemoFlag::RTLReading},
};

const FlagName* FindFlag(const QString& upper) {
  for (const FlagName& f : kFlags) {
    if (upper == QLatin1String(f.upper)) return &f;
  }
  return nullptr;
}

TrpRectI ToRectI(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

QString WithoutMarks(const QStringList& lines) {
  QStringList plain;
  plain.reserve(lines.size());
  for (const QString& line : lines) plain << rpWithoutMark(line).toString();
  return plain.join(QStringLiteral("\r\n"));
}

}  // namespace

TrpMemoView::TrpMemoView() {
  Typ = rpObjectType::Memo;
  Flags = rpMemoFlag::Default;
  Font.charset = rpGlobals().DefaultCharset();
  SetBaseName(QStringLiteral("Memo"));
}

void TrpMemoView::SetFlag(uint16_t bit, bool on) { Flags = on ? (Flags | bit) : (Flags & ~bit); }

bool TrpMemoView::Building() const { return rpGlobals().CurrentReport() != nullptr; }

// --- properties ---

void TrpMemoView::SetPropValue(const QString& name, const TrpValue& value) {
  const QString n = name.toUpper();
  if (rpSetFontProp(Font, n, value)) return;
  if (n == QLatin1String("ALIGNMENT")) {
    Alignment = static_cast<uint32_t>(value.ToInteger());
  } else if (n == QLatin1String("LINESPACING")) {
    LineSpacing = static_cast<int32_t>(value.ToInteger());
  } else if (n == QLatin1String("CHARSPACING")) {
    CharSpacing = static_cast<int32_t>(value.ToInteger());
  } else if (const FlagName* flag = FindFlag(n)) {
    SetFlag(flag->bit, value.ToBoolean());
  } else {
    TrpStretcheable::SetPropValue(name, value);
  }
}

TrpValue TrpMemoView::GetPropValue(const QString& name) {
  const QString n = name.toUpper();
  TrpValue value;
  if (rpGetFontProp(Font, n, value)) return value;
  if (n == QLatin1String("ALIGNMENT")) return static_cast<int64_t>(Alignment);
  if (n == QLatin1String("LINESPACING")) return LineSpacing;
  if (n == QLatin1String("CHARSPACING")) return CharSpacing;
  if (n == QLatin1String("LINES.COUNT")) return static_cast<int>(Memo.size());
  if (const FlagName* flag = FindFlag(n)) return Flag(flag->bit);
  return TrpStretcheable::GetPropValue(name);
}

TrpValue TrpMemoView::DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) {
  if (!p1.isEmpty()) {
    TrpValue result = TrpValue::Null();
    if (rpStringListMethod(Memo, QStringLiteral("LINES"), name, p1, p2, p3, result)) return result;
  }
  return TrpStretcheable::DoMethod(name, p1, p2, p3);
}

void TrpMemoView::DeclareProperties() {
  TrpView::DeclareProperties();
  AddProperty(QStringLiteral("Font.Name"), rpProp::Text);
  AddProperty(QStringLiteral("Font.Size"), rpProp::Integer);
  AddProperty(QStringLiteral("Font.Style"), rpProp::Integer);
  AddProperty(QStringLiteral("Font.Color"), rpProp::Color);
  AddProperty(QStringLiteral("Font"), rpProp::WithEditor, true);
  AddProperty(QStringLiteral("Alignment"), rpProp::Integer);
  AddProperty(QStringLiteral("DisplayFormat"), rpProp::WithEditor, true);
  AddProperty(QStringLiteral("Highlight"), rpProp::WithEditor, true);
  AddProperty(QStringLiteral("LineSpacing"), rpProp::Integer);
  AddProperty(QStringLiteral("CharSpacing"), rpProp::Integer);
  AddProperty(QStringLiteral("GapX"), rpProp::Integer);
  AddProperty(QStringLiteral("GapY"), rpProp::Integer);
  AddProperty(QStringLiteral("Stretched"), rpProp::Boolean);
  for (const FlagName& f : kFlags) {
    if (f.bit == rpMemoFlag::Underlines) AddProperty(QStringLiteral("Lines.Count"), rpProp::Integer);
    AddProperty(QString::fromLatin1(f.name), rpProp::Boolean);
  }
}

// --- expanding, highlight and wrapping ---

QStringList TrpMemoView::ExpandVariables() const {
  TrpReport* report = Report();
  return rpExpandVariables(Memo, Flag(rpMemoFlag::TextOnly) || !report, [report](const QString& expression) {
    return report->ExpandFields(QLatin1Char('[') + expression + QLatin1Char(']'));
  });
}

void TrpMemoView::ApplyHighlight() {
  savedLook_ = {Font, FillColor};
  if (HighlightCondition.trimmed().isEmpty()) return;
  try {
    const TrpValue value = rpGlobals().Parser().Calc(HighlightCondition);
    if (value.ToFloat() == 0) return;
  } catch (...) {
    return;  // a condition that cannot be evaluated highlights nothing
  }
  Font.style = HighlightStyle;
  Font.color = HighlightColor;
  FillColor = HighlightFill;
}

void TrpMemoView::RestoreLook() {
  Font = savedLook_.font;
  FillColor = savedLook_.fill;
}

namespace {
// A damaged record's font size must not ask for a font larger than any page.
int FontPixels(int size, double scale) { return std::clamp(rpMeasuringPixelHeight(std::clamp(size, 1, 1000), scale), 1, 20000); }
}  // namespace

int TrpMemoView::MeasuringPixelHeight() const { return FontPixels(Font.size, 1.0); }

namespace {
// The shared measurer of a memo font, found by the font's own fields: a printed page
// rebuilds its objects, and each would otherwise describe its font to the toolkit
// again to look the measurer up.
std::shared_ptr<const TrpFontMeasurer> MeasurerOf(const TrpFont& font, int pixels, int extra) {
  struct Kept {
    QString name;
    int style, pixels, extra;
    std::shared_ptr<const TrpFontMeasurer> measurer;
  };
  static std::vector<Kept> kept;
  for (const Kept& k : kept)
    if (k.pixels == pixels && k.extra == extra && k.style == font.style && k.name == font.name) return k.measurer;
  constexpr size_t kKept = 32;  // more fonts than a report uses
  if (kept.size() >= kKept) kept.clear();
  kept.push_back({font.name, font.style, pixels, extra, rpSharedFontMeasurer(font.ToQFont(), pixels, extra)});
  return kept.back().measurer;
}
}  // namespace

const TrpFontMeasurer& TrpMemoView::MeasuringFont() {
  const int pixels = MeasuringPixelHeight();
  if (!measurer_ || measuredName_ != Font.name || measuredStyle_ != Font.style || measuredPixels_ != pixels ||
      measuredExtra_ != CharSpacing) {
    measurer_ = MeasurerOf(Font, pixels, CharSpacing);
    measuredName_ = Font.name;
    measuredStyle_ = Font.style;
    measuredPixels_ = pixels;
    measuredExtra_ = CharSpacing;
  }
  return *measurer_;
}

TrpWrappedMemo TrpMemoView::WrapAtScaleOne(int extraWidth) {
  const double sx = ScaleX, sy = ScaleY;
  const int ox = OffsetX, oy = OffsetY;
  const bool printing = IsPrinting;
  IsPrinting = false;
  CalcGaps();
  const TrpMemoBox box{Width + extraWidth, Height, GapX, GapY, LineSpacing, Flags, Alignment};
  RestoreCoord();
  ScaleX = sx;
  ScaleY = sy;
  OffsetX = ox;
  OffsetY = oy;
  IsPrinting = printing;
  const TrpFontMeasurer& measurer = MeasuringFont();
  TrpWrappedMemo wrapped = rpWrapMemo(Memo1, box, alreadyMarked_, Building(), measurer);
  Memo1 = wrapped.lines;
  alreadyMarked_ = true;
  neededHeight_ = wrapped.neededHeight;
  lineStep_ = wrapped.lineStep;
  return wrapped;
}

void TrpMemoView::ExpandForOutput(bool beforePrint) {
  Memo1 = Memo;
  TrpReport* report = beforePrint ? Report() : nullptr;
  TrpReportBuild* build = report ? report->Build() : nullptr;
  if (build) {
    build->BeforePrint(*this);
    if (Memo1 != Memo) return;  // a blob field or the handler wrote the text itself
  }
  Memo1 = ExpandVariables();
}

void TrpMemoView::GetBlob(TrpField& field) {
  // A bound text is one bracketed field, perhaps with text after it, which stays.
  const QString text = Memo.join(QStringLiteral("\r\n"));
  const QString value = field.IsNull() ? QString() : DecodeFileText(field.BlobData());
  Memo1 = rpSplitLines(value + text.mid(text.lastIndexOf(u']') + 1));
}

// --- stretching ---

int TrpMemoView::CalcHeight() {
  DrawMode = rpMemoDrawMode::Measure;
  BeginDraw(nullptr);
  if (!Script.isEmpty()) rpGlobals().Interpreter().RunScript(Script);
  int height = 0;
  if (Visible) {
    ExpandForOutput(true);
    alreadyMarked_ = false;
    const QString text = Memo1.join(QStringLiteral("\r\n"));
    ApplyHighlight();
    height = WrapAtScaleOne().neededHeight;
    RestoreLook();
    if (Flag(rpMemoFlag::Suppress) && hasLastPrinted_ && text == lastPrinted_) height = 0;
  }
  DrawMode = rpMemoDrawMode::Print;
  return height;
}

int TrpMemoView::PendingHeight() {
  if (Memo1.isEmpty()) return 0;
  alreadyMarked_ = true;  // the rest of a cut memo is wrapped already
  return WrapAtScaleOne().neededHeight;
}

int TrpMemoView::MinHeight() { return rpMemoMinHeight(MeasuringPixelHeight(), LineSpacing, GapY, FrameWidth); }

int TrpMemoView::RemainHeight() {
  return rpMemoRemainHeight(Height, FrameWidth, GapY, rpLineStep(LineSpacing, MeasuringPixelHeight()));
}

// --- printing into a prepared page ---

void TrpMemoView::Print(QIODevice& stream, const TrpPrintBand* band) {
  const bool part = DrawMode == rpMemoDrawMode::PrintPart;
  BeginDraw(nullptr);
  if (!part) {
    if (!Script.isEmpty()) rpGlobals().Interpreter().RunScript(Script);
    ExpandForOutput(true);
    alreadyMarked_ = false;
  }
  if (!Visible) {
    DrawMode = rpMemoDrawMode::Print;
    return;
  }
  ApplyHighlight();
  QStringList rest;
  if (part) {
    const TrpWrappedMemo wrapped = WrapAtScaleOne();
    const TrpFontMeasurer& measurer = MeasuringFont();
    TrpPlacementInput input;
    input.rect = {Left, Top, Left + Width, Top + Height};
    input.gapX = GapX;
    input.gapY = GapY;
    input.lineStep = wrapped.lineStep;
    input.neededHeight = wrapped.neededHeight;
    input.alignment = Alignment;
    input.stopAtBottom = true;
    input.building = true;
    const auto placed = rpPlaceLines(wrapped.lines, input, measurer);
    TrpMemoSplit split = rpSplitPrinted(wrapped.lines, static_cast<qsizetype>(placed.size()));
    Memo1 = std::move(split.printed);
    rest = std::move(split.rest);
  }

  struct Restore {
    TrpMemoView& view;
    QString tag;
    int32_t top, width;
    uint8_t bandAlign;
    bool mode;
    ~Restore() {
      view.Tag = tag;
      view.Top = top;
      view.Width = width;
      view.BandAlign = bandAlign;
      view.PreparedMode = mode;
      view.RestoreLook();
      view.DrawMode = rpMemoDrawMode::Print;
    }
  } restore{*this, Tag, Top, Width, BandAlign, PreparedMode};

  if (Tag.contains(u'[')) {
    if (TrpReport* report = Report()) {
      const uint32_t format = Format;
      Format = 0;
      Tag = report->ExpandFields(Tag);
      Format = format;
    }
  }
  if (band) {
    if (BandAlign == rpBandAlign::Bottom) {
      BandAlign = rpBandAlign::None;  // the memo keeps its y
    } else if (BandAlign == rpBandAlign::Top) {
      Top = band->y;
    } else if (BandAlign == rpBandAlign::Width && band->type >= rpBand::CrossHeader && band->type <= rpBand::CrossFooter) {
      Width = band->width;
      BandAlign = rpBandAlign::None;
    }
  }
  const QString text = WithoutMarks(Memo1);
  if (!(Flag(rpMemoFlag::Suppress) && hasLastPrinted_ && text == lastPrinted_)) {
    Memo1 = rpSplitLongLines(Memo1);
    rpWriteByte(stream, Typ);
    PreparedMode = true;
    WriteToStream(stream);
    lastPrinted_ = text;
    hasLastPrinted_ = true;
  }
  if (part) {
    Memo1 = rest;
    alreadyMarked_ = true;
  }
}

// --- drawing ---

int TrpMemoView::CalcWidth(const QStringList& lines) {
  const double sx = IsPrinting ? ScaleX : 1.0;
  const auto measurer = MeasurerOf(Font, FontPixels(Font.size, sx), rpRound(CharSpacing * sx));
  return rpMemoCalcWidth(lines, *measurer, sx, FrameWidth, GapX);
}

void TrpMemoView::Draw(QPainter& canvas) {
  const bool building = Building();
  if (Flag(rpMemoFlag::AutoWidth) && building) {
    const int newWidth = CalcWidth(Memo);
    if (Alignment & rpMemoAlign::Rotated) {
      Height = newWidth;
    } else {
      Left = rpAutoWidthLeft(Left, Width, newWidth, Alignment);
      Width = newWidth;
    }
  }
  BeginDraw(&canvas);
  Memo1 = Memo;
  if (!Memo1.isEmpty()) {
    alreadyMarked_ = rpTakeStoredLines(Memo1);
    WrapAtScaleOne(Flag(rpMemoFlag::AutoWidth) && building ? 100 : 0);
  }
  CalcGaps();
  if (!exporting_) {
    ShowBackground();
    ShowFrame();
    DrawUnderlines();
  }
  DrawText();
  RestoreCoord();
}

void TrpMemoView::DrawUnderlines() {
  if (!Flag(rpMemoFlag::Underlines) || !canvas_ || FirstPass) return;
  const int pixelHeight = FontPixels(Font.size, ScaleY);
  const int step = rpLineStep(rpRound(LineSpacing * ScaleY), pixelHeight);
  QPainter& p = *canvas_;
  p.save();
  p.setPen(QPen(rpToQColor(FrameColor), std::max(0, rpRound(FrameWidth)), Qt::SolidLine));
  for (int y : rpUnderlineRows(Top, Height, GapY, step, ScaleY, pixelHeight)) p.drawLine(Left, y, Left + Width - 1, y);
  p.restore();
}

void TrpMemoView::DrawText() {
  if (FirstPass || (!canvas_ && !exporting_)) return;
  // On a screen the font follows the zoom; on a printer the scale is the printer's
  // pixels per unit, so the same formula keeps the point size.
  const int pixelHeight = FontPixels(Font.size, ScaleY);
  const int extra = rpRound(CharSpacing * ScaleX);
  const auto shared = MeasurerOf(Font, pixelHeight, extra);
  const TrpFontMeasurer& measurer = *shared;
  TrpPlacementInput input;
  input.rect = ToRectI(drawRect_);
  input.gapX = GapX;
  input.gapY = GapY;
  input.lineStep = rpLineStep(rpRound(LineSpacing * ScaleY), pixelHeight);
  input.neededHeight = rpRound(neededHeight_ * ScaleY);
  input.alignment = Alignment;
  input.stopAtBottom = DrawMode == rpMemoDrawMode::PrintPart;
  input.building = Building();
  const std::vector<TrpPlacedLine> placed = rpPlaceLines(Memo1, input, measurer);
  const bool rotated = Alignment & rpMemoAlign::Rotated;

  if (exporting_) {
    for (const TrpPlacedLine& line : placed) {
      const QRect rect = rotated ? QRect(line.x, drawRect_.top(), input.lineStep, drawRect_.height())
                                 : QRect(drawRect_.left(), line.y, drawRect_.width(), input.lineStep);
      exporting_->OnText(*this, line.text, rect,
                         rpExportLineFrame(FrameTyp, line.index, static_cast<qsizetype>(placed.size())));
    }
    return;
  }
  if (placed.empty()) return;

  QPainter& p = *canvas_;
  const double ascent = measurer.Ascent();
  const bool rtl = Flag(rpMemoFlag::RTLReading);
  // Without spreading, spacing or right-to-left mirroring the words of a line sit where
  // the font's own advances put them, so on a fine device (a printer, a PDF) the line
  // goes out as one piece: one shaping and one text object instead of one per word.
  // Word by word each word starts on a whole pixel; there the difference is a fraction
  // of a printer's pixel, while on a screen it could move a word by one pixel.
  constexpr int kFineDpi = 300;
  const QPaintDevice* device = p.device();
  const bool fine = device && std::min(device->logicalDpiX(), device->logicalDpiY()) >= kFineDpi;
  const bool wholeLines = extra == 0 && !rtl && fine;
  // A whole line the font lays out without shaping goes out as the same glyphs at the
  // same places, without laying it out again. Underlined and struck-out text keeps the
  // toolkit's own decoration drawing.
  const bool plainFont = !measurer.Font().underline() && !measurer.Font().strikeOut();
  std::vector<TrpShapedLine> shaped(wholeLines && plainFont ? placed.size() : 0);
  std::vector<char> isShaped(placed.size(), 0);
  bool allShaped = !shaped.empty();
  for (size_t i = 0; i < shaped.size(); ++i) {
    isShaped[i] = placed[i].justifyExtra == 0 && measurer.ShapedLine(placed[i].text, shaped[i]);
    allShaped = allShaped && isShaped[i];
  }
  // Each clip is a graphics state of its own in a PDF. When every line lies inside the
  // clipping rectangle clipping cuts nothing, so on a fine device it is left out: a
  // shaped line by what its glyphs cover (a pixel spare), any other with half an em
  // spare on either side for overhangs and the font's full height below.
  const TrpRectI clip = rpMemoClipRect(input.rect);
  const double height = ascent + measurer.Descent();
  const int spare = pixelHeight / 2;
  auto lineInside = [&](size_t i) {
    const TrpPlacedLine& line = placed[i];
    if (isShaped[i]) {
      const QRectF ink = shaped[i].ink.translated(line.x, line.y + ascent);
      return ink.left() >= clip.left + 1 && ink.right() <= clip.right - 1 && ink.top() >= clip.top + 1 &&
             ink.bottom() <= clip.bottom - 1;
    }
    return line.x - spare >= clip.left && line.x + line.width + line.justifyExtra + spare <= clip.right &&
           line.y >= clip.top && line.y + height <= clip.bottom;
  };
  bool inside = fine && !rotated && !rtl;
  for (size_t i = 0; inside && i < placed.size(); ++i) inside = lineInside(i);
  // Plain shaped lines that need no clip join the page's gathered text, which draws the
  // same glyphs at the same places in fewer text outputs; anything else drawn here must
  // come after the text gathered so far.
  TrpGlyphBatch* batch = TrpGlyphBatch::For(p);
  if (batch && allShaped && inside) {
    const QColor color = rpToQColor(Font.color);
    for (size_t i = 0; i < placed.size(); ++i)
      batch->Add(measurer.RawFont(), color, QPointF(placed[i].x, placed[i].y + ascent), shaped[i]);
    return;
  }
  if (batch) batch->Flush();
  p.save();
  QFont font = measurer.Font();
  font.setLetterSpacing(QFont::AbsoluteSpacing, extra);
  p.setFont(font);
  p.setPen(rpToQColor(Font.color));
  p.setBackgroundMode(Qt::TransparentMode);
  if (!inside) p.setClipRect(QRect(clip.left, clip.top, std::max(0, clip.Width()), std::max(0, clip.Height())));
  // Rotated lines turn the painter around their start; the others are drawn at their
  // place, as every change of the painter's transform costs a PDF a new graphics state.
  const QTransform base = p.worldTransform();
  QGlyphRun run;
  if (!shaped.empty()) run.setRawFont(measurer.RawFont());
  for (size_t i = 0; i < placed.size(); ++i) {
    const TrpPlacedLine& line = placed[i];
    QPointF origin(line.x, line.y);
    if (rotated) {
      p.setWorldTransform(base);
      p.translate(origin);
      p.rotate(-90);
      origin = QPointF();
    }
    if (wholeLines && line.justifyExtra == 0) {
      if (isShaped[i]) {
        run.setGlyphIndexes(shaped[i].glyphs);
        run.setPositions(shaped[i].positions);
        p.drawGlyphRun(origin + QPointF(0, ascent), run);
      } else {
        p.drawText(origin + QPointF(0, ascent), line.text);
      }
      continue;
    }
    const auto runs = rpJustifiedRuns(line.text, line.justifyExtra, measurer, rtl);
    for (const TrpTextRun& run : runs) {
      const QString piece = line.text.mid(run.start, run.length);
      if (rtl) {
        p.drawText(QRectF(origin.x() + run.offset, origin.y(), measurer.TextWidth(piece) + 1, input.lineStep),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine | Qt::TextForceRightToLeft,
                   piece);
      } else {
        p.drawText(origin + QPointF(run.offset, ascent), piece);
      }
    }
  }
  p.restore();
}

void TrpMemoView::Export(TrpExportFilter& filter) {
  QImage measuring(1, 1, QImage::Format_ARGB32);
  QPainter painter(&measuring);
  exporting_ = &filter;
  Draw(painter);
  exporting_ = nullptr;
}

QString TrpMemoView::ExportText() const { return WithoutMarks(Memo1); }

// --- the record tail ---

void TrpMemoView::WriteToStream(QIODevice& stream) {
  TrpView::WriteToStream(stream);
  rpWriteString(stream, Font.name);
  TrpPackedFields fields;
  fields.Int(Font.size).Word(static_cast<uint16_t>(Font.style)).Int(Font.color);
  fields.Int(static_cast<int32_t>(Alignment)).Word(static_cast<uint16_t>(Font.charset));
  if (!PreparedMode) {
    fields.Word(HighlightStyle).Int(HighlightColor).Int(HighlightFill).WriteTo(stream);
    rpWriteString(stream, HighlightCondition);
  }
  fields.Int(LineSpacing).Int(CharSpacing).WriteTo(stream);
}

void TrpMemoView::ReadFromStream(QIODevice& stream, int version) {
  TrpView::ReadFromStream(stream, version);
  Font.name = rpReadStringOfVersion(stream, version);
  TrpFieldsReader fields(stream, 16);  // size, style, colour, alignment, charset
  Font.size = fields.Int();
  Font.style = fields.Word() & 0x0F;
  Font.color = fields.Int();
  Alignment = static_cast<uint32_t>(fields.Int());
  const uint16_t charset = fields.Word();
  Font.charset = version < kRpFirstCurrentLayoutVersion ? rpGlobals().DefaultCharset() : charset;
  if (!PreparedMode) {
    HighlightStyle = rpReadWord(stream);
    HighlightColor = rpReadInt(stream);
    HighlightFill = rpReadInt(stream);
    HighlightCondition = rpReadStringOfVersion(stream, version);
  }
  if (version > 23) {
    LineSpacing = rpReadInt(stream);
    CharSpacing = rpReadInt(stream);
  }
  if (version == 21) Flags |= rpMemoFlag::WordWrap;
}

QStringList rpSplitLongLines(const QStringList& lines, qsizetype maxBytes) {
  QStringList out;
  out.reserve(lines.size());
  for (const QString& line : lines) {
    if (line.size() * 3 <= maxBytes || line.toUtf8().size() <= maxBytes) {
      out << line;
      continue;
    }
    qsizetype start = 0, bytes = 0;
    for (qsizetype i = 0; i < line.size();) {
      const bool pair = line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate();
      const qsizetype units = pair ? 2 : 1;
      const char32_t c = pair ? QChar::surrogateToUcs4(line[i], line[i + 1]) : line[i].unicode();
      const qsizetype size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
      if (bytes + size > maxBytes && i > start) {
        out << line.mid(start, i - start);
        start = i;
        bytes = 0;
      }
      bytes += size;
      i += units;
    }
    out << line.mid(start);
  }
  return out;
}

void rpInstallMemoView() {
  rpSetMemoViewFactory([] { return std::make_unique<TrpMemoView>(); });
}
