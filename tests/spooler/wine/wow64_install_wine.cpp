// The 32-bit installer on 64-bit Windows, in a 64-bit Wine prefix: the x64 package is staged in
// the x64 driver directory and registered for "Windows x64". Wine keeps the spooler inside the
// calling process, so its AddPrinterW then looks for the driver in the caller's own x86
// environment and fails; Windows would add the printer.
#include "test_bed.h"

namespace {

WOW64_CASE(Wow64InstallStagesAndRegistersTheX64Package) {
  TestBed bed;
  REQUIRE_EQ(bed.osBitness, 64);
  const std::u16string base = u"Wine Label Wow64";
  const std::u16string x86Dir = wine_test::DriverDirectory(L"Windows NT x86");
  const std::u16string x64Dir = wine_test::DriverDirectory(L"Windows x64");
  const char16_t* files[] = {u"LBLENG.GPD", u"LBLRCENG.DLL", u"UNIDRV.DLL"};
  CleanUp cleanUp([&] {
    wine_test::DeletePrinters(base);
    // A copy left in the x86 directory would hide a package staged there again.
    for (const char16_t* file : files) DeleteFileW(W(x86Dir + u"\\" + file));
  });
  REQUIRE(x64Dir.find(u"\\x64") != std::u16string::npos);

  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", base);
  CHECK_EQ(bed.Install(context, u"LPT1:"), 0);

  const std::u16string sourceDir = context.installDir + u"\\SETUP64\\ENG";
  for (const char16_t* file : files) {
    if (!bed.Traced(u"Copy " + std::u16string(file) + u" From " + sourceDir + u" To " + x64Dir + u" Result 0x00000000")) {
      wcheck::Fail(__FILE__, __LINE__, "no clean copy into the x64 directory for " + wcheck::Show(file));
    }
    std::optional<std::vector<std::uint8_t>> source = wine_test::FileBytes(sourceDir + u"\\" + file);
    REQUIRE(source.has_value());
    CHECK_BYTES(wine_test::FileBytes(x64Dir + u"\\" + file), *source);
    CHECK(!wine_test::FileBytes(x86Dir + u"\\" + file).has_value());
  }

  std::optional<fixture::DriverEntry> driver = wine_test::FindDriver(L"Windows x64", u"LBLENG");
  REQUIRE(driver.has_value());
  CHECK(driver->driverPath.find(L"\\x64\\3\\UNIDRV.DLL") != std::wstring::npos);
  CHECK_EQ(driver->dependentFiles.size(), 11u);
  CHECK(!wine_test::FindDriver(L"Windows NT x86", u"LBLENG").has_value());

  // Wine's limit, not the installer's: ERROR_UNKNOWN_PRINTER_DRIVER in the caller's environment.
  REQUIRE_EQ(bed.Boxes().size(), 1u);
  CHECK_EQ(bed.Boxes()[0].text, u"AddPrinter Failed - ERROR CODE: 1797\r\n");
  CHECK_EQ(bed.Boxes()[0].caption, std::optional<std::u16string>(u"ERROR"));
  CHECK(!wine_test::FindPrinter(base).has_value());
}

}  // namespace
