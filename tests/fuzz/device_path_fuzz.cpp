// Device interface paths as SetupAPI reports them: any bytes, parsed and filtered without a crash
// or a read past the text.
#include <string>

#include "fuzz_input.h"
#include "usb/enumerators.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  VidPidPair pair{};
  pair.vid = static_cast<std::int32_t>(data[0] | (data[1] << 8));
  pair.pid = static_cast<std::int32_t>(data[2] | (data[3] << 8));
  const std::string path(reinterpret_cast<const char*>(data + 4), size - 4);  // NUL inside ends it early
  NZUsbVidPidEnumerator enumerator;
  enumerator.filterCount = 1;
  enumerator.filterPairs = &pair;
  enumerator.MatchesFilter(path.c_str());
  std::uint16_t vid = 0;
  std::uint16_t pid = 0;
  std::int32_t interfaceNumber = -1;
  enumerator.ParseDevicePath(path.c_str(), vid, pid, interfaceNumber);
  return 0;
}
