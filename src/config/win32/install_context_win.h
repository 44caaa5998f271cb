#pragma once
// The process's own configuration, read through the real system calls.

// LoadInstallContext on Context() with the Win32 reader, module path and system probe.
void LoadInstallContext();

// GetOsBitness with the Win32 system probe.
int GetOsBitness();
