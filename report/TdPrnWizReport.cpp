#include "report/TdPrnWizReport.h"

#include "core/TdOption.h"
#include "report/engine/RP_BandView.h"
#include "report/engine/RP_ChBox.h"
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Graphic.h"
#include "report/engine/RP_Host.h"
#include "report/engine/RP_MemoView.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PictureView.h"
#include "report/engine/RP_PrinterPaper.h"
#include "report/engine/RP_TextMeasurer.h"
#include "treeview/LazyTreeImageList.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Where the bands stand on the designed page.
constexpr int kLeft = 20, kHeaderTop = 20, kDataTop = 120, kNotesTop = 220, kNotesHeight = 20;

int Width(const TrpTextMeasurer& font, const QString& text) {
  return static_cast<int>(std::ceil(font.TextWidth(text)));
}

TrpBandView* AddBand(TrpPage& page, int type, int top, int width, int height) {
  auto* band = static_cast<TrpBandView*>(page.Add(std::make_unique<TrpBandView>()));
  band->SetBandType(type);
  band->SetGeometry(kLeft, top, width, height);
  band->Flags |= rpBandFlag::Stretched;
  band->CreateUniqueName();
  return band;
}

TrpMemoView* AddMemo(TrpPage& page, const TrpFont& font, const QString& text, int x, int y, int w, int h) {
  auto* memo = static_cast<TrpMemoView*>(page.Add(std::make_unique<TrpMemoView>()));
  memo->Font = font;
  memo->Memo = QStringList{text};
  memo->SetGeometry(x, y, w, h);
  memo->CreateUniqueName();
  return memo;
}

}  // namespace

int TPrintColumnSizes::BandHeight() const { return H.empty() ? 0 : *std::max_element(H.begin(), H.end()); }

int TPrintColumnSizes::BandWidth() const { return std::accumulate(W.begin(), W.end(), 0); }

TPrintColumnSizes CalcColumnSizes(const TPrintSizeInput& in, const TrpTextMeasurer& headerFont,
                                  const TrpTextMeasurer& normalFont, TPrintRows& rows) {
  const size_t n = in.Printed.size();
  TPrintColumnSizes s;
  s.W.assign(n, 0);
  s.H.assign(n, 0);
  s.C.assign(n, 0);
  const int gap = MillimetresToUnits(in.ExtraGapMm);
  for (size_t k = 0; k < n; ++k) {
    const int code = in.Printed[k];
    const QString& caption = code >= 1 && code <= pwCode::Count ? in.Captions[static_cast<size_t>(code)] : QString();
    s.C[k] = Width(headerFont, caption) + gap + 10;
    if (PrintColumnKind(code) == TPrintColumnKind::CheckBox) {
      s.H[k] = 24;
      s.W[k] = gap + 16;
      continue;
    }
    for (rows.First(); !rows.Eof(); rows.Next()) {
      int w, h;
      if (IsPictureColumn(code)) {
        h = 20;
        w = gap + 26;
      } else {
        h = normalFont.PixelHeight() + 4;
        w = Width(normalFont, rows.Value(code)) + gap + 10;
      }
      s.H[k] = std::max(s.H[k], h);
      s.W[k] = std::max(s.W[k], w);
    }
    if (code == pwCode::Title) s.W[k] = std::min(s.W[k], MillimetresToUnits(in.MaxWidthTitleMm));
  }
  for (size_t k = 0; k < n; ++k) {
    if (s.C[k] <= 0) continue;
    if (k + 1 < n && AreTwins(in.Printed[k], in.Printed[k + 1])) {
      const int sum = s.W[k] + s.W[k + 1];
      if (sum < s.C[k])
        s.W[k + 1] = s.C[k] - s.W[k];
      else
        s.C[k] = sum;
      s.C[k + 1] = 0;  // the pair shares one header
    } else {
      s.C[k] = s.W[k] = std::max(s.C[k], s.W[k]);
    }
  }
  return s;
}

TrpFont PrintFontOf(const TFontOption& option) {
  TrpFont font;
  font.name = option.Name;
  font.size = option.Size;
  font.style = (option.Bold ? rpFontStyle::Bold : 0) | (option.Italic ? rpFontStyle::Italic : 0) |
               (option.Underline ? rpFontStyle::Underline : 0) | (option.StrikeOut ? rpFontStyle::StrikeOut : 0);
  font.color = option.Color;
  return font;
}

