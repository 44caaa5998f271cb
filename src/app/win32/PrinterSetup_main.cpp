// The wizard's entry: the process-wide set-up, then one run from the command line.
#include <windows.h>

#include <cstdlib>
#include <new>

#include "app/win32/run.h"
#include "diag/win32/diagnostics_win.h"
#include "diag/win32/system_library.h"

// The product neither throws nor catches: the few places where the C++ runtime would throw (out
// of memory, a string too long) end the process at once, as an exception nobody catches would.
// Defined here, they keep the runtime's exception machinery, its unwinder and its name demangler
// (with the printf family that needs) out of the exe.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
const nothrow_t nothrow{};
}  // namespace std

void* operator new(std::size_t size) {
  if (void* block = std::malloc(size ? size : 1)) return block;
  std::abort();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
extern "C" void __cxa_pure_virtual() { std::abort(); }

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystem();
  InstallWin32Diagnostics();
  return RunFromCommandLine(instance);
}
