#pragma once
// A designed report page as a report form stores it: paper, margins, columns, the
// dialog-form settings of a dialog page, its script and the views on it. Building
// pages from it is the band generator's business.
#include "report/engine/RP_View.h"

#include <functional>
#include <memory>
#include <vector>

class TrpReport;
class TrpPageRun;

// Paper as the printer wrapper takes it: size id (256 a user size), width and height in
// tenths of a millimetre, orientation and bin (-1 the default).
struct TrpPaper {
  int32_t size = 9, width = 0, height = 0;
  uint8_t orientation = 0;
  int32_t bin = -1;
};
// The printer wrapper's side of ChangePaper: applies paper and gives back what the
// printer took in it; false when the printer refused. Without one a page keeps the
// paper as asked.
using TrpPaperSetter = std::function<bool(TrpPaper& paper)>;
void rpSetPaperSetter(TrpPaperSetter setter);

namespace rpPageType {
constexpr int Report = 0, Dialog = 1;
}
enum class TrpBorderStyle : uint8_t { bsDialog = 0, bsSizeable = 1 };
enum class TrpPosition : uint8_t { poDesigned = 0, poScreenCenter = 1 };

class TrpPage : public TrpObject {
public:
  explicit TrpPage(TrpReport* report = nullptr);
  ~TrpPage() override;

  TrpReport* Report() const { return report_; }
  void SetReport(TrpReport* report) { report_ = report; }

  int32_t PaperSize = 9;  // A4
  int32_t PaperWidth = 2100, PaperHeight = 2970;  // tenths of a millimetre
  int32_t MarginLeft = 0, MarginTop = 0, MarginRight = 0, MarginBottom = 0;  // report units
  uint8_t Orientation = 0;
  int32_t Bin = -1;
  int16_t PrintToPrevPage = 0;
  int16_t UseMargins = -1;
  int32_t Columns = 1, ColumnWidth = 0, ColumnGap = 0;
  uint8_t PageType = rpPageType::Report;
  QString Name;
  TrpBorderStyle BorderStyle = TrpBorderStyle::bsDialog;
  QString Caption = QStringLiteral("Form");
  int32_t Color = kRpBtnFace;
  int32_t FormLeft = 220, FormTop = 120, FormWidth = 380, FormHeight = 300;
  TrpPosition Position = TrpPosition::poScreenCenter;
  bool Visible = true;
  QStringList Script;

  // The printable limits in report units: with use-margins 0 the whole paper; else a
  // nonzero margin, or the paper's edge.
  int LeftMargin() const;
  int TopMargin() const;
  int RightMargin() const;
  int BottomMargin() const;
  // The paper in report units (0.36 per tenth of a millimetre).
  int PaperWidthUnits() const;
  int PaperHeightUnits() const;

  const std::vector<std::unique_ptr<TrpView>>& Objects() const { return objects_; }
  TrpView* Add(std::unique_ptr<TrpView> view);
  // Views compared by name without regard to case.
  TrpView* FindObject(const QString& name) const;
  void Clear() { objects_.clear(); }

  // The paper through the printer wrapper; a paper it refuses is applied again as a
  // user size in the default bin.
  void ChangePaper(int size, int width, int height, int bin, int orientation);

  // The run-time side while pages are built (null otherwise): the margin properties
  // then answer the effective limits.
  TrpPageRun* Run = nullptr;

  // Script names: LEFT, TOP, WIDTH, HEIGHT, the margins, columns, paper, ...
  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  void DeclareProperties() override;

  // The page record of a report form (after the byte 255).
  void WriteToStream(QIODevice& stream) const;
  void ReadFromStream(QIODevice& stream, int version);

private:
  TrpReport* report_ = nullptr;
  std::vector<std::unique_ptr<TrpView>> objects_;
};
