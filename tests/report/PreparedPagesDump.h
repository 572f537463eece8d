#pragma once
// Prepared pages as readable text, one object a line:
//   page 2: Cell 0,120 300x20 "Task 9" bold fill=#00ff00
// (name, left and top, width and height in report units, the text with its lines joined
// by "|"; a memo's style and fill only when set). Comparing dumps shows a changed page as
// a changed line instead of changed bytes.
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_MemoLayout.h"
#include "report/engine/RP_MemoView.h"

#include <QStringList>

inline QString rpDumpPreparedPage(TrpEMFPages& pages, int index) {
  QString dump;
  const TrpPage* page = pages.PageToObjects(index);
  for (const auto& object : page->Objects()) {
    const TrpView& view = *object;
    QStringList lines;
    for (const QString& line : view.Memo) lines << rpWithoutMark(line).toString();
    dump += QStringLiteral("page %1: %2 %3,%4 %5x%6 \"%7\"")
                .arg(index + 1)
                .arg(view.Name)
                .arg(view.Left)
                .arg(view.Top)
                .arg(view.Width)
                .arg(view.Height)
                .arg(lines.join(u'|'));
    if (const auto* memo = dynamic_cast<const TrpMemoView*>(&view)) {
      if (memo->Font.style & rpFontStyle::Bold) dump += QStringLiteral(" bold");
      if (memo->FillColor != kRpNoColor)
        dump += QStringLiteral(" fill=#%1").arg(static_cast<uint32_t>(memo->FillColor), 6, 16, QLatin1Char('0'));
    }
    dump += u'\n';
  }
  return dump;
}

inline QString rpDumpPreparedPages(TrpEMFPages& pages) {
  QString dump;
  for (int i = 0; i < pages.Count(); ++i) dump += rpDumpPreparedPage(pages, i);
  return dump;
}
