// e2e_launcher.exe: starts a program, waits for it and prints its full 32-bit exit code.
// `wine prog.exe` hands back only the low 8 bits (1602 arrives as 66), so the code is read here.
//   e2e_launcher [--timeout SECONDS] [--invisible-station] [--time] <program.exe>
//                [working-directory] [-- arguments...]
// Prints "started: <pid>" and then "exit code: <n>", or "timeout" (the program is ended with
// 259 after the limit, so a stuck wizard cannot hang a test run). Exit code 0 when the program ran.
// --invisible-station: the program runs on a desktop of a new window station of its own; a
// station other than WinSta0 is never visible, so nothing the program shows can reach the screen.
// --time: also prints "elapsed: <seconds> s", from just before the start to the program's exit,
// without Wine's and the launcher's own start-up (for scripts/bench).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {
void Say(const char* format, unsigned long value) {
  std::printf(format, value);
  std::fflush(stdout);
}

std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  for (wchar_t c : argument) {
    if (c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

// A window station and desktop that stay open while the program runs, so they outlive its start.
struct InvisibleStation {
  HWINSTA station = nullptr;
  HDESK desktop = nullptr;
  std::wstring path;  // "<station>\<desktop>" for STARTUPINFOW.lpDesktop

  ~InvisibleStation() {
    if (desktop) CloseDesktop(desktop);
    if (station) CloseWindowStation(station);
  }

  bool Create() {
    // The process id keeps launchers running side by side apart.
    const std::wstring stationName = L"E2EInvisible" + std::to_wstring(GetCurrentProcessId());
    const wchar_t desktopName[] = L"Default";
    station = CreateWindowStationW(stationName.c_str(), 0, WINSTA_ALL_ACCESS, nullptr);
    if (!station) {
      Say("window station failed: %lu\n", GetLastError());
      return false;
    }
    // CreateDesktopW makes the desktop in the calling process's station, so switch over for it.
    HWINSTA original = GetProcessWindowStation();
    if (!SetProcessWindowStation(station)) {
      Say("switching window station failed: %lu\n", GetLastError());
      return false;
    }
    desktop = CreateDesktopW(desktopName, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    const DWORD desktopError = GetLastError();
    if (!SetProcessWindowStation(original)) {
      Say("switching back failed: %lu\n", GetLastError());
      return false;
    }
    if (!desktop) {
      Say("desktop failed: %lu\n", desktopError);
      return false;
    }
    path = stationName + L"\\" + desktopName;
    return true;
  }
};
}  // namespace

int wmain(int argc, wchar_t** argv) {
  int next = 1;
  DWORD timeoutMs = INFINITE;
  bool invisible = false;
  bool timed = false;
  for (;;) {
    if (next + 1 < argc && std::wcscmp(argv[next], L"--timeout") == 0) {
      timeoutMs = static_cast<DWORD>(std::wcstoul(argv[next + 1], nullptr, 10)) * 1000;
      next += 2;
    } else if (next < argc && std::wcscmp(argv[next], L"--invisible-station") == 0) {
      invisible = true;
      ++next;
    } else if (next < argc && std::wcscmp(argv[next], L"--time") == 0) {
      timed = true;
      ++next;
    } else {
      break;
    }
  }
  if (next >= argc) {
    std::printf(
        "usage: e2e_launcher [--timeout SECONDS] [--invisible-station] [--time] program.exe [working-directory] "
        "[-- arguments...]\n");
    return 2;
  }
  std::wstring program = argv[next++];
  const wchar_t* directory = nullptr;
  if (next < argc && std::wcscmp(argv[next], L"--") != 0) directory = argv[next++];
  if (next < argc && std::wcscmp(argv[next], L"--") == 0) ++next;

  std::wstring commandLine = Quoted(program);
  for (; next < argc; ++next) commandLine += L" " + Quoted(argv[next]);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  InvisibleStation station;
  if (invisible) {
    if (!station.Create()) return 1;
    startup.lpDesktop = &station.path[0];
  }
  LARGE_INTEGER frequency = {}, started = {}, ended = {};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&started);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory,
                      &startup, &process)) {
    Say("start failed: %lu\n", GetLastError());
    return 1;
  }
  CloseHandle(process.hThread);
  Say("started: %lu\n", process.dwProcessId);

  int result = 0;
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_TIMEOUT) {
    std::printf("timeout\n");
    TerminateProcess(process.hProcess, STILL_ACTIVE);
    WaitForSingleObject(process.hProcess, 5000);
    result = 1;
  }
  QueryPerformanceCounter(&ended);
  if (timed) {
    std::printf("elapsed: %.3f s\n", static_cast<double>(ended.QuadPart - started.QuadPart) /
                                          static_cast<double>(frequency.QuadPart));
    std::fflush(stdout);
  }
  DWORD code = 0;
  if (GetExitCodeProcess(process.hProcess, &code)) {
    Say("exit code: %lu\n", code);
  } else {
    Say("exit code unknown: %lu\n", GetLastError());
    result = 1;
  }
  CloseHandle(process.hProcess);
  return result;
}
