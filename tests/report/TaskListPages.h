#pragma once
// Prepared pages that look like a printed task list, built with the engine's own
// objects: for the preview's tests, its reference picture and its benchmark.
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_MemoView.h"

#include <QStringList>
#include <vector>

// A task list as the print wizard lays it out on A4: a grey header row with the column
// captions, then rows of tasks in alternating colours, 32 to a page.
inline void BuildTaskList(TrpEMFPages& pages, int rows) {
  TrpPage a4;
  a4.PaperSize = 9;
  a4.PaperWidth = 2100;
  a4.PaperHeight = 2970;
  const QStringList titles = {"Call the plumber about the kitchen sink", "Renew the car insurance",
                              "Prepare slides for Monday's meeting",     "Book flights to Lisbon",
                              "Pay the electricity bill",                "Send birthday card to Anna",
                              "Back up the photo library",               "Review the quarterly budget",
                              "Return library books",                    "Order printer toner"};
  const QStringList priorities = {"High", "Normal", "Low"};
  struct Column {
    int left, width;
    QString caption;
  };
  const std::vector<Column> columns = {{40, 50, "Done"}, {90, 380, "Title"}, {470, 100, "Priority"}, {570, 140, "Due"}};
  auto cell = [&](int page, const Column& column, int top, const QString& text, int fill, bool bold) {
    TrpMemoView memo;
    memo.SetGeometry(column.left, top, column.width, 30);
    memo.Memo = QStringList{text};
    memo.Font.name = QStringLiteral("DejaVu Sans");
    memo.Font.size = 10;
    memo.Font.style = bold ? rpFontStyle::Bold : 0;
    memo.FillColor = fill;
    memo.FrameTyp = rpFrameSide::All;
    memo.FrameColor = 0x808080;
    memo.GapX = 4;
    memo.GapY = 7;
    memo.Print(pages.PageStream(page));
  };
  int page = -1, top = 0;
  for (int row = 0; row < rows; ++row) {
    if (page < 0 || top > 1000) {
      page = pages.Add(a4);
      for (const Column& column : columns) cell(page, column, 40, column.caption, 0xC0C0C0, true);
      top = 70;
    }
    const int fill = row % 2 ? 0xFFFFFF : 0xF5EBE1;  // BGR: a light blue on every other row
    cell(page, columns[0], top, row % 3 == 0 ? QStringLiteral("x") : QString(), fill, false);
    cell(page, columns[1], top, titles[row % titles.size()], fill, false);
    cell(page, columns[2], top, priorities[row % 3], fill, false);
    cell(page, columns[3], top, QStringLiteral("%1/%2/2024").arg(3 + row / 28).arg(1 + row % 28), fill, false);
    top += 30;
  }
}

