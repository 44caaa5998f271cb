#pragma once
// Where the running executable lives.
#include <cstdint>
#include <string>

class ModulePath {
 public:
  virtual ~ModulePath() = default;
  // The running executable's full path, cut to size - 1 units; the result is its length (0 on failure).
  virtual std::uint32_t GetModuleFileNameW(std::u16string& filename, std::uint32_t size) = 0;
  // Removes the last component and the backslash before it, in place; false when nothing was removed.
  virtual bool PathRemoveFileSpecW(std::u16string& path) = 0;
};
