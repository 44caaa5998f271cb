#pragma once
// The print system over the real Windows calls. winspool.drv and version.dll are loaded from
// the system directory at construction; a call whose library or entry is missing fails with
// ERROR_PROC_NOT_FOUND (127) as its last-error value.
#include <memory>

#include "diag/win32/diagnostics_win.h"
#include "spooler/print_system.h"

class Win32Spooler;
class Win32VersionInstaller;
class Win32FileSystem;
class Win32Shell;

// Owns the five Win32 seams and hands out a PrintPlatform over them. Keep it alive as long as
// the PrintPlatform is used.
class Win32PrintSystem {
 public:
  explicit Win32PrintSystem(int osBitness);
  ~Win32PrintSystem();
  Win32PrintSystem(const Win32PrintSystem&) = delete;
  Win32PrintSystem& operator=(const Win32PrintSystem&) = delete;

  PrintPlatform& Platform() { return *platform_; }
  Spooler& GetSpooler();

 private:
  std::unique_ptr<Win32Spooler> spooler_;
  std::unique_ptr<Win32VersionInstaller> versions_;
  std::unique_ptr<Win32FileSystem> files_;
  std::unique_ptr<Win32Shell> shell_;
  std::unique_ptr<PrintPlatform> platform_;
};
