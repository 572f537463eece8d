// The string tree's content as text: tab-separated and CSV, HTML and RTF, and the text
// formats of the clipboard and drag data.
//
// Every renderer walks its nodes twice: once for the deepest level among them (it decides
// how many indent fields or cells the main column takes), once to write. Texts go out as
// they are, except where the format needs escaping: fields holding a separator, quote or
// line break are quoted, HTML markup characters become entities, RTF gets every UTF-16
// unit as a "\u" escape. O(nodes × visible columns).
#include "platform/Log.h"
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeColumns.h"
#include "treeview/LazyTreeHeader.h"
#include "treeview/LazyTreeStream.h"

#include <QLocale>
#include <QPainter>

#include <cmath>

namespace {

QString HtmlColor(const QColor& c) {
  return QStringLiteral("#%1%2%3")
      .arg(c.red(), 2, 16, QChar('0'))
      .arg(c.green(), 2, 16, QChar('0'))
      .arg(c.blue(), 2, 16, QChar('0'))
      .toUpper();
}

// Texts, captions and attribute values: markup characters and quotes as entities. The
// style sheet keeps its quotes (entities mean nothing to it) but not its markup characters.
QString Escaped(const QString& text, bool quotes = true) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case '&': out += QLatin1String("&amp;"); break;
      case '<': out += QLatin1String("&lt;"); break;
      case '>': out += QLatin1String("&gt;"); break;
      case '"': out += quotes ? QLatin1String("&quot;") : QLatin1String("\""); break;
      default: out += c;
    }
  }
  return out;
}

int PointSize(const QFont& font, int dpi) {
  if (font.pointSize() > 0) return font.pointSize();
  return static_cast<int>(std::lround(font.pixelSize() * 72.0 / std::max(dpi, 1)));
}

// "{font: underline italic bold 9pt "Name";color:#RRGGBB;}" as the style sheet and inline
// styles write a font.
QString FontSpec(const QFont& font, const QColor& color, int dpi) {
  QString spec = QStringLiteral("{font:");
  if (font.underline()) spec += QLatin1String(" underline");
  if (font.italic()) spec += QLatin1String(" italic");
  if (font.bold()) spec += QLatin1String(" bold");
  spec += QStringLiteral(" %1pt \"%2\";").arg(PointSize(font, dpi)).arg(font.family());
  return spec + QStringLiteral("color:") + HtmlColor(color) + QStringLiteral(";}");
}

// A field of the 8-bit forms: quoted when it holds the separator, a quote or a line break.
QString QuotedField(const QString& text, QChar separator) {
  if (!text.contains(separator) && !text.contains('"') && !text.contains('\r') && !text.contains('\n')) return text;
  QString quoted = text;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return '"' + quoted + '"';
}

// RTF keeps to 7-bit text: every UTF-16 unit of a text as a signed "\u" number with "?"
// for readers without Unicode.
QString RtfUnicode(const QString& text) {
  QString out;
  for (QChar c : text) out += QStringLiteral("\\u%1\\'3f").arg(static_cast<std::int16_t>(c.unicode()));
  return out;
}

// A font name: plain where it is plain ASCII, escaped where RTF would misread it.
QString RtfName(const QString& name) {
  QString out;
  for (QChar c : name)
    out += c.unicode() < 128 && c != '\\' && c != '{' && c != '}' && c != ';' ? QString(c) : RtfUnicode(QString(c));
  return out;
}

}  // namespace

QChar TCustomLazyStringTree::ListSeparator(const QLocale& locale) {
  // Where the comma is the decimal point, numbers would split fields: the semicolon takes over.
  return locale.decimalPoint() == QLatin1String(",") ? QChar(';') : QChar(',');
}

QVector<PLazyNode> TCustomLazyStringTree::SourceNodes(TLTTextSource source) {
  QVector<PLazyNode> nodes;
  auto collect = [&](PLazyNode first, auto next) {
    for (PLazyNode run = first; run; run = next(run)) nodes.append(run);
  };
  switch (source) {
    case srcAll: collect(GetFirst(), [this](PLazyNode n) { return GetNext(n); }); break;
    case srcInitialized:
      collect(GetFirstInitializedNode(), [this](PLazyNode n) { return GetNextInitializedNode(n); });
      break;
    case srcSelected: collect(GetFirstSelectedNode(), [this](PLazyNode n) { return GetNextSelectedNode(n); }); break;
    case srcCutCopySet: collect(GetFirstCutCopyNode(), [this](PLazyNode n) { return GetNextCutCopyNode(n); }); break;
    case srcVisible: collect(GetFirstVisible(), [this](PLazyNode n) { return GetNextVisible(n); }); break;
  }
  return nodes;
}

QVector<int> TCustomLazyStringTree::ExportColumns() const {
  return ColumnCount() > 0 ? Columns().ShownColumnList() : QVector<int>{};
}

