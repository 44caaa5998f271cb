#include "config/os_platform.h"

bool IsArm64System(SystemInfoProbe& system) {
  ModuleHandle kernel = system.GetModuleHandleW(u"kernel32");
  if (!kernel) return false;
  ProcAddress isWow64Process2 = system.GetProcAddress(kernel, "IsWow64Process2");
  if (!isWow64Process2) return false;
  std::uint16_t processMachine = kImageFileMachineUnknown;
  std::uint16_t nativeMachine = kImageFileMachineUnknown;
  return system.IsWow64Process2(isWow64Process2, processMachine, nativeMachine) &&
         nativeMachine == kImageFileMachineArm64;
}
