#pragma once
// The report component: one report with its design pages, data dictionary and report
// information (the form side, RP_Class.cpp and RP_FormStream.cpp), the build of its
// prepared pages in one or two passes (RP_ReportPrepare.cpp), the names and functions
// expressions and scripts use during a build (RP_ReportValues.cpp), and showing,
// printing and exporting the prepared pages (RP_ReportPrint.cpp). It knows no widget:
// the progress window, message boxes and the preview are reached through interfaces.
//
// Form layout: version byte (25), UseDefaultPrinter and TwoPass (16-bit), printer name
// (string; the text "\x01" stands for the virtual printer), per page the byte 255 and
// its page record, per object a frame (type byte, class name for type 10, page index
// byte, end offset (i32, absolute, just after the record), the record), the byte 254
// and the dictionary, the end byte 252, then the report information: 7 raw strings,
// the password in hexadecimal, WriterVersion, ReportProtected (bytes) and the two dates
// (doubles).
#include "report/engine/RP_DataDictionary.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PrinterPageList.h"

#include <QByteArray>
#include <QIODevice>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TrpBand;
class TrpDataset;
class TrpPreviewView;
class TrpPreviewWindow;
class TrpProgressView;
class TrpReportBuild;

enum TrpPreviewZoom : uint8_t { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };
enum TrpPreviewButton : uint8_t { pbZoom, pbLoad, pbSave, pbPrint, pbFind, pbHelp, pbExit, pbPageSetup };
// A set of preview buttons: bit n for the button of value n.
using TrpPreviewButtons = uint16_t;
constexpr TrpPreviewButtons rpButton(TrpPreviewButton button) { return static_cast<TrpPreviewButtons>(1u << button); }
constexpr TrpPreviewButtons kRpDefaultPreviewButtons = 0x7F;  // all but pbPageSetup
enum TrpReportType : uint8_t { rtSimple, rtMultiple };

// Where an export goes: the file's begin and end, each page's begin and end, and the
// page's objects (TrpExportFilter). Every step but the page contents has a default
// that does nothing and agrees.
class TrpReportExportFilter : public TrpExportFilter {
public:
  // Told the file name first; false vetoes the export.
  virtual bool OnBeforeExport(const QString& fileName) {
    (void)fileName;
    return true;
  }
  // The filter's own set-up; false cancels.
  virtual bool Setup() { return true; }
  virtual void OnBeginDoc(QIODevice& file) { (void)file; }
  virtual void OnBeginPage(int index) { (void)index; }
  virtual void OnEndPage(int index) { (void)index; }
  virtual void OnEndDoc() {}
  std::function<void(const QString& fileName)> OnAfterExport;

protected:
  // The file while exporting.
  QIODevice* File = nullptr;
  friend class TrpReport;
};

class TrpReport {
public:
  // owner: where data sets are looked up by name (may be null).
  explicit TrpReport(QObject* owner = nullptr);
  virtual ~TrpReport();
  TrpReport(const TrpReport&) = delete;
  TrpReport& operator=(const TrpReport&) = delete;

  QObject* Owner() const { return owner_; }
  void SetOwner(QObject* owner) { owner_ = owner; }

