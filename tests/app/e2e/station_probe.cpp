// e2e_station_probe.exe: tells whether this process's window station is visible.
// Prints "station: <name> visible" or "station: <name> invisible"; exit code 0 when visible,
// 1 when not, 2 when the station cannot be asked.
#include <windows.h>

#include <cstdio>

int wmain() {
  HWINSTA station = GetProcessWindowStation();
  USEROBJECTFLAGS flags = {};
  DWORD needed = 0;
  if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof(flags), &needed)) {
    std::printf("station: unknown (error %lu)\n", GetLastError());
    return 2;
  }
  wchar_t name[256] = L"";
  if (!GetUserObjectInformationW(station, UOI_NAME, name, sizeof(name), &needed)) name[0] = L'\0';
  wchar_t desktop[256] = L"";
  HDESK thread = GetThreadDesktop(GetCurrentThreadId());
  if (!thread || !GetUserObjectInformationW(thread, UOI_NAME, desktop, sizeof(desktop), &needed)) desktop[0] = L'\0';
  const bool visible = (flags.dwFlags & WSF_VISIBLE) != 0;
  std::printf("station: %ls\\%ls %s\n", name, desktop, visible ? "visible" : "invisible");
  return visible ? 0 : 1;
}
