#include "usb/fake_device_tree.h"

#include <cstring>

bool operator==(const DeviceClassGuid& a, const DeviceClassGuid& b) {
  return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
         std::memcmp(a.data4, b.data4, sizeof a.data4) == 0;
}

std::string MultiString(const std::vector<std::string>& entries) {
  std::string out;
  for (const std::string& entry : entries) {
    out += entry;
    out.push_back('\0');
  }
  out.push_back('\0');
  return out;
}

FakeUsbDevice UsbPrinter(std::uint32_t devInst, const std::vector<std::string>& paths) {
  FakeUsbDevice device;
  device.devInst = devInst;
  device.identifier = "USB\\VID_1A2B&PID_4D5E\\" + std::to_string(devInst);
  for (const std::string& path : paths) device.interfaces.push_back({path, std::nullopt, false});
  return device;
}

DeviceInfoSet FakeDeviceTree::SetupDiGetClassDevsA(const DeviceClassGuid& classGuid, const char* enumerator,
                                                   WindowHandle parent, std::uint32_t flags) {
  calls.push_back("SetupDiGetClassDevsA");
  ++opened;
  if (onOpen) onOpen(*this, opened);
  if (failClassDevs || !(classGuid == kUsbPrintInterfaceClass) || enumerator != nullptr || parent != 0 ||
      flags != (kDigcfPresent | kDigcfDeviceInterface))
    return kInvalidDeviceInfoSet;
  snapshot_ = devices;
  open_ = true;
  return kSet;
}

bool FakeDeviceTree::SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t index, DeviceInfoData& device) {
  calls.push_back("SetupDiEnumDeviceInfo " + std::to_string(index));
  deviceInfoCbSizes.push_back(device.cbSize);
  if (set != kSet || !open_ || device.cbSize != sizes.deviceInfo || index >= snapshot_.size()) return false;
  device.devInst = snapshot_[index].devInst;
  device.reserved = index + 1;
  return true;
}

bool FakeDeviceTree::SetupDiEnumDeviceInterfaces(DeviceInfoSet set, const DeviceInfoData* device,
                                                 const DeviceClassGuid& classGuid, std::uint32_t index,
                                                 DeviceInterfaceData& deviceInterface) {
  calls.push_back("SetupDiEnumDeviceInterfaces " + std::to_string(index));
  interfaceCbSizes.push_back(deviceInterface.cbSize);
  if (set != kSet || !open_ || !device || device->reserved == 0 || device->reserved > snapshot_.size() ||
      !(classGuid == kUsbPrintInterfaceClass) || deviceInterface.cbSize != sizes.deviceInterface)
    return false;
  const FakeUsbDevice& owner = snapshot_[device->reserved - 1];
  if (index >= owner.interfaces.size()) return false;
  deviceInterface.interfaceClassGuid = classGuid;
  deviceInterface.reserved = (device->reserved << 16) | (index + 1);
  return true;
}

bool FakeDeviceTree::SetupDiGetDeviceInterfaceDetailA(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface,
                                                      void* detail, std::uint32_t detailSize,
                                                      std::uint32_t* requiredSize, DeviceInfoData* device) {
  std::uint32_t cbSize = 0;
  if (detail) std::memcpy(&cbSize, detail, sizeof cbSize);
  detailCalls.push_back({detail == nullptr, detailSize, cbSize});
  calls.push_back(detail ? "SetupDiGetDeviceInterfaceDetailA fill" : "SetupDiGetDeviceInterfaceDetailA size");
  const std::uintptr_t deviceSlot = deviceInterface.reserved >> 16;
  const std::uintptr_t interfaceSlot = deviceInterface.reserved & 0xFFFF;
  if (set != kSet || !open_ || device != nullptr || deviceSlot == 0 || deviceSlot > snapshot_.size()) return false;
  const FakeUsbDevice& owner = snapshot_[deviceSlot - 1];
  if (interfaceSlot == 0 || interfaceSlot > owner.interfaces.size()) return false;
  const FakeUsbInterface& item = owner.interfaces[interfaceSlot - 1];
  const auto trueSize = static_cast<std::uint32_t>(kDetailDevicePathOffset + item.path.size() + 1);
  if (!detail) {
    if (detailSize != 0) return false;
    if (requiredSize) *requiredSize = item.reportedSize.value_or(trueSize);
    return false;  // ERROR_INSUFFICIENT_BUFFER
  }
  if (item.failDetail || cbSize != sizes.interfaceDetail || detailSize < trueSize) return false;
  std::memcpy(static_cast<char*>(detail) + kDetailDevicePathOffset, item.path.c_str(), item.path.size() + 1);
  if (requiredSize) *requiredSize = trueSize;
  return true;
}

