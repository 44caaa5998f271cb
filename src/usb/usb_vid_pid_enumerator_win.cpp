#include "usb/usb_vid_pid_enumerator_win.h"

#include <cstring>

#include "spooler/ask_size_then_fill.h"
#include "usb/allocation.h"
#include "usb/multi_string.h"

std::int32_t NZUsbVidPidEnumerator_win::DoEnumerate(char* buffer, std::uint32_t capacity, std::int32_t* total) {
  NarrowItemWriter writer(buffer, capacity);
  {
    ScopedDeviceInfoSet set(*devices_, OpenUsbPrinterDeviceSet(*devices_));
    if (set) {
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

namespace {
constexpr std::uint32_t kLongestDetailRecord = 0x10000;
}  // namespace

bool NZUsbVidPidEnumerator_win::ItemOfInterface(DeviceInfoSet set, const DeviceInterfaceData& deviceInterface,
                                                std::string& item) {
  std::uint32_t required = 0;
  HeapBlock<unsigned char> record;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        devices_->SetupDiGetDeviceInterfaceDetailA(set, deviceInterface, nullptr, 0, &required, nullptr);
        return BufferWanted(required);
      },
      [&](std::uint32_t size) {
        // A device path is a few hundred bytes; a size past any real record would wrap the
        // allocation below round to almost nothing.
        if (size > kLongestDetailRecord) return SpoolResult::NoMemory;
        // One zero byte beyond the record keeps the path terminated whatever the platform wrote.
        record = AllocateZeroedBlock<unsigned char>(std::size_t{size} + 1);
        if (!record) return SpoolResult::NoMemory;
        const std::uint32_t cbSize = devices_->RecordSizes().interfaceDetail;
        std::memcpy(record.get(), &cbSize, sizeof cbSize);
        return devices_->SetupDiGetDeviceInterfaceDetailA(set, deviceInterface, record.get(), size, &required, nullptr)
                   ? SpoolResult::Succeeded
                   : SpoolResult::Failed;
      },
      // Without room for a path there is no record to read it from.
      kDetailDevicePathOffset + 1);
  if (end != TwoCallEnd::Filled) return false;
  const char* path = reinterpret_cast<const char*>(record.get() + kDetailDevicePathOffset);
  std::uint16_t vid = 0;
  std::uint16_t pid = 0;
  std::int32_t interfaceNumber = -1;
  if ((filterCount == 0 || MatchesFilter(path)) && ParseDevicePath(path, vid, pid, interfaceNumber)) {
    item = FormatUsbItemText(vid, pid, interfaceNumber);
    return true;
  }
  return false;
}
