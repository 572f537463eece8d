// Tree data on the clipboard and in drags: the formats a tree offers, the rendering of its
// nodes as tree data, and pasting and dropping tree data.
//
// Tree data is untrusted: whatever comes from the clipboard or a drop is checked whole
// (announced length, every chunk) before the first node is added, so bad data adds
// nothing. A cut from a live tree of this process moves the nodes themselves; the source
// then only drops its marks, so a node that could not move is never lost.
#include "treeview/LazyTreeDataObject.h"
#include "treeview/LazyTreeReference.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTreeUpdateGuard.h"
#include "treeview/LazyTrees.h"

#include <QClipboard>
#include <QGuiApplication>

inline constexpr int hcTFClipboardFailed = 2007;

namespace {
QString TreeDataType() { return ClipboardFormatMimeType(CF_LAZYTREEDATA()); }

QClipboard* Clipboard() { return QGuiApplication::instance() ? QGuiApplication::clipboard() : nullptr; }

// The clipboard's data object when it belongs to Tree.
TLTDataObject* ClipboardObjectOf(const TBaseLazyTree* tree) {
  QClipboard* clipboard = Clipboard();
  if (!clipboard) return nullptr;
  auto* data = qobject_cast<TLTDataObject*>(const_cast<QMimeData*>(clipboard->mimeData()));
  return data && data->Owner() == tree ? data : nullptr;
}
}  // namespace

QVector<TFormatEtc> TBaseLazyTree::ClipboardFormatEtcs() {
  QVector<TFormatEtc> formats = TClipboardFormatList::Instance().EnumerateFormats(metaObject(), &clipboardFormats_);
  if (OnGetUserClipboardFormats) OnGetUserClipboardFormats(this, formats);
  return formats;
}

std::unique_ptr<QMimeData> TBaseLazyTree::CreateClipboardData(bool) { return CreateDataObject(true); }

std::unique_ptr<QMimeData> TBaseLazyTree::CreateDataObject(bool forClipboard) {
  std::unique_ptr<QMimeData> data;
  if (OnCreateDataObject) OnCreateDataObject(this, data);
  if (!data) data = std::make_unique<TLTDataObject>(this, forClipboard);
  return data;
}

THResult TBaseLazyTree::RenderTreeData(const TFormatEtc& formatEtc, TStgMedium& medium, bool forClipboard) {
  if (formatEtc.Format != CF_LAZYTREEDATA()) {
    THResult result = E_FAIL;
    if (OnRenderOLEData) OnRenderOLEData(this, formatEtc, medium, forClipboard, result);
    return result;
  }
  if (!(formatEtc.Tymed & (TYMED_HGLOBAL | TYMED_ISTREAM))) return DV_E_TYMED;
  // The nodes in tree order, each standing for its subtree.
  const QVector<PLazyNode> nodes =
      forClipboard ? SortedCutCopySet(true) : (drag_.selection.isEmpty() ? SortedSelection(true) : drag_.selection);
  auto stream = std::make_shared<TLazyTreeStream>();
  for (PLazyNode node : nodes) WriteNodeChunk(*stream, node);
  if (formatEtc.Tymed & TYMED_HGLOBAL) {
    if (stream->Size() == 0) return E_FAIL;
    QByteArray block(4, '\0');
    qToLittleEndian<std::uint32_t>(static_cast<std::uint32_t>(stream->Size()), block.data());
    medium.Tymed = TYMED_HGLOBAL;
    medium.HGlobal = block + stream->Bytes();
    return S_OK;
  }
  stream->SetPosition(0);
  medium.Tymed = TYMED_ISTREAM;
  medium.Stream = std::move(stream);
  return S_OK;
}

TBaseLazyTree* TBaseLazyTree::SourceTreeOf(const QMimeData* data) {
  if (!data) return nullptr;
  return ResolveTreeReference(data->data(ClipboardFormatMimeType(CF_LAZYTREEREFERENCE())));
}

