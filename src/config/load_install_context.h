#pragma once
// Reading config.ini and the installer directory into InstallContext, and the OS-width probe.
#include "config/install_context.h"
#include "config/module_path.h"
#include "config/profile_reader.h"
#include "config/system_info.h"

// 64 on 64-bit Windows (x64 or Itanium), else 32; asks the system on every call.
int GetOsBitness(SystemInfoProbe& system);

// Fills the directory, the keyed fields, the width-dependent directory names, the language code
// and the printer data, in that order. A missing file, section or key leaves the default.
// configFile: the file to read, a full path or one relative to the installer directory.
void LoadInstallContext(InstallContext& context, ModulePath& module, ProfileReader& profile,
                        SystemInfoProbe& system, std::u16string_view configFile = u"config.ini");
// The same for a run that has asked for the OS width already (GetOsBitness): 64 or 32.
void LoadInstallContext(InstallContext& context, ModulePath& module, ProfileReader& profile, int osBitness,
                        std::u16string_view configFile = u"config.ini");

// A full path ("C:\..." or "\server\...") rather than one relative to a folder.
bool IsFullPath(std::u16string_view path);

// The complete entries of a section buffer as a multi-string (empty when there are none).
// count is the section call's result: an entry not terminated before it was cut and is dropped.
std::u16string WholeSectionEntries(const std::u16string& buffer, std::uint32_t count);