  // --- published properties ---
  TrpDataset* Dataset() const { return dataset_; }
  void SetDataset(TrpDataset* dataset) { dataset_ = dataset; }
  int DefaultCopies() const { return defaultCopies_; }
  void SetDefaultCopies(int copies) { defaultCopies_ = copies; }
  bool DefaultCollate() const { return defaultCollate_; }
  void SetDefaultCollate(bool collate) { defaultCollate_ = collate; }
  bool GrayedButtons() const { return grayedButtons_; }
  void SetGrayedButtons(bool grayed) { grayedButtons_ = grayed; }
  TrpPreviewZoom InitialZoom() const { return initialZoom_; }
  void SetInitialZoom(TrpPreviewZoom zoom) { initialZoom_ = zoom; }
  bool MDIPreview() const { return mdiPreview_; }
  void SetMDIPreview(bool mdi) { mdiPreview_ = mdi; }
  bool ModalPreview() const { return modalPreview_; }
  void SetModalPreview(bool modal) { modalPreview_ = modal; }
  bool ModifyPrepared() const { return modifyPrepared_; }
  void SetModifyPrepared(bool modify) { modifyPrepared_ = modify; }
  // Not owned; ComponentRemoved clears it.
  TrpPreviewView* Preview() const { return preview_; }
  void SetPreview(TrpPreviewView* preview) { preview_ = preview; }
  TrpPreviewButtons PreviewButtons() const { return previewButtons_; }
  void SetPreviewButtons(TrpPreviewButtons buttons) { previewButtons_ = buttons; }
  bool PrintIfEmpty() const { return printIfEmpty_; }
  void SetPrintIfEmpty(bool print) { printIfEmpty_ = print; }
  TrpReportType ReportType() const { return reportType_; }
  void SetReportType(TrpReportType type) { reportType_ = type; }
  bool ShowPrintDialog() const { return showPrintDialog_; }
  void SetShowPrintDialog(bool show) { showPrintDialog_ = show; }
  bool ShowProgress() const { return showProgress_; }
  void SetShowProgress(bool show) { showProgress_ = show; }
  bool StoreInDFM() const { return storeInDFM_; }
  void SetStoreInDFM(bool store) { storeInDFM_ = store; }
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title) { title_ = title; }
  bool RebuildPrinter() const { return rebuildPrinter_; }
  void SetRebuildPrinter(bool rebuild) { rebuildPrinter_ = rebuild; }

  // --- published events ---
  std::function<void()> OnBeginDoc, OnEndDoc;
  std::function<void(int index)> OnBeginPage, OnEndPage;  // the prepared page index
  std::function<void(TrpBand& band)> OnBeginBand, OnEndBand;
  // Answers a name before anything else does. Setting handled (even with an empty
  // value, which then prints empty) ends the search; a value that is not empty counts
  // as handled too.
  std::function<void(const QString& name, TrpValue& value, bool& handled)> OnGetValue;
  std::function<void(QStringList& memo, TrpView& view)> OnBeforePrint;
  std::function<void(const QString& name, const TrpValue& p1, const TrpValue& p2, const TrpValue& p3, TrpValue& value)>
      OnUserFunction;
  // Replaces the progress window: a build or print job reports its page numbers here.
  std::function<void(int number)> OnProgress;
  std::function<void(TrpBand& band)> OnBeginColumn;
  std::function<void(int column, int& width)> OnPrintColumn;
  std::function<void(TrpPage& page)> OnManualBuild;
  std::function<void(TrpView& view)> OnObjectClick;
  std::function<void(TrpView& view, Qt::CursorShape& cursor)> OnMouseOverObject;
  std::function<void()> OnPrintReport;
  // Published with the others for forms and programs that assign it; no step of a
  // build, a preview or a print job calls it.
  std::function<void(TrpView& view)> OnCustomizeObject;

  // --- building ---
  // Builds the prepared pages (one pass, or two when TwoPass), inside the progress
  // window unless ShowProgress is off or OnProgress is assigned. The design is saved
  // before and read back after, so what scripts change in it is undone; pointers to
  // pages and views stay valid unless a script did change the design. False when
  // cancelled (no pages remain), when a calculation error stopped it (shown in the
  // "Error" box; no pages remain), or when refused because a build or print job of any
  // report is running.
  bool PrepareReport();
  // The passes of a build (inside or outside the progress window).
  bool DoPrepareReport();
  // The build of the prepared pages; called once per pass.
  virtual void BuildPages();
  // Progress of a build, a print job or an export: OnProgress, else the progress
  // window's label ("Processing page:  3", or "...  3 from 12" where the total is known).
  void DoProgress(int number);
  // A build, print job or export of some report is running (they share the engine).
  static bool Busy();
  // A build without the progress window has no Cancel: a script run longer than this
  // many lines stops the build with the engine's error. Reports' own loops stay far
  // below it.
  qint64 ScriptStepLimit = 50'000'000;

  // The build under way, or null.
  TrpReportBuild* Build() const { return build_; }
  bool Terminated() const;  // the stop flag
  void Stop();
  bool FinalPass() const { return finalPass_; }
  bool FirstPass() const { return firstPass_; }
  bool Building() const { return building_; }
  bool CanRebuild() const { return canRebuild_; }
  int TotalPages() const { return totalPages_; }

  // --- values for expressions and scripts ---
  // Every name an expression or script reads during a build, in a fixed order of
  // sources (OnGetValue, the dictionary, VALUE, the build's counters and the report
  // information, CALCWIDTH, script variables, the page position names, «view.property»,
  // the engine's constants) and, when none has it, the name evaluated as an expression;
  // a name met again inside its own evaluation raises "Undefined symbol".
  void GetVariableValue(const QString& name, TrpValue& value);
  // Function libraries, then ExecScriptProc, then OnUserFunction; starts as "0".
  void CallFunction(const QString& name, const QString& p1, const QString& p2, const QString& p3, TrpValue& value);
  // The procedures of the report: STOPREPORT, NEWPAGE, NEWCOLUMN, SHOWBAND, INC, DEC,
  // SETARRAY, GETARRAY and «view.method».
  void ExecScriptProc(const QString& name, const QString& p1, const QString& p2, const QString& p3, TrpValue& value);
  // A value as text in a display format (category, kind, decimals and separator
  // packed as TrpView::Format); a conversion error gives the value's plain text.
  QString FormatValue(const TrpValue& value, uint32_t format, const QString& formatString) const;
  // The memo expression hook: the text between a pair of brackets, with its optional
  // " #" format suffix, evaluated and formatted for the current view.
  QString ExpressionText(const QString& expression);

  // --- prepared pages ---
  TrpEMFPages& EMFPages() { return prepared_; }
  // Nothing without prepared pages; otherwise connects the assigned Preview, or opens
  // the context's preview window for them.
  void ShowPreparedReport();
  // The preview window ShowPreparedReport opened last, while it exists.
  TrpPreviewWindow* PreviewWindow() const { return previewWindow_.get(); }
  // pageNumbers as in the print dialog («1,3,5-12»; empty: all pages), copies below 1
  // count as 1; runs in the progress window unless ShowProgress is off or OnProgress
  // is assigned. The job is handed to the print server and the call returns; every
  // failure (a bad page text, no pages selected, a refused job) is told in a message.
  void PrintPreparedReport(const QString& pageNumbers, int copies, bool collate, TrpPageParity printPages);
  // The print loop; true when the job was handed on.
  virtual bool PrintPages(const QString& pageNumbers, int copies, TrpPageParity printPages, bool collate);
  // Where a printer that writes a file (the "PDF file" printer) puts it.
  QString PrintFileName;
  // The last print request.
  QString RequestedPages;
  int RequestedCopies = 1;
  bool RequestedCollate = true;
  TrpPageParity RequestedParity = TrpPageParity::All;

  // Editing a prepared page needs a report designer, which this program does not have.
  void EditPreparedReport(int index) { (void)index; }
  bool LoadPreparedReport(const QString& fileName);
  bool SavePreparedReport(const QString& fileName);
  // Runs the filter over the prepared pages into the file; false when vetoed,
  // cancelled or the file cannot be written.
  bool ExportTo(TrpReportExportFilter& filter, const QString& fileName);

  // --- printer ---
  // Unless UseDefaultPrinter, selects the printer of that name when there is one; the
  // name is kept in any case.
  void SelectPrinter(const QString& name);
  // Switches the engine's printer and re-applies every page's paper; a printer that
  // cannot be selected is told ("Printer selected is not valid"), the old one is
  // selected again and false returned.
  bool ChangePrinter(int oldIndex, int newIndex);

  // --- the component in its owner's form file ---
  // The binary property "ReportForm": a 32-bit 25, then with StoreInDFM a 32-bit size
  // and the report form.
  QByteArray WriteReportFormProperty();
  // Keeps the form of the property for Loaded (only with StoreInDFM); false when the
  // bytes are short.
  bool ReadReportFormProperty(QIODevice& stream);
  // The owner's form has finished loading: the kept form is read and freed.
  void Loaded();
  // A component the report refers to is going away.
  void ComponentRemoved(const void* component);

  // --- pages ---
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TrpPage* Page(int index) const { return pages_[static_cast<size_t>(index)].get(); }
  TrpPage* AddPage();
  // Frees every page, empties the dictionary and clears TwoPass.
  void Clear();
  // A view of any page, by name without regard to case.
  TrpView* FindObject(const QString& name) const;

  TrpDataDictionary Dictionary;
  bool UseDefaultPrinter = true;
  bool TwoPass = false;
  QString PrinterName;
  QString FileName;

  // --- report information ---
  QString InfoComment, InfoName, InfoAuthor;
  QString InfoVersionMajor, InfoVersionMinor, InfoVersionRelease, InfoVersionBuild;
  QString ReportPassword;
  uint8_t WriterVersion = 88;
  bool ReportProtected = false;
  double InfoCreateDate = 0;
  double InfoLastChange = 0;
  void ClearInfo();

  // --- streams ---
  // Raises EWriteError when the stream refuses bytes.
  void WriteToStream(QIODevice& stream);
  // Reads a whole form into new pages and takes them only when all of it was read; on
  // failure the report stays as it was, the error is shown in the "Error" box and
  // false returned. A stream of zero bytes only clears the dictionary.
  bool ReadFromStream(QIODevice& stream);
  // The message of the last failed read ("" after a good one).
  const QString& LastError() const { return lastError_; }

  // Asked for the password of a protected report read from a file; empty when the
  // user cancels. Without it a protected report is refused as by a wrong password.
  std::function<std::optional<QString>()> OnAskPassword;
  // The clock of InfoLastChange.
  std::function<double()> Now;

  // --- state the views reach while drawing and printing ---
  TrpView* CurrentView() const { return currentView_; }
  void SetCurrentView(TrpView* view) { currentView_ = view; }
  TrpPage* CurrentPage() const { return currentPage_; }
  void SetCurrentPage(TrpPage* page) { currentPage_ = page; }
  // A band is being printed (a build places width-aligned objects from its cross band).
  bool PrintingBand() const { return printingBand_; }
  void SetPrintingBand(bool printing) { printingBand_ = printing; }
  // The bracketed «[...]» fields of text replaced by their values.
  virtual QString ExpandFields(const QString& text);

