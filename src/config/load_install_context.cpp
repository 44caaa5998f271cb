#include "config/load_install_context.h"

#include "config/config_file.h"
#include "diag/diagnostics.h"
#include "diag/format.h"

namespace {

std::u16string ReadString(ProfileReader& profile, const InstallContext& context, const char16_t* section,
                          const char16_t* key) {
  std::u16string value;
  profile.GetPrivateProfileStringW(section, key, u"", value, kPathCapacity, context.configPath);
  return CutToCapacity(value, kPathCapacity);
}

std::uint32_t ReadInt(ProfileReader& profile, const InstallContext& context, const char16_t* section,
                      const char16_t* key) {
  return profile.GetPrivateProfileIntW(section, key, 0, context.configPath);
}

}  // namespace

int GetOsBitness(SystemInfoProbe& system) {
  // GetNativeSystemInfo is absent on old systems; a 32-bit process on 64-bit Windows must use it,
  // since GetSystemInfo reports the emulated x86 there.
  SystemInfo info;
  ModuleHandle kernel = system.GetModuleHandleW(u"kernel32");
  ProcAddress native = kernel ? system.GetProcAddress(kernel, "GetNativeSystemInfo") : 0;
  if (native) {
    system.GetNativeSystemInfo(native, info);
  } else {
    system.GetSystemInfo(info);
  }
  return info.processorArchitecture == kProcessorArchitectureAmd64 ||
                 info.processorArchitecture == kProcessorArchitectureIa64
             ? 64
             : 32;
}

std::u16string WholeSectionEntries(const std::u16string& buffer, std::uint32_t count) {
  std::size_t end = count < buffer.size() ? count : buffer.size();
  std::u16string entries;
  std::size_t start = 0;
  while (start < end) {
    std::size_t nul = buffer.find(u'\0', start);
    if (nul == std::u16string::npos || nul >= end) break;  // the cut entry, if any
    if (nul == start) break;                                // the list's terminator
    entries.append(buffer, start, nul - start + 1);
    start = nul + 1;
  }
  if (!entries.empty()) entries.push_back(u'\0');
  return entries;
}

bool IsFullPath(std::u16string_view path) {
  const bool drive = path.size() >= 3 && path[1] == u':' && (path[2] == u'\\' || path[2] == u'/');
  const bool share = path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\';
  return drive || share;
}

void LoadInstallContext(InstallContext& context, ModulePath& module, ProfileReader& profile,
                        SystemInfoProbe& system, std::u16string_view configFile) {
  LoadInstallContext(context, module, profile, GetOsBitness(system), configFile);
}

void LoadInstallContext(InstallContext& context, ModulePath& module, ProfileReader& profile, int osBitness,
                        std::u16string_view configFile) {
  std::u16string path;
  const std::uint32_t length = module.GetModuleFileNameW(path, kPathCapacity);
  path = CutToCapacity(path, kPathCapacity);
  module.PathRemoveFileSpecW(path);
  context.installDir = CutToCapacity(path, kPathCapacity);

  const bool fullPath = IsFullPath(configFile);
  context.configPath = InstallerFilePath(context.installDir, configFile);
  // An unknown or cut path would name some other file ("\config.ini" on the current drive,
  // "...\config.i"): read nothing rather than that.
  const std::u16string fileName = fullPath ? std::u16string(configFile) : u"\\" + std::u16string(configFile);
  const bool pathFits = (fullPath || (length > 0 && length < kPathCapacity)) && !configFile.empty() &&
                        context.configPath.size() >= fileName.size() &&
                        context.configPath.compare(context.configPath.size() - fileName.size(),
                                                   fileName.size(), fileName) == 0;
  if (!pathFits) {
    DebugTrace(u"Config path unknown or longer than %u units, config.ini not read",
               static_cast<unsigned>(kPathCapacity - 1));
  }

  if (pathFits) {
    context.caption = ReadString(profile, context, u"ARGS", u"Caption");
    context.printerBaseName = ReadString(profile, context, u"ARGS", u"PrnName");
    context.driverPrefix = ReadString(profile, context, u"ARGS", u"Prefix");
    context.defaultLanguage = ReadString(profile, context, u"ARGS", u"DefaultLanguage");
    context.defaultPortType = ReadString(profile, context, u"ARGS", u"DefaultPorttype");
    context.portMonitorName = ReadString(profile, context, u"ARGS", u"PortMonitor");
    context.portNamePrefix = ReadString(profile, context, u"ARGS", u"PortNamePrefix");
    context.printerAddress = ReadString(profile, context, u"ARGS", u"IPAddress");
    context.ifExists = ReadString(profile, context, u"ARGS", u"IfExists");
    context.noTargetMatched = ReadString(profile, context, u"ARGS", u"NoTargetMatched");
    context.spoolerWait = ReadString(profile, context, u"ARGS", u"SpoolerWait");

    context.skipLanguage = ReadInt(profile, context, u"SKIP", u"Language");
    context.skipPort = ReadInt(profile, context, u"SKIP", u"Port");
    context.autoInstall = ReadInt(profile, context, u"SKIP", u"AutoInstall");

    context.filterVid = ReadString(profile, context, u"USB", u"FilterVid");
    context.filterPid = ReadString(profile, context, u"USB", u"FilterPid");
    context.filterUsbPort = ReadString(profile, context, u"USB", u"FilterUsbPort");
  }

  if (osBitness == 32) {
    context.setupDirName = u"SETUP";
    context.monitorDirName = u"MONITOR32";
  } else {
    context.setupDirName = u"SETUP64";
    context.monitorDirName = u"MONITOR64";
  }

  context.languageCode = u"CHN";

  context.printerData.clear();
  context.printerDataCut = false;
  if (pathFits) {
    std::u16string section;
    const std::uint32_t size = static_cast<std::uint32_t>(kPrinterDataCapacity);
    std::uint32_t count = profile.GetPrivateProfileSectionW(u"DATA", section, size, context.configPath);
    context.printerData = ParsePrinterData(WholeSectionEntries(section, count));
    // The reader cuts a section that does not fit without failing; the configuration checks
    // refuse such a section, since those values would never reach the printer.
    if (count == size - 2) {
      context.printerDataCut = true;
      DebugTrace(u"DATA section larger than %u units, the entries past it are not used", size);
    }
    std::u16string defaults;
    const std::uint32_t defaultsCount = profile.GetPrivateProfileSectionW(u"DEVMODE", defaults, kPathCapacity * 8, context.configPath);
    context.devModeEntries = ParsePrinterData(WholeSectionEntries(defaults, defaultsCount));
  }
}
