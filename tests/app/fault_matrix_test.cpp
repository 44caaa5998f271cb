// Every platform call of every road failed in turn (a read at its size query and at its fill),
// with each error such a call can give: no crash (the sanitizer build runs this too), an end the
// exit code matches, a failure that ends the road always says so in an ERROR box, and an install
// always ends on its success box.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <map>

#include "app/install_road.h"
#include "app/road_context.h"
#include "config/texts.h"
#include "spooler/fake_print_services.h"
#include "app/uninstall_report.h"
#include "config/fake_registry.h"

namespace {

constexpr WindowHandle kMain = 0x2a;
const std::u16string kMonitor = u"Label USB Monitor";
// Access denied, invalid parameter, not enough memory, the spooler's name, port and driver
// refusals, a buffer too small where none was asked for, an RPC failure, and a driver the
// system blocks.
const std::uint32_t kErrors[] = {5, 87, 8, 1801, 1796, 1797, 122, 1722, 3014};

struct Road {
  const char* name;
  WizardPage page;
  const char16_t* text;
  std::function<void(InstallContext&, FakePrintPlatform&)> arrange;
};

InstallContext BaseContext() {
  InstallContext c = RoadTestContext();
  c.printerData = {{u"PaperName", u"Label 60x40"}, {u"Darkness", u"8"}};
  return c;
}

void Arrange(const Road& road, InstallContext& context, FakePrintPlatform& fake) {
  AddDriverPackage(fake.files, context);
  fake.files.AddFile(u"C:\\setup\\MONITOR32\\MonitorSetup.exe");
  fake.files.AddFile(u"C:\\setup\\UTILS\\DeletePrintJobs.bat");
  fake.spooler.AddTcpIpMonitor();
  road.arrange(context, fake);
}

// The stages a call can fail at: a read at its size query or at its fill, any other call once.
std::vector<ReadStage> StagesOf(const std::string& method) {
  static const char* const reads[] = {"LocalPrinters", "Ports", "Printer", "Drivers"};
  for (const char* read : reads) {
    if (method == read) return {ReadStage::SizeQueryFailed, ReadStage::FillFailed};
  }
  return {ReadStage::SizeQueryFailed};
}

// Fails the n-th call of method on every fake (a fake never makes another's calls).
void FailCall(FakePrintPlatform& fake, const std::string& method, std::uint32_t error, int occurrence,
              ReadStage stage = ReadStage::SizeQueryFailed) {
  fake.spooler.FailRead(method, stage, error, occurrence);
  fake.files.Fail(method, error, occurrence);
  fake.versions.Fail(method, error, occurrence);
  fake.shell.Fail(method, error, occurrence);
}

const std::vector<Road>& Roads() {
  static const std::vector<Road> roads = {
      {"network", WizardPage::Network, u"10.1.2.3", [](InstallContext&, FakePrintPlatform&) {}},
      {"USB with a monitor", WizardPage::Usb, u"VID:0x1A2B,PID:0x4D5E",
       [](InstallContext& c, FakePrintPlatform& f) {
         c.portMonitorName = kMonitor;
         c.portNamePrefix = u"LBUSB";
         f.spooler.AddMonitor(kMonitor);
         f.spooler.AddPort(u"LBUSB001", kMonitor);
         f.spooler.AddPrinter(u"Old Label", u"LBUSB001", 2);  // queued jobs: the purge runs too
       }},
      {"USB without a monitor", WizardPage::Usb, u"USB002",
       [](InstallContext&, FakePrintPlatform& f) { f.spooler.AddPort(u"USB002"); }},
      {"serial", WizardPage::Serial, u"COM1:", [](InstallContext&, FakePrintPlatform& f) { f.spooler.AddPort(u"COM1:"); }},
      {"parallel", WizardPage::Parallel, u"LPT1:",
       [](InstallContext&, FakePrintPlatform& f) { f.spooler.AddPort(u"LPT1:"); }},
      {"update", WizardPage::Network, u"10.1.2.3",
       [](InstallContext& c, FakePrintPlatform& f) {
         c.ifExists = u"Update";
         f.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
         f.spooler.AddPrinter(u"Label Printer", u"10.1.2.3");
       }},
  };
  return roads;
}

// The calls a clean run makes, each with its occurrence among the calls of its name.
std::vector<std::pair<std::string, int>> CallsOf(const std::vector<std::string>& methods) {
  std::vector<std::pair<std::string, int>> calls;
  std::map<std::string, int> seen;
  for (const std::string& method : methods) calls.emplace_back(method, ++seen[method]);
  return calls;
}

// Runs check on fresh fakes once for every call of a clean run failed in turn, at each stage
// it can fail at and with each error; the number of cells run.
std::size_t ForEachFailedCall(const std::vector<std::string>& clean,
                              const std::function<void(FakePrintPlatform&)>& check) {
  std::size_t cells = 0;
  for (const auto& [method, occurrence] : CallsOf(clean)) {
    for (const ReadStage stage : StagesOf(method)) {
      for (std::uint32_t error : kErrors) {
        SCOPED_TRACE(method + " #" + std::to_string(occurrence) + " fails with " + std::to_string(error) +
                     " at stage " + std::to_string(static_cast<int>(stage)));
        ++cells;
        FakePrintPlatform fake;
        FailCall(fake, method, error, occurrence, stage);
        check(fake);
      }
    }
  }
  return cells;
}

}  // namespace

