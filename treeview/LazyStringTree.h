#pragma once
// The string tree: every cell's text comes from the owner (OnGetText) when it is needed,
// is painted (with an optional static text after it), shortened with an ellipsis when it
// does not fit, searched, hinted, and edited in place.
//
// Costs: a cell's text costs one owner call per use; the main column's text width is
// kept per node (4 bytes) and measured again only after the row was repainted, the node
// re-initialised, the font changed or an edit cancelled.
#include "treeview/LazyTreeDrawing.h"
#include "treeview/LazyTrees.h"

#include <QFontMetrics>
#include <QImage>

class QCollator;
class QLocale;

enum TLSTTextType { ttNormal, ttStatic };
// Which nodes an export takes: every node, the initialised ones, the selection, the nodes
// marked for cut or copy (all in tree order), or the rows in view in display order.
enum TLTTextSource { srcAll, srcInitialized, srcSelected, srcCutCopySet, srcVisible };
enum TStringOption { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using TStringOptions = TSet<TStringOption>;
inline constexpr TStringOptions DefaultStringOptions = {toSaveCaptions, toAutoAcceptEditChange};

class TCustomLazyStringTree;

// The base option sets plus the string options.
class TStringTreeOptions : public TCustomLazyTreeOptions {
public:
  explicit TStringTreeOptions(TCustomLazyStringTree* owner);
  TStringOptions StringOptions() const { return stringOptions_; }
  void SetStringOptions(TStringOptions value);
  void Assign(const TCustomLazyTreeOptions& source) override;

private:
  TCustomLazyStringTree* stringOwner_;
  TStringOptions stringOptions_ = DefaultStringOptions;
};

// Shortening a text with "..." is FitTextWithEllipsis of the shared drawing routines.

// The lines a multi-line cell shows in Width × Height: wrapped at words, and when the text
// needs more lines than fit, the last line that fits ends with "...".
QStringList WrapTextWithEllipsis(const QFont& Font, const QString& Text, int Width, int Height);

class TCustomLazyStringTree : public TBaseLazyTree {
  Q_OBJECT

public:
  explicit TCustomLazyStringTree(QWidget* parent = nullptr);
  ~TCustomLazyStringTree() override;

  // Editing entry points the windows call.
  using TBaseLazyTree::CancelEditNode;
  using TBaseLazyTree::EditNode;
  using TBaseLazyTree::EndEditNode;
  using TBaseLazyTree::IncrementalSearchKey;
  using TBaseLazyTree::IsEditing;

  using Tree = TBaseLazyTree;
  std::function<void(Tree*, PLazyNode Node, int Column, TLSTTextType TextType, QString& CellText)> OnGetText;
  std::function<void(Tree*, QPainter& TargetCanvas, PLazyNode Node, int Column, TLSTTextType TextType)> OnPaintText;
  std::function<void(Tree*, QPainter& TargetCanvas, PLazyNode Node, int Column, const QString& S, int TextSpace,
                     bool RightToLeft, QString& Result, bool& Done)>
      OnShortenString;
  std::function<void(Tree*, PLazyNode Node, int Column, const QString& NewText)> OnNewText;
  std::function<void(Tree*, PLazyNode Node, int Column, QString& HintText)> OnGetHint;

  QString DefaultText() const { return defaultText_; }
  void SetDefaultText(const QString& Value);
  TStringTreeOptions& StringTreeOptions() { return *stringOptions_; }
  TStringOptions StringOptions() const { return stringOptions_->StringOptions(); }
  void SetStringOptions(TStringOptions Value) { stringOptions_->SetStringOptions(Value); }

  // The text of a cell: DefaultText unless the owner answers. Initialises the node.
  QString GetCellText(PLazyNode Node, int Column);
  // Hands a new text to the owner (OnNewText) and repaints the node.
  void SetCellText(PLazyNode Node, int Column, const QString& Text);
  virtual int TextWidthOf(PLazyNode Node, const QString& Text, int Column);
  virtual int ContentWidthOf(PLazyNode Node, int Column);
  // The height a multi-line node's text needs in a column; a single-line node keeps its own.
  int ComputeNodeHeight(PLazyNode Node, int Column);
  // The font, rectangle and text the editor starts with.
  virtual void GetTextInfo(PLazyNode Node, int Column, QFont& Font, QRect& R, QString& Text);
  // The cached main-column text width of a node (0 = not measured).
  int CachedTextWidth(PLazyNode Node) const;
  int TextHeight() const { return textHeight_; }
  int EllipsisWidth() const { return ellipsisWidth_; }
  // The next visible column after Column, skipping empty neighbours the text may run over.
  int NextCellForSpan(PLazyNode Node, int Column);

  int SearchNodeText(PLazyNode Node, const QString& Text) override;
  bool AbortEdit() override;
  void ReinitializeNode(PLazyNode Node, bool Recursive) override;
  void InvalidateNodeRow(PLazyNode Node) override;
  TLTAlignment ColumnAlignmentFor(int Column) const { return ColumnAlignment(Column); }
  bool ColumnIsRightToLeftFor(int Column) const { return ColumnIsRightToLeft(Column); }

