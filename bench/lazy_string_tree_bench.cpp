// Working with the string tree next to QTreeView + QSortFilterProxyModel, in one run, on
// the offscreen platform, over realistic task titles:
//   sort         1,000,000 nodes by their title with the locale's collation: ours through
//                OnCompareNodes over sort keys the owner prepared once per node (the key
//                preparation is printed on its own line), the peer through the proxy's
//                locale-aware sort of the same titles
//   search miss  one incremental-search keystroke that matches nothing at 100,000
//                initialised nodes; the peer's keyboardSearch of the same text
//   select all   selecting all 1,000,000 nodes and unselecting them again; the peer's
//                selectAll and clearSelection
// Each figure is the median of several runs; the ratio is the peer's time over ours.
#include "BenchTiming.h"
#include "RealisticTasks.h"
#include "treeview/LazyStringTree.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCollator>
#include <QHash>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <QStyleFactory>
#include <QTreeView>

#include <unicode/ucol.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

std::vector<QString> Titles(int count) {
  std::mt19937 rng(20261210);
  std::vector<QString> titles;
  titles.reserve(count);
  for (int i = 0; i < count; ++i) titles.push_back(Words(rng, 3 + static_cast<int>(rng() % 6)));
  return titles;
}

class TitleModel : public QAbstractListModel {
public:
  explicit TitleModel(const std::vector<QString>& titles) : titles_(titles) {}
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(titles_.size()); }
  QVariant data(const QModelIndex& index, int role) const override {
    return role == Qt::DisplayRole ? QVariant(titles_[index.row()]) : QVariant();
  }

private:
  const std::vector<QString>& titles_;
};

// The owner keeps one index per node into its own list, as the program keeps one task.
struct TitleOwner {
  const std::vector<QString>& titles;
  std::vector<QCollatorSortKey> keys;
};

// What a node holds when its owner sorts often: the first bytes of the title's collation
// key beside the index, so that most comparisons never leave the node.
constexpr int kPrefixWords = 4;  // 32 bytes: about the first sixteen letters
struct KeyedNode {
  quint64 prefix[kPrefixWords];
  quint32 index;
  quint32 key;  // the same for equal titles
};

// Collation keys of the same rules as QCollator's, as bytes: one arena, one offset per
// distinct title.
struct ByteKeys {
  std::vector<unsigned char> arena;
  std::vector<quint32> offsets;
  std::vector<std::array<quint64, kPrefixWords>> prefixes;
  std::vector<quint32> keyOf;  // per title: its distinct key

  void Prepare(const std::vector<QString>& titles, const char* locale) {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open(locale, &status);
    arena.clear();
    offsets.assign(1, 0);
    prefixes.clear();
    std::vector<uint8_t> buffer(256);
    QHash<QString, quint32> known;
    keyOf.clear();
    keyOf.reserve(titles.size());
    for (const QString& title : titles) {
      const auto it = known.constFind(title);
      if (it != known.constEnd()) {
        keyOf.push_back(*it);
        continue;
      }
      keyOf.push_back(quint32(prefixes.size()));
      known.insert(title, quint32(prefixes.size()));
      const auto* text = reinterpret_cast<const UChar*>(title.utf16());
      int32_t length = ucol_getSortKey(collator, text, int32_t(title.size()), buffer.data(), int32_t(buffer.size()));
      if (length > int32_t(buffer.size())) {
        buffer.resize(length);
        length = ucol_getSortKey(collator, text, int32_t(title.size()), buffer.data(), length);
      }
      std::array<quint64, kPrefixWords> prefix{};
      for (int i = 0; i < 8 * kPrefixWords; ++i) prefix[i / 8] = prefix[i / 8] << 8 | (i < length ? buffer[i] : 0);
      prefixes.push_back(prefix);
      arena.insert(arena.end(), buffer.begin(), buffer.begin() + length);
      offsets.push_back(quint32(arena.size()));
    }
    ucol_close(collator);
  }
  int Compare(quint32 a, quint32 b) const {
    // ICU keys end in a zero byte, so the shorter key's end decides like a string's.
    const unsigned char* ka = arena.data() + offsets[a];
    const unsigned char* kb = arena.data() + offsets[b];
    return std::strcmp(reinterpret_cast<const char*>(ka), reinterpret_cast<const char*>(kb));
  }
};

