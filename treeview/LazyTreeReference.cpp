// The list of live trees behind the tree references.
#include "treeview/LazyTreeReference.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <unordered_map>

namespace {
// Trees live on the user-interface thread only, so the list needs no lock.
std::unordered_map<std::uint32_t, TBaseLazyTree*>& LiveTrees() {
  static auto* trees = new std::unordered_map<std::uint32_t, TBaseLazyTree*>;  // outlives static destruction
  return *trees;
}
std::uint32_t gNextTreeId = 1;
}  // namespace

std::uint32_t RegisterLiveTree(TBaseLazyTree* tree) {
  const std::uint32_t id = gNextTreeId++;
  LiveTrees()[id] = tree;
  return id;
}

void UnregisterLiveTree(std::uint32_t id) { LiveTrees().erase(id); }

std::uint64_t ProcessTreeToken() {
  static const std::uint64_t token = [] {
    std::uint64_t t = 0;
    while (t == 0) t = QRandomGenerator::system()->generate64();
    return t;
  }();
  return token;
}

QByteArray EncodeTreeReference(std::uint32_t treeId) {
  QByteArray bytes(kTreeReferenceSize, '\0');
  qToLittleEndian<std::uint64_t>(ProcessTreeToken(), bytes.data());
  qToLittleEndian<std::uint32_t>(treeId, bytes.data() + 8);
  return bytes;
}

TBaseLazyTree* ResolveTreeReference(const QByteArray& reference) {
  if (reference.size() != kTreeReferenceSize) return nullptr;
  if (qFromLittleEndian<std::uint64_t>(reference.constData()) != ProcessTreeToken()) return nullptr;
  auto it = LiveTrees().find(qFromLittleEndian<std::uint32_t>(reference.constData() + 8));
  return it == LiveTrees().end() ? nullptr : it->second;
}
