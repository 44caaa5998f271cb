#pragma once
// Fields of the custom port record that the wizard only writes, read back for the tests.
#include <string>

#include "spooler/port_records.h"

inline std::u16string CustomPortDeviceText(const CustomPortRecord& record) {
  return GetText(record.data(), custom_port::kDeviceText, custom_port::kTextChars);
}
