// The print wizard's Preview over 1k and 10k tasks: the column sizes measured over every
// row, the report built and prepared, and the first page painted in a preview control,
// as the user waits for it after pressing Preview.
#include "ProgramBenchMain.h"
#include "RealisticTasks.h"
#include "core/TdApp.h"
#include "platform/AppContext.h"
#include "report/RP_Preview.h"
#include "report/TdPrnWiz.h"
#include "report/engine/RP_Printer.h"
#include "treeview/LazyStringTree.h"
#include "ui/TdCommon.h"
#include "ui/TdMain.h"
#include "ui/TdMainDialogs.h"
#include "ui/TdTaskTree.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <random>

namespace {

class FormTasks : public TPrintTaskList {
public:
  explicit FormTasks(TTodoMainForm& form) : form_(form) {}
  TLazyStringTree& TaskTree() override { return form_.TaskTree(); }
  TTdTodo* TaskOf(PLazyNode node) override { return TTaskTreeView::TaskOfNode(form_.TaskTree(), node); }
  void SetIgnoreTabFilter(bool on) override { form_.TaskView().IgnoreTabFilter = on; }

private:
  TTodoMainForm& form_;
};

void PreviewOpen(benchmark::State& state) {
  rpSetPrinterBackend(nullptr);  // the "PDF file" printer
  TAppContextScope scope(ContextWith([&](TAppContext& c) { c.DataFolder = RealisticDataFolder(int(state.range(0))); }));
  TNotAvailableDialogs dialogs;
  TTodoAppHandler handler(nullptr, TTodoAppTimings{0, 0});
  TTdAppOptions o = handler.GetOptions();
  o.PrinterName = QStringLiteral("PDF file");
  o.PaperName = QStringLiteral("A4");
  o.BinName = rpPrinter().BinNames.value(0).trimmed();
  o.PrintColumn = {14, 23, 8, 21, 18};
  o.QuickFilterMode = 0;
  handler.PutOptions(o);
  TTodoMainForm form(handler, &dialogs);
  FormTasks tasks(form);
  TPrintWizardDialog wizard(handler.Options(), handler, tasks, CommonModule().TaskTreeImages());
  wizard.Report().SetShowProgress(false);  // no progress window to wait for
  wizard.show();
  int pages = 0;
  wizard.OnShowPreview = [&](TrpReport& report, TPreviewWindowState&, bool) {
    TrpEMFPages& prepared = report.EMFPages();
    TrpPreview preview;
    preview.resize(800, 600);
    preview.Connect(&prepared);
    preview.SetZoom(100);
    preview.show();
    preview.grab();  // the first page on screen
    pages = prepared.Count();
    preview.Clear();
  };
  for (auto _ : state) wizard.CmdPreviewClick();
  state.counters["pages"] = pages;
  handler.TodoHandler().SetModified(false);
}

}  // namespace

BENCHMARK(PreviewOpen)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunProgramBenchmarks(argc, argv); }
