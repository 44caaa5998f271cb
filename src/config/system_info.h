#pragma once
// The processor architecture of the running Windows, through the calls that report it.
#include <cstdint>
#include <string>

using ModuleHandle = std::uintptr_t;  // 0 = none
using ProcAddress = std::uintptr_t;   // 0 = none

constexpr std::uint16_t kProcessorArchitectureIa64 = 6;   // PROCESSOR_ARCHITECTURE_IA64
constexpr std::uint16_t kProcessorArchitectureAmd64 = 9;  // PROCESSOR_ARCHITECTURE_AMD64

struct SystemInfo {
  std::uint16_t processorArchitecture = 0;  // wProcessorArchitecture
};

class SystemInfoProbe {
 public:
  virtual ~SystemInfoProbe() = default;
  virtual ModuleHandle GetModuleHandleW(const std::u16string& moduleName) = 0;
  virtual ProcAddress GetProcAddress(ModuleHandle module, const std::string& procName) = 0;
  // Calls the GetNativeSystemInfo found at that address.
  virtual void GetNativeSystemInfo(ProcAddress function, SystemInfo& info) = 0;
  virtual void GetSystemInfo(SystemInfo& info) = 0;
};
