#pragma once
// The ask-size-then-fill protocol of the system's variable-size queries, written once: ask for
// the size, allocate it, fill, and ask again when the size grew in between (another process
// added a printer, say). The thread's last-error value is read here, right after each call.
#include <windows.h>

#include <memory>
#include <new>

#include "diag/read.h"

// A zeroed byte buffer that may fail to allocate.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(DWORD size) : bytes_(size ? new (std::nothrow) BYTE[size]() : nullptr), size_(size) {}
  explicit operator bool() const { return bytes_ != nullptr; }
  BYTE* get() const { return bytes_.get(); }
  DWORD size() const { return size_; }

 private:
  std::unique_ptr<BYTE[]> bytes_;
  DWORD size_ = 0;
};

// How often a grown size is asked for again before the read counts as failed.
constexpr int kSizeRetries = 8;

// call(BYTE* buffer, DWORD size, DWORD* needed) -> BOOL, with the last-error value of the
// system's convention (ERROR_INSUFFICIENT_BUFFER when the buffer is too small). On Done, buffer
// holds what the call filled. A size query that names no size is a failed size query.
template <class Call>
ReadStage FillBuffer(Call&& call, ByteBuffer& buffer, DWORD& code) {
  code = 0;
  DWORD needed = 0;
  if (call(nullptr, 0, &needed)) return ReadStage::SizeQuerySucceeded;
  code = ::GetLastError();
  if (code != ERROR_INSUFFICIENT_BUFFER || needed == 0) return ReadStage::SizeQueryFailed;
  for (int attempt = 0;; ++attempt) {
    buffer = ByteBuffer(needed);
    if (!buffer) {
      code = ERROR_NOT_ENOUGH_MEMORY;
      return ReadStage::NoMemory;
    }
    DWORD grown = 0;
    if (call(buffer.get(), buffer.size(), &grown)) {
      code = 0;
      return ReadStage::Done;
    }
    code = ::GetLastError();
    // Only a size larger than the one just given is worth another try.
    if (code != ERROR_INSUFFICIENT_BUFFER || grown <= needed || attempt + 1 >= kSizeRetries) {
      return ReadStage::FillFailed;
    }
    needed = grown;
  }
}

// FillBuffer, then decode(const BYTE* buffer, DWORD size) -> T on success.
template <class T, class Call, class Decode>
Read<T> ReadWithBuffer(Call&& call, Decode&& decode) {
  ByteBuffer buffer;
  DWORD code = 0;
  const ReadStage stage = FillBuffer(call, buffer, code);
  if (stage != ReadStage::Done) return Read<T>::Failed(stage, code);
  return Read<T>::Of(decode(static_cast<const BYTE*>(buffer.get()), buffer.size()));
}
