#include "config/win32/install_context_win.h"

#include "config/load_install_context.h"
#include "config/win32/module_path_win.h"
#include "config/win32/profile_reader_win.h"
#include "config/win32/system_info_win.h"

void LoadInstallContext(InstallContext& context, std::u16string_view configFile) {
  Win32ModulePath module;
  Win32ProfileReader profile;
  Win32SystemInfo system;
  LoadInstallContext(context, module, profile, system, configFile);
}

int GetOsBitness() {
  Win32SystemInfo system;
  return GetOsBitness(system);
}