TCustomLazyStringTree::TCellStyle TCustomLazyStringTree::ExportCellStyle(PLazyNode node, int column) {
  TCellStyle style{font(), palette().color(QPalette::Text), false};
  if (!OnPaintText) return style;
  QPainter canvas(&scratch_);
  canvas.setFont(style.Font);
  canvas.setPen(style.Color);
  DoPaintText(canvas, node, column, ttNormal);
  style.Changed = canvas.font() != style.Font || canvas.pen().color() != style.Color;
  style.Font = canvas.font();
  style.Color = canvas.pen().color();
  return style;
}

// ---- Tab-separated text and CSV -------------------------------------------------------------------

QString TCustomLazyStringTree::TextLayout(TLTTextSource source, QChar separator, bool quote) {
  const QVector<PLazyNode> nodes = SourceNodes(source);
  int maxLevel = 0;
  for (PLazyNode node : nodes) maxLevel = std::max(maxLevel, static_cast<int>(LevelOfNode(node)));
  const QVector<int> columns = ExportColumns();
  auto field = [&](const QString& text) { return quote ? QuotedField(text, separator) : text; };
  QString out;
  if (!columns.isEmpty()) {
    for (qsizetype i = 0; i < columns.size(); ++i) {
      out += field(Columns()[columns[i]]->Text());
      if (i + 1 == columns.size()) break;
      if (columns[i] == MainColumn()) out += QString(maxLevel, separator);
      out += separator;
    }
    out += QLatin1String("\r\n");
  }
  for (PLazyNode node : nodes) {
    const int level = static_cast<int>(LevelOfNode(node));
    if (columns.isEmpty()) {
      out += QString(level, separator) + GetCellText(node, -1) + QLatin1String("\r\n");
      continue;
    }
    for (qsizetype i = 0; i < columns.size(); ++i) {
      const bool main = columns[i] == MainColumn();
      if (main) out += QString(level, separator);
      out += field(GetCellText(node, columns[i]));
      if (main) out += QString(maxLevel - level, separator);
      if (i + 1 < columns.size()) out += separator;
    }
    out += QLatin1String("\r\n");
  }
  return out;
}

QByteArray TCustomLazyStringTree::ContentToText(TLTTextSource source, QChar separator) {
  return TextLayout(source, separator, true).toUtf8();
}

QString TCustomLazyStringTree::ContentToUnicodeText(TLTTextSource source, QChar separator) {
  return TextLayout(source, separator, false);
}

// ---- HTML -----------------------------------------------------------------------------------------

namespace {
// Direction and alignment of a column (-1: the tree's own).
QString HtmlPlacement(const TBaseLazyTree& tree, int column) {
  QString s = tree.ColumnIsRightToLeft(column) ? QStringLiteral(" dir=\"rtl\"") : QString();
  switch (tree.ColumnAlignment(column)) {
    case taRightJustify: return s + QStringLiteral(" align=right");
    case taCenter: return s + QStringLiteral(" align=center");
    default: return s + QStringLiteral(" align=left");
  }
}
}  // namespace

QString TCustomLazyStringTree::HtmlStyleSheet(const QString& headerSpec, int dpi) {
  const TLTPaintOptions paint = options_->PaintOptions();
  const QString lineStyle = appearance_.lineStyle == lsSolid ? QStringLiteral("solid;") : QStringLiteral("dotted;");
  QString out = QStringLiteral("<style type=\"text/css\">");
  out += QStringLiteral(".default") + Escaped(FontSpec(font(), palette().color(QPalette::Text), dpi), false);
  out += QStringLiteral(".header") + Escaped(headerSpec, false);
  if (paint.Contains(toShowHorzGridLines))
    out += QStringLiteral(".noborder{border-style:") + lineStyle +
           QStringLiteral(" border-bottom:1;border-left:0;border-right:0; border-top:0;");
  else
    out += QStringLiteral(".noborder{border-style:none;");
  out += QStringLiteral("}.normalborder {border-top:none; border-left:none; ");
  out += paint.Contains(toShowVertGridLines) ? QStringLiteral("border-right:1 ") + lineStyle
                                              : QStringLiteral("border-right:none;");
  out += paint.Contains(toShowHorzGridLines) ? QStringLiteral("border-bottom:1 ") + lineStyle
                                              : QStringLiteral("border-bottom:none;");
  out += QStringLiteral("}</style>");
  return out;
}

