#pragma once
// A DLL loaded from the system directory only: the exe may sit in a folder where anyone can drop
// a DLL of the same name, so nothing but KnownDLLs may be resolved by the loader's search.
#include <windows.h>

class SystemLibrary {
 public:
  explicit SystemLibrary(const wchar_t* name)
      : module_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
  ~SystemLibrary() {
    if (module_) FreeLibrary(module_);
  }
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  explicit operator bool() const { return module_ != nullptr; }

  template <class Function>
  Function Get(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

// Restricts the process's DLL search to the system directory; first thing at entry.
inline void RestrictDllSearchToSystem() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }
