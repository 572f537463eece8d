// The string tree: cell texts from the owner, their painting, measuring, shortening and
// searching, and the default editor.
#include "treeview/LazyStringTree.h"

#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeEditLink.h"

#include <QCollator>
#include <QCoreApplication>
#include <QPainter>
#include <QTextLayout>

#include <cstring>

namespace {
const QString kEllipsis = QStringLiteral("...");

// Draws the lines of WrapTextWithEllipsis from the top of R; returns what they cover.
QRect DrawWrappedText(QPainter& canvas, const QRect& r, Qt::Alignment alignment, const QString& text) {
  const QFontMetrics metrics(canvas.font());
  QRect covered;
  int y = r.top();
  for (const QString& line : WrapTextWithEllipsis(canvas.font(), text, r.width(), r.height())) {
    QRect drawn;
    canvas.drawText(QRect(r.left(), y, r.width(), metrics.height()), int(alignment) | Qt::TextSingleLine, line, &drawn);
    covered |= drawn;
    y += metrics.lineSpacing();
  }
  return covered;
}

bool IsPlainAscii(const QString& s) {
  for (QChar c : s)
    if (c.unicode() < 0x20 || c.unicode() > 0x7E) return false;
  return true;
}
}  // namespace

// ---- Options --------------------------------------------------------------------------

TStringTreeOptions::TStringTreeOptions(TCustomLazyStringTree* owner) : TCustomLazyTreeOptions(owner), stringOwner_(owner) {}

void TStringTreeOptions::SetStringOptions(TStringOptions value) {
  if (value == stringOptions_) return;
  const TStringOptions old = stringOptions_;
  stringOptions_ = value;
  stringOwner_->StringOptionsChanged(old, value);
}

void TStringTreeOptions::Assign(const TCustomLazyTreeOptions& source) {
  TCustomLazyTreeOptions::Assign(source);
  if (auto* other = dynamic_cast<const TStringTreeOptions*>(&source)) SetStringOptions(other->StringOptions());
}

QStringList WrapTextWithEllipsis(const QFont& font, const QString& text, int width, int height) {
  const QFontMetrics metrics(font);
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTextOption(option);
  QStringList lines;
  int y = 0;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(std::max(width, 1));
    const bool more = line.textStart() + line.textLength() < text.size();
    // The first line always shows; a later one only when it fits.
    if (y > 0 && y + metrics.height() > height) break;
    if (more && y + metrics.lineSpacing() + metrics.height() > height) {
      lines << metrics.elidedText(text.mid(line.textStart()).simplified(), Qt::ElideRight, width);
      break;
    }
    QString part = text.mid(line.textStart(), line.textLength());
    while (!part.isEmpty() && part.back().isSpace()) part.chop(1);
    lines << part;
    y += metrics.lineSpacing();
  }
  layout.endLayout();
  return lines;
}

// ---- Construction ---------------------------------------------------------------------

TCustomLazyStringTree::TCustomLazyStringTree(QWidget* parent) : TBaseLazyTree(parent), scratch_(1, 1, QImage::Format_ARGB32) {
  widthOffset_ = ReserveInternalData(sizeof(std::int32_t));
  auto options = std::make_unique<TStringTreeOptions>(this);
  options->TCustomLazyTreeOptions::Assign(*options_);
  stringOptions_ = options.get();
  options_ = std::move(options);
  collator_ = std::make_unique<QCollator>();
  collator_->setCaseSensitivity(Qt::CaseSensitive);
  MeasureFont();
  // Ending the program with an edit open closes it without asking the owner anything.
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] { DropEditSilently(); });
}

TCustomLazyStringTree::~TCustomLazyStringTree() {
  DropEditSilently();
  // The texts are rendered while the string tree still answers for them.
  FlushClipboard();
}

void TCustomLazyStringTree::SetDefaultText(const QString& value) {
  if (value == defaultText_) return;
  defaultText_ = value;
  ResetAllTextWidths();
  InvalidateTree();
}

