#pragma once
// Notebooks for the tests: built in code inside a loading bracket, as forms are, with
// pages captioned as given, measured with text metrics that do not depend on installed
// fonts (6 pixels a character, 12 a line).
#include "RecordingCanvas.h"
#include "controls/clnbk.h"

#include <QStringList>

#include <memory>

inline const FixedTextMetrics& FixedMetrics() {
  static const FixedTextMetrics metrics;
  return metrics;
}

// A notebook of `captions.size()` pages, page `defaultPage` shown when loading ends.
inline std::unique_ptr<TClNotebook> MakeNotebook(const QStringList& captions, int defaultPage = 0,
                                                 QWidget* parent = nullptr) {
  auto notebook = std::make_unique<TClNotebook>(parent);
  notebook->SetTextMetrics(FixedMetrics());
  notebook->BeginLoading();
  for (const QString& caption : captions) {
    auto* page = new TClTabPage(notebook.get());
    page->SetCaption(caption);
  }
  notebook->SetDefaultPageIndex(defaultPage);
  notebook->EndLoading();
  return notebook;
}
