#pragma once
#include <cstdint>

// One (vendor, product) filter entry. A half outside 0..65534 matches every device.
struct VidPidPair {
  std::int32_t vid;
  std::int32_t pid;
};
