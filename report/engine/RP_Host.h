#pragma once
// What the engine's language reaches beyond itself, each through a small interface:
// the objects on report pages (views and pages implement TrpScriptObject), the report
// being built (the report component implements TrpReportHost and makes itself current
// while it builds), its run-time bands for the aggregates, and the windows, which live
// in the library that may use Qt Widgets.
#include "report/engine/RP_Variant.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QObject;
class QPainter;
class QRect;
class TrpAggregateValues;
class TrpDataset;

// An object scripts can read, write and call by property and method names (names
// match without regard to case; unknown ones are ignored and read as null).
class TrpScriptObject {
public:
  virtual ~TrpScriptObject() = default;
  virtual bool HasProperty(const QString& name) = 0;
  virtual void SetPropValue(const QString& name, const TrpValue& value) = 0;
  virtual TrpValue GetPropValue(const QString& name) = 0;
  virtual TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) = 0;
};

// An object and one of its property names, as «Memo1.Visible» names them.
struct TrpObjectProperty {
  TrpScriptObject* object = nullptr;
  QString property;
};

// A run-time band as the aggregate functions see it.
class TrpAggregateBand {
public:
  virtual ~TrpAggregateBand() = default;
  virtual QString Name() const = 0;
  // The band type byte: 0 report title ... 5 master data ... 22 none.
  virtual int BandType() const = 0;
  // Cross bands cut through it: its object list holds an object of another band.
  virtual bool HasCrossObjects() const = 0;
  // The band whose values the aggregates of this band's texts read.
  virtual TrpAggregateBand* AggregateSource() const = 0;
  virtual void SetAggregateSource(TrpAggregateBand* band) = 0;
  virtual TrpAggregateValues& Aggregates() = 0;
};

namespace rpBand {
constexpr int ReportTitle = 0, ReportSummary = 1, PageHeader = 2, PageFooter = 3, MasterHeader = 4, MasterData = 5,
              MasterFooter = 6, DetailHeader = 7, DetailData = 8, DetailFooter = 9, SubdetailHeader = 10,
              SubdetailData = 11, SubdetailFooter = 12, Overlay = 13, ColumnHeader = 14, ColumnFooter = 15,
              GroupHeader = 16, GroupFooter = 17, CrossHeader = 18, CrossData = 19, CrossFooter = 20, Child = 21,
              None = 22, Count = 23;
}

class TrpReportHost {
public:
  virtual ~TrpReportHost() = default;

  // Sets a variable of the report's data dictionary; false when name is none.
  virtual bool SetDictionaryVariable(const QString& name, const TrpValue& value) = 0;
  // The modal result of the current dialog page's form; false without one.
  virtual bool SetModalResult(int result) = 0;
  // The page's current y (and the band state that follows it).
  virtual void SetCurY(int y) = 0;
  // «object.property», «PAGE2.property», a property of the current object, ...
  virtual TrpObjectProperty GetObjectByName(const QString& text) = 0;

  // Where data sets and tables are looked up by name.
  virtual QObject* Owner() = 0;
  // The type of the band being printed, or -1.
  virtual int CurrentBandType() = 0;
  // The data set of the current page's data band of that type (master, detail,
  // subdetail or cross data), or null.
  virtual TrpDataset* DataBandDataSet(int bandType) = 0;
  virtual TrpDataset* DefaultDataSet() = 0;

  // While data sources are bound, aggregate calls register themselves instead of
  // answering.
  virtual bool BindingDataSources() const = 0;
  // The band whose text is evaluated, and the data band under examination while binding.
  virtual TrpAggregateBand* CurrentAggregateBand() = 0;
  virtual TrpAggregateBand* ExaminedDataBand() = 0;
  // The cross-tab column being printed.
  virtual int CurrentColumn() const = 0;
};

// The progress window of a build: two text lines and Cancel.
class TrpProgressView {
public:
  virtual ~TrpProgressView() = default;
  virtual void SetCaption(const QString& caption) = 0;
  virtual void SetFirstLine(const QString& text) = 0;
  virtual void SetSecondLine(const QString& text) = 0;
  virtual QString SecondLine() const = 0;
  // Shows the window modally and runs work once it is up; true when it closed with OK.
  virtual bool Run(std::function<void()> work) = 0;
  virtual void Close(bool ok) = 0;
  virtual bool IsVisible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // Lets the window repaint and serve Cancel.
  virtual void ProcessEvents() = 0;
  // Cancel was pressed: the report sets its stop flag.
  std::function<void()> OnCancel;
};

// How a dialog page's form looks: the page's form settings.
struct TrpDialogLook {
  bool sizeable = false;  // bsSizeable; else bsDialog
  QString caption;
  int32_t color = 0;
  int left = 0, top = 0, width = 0, height = 0;
  bool screenCenter = true;  // poScreenCenter; else poDesigned
};

// The modal form a dialog page shows before the report pages are built.
class TrpDialogPageForm {
public:
  virtual ~TrpDialogPageForm() = default;
  // The control (a widget) becomes the form's child at its place; when the form is
  // freed it goes back to the hidden dialog form, so its owner keeps it.
  virtual void Place(QObject& control) = 0;
  virtual void SetLook(const TrpDialogLook& look) = 0;
  // Shows the form modally; the modal result it closed with (mrOk 1, mrCancel 2, ...;
  // closing it otherwise counts as mrCancel).
  virtual int ShowModal() = 0;
  // Closes the shown form with that result (a script set ModalResult); 0 does nothing.
  virtual void SetModalResult(int result) = 0;
};

// The windows the engine asks for; the report library supplies them through the context.
class TrpWindows {
public:
  virtual ~TrpWindows() = default;
  virtual std::unique_ptr<TrpProgressView> CreateProgressWindow() = 0;
  // The hidden parent of dialog-page controls.
  virtual std::unique_ptr<QObject> CreateDialogForm() = 0;
  // A form for a dialog page; null where none can be shown (the page only runs its
  // script then).
  virtual std::unique_ptr<TrpDialogPageForm> CreateDialogPageForm() { return nullptr; }
  // Paints a dialog control's live control into rect of canvas.
  virtual void PaintControl(QObject& control, QPainter& canvas, const QRect& rect) {
    (void)control, (void)canvas, (void)rect;
  }
  // The text entered, or defaultText when cancelled.
  virtual QString InputBox(const QString& caption, const QString& prompt, const QString& defaultText) = 0;
  // flags as the script constants mb_...; returns the button pressed as mrOk, mrCancel,
  // mrYes, mrNo (1, 2, 6, 7).
  virtual int MessageBox(const QString& text, const QString& caption, int flags) = 0;
};
// The windows in use are the context's (rpWindows in RP_Context.h).
