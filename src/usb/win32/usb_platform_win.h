#pragma once
// The USB choices' seams over the real calls, around the print system's spooler.
#include "diag/win32/diagnostics_win.h"
#include "usb/usb_choices.h"
#include "usb/win32/setupapi_devices.h"

class Win32UsbPlatform {
 public:
  // spooler: Win32PrintSystem::GetSpooler() in the product; it must outlive this object.
  explicit Win32UsbPlatform(Spooler& spooler) : platform_{devices_, configManager_, spooler} {}
  Win32UsbPlatform(const Win32UsbPlatform&) = delete;
  Win32UsbPlatform& operator=(const Win32UsbPlatform&) = delete;

  UsbPlatform& Platform() { return platform_; }

 private:
  Win32DeviceInterfaceSource devices_;
  Win32ConfigManager configManager_;
  UsbPlatform platform_;
};
