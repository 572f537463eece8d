// Feeds arbitrary bytes to the header's layout reader. A layout that loads must survive a
// save and a second load unchanged, and paint; a layout that fails must leave the header
// as it was.
#include "treeview/LazyTreeHeader.h"

#include <QApplication>
#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <sanitizer/lsan_interface.h>

#include <cstdlib>

namespace {
// Made on first use, after the application: it goes before what it was built on.
TCustomLazyDrawTree& Tree() {
  static TCustomLazyDrawTree tree;
  return tree;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  TCustomLazyDrawTree& tree = Tree();
  tree.resize(300, 120);
  tree.SetRootNodeCount(5);
  tree.OnGetNodeWidth = [](TBaseLazyTree*, PLazyNode, int column, int& width) { width = 20 + 7 * column; };
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  TCustomLazyDrawTree* tree = &Tree();
  TLTHeader& header = tree->Header();
  const QByteArray before = header.SaveLayout();
  try {
    header.LoadLayout(bytes);
  } catch (const ELazyTreeError&) {
    if (header.SaveLayout() != before) std::abort();  // a failed load changed the layout
    return 0;
  }
  const QByteArray saved = header.SaveLayout();
  header.LoadLayout(saved);
  if (header.SaveLayout() != saved) std::abort();
  // Whatever loaded can be shown. Captions in any script fill the font caches for the life
  // of the process; those are no leaks of ours.
  __lsan::ScopedDisabler fontCaches;
  QImage image(300, 140, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  header.PaintHeaderTo(painter, QRect(0, 0, 300, 20), tree->OffsetX());
  tree->PaintTree(painter, QRect(0, 0, 300, 120), QPoint(0, 20), WindowPaintSwitches);
  tree->GetColumnContentWidth(header.MainColumn());
  return 0;
}
