// Building a report's prepared pages: the form kept aside and read back, one or two
// passes inside the progress window or directly, and the progress texts.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Context.h"
#include "report/engine/RP_DSet.h"
#include "report/engine/RP_Errors.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_PageBuild.h"
#include "report/engine/RP_Printer.h"
#include "report/engine/RP_StringTable.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace {

// The report whose build, print job or export runs: the engine's current state is one
// for the whole program, so a second one waits until the first is done.
const TrpReport*& Running() {
  static const TrpReport* running = nullptr;
  return running;
}

// The form without its last-change date (the last 8 bytes), which every write renews.
QByteArray DesignBytes(TrpReport& report) {
  const double lastChange = report.InfoLastChange;
  QBuffer form;
  form.open(QIODevice::WriteOnly);
  report.WriteToStream(form);
  report.InfoLastChange = lastChange;
  return form.data();
}

}  // namespace

bool TrpReport::Busy() { return Running() != nullptr; }

TrpReport::RunningMark::RunningMark(const TrpReport* report) { Running() = report; }

TrpReport::RunningMark::~RunningMark() { Running() = nullptr; }

bool TrpReport::Terminated() const { return build_ ? build_->Terminated : stop_; }

void TrpReport::Stop() {
  stop_ = true;
  if (build_) build_->Terminated = true;
}

void TrpReport::ShowError(const QString& text) const {
  if (TrpWindows* windows = rpWindows()) windows->MessageBox(text, rpLoadStr(rpStrings::Error), 16);
}

bool TrpReport::PrepareReport() {
  // A nested event (a script's message box, a preview's print command) cannot start a
  // second build over the engine's one state.
  if (Busy()) return false;
  RunningMark running(this);
  SelectPrinter(PrinterName);
  building_ = true;
  buildDate_ = Now ? Now() : 0;
  SettleBandAlignedViews();
  SetCurrentPage(nullptr);
  SetCurrentView(nullptr);
  doublePass_ = TwoPass;

  const double lastChange = InfoLastChange;
  const QByteArray design = DesignBytes(*this);
  bool result = false;
  QStringList errors;
  {
    TrpReportBuild build(*this, prepared_, owner_);
    build.PrintIfEmpty = printIfEmpty_;
    build.ReportDataset = reportType_ == rtSimple ? dataset_ : nullptr;
    build.ValueResolver = [this](const QString& name, TrpValue& value) { GetVariableValue(name, value); };
    build.FunctionResolver = [this](const QString& name, const QString& p1, const QString& p2, const QString& p3,
                                    TrpValue& value) { CallFunction(name, p1, p2, p3, value); };
    build.OnProgress = [this](int number) { DoProgress(number); };
    build.OnEndPage = [this](int index) {
      if (OnEndPage) OnEndPage(index);
    };
    build.OnBeginBand = [this](TrpBand& band) {
      if (OnBeginBand) OnBeginBand(band);
    };
    build.OnEndBand = [this](TrpBand& band) {
      if (OnEndBand) OnEndBand(band);
    };
    build.OnBeforePrint = [this](TrpView& view) {
      if (OnBeforePrint) OnBeforePrint(view.Memo1, view);
    };
    if (OnManualBuild) build.OnManualBuild = [this](TrpPage& page) { OnManualBuild(page); };
    build.OnBeginColumn = [this](TrpBand& band) {
      if (OnBeginColumn) OnBeginColumn(band);
    };
    build.OnPrintColumn = [this](int column, int& width) {
      if (OnPrintColumn) OnPrintColumn(column, width);
    };
    build_ = &build;
    struct Release {
      TrpReportBuild*& build;
      ~Release() { build = nullptr; }
    } release{build_};
    try {
      if (OnBeginDoc) OnBeginDoc();
      result = DoPrepareReport();
      if (OnEndDoc) OnEndDoc();
    } catch (const Exception& error) {
      // An error no band caught (a page script, a data set that will not open): shown
      // as the build's calculation error.
      build.ReportCalcError(error.Message());
    }
    errors = build.CalcErrors;
    if (build.DialogCancelled) result = false;  // a dialog page's Cancel keeps no pages
  }
  if (DesignBytes(*this) != design) {
    QBuffer form;
    form.setData(design);
    form.open(QIODevice::ReadOnly);
    ReadFromStream(form);
  }
  InfoLastChange = lastChange;
  finalPass_ = firstPass_ = false;
  building_ = false;
  canRebuild_ = true;
  SetCurrentView(nullptr);
  if (!errors.isEmpty()) {
    prepared_.Clear();
    ShowError(errors.join(u'\n'));
    return false;
  }
  if (!result) prepared_.Clear();
  return result;
}

