#pragma once
// The process's own configuration, read through the real system calls.
#include "config/install_context.h"

// LoadInstallContext with the Win32 reader, module path and system probe.
void LoadInstallContext(InstallContext& context, std::u16string_view configFile = u"config.ini");

// GetOsBitness with the Win32 system probe.
int GetOsBitness();
