#include "spooler/win32/print_platform_win.h"

#include "spooler/win32/tcp_port_data_win.h"
#include "spooler/win32/win32_services.h"
#include "spooler/win32/win32_spooler.h"

Win32PrintSystem::Win32PrintSystem(int osBitness)
    : spooler_(std::make_unique<Win32Spooler>()),
      versions_(std::make_unique<Win32VersionInstaller>()),
      files_(std::make_unique<Win32FileSystem>()),
      shell_(std::make_unique<Win32Shell>()),
      platform_(std::make_unique<PrintPlatform>(
          PrintPlatform{*spooler_, *versions_, *files_, *shell_, osBitness})) {}

Win32PrintSystem::~Win32PrintSystem() = default;

Spooler& Win32PrintSystem::GetSpooler() { return *spooler_; }
