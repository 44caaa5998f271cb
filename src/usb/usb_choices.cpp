#include "usb/usb_choices.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "diag/diagnostics.h"
#include "usb/port_names.h"
#include "usb/multi_string.h"
#include "usb/number_text.h"
#include "usb/usb_vid_pid_enumerator_win.h"

namespace {

// The tail after the last '&' of the device's first bus relation, when it has one.
void ReadDeviceSuffix(ConfigManager& configManager, std::uint32_t devInst, char (&suffix)[kUsbSuffixCapacity]) {
  // Without its own identifier, whichever stage failed, the device has nothing to ask its
  // relations by.
  const Read<std::string> identifier = configManager.DeviceId(devInst);
  if (!identifier) return;
  DebugTraceA("%s\r\n", identifier.value);

  // A list that cannot be had or does not fit gives no tail.
  const Read<std::string> list = configManager.BusRelations(identifier.value);
  if (!list) return;
  const std::string_view first(list.value.c_str());
  DebugTraceA("%s\r\n", first);
  const std::size_t amp = first.rfind('&');
  if (amp == std::string_view::npos) return;
  const std::string_view tail = first.substr(amp + 1);
  if (tail.size() >= kUsbSuffixCapacity) return;
  std::memcpy(suffix, tail.data(), tail.size());
  suffix[tail.size()] = 0;
  DebugTraceA("%s\r\n", static_cast<const char*>(suffix));
}

// The device texts EnumerateW gives into the page's 1000-unit buffer.
std::vector<std::u16string> EnumerateDeviceTexts(NZUsbVidPidEnumerator_win& enumerator) {
  std::vector<char16_t> buffer(kDeviceTextsCapacity, 0);
  std::vector<std::u16string> texts;
  const auto capacity = static_cast<std::uint32_t>(kDeviceTextsCapacity * sizeof(char16_t));
  if (enumerator.EnumerateW(buffer.data(), capacity, nullptr) == 0) return texts;
  ForEachItem(buffer.data(), buffer.size(), [&texts](std::u16string_view item) { texts.emplace_back(item); });
  return texts;
}

}  // namespace

void FindUsbPrintDeviceSuffix(DeviceInterfaceSource& devices, ConfigManager& configManager,
                              char (&suffix)[kUsbSuffixCapacity]) {
  ScopedDeviceInfoSet set(devices, OpenUsbPrinterDeviceSet(devices));
  if (!set) return;
  DeviceInfoData device = EmptyDeviceInfoData(devices);
  for (std::uint32_t index = 0; devices.SetupDiEnumDeviceInfo(set.get(), index, device); ++index) {
    ReadDeviceSuffix(configManager, device.devInst, suffix);
  }
}

void FillUsbPortsFromSpooler(UsbPlatform& platform, ComboBox& combo) {
  PortSnapshot ports(platform.spooler);
  FillUsbPortsFromSpooler(platform, ports, combo);
}

void FillUsbPortsFromSpooler(UsbPlatform& platform, PortSnapshot& ports, ComboBox& combo) {
  char suffix[kUsbSuffixCapacity] = {};
  FindUsbPrintDeviceSuffix(platform.devices, platform.configManager, suffix);

  AddPortNamesContaining(ports, combo, u"USB");

  if (suffix[0] != 0) {
    combo.SetWindowTextA(suffix);
  } else if (combo.GetCount() <= 0) {
    combo.SetWindowTextW(kDefaultUsbPort);
  } else {
    combo.SetCurSel(0);
  }
}

void FillUsbDevicesForMonitor(UsbPlatform& platform, const InstallContext& context, ComboBox& combo) {
  if (!context.filterUsbPort.empty()) {
    NZUsbVidPidEnumerator_win enumerator(platform.devices);
    for (const std::u16string& text : EnumerateDeviceTexts(enumerator)) {
      if (text == context.filterUsbPort) {
        combo.AddString(text);
        break;
      }
    }
  } else {
    NZUsbVidPidEnumerator_win enumerator(platform.devices);
    VidPidPair pair{};
    if (!context.filterVid.empty() && !context.filterPid.empty()) {
      pair.vid = ReadLong(context.filterVid.c_str(), 16);
      pair.pid = ReadLong(context.filterPid.c_str(), 16);
      enumerator.filterCount = 1;
      enumerator.filterPairs = &pair;
    }
    for (const std::u16string& text : EnumerateDeviceTexts(enumerator)) combo.AddString(text);
  }
  if (combo.GetCount() > 0) combo.SetCurSel(0);
}
