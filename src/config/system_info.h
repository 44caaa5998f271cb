#pragma once
// The processor architecture of the running Windows, through the calls that report it.
#include <cstdint>
#include <string>

using ModuleHandle = std::uintptr_t;  // 0 = none
using ProcAddress = std::uintptr_t;   // 0 = none

constexpr std::uint16_t kProcessorArchitectureIa64 = 6;   // PROCESSOR_ARCHITECTURE_IA64
constexpr std::uint16_t kProcessorArchitectureAmd64 = 9;  // PROCESSOR_ARCHITECTURE_AMD64

constexpr std::uint16_t kImageFileMachineUnknown = 0;     // IMAGE_FILE_MACHINE_UNKNOWN
constexpr std::uint16_t kImageFileMachineI386 = 0x014C;   // IMAGE_FILE_MACHINE_I386
constexpr std::uint16_t kImageFileMachineAmd64 = 0x8664;  // IMAGE_FILE_MACHINE_AMD64
constexpr std::uint16_t kImageFileMachineArm64 = 0xAA64;  // IMAGE_FILE_MACHINE_ARM64

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
  // Calls the IsWow64Process2 found at that address for the current process: the machine the
  // process runs as (unknown when not under WOW64) and the system's own. False when it fails.
  virtual bool IsWow64Process2(ProcAddress function, std::uint16_t& processMachine,
                               std::uint16_t& nativeMachine) = 0;
};
