#include "spooler/driver_files.h"

#include <algorithm>

#include "diag/format.h"

namespace {

constexpr std::size_t kLongestText = kPathCapacity - 1;

// The package files opened by path under the package directory; the longest decides.
std::size_t LongestPackageFile(std::size_t prefixLength, std::size_t codeLength) {
  std::size_t longest = sizeof(u"srclient.dll") / sizeof(char16_t) - 1;
  for (const char16_t* name : kUnidrvFiles) longest = std::max(longest, std::u16string_view(name).size());
  // "%sUNI%s.DLL" is the longest of the package's own names.
  return std::max(longest, prefixLength + codeLength + 7);
}

}  // namespace

DriverFileNames BuildDriverFileNames(std::u16string_view driverPrefix, std::u16string_view languageCode,
                                     std::u16string_view installDir, std::u16string_view setupDirName) {
  DriverFileNames names;
  names.driverName = FormatWide(kPathCapacity, u"%s%s", driverPrefix, languageCode);
  names.gpdFile = FormatWide(kPathCapacity, u"%s%s.GPD", driverPrefix, languageCode);
  names.iniFile = FormatWide(kPathCapacity, u"%s%s.INI", driverPrefix, languageCode);
  names.uiDll = FormatWide(kPathCapacity, u"%sUI%s.DLL", driverPrefix, languageCode);
  names.uniDll = FormatWide(kPathCapacity, u"%sUNI%s.DLL", driverPrefix, languageCode);
  names.rcDll = FormatWide(kPathCapacity, u"%sRC%s.DLL", driverPrefix, languageCode);
  names.sourceDir = FormatWide(kPathCapacity, u"%s\\%s\\%s", installDir, setupDirName, languageCode);
  return names;
}

std::u16string DependentFilesText(const DriverFileNames& names, bool uiDllExists, bool iniFileExists,
                                  bool uniDllExists) {
  std::u16string text =
      FormatWide(kPathCapacity, u"UNIDRV.DLL?UNIDRVUI.DLL?UNIDRV.HLP?UNIRES.DLL?STDNAMES.GPD?TTFSUB.GPD?%s?%s?",
                 names.gpdFile, names.rcDll);
  if (uiDllExists) text += FormatWide(kPathCapacity, u"%s?", names.uiDll);
  if (iniFileExists) text += FormatWide(kPathCapacity, u"%s?", names.iniFile);
  if (uniDllExists) text += FormatWide(kPathCapacity, u"%s?", names.uniDll);
  text += u"?";
  return CutToCapacity(text, kPathCapacity);
}

std::u16string BuildDependentFiles(const DriverFileNames& names, bool uiDllExists, bool iniFileExists,
                                   bool uniDllExists) {
  std::u16string list = DependentFilesText(names, uiDllExists, iniFileExists, uniDllExists);
  std::replace(list.begin(), list.end(), u'?', u'\0');
  // A text cut short would lose its closing empty string; the zero fill behind it supplies one.
  if (list.size() < 2 || list[list.size() - 1] != u'\0' || list[list.size() - 2] != u'\0') list += u'\0';
  return list;
}

bool DriverNamesFit(std::u16string_view driverPrefix, std::u16string_view languageCode) {
  const std::size_t p = driverPrefix.size();
  const std::size_t l = languageCode.size();
  // The longest name is "%sUNI%s.DLL"; the dependent-file text with every optional name:
  // six UNIDRV names (70 units with their separators), five package names with theirs, one more.
  const std::size_t longestName = p + l + 7;
  const std::size_t dependentText = 70 + (p + l + 4) * 2 + (p + l + 6) * 2 + (p + l + 7) + 5 + 1;
  return longestName <= kLongestText && dependentText <= kLongestText;
}

bool DriverPathsFit(std::u16string_view installDir, std::u16string_view setupDirName,
                    std::u16string_view languageCode, std::u16string_view driverPrefix) {
  const std::size_t sourceDir = installDir.size() + 1 + setupDirName.size() + 1 + languageCode.size();
  const std::size_t longestPath = sourceDir + 1 + LongestPackageFile(driverPrefix.size(), languageCode.size());
  return sourceDir <= kLongestText && longestPath <= kLongestText;
}

std::u16string JoinPath(std::u16string_view directory, std::u16string_view name) {
  return FormatWide(kPathCapacity, u"%s\\%s", directory, name);
}

std::u16string DriverEnvironment(int osBitness) {
  return osBitness == 64 ? u"Windows x64" : u"Windows NT x86";
}


