#include "usb/enumerators.h"

#include <algorithm>
#include <string_view>

#include "diag/format.h"
#include "usb/allocation.h"
#include "usb/multi_string.h"
#include "usb/number_text.h"
#include "usb/wide_text.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Where key (lower case) first starts in text, in any letter case, or null: Windows does not
// promise the letter case of device interface paths.
const char* FindIgnoringCase(std::string_view text, std::string_view key) {
  auto at = std::search(text.begin(), text.end(), key.begin(), key.end(),
                        [](char a, char b) { return LowerAscii(a) == LowerAscii(b); });
  return at == text.end() ? nullptr : text.data() + (at - text.begin());
}

// "vid_1a2b&pid_4d5e&mi_01" of "\\?\usb#vid_1a2b&pid_4d5e&mi_01#<instance>#{<class>}": from the
// first '#' (the end of the bus prefix) to the next; all of a path without '#'. The instance
// part is the device's own text (a serial number) and may hold "mi_" as well.
std::string_view HardwareIdPart(std::string_view path) {
  std::size_t start = path.find('#');
  start = start == std::string_view::npos ? 0 : start + 1;
  std::size_t end = path.find('#', start);
  return path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

std::int32_t NZEnumerator::DoEnumerate(char*, std::uint32_t, std::int32_t* total) {
  if (total) *total = 0;
  return 0;
}

std::int32_t NZEnumerator::EnumerateA(char* buffer, std::uint32_t capacity, std::int32_t* total) {
  return DoEnumerate(buffer, capacity, total);
}

std::int32_t NZEnumerator::EnumerateW(char16_t* buffer, std::uint32_t capacity, std::int32_t* total) {
  WideItemWriter writer(buffer, capacity);
  // The size pass, then the fill pass into a zeroed buffer of that size.
  std::int32_t size = 0;
  EnumerateA(nullptr, 0, &size);
  HeapBlock<char> narrow;
  if (size > 0) narrow = AllocateZeroedBlock<char>(static_cast<std::size_t>(size));
  if (narrow) {
    // Devices may come or go between the passes; the fill keeps within its capacity either way,
    // and a buffer it wrote nothing into stays an empty list.
    EnumerateA(narrow.get(), static_cast<std::uint32_t>(size), nullptr);
    ForEachItem(narrow.get(), static_cast<std::size_t>(size), [&writer](std::string_view item) {
      HeapBlock<char16_t> wide(NarrowToWideText(std::string(item).c_str()));
      if (wide) writer.Add(wide.get());
    });
  }
  if (total) *total = writer.total();
  return writer.count();
}

bool NZUsbVidPidEnumerator::MatchesFilter(const char* path) const {
  if (!path || !filterPairs) return false;
  for (std::int32_t i = 0; i < filterCount; ++i) {
    const VidPidPair& pair = filterPairs[i];
    std::string vidPart;
    std::string pidPart;
    if (pair.vid >= 0 && pair.vid < 65535) vidPart = FormatNarrow(16, "vid_%04x", pair.vid);
    if (pair.pid >= 0 && pair.pid < 65535) pidPart = FormatNarrow(16, "pid_%04x", pair.pid);
    bool vidMatches = vidPart.empty() || FindIgnoringCase(path, vidPart) != nullptr;
    bool pidMatches = pidPart.empty() || FindIgnoringCase(path, pidPart) != nullptr;
    if (vidMatches && pidMatches) return true;
  }
  return false;
}

bool NZUsbVidPidEnumerator::ParseDevicePath(const char* path, std::uint16_t& vid, std::uint16_t& pid,
                                            std::int32_t& interfaceNumber) const {
  if (!path) return false;
  const char* vidAt = FindIgnoringCase(path, "vid_");
  const char* pidAt = FindIgnoringCase(path, "pid_");
  const char* miAt = FindIgnoringCase(HardwareIdPart(path), "mi_");
  if (!vidAt || !pidAt) return false;
  vid = static_cast<std::uint16_t>(ReadLong(vidAt + 4, 16) & 0xFFFF);
  pid = static_cast<std::uint16_t>(ReadLong(pidAt + 4, 16) & 0xFFFF);
  interfaceNumber = miAt ? ReadDecimal(miAt + 3) : -1;
  return true;
}

std::string FormatUsbItemText(std::uint16_t vid, std::uint16_t pid, std::int32_t interfaceNumber) {
  std::string text = FormatNarrow(kItemTextCapacity, "VID:0x%04X,PID:0x%04X", unsigned{vid}, unsigned{pid});
  if (interfaceNumber >= 0) text += FormatNarrow(kItemTextCapacity - text.size(), ",MI:%02d", interfaceNumber);
  return text;
}
