#pragma once
// What the running Windows is built for, beyond its width.
#include "config/system_info.h"

// True only on ARM64 Windows. There a 32-bit process is shown an x64 system (GetNativeSystemInfo
// answers for the x64 emulation), yet the x64 driver package and monitor cannot serve the ARM64
// spooler. Only IsWow64Process2 tells: when kernel32 lacks it (before Windows 10 1709) or it
// fails, the system is taken as not ARM64. Asks again on every call.
bool IsArm64System(SystemInfoProbe& system);
