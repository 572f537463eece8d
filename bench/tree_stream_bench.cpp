// The tree stream next to the raw I/O of the same bytes, in one run: a two-level tree
// (one parent per hundred nodes) whose owner keeps eight bytes per node, written with
// WriteTreeStream and put into a file, and read back with ReadTreeFile into an empty
// tree; beside it the same bytes written to a file and read back whole with write(2)
// and read(2). Files in a temporary folder, the page cache warm; medians of several runs.
#include "BenchTiming.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTrees.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kChildrenPerParent = 99;

std::unique_ptr<TBaseLazyTree> MakeTree() {
  auto tree = std::make_unique<TBaseLazyTree>();
  tree->SetNodeDataSize(sizeof(quint64));
  tree->OnSaveNode = [](TBaseLazyTree* t, PLazyNode node, TLazyTreeStream& stream) {
    stream.Write(t->GetNodeData(node), sizeof(quint64));
  };
  tree->OnLoadNode = [](TBaseLazyTree* t, PLazyNode node, TLazyTreeStream& stream) {
    stream.Read(t->GetNodeData(node), sizeof(quint64));
  };
  return tree;
}

void Fill(TBaseLazyTree& tree, int nodes) {
  const int parents = std::max(nodes / (kChildrenPerParent + 1), 1);
  tree.BeginTreeUpdate();
  tree.SetRootNodeCount(parents);
  for (PLazyNode parent = tree.GetFirstRaw(); parent; parent = parent->NextSibling) {
    tree.SetNodeChildCount(parent, kChildrenPerParent);
    if (parent->Index % 2 == 0) tree.ToggleExpanded(parent);
  }
  quint64 id = 0;
  // Every node initialised, as in a tree the user has seen: initialising is not the stream's cost.
  for (PLazyNode node = tree.GetFirst(); node; node = tree.GetNext(node)) *tree.GetNodeData<quint64>(node) = ++id;
  tree.EndTreeUpdate();
}

void WriteFile(const QString& name, const QByteArray& bytes) {
  const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size()) std::abort();
  ::close(fd);
}

QByteArray ReadFile(const QString& name) {
  const int fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  QByteArray bytes(QFile(name).size(), Qt::Uninitialized);
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
    if (n <= 0) std::abort();
    done += n;
  }
  ::close(fd);
  return bytes;
}

void Measure(int nodes, const QString& folder) {
  auto source = MakeTree();
  Fill(*source, nodes);
  const QString ours = folder + "/tree.stream", raw = folder + "/raw.bytes";
  std::vector<double> write, rawWrite, read, rawRead;
  qint64 size = 0;
  for (int i = 0; i < 9; ++i) {
    write.push_back(Ms([&] {
      TLazyTreeStream stream;
      source->WriteTreeStream(stream);
      WriteFile(ours, stream.Bytes());
      size = stream.Size();
    }));
    const QByteArray bytes = ReadFile(ours);
    rawWrite.push_back(Ms([&] { WriteFile(raw, bytes); }));
    auto target = MakeTree();
    read.push_back(Ms([&] { target->ReadTreeFile(ours); }));
    if (target->TotalCount() != source->TotalCount()) std::abort();
    rawRead.push_back(Ms([&] {
      const QByteArray back = ReadFile(raw);
      if (back.size() != size) std::abort();
    }));
  }
  const double w = Median(write), rw = Median(rawWrite), r = Median(read), rr = Median(rawRead);
  std::printf("%9d nodes, %8.2f MB   write %8.3f ms (raw %7.3f ms, %5.2fx)   read %8.3f ms (raw %7.3f ms, %5.2fx)"
              "   both %5.2fx\n",
              nodes, size / 1e6, w, rw, w / rw, r, rr, r / rr, (w + r) / (rw + rr));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QTemporaryDir folder;
  std::vector<int> sizes = {1000, 10000, 100000, 1000000};
  if (argc > 1) sizes = {QByteArray(argv[1]).toInt()};
  std::printf("Tree stream next to write(2) and read(2) of the same bytes; medians of 9 runs\n");
  for (int n : sizes) Measure(n, folder.path());
  return 0;
}
