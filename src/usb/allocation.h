#pragma once
// Heap blocks of the USB layer. Everything allocated here is released with free(), so the
// results of NarrowToWideText and DuplicateWideText can be handed to any caller.
#include <cstddef>

void* AllocateBytes(std::size_t size);
void* AllocateZeroedBytes(std::size_t size);

// Replaces malloc for the process (null restores it), so that tests can make allocations fail.
// The replacement must return blocks that free() accepts, or null.
using AllocateFunction = void* (*)(std::size_t size);
void SetAllocateFunction(AllocateFunction allocate);
