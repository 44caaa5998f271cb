#include "diag/win32/system_library.h"

#include <vector>

namespace {

FARPROC RealFindKernel32Entry(const char* name) {
  // kernel32 is a KnownDLL and in every process: asking for its handle loads nothing.
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

HMODULE RealLoadLibraryEx(const wchar_t* file, DWORD flags) { return LoadLibraryExW(file, nullptr, flags); }

const DllLoaderCalls kRealCalls = {RealFindKernel32Entry, RealLoadLibraryEx};
DllLoaderCalls g_calls = kRealCalls;

std::wstring SystemDirectoryPath(const wchar_t* name) {
  UINT needed = GetSystemDirectoryW(nullptr, 0);
  if (needed == 0) return std::wstring();
  std::vector<wchar_t> buffer(needed + 1, L'\0');
  UINT length = GetSystemDirectoryW(buffer.data(), needed);
  if (length == 0 || length >= needed) return std::wstring();
  std::wstring path(buffer.data(), length);
  if (path.back() != L'\\') path += L'\\';
  return path + name;
}

}  // namespace

const DllLoaderCalls& CurrentDllLoaderCalls() { return g_calls; }
const DllLoaderCalls& RealDllLoaderCalls() { return kRealCalls; }

DllLoaderCalls SetDllLoaderCalls(const DllLoaderCalls& calls) {
  DllLoaderCalls previous = g_calls;
  g_calls = calls;
  return previous;
}

bool LoaderHasSearchFlags() { return g_calls.findKernel32Entry("SetDefaultDllDirectories") != nullptr; }

SystemLibrary::SystemLibrary(const wchar_t* name) : way_(Way::SearchSystem32), module_(nullptr) {
  if (LoaderHasSearchFlags()) {
    requested_ = name;
    module_ = g_calls.loadLibraryEx(name, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return;
  }
  // An older loader rejects the search flags; a full path is never searched for, and the
  // altered search path makes the library's own dependencies start in its folder.
  way_ = Way::FullPath;
  requested_ = SystemDirectoryPath(name);
  if (!requested_.empty()) module_ = g_calls.loadLibraryEx(requested_.c_str(), LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::~SystemLibrary() {
  if (module_) FreeLibrary(module_);
}

bool RestrictDllSearchToSystem() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(g_calls.findKernel32Entry("SetDefaultDllDirectories")));
  if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return true;
  // The best an older loader offers: the current directory no longer searched.
  SetDllDirectoryW(L"");
  return false;
}
