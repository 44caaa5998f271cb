// An install on a Windows 7 without the loader update (KB2533623), played by hiding
// SetDefaultDllDirectories and its kin from the library loading: winspool.drv and version.dll
// are then loaded by their full path in the system directory, and the install still succeeds.
#include <windows.h>

#include "diag/wine/recording_loader.h"
#include "test_bed.h"

namespace {

CASE(InstallWithoutTheLoaderUpdateLoadsItsLibrariesByFullPath) {
  const std::u16string base = u"Wine Label Old Loader";
  const std::u16string portName = u"192.0.2.51";
  CleanUp cleanUp([&] {
    wine_test::DeletePrinters(base);
    wine_test::DeleteTcpIpPort(portName);
  });
  recording_loader::Scene loader(false);
  TestBed bed;  // loads the libraries here, with the update hidden

  const std::wstring systemDir(W(wine_test::SystemDirectory()));
  std::vector<std::wstring> requested;
  for (const recording_loader::Load& load : recording_loader::loads) {
    CHECK_EQ(load.flags, static_cast<DWORD>(LOAD_WITH_ALTERED_SEARCH_PATH));
    requested.push_back(load.file);
  }
  CHECK_EQ(requested, (std::vector<std::wstring>{systemDir + L"\\winspool.drv", systemDir + L"\\version.dll"}));

  REQUIRE_EQ(bed.AddTcpIpPort(portName), 1);
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", base);
  REQUIRE_EQ(bed.Install(context, portName), 1);
  REQUIRE_EQ(bed.Boxes().size(), 1u);
  CHECK_EQ(bed.Boxes()[0].text, u"Add Printer Successful - " + base);
  std::optional<fixture::PrinterEntry> printer = wine_test::FindPrinter(base);
  REQUIRE(printer.has_value());
  CHECK_EQ(printer->driver, std::wstring(L"LBLENG"));
  CHECK_EQ(printer->port, std::wstring(W(portName)));
}

}  // namespace
