// The enumerators' packing of device texts into the caller's buffer, narrow and wide, for any
// device paths and any buffer size: nothing is written past the capacity the caller gave.
#include <cstdlib>
#include <string>
#include <vector>

#include "usb/fake_device_tree.h"
#include "usb/usb_vid_pid_enumerator_win.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint32_t capacity = data[0] | ((data[1] & 0x0F) << 8);  // up to 4095
  std::vector<std::string> paths(1);
  for (std::size_t i = 2; i < size; ++i) {
    if (data[i] == 0) {
      paths.emplace_back();
    } else {
      paths.back().push_back(static_cast<char>(data[i]));
    }
  }
  FakeDeviceTree tree;
  std::uint32_t instance = 1;
  for (const std::string& path : paths) tree.devices.push_back(UsbPrinter(instance++, {path}));
  constexpr std::size_t kGuard = 64;
  NZUsbVidPidEnumerator_win enumerator(tree);
  std::vector<char> narrow(capacity + kGuard, '\x5A');
  std::int32_t total = 0;
  enumerator.EnumerateA(narrow.data(), capacity, &total);
  for (std::size_t i = capacity; i < narrow.size(); ++i) {
    if (narrow[i] != '\x5A') std::abort();
  }
  std::vector<char16_t> wide(capacity / 2 + kGuard, u'\x5A5A');
  enumerator.EnumerateW(wide.data(), capacity, &total);
  for (std::size_t i = capacity / 2; i < wide.size(); ++i) {
    if (wide[i] != u'\x5A5A') std::abort();
  }
  return 0;
}
