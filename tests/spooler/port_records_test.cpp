#include "spooler/port_records.h"

#include <gtest/gtest.h>

#include "port_record_reading.h"

namespace {

using namespace port_data_1;

// The record's bytes with every field this test expects cleared: what is left must be zero.
template <std::size_t N>
void ExpectZeroOutside(std::array<std::uint8_t, N> bytes, std::initializer_list<std::pair<std::size_t, std::size_t>> fields) {
  for (auto [offset, size] : fields) std::fill_n(bytes.begin() + offset, size, 0);
  for (std::size_t i = 0; i < N; ++i) ASSERT_EQ(bytes[i], 0) << "byte " << i;
}

TEST(TcpIpPortData, PublishedMembersAtPublishedOffsets) {
  TcpIpPortData record = BuildTcpIpPortData(u"192.168.1.20", u"192.168.1.20", 9100);
  const std::uint8_t* bytes = record.data();
  EXPECT_EQ(GetText(bytes, kPortName, kPortNameChars), u"192.168.1.20");
  EXPECT_EQ(GetU32(bytes, kVersion), 1u);
  EXPECT_EQ(GetU32(bytes, kProtocol), 1u);
  EXPECT_EQ(GetU32(bytes, kSizeField), 964u);
  EXPECT_EQ(GetText(bytes, kHostAddress, kHostAddressChars), u"192.168.1.20");
  EXPECT_EQ(GetText(bytes, kSnmpCommunity, kSnmpCommunityChars), u"zandor");
  EXPECT_EQ(GetText(bytes, kIpAddress, kIpAddressChars), u"192.168.1.20");
  EXPECT_EQ(GetU32(bytes, kPortNumber), 9100u);
  EXPECT_EQ(GetU32(bytes, kSnmpEnabled), 0u);
  EXPECT_EQ(GetU32(bytes, kSnmpDevIndex), 1u);
  // Little-endian, UTF-16LE: spot-check raw bytes.
  EXPECT_EQ(bytes[kPortNumber], 0x8C);
  EXPECT_EQ(bytes[kPortNumber + 1], 0x23);
  EXPECT_EQ(bytes[kPortName], '1');
  EXPECT_EQ(bytes[kPortName + 1], 0);
  EXPECT_EQ(bytes[kSnmpCommunity], 'z');
  ExpectZeroOutside(record, {{kPortName, 24}, {kVersion, 4}, {kProtocol, 4}, {kSizeField, 4},
                             {kHostAddress, 24}, {kSnmpCommunity, 12}, {kIpAddress, 24},
                             {kPortNumber, 4}, {kSnmpDevIndex, 4}});
}

TEST(TcpIpPortData, TextsMustFitTheirFields) {
  std::u16string address15 = u"255.255.255.255";
  EXPECT_TRUE(TcpIpPortTextsFit(address15, address15));
  EXPECT_TRUE(TcpIpPortTextsFit(std::u16string(63, u'p'), u"1.2.3.4"));
  EXPECT_FALSE(TcpIpPortTextsFit(std::u16string(64, u'p'), u"1.2.3.4"));
  // The host address also goes into sztIPAddress[16].
  EXPECT_FALSE(TcpIpPortTextsFit(u"port", std::u16string(16, u'1')));
}

TEST(TcpIpDeletePortData, NameThenVersionOneAfterTheReservedBytes) {
  TcpIpDeletePortData record = BuildTcpIpDeletePortData(u"192.168.1.20");
  EXPECT_EQ(record.size(), 236u);
  EXPECT_EQ(GetText(record.data(), delete_port_data_1::kPortName, 64), u"192.168.1.20");
  EXPECT_EQ(delete_port_data_1::kVersion, 228u);  // 128 + 98 reserved bytes, aligned to 4
  EXPECT_EQ(GetU32(record.data(), delete_port_data_1::kVersion), 1u);
  ExpectZeroOutside(record, {{0, 24}, {228, 1}});
  EXPECT_TRUE(TcpIpDeletePortNameFits(std::u16string(63, u'p')));
  EXPECT_FALSE(TcpIpDeletePortNameFits(std::u16string(64, u'p')));
}

TEST(CustomPortRecord, ThreeFieldsInTwoThousandSixHundredTwentyBytes) {
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, u"VID:0x1A2B,PID:0x5E6F");
  SetCustomPortName(record, u"LBUSB001");
  EXPECT_EQ(record.size(), 2620u);
  EXPECT_EQ(CustomPortName(record), u"LBUSB001");
  EXPECT_EQ(CustomPortConnectionKind(record), 4u);
  EXPECT_EQ(CustomPortDeviceText(record), u"VID:0x1A2B,PID:0x5E6F");
  EXPECT_EQ(record[520], 4);
  EXPECT_EQ(record[1580], 'V');
  ExpectZeroOutside(record, {{0, 16}, {520, 1}, {1580, 42}});
  // A shorter name written later leaves nothing of the longer one.
  SetCustomPortName(record, u"P1");
  ExpectZeroOutside(record, {{0, 4}, {520, 1}, {1580, 42}});
}

