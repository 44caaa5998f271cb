#pragma once
// A system that may or may not offer GetNativeSystemInfo; calls are recorded.
#include <string>
#include <vector>

#include "config/system_info.h"

class FakeSystemInfo : public SystemInfoProbe {
 public:
  static constexpr ModuleHandle kKernel = 0x7C800000;
  static constexpr ProcAddress kNative = 0x7C812345;

  bool hasKernel32 = true;
  bool hasNativeSystemInfo = true;
  std::uint16_t nativeArchitecture = kProcessorArchitectureAmd64;
  std::uint16_t emulatedArchitecture = 0;  // what GetSystemInfo says: x86 for a 32-bit process
  std::vector<std::u16string> calls;

  ModuleHandle GetModuleHandleW(const std::u16string& moduleName) override {
    calls.push_back(u"GetModuleHandleW " + moduleName);
    return hasKernel32 && moduleName == u"kernel32" ? kKernel : 0;
  }
  ProcAddress GetProcAddress(ModuleHandle module, const std::string& procName) override {
    calls.push_back(u"GetProcAddress " + std::u16string(procName.begin(), procName.end()));
    return module == kKernel && hasNativeSystemInfo && procName == "GetNativeSystemInfo" ? kNative : 0;
  }
  void GetNativeSystemInfo(ProcAddress function, SystemInfo& info) override {
    calls.push_back(u"GetNativeSystemInfo");
    if (function == kNative) info.processorArchitecture = nativeArchitecture;
  }
  void GetSystemInfo(SystemInfo& info) override {
    calls.push_back(u"GetSystemInfo");
    info.processorArchitecture = emulatedArchitecture;
  }
};
