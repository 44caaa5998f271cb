// The wizard's entry: the process-wide set-up, then one run from the command line.
#include <windows.h>

#include <cstdlib>

#include "app/win32/run.h"
#include "diag/win32/diagnostics_win.h"
#include "diag/win32/system_library.h"

// Ending on an unexpected exception prints nothing anyone would see (no console): abort at once.
// This also keeps the runtime's name demangler, and the printf family it needs, out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystem();
  InstallWin32Diagnostics();
  return RunFromCommandLine(instance);
}
