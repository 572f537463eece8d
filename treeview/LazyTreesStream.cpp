// Writing nodes into the tree stream and reading them back (the format is in
// LazyTreeStream.h).
//
// Streams come from the clipboard and from drops, so reading trusts nothing: a node
// chunk's whole structure is checked before anything of it is built, every read stays
// inside the chunk it belongs to, and the states, heights and check values a node takes
// from the stream are brought into their ranges. Costs: writing and reading are O(nodes
// + bytes); a node's totals are summed once from its children when they are read.
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint16_t Bit(TLazyNodeState s) { return static_cast<std::uint16_t>(1u << s); }

// Flags of a running operation, never written.
constexpr std::uint16_t kNotWritten =
    Bit(nsChecking) | Bit(nsCutOrCopy) | Bit(nsDeleting) | Bit(nsFreeNotify) | Bit(nsHeightMeasured);
// Flags a node takes from a stream; the rest are the tree's own bookkeeping (a node
// marked as being deleted or cleared would be skipped when it is freed) or derived.
constexpr std::uint16_t kReadable = Bit(nsInitialized) | Bit(nsDisabled) | Bit(nsExpanded) | Bit(nsHasChildren) |
                                    Bit(nsVisible) | Bit(nsSelected) | Bit(nsMultiline);

// Writes a chunk header with its size left open; returns where the chunk begins.
qint64 BeginChunk(TLazyTreeStream& stream, TTreeStreamChunk type) {
  const qint64 start = stream.Position();
  stream.WriteValue<std::uint32_t>(type);
  stream.WriteValue<std::uint32_t>(0);
  return start;
}

// Fills in the size of the chunk begun at start: everything written since its header.
void EndChunk(TLazyTreeStream& stream, qint64 start) {
  stream.PatchValue(start + 4, static_cast<std::uint32_t>(stream.Position() - start - kChunkHeaderSize));
}

}  // namespace

// The steps that finish the nodes a chunk was read into.
struct TBaseLazyTree::TStreamSteps {
  // The totals of a node whose fields and children were just read.
  static void FinishLoadedNode(TBaseLazyTree& t, PLazyNode node);
  // The selection of the nodes read (counted as they are read, so most reads skip the walk).
  static void SelectLoadedNodes(TBaseLazyTree& t, PLazyNode node);
};

// ---- Owner events -----------------------------------------------------------------------

void TBaseLazyTree::DoSaveNode(PLazyNode node, TLazyTreeStream& stream) {
  if (OnSaveNode) OnSaveNode(this, node == RootNode() ? nullptr : node, stream);
}

void TBaseLazyTree::DoLoadNode(PLazyNode node, TLazyTreeStream& stream) {
  if (OnLoadNode) OnLoadNode(this, node == RootNode() ? nullptr : node, stream);
}

// ---- Writing ------------------------------------------------------------------------------

void TBaseLazyTree::WriteTreeStream(TLazyTreeStream& stream, PLazyNode node) {
  const qint64 start = stream.Position();
  try {
    for (std::uint16_t word : kTreeStreamMagic) stream.WriteValue(word);
    const qint64 countAt = stream.Position();
    stream.WriteValue<std::uint32_t>(0);
    std::uint32_t written = 0;
    if (IsRealNode(node)) {
      WriteNodeChunk(stream, node);
      written = 1;
    } else {
      for (PLazyNode run = RootNode()->FirstChild; run; run = run->NextSibling, ++written) WriteNodeChunk(stream, run);
    }
    // The count says what was written, even if initialising a node changed the top level.
    stream.PatchValue(countAt, written);
  } catch (...) {
    stream.SetSize(start);  // no half-written tree stays behind
    throw;
  }
}

