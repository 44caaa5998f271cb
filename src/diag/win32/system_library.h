#pragma once
// A DLL loaded from the system directory only: the exe may sit in a folder where anyone can drop
// a DLL of the same name, so nothing but KnownDLLs may be resolved by the loader's search.
//
// SetDefaultDllDirectories and the LOAD_LIBRARY_SEARCH_* flags are missing on Windows 7 without
// KB2533623, and an import of them would stop the exe from starting there at all: they are looked
// up at run time, and without them a library is loaded by its full path in the system directory.
#include <windows.h>

#include <string>

// The loader calls the DLL handling makes, replaceable as a whole so that a test can play a
// Windows without the loader update (a lookup that finds nothing) and see what is loaded how.
struct DllLoaderCalls {
  FARPROC (*findKernel32Entry)(const char* name);  // GetProcAddress on kernel32
  HMODULE (*loadLibraryEx)(const wchar_t* file, DWORD flags);
};

// The calls in use, and the real ones.
const DllLoaderCalls& CurrentDllLoaderCalls();
const DllLoaderCalls& RealDllLoaderCalls();
// Puts other calls in place for the whole process; returns those in place before.
DllLoaderCalls SetDllLoaderCalls(const DllLoaderCalls& calls);

// Whether this loader takes LOAD_LIBRARY_SEARCH_SYSTEM32: it came with SetDefaultDllDirectories.
bool LoaderHasSearchFlags();

class SystemLibrary {
 public:
  enum class Way {
    SearchSystem32,  // the bare name with LOAD_LIBRARY_SEARCH_SYSTEM32
    FullPath,        // <system directory>\<name> with LOAD_WITH_ALTERED_SEARCH_PATH
  };

  explicit SystemLibrary(const wchar_t* name);
  ~SystemLibrary();
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  explicit operator bool() const { return module_ != nullptr; }
  HMODULE Module() const { return module_; }
  Way LoadedBy() const { return way_; }
  // What the loader was given: the bare name or the full path.
  const std::wstring& Requested() const { return requested_; }

  template <class Function>
  Function Get(const char* name) const {
    if (!module_) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

 private:
  Way way_;
  std::wstring requested_;
  HMODULE module_;
};

// Restricts the process's DLL search to the system directory; first thing at entry. Returns
// whether the restriction is in force. Without SetDefaultDllDirectories it only takes the
// current directory out of the search (SetDllDirectoryW with ""), and returns false.
bool RestrictDllSearchToSystem();
