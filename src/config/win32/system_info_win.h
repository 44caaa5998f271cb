#pragma once
#include "config/system_info.h"

class Win32SystemInfo : public SystemInfoProbe {
 public:
  ModuleHandle GetModuleHandleW(const std::u16string& moduleName) override;
  ProcAddress GetProcAddress(ModuleHandle module, const std::string& procName) override;
  void GetNativeSystemInfo(ProcAddress function, SystemInfo& info) override;
  void GetSystemInfo(SystemInfo& info) override;
  bool IsWow64Process2(ProcAddress function, std::uint16_t& processMachine, std::uint16_t& nativeMachine) override;
};

// IsArm64System with the Win32 system probe.
bool IsArm64System();
