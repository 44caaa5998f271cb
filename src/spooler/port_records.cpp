#include "spooler/port_records.h"

#include "diag/format.h"
#include "spooler/name_compare.h"

void PutU32(std::uint8_t* bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
  return value;
}

void PutText(std::uint8_t* bytes, std::size_t offset, std::size_t capacity, std::u16string_view text) {
  std::u16string kept = CutToCapacity(text, capacity);
  for (std::size_t i = 0; i < capacity; ++i) {
    char16_t unit = i < kept.size() ? kept[i] : u'\0';
    bytes[offset + 2 * i] = static_cast<std::uint8_t>(unit & 0xFF);
    bytes[offset + 2 * i + 1] = static_cast<std::uint8_t>(unit >> 8);
  }
}

std::u16string GetText(const std::uint8_t* bytes, std::size_t offset, std::size_t capacity) {
  std::u16string text;
  for (std::size_t i = 0; i < capacity; ++i) {
    char16_t unit = static_cast<char16_t>(bytes[offset + 2 * i] | (bytes[offset + 2 * i + 1] << 8));
    if (unit == u'\0') break;
    text.push_back(unit);
  }
  return text;
}

std::vector<std::uint8_t> TextBytesWithoutTerminator(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(2 * text.size());
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

std::vector<std::uint8_t> TextBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes = TextBytesWithoutTerminator(text);
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

bool TcpIpPortTextsFit(std::u16string_view name, std::u16string_view hostAddress) {
  using namespace port_data_1;
  return name.size() < kPortNameChars && hostAddress.size() < kHostAddressChars &&
         hostAddress.size() < kIpAddressChars;
}

TcpIpPortData BuildTcpIpPortData(std::u16string_view name, std::u16string_view hostAddress,
                                 std::uint32_t portNumber) {
  using namespace port_data_1;
  TcpIpPortData record{};
  std::uint8_t* bytes = record.data();
  PutText(bytes, kPortName, kPortNameChars, name);
  PutU32(bytes, kVersion, 1);
  PutU32(bytes, kProtocol, kProtocolRawTcp);
  PutU32(bytes, kSizeField, static_cast<std::uint32_t>(kSize));
  PutText(bytes, kHostAddress, kHostAddressChars, hostAddress);
  PutText(bytes, kSnmpCommunity, kSnmpCommunityChars, kSnmpCommunityName);
  PutText(bytes, kIpAddress, kIpAddressChars, hostAddress);
  PutU32(bytes, kPortNumber, portNumber);
  PutU32(bytes, kSnmpEnabled, 0);
  PutU32(bytes, kSnmpDevIndex, 1);
  return record;
}

bool TcpIpDeletePortNameFits(std::u16string_view name) {
  return name.size() < delete_port_data_1::kPortNameChars;
}

TcpIpDeletePortData BuildTcpIpDeletePortData(std::u16string_view name) {
  using namespace delete_port_data_1;
  TcpIpDeletePortData record{};
  PutText(record.data(), kPortName, kPortNameChars, name);
  PutU32(record.data(), kVersion, 1);
  return record;
}

CustomPortRecord BuildCustomPortRecord(std::uint32_t connectionKind, std::u16string_view deviceText) {
  CustomPortRecord record{};
  PutU32(record.data(), custom_port::kConnectionKind, connectionKind);
  PutText(record.data(), custom_port::kDeviceText, custom_port::kTextChars, deviceText);
  return record;
}

std::uint32_t CustomPortConnectionKind(const CustomPortRecord& record) {
  return GetU32(record.data(), custom_port::kConnectionKind);
}

std::u16string CustomPortName(const CustomPortRecord& record) {
  return GetText(record.data(), custom_port::kPortName, custom_port::kTextChars);
}

void SetCustomPortName(CustomPortRecord& record, std::u16string_view name) {
  PutText(record.data(), custom_port::kPortName, custom_port::kTextChars, name);
}

std::u16string ChooseMonitorPortName(std::u16string_view prefix, const std::vector<PortInfo>* ports) {
  constexpr std::size_t kCapacity = custom_port::kTextChars;
  if (!ports) return FormatWide(kCapacity, u"%s000", prefix);
  std::u16string candidate;
  for (int i = 1; i < 1000; ++i) {
    candidate = FormatWide(kCapacity, u"%s%03d", prefix, i);
    bool taken = false;
    for (const PortInfo& port : *ports) {
      if (SameNameIgnoringCase(port.portName, candidate)) {
        taken = true;
        break;
      }
    }
    if (!taken) return candidate;
  }
  return candidate;
}
