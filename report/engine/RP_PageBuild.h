#pragma once
// Building prepared pages from a report's pages: TrpReportBuild drives the pages (one
// pass, or two when TOTALPAGES needs the count) and answers the language as the report
// being built; TrpPageRun is one page's run-time side: its band table, the current y,
// bottom limit, column and the data loop that prints bands into the page sink.
#include "report/engine/RP_Band.h"
#include "report/engine/RP_PageSink.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TrpPage;
class TrpReport;
class TrpReportBuild;
class TrpStretcheable;

// A step of a sub-report's page, recorded while its data loop runs and replayed where
// the sub-report object is printed (the counters as they were when it was recorded).
struct TrpPlayAction {
  enum Kind { First, Next, Prior, Print } kind;
  TrpDataset* data = nullptr;
  TrpBand* band = nullptr;
  int line = 0, lineThrough = 0;
};

class TrpPageRun {
public:
  TrpPageRun(TrpPage& page, TrpReportBuild& build) : page_(page), build_(build) {}
  ~TrpPageRun();

  TrpPage& Page() const { return page_; }
  QObject* Owner() const;
  TrpBand* Band(int type) const { return bands_[static_cast<size_t>(type)].get(); }

  void InitReport();
  void DoneReport();
  void PrepareObjects();
  void BindDataSources();
  void FormPage();
  void NewPage();
  void NewColumn(TrpBand* band);
  void PrintPageFooters();
  bool PrintBand(TrpBand* band);
  void ShowBandByName(const QString& name);
  // The page's OnBeforePrint (a dialog page's OnActivate), compiled on first use.
  void RunPageScript();
  // Runs script lines with this page as the current one (as a handler asks for a
  // page-level script); a failure is reported with the calculation errors, the build
  // goes on.
  void ExecuteScript(const QStringList& lines);
  // A dialog page's form takes a script's ModalResult: noted while the page activates
  // (its script runs before the form shows), closing the form while it is shown. False
  // on a page without a form.
  bool SetModalResult(int result);
  // What a manual build (OnManualBuild) calls to print a band where the page stands.
  void ShowBand(TrpBand* band) { PrintBand(band); }

  // The printable limits; during a build the bottom one is above the page footer.
  int TopMargin() const;
  int BottomMargin() const;
  int LeftMargin() const;
  int RightMargin() const;

  // --- run-time state ---
  int CurY = 0, CurBottomY = 0, XAdjust = 0;
  int ColPos = 0;       // the current column, from 0
  int CurColumn = 1;    // COLUMN#
  int CurPosition = 1;  // CURRENT#
  int ColumnTop = 0;    // y below the column header
  TrpBand* LastPrinted = nullptr;
  int Mode = 0;          // 1: a sub-report's page
  bool Skip = false;     // formed by its sub-report only
  bool Closing = false;  // the column footer and summary close the page
  int PageNumber = 0;    // 1-based position in the report
  bool Initialized = false;
  int ColumnCount = 1, ColumnWidth = 0, ColumnGap = 0;

private:
  friend class TrpReportBuild;
  struct SavedRect {
    TrpView* view;
    int left, top, width, height;
    bool pending;
  };

  // Views whose text is one bracketed data field are bound to it.
  void BindDataFields();
  // Walks the cross-tab column data sets once, so that a band printed before any other
  // (a header row) knows the most columns a row will have.
  void CountCrossColumns();
  // A dialog page: its controls on a form, shown modally unless its script answered.
  void InitDialog();
  void DataLoop(int level, int deepest);
  void RunCompiled(const QStringList& coded);
  // Prints a band, or in a sub-report's page records that it is to be printed.
  void Emit(TrpBand* band);
  void Move(TrpDataset& data, TrpPlayAction::Kind kind);
  // Sub-reports: the page's actions recorded, then replayed until a band does not fit
  // (false) or all are done (true).
  void RecordSubReport();
  bool Replay();
  void RunSubReports(TrpBand& band, int bandY, size_t first);
  // The band's cross-tab columns are named by a number (a virtual data set).
  bool NumericCrossSource(const TrpBand& band) const;
  // The data set whose records are the band's cross-tab columns (null: none).
  TrpDataset* CrossColumns(TrpBand& band);
  // The band's objects lying in cross bands: header, one column per record, footer.
  void PrintCrossColumns(TrpBand& band, int bandY, int bandHeight);
  void WriteAt(TrpView& view, int left, TrpBand& band, int bandY, int bandHeight);
  void Queue(TrpBand* band) {
    if (band) queue_.push_back(band);
  }
  void FlushQueue();
  int MeasureHeight(TrpBand& band);
  int CalcStretchedHeight(TrpBand& band);
  void DrawBand(TrpBand& band);
  void DrawObjects(TrpBand& band, int bandY, int bandHeight);
  void DrawSplit(TrpBand& band);
  // False when the object's text or script failed (the error is reported).
  bool WriteObject(TrpView& view, TrpBand& band, int bandY, int bandHeight);
  bool CheckNewPage(int y, int height, bool noBreak);
  void StartNewPage(TrpBand* band);
  void Accumulate(TrpBand& band);
  // A data band's record in one cross-tab column: its per-column totals.
  void AccumulateColumn(TrpBand& band, int column);
  void ResetAggregates(TrpBand& band);
  void RunBandScript(TrpBand& band);
  // A group header's condition now; errors are reported and give null.
  TrpValue GroupValue(TrpBand& header);
  bool GroupChanged(TrpBand& header);
  void AddPreparedPage();
  int ColumnFooterHeight() const;
  bool AtFreshPage() const { return CurY <= freshY_; }
  // Whether printing the band may start a new page or column.
  bool MayBreak(const TrpBand& band) const;

