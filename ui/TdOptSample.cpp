#include "ui/TdOptSample.h"

#include "treeview/LazyTreeHeader.h"
#include "ui/TdFontOption.h"

#include <QPainter>

TFontOption& SampleRowFont(TTdAppOptions& o, TSampleRow row) {
  TFontOption* fonts[] = {&o.CompletedFont, &o.OverDueFont, &o.UrgentFont, &o.HighFont,
                          &o.MediumFont,    &o.LowFont,     &o.NoneFont,   &o.NoneFont};
  return *fonts[row];
}

int32_t& SampleRowColor(TTdAppOptions& o, TSampleRow row) {
  int32_t* colors[] = {&o.CompletedBkColor, &o.OverDueBkColor, &o.UrgentBkColor, &o.HighBkColor,
                       &o.MediumBkColor,    &o.LowBkColor,     &o.NoneBkColor,   &o.SelectedBkColor};
  return *colors[row];
}

QString SampleRowCaption(TSampleRow row) {
  static const char* captions[] = {"Completed Tasks:", "Overdue Tasks:", "Urgent Tasks:", "High Tasks:",
                                   "Medium Tasks:",    "Low Tasks:",     "<None> Tasks:", "Selected Tasks:"};
  return QString::fromLatin1(captions[row]);
}

QString TOptionSampleTree::RowText(TSampleRow row) {
  static const char* texts[] = {"Completed task", "Overdue task",       "Urgent priority", "High priority",
                                "Medium priority", "Low priority",      "No priority",     "Selected task"};
  return QString::fromLatin1(texts[row]);
}

TOptionSampleTree::TOptionSampleTree(const TTdAppOptions& options, QWidget* parent)
    : TLazyStringTree(parent), options_(options) {
  setObjectName(QStringLiteral("SampleTree"));
  SetNodeDataSize(0);
  ScrollBarOptions().SetScrollBars(ssNone);
  TreeOptions().SetPaintOptions(TreeOptions().PaintOptions() -
                                TLTPaintOptions{toShowRoot, toShowTreeLines, toShowButtons, toShowDropmark});
  TreeOptions().SetSelectionOptions(TreeOptions().SelectionOptions() + TLTSelectionOptions{toFullRowSelect});
  SetMargin(0);
  auto* title = Header().Columns().Add();
  title->SetText(QStringLiteral("Title"));
  title->SetWidth(110);
  auto* state = Header().Columns().Add();
  state->SetText(QStringLiteral("State"));
  state->SetWidth(140);
  Header().SetOptions(Header().Options() + TLTHeaderOptions{hoVisible});
  Header().SetParentFont(false);

  OnGetText = [](TBaseLazyTree*, PLazyNode node, int column, TLSTTextType type, QString& text) {
    if (type != ttNormal) return;
    text = column == 0 ? QStringLiteral("Sample") : RowText(static_cast<TSampleRow>(node->Index));
  };
  OnPaintText = [this](TBaseLazyTree*, QPainter& canvas, PLazyNode node, int, TLSTTextType) {
    const TFontOption& font = SampleRowFont(options_, static_cast<TSampleRow>(node->Index));
    canvas.setFont(FontOfOption(font));
    canvas.setPen(ColorOfOption(font.Color));
  };
  OnBeforeItemErase = [this](TBaseLazyTree*, QPainter&, PLazyNode node, QRect, QColor& color,
                             TItemEraseAction& action) {
    color = ColorOfOption(SampleRowColor(options_, static_cast<TSampleRow>(node->Index)));
    action = eaColor;
  };
  // A sample to look at: the focus stays where it is.
  OnFocusChanging = [](TBaseLazyTree*, PLazyNode, PLazyNode, int, int, bool& allowed) { allowed = false; };
  SetRootNodeCount(srCount);
  Refresh();
}

TOptionSampleTree::~TOptionSampleTree() {
  OnGetText = nullptr;
  OnPaintText = nullptr;
  OnBeforeItemErase = nullptr;
  OnFocusChanging = nullptr;
}

void TOptionSampleTree::Refresh() {
  const QFont headerFont = FontOfOption(options_.ColHeaderFont);
  Header().SetFont(headerFont);
  Header().SetFontColor(ColorOfOption(options_.ColHeaderFont.Color));
  Header().SetHeight(std::max(options_.ColHeaderFont.Size, 1) + 10);
  Header().SetStyle(static_cast<TLTHeaderStyle>(std::min<int>(options_.HeaderStyle, hsXPStyle)));
  TLTPaintOptions paint = TreeOptions().PaintOptions() - TLTPaintOptions{toShowHorzGridLines, toShowVertGridLines};
  if (options_.ShowHorzGridLines) paint = paint + TLTPaintOptions{toShowHorzGridLines};
  if (options_.ShowVertGridLines) paint = paint + TLTPaintOptions{toShowVertGridLines};
  TreeOptions().SetPaintOptions(paint);
  SetLineStyle(options_.DottedGrid ? lsDotted : lsSolid);
  Colors().SetColor(TLTColors::GridLineColor, ColorOfOption(options_.GridColor));
  int row = 0;
  // The Selected row keeps the tree's own height, as a selected row of the task list
  // keeps its height.
  for (PLazyNode node = GetFirst(); node != nullptr && row < srSelected; node = GetNext(node), ++row)
    SetNodeHeight(node, std::max(SampleRowFont(options_, static_cast<TSampleRow>(row)).Size, 1) + 10);
  viewport()->update();
}
