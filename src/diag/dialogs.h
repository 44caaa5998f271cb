#pragma once
// Modal message boxes. Windows are opaque handles in the core; 0 is "no window".
#include <cstdint>
#include <optional>
#include <string>

using WindowHandle = std::uintptr_t;

constexpr std::uint32_t kMbOk = 0x00000000;  // MB_OK

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // caption: no value means the system's default title (a null caption).
  virtual int MessageBoxW(WindowHandle owner, const std::u16string& text,
                          const std::optional<std::u16string>& caption, std::uint32_t type) = 0;
};
