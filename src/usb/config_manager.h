#pragma once
// The configuration manager's device-identifier calls (exported by setupapi), one method per
// call; each returns the CONFIGRET code.
#include <cstdint>

constexpr std::uint32_t kCrSuccess = 0x00;                       // CR_SUCCESS
constexpr std::uint32_t kCmGetIdListFilterBusRelations = 0x20;   // CM_GETIDLIST_FILTER_BUSRELATIONS

class ConfigManager {
 public:
  virtual ~ConfigManager() = default;
  // The identifier's length without its terminator.
  virtual std::uint32_t CM_Get_Device_ID_Size(std::uint32_t* length, std::uint32_t devInst,
                                              std::uint32_t flags) = 0;
  virtual std::uint32_t CM_Get_Device_IDA(std::uint32_t devInst, char* buffer, std::uint32_t bufferLength,
                                          std::uint32_t flags) = 0;
  // A multi-string of identifiers related to filter as flags select.
  virtual std::uint32_t CM_Get_Device_ID_ListA(const char* filter, char* buffer, std::uint32_t bufferLength,
                                               std::uint32_t flags) = 0;
};