  TrpPage& page_;
  TrpReportBuild& build_;
  std::array<std::unique_ptr<TrpBand>, 23> bands_;
  std::vector<TrpBand*> queue_;
  std::vector<std::pair<TrpView*, QStringList>> savedScripts_;
  int freshY_ = -1;            // y below the headers of the page just started
  bool startingPage_ = false;  // the bands of a new page or column are being printed
  bool summaryAfterColumnFooter_ = false;  // the column footer's room is free
  std::vector<TrpPlayAction> playList_;
  size_t playPos_ = 0;
  bool inSubReport_ = false;
  QStringList pageScript_;
  bool pageScriptCompiled_ = false;
  int subReportEnd_ = -1;  // where the sub-reports of the band just drawn ended
  std::unordered_map<TrpView*, TrpBand*> crossOf_;  // objects in cross bands
  // Prepared pages opened to the right of the current one by cross-tab columns that did
  // not fit its width, in order; a new page below starts without any.
  std::vector<int> crossSheets_;
  int crossSheetsOf_ = -1;  // the prepared page they lie to the right of
  bool openingSheet_ = false;  // a sheet's header prints its own columns clipped
  // The prepared page of a sheet to the right of `page` (sheet 1 the first), opened with
  // its overlay and page header when new.
  int CrossSheet(int page, size_t sheet);
  std::unique_ptr<TrpDataset> retryColumns_;  // see CrossColumns
  std::unique_ptr<TrpDialogPageForm> dialogForm_;
  int modalResult_ = 0;  // set by the page's activation script
  bool activating_ = false, showingDialog_ = false;
};

class TrpReportBuild : public TrpReportHost {
public:
  TrpReportBuild(TrpReport& report, TrpPageSink& sink, QObject* owner = nullptr);
  ~TrpReportBuild() override;

  // Builds every visible report page into the sink (twice when the report is
  // TwoPass: the first pass only counts the pages).
  void BuildPages();

  // The pieces of BuildPages for a caller that runs the passes itself (the report
  // component, inside its progress window): Begin hooks the language and the progress
  // window's Cancel, End (also run by the destructor) unhooks them. RunPass(false) is the
  // first pass of a double pass: it writes nothing and leaves the count in TotalPages.
  void Begin();
  void End();
  void RunPass(bool finalPass);

  // The build's own names, in the two groups the report's name resolution asks at
  // different steps: PAGE#, LINE#, LINETHROUGH#, COLUMN#, CURRENT#, TOTALPAGES; and
  // CURY, FREESPACE, FINALPASS, PAGEHEIGHT, PAGEWIDTH. upper is the name in upper case;
  // false when it is none of them.
  bool CounterValue(const QString& upper, TrpValue& value);
  bool PositionValue(const QString& upper, TrpValue& value);
  // The current view's bound data field answers the name between its brackets (the
  // report asks it before evaluating a name as an expression); false for other names.
  bool BoundFieldValue(const QString& name, TrpValue& value);
  // NEWPAGE, NEWCOLUMN, STOPREPORT, SHOWBAND; false for any other name.
  bool ScriptProcedure(const QString& upper, const QString& p1);

  // Set by the report component: its whole name and function resolution, which asks the
  // build's groups above at its own steps. Unset, the build answers its names first and
  // passes the rest to the callbacks installed before it.
  std::function<void(const QString&, TrpValue&)> ValueResolver;
  std::function<void(const QString&, const QString&, const QString&, const QString&, TrpValue&)> FunctionResolver;
  // Progress with a page number: at the start, after each prepared page, at the end.
  std::function<void(int)> OnProgress;
  // Before a view is written onto a prepared page.
  std::function<void(TrpView&)> OnBeforePrint;
  // What runs before a view prints: a view bound to a blob field reads it first, then
  // OnBeforePrint is fired.
  void BeforePrint(TrpView& view);