void TBaseLazyTree::WriteNodeChunk(TLazyTreeStream& stream, PLazyNode node) {
  // The nesting is the user's, so it is walked with a stack of open chunks rather than
  // by recursion; it stops at the depth the reader accepts, so nothing is written that
  // could not be read back.
  struct Open {
    PLazyNode node;
    qint64 nodeStart;
    qint64 baseStart;
    PLazyNode child;  // the child written last, nil before the first
    std::uint32_t children;
  };
  std::vector<Open> open;
  const bool initOnSave = options_->MiscOptions().Contains(toInitOnSave);
  auto enter = [&](PLazyNode n) {
    if (open.size() >= static_cast<std::size_t>(kMaxStreamNodeDepth))
      throw ELazyTreeError(QStringLiteral("Unable to save tree structure, the nodes are nested more than %1 levels deep.")
                               .arg(kMaxStreamNodeDepth),
                           hcTFCorruptStream2);
    if (initOnSave) {
      if (!n->Has(nsInitialized)) InitializeNode(n);
      if (n->Has(nsHasChildren) && n->ChildCount == 0) InitializeChildren(n);
    }
    const qint64 nodeStart = BeginChunk(stream, NodeChunk);
    // Header and fields in one write; the child count and the size are filled in later.
    const qint64 base = stream.Position();
    char fields[kChunkHeaderSize + 17] = {};
    qToLittleEndian<std::uint32_t>(BaseChunk, fields);
    qToLittleEndian<std::uint32_t>(n->NodeHeight, fields + 12);
    qToLittleEndian<std::uint16_t>(static_cast<std::uint16_t>(n->States & ~kNotWritten), fields + 16);
    fields[18] = static_cast<char>(n->Align);
    fields[19] = static_cast<char>(n->CheckState);
    fields[20] = static_cast<char>(n->CheckType);
    stream.Write(fields, sizeof fields);  // the reserved word stays 0
    open.push_back({n, nodeStart, base, nullptr, 0});
  };
  enter(node);
  while (!open.empty()) {
    Open& top = open.back();
    // Children are written only for an initialised node; one whose children stay behind
    // is written as childless, so the stream reads back into the tree it came from.
    PLazyNode next = top.child ? top.child->NextSibling : top.node->Has(nsInitialized) ? top.node->FirstChild : nullptr;
    if (next) {
      top.child = next;
      ++top.children;
      enter(next);
      continue;
    }
    const Open done = top;
    open.pop_back();
    stream.PatchValue(done.baseStart + kChunkHeaderSize, done.children);
    EndChunk(stream, done.baseStart);
    WriteNodeParts(stream, done.node);
    EndChunk(stream, done.nodeStart);
  }
}

void TBaseLazyTree::WriteNodeParts(TLazyTreeStream& stream, PLazyNode node) {
  const qint64 user = BeginChunk(stream, UserChunk);
  DoSaveNode(node, stream);
  if (stream.Position() == user + kChunkHeaderSize)
    stream.SetSize(user);  // the owner wrote nothing: no empty chunk
  else
    EndChunk(stream, user);
}

// ---- Reading ------------------------------------------------------------------------------