void TCustomLazyStringTree::StringOptionsChanged(TStringOptions old, TStringOptions now) {
  if (old.Contains(toShowStaticText) != now.Contains(toShowStaticText) && !IsLoading()) InvalidateTree();
}

void TCustomLazyStringTree::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange) {
    MeasureFont();
    ResetAllTextWidths();
  }
  TBaseLazyTree::changeEvent(e);
}

void TCustomLazyStringTree::MeasureFont() {
  const QFontMetrics metrics(font());
  textHeight_ = metrics.height();
  ellipsisWidth_ = metrics.horizontalAdvance(kEllipsis);
}

// ---- The per-node text width ----------------------------------------------------------

int TCustomLazyStringTree::CachedTextWidth(PLazyNode node) const {
  if (!IsRealNode(node)) return 0;
  std::int32_t width;
  std::memcpy(&width, reinterpret_cast<const std::byte*>(node) + widthOffset_, sizeof width);
  return width;
}

void TCustomLazyStringTree::SetCachedTextWidth(PLazyNode node, int width) {
  if (!IsRealNode(node)) return;
  const std::int32_t value = width;
  std::memcpy(reinterpret_cast<std::byte*>(node) + widthOffset_, &value, sizeof value);
}

void TCustomLazyStringTree::ResetAllTextWidths() {
  for (PLazyNode run = GetFirstRaw(); run; run = GetNextRaw(run)) SetCachedTextWidth(run, 0);
}

void TCustomLazyStringTree::InvalidateNodeRow(PLazyNode node) {
  SetCachedTextWidth(node, 0);
  TBaseLazyTree::InvalidateNodeRow(node);
}

void TCustomLazyStringTree::ReinitializeNode(PLazyNode node, bool recursive) {
  SetCachedTextWidth(node, 0);
  TBaseLazyTree::ReinitializeNode(node, recursive);
}

void TCustomLazyStringTree::DoInitNode(PLazyNode parent, PLazyNode node, TLazyNodeInitStates& initStates) {
  SetCachedTextWidth(node, 0);
  TBaseLazyTree::DoInitNode(parent, node, initStates);
}

// ---- Texts ----------------------------------------------------------------------------

void TCustomLazyStringTree::DoGetText(PLazyNode node, int column, TLSTTextType textType, QString& text) {
  if (OnGetText) OnGetText(this, node, column, textType, text);
}

void TCustomLazyStringTree::DoPaintText(QPainter& canvas, PLazyNode node, int column, TLSTTextType textType) {
  if (OnPaintText) OnPaintText(this, canvas, node, column, textType);
}

QString TCustomLazyStringTree::DoShortenString(QPainter& canvas, PLazyNode node, int column, const QString& s,
                                               int width, bool rightToLeft) {
  bool done = false;
  QString result;
  if (OnShortenString) OnShortenString(this, canvas, node, column, s, width, rightToLeft, result, done);
  if (done) return result;
  const int ellipsis = canvas.font() == font() ? ellipsisWidth_ : -1;
  return FitTextWithEllipsis(QFontMetrics(canvas.font()), s, width, rightToLeft, ellipsis);
}

QString TCustomLazyStringTree::GetCellText(PLazyNode node, int column) {
  if (!LazyTreeCheck(node != nullptr, "Node must not be nil.")) return {};
  if (node != RootNode() && !node->Has(nsInitialized)) InitializeNode(node);
  QString text = defaultText_;
  DoGetText(node, column, ttNormal, text);
  return text;
}

QString TCustomLazyStringTree::NodeText(PLazyNode node, int column) const {
  return const_cast<TCustomLazyStringTree*>(this)->GetCellText(node, column);
}

void TCustomLazyStringTree::SetCellText(PLazyNode node, int column, const QString& text) {
  if (!IsRealNode(node)) return;
  if (OnNewText) OnNewText(this, node, column, text);
  InvalidateNodeRow(node);
}

QString TCustomLazyStringTree::DoGetHint(PLazyNode node, int column) {
  QString hint;
  if (OnGetHint) OnGetHint(this, node, column, hint);
  return hint;
}

