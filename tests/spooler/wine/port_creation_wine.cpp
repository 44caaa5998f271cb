// Port creation against Wine's spooler and the stand-in monitors: the records arrive byte for
// byte at their published offsets, the ports appear in EnumPortsW, and the numbering skips every
// port the spooler lists, whatever its monitor.
#include <algorithm>

#include "test_bed.h"

namespace {

using wine_test::kTcpIpMonitor;
using wine_test::kUsbMonitor;

// PORT_DATA_1 as tcpxcv.h publishes it, built here on its own so that the two can disagree.
std::vector<std::uint8_t> ExpectedPortData1(const std::u16string& name, const std::u16string& host, std::uint32_t port) {
  std::vector<std::uint8_t> record(964, 0);
  wine_test::PutText(record, 0, name);         // sztPortName[64]
  wine_test::PutU32(record, 128, 1);           // dwVersion
  wine_test::PutU32(record, 132, 1);           // dwProtocol: PROTOCOL_RAWTCP_TYPE
  wine_test::PutU32(record, 136, 964);         // cbSize
  wine_test::PutText(record, 144, host);       // sztHostAddress[49]
  wine_test::PutText(record, 242, u"zandor");  // sztSNMPCommunity[33]
  wine_test::PutText(record, 378, host);       // sztIPAddress[16]
  wine_test::PutU32(record, 952, port);        // dwPortNumber
  wine_test::PutU32(record, 960, 1);           // dwSNMPDevIndex; dwSNMPEnabled at 956 stays 0
  return record;
}

std::vector<std::uint8_t> ExpectedCustomRecord(const std::u16string& port, std::uint32_t kind, const std::u16string& device) {
  std::vector<std::uint8_t> record(2620, 0);
  wine_test::PutText(record, 0, port);
  wine_test::PutU32(record, 520, kind);
  wine_test::PutText(record, 1580, device);
  return record;
}

const std::u16string kDevice = u"VID:0x1A2B,PID:0x5E6F";

CASE(TcpIpPortIsCreatedFromTheRecordAndAcceptedAgain) {
  TestBed bed;
  const std::u16string name = u"192.0.2.41";
  CleanUp cleanUp([&] { wine_test::DeleteTcpIpPort(name); });

  REQUIRE_EQ(bed.AddTcpIpPort(name), 1);
  CHECK(bed.Boxes().empty());
  CHECK_BYTES(wine_test::PortRecord(kTcpIpMonitor, name), ExpectedPortData1(name, name, 9100));
  std::optional<fixture::PortEntry> port = wine_test::FindPort(name);
  REQUIRE(port.has_value());
  CHECK_EQ(port->monitor, std::wstring(L"Standard TCP/IP Port"));

  // The monitor answers 183 for a port it has: still a success, and no box.
  wine_test::ClearLastAddPort(kTcpIpMonitor);
  CHECK_EQ(bed.AddTcpIpPort(name), 1);
  CHECK(bed.Boxes().empty());
  CHECK_BYTES(wine_test::LastAddPort(kTcpIpMonitor), ExpectedPortData1(name, name, 9100));
}

CASE(TcpIpPortRefusedByTheMonitorShowsItsStatus) {
  TestBed bed;
  // The stand-in refuses an empty port name with ERROR_INVALID_PARAMETER.
  CHECK_EQ(bed.AddTcpIpPort(u""), 0);
  REQUIRE_EQ(bed.Boxes().size(), 1u);
  CHECK_EQ(bed.Boxes()[0].text, u"XcvData AddPort Error. Status:87");
  CHECK_EQ(bed.Boxes()[0].caption, std::optional<std::u16string>());
  CHECK_EQ(bed.Boxes()[0].owner, WindowHandle{0});
}

CASE(MonitorExistsOnlyForAnInstalledMonitor) {
  TestBed bed;
  CHECK(MonitorExists(bed.Platform(), kUsbMonitor).ok);
  CHECK(MonitorExists(bed.Platform(), kTcpIpMonitor).ok);
  // OpenPrinterW's code for the caller's box (Wine: ERROR_UNKNOWN_PORT).
  const Status absent = MonitorExists(bed.Platform(), u"No Such Monitor");
  CHECK(!absent.ok);
  CHECK_EQ(absent.code, 1796u);
}

CASE(MonitorPortTakesTheNextFreeNumberAndCarriesTheRecord) {
  TestBed bed;
  const std::u16string prefix = u"WNP";
  CleanUp cleanUp([&] {
    wine_test::DeleteUsbPortsWithPrefix(prefix);
    wine_test::DeleteTcpIpPort(prefix + u"002");
  });
  // WNP001 on the custom monitor and WNP002 on another monitor: both numbers are taken.
  CustomPortRecord first = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  CHECK_EQ(AddMonitorPort(bed.Platform(), kUsbMonitor, prefix, first).portName, prefix + u"001");
  REQUIRE(AddStandardTcpIpPort(bed.Platform(), prefix + u"002", u"192.0.2.42", kStandardRawPort).ok());

  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  const std::u16string portName = AddMonitorPort(bed.Platform(), kUsbMonitor, prefix, record).portName;
  CHECK_EQ(portName, prefix + u"003");
  CHECK_EQ(CustomPortName(record), prefix + u"003");
  CHECK_BYTES(wine_test::PortRecord(kUsbMonitor, portName), ExpectedCustomRecord(portName, 4, kDevice));

  std::optional<fixture::PortEntry> port = wine_test::FindPort(portName);
  REQUIRE(port.has_value());
  CHECK_EQ(port->monitor, std::wstring(L"Label USB Monitor"));

  std::optional<std::vector<PortInfo>> ports = EnumerateLocalPorts(bed.Platform());
  REQUIRE(ports.has_value());
  for (const std::u16string& name : {std::u16string(u"LPT1:"), prefix + u"001", prefix + u"002", prefix + u"003"}) {
    bool listed = std::any_of(ports->begin(), ports->end(), [&name](const PortInfo& p) { return p.portName == name; });
    if (!listed) wcheck::Fail(__FILE__, __LINE__, "EnumerateLocalPorts lacks " + wcheck::Show(name));
  }
  CHECK(bed.Boxes().empty());
}

CASE(MonitorPortWithConnectionKindZeroSendsNothing) {
  TestBed bed;
  const std::u16string prefix = u"WNZ";
  CleanUp cleanUp([&] { wine_test::DeleteUsbPortsWithPrefix(prefix); });
  wine_test::ClearLastAddPort(kUsbMonitor);
  CustomPortRecord record = BuildCustomPortRecord(0, kDevice);
  const MonitorPort port = AddMonitorPort(bed.Platform(), kUsbMonitor, prefix, record);
  CHECK(port.status.ok);
  CHECK_EQ(port.portName, u"");
  CHECK(!wine_test::LastAddPort(kUsbMonitor).has_value());
  CHECK(!wine_test::FindPort(prefix + u"001").has_value());
}

CASE(MonitorPortRefusedByTheMonitorLeavesItsStatusAsTheCode) {
  TestBed bed;
  // The monitor cannot keep a port whose name holds a backslash: ERROR_INVALID_NAME.
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  const MonitorPort port = AddMonitorPort(bed.Platform(), kUsbMonitor, u"BAD\\", record);
  CHECK(!port.status.ok);
  CHECK_EQ(port.status.code, 123u);
  CHECK(bed.Traced(u"XcvData AddPort Status Error: 123"));
}

CASE(MonitorPortOfAnAbsentMonitorFails) {
  TestBed bed;
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  const MonitorPort port = AddMonitorPort(bed.Platform(), u"No Such Monitor", u"WNA", record);
  CHECK(!port.status.ok);
  CHECK_EQ(port.status.code, 1796u);
}

// The monitor keeps "wnc001" and "WNC001" as one port: the numbering skips a number taken in
// another letter case instead of asking for it and getting "already exists".
CASE(MonitorPortSkipsANumberTakenInAnotherCase) {
  TestBed bed;
  CleanUp cleanUp([] { wine_test::DeleteUsbPortsWithPrefix(u"wnc"); });
  CustomPortRecord lower = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  REQUIRE_EQ(AddMonitorPort(bed.Platform(), kUsbMonitor, u"wnc", lower).portName, u"wnc001");

  CustomPortRecord upper = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  CHECK_EQ(AddMonitorPort(bed.Platform(), kUsbMonitor, u"WNC", upper).portName, u"WNC002");
  std::optional<fixture::PortEntry> port = wine_test::FindPort(u"WNC002");
  REQUIRE(port.has_value());
  CHECK_EQ(port->monitor, std::wstring(L"Label USB Monitor"));
  CHECK(bed.Boxes().empty());
}

}  // namespace