void TBaseLazyTree::ReadTreeFile(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw EReadError(
        QStringLiteral("Cannot open file \"%1\". %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
  // One read of the whole file: clipboard-sized data, read at once and parsed in memory.
  QByteArray bytes(file.size(), Qt::Uninitialized);
  bytes.truncate(std::max<qint64>(file.read(bytes.data(), bytes.size()), 0));
  TLazyTreeStream stream(std::move(bytes));
  if (file.error() != QFileDevice::NoError)
    throw EReadError(QStringLiteral("Stream read error in file %1").arg(QDir::toNativeSeparators(fileName)));
  ReadTreeStream(stream);
}

void TBaseLazyTree::ReadTreeStream(TLazyTreeStream& stream) {
  if (options_->MiscOptions().Contains(toReadOnly)) return;
  // The header is checked first: a stream that is no tree at all leaves the tree as it is.
  if (stream.Remaining() < kTreeStreamHeaderSize) RaiseTreeStreamError(hcTFStreamTooSmall);
  std::uint16_t header[6];
  for (std::uint16_t& word : header) stream.ReadValue(word);
  for (int i : {0, 1, 2, 5})
    if (header[i] != kTreeStreamMagic[i]) RaiseTreeStreamError(hcTFWrongStreamFormat);
  const int version = header[3];
  if (version < 1 || version > kTreeStreamVersion) RaiseTreeStreamError(hcTFWrongStreamVersion);
  std::uint32_t count = 0;
  if (version >= 2 && !stream.ReadValue(count)) RaiseTreeStreamError(hcTFStreamTooSmall);
  // Every chunk is checked, and counted against the announced count, before the tree is
  // cleared: a stream that holds more or fewer nodes than it says is damaged, and a
  // damaged stream leaves the tree as it was.
  const qint64 first = stream.Position();
  std::uint32_t held = 0;
  while (stream.Remaining() > 0) {
    if (version >= 2 && held == count) RaiseTreeStreamError(hcTFCorruptStream2);
    CheckNodeChunk(stream, version);
    SkipNodeChunk(stream);
    ++held;
  }
  if (version >= 2 && held != count) RaiseTreeStreamError(hcTFStreamTooSmall);
  stream.SetPosition(first);

  Clear();
  {
    TTreeUpdateGuard update(*this);
    while (stream.Remaining() > 0) {
      PLazyNode node = MakeNewNode();
      InternalConnectNode(node, RootNode(), amAddChildLast);
      try {
        AddNodesFromStream(stream, version, node);
      } catch (...) {
        DeleteNode(node);  // nothing half-read stays
        throw;
      }
    }
  }
  DoNodeCopied(nullptr);
}

void TBaseLazyTree::AddNodesFromStream(TLazyTreeStream& stream, int version, PLazyNode node) {
  if (!node) node = RootNode();
  CheckNodeChunk(stream, version);
  StopValidation();
  // What the node adds to its parent and to the rows now; replaced by what it adds once
  // its fields and children are read.
  PLazyNode parent = node == RootNode() ? nullptr : node->Parent;
  auto heightShare = [&]() -> std::int64_t {
    return parent && parent->Has(nsExpanded) && node->Has(nsVisible) ? node->TotalHeight : 0;
  };
  auto rows = [&]() -> unsigned {
    if (!parent) return store_.CountVisibleChildren(RootNode());
    return IsNodeInView(node) ? 1 + store_.CountVisibleChildren(node) : 0;
  };
  loadedSelected_ = 0;
  const std::uint32_t countBefore = node->TotalCount;
  const std::int64_t heightBefore = heightShare();
  const unsigned rowsBefore = rows();
  const bool wasSelected = selection_.Contains(node);
  auto settle = [&] {
    if (wasSelected) node->Include(nsSelected);
    if (parent) {
      store_.UpdateTotalCount(parent, static_cast<int>(std::int64_t(node->TotalCount) - countBefore), true);
      store_.UpdateTotalHeight(parent, static_cast<int>(heightShare() - heightBefore), true);
      store_.UpdateHiddenChildren(parent);
    }
    store_.SetVisibleCount(VisibleCount() - rowsBefore + rows());
    if (loadedSelected_ > 0) TStreamSteps::SelectLoadedNodes(*this, node);
  };
  try {
    ReadNodeChunk(stream, version, node);
  } catch (...) {
    settle();  // the caller removes what was read, from a tree whose totals agree
    throw;
  }
  settle();
  InvalidateCache();
  if (updateCount_ == 0) {
    RestartValidation();
    UpdateScrollBars(true);
    InvalidateTree();
  }
}

void TBaseLazyTree::ReadNodeChunk(TLazyTreeStream& stream, int version, PLazyNode node) {
  std::uint32_t type = 0, size = 0;
  if (!stream.ReadValue(type) || !stream.ReadValue(size) || type != NodeChunk) RaiseTreeStreamError(hcTFCorruptStream1);
  if (size > stream.Remaining()) RaiseTreeStreamError(hcTFCorruptStream2);
  const qint64 end = stream.Position() + size;
  TStreamReadLimit nodeLimit(stream, end);
  try {
    while (stream.Position() < end) {
      std::uint32_t partType = 0, partSize = 0;
      if (!stream.ReadValue(partType) || !stream.ReadValue(partSize) || partSize > stream.Remaining())
        RaiseTreeStreamError(hcTFCorruptStream2);
      const qint64 partEnd = stream.Position() + partSize;
      {
        TStreamReadLimit partLimit(stream, partEnd);
        ReadNodePart(stream, version, node, partType, partSize);
      }
      stream.SetPosition(partEnd);
    }
  } catch (...) {
    TStreamSteps::FinishLoadedNode(*this, node);  // the totals of what was read so far
    throw;
  }
}

bool TBaseLazyTree::ReadNodePart(TLazyTreeStream& stream, int version, PLazyNode node, std::uint32_t chunkType,
                                 std::uint32_t chunkSize) {
  const qint64 start = stream.Position();
  if (chunkType == BaseChunk) {
    char fields[17];
    const int size = BaseChunkFieldsSize(version);
    if (stream.Read(fields, size) != size) RaiseTreeStreamError(hcTFCorruptStream2);
    const std::uint32_t childCount = qFromLittleEndian<std::uint32_t>(fields);
    const std::uint32_t height = qFromLittleEndian<std::uint32_t>(fields + 4);
    std::uint16_t states;
    if (version == 1) {
      // An 8-bit state whose bit 7 meant "selected"; every node of that version is visible.
      states = static_cast<std::uint8_t>(fields[8]);
      states |= (states & 0x80) ? Bit(nsSelected) : Bit(nsVisible);
    } else {
      states = qFromLittleEndian<std::uint16_t>(fields + 8);
    }
    const char* rest = fields + (version == 1 ? 9 : 10);
    const std::uint8_t align = static_cast<std::uint8_t>(rest[0]);
    const std::uint8_t checkState = static_cast<std::uint8_t>(rest[1]);
    const std::uint8_t checkType = static_cast<std::uint8_t>(rest[2]);
    if (states & Bit(nsSelected)) ++loadedSelected_;
    if (node != RootNode()) {
      node->StoreStates(static_cast<std::uint16_t>(states & kReadable));
      node->NodeHeight = static_cast<std::uint16_t>(std::min<std::uint32_t>(height, 0xFFFF));
      node->Align = std::min<std::uint8_t>(align, 100);
      node->CheckState = checkState <= csMixedPressed ? checkState : std::uint8_t{csUncheckedNormal};
      node->CheckType = checkType <= ctButton ? checkType : std::uint8_t{ctNone};
    }
    const qint64 smallestChild = 2 * kChunkHeaderSize + BaseChunkFieldsSize(version);
    if (std::int64_t(childCount) * smallestChild > stream.Remaining()) RaiseTreeStreamError(hcTFCorruptStream1);
    for (std::uint32_t i = 0; i < childCount; ++i) {
      // Connected first, then filled; the node's totals are summed once at the end.
      PLazyNode child = MakeNewNode();
      child->Parent = node;
      child->PrevSibling = node->LastChild;
      child->Index = node->LastChild ? node->LastChild->Index + 1 : 0;
      if (node->LastChild)
        node->LastChild->NextSibling = child;
      else
        node->FirstChild = child;
      node->LastChild = child;
      ++node->ChildCount;
      ReadNodeChunk(stream, version, child);
    }
    TStreamSteps::FinishLoadedNode(*this, node);
    return true;
  }
  if (chunkType == UserChunk && chunkSize > 0) {
    DoLoadNode(node, stream);
    const qint64 read = stream.Position() - start;
    if (read == chunkSize) return true;
    stream.SetPosition(start + chunkSize);  // skips what the owner left, or undoes a read too far
    return read > 0;
  }
  stream.SetPosition(start + chunkSize);
  return false;
}

void TBaseLazyTree::SkipNodeChunk(TLazyTreeStream& stream) {
  std::uint32_t type = 0, size = 0;
  if (!stream.ReadValue(type) || !stream.ReadValue(size) || type != NodeChunk) RaiseTreeStreamError(hcTFCorruptStream1);
  if (size > stream.Remaining()) RaiseTreeStreamError(hcTFCorruptStream2);
  stream.SetPosition(stream.Position() + size);
}

void TBaseLazyTree::TStreamSteps::FinishLoadedNode(TBaseLazyTree& t, PLazyNode node) {
  std::int64_t count = 1, height = node->NodeHeight;
  const bool expanded = node == t.RootNode() || node->Has(nsExpanded);
  for (PLazyNode child = node->FirstChild; child; child = child->NextSibling) {
    count += child->TotalCount;
    if (expanded && child->Has(nsVisible)) height += child->TotalHeight;
  }
  node->TotalCount = static_cast<std::uint32_t>(count);
  node->TotalHeight = static_cast<std::uint32_t>(height);
  if (node->ChildCount > 0) node->Include(nsHasChildren);
  t.store_.UpdateHiddenChildren(node);
}

void TBaseLazyTree::TStreamSteps::SelectLoadedNodes(TBaseLazyTree& t, PLazyNode node) {
  // With multiselection the selected nodes of the stream join the selection as they are;
  // without it they arrive unselected.
  const bool multi = t.options_->SelectionOptions().Contains(toMultiSelect);
  QVector<PLazyNode> added;
  PLazyNode stop = node == t.RootNode() ? nullptr : node;
  for (PLazyNode run = node == t.RootNode() ? t.RootNode()->FirstChild : node; run;) {
    if (run->Has(nsSelected) && (t.selection_.IsEmpty() || !t.selection_.Contains(run))) {
      if (multi)
        added.append(run);
      else
        run->Exclude(nsSelected);
    }
    run = t.GetNextRaw(run);
    if (stop && run && !t.NodeHasAncestor(run, stop)) break;
  }
  if (added.isEmpty()) return;
  t.selection_.Merge(std::move(added));
  t.Change(nullptr);
}