bool TCustomLazyStringTree::DoGetCellIsEmpty(PLazyNode node, int column) {
  if (OnGetCellIsEmpty) return TBaseLazyTree::DoGetCellIsEmpty(node, column);
  return GetCellText(node, column).isEmpty();
}

int TCustomLazyStringTree::NextCellForSpan(PLazyNode node, int column) {
  int next = NextVisibleColumn(column);
  if (!options_->AutoOptions().Contains(toAutoSpanColumns) || ColumnCount() == 0 || ColumnIsRightToLeft(column))
    return next;
  while (next >= 0 && !ColumnIsRightToLeft(next) && DoGetCellIsEmpty(node, next)) next = NextVisibleColumn(next);
  return next;
}

// ---- Measuring ------------------------------------------------------------------------

QFont TCustomLazyStringTree::OwnerFont(PLazyNode node, int column, TLSTTextType textType) {
  if (!OnPaintText) return font();
  QPainter canvas(&scratch_);
  canvas.setFont(font());
  DoPaintText(canvas, node, column, textType);
  return canvas.font();
}

QFont TCustomLazyStringTree::CellFont(PLazyNode node, int column) { return OwnerFont(node, column, ttNormal); }

int TCustomLazyStringTree::TextWidthOf(PLazyNode node, const QString& text, int column) {
  if (text.isEmpty()) return 2 * appearance_.textMargin;
  return QFontMetrics(OwnerFont(node, column, ttNormal)).horizontalAdvance(text) + 2 * appearance_.textMargin;
}

int TCustomLazyStringTree::ContentWidthOf(PLazyNode node, int column) {
  if (!IsRealNode(node)) return 0;
  if (node->Has(nsMultiline) && column >= 0 && column < ColumnCount()) return ColumnBounds(column).width();
  if (!IsMainColumn(column)) return TextWidthOf(node, GetCellText(node, column), column);
  int width = CachedTextWidth(node);
  if (width == 0) {
    width = TextWidthOf(node, GetCellText(node, column), column);
    SetCachedTextWidth(node, width);
  }
  return width;
}

int TCustomLazyStringTree::DoGetNodeWidth(PLazyNode node, int column) { return ContentWidthOf(node, column); }

int TCustomLazyStringTree::ComputeNodeHeight(PLazyNode node, int column) {
  if (!IsRealNode(node)) return 0;
  if (!node->Has(nsMultiline)) return node->NodeHeight;
  // Wrapped in the cell's own width: the text may run over neither the window's edge nor
  // a neighbour column.
  int width = ColumnCount() > 0 && column >= 0 ? ColumnBounds(column).width() : ClientWidth();
  if (IsMainColumn(column))
    width -= (static_cast<int>(LevelOfNode(node)) + (options_->PaintOptions().Contains(toShowRoot) ? 1 : 0)) * appearance_.indent +
             appearance_.margin;
  const QRect r(0, 0, std::max(width, 1), 1);
  const TLTAlignment alignment = ColumnAlignment(column);
  const int align = alignment == taRightJustify ? Qt::AlignRight : alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
  const QFontMetrics metrics(OwnerFont(node, column, ttNormal));
  const QRect needed =
      metrics.boundingRect(QRect(0, 0, std::max(r.width() - 2 * appearance_.textMargin, 1), 0), align | Qt::TextWordWrap,
                           GetCellText(node, column));
  return needed.height();
}

