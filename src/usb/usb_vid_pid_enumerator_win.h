#pragma once
// The enumerator over SetupAPI's USB printer interfaces: one item per printer interface, in the
// platform's device order, then interface order.
#include "usb/device_interface_source.h"
#include "usb/enumerators.h"

class NZUsbVidPidEnumerator_win : public NZUsbVidPidEnumerator {
 public:
  // devices: Win32DeviceInterfaceSource (usb/win32/setupapi_devices.h) in the product.
  explicit NZUsbVidPidEnumerator_win(DeviceInterfaceSource& devices) : devices_(&devices) {}

  std::int32_t DoEnumerate(char* buffer, std::uint32_t capacity, std::int32_t* total) override;

 private:
  // The item text of one interface, or nothing when the filter or the path gives none.
  bool ItemOfInterface(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface, std::string& item);

  DeviceInterfaceSource* devices_;
};
