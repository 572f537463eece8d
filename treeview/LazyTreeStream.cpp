// The tree stream's byte buffer, its errors and the structural check that runs before a
// node chunk is read into a tree.
#include "treeview/LazyTreeStream.h"

#include <vector>

void TLazyTreeStream::Grow(qint64 size) {
  // Doubling keeps a long run of small writes linear; the room counts as bytes of the
  // array, so a write within it costs no call.
  bytes_.resize(std::max<qint64>({size, 2 * bytes_.size(), 256}));
}

void TLazyTreeStream::SetSize(qint64 size) {
  size = std::max<qint64>(size, 0);
  if (size > size_) {
    if (size > bytes_.size()) Grow(size);
    std::memset(bytes_.data() + size_, 0, static_cast<std::size_t>(size - size_));
  }
  size_ = size;
  position_ = std::min(position_, size);
}

void RaiseTreeStreamError(int helpContext) {
  switch (helpContext) {
    case hcTFWrongStreamFormat:
      throw ELazyTreeError(QStringLiteral("Unable to load tree structure, the format is wrong."), helpContext);
    case hcTFWrongStreamVersion:
      throw ELazyTreeError(QStringLiteral("Unable to load tree structure, the version is unknown."), helpContext);
    case hcTFStreamTooSmall:
      throw ELazyTreeError(QStringLiteral("Unable to load tree structure, not enough data available."), helpContext);
    case hcTFCorruptStream1:
      throw ELazyTreeError(QStringLiteral("Stream data corrupt. A node's anchor chunk is missing."), helpContext);
    default:
      throw ELazyTreeError(QStringLiteral("Stream data corrupt. Unexpected data after node's end position."),
                           hcTFCorruptStream2);
  }
}

namespace {

std::uint32_t Word32(const char* at) { return qFromLittleEndian<std::uint32_t>(at); }

}  // namespace

void CheckNodeChunk(const TLazyTreeStream& stream, int version) {
  const char* const data = stream.Bytes().constData();
  const qint64 fields = BaseChunkFieldsSize(version);
  // The least a child can take: its node chunk holding only a base chunk.
  const qint64 smallestNode = 2 * kChunkHeaderSize + fields;

  // The open chunks, innermost last: a node chunk's parts, or a base chunk's children.
  struct Open {
    bool children;
    qint64 end;
    std::uint32_t childrenLeft;
  };
  // A stack by hand: it stays in line in the loop, which runs once or twice per chunk.
  std::vector<Open> open(32);
  std::size_t top = 0;
  auto push = [&](Open chunk) {
    if (top == open.size()) open.resize(2 * top);
    open[top++] = chunk;
  };
  qint64 position = stream.Position();
  int depth = 0;

  // A node chunk's header at position, inside a chunk ending at end.
  auto enterNode = [&](qint64 end) {
    if (end - position < kChunkHeaderSize || Word32(data + position) != NodeChunk)
      RaiseTreeStreamError(hcTFCorruptStream1);
    const std::uint32_t size = Word32(data + position + 4);
    position += kChunkHeaderSize;
    if (size > end - position) RaiseTreeStreamError(hcTFCorruptStream2);
    if (++depth > kMaxStreamNodeDepth) RaiseTreeStreamError(hcTFCorruptStream2);
    push({false, position + size, 0});
  };

  enterNode(stream.ReadEnd());
  while (top > 0) {
    Open& chunk = open[top - 1];
    if (chunk.children) {
      if (chunk.childrenLeft == 0) {
        if (position != chunk.end) RaiseTreeStreamError(hcTFCorruptStream2);
        --top;
        continue;
      }
      --chunk.childrenLeft;
      enterNode(chunk.end);
      continue;
    }
    if (position == chunk.end) {
      --top;
      --depth;
      continue;
    }
    if (chunk.end - position < kChunkHeaderSize) RaiseTreeStreamError(hcTFCorruptStream2);
    const std::uint32_t type = Word32(data + position);
    const std::uint32_t size = Word32(data + position + 4);
    position += kChunkHeaderSize;
    if (size > chunk.end - position) RaiseTreeStreamError(hcTFCorruptStream2);
    const qint64 partEnd = position + size;
    if (type == BaseChunk) {
      if (size < fields) RaiseTreeStreamError(hcTFCorruptStream2);
      const std::uint32_t childCount = Word32(data + position);
      position += fields;
      if (std::int64_t(childCount) * smallestNode > partEnd - position) RaiseTreeStreamError(hcTFCorruptStream1);
      push({true, partEnd, childCount});
      continue;
    }
    if (type == CaptionChunk && size % 2 != 0) RaiseTreeStreamError(hcTFCorruptStream2);
    position = partEnd;
  }
}

void WriteCaptionChunk(TLazyTreeStream& stream, const QString& text) {
  stream.WriteValue<std::uint32_t>(CaptionChunk);
  stream.WriteValue<std::uint32_t>(static_cast<std::uint32_t>(2 * text.size()));
  for (QChar c : text) stream.WriteValue<std::uint16_t>(c.unicode());
}

QString ReadCaptionText(TLazyTreeStream& stream, std::uint32_t size) {
  if (size % 2 != 0 || size > stream.Remaining()) RaiseTreeStreamError(hcTFCorruptStream2);
  QString text(static_cast<qsizetype>(size / 2), Qt::Uninitialized);
  for (QChar& c : text) {
    std::uint16_t unit = 0;
    stream.ReadValue(unit);
    c = QChar(unit);
  }
  return text;
}
