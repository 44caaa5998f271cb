#pragma once
// The names of a UNIDRV driver package and the texts its registration is built from.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "config/install_context.h"
#include "diag/capacity.h"


inline constexpr const char16_t* kUnidrvFiles[] = {u"UNIDRV.DLL", u"UNIDRVUI.DLL", u"UNIDRV.HLP",
                                                   u"UNIRES.DLL", u"STDNAMES.GPD", u"TTFSUB.GPD"};

struct DriverFileNames {
  std::u16string driverName;
  std::u16string gpdFile;
  std::u16string iniFile;
  std::u16string uiDll;
  std::u16string uniDll;
  std::u16string rcDll;
  std::u16string sourceDir;
};

// Each name as its 260-unit buffer holds it (a longer one is cut: DriverNamesFit tells first).
DriverFileNames BuildDriverFileNames(std::u16string_view driverPrefix, std::u16string_view languageCode,
                                     std::u16string_view installDir, std::u16string_view setupDirName);

// The dependent-file multi-string: names each NUL-terminated, then the closing empty string
// (the text ends in two NULs). Every optional name present is the longest list.
std::u16string BuildDependentFiles(const DriverFileNames& names, bool uiDllExists, bool iniFileExists,
                                   bool uniDllExists);

// The text BuildDependentFiles turns into the multi-string, "?" standing for each NUL.
std::u16string DependentFilesText(const DriverFileNames& names, bool uiDllExists, bool iniFileExists,
                                  bool uniDllExists);

// True when the driver's names, the dependent-file text (with every optional name) and the
// package paths "%s\\%s" all fit their 260-unit buffers for this prefix and language.
bool DriverNamesFit(std::u16string_view driverPrefix, std::u16string_view languageCode);

// True when the package directory and every path "%s\\%s" of a package file under it fit
// 260 units.
bool DriverPathsFit(std::u16string_view installDir, std::u16string_view setupDirName,
                    std::u16string_view languageCode, std::u16string_view driverPrefix);

// "%s\\%s": a directory and a name joined by one backslash.
std::u16string JoinPath(std::u16string_view directory, std::u16string_view name);

// "Windows x64" for 64, else "Windows NT x86".
std::u16string DriverEnvironment(int osBitness);