QString TCustomLazyStringTree::HtmlHeaderRow(const QVector<int>& columns, int maxLevel, const QString& headerSpec) {
  QString out = QStringLiteral("<tr class=\"header\" style=\"") + Escaped(headerSpec) + QStringLiteral("\">");
  for (int column : columns) {
    const TLazyTreeColumn& c = *Columns()[column];
    out += QStringLiteral("<th height=\"%1px\"").arg(Header().Height()) + HtmlPlacement(*this, column);
    if (column == MainColumn() && maxLevel > 0) out += QStringLiteral(" colspan=\"%1\"").arg(maxLevel + 1);
    out += QStringLiteral(" bgcolor=") + HtmlColor(palette().color(QPalette::Button)) +
           QStringLiteral(" width=\"%1px\">").arg(c.Width()) + Escaped(c.Text()) + QStringLiteral("</th>");
  }
  return out + QStringLiteral("</tr>");
}

// One node's row: in the main column a cell per level above it, then its text spanning
// the levels below.
QString TCustomLazyStringTree::HtmlNodeRow(PLazyNode node, const QVector<int>& cells, int maxLevel, int dpi) {
  auto parentColored = [&](int column) {
    return column < 0 || Columns()[column]->Options().Contains(coParentColor) || !Columns()[column]->Color().isValid();
  };
  const int level = static_cast<int>(LevelOfNode(node));
  const QString height = QString::number(NodeHeight(node));
  QString out = QStringLiteral(" <tr class=\"default\">");
  for (int column : cells) {
    const TCellStyle style = ExportCellStyle(node, column);
    const bool main = IsMainColumn(column);
    const bool parent = parentColored(column);
    const QString bgcolor = parent ? QString() : QStringLiteral(" bgcolor=") + HtmlColor(Columns()[column]->Color());
    if (main) {
      for (int i = 0; i < level; ++i) {
        if (parent)
          out += i == 0 ? QStringLiteral(" <td height=\"") + height + QStringLiteral("px\">&nbsp;</td>")
                        : QStringLiteral(" <td>&nbsp;</td>");
        else
          out += QStringLiteral("<td class=\"noborder\" width=\"%1\" height=\"").arg(appearance_.indent) + height +
                 QStringLiteral("px\"") + bgcolor + QStringLiteral(">&nbsp;</td>");
      }
    }
    if (style.Changed)
      out += QStringLiteral(" <td class=\"normalborder\"  style=\"") + Escaped(FontSpec(style.Font, style.Color, dpi)) +
             QStringLiteral("\" height=\"");
    else
      out += QStringLiteral(" <td class=\"normalborder\"  height=\"");
    out += height + QStringLiteral("px\"") + HtmlPlacement(*this, column);
    if (main && level < maxLevel) out += QStringLiteral(" colspan=\"%1\"").arg(maxLevel - level + 1);
    out += bgcolor + '>' + Escaped(GetCellText(node, column)) + QStringLiteral("</td>");
  }
  return out + QStringLiteral(" </tr>");
}

QByteArray TCustomLazyStringTree::ContentToHTMLText(TLTTextSource source, const QString& caption) {
  const QVector<PLazyNode> nodes = SourceNodes(source);
  int maxLevel = 0;
  for (PLazyNode node : nodes) maxLevel = std::max(maxLevel, static_cast<int>(LevelOfNode(node)));
  const QVector<int> columns = ExportColumns();
  const int dpi = logicalDpiX();
  QColor headerColor = Header().FontColor();
  if (!headerColor.isValid()) headerColor = palette().color(QPalette::ButtonText);
  const QString headerSpec = FontSpec(Header().Font(), headerColor, dpi);

  QString attributes = QStringLiteral(" ");
  if (!caption.isEmpty()) attributes += QStringLiteral("caption=\"%1\"").arg(Escaped(caption));
  if (appearance_.borderStyle != bsNone) attributes += QStringLiteral(" border=\"%1\" frame=box").arg(1);

  QString out = HtmlStyleSheet(headerSpec, dpi);
  out += QStringLiteral("<table class=\"default\" bgcolor=") + HtmlColor(Color()) + attributes +
         QStringLiteral(" cellspacing=\"0\" cellpadding=") + QString::number(appearance_.margin) + '>';
  if (!columns.isEmpty()) out += HtmlHeaderRow(columns, maxLevel, headerSpec);
  const QVector<int> cells = columns.isEmpty() ? QVector<int>{-1} : columns;
  for (PLazyNode node : nodes) out += HtmlNodeRow(node, cells, maxLevel, dpi);
  out += QStringLiteral("</table>");
  return out.toUtf8();
}

// ---- RTF ------------------------------------------------------------------------------------------

