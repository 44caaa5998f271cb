#include "usb/device_interface_source.h"

#include <cstring>

bool operator==(const DeviceClassGuid& a, const DeviceClassGuid& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
         std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

DeviceInfoSet OpenUsbPrinterDeviceSet(DeviceInterfaceSource& source) {
  return source.SetupDiGetClassDevsA(kUsbPrintInterfaceClass, nullptr, 0, kDigcfPresent | kDigcfDeviceInterface);
}

DeviceInfoData EmptyDeviceInfoData(const DeviceInterfaceSource& source) {
  DeviceInfoData device{};
  device.cbSize = source.RecordSizes().deviceInfo;
  return device;
}
