#include "config/win32/system_info_win.h"

#include "config/os_platform.h"
#include "diag/win32/wide.h"

namespace {
using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
// Windows 10 1709 and later only, so never imported.
using IsWow64Process2Fn = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
}

ModuleHandle Win32SystemInfo::GetModuleHandleW(const std::u16string& moduleName) {
  return reinterpret_cast<ModuleHandle>(::GetModuleHandleW(W(moduleName)));
}

ProcAddress Win32SystemInfo::GetProcAddress(ModuleHandle module, const std::string& procName) {
  return reinterpret_cast<ProcAddress>(
      reinterpret_cast<void*>(::GetProcAddress(reinterpret_cast<HMODULE>(module), procName.c_str())));
}

void Win32SystemInfo::GetNativeSystemInfo(ProcAddress function, SystemInfo& info) {
  SYSTEM_INFO system{};
  reinterpret_cast<GetNativeSystemInfoFn>(reinterpret_cast<void*>(function))(&system);
  info.processorArchitecture = system.wProcessorArchitecture;
}

void Win32SystemInfo::GetSystemInfo(SystemInfo& info) {
  SYSTEM_INFO system{};
  ::GetSystemInfo(&system);
  info.processorArchitecture = system.wProcessorArchitecture;
}

bool Win32SystemInfo::IsWow64Process2(ProcAddress function, std::uint16_t& processMachine,
                                      std::uint16_t& nativeMachine) {
  USHORT process = 0;
  USHORT native = 0;
  if (!reinterpret_cast<IsWow64Process2Fn>(reinterpret_cast<void*>(function))(::GetCurrentProcess(), &process,
                                                                                &native)) {
    return false;
  }
  processMachine = process;
  nativeMachine = native;
  return true;
}

bool IsArm64System() {
  Win32SystemInfo system;
  return IsArm64System(system);
}
