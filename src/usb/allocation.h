#pragma once
// Heap blocks of the USB layer. Everything allocated here is released with free(), so the
// results of NarrowToWideText and DuplicateWideText can be handed to any caller.
#include <cstddef>
#include <cstdlib>
#include <memory>

void* AllocateBytes(std::size_t size);
void* AllocateZeroedBytes(std::size_t size);

// Replaces malloc for the process (null restores it), so that tests can make allocations fail.
// The replacement must return blocks that free() accepts, or null.
using AllocateFunction = void* (*)(std::size_t size);
void SetAllocateFunction(AllocateFunction allocate);

struct FreeHeapBlock {
  void operator()(void* block) const { std::free(block); }
};

// Owns a block of this layer (or null) and frees it when the scope ends.
template <class T>
using HeapBlock = std::unique_ptr<T[], FreeHeapBlock>;

// A zeroed block of size bytes seen as Ts, owned; null when it cannot be allocated.
template <class T>
HeapBlock<T> AllocateZeroedBlock(std::size_t size) {
  return HeapBlock<T>(static_cast<T*>(AllocateZeroedBytes(size)));
}
