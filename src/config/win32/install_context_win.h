#pragma once
// The process's own configuration, read through the real system calls.
#include <vector>

#include "config/install_context.h"
#include "config/resolve_configuration.h"

// LoadInstallContext with the Win32 reader and module path, for the OS width the run asked for.
void LoadInstallContext(InstallContext& context, int osBitness, std::u16string_view configFile = u"config.ini");

// GetOsBitness with the Win32 system probe.
int GetOsBitness();

// The file's targets and the command line's values over the loaded context (ResolveConfiguration
// with the Win32 reader and machine identity).
Resolution ResolveInstallContext(InstallContext& context, const std::vector<NamedValue>& commandLine,
                                 bool alwaysAskMachine);
