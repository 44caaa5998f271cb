#pragma once
// The variable-size reads of SetupAPI and the configuration manager over the one ask-size-then-fill
// loop. Each takes the platform call as a callable, so that the protocol can be driven by a script.
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "diag/read.h"
#include "diag/win32/two_call.h"
#include "usb/config_manager.h"

// The narrow text at the start of size bytes, up to its terminator or all of them.
inline std::string TextOf(const BYTE* bytes, DWORD size) {
  const char* text = reinterpret_cast<const char*>(bytes);
  const void* end = std::memchr(text, 0, size);
  return std::string(text, end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : size);
}

constexpr DWORD kDevicePathOffset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
// A device path is a few hundred bytes; a record outside these sizes is not one.
constexpr DWORD kSmallestDetailRecord = kDevicePathOffset + 1;
constexpr DWORD kLongestDetailRecord = 0x10000;

// detail(record, size, &required) -> BOOL, as SetupDiGetDeviceInterfaceDetailA takes them for one
// interface. Each record gets the build's cbSize before its fill.
template <class Detail>
Read<std::string> ReadDevicePath(Detail&& detail) {
  return ReadWithBuffer<std::string>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) -> BOOL {
        auto* record = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(buffer);
        if (record) {
          const DWORD cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
          std::memcpy(buffer, &cbSize, sizeof cbSize);
        }
        const BOOL ok = detail(record, size, needed);
        // A size no record can have is no size: never allocated, never asked for again.
        if (!ok && (*needed < kSmallestDetailRecord || *needed > kLongestDetailRecord)) *needed = 0;
        return ok;
      },
      [](const BYTE* bytes, DWORD size) {
        return size > kDevicePathOffset ? TextOf(bytes + kDevicePathOffset, size - kDevicePathOffset) : std::string();
      });
}

// length(ULONG* length) -> CONFIGRET, as CM_Get_Device_ID_Size answers for one device (the length
// without the terminator); id(char* buffer, ULONG length) -> CONFIGRET, as CM_Get_Device_IDA.
// The configuration manager answers with a CONFIGRET, not the thread's last-error value the loop
// reads, so the answer is put there: ERROR_INSUFFICIENT_BUFFER while a larger buffer is wanted,
// otherwise the CONFIGRET itself, which is then the read's code.
template <class Length, class Id>
Read<std::string> ReadDeviceId(Length&& length, Id&& id) {
  // Room for the terminator too; a length that leaves none gives no size.
  const auto ask = [&](DWORD* needed) {
    ULONG units = 0;
    const CONFIGRET result = length(&units);
    *needed = result == CR_SUCCESS && units < MAXDWORD ? units + 1 : 0;
    return result;
  };
  return ReadWithBuffer<std::string>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) -> BOOL {
        CONFIGRET result = CR_SUCCESS;
        if (!buffer) {
          result = ask(needed);
          if (result == CR_SUCCESS) result = CR_BUFFER_SMALL;  // the length is known: now the fill
        } else {
          result = id(reinterpret_cast<char*>(buffer), size);
          // The identifier changed since its length was asked: ask again.
          if (result == CR_BUFFER_SMALL && ask(needed) != CR_SUCCESS) *needed = 0;
        }
        if (result == CR_SUCCESS) return TRUE;
        const bool wantsMore = result == CR_BUFFER_SMALL && *needed > size;
        ::SetLastError(wantsMore ? ERROR_INSUFFICIENT_BUFFER : result);
        return FALSE;
      },
      TextOf);
}

// list(char* buffer, ULONG length) -> CONFIGRET, as CM_Get_Device_ID_ListA fills a list for one
// filter: one call into a buffer of kBusRelationsCapacity bytes, all of which are the value.
template <class List>
Read<std::string> ReadBusRelations(List&& list) {
  ByteBuffer buffer(kBusRelationsCapacity);
  if (!buffer) return Read<std::string>::Failed(ReadStage::NoMemory, ERROR_NOT_ENOUGH_MEMORY);
  const CONFIGRET result = list(reinterpret_cast<char*>(buffer.get()), buffer.size());
  if (result != CR_SUCCESS) return Read<std::string>::Failed(ReadStage::FillFailed, result);
  return Read<std::string>::Of(std::string(reinterpret_cast<const char*>(buffer.get()), buffer.size()));
}
