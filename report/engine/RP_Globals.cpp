#include "report/engine/RP_Globals.h"

#include "report/engine/RP_Context.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StdLib.h"
#include "report/engine/RP_StringTable.h"

#include <QColor>

#include <algorithm>

namespace {

std::unique_ptr<TrpGlobals>& Instance() {
  static std::unique_ptr<TrpGlobals> globals;
  return globals;
}

// Names the parser and the report answer themselves, described beside the libraries'.
const char* const kOwnNames[] = {
    "IF", "COPY", "MOD", "STR", "NOT", "AND", "OR", "ROUND", "FRAC", "INT", "TRUE", "FALSE", "STRTODATE",
    "STRTOTIME", "PAGE#", "DATE", "TIME", "LINE#", "LINETHROUGH#", "COLUMN#", "TOTALPAGES", "REPORTCOMMENT",
    "REPORTNAME", "REPORTAUTOR", "VMAJOR", "VMINOR", "VRELEASE", "VBUILD", "REPORTDATE", "REPORTLASTCHANGE", "MROK",
    "MRCANCEL", "CURY", "FREESPACE", "FINALPASS", "PAGEHEIGHT", "PAGEWIDTH", "PROGRESS", "MODALRESULT", "STOPREPORT",
    "NEWPAGE", "NEWCOLUMN", "SHOWBAND", "INC", "DEC"};

constexpr size_t kMaxLibraries = 64;

}  // namespace

TrpGlobals::TrpGlobals() {
  // 1. Texts of the string table.
  defaultCharset_ = rpLoadStr(rpStrings::DefaultCharset).toInt();
  for (int i = 0; i < rpBand::Count; ++i) bandNames_[static_cast<size_t>(i)] = rpLoadStr(rpStrings::BandName0 + i);
  for (int i = 0; i < 4; ++i) {
    booleanFormats_[static_cast<size_t>(i)] = rpLoadStr(rpStrings::BooleanFormat0 + i);
    dateFormats_[static_cast<size_t>(i)] = rpLoadStr(rpStrings::DateFormat0 + i);
    timeFormats_[static_cast<size_t>(i)] = rpLoadStr(rpStrings::TimeFormat0 + i);
  }
  // 2. The scratch list and two small bitmaps.
  checker_ = QImage(8, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) checker_.setPixel(x, y, (x + y) % 2 ? qRgb(255, 255, 255) : qRgb(192, 192, 192));
  }
  plain_ = QImage(8, 8, QImage::Format_RGB32);
  plain_.fill(Qt::white);
  // 3. The progress window.
  if (TrpWindows* windows = rpWindows()) progress_ = windows->CreateProgressWindow();
  // 4. Function descriptions and the two libraries.
  installed_ = std::make_unique<TrpInstalledFunctions>();
  RegisterLibrary([] { return std::make_unique<TrpStdFunctionLibrary>(); });
  RegisterLibrary([] { return std::make_unique<TDatabaseFunctionLibrary>(); });
  for (const char* name : kOwnNames) installed_->Add(QString(), QString::fromLatin1(name));
  // 5. The global parser and interpreter.
  parser_ = std::make_unique<TrpParser>();
  interpreter_ = std::make_unique<TInterpretator>(*this);
  InstallDefaultCallbacks();
  // 6. Script variables and constants.
  variables_ = std::make_unique<TrpVariables>(true);
  constants_ = std::make_unique<TrpVariables>(true);
  AddConstants();
  // 7. The hidden parent of dialog-page controls.
  if (TrpWindows* windows = rpWindows()) dialogForm_ = windows->CreateDialogForm();
}

TrpGlobals::~TrpGlobals() {
  // The reverse of the order of creation.
  dialogForm_.reset();
  specialHandling_.clear();
  constants_.reset();
  variables_.reset();
  interpreter_.reset();
  parser_.reset();
  libraries_.clear();
  installed_.reset();
  progress_.reset();
}

