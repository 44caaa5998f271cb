// Updating a printer in place against Wine's spooler: the printer found by its name in another
// letter case keeps that name, moves to the new port, takes the changed package (an optional
// file added, the GPD changed) and the new DATA values.
#include <algorithm>

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

}  // namespace
