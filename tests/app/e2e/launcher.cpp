// e2e_launcher.exe: starts a program, waits for it and prints its full 32-bit exit code.
// `wine prog.exe` hands back only the low 8 bits (1602 arrives as 66), so the code is read here.
//   e2e_launcher [--timeout SECONDS] <program.exe> [working-directory] [-- arguments...]
// Prints "started: <pid>" and then "exit code: <n>", or "timeout" (the program is ended with
// 259 after the limit, so a stuck wizard cannot hang a test run). Exit code 0 when the program ran.
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
}  // namespace

int wmain(int argc, wchar_t** argv) {
  int next = 1;
  DWORD timeoutMs = INFINITE;
  if (next + 1 < argc && std::wcscmp(argv[next], L"--timeout") == 0) {
    timeoutMs = static_cast<DWORD>(std::wcstoul(argv[next + 1], nullptr, 10)) * 1000;
    next += 2;
  }
  if (next >= argc) {
    std::printf("usage: e2e_launcher [--timeout SECONDS] program.exe [working-directory] [-- arguments...]\n");
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
