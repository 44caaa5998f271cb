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
  bool SetupDiGetDeviceInterfaceDetailA(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface, void* detail,
                                        std::uint32_t detailSize, std::uint32_t* requiredSize,
                                        DeviceInfoData* device) override;
  bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) override;
};

class Win32ConfigManager : public ConfigManager {
 public:
  std::uint32_t CM_Get_Device_ID_Size(std::uint32_t* length, std::uint32_t devInst, std::uint32_t flags) override;
  std::uint32_t CM_Get_Device_IDA(std::uint32_t devInst, char* buffer, std::uint32_t bufferLength,
                                  std::uint32_t flags) override;
  std::uint32_t CM_Get_Device_ID_ListA(const char* filter, char* buffer, std::uint32_t bufferLength,
                                       std::uint32_t flags) override;
};
