#pragma once
// The USB page's choices in combo box 1013: the spooler's USB ports with the attached printer's
// own port preset (no custom monitor), or the attached devices' texts (with a custom monitor).
// The caller empties the combo box first.
#include <cstddef>

#include "config/install_context.h"
#include "spooler/spooler.h"
#include "usb/combo_box.h"
#include "usb/port_names.h"
#include "usb/config_manager.h"
#include "usb/device_interface_source.h"

struct UsbPlatform {
  DeviceInterfaceSource& devices;
  ConfigManager& configManager;
  Spooler& spooler;
};

constexpr std::size_t kUsbSuffixCapacity = 1000;      // bytes, terminator included
constexpr std::size_t kDeviceTextsCapacity = 1000;    // UTF-16 units
inline constexpr char16_t kDefaultUsbPort[] = u"USB001";

// The text after the last '&' of the first bus relation of each device with the USB printer
// interface; the last device that has one wins. suffix is untouched when none does, and a tail
// that would not fit with its terminator is not copied.
void FindUsbPrintDeviceSuffix(DeviceInterfaceSource& devices, ConfigManager& configManager,
                              char (&suffix)[kUsbSuffixCapacity]);

// The spooler's ports containing "USB"; the edit text is the attached printer's port when one
// is found, else "USB001" with an empty list, else the first port is selected.
void FillUsbPortsFromSpooler(UsbPlatform& platform, ComboBox& combo);
// The same from a port list the caller may share with other pages.
void FillUsbPortsFromSpooler(UsbPlatform& platform, PortSnapshot& ports, ComboBox& combo);

// The attached devices' texts: only the one equal to filterUsbPort when that is set, otherwise
// every device, filtered by filterVid and filterPid when both are set. Item 0 is selected.
void FillUsbDevicesForMonitor(UsbPlatform& platform, const InstallContext& context, ComboBox& combo);
