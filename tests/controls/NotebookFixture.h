#pragma once
// Notebooks for the tests: built in code inside a loading bracket, as forms are, with
// pages captioned as given; and text metrics that do not depend on installed fonts.
#include "controls/FmCanvas.h"
#include "controls/clnbk.h"

#include <QStringList>

#include <memory>

// Every character is 7 pixels wide; a line is 13 pixels high, or the font's pixel size
// plus 2 when it has one.
class FixedTextMetrics : public TFmTextMetrics {
public:
  QSize TextExtent(const QFont& font, int, const QString& text, int) const override {
    return {TextWidth(font, text), LineHeight(font)};
  }
  int LineHeight(const QFont& font) const override { return font.pixelSize() > 0 ? font.pixelSize() + 2 : 13; }
  int TextWidth(const QFont&, const QString& text) const override { return 7 * static_cast<int>(text.size()); }
};

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
