// The band view's properties, record and designer picture.
#include "report/engine/RP_BandView.h"

#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_Utils.h"

#include <QPainter>
#include <array>

namespace {

struct FlagName {
  const char* property;
  const char* script;
};
constexpr std::array<FlagName, 8> kFlags = {{{"Stretched", "STRETCHED"},
                                             {"FormNewPage", "FORMNEWPAGE"},
                                             {"PrintIfSubsetEmpty", "PRINTIFSUBSETEMPTY"},
                                             {"Breaked", "BREAKED"},
                                             {"OnFirstPage", "ONFIRSTPAGE"},
                                             {"OnLastPage", "ONLASTPAGE"},
                                             {"RepeatHeader", "REPEATHEADER"},
                                             {"PrintChildIfInvisible", "PRINTCHILDIFINVISIBLE"}}};

int FlagBit(const QString& upper) {
  for (size_t i = 0; i < kFlags.size(); ++i) {
    if (upper == QLatin1String(kFlags[i].script)) return static_cast<int>(i);
  }
  return -1;
}

bool IsDataBand(int type) { return type == rpBand::MasterData || type == rpBand::DetailData || type == rpBand::SubdetailData; }

bool IsRunTimeName(const QString& upper) {
  return upper == QLatin1String("LEFT") || upper == QLatin1String("TOP") || upper == QLatin1String("WIDTH") ||
         upper == QLatin1String("HEIGHT") || upper == QLatin1String("VISIBLE") || upper == QLatin1String("DATASOURCE");
}

}  // namespace

TrpBandView::TrpBandView() {
  Typ = rpObjectType::Band;
  VersionMinor = 1;
  Flags = rpBandFlag::OnFirstPage | rpBandFlag::OnLastPage;
  Format = 0;
  SetBaseName(QStringLiteral("Band"));
}

bool TrpBandView::OffersFlag(int t, int bit) {
  auto in = [t](std::initializer_list<int> types) {
    for (int x : types) {
      if (x == t) return true;
    }
    return false;
  };
  switch (bit) {
    case 0:
      return (t >= 0 && t <= 2) || (t >= 4 && t <= 12) || (t >= 16 && t <= 18) || t == 21;
    case 1:
      return in({0, 1, 5, 6, 8, 9, 11, 12, 16});
    case 2:
      return in({5, 8});
    case 3:
      return in({0, 1, 16, 17, 21}) || (t >= 4 && t <= 12);
    case 4:
      return in({2, 3});
    case 5:
      return t == 3;
    case 6:
      return in({4, 7, 10, 16, 18});
    case 7:
      return t != rpBand::PageFooter;
    default:
      return false;
  }
}

void TrpBandView::DeclareProperties() {
  TrpView::DeclareProperties();
  const int type = BandType();
  for (int bit = 0; bit < 8; ++bit) {
    if (OffersFlag(type, bit)) AddProperty(QString::fromLatin1(kFlags[static_cast<size_t>(bit)].property), rpProp::Boolean);
  }
  if (type != rpBand::PageFooter) AddProperty(QStringLiteral("ChildBand"), rpProp::Text, true);
  if (IsDataBand(type)) {
    AddProperty(QStringLiteral("Columns"), rpProp::Integer);
    AddProperty(QStringLiteral("ColumnWidth"), rpProp::Integer);
    AddProperty(QStringLiteral("ColumnGap"), rpProp::Integer);
  }
  if (IsDataBand(type) || type == rpBand::CrossData) AddProperty(QStringLiteral("DataSource"), rpProp::Text, true);
  if (type == rpBand::GroupHeader) {
    AddProperty(QStringLiteral("Condition"), rpProp::Text, true);
    AddProperty(QStringLiteral("Master"), rpProp::Text, true);
  }
  AddProperty(QStringLiteral("EOF"), rpProp::Boolean);
  AddProperty(QStringLiteral("OnBeforePrint"), rpProp::Text, true);
}

void TrpBandView::SetPropValue(const QString& name, const TrpValue& value) {
  const QString n = name.toUpper();
  if (RunTimeBand && IsRunTimeName(n)) {
    RunTimeBand->SetPropValue(n, value);
    return;
  }
  if (const int bit = FlagBit(n); bit >= 0) {
    Flags = value.ToBoolean() ? (Flags | (1 << bit)) : (Flags & ~(1 << bit));
  } else if (n == QLatin1String("CHILDBAND")) {
    ChildBand = value.ToString();
  } else if (n == QLatin1String("MASTER")) {
    Master = value.ToString();
  } else if (n == QLatin1String("CONDITION") || n == QLatin1String("DATASOURCE")) {
    FormatPattern = value.ToString();
  } else if (n == QLatin1String("COLUMNS")) {
    Columns = static_cast<int32_t>(value.ToInteger());
  } else if (n == QLatin1String("COLUMNGAP")) {
    ColumnGap = static_cast<int32_t>(value.ToInteger());
  } else if (n == QLatin1String("COLUMNWIDTH")) {
    ColumnWidth = static_cast<int32_t>(value.ToInteger());
  } else if (n == QLatin1String("NEWCOLUMNAFTER")) {
    ColumnBreakAfter = static_cast<int32_t>(value.ToInteger());
  } else {
    TrpView::SetPropValue(name, value);
  }
}

