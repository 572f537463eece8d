#include "report/engine/RP_Band.h"

#include "report/engine/RP_BandView.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_Utils.h"

TrpBand::~TrpBand() {
  // A long chain is freed from its end, so the destructors do not nest per band.
  while (NextOwned) {
    std::unique_ptr<TrpBand> rest = std::move(NextOwned->NextOwned);
    NextOwned = std::move(rest);
  }
}

bool TrpBand::IsDataBand() const {
  return Type == rpBand::MasterData || Type == rpBand::DetailData || Type == rpBand::SubdetailData ||
         Type == rpBand::CrossData;
}

void TrpBand::SetDataSource(const QString& text) {
  if (Type == rpBand::GroupHeader) {
    GroupCondition = text;
    return;
  }
  if (text.isEmpty() || text.contains(u';')) return;
  QObject* owner = Page ? Page->Owner() : nullptr;
  try {
    TrpFoundDataSet found = rpGetDataSet(owner, text);
    DataSet = found.dataSet;
    OwnedDataSet = std::move(found.owned);
  } catch (...) {
    // A name that finds nothing leaves the band without data: its page counts as empty.
    DataSet = nullptr;
  }
}

bool TrpBand::HasProperty(const QString& name) {
  static const QStringList names = {"LEFT", "TOP", "WIDTH", "HEIGHT", "VISIBLE", "DATASOURCE"};
  return names.contains(name.toUpper());
}

void TrpBand::SetPropValue(const QString& name, const TrpValue& value) {
  const QString upper = name.toUpper();
  if (upper == QLatin1String("LEFT"))
    X = static_cast<int>(value.ToInteger());
  else if (upper == QLatin1String("TOP"))
    Y = static_cast<int>(value.ToInteger());
  else if (upper == QLatin1String("WIDTH"))
    Width = static_cast<int>(value.ToInteger());
  else if (upper == QLatin1String("HEIGHT"))
    Height = static_cast<int>(value.ToInteger());
  else if (upper == QLatin1String("VISIBLE"))
    Visible = value.ToBoolean();
  else if (upper == QLatin1String("DATASOURCE"))
    SetDataSource(value.ToString());
}

TrpValue TrpBand::GetPropValue(const QString& name) {
  const QString upper = name.toUpper();
  if (upper == QLatin1String("LEFT")) return TrpValue(X);
  if (upper == QLatin1String("TOP")) return TrpValue(Y);
  if (upper == QLatin1String("WIDTH")) return TrpValue(Width);
  if (upper == QLatin1String("HEIGHT")) return TrpValue(Height);
  if (upper == QLatin1String("VISIBLE")) return TrpValue(Visible);
  if (upper == QLatin1String("DATASOURCE")) return TrpValue(View ? View->DataSource() : QString());
  return TrpValue::Null();
}
