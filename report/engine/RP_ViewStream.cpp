// The common object record, and printing one object into a prepared page.
#include "report/engine/RP_Class.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Utils.h"
#include "report/engine/RP_View.h"

void TrpView::WriteToStream(QIODevice& stream) {
  VersionMajor = 2;
  rpWriteString(stream, Name);
  TrpPackedFields fields;
  fields.Byte(VersionMajor).Byte(VersionMinor);
  fields.Int(Left).Int(Top).Int(Width).Int(Height);
  fields.Word(Flags).Word(FrameTyp).Int(rpEncodeFrameWidth(FrameWidth)).Int(FrameColor);
  fields.Word(FrameStyle).Int(FillColor);
  if (!PreparedMode) fields.Int(static_cast<int32_t>(Format));
  fields.WriteTo(stream);
  if (!PreparedMode) rpWriteString(stream, FormatPattern);
  rpWriteMemo(stream, PreparedMode ? Memo1 : Memo);
  if (!PreparedMode) {
    rpWriteMemo(stream, Script);
    rpWriteWord(stream, Visible ? 0xFFFF : 0);
  }
  rpWriteWord(stream, Restrictions);
  rpWriteString(stream, Tag);
  fields.Int(GapX).Int(GapY).Byte(BandAlign).WriteTo(stream);
}

void TrpView::ReadFromStream(QIODevice& stream, int version) {
  if (version > 23 || (version == 23 && !PreparedMode)) {
    Name = rpReadString(stream);
  } else {
    CreateUniqueName();
  }
  if (version > 23) {
    VersionMajor = rpReadByte(stream);
    VersionMinor = rpReadByte(stream);
  }
  TrpFieldsReader fields(stream, 34);  // the position, size, frame and fill
  Left = fields.Int();
  Top = fields.Int();
  Width = fields.Int();
  Height = fields.Int();
  Flags = fields.Word();
  FrameTyp = fields.Word();
  FrameWidth = rpDecodeFrameWidth(fields.Int());
  FrameColor = fields.Int();
  FrameStyle = fields.Word();
  FillColor = fields.Int();
  if (!PreparedMode) {
    Format = static_cast<uint32_t>(rpReadInt(stream));
    FormatPattern = rpReadStringOfVersion(stream, version);
  }
  Memo = rpReadMemoOfVersion(stream, version);
  Memo1 = Memo;
  if (version > 22 && !PreparedMode) {
    Script = rpReadMemo(stream);
    Visible = static_cast<int16_t>(rpReadWord(stream)) != 0;
  }
  if (version > 23) {
    Restrictions = rpReadWord(stream);
    Tag = rpReadString(stream);
    GapX = rpReadInt(stream);
    GapY = rpReadInt(stream);
  }
  if (VersionMajor > 1) BandAlign = rpReadByte(stream);
}

void TrpView::ExpandMemo() {
  if (TrpReport* report = Report()) {
    for (QString& line : Memo1) line = report->ExpandFields(line);
  }
}

void TrpView::Print(QIODevice& stream, const TrpPrintBand* band) {
  BeginDraw(nullptr);  // no canvas: the record is all a prepared page takes
  Memo1 = Memo;
  ExpandMemo();
  if (!Script.isEmpty()) rpGlobals().Interpreter().RunScript(Script);
  if (!Visible) return;

  // Tag, position and width are this output's only; the object keeps its own.
  struct Restore {
    TrpView& view;
    QString tag;
    int32_t top, width;
    bool mode;
    ~Restore() {
      view.Tag = tag;
      view.Top = top;
      view.Width = width;
      view.PreparedMode = mode;
    }
  } restore{*this, Tag, Top, Width, PreparedMode};
  if (Tag.contains(u'[')) {
    if (TrpReport* report = Report()) Tag = report->ExpandFields(Tag);
  }
  if (band) {
    if (BandAlign == rpBandAlign::Bottom) {
      Top = band->y + band->height - Height;
    } else if (BandAlign == rpBandAlign::Top) {
      Top = band->y;
    } else if (BandAlign == rpBandAlign::Width && band->type >= 18 && band->type <= 20) {
      Width = band->width;
    }
  }
  BeforeWrite();
  rpWriteByte(stream, Typ);
  if (Typ == rpObjectType::AddIn) rpWriteString(stream, ClassName());
  PreparedMode = true;
  WriteToStream(stream);
}