std::unique_ptr<TLazyStringTree> MakeTree(TitleOwner& owner, int count) {
  auto tree = std::make_unique<TLazyStringTree>();
  tree->SetNodeDataSize(sizeof(KeyedNode));
  tree->OnInitNode = [](TBaseLazyTree* t, PLazyNode, PLazyNode node, TLazyNodeInitStates&) {
    t->GetNodeData<KeyedNode>(node)->index = node->Index;
  };
  tree->OnGetText = [&owner](TBaseLazyTree* t, PLazyNode node, int, TLSTTextType, QString& text) {
    text = owner.titles[t->GetNodeData<KeyedNode>(node)->index];
  };
  tree->SetRootNodeCount(static_cast<unsigned>(count));
  for (PLazyNode run = tree->GetFirst(); run; run = tree->GetNextSiblingNode(run)) {
  }
  return tree;
}

void Print(const char* what, int nodes, double ours, double peer) {
  std::printf("%-14s %9d   ours %10.3f ms   peer %10.3f ms   ratio %7.1fx\n", what, nodes, ours, peer,
              peer / std::max(ours, 1e-6));
}

bool InCollationOrder(TLazyStringTree& tree, const QCollator& collator) {
  for (PLazyNode n = tree.GetFirst(); n && tree.GetNextSiblingNode(n); n = tree.GetNextSiblingNode(n))
    if (collator.compare(tree.GetCellText(n, 0), tree.GetCellText(tree.GetNextSiblingNode(n), 0)) > 0) return false;
  return true;
}

void Sorting(int count) {
  const std::vector<QString> titles = Titles(count);
  TitleOwner owner{titles, {}};
  const QCollator collator;
  const QByteArray icuLocale = QLocale().name().toLatin1();
  ByteKeys byteKeys;
  std::vector<double> prepare, ours, prepareQt, oursQt, peer;
  bool ordered = true;
  for (int run = 0; run < 3; ++run) {
    // The owner keeps a key prefix in each node and the whole key beside it.
    auto tree = MakeTree(owner, count);
    prepare.push_back(Ms([&] {
      byteKeys.Prepare(titles, icuLocale.constData());
      for (PLazyNode n = tree->GetFirst(); n; n = tree->GetNextSiblingNode(n)) {
        auto* data = tree->GetNodeData<KeyedNode>(n);
        data->key = byteKeys.keyOf[data->index];
        std::copy_n(byteKeys.prefixes[data->key].begin(), kPrefixWords, data->prefix);
      }
    }));
    tree->OnCompareNodes = [&byteKeys](TBaseLazyTree* t, PLazyNode a, PLazyNode b, int, int& result) {
      const auto* x = t->GetNodeData<KeyedNode>(a);
      const auto* y = t->GetNodeData<KeyedNode>(b);
      if (x->key == y->key) {
        result = 0;
        return;
      }
      for (int i = 0; i < kPrefixWords; ++i)
        if (x->prefix[i] != y->prefix[i]) {
          result = x->prefix[i] < y->prefix[i] ? -1 : 1;
          return;
        }
      result = byteKeys.Compare(x->key, y->key);
    };
    ours.push_back(Ms([&] { tree->SortTree(0, true, false); }));
    if (run == 0) ordered = ordered && InCollationOrder(*tree, collator);

    // The plainest owner: one QCollatorSortKey per node in its own list.
    tree = MakeTree(owner, count);
    prepareQt.push_back(Ms([&] {
      owner.keys.clear();
      owner.keys.reserve(titles.size());
      for (const QString& title : titles) owner.keys.push_back(collator.sortKey(title));
    }));
    tree->OnCompareNodes = [&owner](TBaseLazyTree* t, PLazyNode a, PLazyNode b, int, int& result) {
      result = owner.keys[t->GetNodeData<KeyedNode>(a)->index].compare(owner.keys[t->GetNodeData<KeyedNode>(b)->index]);
    };
    oursQt.push_back(Ms([&] { tree->SortTree(0, true, false); }));
    if (run == 0) ordered = ordered && InCollationOrder(*tree, collator);
  }
  // A fresh proxy each time: one that sorted already would find nothing to do.
  for (int run = 0; run < 3; ++run) {
    TitleModel model(titles);
    QSortFilterProxyModel proxy;
    proxy.setSortLocaleAware(true);
    proxy.setSourceModel(&model);
    QTreeView view;
    view.setUniformRowHeights(true);
    view.setModel(&proxy);
    peer.push_back(Ms([&] { proxy.sort(0, Qt::AscendingOrder); }));
  }
  if (!ordered) std::printf("SORT ORDER WRONG\n");
  std::printf("%-14s %9d   ours %10.3f ms   (collation keys and node prefixes, once per node)\n", "sort keys", count,
              Median(prepare));
  Print("sort", count, Median(ours), Median(peer));
  std::printf("%-14s %9d   ours %10.3f ms   (QCollatorSortKey per node, once)\n", "sort keys Qt", count,
              Median(prepareQt));
  Print("sort Qt keys", count, Median(oursQt), Median(peer));
}

