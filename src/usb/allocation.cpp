#include "usb/allocation.h"

#include <cstdlib>
#include <cstring>

namespace {
AllocateFunction g_allocate = nullptr;
}

void SetAllocateFunction(AllocateFunction allocate) { g_allocate = allocate; }

void* AllocateBytes(std::size_t size) {
  // malloc(0) may return null or a unique block; neither is a useful result here.
  if (size == 0) size = 1;
  return g_allocate ? g_allocate(size) : std::malloc(size);
}

void* AllocateZeroedBytes(std::size_t size) {
  void* block = AllocateBytes(size);
  if (block) std::memset(block, 0, size == 0 ? 1 : size);
  return block;
}