TrpValue TrpBandView::GetPropValue(const QString& name) {
  const QString n = name.toUpper();
  if (RunTimeBand && IsRunTimeName(n)) return RunTimeBand->GetPropValue(n);
  if (const int bit = FlagBit(n); bit >= 0) return (Flags & (1 << bit)) != 0;
  if (n == QLatin1String("CHILDBAND")) return ChildBand;
  if (n == QLatin1String("MASTER")) return Master;
  if (n == QLatin1String("CONDITION") || n == QLatin1String("DATASOURCE")) return FormatPattern;
  if (n == QLatin1String("COLUMNS")) return Columns;
  if (n == QLatin1String("COLUMNGAP")) return ColumnGap;
  if (n == QLatin1String("COLUMNWIDTH")) return ColumnWidth;
  if (n == QLatin1String("NEWCOLUMNAFTER")) return ColumnBreakAfter;
  if (n == QLatin1String("EOF")) return RunTimeDataSet ? RunTimeDataSet->Eof() : true;
  return TrpView::GetPropValue(name);
}

TrpValue TrpBandView::DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) {
  const QString n = name.toUpper();
  if (n == QLatin1String("NEXT") || n == QLatin1String("PRIOR") || n == QLatin1String("FIRST")) {
    if (RunTimeDataSet) {
      if (n == QLatin1String("NEXT")) {
        RunTimeDataSet->Next();
      } else if (n == QLatin1String("PRIOR")) {
        RunTimeDataSet->Prior();
      } else {
        RunTimeDataSet->First();
      }
    }
    return TrpValue::Null();
  }
  return TrpView::DoMethod(name, p1, p2, p3);
}

void TrpBandView::WriteToStream(QIODevice& stream) {
  VersionMinor = 1;
  TrpView::WriteToStream(stream);
  rpWriteString(stream, ChildBand);
  for (int32_t v : {Columns, ColumnWidth, ColumnGap, ColumnBreakAfter}) rpWriteInt(stream, v);
  rpWriteString(stream, Master);
}

void TrpBandView::ReadFromStream(QIODevice& stream, int version) {
  TrpView::ReadFromStream(stream, version);
  if (version <= 23) return;
  ChildBand = rpReadString(stream);
  Columns = rpReadInt(stream);
  ColumnWidth = rpReadInt(stream);
  ColumnGap = rpReadInt(stream);
  ColumnBreakAfter = rpReadInt(stream);
  if (VersionMajor * 10 + VersionMinor > 20) Master = rpReadString(stream);
}

void TrpBandView::Draw(QPainter& canvas) {
  BeginDraw(&canvas);
  const bool cross = BandType() >= rpBand::CrossHeader && BandType() <= rpBand::CrossFooter;
  QRect rect(Left, Top, Width, Height);
  if (TrpPage* page = Parent()) {
    if (cross) {
      rect = QRect(Left, 0, Width, page->PaperHeightUnits());
    } else {
      rect = QRect(0, Top, page->PaperWidthUnits(), Height);
    }
  }
  canvas.save();
  canvas.fillRect(rect, QBrush(QColor(0xC0, 0xC0, 0xC0), Qt::BDiagPattern));
  canvas.setPen(QPen(Qt::gray, 0));
  canvas.drawRect(rect.adjusted(0, 0, -1, -1));
  if (Columns > 1) {
    canvas.setPen(QPen(Qt::gray, 0, Qt::DotLine));
    for (int c = 0; c < Columns; ++c) {
      canvas.drawRect(rect.left() + c * (ColumnWidth + ColumnGap), rect.top(), ColumnWidth, rect.height() - 1);
    }
  }
  QFont font = TrpFont{}.ToQFont();
  font.setPointSize(8);
  canvas.setFont(font);
  const QString name = rpGlobals().BandName(BandType());
  const int textWidth = canvas.fontMetrics().horizontalAdvance(name) + 8;
  const int tabWidth = textWidth >= 92 ? textWidth : 100;
  const QRect tab(rect.left(), rect.top(), tabWidth, canvas.fontMetrics().height() + 2);
  canvas.fillRect(tab, QColor(0xF0, 0xF0, 0xF0));
  canvas.setPen(Qt::black);
  canvas.drawText(tab.adjusted(4, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, name);
  canvas.restore();
}
