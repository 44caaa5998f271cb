#include "usb/fake_device_tree.h"

#include <cstring>

namespace {

constexpr std::uint32_t kCrNoSuchDevnode = 0x0D;  // CR_NO_SUCH_DEVNODE
constexpr std::uint32_t kCrNoSuchValue = 0x25;    // CR_NO_SUCH_VALUE
constexpr std::uint32_t kErrorInvalidParameter = 87;

Read<std::string> Answer(const std::optional<FakeFailure>& failure, const std::string& value) {
  return failure ? Read<std::string>::Failed(failure->stage, failure->code) : Read<std::string>::Of(value);
}

}  // namespace

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
  for (const std::string& path : paths) device.interfaces.push_back({path, std::nullopt});
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

Read<std::string> FakeDeviceTree::DeviceInterfacePath(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface) {
  calls.push_back("DeviceInterfacePath");
  const std::uintptr_t deviceSlot = deviceInterface.reserved >> 16;
  const std::uintptr_t interfaceSlot = deviceInterface.reserved & 0xFFFF;
  const bool known = set == kSet && open_ && deviceSlot != 0 && deviceSlot <= snapshot_.size() && interfaceSlot != 0 &&
                     interfaceSlot <= snapshot_[deviceSlot - 1].interfaces.size();
  if (!known) return Read<std::string>::Failed(ReadStage::SizeQueryFailed, kErrorInvalidParameter);
  const FakeUsbInterface& item = snapshot_[deviceSlot - 1].interfaces[interfaceSlot - 1];
  return Answer(item.failPath, item.path);
}

bool FakeDeviceTree::SetupDiDestroyDeviceInfoList(DeviceInfoSet set) {
  calls.push_back("SetupDiDestroyDeviceInfoList");
  if (set != kSet || !open_) return false;
  open_ = false;
  ++destroyed;
  return true;
}

Read<std::string> FakeDeviceTree::DeviceId(std::uint32_t devInst) {
  calls.push_back("DeviceId " + std::to_string(devInst));
  for (const FakeUsbDevice& device : devices) {
    if (device.devInst == devInst) return Answer(device.failId, device.identifier);
  }
  return Read<std::string>::Failed(ReadStage::SizeQueryFailed, kCrNoSuchDevnode);
}

Read<std::string> FakeDeviceTree::BusRelations(const std::string& deviceId) {
  calls.push_back("BusRelations " + deviceId);
  listFilters.push_back(deviceId);
  for (const FakeUsbDevice& device : devices) {
    if (device.identifier == deviceId) return Answer(device.failRelations, device.busRelations);
  }
  return Read<std::string>::Failed(ReadStage::FillFailed, kCrNoSuchValue);
}
