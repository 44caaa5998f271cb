#pragma once
// The configuration manager's device-identifier reads (exported by setupapi): each returns the
// text read, or the stage that failed with the CONFIGRET code of the failing call.
#include <cstddef>
#include <cstdint>
#include <string>

#include "diag/read.h"

constexpr std::size_t kBusRelationsCapacity = 2000;  // bytes: the list is read into this much, once

class ConfigManager {
 public:
  virtual ~ConfigManager() = default;
  // The device instance identifier of devInst, without its terminator (CM_Get_Device_ID_Size,
  // then CM_Get_Device_IDA with room for the terminator, flags 0).
  virtual Read<std::string> DeviceId(std::uint32_t devInst) = 0;
  // The identifiers of the device's bus relations as the multi-string CM_Get_Device_ID_ListA
  // fills into kBusRelationsCapacity bytes (CM_GETIDLIST_FILTER_BUSRELATIONS), all those bytes;
  // a list that does not fit fails the fill. No size query: the list is read once.
  virtual Read<std::string> BusRelations(const std::string& deviceId) = 0;
};
