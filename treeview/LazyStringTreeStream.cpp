// The string tree's part of the tree stream: with toSaveCaptions, the main column's text
// of every initialised node follows the node's other chunks, and reading hands it back to
// the owner as a new text.
#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeStream.h"

void TCustomLazyStringTree::WriteNodeParts(TLazyTreeStream& stream, PLazyNode node) {
  TBaseLazyTree::WriteNodeParts(stream, node);
  if (!StringOptions().Contains(toSaveCaptions) || !IsRealNode(node) || !node->Has(nsInitialized)) return;
  const QString text = GetCellText(node, MainColumn());
  if (!text.isEmpty()) WriteCaptionChunk(stream, text);
}

bool TCustomLazyStringTree::ReadNodePart(TLazyTreeStream& stream, int version, PLazyNode node,
                                         std::uint32_t chunkType, std::uint32_t chunkSize) {
  if (chunkType != CaptionChunk) return TBaseLazyTree::ReadNodePart(stream, version, node, chunkType, chunkSize);
  SetCellText(node, MainColumn(), ReadCaptionText(stream, chunkSize));
  return true;
}
