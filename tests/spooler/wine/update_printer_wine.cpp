// Updating a printer in place against Wine's spooler: the printer found by its name in another
// letter case keeps that name, moves to the new port, takes the changed package (an optional
// file added, the GPD changed) and the new DATA values; printing defaults set on the printer
// survive the update, and the record read through the seam carries its device mode there and back.
#include <algorithm>
#include <cstddef>

#include "test_bed.h"

namespace {

const char16_t kFirstData[] = u"Darkness=3\0Keep=mine\0";
const char16_t kNextData[] = u"Darkness=8\0PaperName=Label 60x40\0";

CASE(UpdatePrinterKeepsTheNameAndTakesTheNewPackageAndData) {
  TestBed bed;
  const std::u16string base = u"Wine Update";
  const std::u16string firstPort = u"192.0.2.61";
  const std::u16string nextPort = u"192.0.2.62";
  const std::u16string setup = bed.osBitness == 64 ? u"SETUP64" : u"SETUP";
  const wchar_t* environment = bed.osBitness == 64 ? L"Windows x64" : L"Windows NT x86";
  std::u16string installDir;
  CleanUp cleanUp([&] {
    wine_test::DeletePrinters(base);
    wine_test::DeleteTcpIpPort(firstPort);
    wine_test::DeleteTcpIpPort(nextPort);
    wine_test::DeleteDriverEverywhere(u"WUPENG");
    if (!installDir.empty()) wine_test::RemoveFolder(installDir);
  });
  installDir = wine_test::StagePackageCopy(u"WUP", setup, u"ENG");
  REQUIRE(!installDir.empty());
  const std::u16string packageDir = installDir + u"\\" + setup + u"\\ENG";
  REQUIRE_EQ(bed.AddTcpIpPort(firstPort), 1);
  REQUIRE_EQ(bed.AddTcpIpPort(nextPort), 1);

  // The first package lacks the optional rendering plug-in.
  REQUIRE(DeleteFileW(W(packageDir + u"\\WUPUNIENG.DLL")));
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", base);
  context.installDir = installDir;
  context.driverPrefix = u"WUP";
  context.printerData = ParsePrinterData(std::u16string_view(kFirstData, sizeof(kFirstData) / sizeof(char16_t)));
  REQUIRE_EQ(bed.Install(context, firstPort), 1);
  std::optional<fixture::DriverEntry> first = wine_test::FindDriver(environment, u"WUPENG");
  REQUIRE(first.has_value());
  CHECK_EQ(first->dependentFiles.size(), 10u);

  // The next package: the plug-in, and a GPD that says more.
  REQUIRE(CopyFileW(W(wine_test::DemoDir() + u"\\" + setup + u"\\ENG\\LBLUNIENG.DLL"),
                    W(packageDir + u"\\WUPUNIENG.DLL"), FALSE));
  std::optional<std::vector<std::uint8_t>> gpd = wine_test::FileBytes(packageDir + u"\\WUPENG.GPD");
  REQUIRE(gpd.has_value());
  const std::string added = "*% updated package\r\n";
  gpd->insert(gpd->end(), added.begin(), added.end());
  REQUIRE(wine_test::WriteFileBytes(packageDir + u"\\WUPENG.GPD", *gpd));
  context.printerData = ParsePrinterData(std::u16string_view(kNextData, sizeof(kNextData) / sizeof(char16_t)));

  std::optional<std::u16string> existing = FindExistingPrinter(bed.Platform(), u"WINE UPDATE");
  REQUIRE_EQ(existing, std::optional<std::u16string>(base));
  REQUIRE_EQ(bed.Update(context, nextPort, *existing), 1);
  // Wine 8 takes APD_COPY_ALL_FILES: no fallback.
  CHECK(!bed.Traced(u"AddPrinterDriverEx Refused"));

  REQUIRE_EQ(bed.Boxes().size(), 2u);
  CHECK_EQ(bed.Boxes()[1].text, u"Add Printer Successful - " + base);
  CHECK(!wine_test::FindPrinter(base + u"(2)").has_value());
  std::optional<fixture::PrinterEntry> printer = wine_test::FindPrinter(base);
  REQUIRE(printer.has_value());
  CHECK_EQ(printer->port, std::wstring(W(nextPort)));
  CHECK_EQ(printer->driver, std::wstring(L"WUPENG"));

  std::vector<std::pair<std::wstring, std::wstring>> data;
  for (const fixture::PrinterDataEntry& entry : fixture::ListPrinterData(printer->name)) {
    data.emplace_back(entry.key, entry.text);
  }
  std::sort(data.begin(), data.end());
  const std::vector<std::pair<std::wstring, std::wstring>> expectedData = {
      {L"Darkness", L"8"}, {L"Keep", L"mine"}, {L"PaperName", L"Label 60x40"}};
  CHECK_EQ(data, expectedData);

  std::optional<fixture::DriverEntry> next = wine_test::FindDriver(environment, u"WUPENG");
  REQUIRE(next.has_value());
  std::vector<std::u16string> dependent;
  for (const std::wstring& file : next->dependentFiles) dependent.push_back(wine_test::BaseName(file));
  CHECK(std::find(dependent.begin(), dependent.end(), u"WUPUNIENG.DLL") != dependent.end());
  // The registered data file (in the driver's version directory) is the changed one.
  CHECK_BYTES(wine_test::FileBytes(U16(next->dataFile.c_str())), *gpd);
}

// A device mode from dmSpecVersion on: Wine writes the device name itself when it hands one out
// (its name, then whatever its buffer held).
std::vector<std::uint8_t> AfterDeviceName(const std::vector<std::uint8_t>& devMode) {
  const std::size_t start = offsetof(DEVMODEW, dmSpecVersion);
  return devMode.size() < start ? std::vector<std::uint8_t>{}
                                : std::vector<std::uint8_t>(devMode.begin() + start, devMode.end());
}

// A printer of its own driver (prefix WDM) on its own port, installed as a road installs it.
struct InstalledPrinter {
  TestBed& bed;
  std::u16string name;
  std::u16string port;
  InstallContext context;
  std::u16string installDir;
  CleanUp cleanUp;
  InstalledPrinter(TestBed& testBed, std::u16string printer, std::u16string address)
      : bed(testBed), name(std::move(printer)), port(std::move(address)), cleanUp([this] {
          wine_test::DeletePrinters(name);
          wine_test::DeleteTcpIpPort(port);
          wine_test::DeleteDriverEverywhere(u"WDMENG");
          if (!installDir.empty()) wine_test::RemoveFolder(installDir);
        }) {}
  bool Install() {
    installDir = wine_test::StagePackageCopy(u"WDM", bed.osBitness == 64 ? u"SETUP64" : u"SETUP", u"ENG");
    if (installDir.empty() || bed.AddTcpIpPort(port) != 1) return false;
    context = wine_test::DemoContext(bed.osBitness, u"ENG", name);
    context.installDir = installDir;
    context.driverPrefix = u"WDM";
    return bed.Install(context, port) == 1;
  }
};

CASE(UpdateKeepsThePrintingDefaultsSetOnThePrinter) {
  TestBed bed;
  InstalledPrinter printer(bed, u"Wine Update Defaults", u"192.0.2.63");
  REQUIRE(printer.Install());
  std::optional<fixture::DevModeEntry> installed = fixture::ReadDevMode(W(printer.name));
  REQUIRE(installed.has_value());

  // Landscape 60x40 mm labels, as an administrator sets them in the printing defaults.
  REQUIRE_EQ(fixture::SetDevMode(W(printer.name), DMORIENT_LANDSCAPE, 600, 400), 0u);
  std::optional<fixture::DevModeEntry> set = fixture::ReadDevMode(W(printer.name));
  REQUIRE(set.has_value());
  REQUIRE_EQ(set->orientation, static_cast<short>(DMORIENT_LANDSCAPE));
  REQUIRE_EQ(set->paperWidth, static_cast<short>(600));
  REQUIRE_EQ(set->paperLength, static_cast<short>(400));
  CHECK(AfterDeviceName(set->bytes) != AfterDeviceName(installed->bytes));
  std::optional<std::vector<BYTE>> descriptor = fixture::ReadSecurityDescriptor(W(printer.name));
  REQUIRE(descriptor.has_value());

  REQUIRE_EQ(bed.Update(printer.context, printer.port, printer.name), 1);
  std::optional<fixture::DevModeEntry> updated = fixture::ReadDevMode(W(printer.name));
  REQUIRE(updated.has_value());
  CHECK_EQ(AfterDeviceName(updated->bytes), AfterDeviceName(set->bytes));
  CHECK_EQ(updated->orientation, static_cast<short>(DMORIENT_LANDSCAPE));
  // Wine 8 keeps no security descriptor for a printer (GetPrinterW reports none, SetPrinterW
  // ignores one): what is checked is that the update leaves whatever there is.
  std::optional<std::vector<BYTE>> descriptorAfter = fixture::ReadSecurityDescriptor(W(printer.name));
  REQUIRE(descriptorAfter.has_value());
  CHECK_EQ(*descriptorAfter, *descriptor);
}

CASE(ThePrinterRecordCarriesItsDeviceModeThereAndBack) {
  TestBed bed;
  InstalledPrinter printer(bed, u"Wine Record Defaults", u"192.0.2.64");
  REQUIRE(printer.Install());
  Spooler& spooler = bed.Platform().spooler;
  const Opened opened = spooler.Open(printer.name, kPrinterAllAccess);
  REQUIRE(opened);
  ScopedPrinterHandle handle(spooler, opened.handle);

  // Read as GetPrinterW holds it, through both listings.
  Read<PrinterInfo2> record = spooler.Printer(handle.get());
  REQUIRE(record);
  std::optional<fixture::DevModeEntry> stored = fixture::ReadDevMode(W(printer.name));
  REQUIRE(stored.has_value());
  CHECK_EQ(AfterDeviceName(record.value.devMode), AfterDeviceName(stored->bytes));
  Read<std::vector<PrinterInfo2>> listed = spooler.LocalPrinters();
  REQUIRE(listed);
  auto same = std::find_if(listed.value.begin(), listed.value.end(),
                           [&](const PrinterInfo2& p) { return p.printerName == printer.name; });
  REQUIRE(same != listed.value.end());
  CHECK_EQ(AfterDeviceName(same->devMode), AfterDeviceName(stored->bytes));

  // A changed device mode handed to ChangePrinter is the one the printer then has.
  std::vector<std::uint8_t> changed = record.value.devMode;
  REQUIRE(changed.size() >= offsetof(DEVMODEW, dmOrientation) + sizeof(short));
  const short flipped = stored->orientation == DMORIENT_LANDSCAPE ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
  changed[offsetof(DEVMODEW, dmOrientation)] = static_cast<std::uint8_t>(flipped);
  changed[offsetof(DEVMODEW, dmOrientation) + 1] = 0;
  record.value.devMode = changed;
  REQUIRE(spooler.ChangePrinter(handle.get(), record.value));
  std::optional<fixture::DevModeEntry> after = fixture::ReadDevMode(W(printer.name));
  REQUIRE(after.has_value());
  CHECK_EQ(after->orientation, flipped);
  CHECK_EQ(AfterDeviceName(after->bytes), AfterDeviceName(changed));
}

}  // namespace
