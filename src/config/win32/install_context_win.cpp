#include "config/win32/install_context_win.h"

#include "config/load_install_context.h"
#include "config/win32/machine_identity_win.h"
#include "config/win32/module_path_win.h"
#include "config/win32/profile_reader_win.h"
#include "config/win32/system_info_win.h"

void LoadInstallContext(InstallContext& context, int osBitness, std::u16string_view configFile) {
  Win32ModulePath module;
  Win32ProfileReader profile;
  LoadInstallContext(context, module, profile, osBitness, configFile);
}

int GetOsBitness() {
  Win32SystemInfo system;
  return GetOsBitness(system);
}

Resolution ResolveInstallContext(InstallContext& context, const std::vector<NamedValue>& commandLine,
                                 bool alwaysAskMachine) {
  Win32ProfileReader profile;
  Win32MachineIdentity identity;
  return ResolveConfiguration(context, ReadTargetSections(profile, context.configPath), identity, commandLine,
                              alwaysAskMachine);
}
