#pragma once
// The spooler's ask-size-then-fill calls: a size of 0 asks, any other size is allocated here,
// passed, and decoded when the call succeeds.
#include <windows.h>

#include <memory>
#include <new>

#include "spooler/spooler.h"

// A zeroed byte buffer that may fail to allocate.
class ByteBuffer {
 public:
  explicit ByteBuffer(DWORD size) : bytes_(size ? new (std::nothrow) BYTE[size]() : nullptr), size_(size) {}
  explicit operator bool() const { return bytes_ != nullptr; }
  BYTE* get() const { return bytes_.get(); }
  DWORD size() const { return size_; }

 private:
  std::unique_ptr<BYTE[]> bytes_;
  DWORD size_;
};

// call(BYTE* buffer, DWORD size) -> BOOL; decode(const BYTE* buffer) on success.
template <class Call, class Decode>
SpoolResult CallWithBuffer(DWORD size, Call call, Decode decode) {
  if (size == 0) return call(nullptr, 0) ? SpoolResult::Succeeded : SpoolResult::Failed;
  ByteBuffer buffer(size);
  if (!buffer) {
    ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return SpoolResult::NoMemory;
  }
  if (!call(buffer.get(), buffer.size())) return SpoolResult::Failed;
  decode(buffer.get());
  return SpoolResult::Succeeded;
}
