#pragma once
// The process's own configuration, read through the real system calls.
#include "config/install_context.h"

// LoadInstallContext with the Win32 reader and module path, for the OS width the run asked for.
void LoadInstallContext(InstallContext& context, int osBitness, std::u16string_view configFile = u"config.ini");

// GetOsBitness with the Win32 system probe.
int GetOsBitness();