void TCustomLazyStringTree::GetTextInfo(PLazyNode node, int column, QFont& cellFont, QRect& r, QString& text) {
  text = GetCellText(node, column);
  cellFont = OwnerFont(node, column, ttNormal);
  const bool multiline = node->Has(nsMultiline);
  // The editor covers the cell's content; a single line is as high as the font needs,
  // centred on the row.
  r = GetDisplayRect(node, column, false);
  if (!multiline) {
    const int level = static_cast<int>(LevelOfNode(node)) + (options_->PaintOptions().Contains(toShowRoot) ? 1 : 0);
    if (IsMainColumn(column)) r.setLeft(r.left() + level * appearance_.indent + appearance_.margin);
    const int height = QFontMetrics(cellFont).height() + 4;
    r = QRect(r.left(), r.top() + (r.height() - height) / 2, r.width(), height);
  } else if (IsMainColumn(column)) {
    const int level = static_cast<int>(LevelOfNode(node)) + (options_->PaintOptions().Contains(toShowRoot) ? 1 : 0);
    r.setLeft(r.left() + level * appearance_.indent + appearance_.margin);
  }
  if (options_->PaintOptions().Contains(toShowHorzGridLines)) r.setBottom(r.bottom() - 1);
}

// ---- Searching ------------------------------------------------------------------------

int TCustomLazyStringTree::SearchNodeText(PLazyNode node, const QString& text) {
  if (OnIncrementalSearch) return TBaseLazyTree::SearchNodeText(node, text);
  if (!IsRealNode(node) || text.isEmpty()) return 1;
  const QString cell = GetCellText(node, focusedColumn_ < 0 && ColumnCount() > 0 ? MainColumn() : focusedColumn_);
  if (cell.size() < text.size()) return 1;
  const QStringView head = QStringView(cell).left(text.size());
  if (head == text) return 0;
  // Plain ASCII texts that differ by code are different under any locale's rules; only
  // the rest needs the locale's comparison.
  if (IsPlainAscii(text) && IsPlainAscii(head.toString())) return 1;
  // Composed and decomposed spellings are the same text to the user.
  const QString composedCell = cell.normalized(QString::NormalizationForm_C);
  const QString composedText = text.normalized(QString::NormalizationForm_C);
  if (composedCell.size() < composedText.size()) return 1;
  return collator_->compare(QStringView(composedCell).left(composedText.size()), QStringView(composedText)) == 0 ? 0 : 1;
}

// ---- Editing --------------------------------------------------------------------------

std::shared_ptr<ILTEditLink> TCustomLazyStringTree::CreateEditLink() {
  std::shared_ptr<ILTEditLink> link = TBaseLazyTree::CreateEditLink();
  if (!link) link = std::make_shared<TStringEditLink>();
  return link;
}

bool TCustomLazyStringTree::AbortEdit() {
  const bool ended = TBaseLazyTree::AbortEdit();
  if (ended && !destroying_) ResetAllTextWidths();
  return ended;
}

// ---- Painting -------------------------------------------------------------------------

QColor TCustomLazyStringTree::SelectedTextColor(const TLTPaintInfo& info) const {
  const TLTPaintOptions paint = options_->PaintOptions();
  const bool selectionShown = info.Selected && !paint.Contains(toAlwaysHideSelection) &&
                              (hasFocus() || !paint.Contains(toHideSelection));
  const bool inFocusedColumn = info.Column == focusedColumn_ || info.Column < 0 ||
                               options_->SelectionOptions().Contains(toFullRowSelect);
  if (selectionShown && inFocusedColumn && (hasFocus() || paint.Contains(toPopupMode)))
    return palette().color(QPalette::HighlightedText);
  return {};
}

// The static text beside the normal one (after it, or before it in right-aligned cells),
// in the tree's font and the normal, disabled or selected colour.
void TCustomLazyStringTree::PaintStaticText(QPainter& canvas, PLazyNode node, int column, const QRect& area,
                                            TLTAlignment alignment, const QColor& selected, bool hasText, int textLeft,
                                            int textRight) {
  QString staticText;
  DoGetText(node, column, ttStatic, staticText);
  if (!staticText.isEmpty()) {
    canvas.setFont(font());
    QColor color = palette().color(QPalette::Text);
    if (node->Has(nsDisabled) || !isEnabled())
      color = appearance_.colors->Color(TLTColors::DisabledColor).isValid() ? appearance_.colors->Color(TLTColors::DisabledColor)
                                                                 : palette().color(QPalette::Disabled, QPalette::Text);
    else if (selected.isValid())
      color = selected;
    canvas.setPen(color);
    DoPaintText(canvas, node, column, ttStatic);
    QRect r = area;
    int flags = Qt::TextSingleLine | Qt::AlignVCenter;
    if (alignment == taRightJustify) {
      r.setRight(!hasText ? area.right() : textLeft - appearance_.textMargin - 1);
      flags |= Qt::AlignRight;
    } else {
      r.setLeft(!hasText ? area.left() : textRight + appearance_.textMargin);
      flags |= Qt::AlignLeft;
    }
    canvas.drawText(r, flags, staticText);
  }
}

