// The wizard's entry: the process-wide set-up, then one run of the wizard.
#include <windows.h>
#include <commctrl.h>

#include "app/win32/wizard.h"
#include "diag/win32/diagnostics_win.h"
#include "diag/win32/system_library.h"

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
  InitialiseCommonControls();
  Wizard wizard(instance);
  return wizard.Run();
}
