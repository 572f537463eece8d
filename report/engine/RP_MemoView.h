#pragma once
// The text object of a report: lines with bracketed expressions, drawn in a font with
// alignment, spacing, gaps, word wrap, highlighting, suppression of repeated values,
// underlines and right-to-left reading. The layout itself lives in RP_MemoLayout.h and
// RP_MemoPlacement.h; this class ties it to the view's fields, streams and canvas.
//
// Record tail: font name (string), size (i32), style (u16), colour (i32), alignment
// (i32), character set (u16); in a form only: highlight style (u16), highlight colour
// (i32), highlight fill (i32), highlight condition (string); then LineSpacing and
// CharSpacing (i32).
#include "report/engine/RP_ExportFilter.h"
#include "report/engine/RP_Graphics.h"
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_View.h"

#include <memory>

namespace rpMemoDrawMode {
constexpr int Print = 0, Measure = 1, PrintPart = 2;
}

class TrpMemoView : public TrpStretcheable {
public:
  TrpMemoView();
  QString ClassName() const override { return QStringLiteral("TrpMemoView"); }

  TrpFont Font;
  uint32_t Alignment = rpMemoAlign::Left;
  uint16_t HighlightStyle = rpFontStyle::Bold;
  int32_t HighlightColor = 0;
  int32_t HighlightFill = kRpWhite;
  QString HighlightCondition;
  int32_t LineSpacing = 2;
  int32_t CharSpacing = 0;
  // Set by the band splitter before Print: print only the lines that fit.
  int DrawMode = rpMemoDrawMode::Print;

  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override;
  void DeclareProperties() override;

  int CalcHeight() override;
  int MinHeight() override;
  int RemainHeight() override;
  void Print(QIODevice& stream, const TrpPrintBand* band = nullptr) override;
  // Suppress compares with nothing again: a data loop starting over, or a new build.
  void ForgetLastPrinted() {
    lastPrinted_.clear();
    hasLastPrinted_ = false;
  }
  // The field's text takes the place of the bracketed field in the expanded lines.
  void GetBlob(TrpField& field) override;
  void Draw(QPainter& canvas) override;
  // On paper nothing but its text: no fill, no frame, no underlines.
  bool DrawsOnlyText() const {
    return FillColor == kRpNoColor && FrameTyp == 0 && !Flag(rpMemoFlag::Underlines);
  }
  // The width the lines need in report units (frame and gaps included).
  int CalcWidth(const QStringList& lines);
  // Sends each placed line to the filter instead of drawing it.
  void Export(TrpExportFilter& filter);

  void ReadFromStream(QIODevice& stream, int version) override;
  void WriteToStream(QIODevice& stream) override;
  QString ExportText() const override;

  // After a part was printed (draw mode 2): the lines still to print, and the height
  // they need (0 when none are left).
  qsizetype PendingLines() const { return Memo1.size(); }
  int PendingHeight();
  // The height the last wrap needed, and its line step (report units).
  int NeededHeight() const { return neededHeight_; }
  int LineStep() const { return lineStep_; }

private:
  bool Flag(uint16_t bit) const { return Flags & bit; }
  void SetFlag(uint16_t bit, bool on);
  bool Building() const;
  QStringList ExpandVariables() const;
  // The text for an output: the before-print handler (when asked to run it) sees it
  // first and may replace it; only a text it left unchanged has its expressions expanded.
  void ExpandForOutput(bool beforePrint);
  // The highlight for this output only; RestoreLook undoes it.
  void ApplyHighlight();
  void RestoreLook();
  // WrapMemo on the measuring canvas at scale 1; the expanded lines become the wrapped
  // lines. extraWidth widens the box (AutoWidth during a build).
  TrpWrappedMemo WrapAtScaleOne(int extraWidth = 0);
  int MeasuringPixelHeight() const;
  // The font on the measuring canvas (scale 1), shared (rpSharedFontMeasurer); a build
  // measures the memo once per record, so it is kept while font, size, style and
  // CharSpacing stay.
  const TrpFontMeasurer& MeasuringFont();
  void DrawText();
  void DrawUnderlines();

  std::shared_ptr<const TrpFontMeasurer> measurer_;
  QString measuredName_;
  int measuredStyle_ = 0, measuredPixels_ = 0, measuredExtra_ = 0;
  bool alreadyMarked_ = false;
  int neededHeight_ = 0;
  int lineStep_ = 1;
  QString lastPrinted_;
  bool hasLastPrinted_ = false;
  TrpExportFilter* exporting_ = nullptr;
  struct Look {
    TrpFont font;
    int32_t fill = kRpNoColor;
  } savedLook_;
};

// Lines whose UTF-8 form is longer than maxBytes (a prepared page's 16-bit length)
// cut at character boundaries into several lines; a paragraph mark stays on the last
// piece only, so the pieces read back as one wrapped paragraph.
QStringList rpSplitLongLines(const QStringList& lines, qsizetype maxBytes = 0xFFFF);

// Makes the report form reader create TrpMemoView for text objects (type 0).
void rpInstallMemoView();