  TrpReport& Report() const { return report_; }
  // The run-time side of the report's page of that index, or null.
  TrpPageRun* PageRun(int index) const {
    return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[static_cast<size_t>(index)].get() : nullptr;
  }
  TrpPageSink& Sink() const { return *sink_; }

  // --- build state ---
  int PrepPage = 0;     // the prepared page being filled
  bool Append = false;  // the page continues on the previous prepared page
  bool AppendFooter = false;
  int SavedY = 0, SavedBottom = 0;
  bool Terminated = false;
  bool FinalPass = true;
  bool DoublePass = false;
  int TotalPages = 0;
  // Off: a page whose master data set is empty is not formed.
  bool PrintIfEmpty = true;
  // A dialog page was closed with Cancel (or its script answered mrCancel): no report
  // page is built, and the report keeps no pages.
  bool DialogCancelled = false;
  // The report's own data set of a simple report: a master data band naming none reads it.
  TrpDataset* ReportDataset = nullptr;
  TrpBand* CurrentBand = nullptr;
  TrpPageRun* CurrentPage = nullptr;
  // A multiple report: the pages are formed once per record of ReportDataset, which
  // then feeds no master data band.
  bool MultipleReport = false;
  // Set: the page's data loop, title, headers, column footer, summary and page footers
  // are left to the handler, which prints bands through the page's run-time side
  // (TrpPage::Run: ShowBand, NewPage).
  std::function<void(TrpPage&)> OnManualBuild;
  // Cross-tab columns: a band's columns are about to be measured or printed, and each
  // column before it prints (its number from 1; the handler may change its width).
  std::function<void(TrpBand&)> OnBeginColumn;
  std::function<void(int column, int& width)> OnPrintColumn;
  // Fired after each prepared page is finished, with its index.
  std::function<void(int)> OnEndPage;
  std::function<void(TrpBand&)> OnBeginBand, OnEndBand;
  // Views whose Flags ask to be told about every memo written whole (emptied when a
  // build starts, except before the final pass of a double pass).
  std::vector<TrpView*> MemoNotices;
  void NotifyMemoPrinted(TrpView& memo) {
    for (TrpView* view : MemoNotices) view->OnMemoPrinted(memo);
  }
  // The most cross-tab columns one band printed (or was measured with) so far in this
  // build, the first pass included: what a numeric cross data set that gives no
  // columns is retried with.
  int MaxCrossColumns = 0;
  // Expression and script errors met while binding or printing, one per line: the
  // report shows them together as its calculation error once the build is done.
  QStringList CalcErrors;
  void ReportCalcError(const QString& message) { CalcErrors << message; }

  // --- TrpReportHost ---
  bool SetDictionaryVariable(const QString& name, const TrpValue& value) override;
  bool SetModalResult(int result) override { return CurrentPage && CurrentPage->SetModalResult(result); }
  void SetCurY(int y) override;
  TrpObjectProperty GetObjectByName(const QString& text) override;
  QObject* Owner() override { return owner_; }
  int CurrentBandType() override { return CurrentBand ? CurrentBand->Type : -1; }
  TrpDataset* DataBandDataSet(int bandType) override;
  TrpDataset* DefaultDataSet() override { return ReportDataset; }
  bool BindingDataSources() const override { return binding_; }
  TrpAggregateBand* CurrentAggregateBand() override { return CrossCellBand ? CrossCellBand : CurrentBand; }
  TrpAggregateBand* ExaminedDataBand() override { return examined_; }
  int CurrentColumn() const override { return CrossColumn; }
  int CrossColumn = 0;  // the cross-tab column being printed, from 1
  // Set while a data row's cross-footer cells print: their totals run over the row's
  // columns, which the cross footer holds, not over the row band's records.
  TrpBand* CrossCellBand = nullptr;

private:
  friend class TrpPageRun;
  void OnePass();
  // Forms each report page once (a multiple report: once per record).
  void FormPages(const std::vector<TrpPageRun*>& reportPages);
  int PositionOf(const TrpPageRun& page) const;  // from 1
  void HookParser();
  void UnhookParser();
  void GetValue(const QString& name, TrpValue& value);
  void Function(const QString& name, const QString& p1, const QString& p2, const QString& p3, TrpValue& value);

  TrpReport& report_;
  TrpPageSink* sink_;
  QObject* owner_;
  bool begun_ = false;
  std::function<void()> previousCancel_;
  std::vector<std::unique_ptr<TrpPageRun>> pages_;
  bool binding_ = false;
  TrpBand* examined_ = nullptr;
  std::function<void(const QString&, TrpValue&)> previousGetValue_;
  std::function<void(const QString&, const QString&, const QString&, const QString&, TrpValue&)> previousFunction_;
};