// A view aligned to its band takes its place when it is drawn. Drawn once here, before
// the design is kept aside, each one starts the build where the designer would show it:
// a centred one centred, one aligned to the width spanning the page between its margins
// (during the build only a cross band gives it a width).
void TrpReport::SettleBandAlignedViews() {
  QImage bitmap(1, 1, QImage::Format_ARGB32_Premultiplied);
  QPainter canvas(&bitmap);
  for (const auto& page : pages_) {
    SetCurrentPage(page.get());
    for (const auto& view : page->Objects()) {
      if (view->BandAlign == rpBandAlign::None) continue;
      canvas.save();
      view->Draw(canvas);
      canvas.restore();
    }
  }
}

bool TrpReport::DoPrepareReport() {
  stop_ = cancelled_ = false;
  finalPass_ = true;
  firstPass_ = false;
  totalPages_ = 0;
  prepared_.Clear();
  TrpProgressView* progress = OnProgress || !showProgress_ ? nullptr : rpGlobals().Progress();
  return RunPasses(progress);
}

bool TrpReport::RunPasses(TrpProgressView* progress) {
  TrpReportBuild& build = *build_;
  build.Begin();
  if (progress) progress->OnCancel = [this] {
    cancelled_ = true;
    Stop();
  };
  // Scripts end with the build: Cancel in the progress window, or a step limit without it.
  TInterpretator& interpreter = rpGlobals().Interpreter();
  const qint64 stepLimit = interpreter.StepLimit();
  interpreter.SetStopFlag(&build.Terminated, progress ? std::function<void()>([progress] { progress->ProcessEvents(); })
                                                      : std::function<void()>());
  if (!progress) interpreter.SetStepLimit(ScriptStepLimit);
  struct Restore {
    TInterpretator& interpreter;
    qint64 stepLimit;
    TrpReportBuild& build;
    TrpProgressView*& current;
    ~Restore() {
      interpreter.SetStopFlag(nullptr);
      interpreter.SetStepLimit(stepLimit);
      build.End();
      current = nullptr;
    }
  } restore{interpreter, stepLimit, build, progress_};
  progress_ = progress;

  const QString caption = title_.isEmpty() ? rpLoadStr(rpStrings::PreparingReport)
                                           : rpLoadStr(rpStrings::PreparingReport) + QStringLiteral(" - ") + title_;
  auto passes = [&] {
    if (doublePass_) {
      firstPass_ = true;
      finalPass_ = false;
      progressPrefix_ = rpLoadStr(rpStrings::FirstPass);
      if (progress) progress->SetFirstLine(progressPrefix_ + QStringLiteral("  1"));
      BuildPages();
      totalPages_ = build.TotalPages;
      firstPass_ = false;
      if (build.Terminated) {
        prepared_.Clear();
        return;
      }
      finalPass_ = true;
    }
    progressPrefix_ = rpLoadStr(rpStrings::ProcessingPage);
    if (progress) progress->SetFirstLine(progressPrefix_ + QStringLiteral("  1"));
    BuildPages();
    if (!doublePass_) totalPages_ = 0;
  };
  if (!progress) {
    passes();
    return !cancelled_;
  }
  progress->SetCaption(caption);
  const bool ok = progress->Run([&] {
    passes();
    progress->Close(!build.Terminated);
  });
  // Closed otherwise than by the build (Esc): as cancelled. A script's STOPREPORT keeps
  // the pages made so far.
  return !cancelled_ && (ok || build.Terminated);
}

void TrpReport::BuildPages() {
  TrpReportBuild& build = *build_;
  build.TotalPages = totalPages_;
  build.RunPass(finalPass_);
}

void TrpReport::DoProgress(int number) {
  if (OnProgress) {
    OnProgress(number);
    return;
  }
  if (!showProgress_ || !progress_) return;
  QString label = progressPrefix_ + QStringLiteral("  ") + QString::number(number);
  if ((doublePass_ && finalPass_ && building_) || exporting_)
    label += u' ' + rpLoadStr(rpStrings::From) + u' ' + QString::number(totalPages_);
  progress_->SetFirstLine(label);
  progress_->ProcessEvents();
}
