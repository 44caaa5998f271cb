#include <gtest/gtest.h>

#include "fake_print_services.h"
#include "port_record_reading.h"

namespace {

const std::string kTcpHandle = "\", XcvMonitor Standard TCP/IP Port\"";
const std::u16string kMonitor = u"Label USB Monitor";
const std::string kMonitorHandle = "\", XcvMonitor Label USB Monitor\"";

class TcpIpPortTest : public ::testing::Test {
 protected:
  TcpIpPortTest() : monitor(fake.spooler.AddTcpIpMonitor()) {}
  int Add() { return AddStandardTcpIpPort(fake.platform, u"10.0.0.7", u"10.0.0.7", kStandardRawPort); }
  FakePrintPlatform fake;
  FakeMonitor& monitor;
};

TEST_F(TcpIpPortTest, CreatesThePortFromTheRecord) {
  EXPECT_EQ(Add(), 1);
  EXPECT_EQ(fake.log.calls, (std::vector<std::string>{"OpenPrinterW(" + kTcpHandle + ", 1)",
                                                      "XcvDataW(" + kTcpHandle + ", \"AddPort\", 964, 0)",
                                                      "ClosePrinter(" + kTcpHandle + ")"}));
  TcpIpPortData expected = BuildTcpIpPortData(u"10.0.0.7", u"10.0.0.7", 9100);
  ASSERT_EQ(monitor.addPortInputs.size(), 1u);
  EXPECT_EQ(monitor.addPortInputs[0], std::vector<std::uint8_t>(expected.begin(), expected.end()));
  EXPECT_NE(fake.spooler.FindPort(u"10.0.0.7"), nullptr);
  EXPECT_TRUE(fake.Boxes().empty());
  EXPECT_TRUE(fake.Traces().empty());
}

TEST_F(TcpIpPortTest, Outcomes) {
  struct Case {
    const char* what;
    std::function<void(FakePrintPlatform&, FakeMonitor&)> arrange;
    int result;
    std::optional<std::u16string> box;
  } cases[] = {
      {"port exists already", [](FakePrintPlatform& f, FakeMonitor&) { f.spooler.AddPort(u"10.0.0.7", kTcpIpMonitorName); },
       1, std::nullopt},
      {"monitor answers 183", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 183; }, 1, std::nullopt},
      {"call fails", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortCallSucceeds = false; }, 0,
       u"XcvData AddPort Failed"},
      {"other status", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 5; }, 0,
       u"XcvData AddPort Error. Status:5"},
      {"status shown signed", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 0xFFFFFFFF; }, 0,
       u"XcvData AddPort Error. Status:-1"},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local;
    FakeMonitor& m = local.spooler.AddTcpIpMonitor();
    c.arrange(local, m);
    EXPECT_EQ(AddStandardTcpIpPort(local.platform, u"10.0.0.7", u"10.0.0.7", 9100), c.result) << c.what;
    EXPECT_EQ(local.spooler.OpenHandleCount(), 0u) << c.what;
    if (!c.box) {
      EXPECT_TRUE(local.Boxes().empty()) << c.what;
      continue;
    }
    ASSERT_EQ(local.Boxes().size(), 1u) << c.what;
    EXPECT_EQ(local.Boxes()[0].text, *c.box) << c.what;
    EXPECT_EQ(local.Boxes()[0].owner, 0u);
    EXPECT_EQ(local.Boxes()[0].caption, std::nullopt);
    EXPECT_EQ(local.Boxes()[0].type, 0u);
  }
}

TEST_F(TcpIpPortTest, NoMonitorNoBox) {
  fake.spooler.monitors.clear();
  EXPECT_EQ(Add(), 0);
  EXPECT_EQ(fake.log.Methods(), std::vector<std::string>{"OpenPrinterW"});
  EXPECT_TRUE(fake.Boxes().empty());
}

TEST_F(TcpIpPortTest, TextsTooLongForTheRecordAreRefused) {
  EXPECT_EQ(AddStandardTcpIpPort(fake.platform, std::u16string(64, u'p'), u"10.0.0.7", 9100), 0);
  EXPECT_EQ(AddStandardTcpIpPort(fake.platform, u"p", u"printer.example.com", 9100), 0);
  EXPECT_TRUE(fake.log.calls.empty());
  ASSERT_EQ(fake.Boxes().size(), 2u);
  EXPECT_EQ(fake.Boxes()[0].text, u"Port Name Too Long - ERROR CODE: 87\r\n");
  EXPECT_EQ(fake.Boxes()[1].text, u"Host Address Too Long - ERROR CODE: 87\r\n");
}

