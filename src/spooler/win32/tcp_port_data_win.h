#pragma once
// PORT_DATA_1 and DELETE_PORT_DATA_1 of tcpxcv.h, which mingw-w64 does not ship. The core builds
// the records byte by byte; these declarations hold them to the published layout.
#include <windows.h>

#include <cstddef>

#include "spooler/port_records.h"

struct PortData1 {
  WCHAR sztPortName[64];       // MAX_PORTNAME_LEN
  DWORD dwVersion;
  DWORD dwProtocol;
  DWORD cbSize;
  DWORD dwReserved;
  WCHAR sztHostAddress[49];    // MAX_NETWORKNAME_LEN
  WCHAR sztSNMPCommunity[33];  // MAX_SNMP_COMMUNITY_STR_LEN
  DWORD dwDoubleSpool;
  WCHAR sztQueue[33];          // MAX_QUEUENAME_LEN
  WCHAR sztIPAddress[16];      // MAX_IPADDR_STR_LEN
  BYTE Reserved[540];
  DWORD dwPortNumber;
  DWORD dwSNMPEnabled;
  DWORD dwSNMPDevIndex;
};

static_assert(sizeof(PortData1) == port_data_1::kSize, "PORT_DATA_1 is 964 bytes");
static_assert(offsetof(PortData1, sztPortName) == port_data_1::kPortName, "sztPortName");
static_assert(offsetof(PortData1, dwVersion) == port_data_1::kVersion, "dwVersion");
static_assert(offsetof(PortData1, dwProtocol) == port_data_1::kProtocol, "dwProtocol");
static_assert(offsetof(PortData1, cbSize) == port_data_1::kSizeField, "cbSize");
static_assert(offsetof(PortData1, dwReserved) == port_data_1::kReserved, "dwReserved");
static_assert(offsetof(PortData1, sztHostAddress) == port_data_1::kHostAddress, "sztHostAddress");
static_assert(offsetof(PortData1, sztSNMPCommunity) == port_data_1::kSnmpCommunity, "sztSNMPCommunity");
static_assert(offsetof(PortData1, dwDoubleSpool) == port_data_1::kDoubleSpool, "dwDoubleSpool");
static_assert(offsetof(PortData1, sztQueue) == port_data_1::kQueue, "sztQueue");
static_assert(offsetof(PortData1, sztIPAddress) == port_data_1::kIpAddress, "sztIPAddress");
static_assert(offsetof(PortData1, Reserved) == port_data_1::kReservedBytes, "Reserved");
static_assert(offsetof(PortData1, dwPortNumber) == port_data_1::kPortNumber, "dwPortNumber");
static_assert(offsetof(PortData1, dwSNMPEnabled) == port_data_1::kSnmpEnabled, "dwSNMPEnabled");
static_assert(offsetof(PortData1, dwSNMPDevIndex) == port_data_1::kSnmpDevIndex, "dwSNMPDevIndex");
static_assert(sizeof(PortData1::sztPortName) / sizeof(WCHAR) == port_data_1::kPortNameChars, "port name field");
static_assert(sizeof(PortData1::sztHostAddress) / sizeof(WCHAR) == port_data_1::kHostAddressChars, "host field");
static_assert(sizeof(PortData1::sztIPAddress) / sizeof(WCHAR) == port_data_1::kIpAddressChars, "address field");

struct DeletePortData1 {
  WCHAR psztPortName[64];  // MAX_PORTNAME_LEN
  BYTE Reserved[98];
  DWORD dwVersion;
  DWORD dwReserved;
};

static_assert(sizeof(DeletePortData1) == delete_port_data_1::kSize, "DELETE_PORT_DATA_1 is 236 bytes");
static_assert(offsetof(DeletePortData1, psztPortName) == delete_port_data_1::kPortName, "psztPortName");
static_assert(offsetof(DeletePortData1, Reserved) == delete_port_data_1::kReservedBytes, "Reserved");
static_assert(offsetof(DeletePortData1, dwVersion) == delete_port_data_1::kVersion, "dwVersion");
static_assert(offsetof(DeletePortData1, dwReserved) == delete_port_data_1::kReserved, "dwReserved");
static_assert(sizeof(DeletePortData1::psztPortName) / sizeof(WCHAR) == delete_port_data_1::kPortNameChars,
              "delete port name field");
