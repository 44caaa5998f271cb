#pragma once
#include "config/module_path.h"

class Win32ModulePath : public ModulePath {
 public:
  std::uint32_t GetModuleFileNameW(std::u16string& filename, std::uint32_t size) override;
  bool PathRemoveFileSpecW(std::u16string& path) override;
};