TEST(MonitorExists, OpensAndClosesTheMonitorHandle) {
  FakePrintPlatform fake;
  fake.spooler.AddMonitor(kMonitor);
  fake.lastError.value = 99;
  EXPECT_EQ(MonitorExists(fake.platform, kMonitor), 1);
  EXPECT_EQ(fake.log.calls, (std::vector<std::string>{"OpenPrinterW(" + kMonitorHandle + ", 1)",
                                                      "ClosePrinter(" + kMonitorHandle + ")"}));
  EXPECT_EQ(fake.Traces(), std::vector<std::u16string>{u"MonitorExist"});
  EXPECT_EQ(fake.lastError.value, 0u);
}

TEST(MonitorExists, AbsentMonitorLeavesOpenPrintersCode) {
  FakePrintPlatform fake;
  EXPECT_EQ(MonitorExists(fake.platform, kMonitor), 0);
  EXPECT_EQ(fake.lastError.value, kErrorInvalidPrinterName);
  EXPECT_EQ(fake.log.Count("ClosePrinter"), 0u);
  // A name the handle buffer would cut is not looked up at all.
  EXPECT_EQ(MonitorExists(fake.platform, std::u16string(247, u'm')), 0);
  EXPECT_EQ(fake.lastError.value, 206u);
  EXPECT_EQ(fake.log.Count("OpenPrinterW"), 1u);
}

TEST(EnumerateLocalPorts, ListOrNone) {
  FakePrintPlatform fake;
  std::uint32_t count = 77;
  EXPECT_EQ(EnumerateLocalPorts(fake.platform, count), std::nullopt);
  EXPECT_EQ(count, 77u);  // no list: untouched
  EXPECT_EQ(fake.log.calls, std::vector<std::string>{"EnumPortsW(1, 0)"});

  fake.spooler.AddPort(u"LPT1:");
  fake.spooler.AddPort(u"COM1:");
  count = 0;
  std::optional<std::vector<PortInfo>> ports = EnumerateLocalPorts(fake.platform, count);
  ASSERT_TRUE(ports);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ((*ports)[1].portName, u"COM1:");
  EXPECT_EQ(fake.log.Named("EnumPortsW").size(), 3u);

  fake.spooler.FailAllocation("EnumPortsW");
  count = 0;
  EXPECT_EQ(EnumerateLocalPorts(fake.platform, count), std::nullopt);
  EXPECT_EQ(count, 0u);
}

TEST(EnumerateLocalPorts, FailedSecondCallStillGivesAList) {
  FakePrintPlatform fake;
  fake.spooler.AddPort(u"LPT1:");
  fake.spooler.Fail("EnumPortsW", 5, 2);
  std::uint32_t count = 0;
  std::optional<std::vector<PortInfo>> ports = EnumerateLocalPorts(fake.platform, count);
  ASSERT_TRUE(ports);
  EXPECT_TRUE(ports->empty());
  EXPECT_EQ(count, 0u);
}

class MonitorPortTest : public ::testing::Test {
 protected:
  MonitorPortTest()
      : monitor(fake.spooler.AddMonitor(kMonitor)), record(BuildCustomPortRecord(4, u"VID:0x1A2B,PID:0x5E6F")) {}
  int Add(const std::u16string& prefix = u"LBUSB") {
    return AddMonitorPort(fake.platform, kMonitor, prefix, record, portName);
  }
  FakePrintPlatform fake;
  FakeMonitor& monitor;
  CustomPortRecord record;
  std::u16string portName = u"before";
};

