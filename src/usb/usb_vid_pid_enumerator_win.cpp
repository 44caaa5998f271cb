#include "usb/usb_vid_pid_enumerator_win.h"

#include <cstdlib>
#include <cstring>

#include "usb/allocation.h"
#include "usb/multi_string.h"

std::int32_t NZUsbVidPidEnumerator_win::DoEnumerate(char* buffer, std::uint32_t capacity, std::int32_t* total) {
  NarrowItemWriter writer(buffer, capacity);
  {
    ScopedDeviceInfoSet set(*devices_, OpenUsbPrinterDeviceSet(*devices_));
    if (set.valid()) {
      DeviceInfoData device = EmptyDeviceInfoData(*devices_);
      for (std::uint32_t index = 0; devices_->SetupDiEnumDeviceInfo(set.get(), index, device); ++index) {
        DeviceInterfaceData deviceInterface{};
        deviceInterface.cbSize = devices_->RecordSizes().deviceInterface;
        for (std::uint32_t slot = 0; devices_->SetupDiEnumDeviceInterfaces(set.get(), &device, kUsbPrintInterfaceClass,
                                                                           slot, deviceInterface);
             ++slot) {
          std::string item;
          if (ItemOfInterface(set.get(), deviceInterface, item)) writer.Add(item);
        }
      }
    }
  }
  if (total) *total = writer.total();
  return writer.count();
}

bool NZUsbVidPidEnumerator_win::ItemOfInterface(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface,
                                                std::string& item) {
  std::uint32_t required = 0;
  devices_->SetupDiGetDeviceInterfaceDetailA(set, deviceInterface, nullptr, 0, &required, nullptr);
  // Without a size there is no record to read the path from.
  if (required <= kDetailDevicePathOffset) return false;
  // One zero byte beyond the record keeps the path terminated whatever the platform wrote.
  const std::size_t blockSize = std::size_t{required} + 1;
  auto* record = static_cast<unsigned char*>(AllocateZeroedBytes(blockSize));
  if (!record) return false;
  const std::uint32_t cbSize = devices_->RecordSizes().interfaceDetail;
  std::memcpy(record, &cbSize, sizeof cbSize);
  bool found = false;
  if (devices_->SetupDiGetDeviceInterfaceDetailA(set, deviceInterface, record, required, &required, nullptr)) {
    const char* path = reinterpret_cast<const char*>(record + kDetailDevicePathOffset);
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::int32_t interfaceNumber = -1;
    if ((filterCount == 0 || MatchesFilter(path)) && ParseDevicePath(path, vid, pid, interfaceNumber)) {
      item = FormatUsbItemText(vid, pid, interfaceNumber);
      found = true;
    }
  }
  std::free(record);
  return found;
}
