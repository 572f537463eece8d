// Feeds arbitrary bytes to the tree stream reader, as clipboard or drop data would reach
// it. A stream may be refused only with the tree's own error; a tree that was read must
// have totals that agree, and what it writes must read back into a tree that writes the
// same bytes again.
//
// The first byte chooses the way in: the bytes as a whole stream into an empty tree, or
// the bytes after a version byte as one node chunk added under a node of a small tree;
// with or without multiselection.
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

constexpr int kDataSize = 8;

void Setup() {
  static int argc = 1;
  static char name[] = "tree_stream_fuzz";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
}

// An owner that keeps up to eight bytes per node and writes them all back.
std::unique_ptr<TBaseLazyTree> MakeTree(bool multiSelect) {
  auto tree = std::make_unique<TBaseLazyTree>();
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
  const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

  auto tree = MakeTree(multiSelect);
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
  auto copy = MakeTree(multiSelect);
  TLazyTreeStream stream(first);
  copy->ReadTreeStream(stream);
  ExpectTotals(*copy);
  if (Written(*copy) != first) std::abort();
  return 0;
}
