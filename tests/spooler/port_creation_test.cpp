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
  Outcome Add() { return AddStandardTcpIpPort(fake.platform, u"10.0.0.7", u"10.0.0.7", kStandardRawPort); }
  FakePrintPlatform fake;
  FakeMonitor& monitor;
};

TEST_F(TcpIpPortTest, CreatesThePortFromTheRecord) {
  EXPECT_TRUE(Add().ok());
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
    std::optional<std::u16string> box;
  } cases[] = {
      {"port exists already", [](FakePrintPlatform& f, FakeMonitor&) { f.spooler.AddPort(u"10.0.0.7", kTcpIpMonitorName); },
       std::nullopt},
      {"monitor answers 183", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 183; }, std::nullopt},
      {"call fails", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortCallSucceeds = false; },
       u"XcvData AddPort Failed"},
      {"other status", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 5; },
       u"XcvData AddPort Error. Status:5"},
      {"status shown signed", [](FakePrintPlatform&, FakeMonitor& m) { m.addPortStatus = 0xFFFFFFFF; },
       u"XcvData AddPort Error. Status:-1"},
  };
  for (const Case& c : cases) {
    FakePrintPlatform local;
    FakeMonitor& m = local.spooler.AddTcpIpMonitor();
    c.arrange(local, m);
    const Outcome outcome = AddStandardTcpIpPort(local.platform, u"10.0.0.7", u"10.0.0.7", 9100);
    EXPECT_EQ(local.spooler.OpenHandleCount(), 0u) << c.what;
    EXPECT_TRUE(local.Boxes().empty()) << c.what;
    if (!c.box) {
      EXPECT_TRUE(outcome.ok()) << c.what;
      continue;
    }
    EXPECT_EQ(outcome.call, *c.box) << c.what;
    // Shown without the ERROR caption and code.
    EXPECT_TRUE(outcome.plain) << c.what;
  }
}

TEST_F(TcpIpPortTest, NoMonitorNoBox) {
  fake.spooler.monitors.clear();
  EXPECT_TRUE(Add().ok());
  EXPECT_EQ(fake.log.Methods(), std::vector<std::string>{"OpenPrinterW"});
  EXPECT_TRUE(fake.Boxes().empty());
}

// Refused administration is not "no monitor": its box names the open, with the code.
TEST_F(TcpIpPortTest, AMonitorRefusedToThisUserSaysSo) {
  fake.spooler.refuseAdministration = true;
  const Outcome outcome = Add();
  EXPECT_EQ(outcome.call, u"OpenPrinter Refused For Administration: Standard TCP/IP Port");
  EXPECT_EQ(outcome.code, kErrorAccessDenied);
  EXPECT_FALSE(outcome.plain);
  EXPECT_EQ(fake.log.Methods(), std::vector<std::string>{"OpenPrinterW"});
  EXPECT_EQ(fake.spooler.FindPort(u"10.0.0.7"), nullptr);
}

TEST_F(TcpIpPortTest, TextsTooLongForTheRecordAreRefused) {
  const Outcome name = AddStandardTcpIpPort(fake.platform, std::u16string(64, u'p'), u"10.0.0.7", 9100);
  const Outcome address = AddStandardTcpIpPort(fake.platform, u"p", u"printer.example.com", 9100);
  EXPECT_TRUE(fake.log.calls.empty());
  EXPECT_EQ(name.call, u"Port Name Too Long");
  EXPECT_EQ(address.call, u"Host Address Too Long");
  EXPECT_EQ(name.code + address.code, 2 * 87u);
  EXPECT_FALSE(name.plain || address.plain);
}

TEST(MonitorExists, OpensAndClosesTheMonitorHandle) {
  FakePrintPlatform fake;
  fake.spooler.AddMonitor(kMonitor);
  EXPECT_TRUE(MonitorExists(fake.platform, kMonitor));
  EXPECT_EQ(fake.log.calls, (std::vector<std::string>{"OpenPrinterW(" + kMonitorHandle + ", 1)",
                                                      "ClosePrinter(" + kMonitorHandle + ")"}));
  EXPECT_EQ(fake.Traces(), std::vector<std::u16string>{u"MonitorExist"});
}

TEST(MonitorExists, AbsentMonitorLeavesOpenPrintersCode) {
  FakePrintPlatform fake;
  EXPECT_EQ(MonitorExists(fake.platform, kMonitor).code, kErrorInvalidPrinterName);
  EXPECT_EQ(fake.log.Count("ClosePrinter"), 0u);
  // A name the handle buffer would cut is not looked up at all.
  EXPECT_EQ(MonitorExists(fake.platform, std::u16string(247, u'm')).code, 206u);
  EXPECT_EQ(fake.log.Count("OpenPrinterW"), 1u);
}