TEST_F(MonitorPortTest, CreatesTheNextFreeNumberedPort) {
  fake.spooler.AddPort(u"LBUSB001", kMonitor);
  fake.spooler.AddPort(u"LBUSB002", u"Other Monitor");
  fake.lastError.value = 31;
  EXPECT_EQ(Add(), 1);
  EXPECT_EQ(portName, u"LBUSB003");
  EXPECT_EQ(CustomPortName(record), u"LBUSB003");
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "EnumPortsW", "EnumPortsW", "XcvDataW",
                                                          "ClosePrinter"}));
  EXPECT_EQ(fake.log.calls[3], "XcvDataW(" + kMonitorHandle + ", \"AddPort\", 2620, 0)");
  ASSERT_EQ(monitor.addPortInputs.size(), 1u);
  EXPECT_EQ(monitor.addPortInputs[0], std::vector<std::uint8_t>(record.begin(), record.end()));
  EXPECT_EQ(CustomPortDeviceText(record), u"VID:0x1A2B,PID:0x5E6F");
  EXPECT_EQ(fake.Traces(), std::vector<std::u16string>{u"AddKCPort"});
  EXPECT_EQ(fake.lastError.value, 0u);
  EXPECT_NE(fake.spooler.FindPort(u"LBUSB003"), nullptr);
}

TEST_F(MonitorPortTest, NoPortListGivesNumberZero) {
  EXPECT_EQ(Add(), 1);
  EXPECT_EQ(portName, u"LBUSB000");
  fake.spooler.FailAllocation("EnumPortsW");
  EXPECT_EQ(Add(u"XY"), 1);
  EXPECT_EQ(portName, u"XY000");
}

TEST_F(MonitorPortTest, ConnectionKindZeroCreatesNothing) {
  record = BuildCustomPortRecord(0, u"dev");
  fake.lastError.value = 31;
  EXPECT_EQ(Add(), 1);
  EXPECT_EQ(portName, u"before");
  EXPECT_EQ(CustomPortName(record), u"");
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "ClosePrinter"}));
  EXPECT_EQ(fake.lastError.value, 0u);
}

TEST_F(MonitorPortTest, FailuresLeaveTheirCodeForTheCaller) {
  struct Case {
    const char* what;
    std::function<void(FakePrintPlatform&, FakeMonitor&)> arrange;
    std::uint32_t lastError;
    std::vector<std::u16string> traces;
  } cases[] = {
      {"monitor absent", [](FakePrintPlatform& f, FakeMonitor&) { f.spooler.monitors.clear(); }, kErrorInvalidPrinterName,
       {u"AddKCPort"}},
      {"XcvData fails", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortCallSucceeds = false; m.addPortError = 1722; },
       1722, {u"AddKCPort"}},
      {"monitor answers a status", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 13; }, 13,
       {u"AddKCPort", u"XcvData AddPort Status Error: 13"}},
      {"183 is a failure here", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 183; }, 183,
       {u"AddKCPort", u"XcvData AddPort Status Error: 183"}},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local;
    FakeMonitor& m = local.spooler.AddMonitor(kMonitor);
    c.arrange(local, m);
    CustomPortRecord r = BuildCustomPortRecord(4, u"dev");
    std::u16string out = u"before";
    EXPECT_EQ(AddMonitorPort(local.platform, kMonitor, u"LBUSB", r, out), 0) << c.what;
    EXPECT_EQ(out, u"before") << c.what;
    EXPECT_EQ(local.lastError.value, c.lastError) << c.what;
    EXPECT_EQ(local.Traces(), c.traces) << c.what;
    EXPECT_EQ(local.spooler.OpenHandleCount(), 0u) << c.what;
    EXPECT_TRUE(local.Boxes().empty()) << c.what;
  }
}

TEST_F(MonitorPortTest, ClosingDoesNotHideTheXcvDataCode) {
  monitor.addPortCallSucceeds = false;
  monitor.addPortError = 1722;
  fake.spooler.Fail("ClosePrinter", 6);
  EXPECT_EQ(Add(), 0);
  EXPECT_EQ(fake.lastError.value, 1722u);
}

TEST_F(MonitorPortTest, PrefixTooLongIsRefusedBeforeTheMonitorIsAsked) {
  EXPECT_EQ(Add(std::u16string(256, u'p')), 1);
  EXPECT_EQ(portName.size(), 259u);
  fake.log.Clear();
  EXPECT_EQ(Add(std::u16string(257, u'p')), 0);
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "ClosePrinter"}));
  EXPECT_EQ(fake.lastError.value, 206u);
  ASSERT_EQ(fake.Boxes().size(), 1u);
  EXPECT_EQ(fake.Boxes()[0].text, u"PortNamePrefix Too Long - ERROR CODE: 206\r\n");
}

}  // namespace
