#pragma once
// Which live tree of this process data came from. The "Lazy Tree Reference" format holds a
// random token drawn once per process and a number given to each tree for its life, never
// an address: a reference is resolved only through the list of live trees, so data from
// another process, from an earlier run or from a tree that is gone resolves to nothing.
#include <QByteArray>

#include <cstdint>

class TBaseLazyTree;

// Size of a reference: the 64-bit process token, then the 32-bit tree number.
inline constexpr int kTreeReferenceSize = 12;

// Called by the tree's constructor and destructor.
std::uint32_t RegisterLiveTree(TBaseLazyTree* Tree);
void UnregisterLiveTree(std::uint32_t Id);

std::uint64_t ProcessTreeToken();
QByteArray EncodeTreeReference(std::uint32_t TreeId);
// The live tree a reference names; nil for any other bytes.
TBaseLazyTree* ResolveTreeReference(const QByteArray& Reference);
