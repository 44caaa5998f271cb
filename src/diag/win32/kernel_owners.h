#pragma once
// One owner per kind of Windows resource that is not a seam's: kernel handles (closed with
// CloseHandle) and blocks the system allocated with LocalAlloc (freed with LocalFree).
#include <windows.h>

#include <memory>

// A kernel handle; null and INVALID_HANDLE_VALUE are none (each call says which it fails with).
class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE handle) : handle_(handle) {}
  ~KernelHandle() { reset(); }
  KernelHandle(KernelHandle&& other) noexcept : handle_(other.release()) {}
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(HANDLE handle = nullptr) {
    if (*this) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

struct LocalFreeBlock {
  void operator()(void* block) const { LocalFree(block); }
};

// A block the system allocated for the caller to free with LocalFree (CommandLineToArgvW's, say).
template <class T>
using LocalMemory = std::unique_ptr<T, LocalFreeBlock>;