void TCustomLazyStringTree::DoPaintNode(const TLTPaintInfo& info) {
  QPainter& canvas = *info.Canvas;
  PLazyNode node = info.Node;
  const int column = info.Column;
  canvas.save();
  canvas.setFont(font());
  QColor textColor = palette().color(QPalette::Text);
  if (options_->PaintOptions().Contains(toHotTrack) && node == hotNode_) {
    QFont hot = canvas.font();
    hot.setUnderline(true);
    canvas.setFont(hot);
    if (appearance_.colors->Color(TLTColors::HotColor).isValid()) textColor = appearance_.colors->Color(TLTColors::HotColor);
  }
  const QColor selected = SelectedTextColor(info);
  if (selected.isValid()) textColor = selected;
  canvas.setPen(textColor);

  const bool rightToLeft = ColumnIsRightToLeft(column);
  const bool multiline = node->Has(nsMultiline);
  const bool inColumn = column >= 0 && ColumnCount() > 0;
  TLTAlignment alignment = inColumn ? ColumnAlignment(column) : appearance_.alignment;
  const QRect area = info.ContentRect.adjusted(appearance_.textMargin, 0, -appearance_.textMargin, 0);
  int textRight = area.left();
  int textLeft = area.right();

  const QString text = GetCellText(node, column);
  if (!text.isEmpty()) {
    const QFont before = canvas.font();
    canvas.setBrush(Qt::NoBrush);
    DoPaintText(canvas, node, column, ttNormal);
    int width;
    if (canvas.font() != before) {
      width = QFontMetrics(canvas.font()).horizontalAdvance(text) + 2 * appearance_.textMargin;
      if (IsMainColumn(column)) SetCachedTextWidth(node, width);
    } else {
      width = ContentWidthOf(node, column);
      if (multiline || !IsMainColumn(column)) width = QFontMetrics(canvas.font()).horizontalAdvance(text) + 2 * appearance_.textMargin;
    }
    QString shown = text;
    if (inColumn && !multiline && area.width() < width - 2 * appearance_.textMargin) {
      shown = DoShortenString(canvas, node, column, text, area.width(), rightToLeft);
      // A shortened text starts at the cell's edge; only right-aligned cells keep their side.
      if (alignment != taRightJustify) alignment = taLeftJustify;
    }
    // No prefix processing: drawText shows & as it is.
    int flags = alignment == taRightJustify ? Qt::AlignRight : alignment == taCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    flags |= multiline ? (Qt::TextWordWrap | Qt::AlignTop) : (Qt::TextSingleLine | Qt::AlignVCenter);
    canvas.setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    if (canvas.brush().style() != Qt::NoBrush) {
      // The owner asked for an opaque text background.
      canvas.fillRect(canvas.boundingRect(area, flags, shown), canvas.brush());
    }
    QRect drawn;
    if (multiline)
      drawn = DrawWrappedText(canvas, area, Qt::Alignment(flags) & Qt::AlignHorizontal_Mask, shown);
    else
      canvas.drawText(area, flags, shown, &drawn);
    textLeft = drawn.left();
    textRight = drawn.right() + 1;
  }

  if (StringOptions().Contains(toShowStaticText) && alignment != taCenter && !multiline)
    PaintStaticText(canvas, node, column, area, alignment, selected, !text.isEmpty(), textLeft, textRight);
  canvas.restore();
}
