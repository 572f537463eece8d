// The stored part of a report page and its page record.
#include "report/engine/RP_Page.h"

#include "report/engine/RP_Errors.h"
#include "report/engine/RP_StringTable.h"
#include "report/engine/RP_Utils.h"

TrpPage::TrpPage(TrpReport* report) : report_(report) {}

TrpPage::~TrpPage() = default;

int TrpPage::PaperWidthUnits() const { return rpRound(PaperWidth / 10.0 * 18.0 / 5.0); }

int TrpPage::PaperHeightUnits() const { return rpRound(PaperHeight / 10.0 * 18.0 / 5.0); }

int TrpPage::LeftMargin() const { return UseMargins != 0 ? MarginLeft : 0; }

int TrpPage::TopMargin() const { return UseMargins != 0 ? MarginTop : 0; }

int TrpPage::RightMargin() const {
  return UseMargins != 0 && MarginRight != 0 ? PaperWidthUnits() - MarginRight : PaperWidthUnits();
}

int TrpPage::BottomMargin() const {
  return UseMargins != 0 && MarginBottom != 0 ? PaperHeightUnits() - MarginBottom : PaperHeightUnits();
}

TrpView* TrpPage::Add(std::unique_ptr<TrpView> view) {
  view->SetParent(this);
  objects_.push_back(std::move(view));
  return objects_.back().get();
}

TrpView* TrpPage::FindObject(const QString& name) const {
  for (const auto& object : objects_) {
    if (object->Name.compare(name, Qt::CaseInsensitive) == 0) return object.get();
  }
  return nullptr;
}

void TrpPage::WriteToStream(QIODevice& stream) const {
  rpWriteInt(stream, -1);  // a page script follows at the end
  rpWriteInt(stream, PaperSize);
  rpWriteInt(stream, PaperWidth);
  rpWriteInt(stream, PaperHeight);
  for (int32_t m : {MarginLeft, MarginTop, MarginRight, MarginBottom}) rpWriteInt(stream, m);
  rpWriteByte(stream, Orientation);
  rpWriteInt(stream, Bin);
  rpWriteWord(stream, static_cast<uint16_t>(PrintToPrevPage));
  rpWriteWord(stream, static_cast<uint16_t>(UseMargins));
  rpWriteInt(stream, Columns);
  rpWriteInt(stream, ColumnGap);
  rpWriteByte(stream, PageType);
  rpWriteString(stream, Name);
  rpWriteByte(stream, static_cast<uint8_t>(BorderStyle));
  rpWriteString(stream, Caption);
  rpWriteInt(stream, Color);
  for (int32_t v : {FormLeft, FormTop, FormWidth, FormHeight}) rpWriteInt(stream, v);
  rpWriteByte(stream, static_cast<uint8_t>(Position));
  rpWriteMemo(stream, Script);
}

void TrpPage::ReadFromStream(QIODevice& stream, int version) {
  const int32_t marker = rpReadInt(stream);
  const bool hasScript = marker == -1;
  PaperSize = hasScript ? rpReadInt(stream) : marker;
  PaperWidth = rpReadInt(stream);
  PaperHeight = rpReadInt(stream);
  MarginLeft = rpReadInt(stream);
  MarginTop = rpReadInt(stream);
  MarginRight = rpReadInt(stream);
  MarginBottom = rpReadInt(stream);
  Orientation = rpReadByte(stream);
  if (version < 23) {
    for (int i = 0; i < 6; ++i) rpReadByte(stream);
  }
  Bin = version > 23 ? rpReadInt(stream) : -1;
  PrintToPrevPage = static_cast<int16_t>(rpReadWord(stream));
  UseMargins = static_cast<int16_t>(rpReadWord(stream));
  Columns = rpReadInt(stream);
  ColumnGap = rpReadInt(stream);
  if (version >= 24) {
    PageType = rpReadByte(stream);
    if (PageType > rpPageType::Dialog) throw ErpLoadError(rpLoadStr(rpStrings::UnsupportedFormat));
    Name = rpReadString(stream);
  } else {
    // Older forms have neither; the reader names the page.
    PageType = rpPageType::Report;
    Name.clear();
  }
  BorderStyle = rpReadByte(stream) == 0 ? TrpBorderStyle::bsDialog : TrpBorderStyle::bsSizeable;
  Caption = rpReadStringOfVersion(stream, version);
  Color = rpReadInt(stream);
  FormLeft = rpReadInt(stream);
  FormTop = rpReadInt(stream);
  FormWidth = rpReadInt(stream);
  FormHeight = rpReadInt(stream);
  Position = rpReadByte(stream) != 0 ? TrpPosition::poScreenCenter : TrpPosition::poDesigned;
  if (hasScript) Script = rpReadMemoOfVersion(stream, version);
}