QByteArray TCustomLazyStringTree::ContentToRTFText(TLTTextSource source) {
  const QVector<PLazyNode> nodes = SourceNodes(source);
  const QVector<int> columns = ExportColumns();
  const int dpi = std::max(logicalDpiX(), 1);
  QStringList fonts;
  QVector<QColor> colors;
  int currentFont = -1, currentColor = -1, currentSize = 0;

  auto textPlusFont = [&](const QString& text, const TCellStyle& style) {
    QString s;
    const QFont& f = style.Font;
    if (f.underline()) s += QLatin1String("\\ul");
    if (f.italic()) s += QLatin1String("\\i");
    if (f.bold()) s += QLatin1String("\\b");
    int fontIndex = static_cast<int>(fonts.indexOf(f.family()));
    if (fontIndex < 0) {
      fonts << f.family();
      fontIndex = static_cast<int>(fonts.size() - 1);
    }
    if (fontIndex != currentFont) s += QStringLiteral("\\f%1").arg(currentFont = fontIndex);
    int colorIndex = static_cast<int>(colors.indexOf(style.Color));
    if (colorIndex < 0) {
      colors << style.Color;
      colorIndex = static_cast<int>(colors.size() - 1);
    }
    if (colorIndex != currentColor) s += QStringLiteral("\\cf%1").arg((currentColor = colorIndex) + 1);
    const int size = PointSize(f, dpi);
    if (size != currentSize) s += QStringLiteral("\\fs%1").arg(2 * (currentSize = size));
    s += ' ' + RtfUnicode(text);
    if (f.underline()) s += QLatin1String("\\ul0");
    if (f.italic()) s += QLatin1String("\\i0");
    if (f.bold()) s += QLatin1String("\\b0");
    return s;
  };
  auto twips = [&](int pixels) { return static_cast<int>(std::lround(pixels * 1440.0 / dpi)); };

  QString body;
  const QVector<int> cells = columns.isEmpty() ? QVector<int>{-1} : columns;
  for (PLazyNode node : nodes) {
    body += QLatin1String("\\uc1\\trowd\\trgaph70");
    if (columns.isEmpty()) {
      body += QStringLiteral("\\cellx%1").arg(twips(ClientWidth()));
    } else {
      int right = 0;
      for (int column : columns) body += QStringLiteral("\\cellx%1").arg(twips(right += Columns()[column]->Width()));
    }
    for (int column : cells) {
      body += QLatin1String("\\pard\\intbl");
      const TLTAlignment alignment = ColumnAlignment(column);
      if (alignment == taRightJustify) body += QLatin1String("\\qr");
      if (alignment == taCenter) body += QLatin1String("\\qc");
      if (IsMainColumn(column)) body += QString(QStringLiteral("\\tab")).repeated(static_cast<int>(LevelOfNode(node)));
      body += textPlusFont(GetCellText(node, column), ExportCellStyle(node, column)) + QLatin1String("\\cell");
    }
    body += QLatin1String("\\row");
  }
  body += QLatin1String("\\pard\\par");

  QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl");
  for (qsizetype i = 0; i < fonts.size(); ++i) out += QStringLiteral("{\\f%1 %2;}").arg(i).arg(RtfName(fonts[i]));
  out += QStringLiteral("}{\\colortbl;");
  for (const QColor& c : colors) out += QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
  out += '}' + body + '}';
  return out.toLatin1();
}

// ---- The text formats of the data object -----------------------------------------------------------

QByteArray TCustomLazyStringTree::CopyContentToClipboard(int format, TLTTextSource source) {
  // MIME data carries its own length: none of these ends with a terminating zero, and the
  // HTML has no offset header (a convention of another desktop's clipboard).
  if (format == CF_TEXT) return ContentToText(source, '\t');
  if (format == CF_UNICODETEXT) return ContentToUnicodeText(source, '\t').toUtf8();
  if (format == CF_CSV()) return ContentToText(source, ListSeparator(QLocale()));
  if (format == CF_RTF() || format == CF_RTFNOOBJS()) return ContentToRTFText(source);
  if (format == CF_HTML()) {
    const QByteArray table = ContentToHTMLText(source, {});
    if (table.isEmpty()) return {};
    return QByteArrayLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">"
                             "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
                             "</head><body><!--StartFragment-->") +
           table + QByteArrayLiteral("<!--EndFragment--></body></html>");
  }
  return {};
}

THResult TCustomLazyStringTree::RenderTreeData(const TFormatEtc& formatEtc, TStgMedium& medium, bool forClipboard) {
  const THResult result = TBaseLazyTree::RenderTreeData(formatEtc, medium, forClipboard);
  if (result == S_OK || formatEtc.Format == CF_LAZYTREEDATA() || !(formatEtc.Tymed & TYMED_HGLOBAL)) return result;
  try {
    const QByteArray data = CopyContentToClipboard(formatEtc.Format, forClipboard ? srcCutCopySet : srcSelected);
    if (data.isEmpty()) return E_FAIL;
    medium.Tymed = TYMED_HGLOBAL;
    medium.HGlobal = data;
    return S_OK;
  } catch (...) {
    LogCurrentException("Rendering the tree's text for a data object");
    medium.Clear();
    return E_FAIL;
  }
}
