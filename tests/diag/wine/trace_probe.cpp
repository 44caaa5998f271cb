// Emits trace lines and one error box through the real Win32 sinks; the box is closed by a
// watcher thread so that the check runs unattended.
#include <windows.h>

#include "diag/diagnostics.h"
#include "diag/win32/diagnostics_win.h"

namespace {
DWORD WINAPI CloseErrorBox(void*) {
  for (int i = 0; i < 200; ++i) {
    HWND box = FindWindowW(L"#32770", L"ERROR");
    if (box) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(50);
  }
  return 1;
}
}  // namespace

int wmain() {
  InstallWin32Diagnostics();
  DebugTrace(u"MonitorExist");
  DebugTrace(u"%s %s", u"PaperName", u"Label 60x40");
  DebugTraceA("%s\r\n", "USB\\VID_1A2B&PID_4D5E\\5&2F1E&0&1");
  DebugTrace(u"Copy %s From %s To %s Result 0x%08X\r\n", u"X.GPD", std::u16string(600, u'p'), u"D", 0u);
  HANDLE watcher = CreateThread(nullptr, 0, CloseErrorBox, nullptr, 0, nullptr);
  ShowError(0, 1797, u"AddPrinterDriver Failed");
  WaitForSingleObject(watcher, 10000);
  CloseHandle(watcher);
  return 0;
}
