#pragma once
// SetupAPI and the configuration manager over the real calls (all exported by setupapi.dll,
// a KnownDLL, so the exe links setupapi alone).
#include "usb/config_manager.h"
#include "usb/device_interface_source.h"

class Win32DeviceInterfaceSource : public DeviceInterfaceSource {
 public:
  SetupRecordSizes RecordSizes() const override;
  DeviceInfoSet SetupDiGetClassDevsA(const DeviceClassGuid& classGuid, const char* enumerator, WindowHandle parent,
                                     std::uint32_t flags) override;
  bool SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t index, DeviceInfoData& device) override;
  bool SetupDiEnumDeviceInterfaces(DeviceInfoSet set, const DeviceInfoData* device, const DeviceClassGuid& classGuid,
                                   std::uint32_t index, DeviceInterfaceData& deviceInterface) override;
  Read<std::string> DeviceInterfacePath(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface) override;
  bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) override;
};

class Win32ConfigManager : public ConfigManager {
 public:
  Read<std::string> DeviceId(std::uint32_t devInst) override;
  Read<std::string> BusRelations(const std::string& deviceId) override;
};
