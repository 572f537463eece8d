// Feeds arbitrary bytes to the tree's paste and drop path as "Lazy Tree Data" from the
// clipboard or a drop would reach it: a size word and node chunks, with or without a tree
// reference beside them. Bad data may be refused only with the tree's own error and must
// add nothing; whatever is added must leave totals that agree.
//
// Drops read the same data through the same path. The first byte chooses the attach mode,
// whether the target is a node or the root, and which reference comes along: none, this
// process's for the tree itself, or one taken from the input (a length byte, then the
// bytes), as data from anywhere may bring.
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeReference.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QMimeData>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

void Setup() {
  static int argc = 1;
  static char name[] = "clipboard_data_fuzz";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Kept for the whole process, as in a program that runs until it is killed.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

std::map<PLazyNode, QString> gCaptions;

void ExpectTotals(TBaseLazyTree& tree) {
  if (!tree.CheckTotals().isEmpty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup();
  if (size < 1) return 0;
  gCaptions.clear();
  const TLTNodeAttachMode mode = static_cast<TLTNodeAttachMode>(1 + data[0] % 4);
  const bool atNode = (data[0] & 4) != 0;
  const int reference = (data[0] >> 3) % 3;
  std::size_t offset = 1;
  QByteArray given;
  if (reference == 2 && size > 1) {
    const std::size_t length = std::min<std::size_t>(data[1], size - 2);
    given = QByteArray(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(length));
    offset = 2 + length;
  }

  TLazyStringTree tree;
  tree.OnNewText = [](TBaseLazyTree*, PLazyNode node, int, const QString& text) { gCaptions[node] = text; };
  tree.OnGetText = [](TBaseLazyTree*, PLazyNode node, int, TLSTTextType, QString& text) {
    auto it = gCaptions.find(node);
    text = it != gCaptions.end() ? it->second : QString();
  };
  tree.TreeOptions().SetSelectionOptions({toMultiSelect});
  tree.SetRootNodeCount(2);
  tree.SetNodeChildCount(tree.GetFirstRaw(), 1);
  tree.ToggleExpanded(tree.GetFirstRaw());
  const unsigned before = tree.TotalCount();

  QMimeData mime;
  mime.setData(QStringLiteral("application/x-lazy-tree-data"),
               QByteArray(reinterpret_cast<const char*>(data + offset), static_cast<qsizetype>(size - offset)));
  if (reference == 1) mime.setData(QStringLiteral("application/x-lazy-tree-reference"), EncodeTreeReference(tree.TreeId()));
  if (reference == 2) mime.setData(QStringLiteral("application/x-lazy-tree-reference"), given);
  try {
    // A copy: a cut from this tree itself would move nodes instead of reading the data.
    tree.ProcessTreeData(TBaseLazyTree::SourceTreeOf(&mime), &mime, false, mode,
                         atNode ? tree.GetFirstRaw()->FirstChild : nullptr);
  } catch (const ELazyTreeError&) {
    if (tree.TotalCount() != before) std::abort();  // refused data adds nothing
  }
  ExpectTotals(tree);
  tree.OnNewText = nullptr;
  tree.OnGetText = nullptr;
  return 0;
}
