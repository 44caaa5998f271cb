#include "config/win32/system_info_win.h"

#include "diag/win32/wide.h"

namespace {
using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
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