bool FakeDeviceTree::SetupDiDestroyDeviceInfoList(DeviceInfoSet set) {
  calls.push_back("SetupDiDestroyDeviceInfoList");
  if (set != kSet || !open_) return false;
  open_ = false;
  ++destroyed;
  return true;
}

FakeUsbDevice* FakeDeviceTree::DeviceOf(std::uint32_t devInst) {
  for (FakeUsbDevice& device : devices) {
    if (device.devInst == devInst) return &device;
  }
  return nullptr;
}

std::uint32_t FakeDeviceTree::CM_Get_Device_ID_Size(std::uint32_t* length, std::uint32_t devInst,
                                                    std::uint32_t flags) {
  calls.push_back("CM_Get_Device_ID_Size " + std::to_string(devInst));
  FakeUsbDevice* device = DeviceOf(devInst);
  if (!device) return kCrNoSuchDevnode;
  if (flags != 0) return kCrInvalidFlag;
  if (device->idSizeResult != kCrSuccess) return device->idSizeResult;
  *length = device->reportedIdLength.value_or(static_cast<std::uint32_t>(device->identifier.size()));
  return kCrSuccess;
}

std::uint32_t FakeDeviceTree::CM_Get_Device_IDA(std::uint32_t devInst, char* buffer, std::uint32_t bufferLength,
                                                std::uint32_t flags) {
  calls.push_back("CM_Get_Device_IDA " + std::to_string(devInst));
  idBufferLengths.push_back(bufferLength);
  FakeUsbDevice* device = DeviceOf(devInst);
  if (!device) return kCrNoSuchDevnode;
  if (flags != 0) return kCrInvalidFlag;
  if (device->idResult != kCrSuccess) return device->idResult;
  // Like the platform: as much as fits, terminated only when there is room.
  const std::size_t n = device->identifier.size();
  std::memcpy(buffer, device->identifier.data(), n < bufferLength ? n : bufferLength);
  if (n >= bufferLength) return kCrBufferSmall;
  buffer[n] = 0;
  return kCrSuccess;
}

std::uint32_t FakeDeviceTree::CM_Get_Device_ID_ListA(const char* filter, char* buffer, std::uint32_t bufferLength,
                                                     std::uint32_t flags) {
  calls.push_back(std::string("CM_Get_Device_ID_ListA ") + filter);
  listFilters.push_back(filter);
  listLengths.push_back(bufferLength);
  listFlags.push_back(flags);
  FakeUsbDevice* device = nullptr;
  for (FakeUsbDevice& candidate : devices) {
    if (candidate.identifier == filter) device = &candidate;
  }
  if (!device) return kCrNoSuchValue;
  if (flags != kCmGetIdListFilterBusRelations) return kCrInvalidFlag;
  if (device->listResult != kCrSuccess) return device->listResult;
  if (device->listUnterminated) {
    std::memset(buffer, 'X', bufferLength);
    buffer[bufferLength / 2] = '&';
    return kCrSuccess;
  }
  if (device->busRelations.size() > bufferLength) return kCrBufferSmall;
  std::memcpy(buffer, device->busRelations.data(), device->busRelations.size());
  return kCrSuccess;
}