void TrpGlobals::AddConstants() {
  TrpVariables& c = *constants_;
  auto add = [&c](const char* name, const TrpValue& value) { c.SetVariable(QString::fromLatin1(name), value); };
  add("clWhite", 0xFFFFFF);
  add("clBlack", 0);
  add("clMaroon", 0x80);
  add("clGreen", 0x8000);
  add("clOlive", 0x8080);
  add("clNavy", 0x800000);
  add("clPurple", 0x800080);
  add("clTeal", 0x808000);
  add("clGray", 0x808080);
  add("clSilver", 0xC0C0C0);
  add("clRed", 0xFF);
  add("clLime", 0xFF00);
  add("clYellow", 0xFFFF);
  add("clBlue", 0xFF0000);
  add("clFuchsia", 0xFF00FF);
  add("clAqua", 0xFFFF00);
  add("clTransparent", 0x1FFFFFFF);
  const char* const system[] = {"clScrollBar", "clBackground", "clActiveCaption", "clInactiveCaption", "clMenu",
                                "clWindow", "clWindowFrame", "clMenuText", "clWindowText", "clCaptionText",
                                "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",
                                "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
                                "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText",
                                "clInfoBk"};
  for (int i = 0; i < 25; ++i) add(system[i], static_cast<int64_t>(0xFF000000u + static_cast<unsigned>(i)));
  add("mrNone", 0);
  add("mrOk", 1);
  add("mrCancel", 2);
  add("mrYes", 6);
  add("mrNo", 7);
  add("CRLF", TrpValue(QStringLiteral("\r\n")));
  add("Null", TrpValue::Null());
  add("fsBold", 2);
  add("fsItalic", 1);
  add("fsUnderline", 4);
  add("fsStrikeOut", 8);
  add("frftNone", 0);
  add("frftRight", 1);
  add("frftBottom", 2);
  add("frftLeft", 4);
  add("frftTop", 8);
  add("frtaLeft", 0);
  add("frtaRight", 1);
  add("frtaCenter", 2);
  add("frtaVertical", 4);
  add("frtaMiddle", 8);
  add("frtaDown", 16);
  const char* const bandAlign[] = {"baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom", "baTop", "baRest"};
  for (int i = 0; i < 8; ++i) add(bandAlign[i], i);
  const char* const penStyle[] = {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psDouble"};
  for (int i = 0; i < 6; ++i) add(penStyle[i], i);
  add("mb_Ok", 0);
  add("mb_OkCancel", 1);
  add("mb_YesNo", 4);
  add("mb_YesNoCancel", 3);
  add("mb_IconError", 16);
  add("mb_IconQuestion", 32);
  add("mb_IconInformation", 64);
  add("mb_IconWarning", 48);
}

const QString& TrpGlobals::BandName(int bandType) const {
  static const QString none;
  if (bandType < 0 || bandType >= rpBand::Count) return none;
  return bandNames_[static_cast<size_t>(bandType)];
}

void TrpGlobals::DefaultGetValue(const QString& name, TrpValue& value) {
  if (const int i = variables_->IndexOf(name); i >= 0) {
    value = variables_->Value(i);
  } else if (const int k = constants_->IndexOf(name); k >= 0) {
    value = constants_->Value(k);
  }
}

void TrpGlobals::DefaultFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                                 TrpValue& value) {
  value = TrpValue(QStringLiteral("0"));
  rpCallFunctionLibraries(name, p1, p2, p3, value);
}

void TrpGlobals::InstallDefaultCallbacks() {
  parser_->OnGetValue = [this](const QString& name, TrpValue& value) { DefaultGetValue(name, value); };
  parser_->OnFunction = [this](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                               TrpValue& value) { DefaultFunction(name, p1, p2, p3, value); };
}

void TInterpretator::GetValue(const QString& name, TrpValue& value) {
  if (globals_.Parser().OnGetValue) globals_.Parser().OnGetValue(name, value);
}

void TInterpretator::RunFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                                 TrpValue& value) {
  if (globals_.Parser().OnFunction) globals_.Parser().OnFunction(name, p1, p2, p3, value);
}

void TInterpretator::SetValue(const QString& name, const TrpValue& value) {
  TrpVariables& variables = globals_.Variables();
  if (variables.IndexOf(name) >= 0) {
    variables.SetVariable(name, value);
    return;
  }
  TrpReportHost* report = globals_.CurrentReport();
  if (report && report->SetDictionaryVariable(name, value)) return;
  const QString upper = name.toUpper();
  if (upper == QLatin1String("MODALRESULT")) {
    if (report) report->SetModalResult(static_cast<int>(value.ToInteger()));
    return;
  }
  if (upper == QLatin1String("CURY")) {
    if (report) report->SetCurY(static_cast<int>(value.ToInteger()));
    return;
  }
  if (upper == QLatin1String("PROGRESS")) {
    if (TrpProgressView* progress = globals_.Progress()) {
      progress->SetSecondLine(value.ToString());
      progress->ProcessEvents();
    }
    return;
  }
  if (report) {
    const TrpObjectProperty target = report->GetObjectByName(name);
    if (target.object && target.object->HasProperty(target.property)) {
      target.object->SetPropValue(target.property, value);
      return;
    }
  }
  variables.SetVariable(name, value);
}

TrpGlobals& rpGlobals() {
  auto& instance = Instance();
  if (!instance) instance = std::make_unique<TrpGlobals>();
  return *instance;
}

void rpResetGlobals() { Instance().reset(); }

void TrpGlobals::RegisterLibrary(const TrpLibraryFactory& factory) {
  std::unique_ptr<TrpFunctionLibrary> library = factory();
  const QString className = library->ClassName();
  for (const auto& registered : libraries_) {
    if (registered->ClassName() == className) return;
  }
  if (libraries_.size() >= kMaxLibraries) throw ErpError(rpLoadStr(rpStrings::TooManyLibraries));
  library->Attach(*this);
  library->Describe(*installed_);
  libraries_.push_back(std::move(library));
}

void TrpGlobals::UnregisterLibrary(const QString& className) {
  installed_->RemoveLibrary(className);
  std::erase_if(libraries_, [&](const std::unique_ptr<TrpFunctionLibrary>& library) {
    return library->ClassName() == className;
  });
}

void rpRegisterFunctionLibrary(const TrpLibraryFactory& factory) { rpGlobals().RegisterLibrary(factory); }

void rpUnRegisterFunctionLibrary(const QString& className) { rpGlobals().UnregisterLibrary(className); }

std::vector<TrpFunctionLibrary*> rpFunctionLibraries() {
  std::vector<TrpFunctionLibrary*> libraries;
  for (const auto& library : rpGlobals().Libraries()) libraries.push_back(library.get());
  return libraries;
}

bool rpCallFunctionLibraries(const QString& name, const QString& p1, const QString& p2, const QString& p3,
                             TrpValue& value) {
  // A library may register or remove libraries while it runs; walk a copy.
  for (TrpFunctionLibrary* library : rpFunctionLibraries()) {
    if (library->OnFunction(name, p1, p2, p3, value)) return true;
  }
  return false;
}
