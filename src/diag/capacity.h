#pragma once
// The system's name and path fields: 260 UTF-16 units, terminator included (MAX_PATH).
#include <cstddef>

constexpr std::size_t kPathCapacity = 260;
