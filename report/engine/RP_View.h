#pragma once
// The base of every object placed on a report page: geometry, frame, fill, text lines,
// script, alignment inside its band, drawing of background and frame, printing into
// prepared pages, and the object record every view writes into report forms and
// prepared pages. Subclasses draw themselves and add their own record tail.
//
// The record (little-endian): Name (string), version major (2) and minor, Left, Top,
// Width, Height (i32), Flags, FrameTyp (u16), FrameWidth (i32: the width when whole and
// at most 10, else round(width * 1000)), FrameColor (i32), FrameStyle (u16),
// FillColor (i32), [Format (i32), FormatPattern (string)], the text (list: Memo in a
// form, the expanded text in prepared pages), [Script (list), Visible (i16)],
// Restrictions (u16), Tag (string), GapX, GapY (i32), BandAlign (byte). The bracketed
// fields are left out in prepared pages.
#include "report/engine/RP_DBSet.h"
#include "report/engine/RP_Graphics.h"
#include "report/engine/RP_Object.h"

#include <QIODevice>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <cstdint>

class QPainter;
class TrpPage;
class TrpReport;
class TrpBandView;

namespace rpObjectType {
constexpr int Memo = 0, Picture = 1, Band = 2, SubReport = 3, Line = 4, AddIn = 10;
}
namespace rpFrameSide {
constexpr int Right = 1, Bottom = 2, Left = 4, Top = 8, All = 15;
}
namespace rpBandAlign {
constexpr int None = 0, Left = 1, Right = 2, Center = 3, Width = 4, Bottom = 5, Top = 6, Rest = 7;
}
namespace rpViewFlag {
// Set on a view that is told about every memo written whole onto a prepared page.
constexpr uint16_t WantsMemoNotice = 0x8000;
}
namespace rpFrameStyle {
constexpr int Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Double = 5;
}

// The report form version this engine writes; newer ones are refused.
constexpr int kRpStreamVersion = 25;

// The run-time band an object is printed in, as Print needs it.
struct TrpPrintBand {
  int type = -1;
  int x = 0, y = 0, width = 0, height = 0;
};

class TrpView : public TrpObject {
public:
  TrpView();
  ~TrpView() override;

  // --- the stored fields, in record order ---
  QString Name;
  uint8_t Typ = rpObjectType::AddIn;
  uint8_t VersionMajor = 1;  // 2 once written
  uint8_t VersionMinor = 0;
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  uint16_t Flags = 1;  // bit 0 Stretched
  uint16_t FrameTyp = 0;
  double FrameWidth = 1.0;
  int32_t FrameColor = 0;
  uint16_t FrameStyle = rpFrameStyle::Solid;
  int32_t FillColor = kRpNoColor;
  uint32_t Format = 0;
  QString FormatPattern;
  QStringList Memo;
  QStringList Memo1;  // the expanded text
  QStringList Script;
  bool Visible = true;
  bool PreparedMode = false;  // the short record of prepared pages
  int32_t GapX = 2, GapY = 1;
  uint16_t Restrictions = 0;
  QString Tag;
  uint8_t BandAlign = rpBandAlign::None;

  // --- applied while a prepared page is drawn ---
  double ScaleX = 1.0, ScaleY = 1.0;
  int OffsetX = 0, OffsetY = 0;
  bool IsPrinting = false;
  // The first pass of a two-pass build draws nothing.
  bool FirstPass = false;

  // --- the data field the view is bound to while pages are built ---
  // Set when the view's whole text is one bracketed field of a data set (or a field
  // alias of the dictionary): BoundName is the text between the brackets, whose value
  // the field answers while the view prints. Not stored; cleared when the build ends.
  QPointer<TrpTableDataSet> BoundDataSet;
  QString BoundField;
  QString BoundName;
  void ClearBinding() {
    BoundDataSet = nullptr;
    BoundField.clear();
    BoundName.clear();
  }

  int SerialNumber() const { return serial_; }
  const QString& BaseName() const { return baseName_; }
  // The class name written after type 10.
  virtual QString ClassName() const { return QStringLiteral("TrpView"); }

