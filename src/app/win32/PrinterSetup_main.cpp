// The wizard's entry: the process-wide set-up, then one run from the command line.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "app/win32/run.h"
#include "diag/win32/diagnostics_win.h"
#include "diag/win32/system_library.h"

// Ending on an unexpected exception prints nothing anyone would see (no console): abort at once.
// This also keeps the runtime's name demangler, and the printf family it needs, out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

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
  return RunFromCommandLine(instance);
}
