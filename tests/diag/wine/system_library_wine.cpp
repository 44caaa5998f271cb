// SystemLibrary and RestrictDllSearchToSystem over the real loader, with the loader update
// present and hidden: the libraries come from the system directory either way, by the search
// flag or by their full path, and a DLL planted beside the executable is never taken.
#include <windows.h>

#include <string>
#include <vector>

#include "diag/win32/system_library.h"
#include "diag/wine/recording_loader.h"
#include "support/wine_check.h"

namespace {

using recording_loader::Load;
using recording_loader::Scene;

const wchar_t kPlanted[] = L"plantprobe.dll";

}  // namespace

namespace wcheck {
template <>
std::string Show(const Load& load) {
  char flags[16];
  std::snprintf(flags, sizeof(flags), "0x%lX", static_cast<unsigned long>(load.flags));
  return "(" + Show(load.file) + ", " + flags + ")";
}
}  // namespace wcheck

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

std::wstring SystemDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(buffer, MAX_PATH);
  return std::wstring(buffer, length);
}

std::wstring FolderOf(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  std::wstring file(path, length);
  std::size_t slash = file.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
}

CASE(SystemLibrariesComeFromTheSystemDirectoryWithOrWithoutTheLoaderUpdate) {
  struct Library {
    const wchar_t* name;
    const char* entry;
  };
  const Library libraries[] = {
      {L"winspool.drv", "OpenPrinterW"}, {L"version.dll", "VerInstallFileW"}, {L"comctl32.dll", "InitCommonControlsEx"}};
  const std::wstring systemDir = SystemDirectory();
  REQUIRE(!systemDir.empty());
  for (bool updated : {true, false}) {
    for (const Library& library : libraries) {
      Scene scene(updated);
      CHECK_EQ(LoaderHasSearchFlags(), updated);
      SystemLibrary loaded(library.name);
      REQUIRE(static_cast<bool>(loaded));
      const std::wstring fullPath = systemDir + L"\\" + library.name;
      if (updated) {
        CHECK(loaded.LoadedBy() == SystemLibrary::Way::SearchSystem32);
        CHECK_EQ(loaded.Requested(), std::wstring(library.name));
        CHECK_EQ(recording_loader::loads, (std::vector<Load>{{library.name, LOAD_LIBRARY_SEARCH_SYSTEM32}}));
      } else {
        // Never the bare name and never a flag the older loader rejects: the full path only.
        CHECK(loaded.LoadedBy() == SystemLibrary::Way::FullPath);
        CHECK_EQ(loaded.Requested(), fullPath);
        CHECK_EQ(recording_loader::loads, (std::vector<Load>{{fullPath, LOAD_WITH_ALTERED_SEARCH_PATH}}));
      }
      CHECK_EQ(Lower(FolderOf(loaded.Module())), Lower(systemDir));
      CHECK(loaded.Get<FARPROC>(library.entry) != nullptr);
    }
  }
}

CASE(ALibraryOnlyBesideTheExecutableIsNeverLoaded) {
  for (bool updated : {true, false}) {
    Scene scene(updated);
    SystemLibrary planted(kPlanted);
    CHECK(!planted);
    CHECK(planted.Get<FARPROC>("PlantProbe") == nullptr);
  }
  // The default search order does find it: the refusal above is SystemLibrary's own.
  HMODULE found = LoadLibraryW(kPlanted);
  CHECK(found != nullptr);
  if (found) FreeLibrary(found);
}

// Last of the cases: the real restriction holds for the rest of the process.
CASE(RestrictionIsInForceOnlyWithTheLoaderUpdate) {
  {
    Scene scene(false);
    CHECK_EQ(RestrictDllSearchToSystem(), false);
    CHECK_EQ(recording_loader::lookups, (std::vector<std::string>{"SetDefaultDllDirectories"}));
    CHECK(recording_loader::loads.empty());
  }
  {
    Scene scene(true);
    CHECK_EQ(RestrictDllSearchToSystem(), true);
  }
  // The executable's folder is no longer searched; the system directory still is.
  HMODULE planted = LoadLibraryW(kPlanted);
  CHECK(planted == nullptr);
  if (planted) FreeLibrary(planted);
  SystemLibrary version(L"version.dll");
  CHECK(static_cast<bool>(version));
}

}  // namespace

int wmain() { return wcheck::RunAll(); }