void SearchMiss(int count) {
  const std::vector<QString> titles = Titles(count);
  TitleOwner owner{titles, {}};
  auto tree = MakeTree(owner, count);
  tree->SetIncrementalSearch(isAll);
  std::vector<double> ours, peer;
  for (int run = 0; run < 9; ++run) {
    ours.push_back(Ms([&] { tree->IncrementalSearchKey(QChar('Z')); }));  // no title starts with Z
    tree->HandleTimer(SearchTimer);
  }
  TitleModel model(titles);
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(&model);
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setModel(&proxy);
  for (int run = 0; run < 9; ++run) {
    peer.push_back(Ms([&] { view.keyboardSearch(QStringLiteral("Z")); }));
    view.keyboardSearch(QString());  // starts the next search over
  }
  Print("search miss", count, Median(ours), Median(peer));
}

void SelectAll(int count) {
  const std::vector<QString> titles = Titles(count);
  TitleOwner owner{titles, {}};
  auto tree = MakeTree(owner, count);
  tree->TreeOptions().SetSelectionOptions({toMultiSelect});
  std::vector<double> ours, peer;
  for (int run = 0; run < 5; ++run)
    ours.push_back(Ms([&] {
      tree->SelectAllNodes(false);
      tree->UnselectAll();
    }));
  TitleModel model(titles);
  QSortFilterProxyModel proxy;
  proxy.setSourceModel(&model);
  QTreeView view;
  view.setUniformRowHeights(true);
  view.setSelectionMode(QAbstractItemView::ExtendedSelection);
  view.setModel(&proxy);
  for (int run = 0; run < 5; ++run)
    peer.push_back(Ms([&] {
      view.selectAll();
      view.clearSelection();
    }));
  Print("select all", count, Median(ours), Median(peer));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  // A user's locale, so that both sides collate by real rules rather than by code.
  qputenv("LC_ALL", "de_DE.UTF-8");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  const int sortNodes = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
  std::printf("String tree next to QTreeView + QSortFilterProxyModel, offscreen, %s collation; medians\n",
              qPrintable(QLocale().name()));
  Sorting(sortNodes);
  SearchMiss(100000);
  SelectAll(1000000);
  return 0;
}
