#pragma once
// A system that may or may not offer GetNativeSystemInfo and IsWow64Process2; calls are
// recorded, and IsWow64Process2 fails on demand.
#include <string>
#include <vector>

#include "config/system_info.h"

class FakeSystemInfo : public SystemInfoProbe {
 public:
  static constexpr ModuleHandle kKernel = 0x7C800000;
  static constexpr ProcAddress kNative = 0x7C812345;
  static constexpr ProcAddress kWow64Process2 = 0x7C823456;

  bool hasKernel32 = true;
  bool hasNativeSystemInfo = true;
  std::uint16_t nativeArchitecture = kProcessorArchitectureAmd64;
  std::uint16_t emulatedArchitecture = 0;  // what GetSystemInfo says: x86 for a 32-bit process
  // IsWow64Process2: present (Windows 10 1709 and later), failing, and what it reports.
  bool hasWow64Process2 = true;
  bool wow64Process2Fails = false;
  std::uint16_t processMachine = kImageFileMachineI386;  // a 32-bit process under WOW64
  std::uint16_t nativeMachine = kImageFileMachineAmd64;
  std::vector<std::u16string> calls;

  ModuleHandle GetModuleHandleW(const std::u16string& moduleName) override {
    calls.push_back(u"GetModuleHandleW " + moduleName);
    return hasKernel32 && moduleName == u"kernel32" ? kKernel : 0;
  }
  ProcAddress GetProcAddress(ModuleHandle module, const std::string& procName) override {
    calls.push_back(u"GetProcAddress " + std::u16string(procName.begin(), procName.end()));
    if (module != kKernel) return 0;
    if (hasNativeSystemInfo && procName == "GetNativeSystemInfo") return kNative;
    if (hasWow64Process2 && procName == "IsWow64Process2") return kWow64Process2;
    return 0;
  }
  void GetNativeSystemInfo(ProcAddress function, SystemInfo& info) override {
    calls.push_back(u"GetNativeSystemInfo");
    if (function == kNative) info.processorArchitecture = nativeArchitecture;
  }
  void GetSystemInfo(SystemInfo& info) override {
    calls.push_back(u"GetSystemInfo");
    info.processorArchitecture = emulatedArchitecture;
  }
  bool IsWow64Process2(ProcAddress function, std::uint16_t& process, std::uint16_t& native) override {
    calls.push_back(u"IsWow64Process2");
    // Called through any other address, the real thing would crash: treat it as a failure.
    if (function != kWow64Process2) return false;
    // A failed call leaves its outputs unspecified: they get the configured values all the same,
    // so that a caller that ignores the result is caught.
    process = processMachine;
    native = nativeMachine;
    return !wow64Process2Fails;
  }
};
