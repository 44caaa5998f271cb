#pragma once
// The platform services of the running wizard, made once the OS width is known.
#include "spooler/win32/print_platform_win.h"
#include "usb/win32/usb_platform_win.h"

class AppServices {
 public:
  explicit AppServices(int osBitness) : print_(osBitness), usb_(print_.GetSpooler()) {}
  PrintPlatform& Print() { return print_.Platform(); }
  UsbPlatform& Usb() { return usb_.Platform(); }

 private:
  Win32PrintSystem print_;
  Win32UsbPlatform usb_;
};
