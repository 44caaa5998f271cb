// InstallPrinter against Wine's spooler: the package staged in the driver directory of the
// driver's environment, the driver registered with its dependent files, the printer on its port
// with every DATA value, and the numbered name on a second install.
#include <algorithm>

#include "test_bed.h"

namespace {

using wine_test::BaseName;

const char16_t kDataEntries[] = u"PaperName=Label 60x40\0Darkness=8\0x=y=z\0k=\0NoEquals\0";

const wchar_t* Environment(int osBitness) { return osBitness == 64 ? L"Windows x64" : L"Windows NT x86"; }

// A printer of this name on a fresh Standard TCP/IP port, both removed before and after.
struct InstallScene {
  TestBed bed;
  std::u16string base;
  std::u16string port;
  CleanUp cleanUp;
  InstallScene(std::u16string baseName, std::u16string portName)
      : base(std::move(baseName)), port(std::move(portName)), cleanUp([this] {
          wine_test::DeletePrinters(base);
          wine_test::DeleteTcpIpPort(port);
        }) {
    REQUIRE_EQ(bed.AddTcpIpPort(port), 1);
  }
};

void InstallsDriverPrinterAndData(const std::u16string& language) {
  InstallScene scene(u"Wine Label " + language, u"192.0.2.31");
  TestBed& bed = scene.bed;
  const std::u16string driver = u"LBL" + language;
  InstallContext context = wine_test::DemoContext(bed.osBitness, language, scene.base);
  context.printerData = ParsePrinterData(std::u16string_view(kDataEntries, sizeof(kDataEntries) / sizeof(char16_t)));

  REQUIRE_EQ(bed.Install(context, scene.port), 1);

  REQUIRE_EQ(bed.Boxes().size(), 1u);
  CHECK_EQ(bed.Boxes()[0].text, u"Add Printer Successful - " + scene.base);
  CHECK_EQ(bed.Boxes()[0].caption, std::optional<std::u16string>(u"OK"));

  // Staged in the directory of the driver's own environment, from the width's package.
  const std::u16string sourceDir = context.installDir + u"\\" + context.setupDirName + u"\\" + language;
  const std::u16string driverDir = wine_test::DriverDirectory(Environment(bed.osBitness));
  const std::u16string files[] = {driver + u".GPD",      u"LBLUI" + language + u".DLL", driver + u".INI",
                                  u"LBLUNI" + language + u".DLL", u"LBLRC" + language + u".DLL", u"UNIDRV.DLL",
                                  u"UNIDRVUI.DLL",       u"UNIDRV.HLP",                 u"UNIRES.DLL",
                                  u"STDNAMES.GPD",       u"TTFSUB.GPD"};
  for (const std::u16string& file : files) {
    if (!bed.Traced(u"Copy " + file + u" From " + sourceDir + u" To " + driverDir + u" Result 0x00000000\r\n")) {
      wcheck::Fail(__FILE__, __LINE__, "no clean copy line for " + wcheck::Show(file));
    }
    std::optional<std::vector<std::uint8_t>> source = wine_test::FileBytes(sourceDir + u"\\" + file);
    REQUIRE(source.has_value());
    CHECK_BYTES(wine_test::FileBytes(driverDir + u"\\" + file), *source);
  }
  CHECK(wine_test::FileBytes(wine_test::SystemDirectory() + u"\\srclient.dll").has_value());

  std::optional<fixture::DriverEntry> registered = wine_test::FindDriver(Environment(bed.osBitness), driver);
  REQUIRE(registered.has_value());
  CHECK_EQ(registered->environment, std::wstring(Environment(bed.osBitness)));
  const wchar_t* versionDir = bed.osBitness == 64 ? L"\\x64\\3\\" : L"\\w32x86\\3\\";
  CHECK(registered->driverPath.find(versionDir) != std::wstring::npos);
  CHECK_EQ(BaseName(registered->driverPath), u"UNIDRV.DLL");
  CHECK_EQ(BaseName(registered->dataFile), driver + u".GPD");
  CHECK_EQ(BaseName(registered->configFile), u"UNIDRVUI.DLL");
  CHECK_EQ(BaseName(registered->helpFile), u"UNIDRV.HLP");
  CHECK_EQ(registered->defaultDataType, std::wstring(L"Raw"));
  std::vector<std::u16string> dependent;
  for (const std::wstring& file : registered->dependentFiles) dependent.push_back(BaseName(file));
  const std::vector<std::u16string> expectedDependent = {
      u"UNIDRV.DLL",     u"UNIDRVUI.DLL",     u"UNIDRV.HLP",
      u"UNIRES.DLL",     u"STDNAMES.GPD",     u"TTFSUB.GPD",
      driver + u".GPD",  u"LBLRC" + language + u".DLL", u"LBLUI" + language + u".DLL",
      driver + u".INI",  u"LBLUNI" + language + u".DLL"};
  CHECK_EQ(dependent, expectedDependent);

  std::optional<fixture::PrinterEntry> printer = wine_test::FindPrinter(scene.base);
  REQUIRE(printer.has_value());
  CHECK_EQ(printer->port, std::wstring(W(scene.port)));
  CHECK_EQ(printer->driver, std::wstring(W(driver)));
  // Wine's AddPrinterW takes any port name: the port must be in the spooler's own list.
  std::optional<fixture::PortEntry> port = wine_test::FindPort(scene.port);
  REQUIRE(port.has_value());
  CHECK_EQ(port->monitor, std::wstring(L"Standard TCP/IP Port"));

  std::vector<std::pair<std::wstring, std::wstring>> data;
  for (const fixture::PrinterDataEntry& entry : fixture::ListPrinterData(printer->name)) {
    CHECK_EQ(entry.type, static_cast<DWORD>(REG_SZ));
    data.emplace_back(entry.key, entry.text);
  }
  std::sort(data.begin(), data.end());
  const std::vector<std::pair<std::wstring, std::wstring>> expectedData = {
      {L"Darkness", L"8"}, {L"PaperName", L"Label 60x40"}, {L"k", L""}, {L"x", L"y=z"}};
  CHECK_EQ(data, expectedData);
}

CASE(InstallPrinterEnglishRegistersDriverAndAddsPrinterWithData) { InstallsDriverPrinterAndData(u"ENG"); }
CASE(InstallPrinterChineseRegistersDriverAndAddsPrinterWithData) { InstallsDriverPrinterAndData(u"CHN"); }

CASE(InstallPrinterTwiceTakesTheNextNumberedName) {
  InstallScene scene(u"Wine Label Twice", u"192.0.2.32");
  TestBed& bed = scene.bed;
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", scene.base);
  REQUIRE_EQ(bed.Install(context, scene.port), 1);
  REQUIRE_EQ(bed.Install(context, scene.port), 1);

  REQUIRE_EQ(bed.Boxes().size(), 2u);
  CHECK_EQ(bed.Boxes()[1].text, u"Add Printer Successful - " + scene.base + u"(2)");
  CHECK(wine_test::FindPrinter(scene.base).has_value());
  std::optional<fixture::PrinterEntry> second = wine_test::FindPrinter(scene.base + u"(2)");
  REQUIRE(second.has_value());
  CHECK_EQ(second->port, std::wstring(W(scene.port)));
  CHECK_EQ(second->driver, std::wstring(L"LBLENG"));
}

// The spooler holds printer names without regard to letter case: a printer named in another
// case takes the name. Windows refuses it in AddPrinterW after the port and driver were made
// (Wine 8 lets it through); the install goes to the next number.
CASE(InstallPrinterTakesTheNextNumberWhenTheNameIsTakenInAnotherCase) {
  InstallScene scene(u"Wine Label Case", u"192.0.2.33");
  TestBed& bed = scene.bed;
  InstallContext context = wine_test::DemoContext(bed.osBitness, u"ENG", u"wine LABEL case");
  REQUIRE_EQ(bed.Install(context, scene.port), 1);
  REQUIRE(wine_test::FindPrinter(u"wine LABEL case").has_value());

  context.printerBaseName = scene.base;
  REQUIRE_EQ(bed.Install(context, scene.port), 1);
  REQUIRE_EQ(bed.Boxes().size(), 2u);
  CHECK_EQ(bed.Boxes()[1].text, u"Add Printer Successful - " + scene.base + u"(2)");
  std::optional<fixture::PrinterEntry> second = wine_test::FindPrinter(scene.base + u"(2)");
  REQUIRE(second.has_value());
  CHECK_EQ(second->port, std::wstring(W(scene.port)));
  CHECK(wine_test::FindPrinter(u"wine LABEL case").has_value());
}

}  // namespace