  // The page holding the view (set by TrpPage::Add), and its report.
  TrpPage* Parent() const { return parent_; }
  void SetParent(TrpPage* page) { parent_ = page; }
  TrpReport* Report() const;

  // --- the property protocol ---
  void SetPropValue(const QString& name, const TrpValue& value) override;
  TrpValue GetPropValue(const QString& name) override;
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override;
  void DeclareProperties() override;

  void SetGeometry(int left, int top, int width, int height);
  bool Stretched() const { return Flags & 1; }
  // The first name BaseName + 1, 2, ... up to 10000 no object of the report bears;
  // empty when all are taken.
  void CreateUniqueName();
  // The last band view of the page whose rectangle holds the view's top-left corner.
  TrpBandView* GetBand() const;

  // --- drawing ---
  // Remembers the canvas, makes the view current and applies BandAlign.
  void BeginDraw(QPainter* canvas);
  virtual void ShowBackground();
  virtual void ShowFrame();
  virtual void CalcGaps();
  virtual void RestoreCoord();
  virtual void Draw(QPainter& canvas) = 0;
  // The frame's outer extent; extended: 10 units more on every side.
  virtual QRect GetClipRgn(bool extended) const;
  QPainter* Canvas() const { return canvas_; }
  const QRect& DrawRect() const { return drawRect_; }

  // --- streams ---
  // One object into a prepared page during a build: expanded text, script, band
  // alignment, then the type byte (and class name) and the short record. An invisible
  // object writes nothing.
  virtual void Print(QIODevice& stream, const TrpPrintBand* band = nullptr);
  // version: the version of the enclosing stream. Raises ErpLoadError on damage.
  virtual void ReadFromStream(QIODevice& stream, int version);
  virtual void WriteToStream(QIODevice& stream);
  // After a whole form has been read.
  virtual void Loaded() {}
  // Reads a blob field the view is bound to, before it prints (a memo takes its text,
  // a picture its graphic); other views take nothing from it.
  virtual void GetBlob(TrpField& field) { (void)field; }
  // Told that memo was just written whole onto a prepared page (views whose Flags have
  // WantsMemoNotice set).
  virtual void OnMemoPrinted(TrpView& memo) { (void)memo; }
  // The text a text exporter receives.
  virtual QString ExportText() const { return Memo1.join(QStringLiteral("\r\n")); }

protected:
  // Substitutes the bracketed fields of the expanded text (the report's values).
  virtual void ExpandMemo();
  // Last changes to the expanded text before Print writes the record.
  virtual void BeforeWrite() {}
  void SetBaseName(const QString& name) { baseName_ = name; }
  // Whether CreateUniqueName must pass the name by: an object of the report bears it.
  virtual bool NameInUse(const QString& name) const;
  // The scaled right and bottom edges.
  int ScaledRight() const;
  int ScaledBottom() const;

  QPainter* canvas_ = nullptr;
  QRect drawRect_;

private:
  void ApplyBandAlign();

  struct Saved {
    int32_t left = 0, top = 0, width = 0, height = 0;
    double frameWidth = 1.0;
    int32_t gapX = 0, gapY = 0;
  } saved_;
  TrpPage* parent_ = nullptr;
  QString baseName_ = QStringLiteral("View");
  int serial_ = 0;
};

// A view whose height can follow its content: memos and lines.
class TrpStretcheable : public TrpView {
public:
  virtual int CalcHeight() = 0;
  // The least height that shows one line, and the space a cut object cannot use.
  virtual int MinHeight() = 0;
  virtual int RemainHeight() = 0;
  TrpValue DoMethod(const QString& name, const QString& p1, const QString& p2, const QString& p3) override;
};

// Frame widths in the record: whole widths up to 10 literally, anything else in
// thousandths, so both read back unchanged.
int32_t rpEncodeFrameWidth(double width);
double rpDecodeFrameWidth(int32_t stored);

// The text split at line breaks (CR LF, LF or CR).
QStringList rpSplitLines(const QString& text);
