#pragma once
// An in-memory device tree behind the SetupAPI and configuration-manager seams: devices with
// printer interfaces (device paths), instance identifiers and bus relations. Every call can be
// made to fail, every read at a chosen stage with a chosen code, and every call is recorded.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "usb/config_manager.h"
#include "usb/device_interface_source.h"

// A read that stops at stage with code instead of giving its value.
struct FakeFailure {
  ReadStage stage;
  std::uint32_t code;
};

struct FakeUsbInterface {
  std::string path;
  std::optional<FakeFailure> failPath;
};

struct FakeUsbDevice {
  std::uint32_t devInst = 0;
  std::string identifier;
  std::vector<FakeUsbInterface> interfaces;
  // The bus relations as the list read gives them: a multi-string, final NUL included.
  std::string busRelations = std::string(1, '\0');
  std::optional<FakeFailure> failId;
  std::optional<FakeFailure> failRelations;
};

// Field by field: the fake answers only for the USB printer interface class.
bool operator==(const DeviceClassGuid& a, const DeviceClassGuid& b);

// A multi-string of the given entries.
std::string MultiString(const std::vector<std::string>& entries);

// A device with one printer interface per path.
FakeUsbDevice UsbPrinter(std::uint32_t devInst, const std::vector<std::string>& paths);

class FakeDeviceTree : public DeviceInterfaceSource, public ConfigManager {
 public:
  std::vector<FakeUsbDevice> devices;
  SetupRecordSizes sizes{28, 28};
  bool failClassDevs = false;
  // Runs at each SetupDiGetClassDevsA, so that devices can come and go between passes.
  std::function<void(FakeDeviceTree&, int openCount)> onOpen;

  std::vector<std::string> calls;
  std::vector<std::uint32_t> deviceInfoCbSizes;
  std::vector<std::uint32_t> interfaceCbSizes;
  // The identifiers whose bus relations were asked for.
  std::vector<std::string> listFilters;
  int opened = 0;
  int destroyed = 0;

  SetupRecordSizes RecordSizes() const override { return sizes; }
  DeviceInfoSet SetupDiGetClassDevsA(const DeviceClassGuid& classGuid, const char* enumerator, WindowHandle parent,
                                     std::uint32_t flags) override;
  bool SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t index, DeviceInfoData& device) override;
  bool SetupDiEnumDeviceInterfaces(DeviceInfoSet set, const DeviceInfoData* device, const DeviceClassGuid& classGuid,
                                   std::uint32_t index, DeviceInterfaceData& deviceInterface) override;
  Read<std::string> DeviceInterfacePath(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface) override;
  bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) override;

  Read<std::string> DeviceId(std::uint32_t devInst) override;
  Read<std::string> BusRelations(const std::string& deviceId) override;

 private:
  static constexpr DeviceInfoSet kSet = 0x5E7;
  // The snapshot the open set sees; later changes to devices show at the next open.
  std::vector<FakeUsbDevice> snapshot_;
  bool open_ = false;
};
