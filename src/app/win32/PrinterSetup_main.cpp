// The wizard's entry: one modeless main dialog and a plain message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/install_road.h"
#include "app/win32/main_dialog.h"
#include "app/win32/wizard_windows.h"
#include "diag/win32/diagnostics_win.h"
#include "diag/win32/system_library.h"
#include "resources/resource_ids.h"

namespace {
// comctl32 is not a KnownDLL: it is loaded from the system directory and stays for the run.
void InitialiseCommonControls() {
  static SystemLibrary comctl32(L"comctl32.dll");
  using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  if (auto init = comctl32.Get<InitEx>("InitCommonControlsEx")) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_INTERNET_CLASSES | ICC_TAB_CLASSES};
    init(&controls);
  } else if (auto initOld = comctl32.Get<void(WINAPI*)()>("InitCommonControls")) {
    initOld();
  }
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystem();
  InstallWin32Diagnostics();
  Windows().instance = instance;
  InitialiseCommonControls();
  HWND main = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, MainDialogProc, 0);
  // Without a window there is nothing to wait for: the run failed.
  if (!main) return kExitInstallFailed;
  // Enter presses Next wherever the focus is in the pages; Tab and Esc get their dialog meaning.
  SendMessageW(main, DM_SETDEFID, IDC_NEXT, 0);
  ShowWindow(main, SW_SHOW);
  UpdateWindow(main);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(main, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
