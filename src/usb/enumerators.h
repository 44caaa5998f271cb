#pragma once
// The USB device enumerators. Plain values without a virtual destructor: callers make one on
// their stack, set the filter if they want one, enumerate and drop it.
// The three operations are declared in one order in every class (DoEnumerate, EnumerateA,
// EnumerateW), so that a reader finds each class laid out like the others.
#include <cstddef>
#include <cstdint>
#include <string>

#include "usb/vid_pid_pair.h"

// Room for one item text: at most 35 characters are ever formatted into it.
constexpr std::size_t kItemTextCapacity = 100;

class NZEnumerator {
 public:
  // Every operation writes as many items as fit into buffer as a multi-string, returns how many
  // it wrote and stores in *total (when given) the bytes a buffer would need for every item.
  // buffer may be null only with capacity 0; capacity and total count bytes, also for wide text.
  // A call that writes no item leaves the buffer as it was.

  // The platform's enumeration, narrow; this root lists nothing.
  virtual std::int32_t DoEnumerate(char* buffer, std::uint32_t capacity, std::int32_t* total);
  virtual std::int32_t EnumerateA(char* buffer, std::uint32_t capacity, std::int32_t* total);
  // Runs EnumerateA twice (size, then fill) and converts each item to UTF-16.
  virtual std::int32_t EnumerateW(char16_t* buffer, std::uint32_t capacity, std::int32_t* total);
};

class NZUsbVidPidEnumerator : public NZEnumerator {
 public:
  // True when one of the filter pairs accepts the device path: "vid_%04x" and "pid_%04x" of its
  // halves both occur in it, in any letter case (a half outside 0..65534 needs nothing).
  bool MatchesFilter(const char* path) const;

  // Reads the identifiers after the first "vid_" and "pid_" (hex, low 16 bits) and the interface
  // number after "mi_" (decimal, -1 without one), each found in any letter case; "mi_" counts
  // only in the hardware-id part (after the bus prefix's '#', up to the next '#'). False, with
  // the outputs untouched, when "vid_" or "pid_" is missing.
  bool ParseDevicePath(const char* path, std::uint16_t& vid, std::uint16_t& pid,
                       std::int32_t& interfaceNumber) const;

  std::int32_t filterCount = 0;
  // Borrowed: the caller keeps the filterCount pairs alive while the enumerator runs.
  const VidPidPair* filterPairs = nullptr;
};

// "VID:0x%04X,PID:0x%04X" and, for a non-negative interface number, ",MI:%02d".
std::string FormatUsbItemText(std::uint16_t vid, std::uint16_t pid, std::int32_t interfaceNumber);
