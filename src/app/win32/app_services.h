#pragma once
// The platform services of the running wizard, made once the OS width is known.
#include <functional>

#include "app/install_records.h"
#include "config/win32/registry_win.h"
#include "diag/win32/install_log_win.h"
#include "spooler/win32/print_platform_win.h"
#include "usb/win32/usb_platform_win.h"
#include "version.h"

class AppServices {
 public:
  explicit AppServices(int osBitness) : print_(osBitness), usb_(print_.GetSpooler()), registry_(osBitness) {}
  PrintPlatform& Print() { return print_.Platform(); }
  UsbPlatform& Usb() { return usb_.Platform(); }
  // HKLM in the system's own view (the 64-bit one on 64-bit Windows).
  Registry& MachineRegistry() { return registry_; }
  // The road's onInstalled: the detection marker of the printer, with this build's version.
  std::function<void(const InstalledFacts&)> MarkInstalled(const InstallContext& context) {
    return MarkInstalledPrinter(registry_, clock_, print_.Platform(), context, u"" PRINTERSETUP_VERSION_TEXT);
  }

 private:
  Win32PrintSystem print_;
  Win32UsbPlatform usb_;
  Win32Registry registry_;
  Win32Clock clock_;
};