private:
  friend class TrpFormReader;
  std::vector<std::unique_ptr<TrpPage>> pages_;
  QString lastError_;
  TrpView* currentView_ = nullptr;
  TrpPage* currentPage_ = nullptr;
  bool printingBand_ = false;

  // Marks the report whose build, print job or export runs, for its lifetime.
  class RunningMark {
  public:
    explicit RunningMark(const TrpReport* report);
    ~RunningMark();
    RunningMark(const RunningMark&) = delete;
    RunningMark& operator=(const RunningMark&) = delete;
  };
  // RP_ReportPrepare.cpp
  bool RunPasses(TrpProgressView* progress);
  void SettleBandAlignedViews();
  void ShowError(const QString& text) const;
  // RP_ReportValues.cpp
  bool ReportValue(const QString& upper, TrpValue& value);
  // RP_ReportPrint.cpp
  void ReapplyPapers();
  template <class Work>
  bool RunWithProgress(const QString& label, Work work);

  QObject* owner_ = nullptr;
  TrpDataset* dataset_ = nullptr;
  int defaultCopies_ = 1;
  bool defaultCollate_ = true;
  bool grayedButtons_ = false;
  TrpPreviewZoom initialZoom_ = pzDefault;
  bool mdiPreview_ = false;
  bool modalPreview_ = true;
  bool modifyPrepared_ = true;
  TrpPreviewView* preview_ = nullptr;
  TrpPreviewButtons previewButtons_ = kRpDefaultPreviewButtons;
  bool printIfEmpty_ = true;
  TrpReportType reportType_ = rtSimple;
  bool showPrintDialog_ = true;
  bool showProgress_ = true;
  bool storeInDFM_ = false;
  QString title_;
  bool rebuildPrinter_ = false;

  TrpEMFPages prepared_;
  std::unique_ptr<TrpPreviewWindow> previewWindow_;
  TrpReportBuild* build_ = nullptr;  // the build under way (not owned)
  bool stop_ = false;        // outside a build (printing, exporting)
  bool cancelled_ = false;   // Cancel in the progress window
  bool finalPass_ = false;
  bool firstPass_ = false;
  bool building_ = false;
  bool doublePass_ = false;
  bool canRebuild_ = false;
  bool exporting_ = false;
  int totalPages_ = 0;
  double buildDate_ = 0;
  QString progressPrefix_;
  TrpProgressView* progress_ = nullptr;  // while it runs a build, print job or export
  TrpValue expressionValue_;             // VALUE
  QStringList evaluating_;               // names being evaluated as expressions
  QByteArray keptForm_;                  // the "ReportForm" property until Loaded
};

// «A.B»: "PAGEn.B" the page of that number; else the report's object A; else, when the
// current object has a property A (as "Font.Name"), the current object with the whole
// text. Without a ".", the current object and the whole text.
TrpObjectProperty rpGetObjectByName(TrpReport& report, const QString& text);
