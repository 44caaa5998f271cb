#include "config/win32/machine_identity_win.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>

#include "diag/diagnostics.h"
#include "diag/win32/system_library.h"
#include "diag/win32/two_call.h"
#include "diag/win32/wide.h"

namespace {

std::u16string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameExW(ComputerNameNetBIOS, name, &size)) {
    DebugTrace(u"GetComputerNameEx Failed With %u", static_cast<std::uint32_t>(GetLastError()));
    return {};
  }
  return U16(name);
}

using GetAdaptersAddressesFn = ULONG(WINAPI*)(ULONG, ULONG, PVOID, PIP_ADAPTER_ADDRESSES, PULONG);

std::vector<std::uint32_t> Addresses() {
  SystemLibrary library(L"iphlpapi.dll");
  const auto get = library.Get<GetAdaptersAddressesFn>("GetAdaptersAddresses");
  if (!get) {
    DebugTrace(u"iphlpapi.dll Not Loaded: No Address Known");
    return {};
  }
  const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
  const Read<std::vector<std::uint32_t>> read = ReadWithBuffer<std::vector<std::uint32_t>>(
      [&](BYTE* buffer, DWORD size, DWORD* needed) {
        ULONG length = size;
        const ULONG code = get(AF_INET, flags, nullptr, reinterpret_cast<PIP_ADAPTER_ADDRESSES>(buffer), &length);
        *needed = length;
        // The call answers with its code and says ERROR_BUFFER_OVERFLOW for a short buffer.
        ::SetLastError(code == ERROR_BUFFER_OVERFLOW ? ERROR_INSUFFICIENT_BUFFER : code);
        return code == NO_ERROR;
      },
      [](const BYTE* buffer, DWORD) {
        std::vector<std::uint32_t> addresses;
        for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer); adapter; adapter = adapter->Next) {
          if (adapter->OperStatus != IfOperStatusUp || adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK) continue;
          for (auto* unicast = adapter->FirstUnicastAddress; unicast; unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (!address || address->sa_family != AF_INET) continue;
            // Network byte order, read byte by byte (ntohl would import ws2_32).
            const auto* bytes = reinterpret_cast<const unsigned char*>(&reinterpret_cast<const sockaddr_in*>(address)->sin_addr);
            const std::uint32_t value = std::uint32_t{bytes[0]} << 24 | bytes[1] << 16 | bytes[2] << 8 | bytes[3];
            if ((value >> 24) == 127) continue;
            addresses.push_back(value);
          }
        }
        return addresses;
      });
  if (!read) DebugTrace(u"GetAdaptersAddresses Failed With %u: No Address Known", read.code);
  return read.value;
}

}  // namespace

Machine Win32MachineIdentity::Read() { return {ComputerName(), Addresses()}; }
