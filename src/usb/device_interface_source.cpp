#include "usb/device_interface_source.h"

DeviceInfoSet OpenUsbPrinterDeviceSet(DeviceInterfaceSource& source) {
  return source.SetupDiGetClassDevsA(kUsbPrintInterfaceClass, nullptr, 0, kDigcfPresent | kDigcfDeviceInterface);
}

DeviceInfoData EmptyDeviceInfoData(const DeviceInterfaceSource& source) {
  DeviceInfoData device{};
  device.cbSize = source.RecordSizes().deviceInfo;
  return device;
}
