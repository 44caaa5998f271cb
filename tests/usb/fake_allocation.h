#pragma once
// Makes the USB layer's allocations fail on demand and records their sizes.
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "usb/allocation.h"

class ScopedFakeAllocation {
 public:
  // fail(size, call number from 1) returning true makes that allocation fail.
  std::function<bool(std::size_t size, int call)> fail;
  std::vector<std::size_t> sizes;

  ScopedFakeAllocation() {
    current_ = this;
    SetAllocateFunction(&Allocate);
  }
  ~ScopedFakeAllocation() {
    SetAllocateFunction(nullptr);
    current_ = nullptr;
  }
  ScopedFakeAllocation(const ScopedFakeAllocation&) = delete;
  ScopedFakeAllocation& operator=(const ScopedFakeAllocation&) = delete;

  // Fails the n-th allocation of exactly this size.
  void FailNthOfSize(std::size_t size, int n) {
    auto seen = std::make_shared<int>(0);
    fail = [size, n, seen](std::size_t asked, int) { return asked == size && ++*seen == n; };
  }

 private:
  static void* Allocate(std::size_t size) {
    ScopedFakeAllocation& self = *current_;
    self.sizes.push_back(size);
    if (self.fail && self.fail(size, static_cast<int>(self.sizes.size()))) return nullptr;
    return std::malloc(size);
  }
  static inline ScopedFakeAllocation* current_ = nullptr;
};
