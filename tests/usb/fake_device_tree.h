#pragma once
// An in-memory device tree behind the SetupAPI and configuration-manager seams: devices with
// printer interfaces (device paths), instance identifiers and bus relations. Every call can be
// made to fail, and every call is recorded.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "usb/config_manager.h"
#include "usb/device_interface_source.h"

constexpr std::uint32_t kCrInvalidFlag = 0x0B;      // CR_INVALID_FLAG
constexpr std::uint32_t kCrNoSuchDevnode = 0x0D;    // CR_NO_SUCH_DEVNODE
constexpr std::uint32_t kCrBufferSmall = 0x1A;      // CR_BUFFER_SMALL
constexpr std::uint32_t kCrNoSuchValue = 0x25;      // CR_NO_SUCH_VALUE

struct FakeUsbInterface {
  std::string path;
  // What the size query reports; by default the record's true size (4 + path + terminator).
  std::optional<std::uint32_t> reportedSize;
  bool failDetail = false;
};

struct FakeUsbDevice {
  std::uint32_t devInst = 0;
  std::string identifier;
  std::vector<FakeUsbInterface> interfaces;
  // The bus relations as CM_Get_Device_ID_ListA returns them: a multi-string, final NUL included.
  std::string busRelations = std::string(1, '\0');
  std::uint32_t idSizeResult = kCrSuccess;
  std::optional<std::uint32_t> reportedIdLength;
  std::uint32_t idResult = kCrSuccess;
  std::uint32_t listResult = kCrSuccess;
  // The list fills the whole buffer with no terminator at all.
  bool listUnterminated = false;
};

// Field by field: the fake answers only for the USB printer interface class.
bool operator==(const DeviceClassGuid& a, const DeviceClassGuid& b);

// A multi-string of the given entries.
std::string MultiString(const std::vector<std::string>& entries);

// A device with one printer interface per path.
FakeUsbDevice UsbPrinter(std::uint32_t devInst, const std::vector<std::string>& paths);

struct DetailCall {
  bool query;             // no record passed
  std::uint32_t size;     // detailSize
  std::uint32_t cbSize;   // the record's cbSize, for a fill
};

class FakeDeviceTree : public DeviceInterfaceSource, public ConfigManager {
 public:
  std::vector<FakeUsbDevice> devices;
  SetupRecordSizes sizes{28, 28, 5};
  bool failClassDevs = false;
  // Runs at each SetupDiGetClassDevsA, so that devices can come and go between passes.
  std::function<void(FakeDeviceTree&, int openCount)> onOpen;

  std::vector<std::string> calls;
  std::vector<DetailCall> detailCalls;
  std::vector<std::uint32_t> deviceInfoCbSizes;
  std::vector<std::uint32_t> interfaceCbSizes;
  std::vector<std::uint32_t> idBufferLengths;
  std::vector<std::string> listFilters;
  std::vector<std::uint32_t> listLengths;
  std::vector<std::uint32_t> listFlags;
  int opened = 0;
  int destroyed = 0;

  SetupRecordSizes RecordSizes() const override { return sizes; }
  DeviceInfoSet SetupDiGetClassDevsA(const DeviceClassGuid& classGuid, const char* enumerator, WindowHandle parent,
                                     std::uint32_t flags) override;
  bool SetupDiEnumDeviceInfo(DeviceInfoSet set, std::uint32_t index, DeviceInfoData& device) override;
  bool SetupDiEnumDeviceInterfaces(DeviceInfoSet set, const DeviceInfoData* device, const DeviceClassGuid& classGuid,
                                   std::uint32_t index, DeviceInterfaceData& deviceInterface) override;
  bool SetupDiGetDeviceInterfaceDetailA(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface, void* detail,
                                        std::uint32_t detailSize, std::uint32_t* requiredSize,
                                        DeviceInfoData* device) override;
  bool SetupDiDestroyDeviceInfoList(DeviceInfoSet set) override;

  std::uint32_t CM_Get_Device_ID_Size(std::uint32_t* length, std::uint32_t devInst, std::uint32_t flags) override;
  std::uint32_t CM_Get_Device_IDA(std::uint32_t devInst, char* buffer, std::uint32_t bufferLength,
                                  std::uint32_t flags) override;
  std::uint32_t CM_Get_Device_ID_ListA(const char* filter, char* buffer, std::uint32_t bufferLength,
                                       std::uint32_t flags) override;

 private:
  static constexpr DeviceInfoSet kSet = 0x5E7;
  FakeUsbDevice* DeviceOf(std::uint32_t devInst);
  // The snapshot the open set sees; later changes to devices show at the next open.
  std::vector<FakeUsbDevice> snapshot_;
  bool open_ = false;
};
