#include "spooler/desired_printer.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/road_context.h"
#include "spooler/fake_print_services.h"

namespace {

const std::u16string kAddress = u"10.1.2.3";
const std::u16string kDriverDir = u"C:\\windows\\system32\\spool\\drivers\\w32x86\\3";

// An install of the LBL package on the TCP/IP port 10.1.2.3 with two DATA values, as the road makes it.
struct Bed {
  Bed() : context(RoadTestContext()) {
    context.printerData = {{u"Darkness", u"8"}, {u"Speed", u"4"}};
    AddDriverPackage(fake.files, context);
    fake.spooler.AddTcpIpMonitor();
    fake.spooler.AddPort(kAddress, kTcpIpMonitorName);
    EXPECT_TRUE(InstallPrinter(context, fake.platform, kAddress).ok());
  }

  FakePrinter& Printer() { return *fake.spooler.FindPrinter(u"Label Printer"); }
  void SetData(const std::u16string& name, const std::u16string& text) {
    Printer().data[name] = {kRegSz, std::vector<std::uint8_t>()};
    for (char16_t unit : text) {
      Printer().data[name].second.push_back(static_cast<std::uint8_t>(unit));
      Printer().data[name].second.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
  }

  std::vector<Check> Checks() {
    const DesiredPrinter desired = MakeDesiredPrinter(context, 32, NetworkPort(kAddress));
    return Compare(desired, ReadInstalledPrinter(desired, fake.platform));
  }

  InstallContext context;
  FakePrintPlatform fake;
};

TEST(DesiredPrinter, AFreshInstallIsCompliantInEveryItem) {
  Bed bed;
  const std::vector<Check> checks = bed.Checks();
  EXPECT_TRUE(Compliant(checks));
  std::vector<std::u16string> lines;
  for (const Check& check : checks) lines.push_back(CheckLine(check));
  const std::vector<std::u16string> expected = {
      u"verify: ok printer Label Printer", u"verify: ok driver LBLENG",    u"verify: ok file LBLENG.GPD",
      u"verify: ok file LBLUIENG.DLL",     u"verify: ok file LBLENG.INI",  u"verify: ok file LBLUNIENG.DLL",
      u"verify: ok file LBLRCENG.DLL",     u"verify: ok file UNIDRV.DLL",  u"verify: ok file UNIDRVUI.DLL",
      u"verify: ok file UNIDRV.HLP",       u"verify: ok file UNIRES.DLL",  u"verify: ok file STDNAMES.GPD",
      u"verify: ok file TTFSUB.GPD",       u"verify: ok port 10.1.2.3",    u"verify: ok data Darkness",
      u"verify: ok data Speed"};
  EXPECT_EQ(expected, lines);
}

// Each case changes one thing after the install; exactly the items named stop being ok.
TEST(DesiredPrinter, EachChangeIsNamedWithWhatWasWantedAndFound) {
  struct Case {
    const char* name;
    std::function<void(Bed&)> change;
    std::vector<std::u16string> lines;  // the lines that are not ok, in order
  };
  const Case cases[] = {
      {"name in another case", [](Bed& t) { t.Printer().info.printerName = u"LABEL PRINTER"; }, {}},
      {"only a numbered copy", [](Bed& t) { t.Printer().info.printerName = u"Label Printer(2)"; },
       {u"verify: missing printer Label Printer", u"verify: missing data Darkness", u"verify: missing data Speed"}},
      {"another driver", [](Bed& t) { t.Printer().info.driverName = u"Generic"; },
       {u"verify: differs driver LBLENG: wanted \"LBLENG\", found \"Generic\""}},
      {"driver not registered", [](Bed& t) { t.fake.spooler.drivers.clear(); },
       {u"verify: differs driver LBLENG: wanted \"LBLENG (Windows NT x86)\", found \"not registered for Windows NT x86\""}},
      {"a driver file overwritten",
       [](Bed& t) { t.fake.files.AddFile(kDriverDir + u"\\LBLENG.GPD", {'L', 'B', 'X'}); },
       {u"verify: differs file LBLENG.GPD: wanted \"the package's 10 bytes\", found \"3 bytes, different from byte 2\""}},
      {"same size, other bytes",
       [](Bed& t) {
         t.fake.files.AddFile(kDriverDir + u"\\UNIDRV.DLL", {'U', 'N', 'I', 'D', 'R', 'V', '.', 'D', 'L', 'X'});
       },
       {u"verify: differs file UNIDRV.DLL: wanted \"the package's 10 bytes\", found \"10 bytes, different from byte 9\""}},
      {"a driver file gone", [](Bed& t) { t.fake.files.RemoveFile(kDriverDir + u"\\TTFSUB.GPD"); },
       {u"verify: missing file TTFSUB.GPD"}},
      {"a package file unreadable",
       [](Bed& t) { t.fake.files.RemoveFile(u"C:\\setup\\SETUP\\ENG\\LBLRCENG.DLL"); },
       {u"verify: missing file LBLRCENG.DLL"}},
      {"an optional file the package lacks",
       [](Bed& t) { t.fake.files.RemoveFile(u"C:\\setup\\SETUP\\ENG\\LBLENG.INI"); }, {}},
      {"another port", [](Bed& t) { t.Printer().info.portName = u"LPT1:"; },
       {u"verify: differs port 10.1.2.3: wanted \"10.1.2.3\", found \"LPT1:\""}},
      {"a pool holding the port", [](Bed& t) {
         t.fake.spooler.AddPort(u"10.1.2.4", kTcpIpMonitorName);
         t.Printer().info.portName = u"10.1.2.3,10.1.2.4";
       },
       {u"verify: differs port 10.1.2.3: wanted \"10.1.2.3\", found \"10.1.2.3,10.1.2.4\""}},
      {"the port of another monitor",
       [](Bed& t) { t.fake.spooler.ports[0].monitorName = u"Local Port"; },
       {u"verify: differs port 10.1.2.3: wanted \"10.1.2.3 (Standard TCP/IP Port)\", found \"10.1.2.3 (Local Port)\""}},
      {"a value changed", [](Bed& t) { t.SetData(u"Darkness", u"12"); },
       {u"verify: differs data Darkness: wanted \"8\", found \"12\""}},
      {"a value gone", [](Bed& t) { t.Printer().data.erase(u"Speed"); }, {u"verify: missing data Speed"}},
      {"a value that cannot be read", [](Bed& t) { t.fake.spooler.Fail("DataValue", 5, 1); },
       {u"verify: differs data Darkness: wanted \"8\", found \"not read (error 5)\""}},
      {"the printer not opened", [](Bed& t) { t.fake.spooler.Fail("OpenPrinterW", 5); },
       {u"verify: differs data Darkness: wanted \"8\", found \"printer not opened (error 5)\"",
        u"verify: differs data Speed: wanted \"4\", found \"printer not opened (error 5)\""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bed local;  // every case starts from its own install
    c.change(local);
    std::vector<std::u16string> lines;
    const std::vector<Check> checks = local.Checks();
    for (const Check& check : checks) {
      if (check.verdict != Verdict::Ok) lines.push_back(CheckLine(check));
    }
    EXPECT_EQ(c.lines, lines);
    EXPECT_EQ(c.lines.empty(), Compliant(checks));
  }
}

TEST(DesiredPrinter, AMonitorPortIsAnyOfItsPortsWithThePrefix) {
  Bed bed;
  const std::u16string monitor = u"Label USB Monitor";
  bed.context.portMonitorName = monitor;
  bed.context.portNamePrefix = u"LBUSB";
  bed.fake.spooler.AddPort(u"LBUSB003", monitor);
  bed.fake.spooler.AddPort(u"LBX1", monitor);
  struct Case {
    const char16_t* port;
    bool ok;
  } cases[] = {{u"LBUSB003", true}, {u"lbusb003", true}, {u"LBX1", false}, {kAddress.c_str(), false}};
  for (const Case& c : cases) {
    bed.Printer().info.portName = c.port;
    const DesiredPrinter desired = MakeDesiredPrinter(bed.context, 32, MonitorPortOf(bed.context));
    const std::vector<Check> checks = Compare(desired, ReadInstalledPrinter(desired, bed.fake.platform));
    EXPECT_EQ(c.ok, Compliant(checks)) << std::string(c.port, c.port + std::char_traits<char16_t>::length(c.port));
  }
}

}  // namespace