TEST(FaultMatrix, EveryCallOfEveryRoadFailedInTurn) {
  std::size_t cells = 0;
  for (const Road& road : Roads()) {
    SCOPED_TRACE(road.name);
    std::vector<std::string> clean;
    {
      FakePrintPlatform fake;
      InstallContext context = BaseContext();
      Arrange(road, context, fake);
      ASSERT_EQ(RoadEnd::Installed, RunInstallRoad(road.page, road.text, kMain, context, fake.platform));
      clean = fake.log.Methods();
    }
    cells += ForEachFailedCall(clean, [&](FakePrintPlatform& fake) {
      InstallContext context = BaseContext();
      Arrange(road, context, fake);
      const RoadEnd end = RunInstallRoad(road.page, road.text, kMain, context, fake.platform);
      ASSERT_NE(RoadEnd::Stay, end);
      const int code = ExitCodeFor(true, end);
      EXPECT_TRUE(code == 0 || code == 1603 || (code == 1625 && end == RoadEnd::Rejected));
      ASSERT_FALSE(fake.Boxes().empty());
      const RecordedBox& last = fake.Boxes().back();
      if (end != RoadEnd::Installed) {
        EXPECT_EQ(std::optional<std::u16string>(u"ERROR"), last.caption);
      } else {
        EXPECT_EQ(0u, last.text.rfind(u"Add Printer Successful - ", 0));
      }
      for (const RecordedBox& box : fake.Boxes()) EXPECT_EQ(kMain, box.owner);
    });
  }
  std::cout << "fault matrix: " << cells << " cells (" << Roads().size() << " roads)" << std::endl;
}

// Uninstall: a failing step never hides the others, and any failure says so.
TEST(FaultMatrix, EveryCallOfTheUninstallFailedInTurn) {
  const auto arrange = [](InstallContext& context, FakePrintPlatform& fake) {
    context = BaseContext();
    fake.spooler.AddTcpIpMonitor();
    fake.spooler.AddPort(u"10.1.2.3", kTcpIpMonitorName);
    fake.spooler.AddPrinter(u"Label Printer", u"10.1.2.3", 1, u"LBLENG");
    fake.spooler.AddPrinter(u"Label Printer(2)", u"10.1.2.3", 0, u"LBLENG");
  };
  std::vector<std::string> clean;
  {
    FakePrintPlatform fake;
    InstallContext context;
    arrange(context, fake);
    const UninstallPlan plan = PlanUninstall(context, fake.platform);
    ASSERT_FALSE(plan.Empty());
    FakeRegistry registry;
    ASSERT_TRUE(CarryOutUninstall(context, fake.platform, plan, registry));
    clean = fake.log.Methods();
  }
  const std::size_t cells = ForEachFailedCall(clean, [&](FakePrintPlatform& fake) {
    InstallContext context;
    arrange(context, fake);
    const UninstallPlan plan = PlanUninstall(context, fake.platform);
    FakeRegistry registry;
    if (!CarryOutUninstall(context, fake.platform, plan, registry)) {
      ASSERT_FALSE(fake.Boxes().empty());
      EXPECT_EQ(std::optional<std::u16string>(u"ERROR"), fake.Boxes().back().caption);
    }
  });
  std::cout << "fault matrix: " << cells << " uninstall cells" << std::endl;
}