TEST(CustomPortRecord, TextsAreCutInsideTheirFields) {
  CustomPortRecord record = BuildCustomPortRecord(1, std::u16string(300, u'x'));
  EXPECT_EQ(CustomPortDeviceText(record).size(), 259u);
  EXPECT_EQ(record[1580 + 2 * 259], 0);
  SetCustomPortName(record, std::u16string(300, u'p'));
  EXPECT_EQ(CustomPortName(record).size(), 259u);
  EXPECT_EQ(CustomPortConnectionKind(record), 1u);  // the name did not run into it
}

std::vector<PortInfo> Ports(std::initializer_list<std::u16string> names) {
  std::vector<PortInfo> ports;
  for (const std::u16string& name : names) ports.push_back(PortInfo{name, u"", u"", 0});
  return ports;
}

TEST(MonitorPortName, NextFreeNumber) {
  struct Case {
    const char* what;
    std::vector<PortInfo> ports;
    std::u16string expected;
  } cases[] = {
      {"P001 and P002 taken", Ports({u"P001", u"P002", u"LPT1:"}), u"P003"},
      {"P002 taken, P001 free", Ports({u"P002"}), u"P001"},
      {"no numbered port; 000 never tried", Ports({u"COM1:"}), u"P001"},
      {"empty list", {}, u"P001"},
      {"other letter case blocks too", Ports({u"p001", u"P002"}), u"P003"},
      {"lower-case gap is no gap", Ports({u"P001", u"p002", u"P004"}), u"P003"},
      {"a longer name does not block", Ports({u"p0011", u"P001:"}), u"P001"},
      {"another monitor's port blocks too", Ports({u"P001"}), u"P002"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseMonitorPortName(u"P", &c.ports), c.expected) << c.what;
}

TEST(MonitorPortName, WithoutListOrWithAllTaken) {
  EXPECT_EQ(ChooseMonitorPortName(u"LBUSB", nullptr), u"LBUSB000");
  std::vector<PortInfo> ports;
  for (int i = 1; i <= 999; ++i) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%03d", i);
    ports.push_back(PortInfo{u"P" + std::u16string(digits, digits + 3), u"", u"", 0});
  }
  EXPECT_EQ(ChooseMonitorPortName(u"P", &ports), u"P999");
  ports.erase(ports.begin() + 499);
  EXPECT_EQ(ChooseMonitorPortName(u"P", &ports), u"P500");
}

TEST(XcvText, BytesWithAndWithoutTerminator) {
  EXPECT_EQ(TextBytes(u"AB"), (std::vector<std::uint8_t>{'A', 0, 'B', 0, 0, 0}));
  EXPECT_EQ(TextBytesWithoutTerminator(u"\u4E2D"), (std::vector<std::uint8_t>{0x2D, 0x4E}));
  EXPECT_TRUE(TextBytesWithoutTerminator(u"").empty());
}

}  // namespace
