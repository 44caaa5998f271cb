#pragma once
// SetupAPI's device-interface enumeration: one method per call, and one per variable-size read,
// which returns the value read. The records mirror the Win32 ones field by field; their cbSize
// values come from RecordSizes(), which knows the build's layout.
#include <cstdint>
#include <string>

#include "diag/dialogs.h"
#include "diag/read.h"
#include "diag/scoped_handle.h"

struct DeviceClassGuid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

// GUID_DEVINTERFACE_USBPRINT {28D78FAD-5A12-11D1-AE5B-0000F803A8C2}
constexpr DeviceClassGuid kUsbPrintInterfaceClass = {
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};

// SP_DEVINFO_DATA
struct DeviceInfoData {
  std::uint32_t cbSize;
  DeviceClassGuid classGuid;
  std::uint32_t devInst;
  std::uintptr_t reserved;
};

// SP_DEVICE_INTERFACE_DATA
struct DeviceInterfaceData {
  std::uint32_t cbSize;
  DeviceClassGuid interfaceClassGuid;
  std::uint32_t flags;
  std::uintptr_t reserved;
};

// A device-information set; kInvalidDeviceInfoSet is INVALID_HANDLE_VALUE.
using DeviceInfoSet = std::uintptr_t;
constexpr DeviceInfoSet kInvalidDeviceInfoSet = ~std::uintptr_t{0};

constexpr std::uint32_t kDigcfPresent = 0x02;          // DIGCF_PRESENT
constexpr std::uint32_t kDigcfDeviceInterface = 0x10;  // DIGCF_DEVICEINTERFACE

// The cbSize values the platform expects: sizeof of each record in the build's layout
// (28 and 28 for 32-bit Windows; 32 and 32 for 64-bit).
struct SetupRecordSizes {
  std::uint32_t deviceInfo;
  std::uint32_t deviceInterface;
};

class DeviceInterfaceSource {
 public:
  virtual ~DeviceInterfaceSource() = default;
  virtual SetupRecordSizes RecordSizes() const = 0;
  // enumerator: null for none.
  virtual DeviceInfoSet SetupDiGetClassDevsA(const DeviceClassGuid& classGuid, const char* enumerator,
                                             WindowHandle parent, std::uint32_t flags) = 0;
  virtual bool SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t index, DeviceInfoData& device) = 0;
  virtual bool SetupDiEnumDeviceInterfaces(DeviceInfoSet set, const DeviceInfoData* device,
                                           const DeviceClassGuid& classGuid, std::uint32_t index,
                                           DeviceInterfaceData& deviceInterface) = 0;
  // The interface's narrow device path (SetupDiGetDeviceInterfaceDetailA, size query then fill,
  // without an SP_DEVINFO_DATA), or the stage that failed.
  virtual Read<std::string> DeviceInterfacePath(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface) = 0;
  virtual bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) = 0;
};

// Owns a device-information set and destroys it when the scope ends; a failed open is none.
using ScopedDeviceInfoSet = ScopedHandle<DeviceInterfaceSource, DeviceInfoSet,
                                         &DeviceInterfaceSource::SetupDiDestroyDeviceInfoList, kInvalidDeviceInfoSet>;

// Opens the set of present devices exposing the USB printer interface.
DeviceInfoSet OpenUsbPrinterDeviceSet(DeviceInterfaceSource& source);

// A zeroed SP_DEVINFO_DATA with its cbSize set for the build.
DeviceInfoData EmptyDeviceInfoData(const DeviceInterfaceSource& source);