TEST(EnumerateLocalPorts, ListOrNone) {
  FakePrintPlatform fake;
  EXPECT_EQ(EnumerateLocalPorts(fake.platform), std::nullopt);  // nothing to ask for
  EXPECT_EQ(fake.log.calls, std::vector<std::string>{"Ports(1)"});

  fake.spooler.AddPort(u"LPT1:");
  fake.spooler.AddPort(u"COM1:");
  std::optional<std::vector<PortInfo>> ports = EnumerateLocalPorts(fake.platform);
  ASSERT_TRUE(ports);
  ASSERT_EQ(ports->size(), 2u);
  EXPECT_EQ((*ports)[1].portName, u"COM1:");

  fake.spooler.FailAllocation("Ports");
  EXPECT_EQ(EnumerateLocalPorts(fake.platform), std::nullopt);
  // A failed fill still gives a list, an empty one.
  fake.spooler.FailRead("Ports", ReadStage::FillFailed, 5);
  ports = EnumerateLocalPorts(fake.platform);
  ASSERT_TRUE(ports);
  EXPECT_TRUE(ports->empty());
}

class MonitorPortTest : public ::testing::Test {
 protected:
  MonitorPortTest()
      : monitor(fake.spooler.AddMonitor(kMonitor)), record(BuildCustomPortRecord(4, u"VID:0x1A2B,PID:0x5E6F")) {}
  bool Add(const std::u16string& prefix = u"LBUSB") {
    added = AddMonitorPort(fake.platform, kMonitor, prefix, record);
    if (added.status) portName = added.portName;
    return added.status.ok;
  }
  MonitorPort added;
  FakePrintPlatform fake;
  FakeMonitor& monitor;
  CustomPortRecord record;
  std::u16string portName = u"before";
};

TEST_F(MonitorPortTest, CreatesTheNextFreeNumberedPort) {
  fake.spooler.AddPort(u"LBUSB001", kMonitor);
  fake.spooler.AddPort(u"LBUSB002", u"Other Monitor");
  EXPECT_TRUE(Add());
  EXPECT_EQ(portName, u"LBUSB003");
  EXPECT_EQ(CustomPortName(record), u"LBUSB003");
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "Ports", "XcvDataW",
                                                          "ClosePrinter"}));
  EXPECT_EQ(fake.log.calls[2], "XcvDataW(" + kMonitorHandle + ", \"AddPort\", 2620, 0)");
  ASSERT_EQ(monitor.addPortInputs.size(), 1u);
  EXPECT_EQ(monitor.addPortInputs[0], std::vector<std::uint8_t>(record.begin(), record.end()));
  EXPECT_EQ(CustomPortDeviceText(record), u"VID:0x1A2B,PID:0x5E6F");
  EXPECT_EQ(fake.Traces(), std::vector<std::u16string>{u"AddKCPort"});
  EXPECT_NE(fake.spooler.FindPort(u"LBUSB003"), nullptr);
}

TEST_F(MonitorPortTest, NoPortListGivesNumberZero) {
  EXPECT_TRUE(Add());
  EXPECT_EQ(portName, u"LBUSB000");
  fake.spooler.FailAllocation("Ports");
  EXPECT_TRUE(Add(u"XY"));
  EXPECT_EQ(portName, u"XY000");
}

TEST_F(MonitorPortTest, ConnectionKindZeroCreatesNothing) {
  record = BuildCustomPortRecord(0, u"dev");
  EXPECT_TRUE(Add());
  EXPECT_EQ(added.portName, u"");
  EXPECT_EQ(CustomPortName(record), u"");
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "ClosePrinter"}));
}

TEST_F(MonitorPortTest, FailuresGiveTheirCodeToTheCaller) {
  struct Case {
    const char* what;
    std::function<void(FakePrintPlatform&, FakeMonitor&)> arrange;
    std::uint32_t code;
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
    const MonitorPort port = AddMonitorPort(local.platform, kMonitor, u"LBUSB", r);
    EXPECT_FALSE(port.status) << c.what;
    EXPECT_EQ(port.status.code, c.code) << c.what;
    EXPECT_EQ(port.portName, u"") << c.what;
    EXPECT_EQ(local.Traces(), c.traces) << c.what;
    EXPECT_EQ(local.spooler.OpenHandleCount(), 0u) << c.what;
    EXPECT_TRUE(local.Boxes().empty()) << c.what;
  }
}

TEST_F(MonitorPortTest, ClosingDoesNotHideTheXcvDataCode) {
  monitor.addPortCallSucceeds = false;
  monitor.addPortError = 1722;
  fake.spooler.Fail("ClosePrinter", 6);
  EXPECT_FALSE(Add());
  EXPECT_EQ(added.status.code, 1722u);
}

TEST_F(MonitorPortTest, PrefixTooLongIsRefusedBeforeTheMonitorIsAsked) {
  EXPECT_EQ(Add(std::u16string(256, u'p')), 1);
  EXPECT_EQ(portName.size(), 259u);
  fake.log.Clear();
  EXPECT_EQ(Add(std::u16string(257, u'p')), 0);
  EXPECT_EQ(fake.log.Methods(), (std::vector<std::string>{"OpenPrinterW", "ClosePrinter"}));
  EXPECT_EQ(added.status.code, 206u);
}

}  // namespace
