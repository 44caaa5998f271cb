// Monitor refresh and job purge against Wine: the tools start from their own folders and are
// waited for, and a printer on a custom-monitor port without jobs asks for no purge. Wine never
// queues a job (cJobs stays 0), so the branch with jobs belongs to the fakes.
#include <windows.h>
#include <winspool.h>

#include "test_bed.h"

namespace {

using wine_test::kUsbMonitor;
using wine_test::MarkValue;

const std::u16string kDevice = u"VID:0x1A2B,PID:0x5E6F";

// Takes the custom monitor away, its DLL in this process's system directory too, so that only
// the setup tool can bring it back.
void RemoveUsbMonitor() {
  DeleteMonitorW(nullptr, nullptr, const_cast<wchar_t*>(L"Label USB Monitor"));
  DeleteFileW(W(wine_test::SystemDirectory() + u"\\lblusbmon.dll"));
}

// RunMonitorSetup started MonitorSetup.exe with "update" from its folder and waited for it;
// afterwards the monitor is there for this process. Returns the tool's result line.
std::u16string RunSetupAndCheck(TestBed& bed, const InstallContext& context, const std::u16string& width) {
  const std::u16string folder = context.installDir + u"\\" + context.monitorDirName;
  const std::u16string markPath = folder + u"\\MonitorSetup.ran";
  DeleteFileW(W(markPath));
  // Whatever happens below, the cases after this one find the monitor in place.
  CleanUp restore([] {
    if (!wine_test::UsbMonitorRegistered()) wine_test::EnsureMonitors();
  });
  RemoveUsbMonitor();
  REQUIRE(!MonitorExists(bed.Platform(), kUsbMonitor));

  RunMonitorSetup(context, bed.Platform(), 0);
  // The tool writes its mark last, after a pause: it is there now only if the call waited.
  auto mark = wine_test::ReadMark(markPath);
  REQUIRE(!mark.empty());
  CHECK_EQ(MarkValue(mark, u"arguments"), u"update");
  if (!wine_test::SameTextIgnoringCase(MarkValue(mark, u"directory"), folder)) {
    wcheck::Fail(__FILE__, __LINE__, "working directory " + wcheck::Show(MarkValue(mark, u"directory")));
  }
  if (!wine_test::SameTextIgnoringCase(MarkValue(mark, u"folder"), folder)) {
    wcheck::Fail(__FILE__, __LINE__, "started from " + wcheck::Show(MarkValue(mark, u"folder")));
  }
  CHECK_EQ(MarkValue(mark, u"width"), width);
  CHECK(MonitorExists(bed.Platform(), kUsbMonitor).ok);
  CHECK(bed.Boxes().empty());
  return MarkValue(mark, u"result");
}

CASE(RunMonitorSetupInstallsTheMonitorFromItsFolder) {
  TestBed bed;
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", u"unused");
  std::u16string result = RunSetupAndCheck(bed, context, bed.osBitness == 64 ? u"64" : u"32");
  CHECK_EQ(result.substr(0, 9), u"installed");
}

CASE(RunDeletePrintJobsRunsTheScriptFromUtils) {
  TestBed bed;
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", u"unused");
  const std::u16string markPath = context.installDir + u"\\UTILS\\DeletePrintJobs.ran";
  DeleteFileW(W(markPath));
  RunDeletePrintJobs(context, bed.Platform(), 0);
  auto mark = wine_test::ReadMark(markPath);
  REQUIRE(!mark.empty());
  if (!wine_test::SameTextIgnoringCase(MarkValue(mark, u"directory"), context.installDir + u"\\UTILS")) {
    wcheck::Fail(__FILE__, __LINE__, "working directory " + wcheck::Show(MarkValue(mark, u"directory")));
  }
  CHECK(bed.Boxes().empty());
}

CASE(PrinterOnAMonitorPortWithoutJobsAsksForNoPurge) {
  TestBed bed;
  const std::u16string base = u"Wine Label Jobs";
  const std::u16string prefix = u"WJP";
  CleanUp cleanUp([&] {
    wine_test::DeletePrinters(base);
    wine_test::DeleteUsbPortsWithPrefix(prefix);
  });
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", base);
  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  std::u16string port;
  port = AddMonitorPort(bed.Platform(), kUsbMonitor, prefix, record).portName;
  REQUIRE(!port.empty());
  REQUIRE_EQ(bed.Install(context, port), 1);

  CustomPortRecord answer{};
  CHECK_EQ(QueryMonitorPort(bed.Platform(), port, answer), true);
  CHECK_EQ(CustomPortName(answer), port);  // the monitor hands its record back
  CHECK_EQ(QueryMonitorPort(bed.Platform(), u"LPT1:", answer), false);      // the local monitor's port
  CHECK_EQ(QueryMonitorPort(bed.Platform(), u"NOPORT999", answer), false);  // no monitor's port

  CHECK(GetPrinterJobCount(bed.Platform(), base) == std::optional<std::uint32_t>(0));
  CHECK(!GetPrinterJobCount(bed.Platform(), u"No Such Printer"));

  CHECK(!HasPendingJobsOnMonitorPorts(bed.Platform()));
}

// The 32-bit installer on 64-bit Windows runs MONITOR64\MonitorSetup.exe, a 64-bit tool; Wine
// loads the monitor into the installer's own process, so the tool must also put the 32-bit
// build into SysWOW64 (this process's system directory) for the installer to reach it.
WOW64_CASE(Wow64MonitorSetupOf64BitsServesThe32BitInstaller) {
  TestBed bed;
  REQUIRE_EQ(bed.osBitness, 64);
  const std::u16string prefix = u"WWP";
  CleanUp cleanUp([&] { wine_test::DeleteUsbPortsWithPrefix(prefix); });
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", u"unused");
  REQUIRE_EQ(context.monitorDirName, u"MONITOR64");
  CHECK_EQ(RunSetupAndCheck(bed, context, u"64"), u"installed wow64");

  CustomPortRecord record = BuildCustomPortRecord(custom_port::kUsbConnection, kDevice);
  std::u16string port;
  port = AddMonitorPort(bed.Platform(), kUsbMonitor, prefix, record).portName;
  REQUIRE(!port.empty());
  CHECK_EQ(port, prefix + u"001");
  CustomPortRecord answer{};
  CHECK_EQ(QueryMonitorPort(bed.Platform(), port, answer), true);
}

}  // namespace