TrpPage* BuildPrintReport(TrpReport& report, const std::vector<int>& printed, const TPrintCaptions& captions,
                          const TPrintColumnSizes& sizes, const TPrintFonts& fonts) {
  report.Clear();
  TrpPage& page = *report.AddPage();
  const int bandHeight = sizes.BandHeight();
  const int bandWidth = sizes.BandWidth();
  const size_t n = printed.size();
  auto codeAt = [&](size_t k) { return printed[k]; };

  AddBand(page, rpBand::PageHeader, kHeaderTop, bandWidth, bandHeight);
  int x = kLeft;
  for (size_t k = 0; k < n; ++k) {
    const int code = codeAt(k);
    if (code == pwCode::Notes) continue;
    // A caption is left empty when its twin just before it covers both cells.
    const bool coveredByTwin = k > 0 && AreTwins(codeAt(k - 1), code);
    const QString text = coveredByTwin ? QString() : captions[static_cast<size_t>(code)];
    AddMemo(page, fonts.Header, text, x, kHeaderTop, sizes.C[k], sizes.H[k]);
    x += sizes.C[k];
  }

  TrpBandView* data = AddBand(page, rpBand::MasterData, kDataTop, bandWidth, bandHeight);
  data->FormatPattern = kPrintDataSetName;
  x = kLeft;
  int cellsWidth = 0;
  for (size_t k = 0; k < n; ++k) {
    const int code = codeAt(k);
    if (code == pwCode::Notes) continue;
    const QString field = QLatin1Char('[') + QString::number(code) + QLatin1Char(']');
    TrpView* cell;
    switch (PrintColumnKind(code)) {
      case TPrintColumnKind::CheckBox:
        cell = page.Add(std::make_unique<TrpCheckBoxView>());
        cell->Memo = QStringList{field};
        break;
      case TPrintColumnKind::Picture: cell = page.Add(std::make_unique<TrpPictureView>()); break;
      default: cell = AddMemo(page, fonts.Normal, field, 0, 0, 0, 0); break;
    }
    cell->Tag = QString::number(code);
    cell->SetGeometry(x, kDataTop, sizes.W[k], sizes.H[k]);
    if (cell->Name.isEmpty()) cell->CreateUniqueName();
    x += sizes.W[k];
    cellsWidth += sizes.W[k];
  }

  if (std::find(printed.begin(), printed.end(), pwCode::Notes) != printed.end()) {
    TrpBandView* notes = AddBand(page, rpBand::Child, kNotesTop, cellsWidth, kNotesHeight);
    notes->Name = kNotesBandName;
    data->ChildBand = kNotesBandName;
    TrpMemoView* memo = AddMemo(page, fonts.Notes, QStringLiteral("[15]"), kLeft, kNotesTop, cellsWidth, kNotesHeight);
    memo->Flags |= rpMemoFlag::Stretched;
  }
  return &page;
}

void ApplyPrintPaper(TrpPage& page, const TPrintPaper& paper) {
  page.UseMargins = paper.UseMargins ? -1 : 0;
  page.ChangePaper(paper.Size, 0, 0, paper.Bin.value_or(page.Bin), paper.Orientation);
  // Without a printer wrapper to answer, the paper table gives the sheet's measures: a
  // page of no size would hold no row.
  if (page.PaperWidth <= 0 || page.PaperHeight <= 0) {
    const TrpPaperRow* row = rpFindVirtualPaper(paper.Size);
    if (!row) row = rpFindVirtualPaper(kRpDefaultPaper);
    const bool landscape = paper.Orientation != 0;
    page.PaperWidth = landscape ? row->height : row->width;
    page.PaperHeight = landscape ? row->width : row->height;
  }
  page.MarginLeft = MillimetresToUnits(paper.LeftMm);
  page.MarginTop = MillimetresToUnits(paper.TopMm);
  page.MarginRight = MillimetresToUnits(paper.RightMm);
  page.MarginBottom = MillimetresToUnits(paper.BottomMm);
}

int CellCode(const TrpView& view) {
  bool ok = false;
  const int code = view.Tag.toInt(&ok);
  return ok && code >= 1 && code <= pwCode::Count ? code : 0;
}

void ApplyCellLook(TrpView& view, bool inPageHeader, int32_t rowColor, int image, const TLTImageList* images) {
  if (inPageHeader) return;
  auto* picture = dynamic_cast<TrpPictureView*>(&view);
  if (!picture) {
    view.FillColor = rowColor;
    return;
  }
  picture->FillColor = kRpNoColor;
  picture->Picture.Clear();
  if (!images || !images->IsValidIndex(image) || image == 0) return;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  images->Image(image).save(&buffer, "BMP");
  picture->Picture.Assign(rpGraphicKind::Bitmap, bytes);
}
