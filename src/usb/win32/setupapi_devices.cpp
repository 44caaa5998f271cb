#include "usb/win32/setupapi_devices.h"

#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstring>

#include "diag/win32/wide.h"
#include "usb/win32/setupapi_reads.h"

static_assert(sizeof(GUID) == sizeof(DeviceClassGuid), "GUID layout");
static_assert(kDevicePathOffset == sizeof(DWORD), "DevicePath follows cbSize");
#ifdef _WIN64
static_assert(sizeof(SP_DEVINFO_DATA) == 32 && sizeof(SP_DEVICE_INTERFACE_DATA) == 32 &&
                  sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 8,
              "64-bit SetupAPI record sizes");
#else
static_assert(sizeof(SP_DEVINFO_DATA) == 28 && sizeof(SP_DEVICE_INTERFACE_DATA) == 28 &&
                  sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5,
              "32-bit SetupAPI record sizes");
#endif

namespace {

GUID ToGuid(const DeviceClassGuid& guid) {
  GUID out;
  std::memcpy(&out, &guid, sizeof out);
  return out;
}

DeviceClassGuid FromGuid(const GUID& guid) {
  DeviceClassGuid out;
  std::memcpy(&out, &guid, sizeof out);
  return out;
}

HDEVINFO ToSet(DeviceInfoSet set) { return reinterpret_cast<HDEVINFO>(set); }

SP_DEVINFO_DATA ToWin32(const DeviceInfoData& device) {
  SP_DEVINFO_DATA out;
  out.cbSize = device.cbSize;
  out.ClassGuid = ToGuid(device.classGuid);
  out.DevInst = device.devInst;
  out.Reserved = device.reserved;
  return out;
}

void FromWin32(const SP_DEVINFO_DATA& in, DeviceInfoData& device) {
  device.cbSize = in.cbSize;
  device.classGuid = FromGuid(in.ClassGuid);
  device.devInst = in.DevInst;
  device.reserved = in.Reserved;
}

SP_DEVICE_INTERFACE_DATA ToWin32(const DeviceInterfaceData& data) {
  SP_DEVICE_INTERFACE_DATA out;
  out.cbSize = data.cbSize;
  out.InterfaceClassGuid = ToGuid(data.interfaceClassGuid);
  out.Flags = data.flags;
  out.Reserved = data.reserved;
  return out;
}

void FromWin32(const SP_DEVICE_INTERFACE_DATA& in, DeviceInterfaceData& data) {
  data.cbSize = in.cbSize;
  data.interfaceClassGuid = FromGuid(in.InterfaceClassGuid);
  data.flags = in.Flags;
  data.reserved = in.Reserved;
}

}  // namespace

SetupRecordSizes Win32DeviceInterfaceSource::RecordSizes() const {
  return {sizeof(SP_DEVINFO_DATA), sizeof(SP_DEVICE_INTERFACE_DATA)};
}

DeviceInfoSet Win32DeviceInterfaceSource::SetupDiGetClassDevsA(const DeviceClassGuid& classGuid,
                                                               const char* enumerator, WindowHandle parent,
                                                               std::uint32_t flags) {
  GUID guid = ToGuid(classGuid);
  return reinterpret_cast<DeviceInfoSet>(::SetupDiGetClassDevsA(&guid, enumerator, ToHwnd(parent), flags));
}

bool Win32DeviceInterfaceSource::SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t index,
                                                       DeviceInfoData& device) {
  SP_DEVINFO_DATA data = ToWin32(device);
  BOOL ok = ::SetupDiEnumDeviceInfo(ToSet(set), index, &data);
  FromWin32(data, device);
  return ok != FALSE;
}

bool Win32DeviceInterfaceSource::SetupDiEnumDeviceInterfaces(DeviceInfoSet set, const DeviceInfoData* device,
                                                             const DeviceClassGuid& classGuid, std::uint32_t index,
                                                             DeviceInterfaceData& deviceInterface) {
  SP_DEVINFO_DATA deviceData{};
  if (device) deviceData = ToWin32(*device);
  GUID guid = ToGuid(classGuid);
  SP_DEVICE_INTERFACE_DATA data = ToWin32(deviceInterface);
  BOOL ok = ::SetupDiEnumDeviceInterfaces(ToSet(set), device ? &deviceData : nullptr, &guid, index, &data);
  FromWin32(data, deviceInterface);
  return ok != FALSE;
}

Read<std::string> Win32DeviceInterfaceSource::DeviceInterfacePath(DeviceInfoSet set,
                                                                 const DeviceInterfaceData& deviceInterface) {
  SP_DEVICE_INTERFACE_DATA data = ToWin32(deviceInterface);
  return ReadDevicePath([&](PSP_DEVICE_INTERFACE_DETAIL_DATA_A record, DWORD size, DWORD* required) {
    return ::SetupDiGetDeviceInterfaceDetailA(ToSet(set), &data, record, size, required, nullptr);
  });
}

bool Win32DeviceInterfaceSource::SetupDiDestroyDeviceInfoList(DeviceInfoSet set) {
  return ::SetupDiDestroyDeviceInfoList(ToSet(set)) != FALSE;
}

Read<std::string> Win32ConfigManager::DeviceId(std::uint32_t devInst) {
  return ReadDeviceId([devInst](ULONG* length) { return ::CM_Get_Device_ID_Size(length, devInst, 0); },
                      [devInst](char* buffer, ULONG length) { return ::CM_Get_Device_IDA(devInst, buffer, length, 0); });
}

Read<std::string> Win32ConfigManager::BusRelations(const std::string& deviceId) {
  return ReadBusRelations([&deviceId](char* buffer, ULONG length) {
    return ::CM_Get_Device_ID_ListA(deviceId.c_str(), buffer, length, CM_GETIDLIST_FILTER_BUSRELATIONS);
  });
}
