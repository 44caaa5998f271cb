#pragma once
// The thread's last-error value, as the Win32 calls leave it.
#include <cstdint>

class LastError {
 public:
  virtual ~LastError() = default;
  virtual std::uint32_t GetLastError() = 0;
  virtual void SetLastError(std::uint32_t code) = 0;
};

constexpr std::uint32_t kErrorInsufficientBuffer = 122;  // ERROR_INSUFFICIENT_BUFFER
constexpr std::uint32_t kErrorAlreadyExists = 183;       // ERROR_ALREADY_EXISTS
