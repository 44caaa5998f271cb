#include "usb/usb_vid_pid_enumerator_win.h"

#include "usb/multi_string.h"

std::int32_t NZUsbVidPidEnumerator_win::DoEnumerate(char* buffer, std::uint32_t capacity, std::int32_t* total) {
  NarrowItemWriter writer(buffer, capacity);
  {
    ScopedDeviceInfoSet set(*devices_, OpenUsbPrinterDeviceSet(*devices_));
    if (set) {
      DeviceInfoData device = EmptyDeviceInfoData(*devices_);
      for (std::uint32_t index = 0; devices_->SetupDiEnumDeviceInfo(set.get(), index, device); ++index) {
        DeviceInterfaceData deviceInterface{};
        deviceInterface.cbSize = devices_->RecordSizes().deviceInterface;
        for (std::uint32_t slot = 0; devices_->SetupDiEnumDeviceInterfaces(set.get(), &device, kUsbPrintInterfaceClass,
                                                                           slot, deviceInterface);
             ++slot) {
          std::string item;
          if (ItemOfInterface(set.get(), deviceInterface, item)) writer.Add(item);
        }
      }
    }
  }
  if (total) *total = writer.total();
  return writer.count();
}

bool NZUsbVidPidEnumerator_win::ItemOfInterface(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface,
                                                std::string& item) {
  // Whatever stage the read stopped at, an interface without its path gives no item.
  const Read<std::string> path = devices_->DeviceInterfacePath(set, deviceInterface);
  if (!path) return false;
  std::uint16_t vid = 0;
  std::uint16_t pid = 0;
  std::int32_t interfaceNumber = -1;
  if ((filterCount == 0 || MatchesFilter(path.value.c_str())) &&
      ParseDevicePath(path.value.c_str(), vid, pid, interfaceNumber)) {
    item = FormatUsbItemText(vid, pid, interfaceNumber);
    return true;
  }
  return false;
}