  // ---- Content export (LazyStringTreeExport.cpp) ------------------------------------------
  // One line per node (CR LF): with header columns a header line first, the visible
  // columns in display order, the main column indented by level separators and padded to
  // the deepest level; without columns the indent and the node's text. The 8-bit form
  // (UTF-8) quotes fields that hold the separator, a quote or a line break; the Unicode
  // form quotes nothing.
  QByteArray ContentToText(TLTTextSource Source, QChar Separator);
  QString ContentToUnicodeText(TLTTextSource Source, QChar Separator);
  // A table with its own style sheet, UTF-8, markup characters escaped.
  QByteArray ContentToHTMLText(TLTTextSource Source, const QString& Caption = QString());
  // A document with font and colour tables; cell widths in twips.
  QByteArray ContentToRTFText(TLTTextSource Source);
  // The bytes of a text format of the clipboard (CF_TEXT, CF_UNICODETEXT, CSV, RTF, HTML);
  // empty when there is nothing.
  QByteArray CopyContentToClipboard(int Format, TLTTextSource Source);
  THResult RenderTreeData(const TFormatEtc& FormatEtc, TStgMedium& Medium, bool ForClipboard) override;
  // The CSV separator: ',' unless the locale writes decimals with a comma, then ';'.
  static QChar ListSeparator(const QLocale& Locale);

  // Repaints after a change of the string options (not while loading).
  void StringOptionsChanged(TStringOptions Old, TStringOptions New);

protected:
  void DoPaintNode(const TLTPaintInfo& PaintInfo) override;
  int DoGetNodeWidth(PLazyNode Node, int Column) override;
  bool DoGetCellIsEmpty(PLazyNode Node, int Column) override;
  void DoInitNode(PLazyNode Parent, PLazyNode Node, TLazyNodeInitStates& InitStates) override;
  std::shared_ptr<ILTEditLink> CreateEditLink() override;
  QString NodeText(PLazyNode Node, int Column) const override;
  QString HintCellText(PLazyNode Node, int Column) override { return GetCellText(Node, Column); }
  QString DoGetHint(PLazyNode Node, int Column) override;
  QFont CellFont(PLazyNode Node, int Column) override;
  void changeEvent(QEvent* e) override;
  // Tree stream: the main column's text travels in a caption chunk (LazyStringTreeStream.cpp).
  void WriteNodeParts(TLazyTreeStream& Stream, PLazyNode Node) override;
  bool ReadNodePart(TLazyTreeStream& Stream, int Version, PLazyNode Node, std::uint32_t ChunkType,
                    std::uint32_t ChunkSize) override;

  // Owner hooks with their defaults.
  virtual void DoGetText(PLazyNode Node, int Column, TLSTTextType TextType, QString& Text);
  virtual void DoPaintText(QPainter& Canvas, PLazyNode Node, int Column, TLSTTextType TextType);
  virtual QString DoShortenString(QPainter& Canvas, PLazyNode Node, int Column, const QString& S, int Width,
                                  bool RightToLeft);

private:
  // The tree font as the owner sets it for a cell, on a scratch canvas.
  QFont OwnerFont(PLazyNode Node, int Column, TLSTTextType TextType);
  void SetCachedTextWidth(PLazyNode Node, int Width);
  void ResetAllTextWidths();
  void MeasureFont();
  bool IsMainColumn(int Column) const { return Column < 0 || Column == MainColumn(); }
  QColor SelectedTextColor(const TLTPaintInfo& Info) const;
  void PaintStaticText(QPainter& Canvas, PLazyNode Node, int Column, const QRect& Area, TLTAlignment Alignment,
                       const QColor& Selected, bool HasText, int TextLeft, int TextRight);
  // Export helpers: the nodes of a source, the visible columns in display order (none
  // without header columns), the font and colour the owner gives a cell and whether it
  // changed them, and the shared layout of the two plain-text forms.
  QVector<PLazyNode> SourceNodes(TLTTextSource Source);
  QVector<int> ExportColumns() const;
  struct TCellStyle {
    QFont Font;
    QColor Color;
    bool Changed;
  };
  TCellStyle ExportCellStyle(PLazyNode Node, int Column);
  QString TextLayout(TLTTextSource Source, QChar Separator, bool Quote);
  // The parts of the HTML form: the style sheet, the header's row and a node's row.
  QString HtmlStyleSheet(const QString& HeaderSpec, int Dpi);
  QString HtmlHeaderRow(const QVector<int>& Columns, int MaxLevel, const QString& HeaderSpec);
  QString HtmlNodeRow(PLazyNode Node, const QVector<int>& Cells, int MaxLevel, int Dpi);

  TStringTreeOptions* stringOptions_;  // owned by the base tree as its options
  QString defaultText_ = QStringLiteral("Node");
  int widthOffset_ = 0;  // of the per-node cached width in the node block
  int textHeight_ = 0;
  int ellipsisWidth_ = 0;
  QImage scratch_;
  std::unique_ptr<QCollator> collator_;
};

// The published string tree, the one windows place.
class TLazyStringTree : public TCustomLazyStringTree {
  Q_OBJECT
public:
  using TCustomLazyStringTree::TCustomLazyStringTree;
};
