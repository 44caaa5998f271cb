#pragma once
// The records handed to port monitors through XcvData "AddPort" and "DeletePort", byte by byte.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spooler/spooler.h"

// A monitor's answer for a port that is already there (ERROR_ALREADY_EXISTS).
constexpr std::uint32_t kErrorAlreadyExists = 183;

// PORT_DATA_1 of the Standard TCP/IP monitor (tcpxcv.h): offsets and capacities as published.
namespace port_data_1 {
constexpr std::size_t kSize = 964;
constexpr std::size_t kPortName = 0;          // WCHAR[64]
constexpr std::size_t kVersion = 128;         // DWORD
constexpr std::size_t kProtocol = 132;        // DWORD
constexpr std::size_t kSizeField = 136;       // DWORD cbSize
constexpr std::size_t kReserved = 140;        // DWORD dwReserved
constexpr std::size_t kHostAddress = 144;     // WCHAR[49]
constexpr std::size_t kSnmpCommunity = 242;   // WCHAR[33]
constexpr std::size_t kDoubleSpool = 308;     // DWORD
constexpr std::size_t kQueue = 312;           // WCHAR[33]
constexpr std::size_t kIpAddress = 378;       // WCHAR[16]
constexpr std::size_t kReservedBytes = 410;   // BYTE[540]
constexpr std::size_t kPortNumber = 952;      // DWORD, after 2 bytes of alignment
constexpr std::size_t kSnmpEnabled = 956;     // DWORD
constexpr std::size_t kSnmpDevIndex = 960;    // DWORD
constexpr std::size_t kPortNameChars = 64;
constexpr std::size_t kHostAddressChars = 49;
constexpr std::size_t kSnmpCommunityChars = 33;
constexpr std::size_t kQueueChars = 33;
constexpr std::size_t kIpAddressChars = 16;
constexpr std::uint32_t kProtocolRawTcp = 1;  // PROTOCOL_RAWTCP_TYPE
}  // namespace port_data_1

using TcpIpPortData = std::array<std::uint8_t, port_data_1::kSize>;

inline constexpr char16_t kSnmpCommunityName[] = u"zandor";

// True when name fits sztPortName and hostAddress fits both sztHostAddress and sztIPAddress.
bool TcpIpPortTextsFit(std::u16string_view name, std::u16string_view hostAddress);

// Zero-filled, then the members the Standard TCP/IP port is made from. Texts longer than their
// fields are cut to them: TcpIpPortTextsFit tells first.
TcpIpPortData BuildTcpIpPortData(std::u16string_view name, std::u16string_view hostAddress,
                                 std::uint32_t portNumber);

// DELETE_PORT_DATA_1 of the Standard TCP/IP monitor (tcpxcv.h), for "DeletePort": offsets as
// the published declaration lays them out.
namespace delete_port_data_1 {
constexpr std::size_t kSize = 236;
constexpr std::size_t kPortName = 0;         // WCHAR[64]
constexpr std::size_t kReservedBytes = 128;  // BYTE[98]
constexpr std::size_t kVersion = 228;        // DWORD, after 2 bytes of alignment
constexpr std::size_t kReserved = 232;       // DWORD dwReserved, 0
constexpr std::size_t kPortNameChars = 64;
}  // namespace delete_port_data_1

using TcpIpDeletePortData = std::array<std::uint8_t, delete_port_data_1::kSize>;

// True when name fits psztPortName with its terminator.
bool TcpIpDeletePortNameFits(std::u16string_view name);

// Zero-filled, then the port's name and version 1. A name longer than its field is cut to it:
// TcpIpDeletePortNameFits tells first.
TcpIpDeletePortData BuildTcpIpDeletePortData(std::u16string_view name);

// The custom port monitor's record.
namespace custom_port {
constexpr std::size_t kSize = 2620;
constexpr std::size_t kPortName = 0;         // 260 UTF-16 units, NUL-terminated
constexpr std::size_t kConnectionKind = 520; // 32-bit unsigned
constexpr std::size_t kDeviceText = 1580;    // 260 UTF-16 units, NUL-terminated
constexpr std::size_t kTextChars = 260;
constexpr std::uint32_t kUsbConnection = 4;  // what the USB page writes
}  // namespace custom_port

using CustomPortRecord = std::array<std::uint8_t, custom_port::kSize>;

// Zero-filled with the connection kind and the device text (cut to 259 units).
CustomPortRecord BuildCustomPortRecord(std::uint32_t connectionKind, std::u16string_view deviceText);
std::uint32_t CustomPortConnectionKind(const CustomPortRecord& record);
std::u16string CustomPortName(const CustomPortRecord& record);
// Writes the name, zero-padded over the whole field (cut to 259 units).
void SetCustomPortName(CustomPortRecord& record, std::u16string_view name);

// Little-endian field access, shared by the builders and the tests.
void PutU32(std::uint8_t* bytes, std::size_t offset, std::uint32_t value);
std::uint32_t GetU32(const std::uint8_t* bytes, std::size_t offset);
// Writes text and its terminator into a field of capacity units; cut to capacity - 1.
void PutText(std::uint8_t* bytes, std::size_t offset, std::size_t capacity, std::u16string_view text);
// The text up to its terminator or the field's end.
std::u16string GetText(const std::uint8_t* bytes, std::size_t offset, std::size_t capacity);

// A text with its terminator as XcvData input bytes: 2 x (length + 1).
std::vector<std::uint8_t> TextBytes(std::u16string_view text);
// A text's characters without the terminator: 2 x length bytes.
std::vector<std::uint8_t> TextBytesWithoutTerminator(std::u16string_view text);

// The prefix and three digits; the longest prefix that leaves room for them in 260 units.
constexpr std::size_t kMaxPortNamePrefix = 256;

// "%s000" without a list; else the first of "%s%03d" for 1..999 no port has in any letter case
// (the spooler's port names ignore it), or "%s999".
std::u16string ChooseMonitorPortName(std::u16string_view prefix, const std::vector<PortInfo>* ports);
