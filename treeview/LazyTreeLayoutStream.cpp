// The header layout stream: columns, the position array and the header's own settings,
// little-endian 32-bit values after a marker and a version. Reading checks every count,
// length and value against what remains and what makes sense before anything changes.
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTreeHeader.h"

#include <QIODevice>
#include <QtEndian>

#include <cmath>

namespace {

constexpr int kLayoutVersion = 3;
// No real column, margin or header comes near these; larger values mean a damaged stream
// (and would overflow the sums of widths).
constexpr int kWidthLimit = 1000000;
constexpr std::int64_t kTotalWidthLimit = 1000000000;
constexpr int kSpacingLimit = 10000;
constexpr int kHeightLimit = 1000;
constexpr int kFontHeightLimit = 10000;

enum TFontStyleBit { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
enum TFontPitch { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

[[noreturn]] void Fail(const char* what, int helpContext = hcTFCorruptStream1) {
  throw ELazyTreeError(QStringLiteral("Unable to load the header layout, %1.").arg(QLatin1String(what)), helpContext);
}

class LayoutReader {
public:
  explicit LayoutReader(const QByteArray& bytes) : bytes_(bytes) {}
  std::int32_t Int() {
    Need(4);
    const auto value = qFromLittleEndian<std::int32_t>(bytes_.constData() + pos_);
    pos_ += 4;
    return value;
  }
  void StepBack() { pos_ -= 4; }
  // A length-prefixed run of UTF-16 characters.
  QString Utf16() {
    const std::int32_t length = Int();
    if (length < 0) Fail("a text has a negative length");
    Need(std::int64_t(length) * 2);
    QString text(length, Qt::Uninitialized);
    for (int i = 0; i < length; ++i)
      text[i] = QChar(qFromLittleEndian<quint16>(bytes_.constData() + pos_ + 2 * i));
    pos_ += 2 * std::int64_t(length);
    return text;
  }
  QByteArray Bytes() {
    const std::int32_t length = Int();
    if (length < 0) Fail("a text has a negative length");
    Need(length);
    const QByteArray out = bytes_.mid(pos_, length);
    pos_ += length;
    return out;
  }
  std::int64_t Remaining() const { return bytes_.size() - pos_; }
  std::int64_t Position() const { return pos_; }

private:
  void Need(std::int64_t count) {
    if (count > Remaining()) Fail("not enough data available", hcTFStreamTooSmall);
  }
  const QByteArray& bytes_;
  std::int64_t pos_ = 0;
};

int Checked(std::int32_t value, int low, int high, const char* what) {
  if (value < low || value > high) Fail(what);
  return value;
}

struct StagedColumn {
  QString text, hint;
  int width = 50, minWidth = 10, maxWidth = 10000, style = 0, imageIndex = -1, layout = 0, margin = 4, spacing = 4,
      biDiMode = 0, tag = 0, alignment = 0;
  std::uint64_t options = 0;
  TColorCode color = clDefault;
  bool hasColor = false;
};

struct StagedLayout {
  int version = -1;
  QVector<StagedColumn> columns;
  QVector<TColumnIndex> positions;
  int autoSizeIndex = NoColumn, height = 17, style = 0;
  TColorCode background = clDefault, fontColor = clDefault;
  std::uint64_t options = 0;
  int fontHeight = 0, pitch = 0, fontStyle = 0;
  QString fontName;
  bool hasSort = false;
  int mainColumn = 0, sortColumn = NoColumn, sortDirection = 0;
};

// Column options of older layouts: version 2 had no spring bit; before that two elements
// were missing after the first four.
std::uint64_t ConvertColumnOptions(std::uint32_t stored, int version) {
  if (version >= 3) return stored & 0xFFFF & kColumnOptionBits;
  if (version == 2) return stored & 0xFF;
  return (stored & 0x0F) | ((stored & 0x70) << 1);
}

StagedLayout Parse(const QByteArray& bytes, std::int64_t& consumed) {
  LayoutReader in(bytes);
  StagedLayout layout;
  const std::int32_t first = in.Int();
  if (first < 0) {
    layout.version = in.Int();
    if (layout.version < 0 || layout.version > kLayoutVersion)
      Fail("the version is unknown", hcTFWrongStreamVersion);
  } else {
    in.StepBack();
  }
  const int version = layout.version;
  const std::int32_t count = in.Int();
  std::int64_t totalWidth = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    // The smallest record: two empty texts and the ten numbers.
    if (in.Remaining() < 12 * 4) Fail("not enough data available", hcTFStreamTooSmall);
    StagedColumn c;
    c.text = in.Utf16();
    c.hint = in.Utf16();
    c.width = Checked(in.Int(), -kWidthLimit, kWidthLimit, "a column width is out of range");
    c.minWidth = Checked(in.Int(), -kWidthLimit, kWidthLimit, "a column width is out of range");
    c.maxWidth = Checked(in.Int(), -kWidthLimit, kWidthLimit, "a column width is out of range");
    c.style = Checked(in.Int(), vsText, vsOwnerDraw, "a column style is unknown");
    c.imageIndex = in.Int();
    c.layout = Checked(in.Int(), blGlyphLeft, blGlyphBottom, "a column layout is unknown");
    c.margin = Checked(in.Int(), -kSpacingLimit, kSpacingLimit, "a column margin is out of range");
    c.spacing = Checked(in.Int(), -kSpacingLimit, kSpacingLimit, "a column spacing is out of range");
    c.biDiMode = Checked(in.Int(), bdLeftToRight, bdRightToLeftReadingOnly, "a reading direction is unknown");
    c.options = ConvertColumnOptions(static_cast<std::uint32_t>(in.Int()), version);
    if (version > 0) {
      c.tag = in.Int();
      c.alignment = Checked(in.Int(), taLeftJustify, taCenter, "a column alignment is unknown");
    }
    if (version > 1) {
      c.color = in.Int();
      c.hasColor = true;
    }
    totalWidth += std::max({c.width, c.minWidth, 0});
    if (totalWidth > kTotalWidthLimit) Fail("the columns are too wide");
    layout.columns.append(c);
  }
  const int n = static_cast<int>(layout.columns.size());
  QVector<bool> seen(n, false);
  for (int i = 0; i < n; ++i) {
    const int index = Checked(in.Int(), 0, n - 1, "a column position is out of range");
    if (seen[index]) Fail("the column positions repeat a column");
    seen[index] = true;
    layout.positions.append(index);
  }
  layout.autoSizeIndex = in.Int();
  layout.background = in.Int();
  layout.height = Checked(in.Int(), 0, kHeightLimit, "the header height is out of range");
  layout.options = static_cast<std::uint32_t>(in.Int()) & kHeaderOptionBits;
  layout.style = Checked(in.Int(), hsThickButtons, hsXPStyle, "the header style is unknown");
  layout.fontColor = in.Int();
  layout.fontHeight = Checked(in.Int(), -kFontHeightLimit, kFontHeightLimit, "the font height is out of range");
  const QByteArray name = in.Bytes();
  if (name.size() > 1024) Fail("the font name is too long");
  layout.fontName = QString::fromUtf8(name);
  layout.pitch = in.Int() & 0x7F;
  layout.fontStyle = Checked(in.Int(), 0, 0xFF, "the font style is out of range") & 0x0F;
  if (version > 0) {
    layout.hasSort = true;
    layout.mainColumn = in.Int();
    layout.sortColumn = in.Int();
    layout.sortDirection = Checked(in.Int(), sdAscending, sdDescending, "the sort direction is unknown");
  }
  consumed = in.Position();
  return layout;
}

void WriteInt(QByteArray& out, std::int32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  out.append(bytes, 4);
}

void WriteUtf16(QByteArray& out, const QString& text) {
  WriteInt(out, static_cast<std::int32_t>(text.size()));
  for (QChar c : text) {
    char bytes[2];
    qToLittleEndian(c.unicode(), bytes);
    out.append(bytes, 2);
  }
}

}  // namespace

QByteArray TLTHeader::SaveLayout() const {
  QByteArray out;
  WriteInt(out, -1);
  WriteInt(out, kLayoutVersion);
  WriteInt(out, columns_->Count());
  for (int i = 0; i < columns_->Count(); ++i) {
    const TLazyTreeColumn& c = *columns_->Items(i);
    WriteUtf16(out, c.Text());
    WriteUtf16(out, c.Hint());
    for (int value : {c.Width(), c.MinWidth(), c.MaxWidth(), int(c.Style()), c.ImageIndex(), int(c.Layout()), c.Margin(),
                      c.Spacing(), int(c.BiDiMode()), int(c.Options().Bits()), c.Tag(), int(c.Alignment())})
      WriteInt(out, value);
    WriteInt(out, ColorToCode(c.Color()));
  }
  for (TColumnIndex index : columns_->PositionArray()) WriteInt(out, index);
  WriteInt(out, autoSizeIndex_);
  WriteInt(out, ColorToCode(background_));
  WriteInt(out, height_);
  WriteInt(out, static_cast<std::int32_t>(options_.Bits()));
  WriteInt(out, style_);
  WriteInt(out, ColorToCode(fontColor_));
  // The height as the character height in pixels, negative as the classic fonts have it; a
  // size in points counts at 96 pixels an inch, whatever the screen, so the same font
  // always writes the same height.
  const int pixels = font_.pixelSize() > 0 ? font_.pixelSize()
                                           : static_cast<int>(std::nearbyint(font_.pointSizeF() * 96.0 / 72.0));
  WriteInt(out, -pixels);
  const QByteArray name = font_.family().toUtf8();
  WriteInt(out, static_cast<std::int32_t>(name.size()));
  out.append(name);
  const int pitch = (font_.resolveMask() & QFont::FixedPitchResolved) ? (font_.fixedPitch() ? fpFixed : fpVariable) : fpDefault;
  WriteInt(out, pitch & 0x7F);
  const int style = (font_.bold() ? fsBold : 0) | (font_.italic() ? fsItalic : 0) | (font_.underline() ? fsUnderline : 0) |
                    (font_.strikeOut() ? fsStrikeOut : 0);
  WriteInt(out, style);
  WriteInt(out, MainColumn());
  WriteInt(out, sortColumn_);
  WriteInt(out, sortDirection_);
  return out;
}

void TLTHeader::SaveLayout(QIODevice& stream) const {
  const QByteArray bytes = SaveLayout();
  if (stream.write(bytes) != bytes.size())
    throw ELazyTreeError(QStringLiteral("Unable to write the header layout."), hcTFStreamTooSmall);
}

void TLTHeader::LoadLayout(QIODevice& stream) {
  const QByteArray bytes = stream.peek(stream.bytesAvailable());
  std::int64_t consumed = 0;
  Parse(bytes, consumed);  // fails before anything is read from the stream
  LoadLayout(bytes.left(consumed));
  stream.skip(consumed);
}

void TLTHeader::LoadLayout(const QByteArray& bytes) {
  std::int64_t consumed = 0;
  const StagedLayout layout = Parse(bytes, consumed);

  // Nothing can fail from here on.
  const TLTHeaderOptions previousOptions = options_;
  DoStateChange({hstReading});
  options_ = {};
  columns_->BeginUpdate();
  columns_->Clear();
  for (const StagedColumn& s : layout.columns) {
    TLazyTreeColumn& c = *columns_->Add();
    c.text_ = s.text;
    c.hint_ = s.hint;
    c.minWidth_ = std::max(s.minWidth, 0);
    c.maxWidth_ = std::max(s.maxWidth, c.minWidth_);
    c.width_ = std::clamp(s.width, c.minWidth_, c.maxWidth_);
    c.previousWidth_ = c.width_;
    c.style_ = TLazyTreeColumnStyle(s.style);
    c.imageIndex_ = s.imageIndex;
    c.layout_ = TLTHeaderColumnLayout(s.layout);
    c.margin_ = s.margin < 0 ? 4 : s.margin;
    c.spacing_ = s.spacing;
    c.biDiMode_ = TBiDiMode(s.biDiMode);
    c.options_ = TLTColumnOptions::FromBits(s.options);
    c.tag_ = s.tag;
    c.alignment_ = TLTAlignment(s.alignment);
    if (c.options_.Contains(coParentColor))
      c.color_ = tree_->Color();
    else if (s.hasColor)
      c.color_ = ColorFromCode(s.color);
    if (c.options_.Contains(coParentBidiMode)) c.biDiMode_ = tree_->BiDiMode();
  }
  columns_->positionToIndex_ = layout.positions;
  columns_->RecomputeLefts(true);
  columns_->changedInUpdate_ = false;
  columns_->EndUpdate();
  DoStateChange({}, {hstReading});
  options_ = previousOptions;

  SetAutoSizeIndex(layout.autoSizeIndex);
  SetBackground(ColorFromCode(layout.background));
  SetHeight(layout.height);
  SetOptions(TLTHeaderOptions::FromBits(layout.options));
  SetStyle(TLTHeaderStyle(layout.style));
  QFont font(font_);
  if (!layout.fontName.isEmpty()) font.setFamily(layout.fontName);
  if (layout.fontHeight != 0) font.setPixelSize(std::abs(layout.fontHeight));
  if (layout.pitch == fpFixed || layout.pitch == fpVariable) font.setFixedPitch(layout.pitch == fpFixed);
  font.setBold(layout.fontStyle & fsBold);
  font.setItalic(layout.fontStyle & fsItalic);
  font.setUnderline(layout.fontStyle & fsUnderline);
  font.setStrikeOut(layout.fontStyle & fsStrikeOut);
  SetFont(font);
  SetFontColor(ColorFromCode(layout.fontColor));
  if (layout.hasSort) {
    SetMainColumn(layout.mainColumn);
    SetSortColumn(layout.sortColumn);
    SetSortDirection(TSortDirection(layout.sortDirection));
  }
  columns_->ItemChanged(nullptr);
}
