// IfExists=Repair and /verify on one configuration: the LBL package on the TCP/IP port 10.9.8.7
// with two DATA values, quiet.
#include <gtest/gtest.h>

#include <functional>

#include "app/quiet_install.h"
#include "app/road_context.h"
#include "app/start_up.h"
#include "app/verify.h"
#include "spooler/fake_print_services.h"
#include "usb/fake_device_tree.h"

namespace {

const std::u16string kAddress = u"10.9.8.7";
const std::u16string kDriverDir = u"C:\\windows\\system32\\spool\\drivers\\w32x86\\3";
// The calls that change the spooler or the files.
const char* const kChangingCalls[] = {"XcvDataW",    "VerInstallFileW", "AddPrinterDriverW", "AddPrinterDriverExW",
                                      "AddPrinterW", "SetPrinterW",     "SetPrinterDataW",   "CopyFileW",
                                      "ShellExecuteExW"};

struct Bed {
  Bed() : context(RoadTestContext()) {
    context.defaultLanguage = u"ENG";
    context.defaultPortType = u"ETH";
    context.printerAddress = kAddress;
    context.printerData = {{u"Darkness", u"8"}, {u"Speed", u"4"}};
    SelectStartLanguage(context, 0x0409);
    AddDriverPackage(fake.files, context);
    fake.spooler.AddTcpIpMonitor();
  }
  int Install(const char16_t* ifExists) {
    context.ifExists = ifExists;
    return RunQuietInstall(context, fake.platform, usb);
  }
  FakePrinter* Printer() { return fake.spooler.FindPrinter(u"Label Printer"); }
  std::size_t ChangingCalls() const {
    std::size_t count = 0;
    for (const char* call : kChangingCalls) count += fake.log.Count(call);
    return count;
  }
  std::vector<std::u16string> BoxTexts() const {
    std::vector<std::u16string> texts;
    for (const RecordedBox& box : fake.Boxes()) texts.push_back(box.text);
    return texts;
  }

  InstallContext context;
  FakePrintPlatform fake;
  FakeDeviceTree tree;
  UsbPlatform usb{tree, tree, fake.spooler};
};

void BreakData(Bed& bed) { bed.Printer()->data.erase(u"Speed"); }
void BreakPort(Bed& bed) {
  bed.fake.spooler.AddPort(u"LPT1:");
  bed.Printer()->info.portName = u"LPT1:";
}
void BreakFile(Bed& bed) { bed.fake.files.AddFile(kDriverDir + u"\\LBLENG.GPD", {'x'}); }

TEST(Repair, NoPrinterIsAPlainInstall) {
  Bed bed;
  EXPECT_EQ(0, bed.Install(u"Repair"));
  ASSERT_NE(nullptr, bed.Printer());
  EXPECT_EQ(std::vector<std::u16string>{u"Add Printer Successful - Label Printer"}, bed.BoxTexts());
}

TEST(Repair, ACompliantPrinterIsLeftAloneWithoutOneChangingCall) {
  Bed bed;
  ASSERT_EQ(0, bed.Install(u"New"));
  bed.fake.log.calls.clear();
  bed.fake.diagnostics.dialogs.boxes.clear();
  EXPECT_EQ(0, bed.Install(u"repair"));
  EXPECT_EQ(0u, bed.ChangingCalls());
  EXPECT_EQ(std::vector<std::u16string>{u"Label Printer is already installed."}, bed.BoxTexts());
}

// Whatever was broken, the printer is brought back under its own name and then complies.
TEST(Repair, APrinterThatDiffersIsBroughtBackUnderItsName) {
  const std::pair<const char*, void (*)(Bed&)> cases[] = {
      {"a value gone", BreakData}, {"another port", BreakPort}, {"a driver file overwritten", BreakFile}};
  for (const auto& [name, breakIt] : cases) {
    SCOPED_TRACE(name);
    Bed bed;
    ASSERT_EQ(0, bed.Install(u"New"));
    breakIt(bed);
    EXPECT_EQ(0, bed.Install(u"Repair"));
    EXPECT_EQ(nullptr, bed.fake.spooler.FindPrinter(u"Label Printer(2)"));
    EXPECT_EQ(0, Verify(bed.context, bed.fake.platform, bed.usb).exitCode);
    EXPECT_EQ(u"Add Printer Successful - Label Printer", bed.BoxTexts().back());
  }
}

TEST(Repair, DifferencesThatRemainFailTheRunAndAreNamed) {
  Bed bed;
  ASSERT_EQ(0, bed.Install(u"New"));
  BreakData(bed);
  bed.fake.spooler.Fail("SetPrinterDataW", 5);  // the update cannot write the value back
  EXPECT_EQ(1603, bed.Install(u"Repair"));
  EXPECT_EQ(u"Label Printer still differs from the configuration:\r\ndata Speed - ERROR CODE: 0\r\n",
            bed.BoxTexts().back());
}

TEST(Verify, ExitCodeLinesAndTheOneOutputLine) {
  struct Case {
    const char* name;
    std::function<void(Bed&)> arrange;
    int exitCode;
    std::u16string outputLine;
    std::u16string someLine;
  };
  const Case cases[] = {
      {"compliant", [](Bed& b) { b.Install(u"New"); }, 0, u"compliant: Label Printer", u"verify: ok data Speed"},
      {"nothing installed", [](Bed&) {}, 1, u"not compliant: printer Label Printer",
       u"verify: missing printer Label Printer"},
      {"a value changed",
       [](Bed& b) {
         b.Install(u"New");
         b.Printer()->data[u"Darkness"].second = {'9', 0};
       },
       1, u"not compliant: data Darkness: wanted \"8\", found \"9\"",
       u"verify: differs data Darkness: wanted \"8\", found \"9\""},
      {"printers not listed", [](Bed& b) { b.fake.spooler.Fail("LocalPrinters", 1722); }, 1603, u"",
       u"verify: the printers cannot be listed (error 1722)"},
      {"no address configured", [](Bed& b) { b.context.printerAddress.clear(); }, 1603, u"",
       u"verify: the configuration is refused"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bed bed;
    c.arrange(bed);
    bed.fake.log.calls.clear();
    const Verification verification = Verify(bed.context, bed.fake.platform, bed.usb);
    EXPECT_EQ(c.exitCode, verification.exitCode);
    EXPECT_EQ(c.outputLine, verification.outputLine);
    EXPECT_NE(verification.lines.end(), std::find(verification.lines.begin(), verification.lines.end(), c.someLine));
    EXPECT_EQ(0u, bed.ChangingCalls());
  }
}

}  // namespace
