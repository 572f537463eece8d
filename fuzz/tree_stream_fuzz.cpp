// Feeds arbitrary bytes to the tree stream reader, as clipboard or drop data would reach
// it. A stream may be refused only with the tree's own error; a tree that was read must
// have totals that agree, and what it writes must read back into a tree that writes the
// same bytes again.
//
// The first byte chooses the way in: the bytes as a whole stream into an empty tree, or
// the bytes after a version byte as one node chunk added under a node of a small tree;
// with or without multiselection; a base tree, or a string tree whose captions are read.
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>

namespace {

constexpr int kDataSize = 8;

void Setup() {
  static int argc = 1;
  static char name[] = "tree_stream_fuzz";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Kept for the whole process: the application's font caches stay reachable, as in a
  // program that runs until it is killed.
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// The captions the string trees of one run were given, by node.
std::map<PLazyNode, QString> gCaptions;

// An owner that keeps up to eight bytes per node and writes them all back, and in a
// string tree each node's caption.
std::unique_ptr<TBaseLazyTree> MakeTree(bool multiSelect, bool strings) {
  std::unique_ptr<TBaseLazyTree> tree;
  if (strings) {
    auto stringTree = std::make_unique<TLazyStringTree>();
    stringTree->OnNewText = [](TBaseLazyTree*, PLazyNode node, int, const QString& text) { gCaptions[node] = text; };
    // A node without a caption has none, rather than the default text, which it would
    // take into the next stream.
    stringTree->OnGetText = [](TBaseLazyTree*, PLazyNode node, int, TLSTTextType, QString& text) {
      auto it = gCaptions.find(node);
      text = it != gCaptions.end() ? it->second : QString();
    };
    tree = std::move(stringTree);
  } else {
    tree = std::make_unique<TBaseLazyTree>();
  }
  tree->SetNodeDataSize(kDataSize);
  if (multiSelect) tree->TreeOptions().SetSelectionOptions({toMultiSelect});
  tree->OnSaveNode = [](TBaseLazyTree* t, PLazyNode node, TLazyTreeStream& stream) {
    if (node) stream.Write(t->GetNodeData(node), kDataSize);
  };
  tree->OnLoadNode = [](TBaseLazyTree* t, PLazyNode node, TLazyTreeStream& stream) {
    if (node) stream.Read(t->GetNodeData(node), kDataSize);
  };
  return tree;
}

void ExpectTotals(TBaseLazyTree& tree) {
  if (!tree.CheckTotals().isEmpty()) std::abort();
}

QByteArray Written(TBaseLazyTree& tree) {
  TLazyTreeStream stream;
  tree.WriteTreeStream(stream);
  return stream.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Setup();
  if (size < 1) return 0;
  const bool multiSelect = (data[0] & 1) != 0;
  const bool asChunk = (data[0] & 2) != 0;
  const bool strings = (data[0] & 4) != 0;
  gCaptions.clear();
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

  auto tree = MakeTree(multiSelect, strings);
  try {
    if (asChunk) {
      if (bytes.isEmpty()) return 0;
      tree->SetRootNodeCount(3);
      tree->SetNodeChildCount(tree->GetFirstRaw(), 2);
      tree->ToggleExpanded(tree->GetFirstRaw());
      TLazyTreeStream stream(bytes.mid(1));
      tree->AddNodesFromStream(stream, (bytes[0] & 1) ? 1 : 2, tree->GetFirstRaw()->LastChild);
    } else {
      TLazyTreeStream stream(bytes);
      tree->ReadTreeStream(stream);
    }
  } catch (const ELazyTreeError&) {
    ExpectTotals(*tree);
    return 0;
  }
  ExpectTotals(*tree);

  const QByteArray first = Written(*tree);
  ExpectTotals(*tree);
  auto copy = MakeTree(multiSelect, strings);
  TLazyTreeStream stream(first);
  copy->ReadTreeStream(stream);
  ExpectTotals(*copy);
  if (Written(*copy) != first) std::abort();
  return 0;
}