bool TBaseLazyTree::PasteFromClipboard() {
  if (options_->MiscOptions().Contains(toReadOnly)) return false;
  QClipboard* clipboard = Clipboard();
  const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
  if (!data) throw ELazyTreeError(QStringLiteral("Clipboard operation failed."), hcTFClipboardFailed);
  TBaseLazyTree* source = SourceTreeOf(data);
  const bool cut = source && source->TreeStates().Contains(tsCutPending);
  const bool result = ProcessTreeData(source, data, cut, defaultPasteMode_, focusedNode_);
  // The nodes that moved have left their place; the rest stay where they are, unmarked.
  if (cut) source->CancelCutCopyMarks();
  return result;
}

bool TBaseLazyTree::ProcessTreeData(TBaseLazyTree* source, const QMimeData* data, bool isCut, TLTNodeAttachMode mode,
                                   PLazyNode target) {
  if (!data || mode == amNoWhere || options_->MiscOptions().Contains(toReadOnly) || !data->hasFormat(TreeDataType()))
    return false;
  if (!IsRealNode(target)) {
    target = RootNode();
    if (mode == amInsertBefore) mode = amAddChildFirst;
    if (mode == amInsertAfter) mode = amAddChildLast;
  }

  if (source && isCut) {
    // The source's own nodes move: those it is dragging, else its cut set.
    const QVector<PLazyNode> nodes =
        source->TreeStates().Contains(tsOLEDragging) ? source->drag_.selection : source->SortedCutCopySet(true);
    const bool inOrder = mode == amInsertBefore || mode == amAddChildLast;
    TTreeUpdateGuard update(*this);
    for (qsizetype k = 0; k < nodes.size(); ++k) {
      PLazyNode node = nodes[inOrder ? k : nodes.size() - 1 - k];
      // A node cannot go into its own subtree.
      if (source == this && target != RootNode() && (node == target || NodeHasAncestor(target, node))) continue;
      if (source->MoveNode(node, target, mode, false)) source->drag_.selection.removeAll(node);
    }
    return true;
  }

  const QByteArray block = data->data(TreeDataType());
  if (block.size() < 4) return false;
  const std::uint32_t size = qFromLittleEndian<std::uint32_t>(block.constData());
  if (size > static_cast<std::uint32_t>(block.size() - 4)) RaiseTreeStreamError(hcTFCorruptStream2);
  TLazyTreeStream stream(block.mid(4, size));
  // Every chunk is checked before the first node goes in.
  while (stream.Remaining() > 0) {
    CheckNodeChunk(stream, kTreeStreamVersion);
    SkipNodeChunk(stream);
  }
  stream.SetPosition(0);
  const TChangeReason reason = source == this ? crNodeCopied : crNodeAdded;
  const PLazyNode reportedTarget = target == RootNode() ? nullptr : target;
  TTreeUpdateGuard update(*this);
  // Nodes keep their order: where each would go in front of the one before, the next
  // goes after the last one inserted.
  PLazyNode insertAt = target;
  TLTNodeAttachMode insertMode = mode;
  while (stream.Remaining() > 0) {
    PLazyNode node = MakeNewNode();
    InternalConnectNode(node, insertAt, insertMode);
    try {
      AddNodesFromStream(stream, kTreeStreamVersion, node);
    } catch (...) {
      DeleteNode(node);
      throw;
    }
    if (!DoNodeCopying(node, reportedTarget)) {
      DeleteNode(node);
      continue;
    }
    DoNodeCopied(node);
    StructureChange(node, reason);
    if (mode == amInsertAfter || mode == amAddChildFirst) {
      insertAt = node;
      insertMode = amInsertAfter;
    }
  }
  return true;
}

void TBaseLazyTree::FlushClipboard() {
  TLTDataObject* data = ClipboardObjectOf(this);
  if (!data) return;
  DoStateChange({tsClipboardFlushing});
  data->Flush();
  DoStateChange({}, {tsClipboardFlushing});
}

void TBaseLazyTree::EmptyClipboardOfThisTree() {
  if (ClipboardObjectOf(this)) Clipboard()->clear();
}
