#pragma once
// Loader calls for SystemLibrary and RestrictDllSearchToSystem that record what is asked and can
// hide the entries of the loader update, as kernel32 of Windows 7 without KB2533623 lacks them.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "diag/win32/system_library.h"

namespace recording_loader {

struct Load {
  std::wstring file;
  DWORD flags;
  bool operator==(const Load& other) const { return file == other.file && flags == other.flags; }
};

inline std::vector<Load> loads;
inline std::vector<std::string> lookups;
inline bool updateHidden = false;

inline FARPROC FindEntry(const char* name) {
  lookups.push_back(name);
  for (const char* added : {"SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory"}) {
    if (updateHidden && std::strcmp(name, added) == 0) return nullptr;
  }
  return RealDllLoaderCalls().findKernel32Entry(name);
}

inline HMODULE LoadRecorded(const wchar_t* file, DWORD flags) {
  loads.push_back({file, flags});
  return RealDllLoaderCalls().loadLibraryEx(file, flags);
}

// The recording calls in place for the scene's life (with or without the update), the ones in
// place before after it.
class Scene {
 public:
  explicit Scene(bool updated) {
    updateHidden = !updated;
    loads.clear();
    lookups.clear();
    previous_ = SetDllLoaderCalls({FindEntry, LoadRecorded});
  }
  ~Scene() {
    SetDllLoaderCalls(previous_);
    updateHidden = false;
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

 private:
  DllLoaderCalls previous_{};
};

}  // namespace recording_loader
