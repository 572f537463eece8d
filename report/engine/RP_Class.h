#pragma once
// The report as its form stores it: printer choice, pages with their views, the data
// dictionary and the report information; WriteToStream and ReadFromStream are the
// report form stream. The build, preview and printing come on top of this.
//
// Form layout: version byte (25), UseDefaultPrinter and TwoPass (16-bit), printer name
// (string; the text "\x01" stands for the virtual printer), per page the byte 255 and
// its page record, per object a frame (type byte, class name for type 10, page index
// byte, end offset (i32, absolute, just after the record), the record), the byte 254
// and the dictionary, the end byte 252, then the report information: 7 raw strings,
// the password in hexadecimal, WriterVersion, ReportProtected (bytes) and the two dates
// (doubles).
#include "report/engine/RP_DataDictionary.h"
#include "report/engine/RP_Page.h"

#include <QIODevice>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TrpReport {
public:
  TrpReport();
  virtual ~TrpReport();
  TrpReport(const TrpReport&) = delete;
  TrpReport& operator=(const TrpReport&) = delete;

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
};

// «A.B»: "PAGEn.B" the page of that number; else the report's object A; else, when the
// current object has a property A (as "Font.Name"), the current object with the whole
// text. Without a ".", the current object and the whole text.
TrpObjectProperty rpGetObjectByName(TrpReport& report, const QString& text);
