#include "report/engine/RP_Context.h"

const TrpContext& rpContext() {
  static const TrpContext none;
  const TrpContext* report = AppContext().Report;
  return report != nullptr ? *report : none;
}

const TrpFormatSettings& rpFormatSettings() {
  const TrpContext& report = rpContext();
  if (report.Formats) return *report.Formats;
  static const TrpFormatSettings fromLocale = rpFormatSettingsFromLocale(QLocale());
  return fromLocale;
}

TrpWindows* rpWindows() { return rpContext().Windows; }

TrpContext rpContextWith(const std::function<void(TrpContext&)>& change) {
  TrpContext report = rpContext();
  change(report);
  return report;
}

TrpContextScope::TrpContextScope(TrpContext report)
    : report_(std::move(report)), scope_(ContextWith([this](TAppContext& c) { c.Report = &report_; })) {}

TrpScopedDecimalSeparator::TrpScopedDecimalSeparator(QChar separator)
    : scope_(rpContextWith([separator](TrpContext& c) {
        c.Formats = rpFormatSettings();
        c.Formats->DecimalSeparator = separator;
      })) {}
