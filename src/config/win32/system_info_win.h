#pragma once
#include "config/system_info.h"

class Win32SystemInfo : public SystemInfoProbe {
 public:
  ModuleHandle GetModuleHandleW(const std::u16string& moduleName) override;
  ProcAddress GetProcAddress(ModuleHandle module, const std::string& procName) override;
  void GetNativeSystemInfo(ProcAddress function, SystemInfo& info) override;
  void GetSystemInfo(SystemInfo& info) override;
};
