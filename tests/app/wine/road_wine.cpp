// The serial and parallel roads, which the shipped connection-type page cannot reach, run
// directly against Wine's spooler: the port's own dialog first on the serial road, then the
// printer on the chosen port.
#include "app/install_road.h"
#include "diag/win32/wide.h"
#include "spooler/wine/test_bed.h"

namespace {

struct RoadScene {
  TestBed bed;
  std::u16string base;
  CleanUp cleanUp;
  explicit RoadScene(std::u16string baseName)
      : base(std::move(baseName)), cleanUp([this] { wine_test::DeletePrinters(base); }) {}
};

void InstallsOnTheChosenPort(WizardPage page, const std::u16string& port, const std::u16string& base) {
  RoadScene scene(base);
  InstallContext context = wine_test::DemoContext(scene.bed.osBitness, u"ENG", scene.base);
  CHECK(RunInstallRoad(page, port, 0, context, scene.bed.Platform()) == RoadEnd::Installed);
  std::optional<fixture::PrinterEntry> printer = wine_test::FindPrinter(scene.base);
  REQUIRE(printer.has_value());
  CHECK(wine_test::SameTextIgnoringCase(U16(printer->port.c_str()), port));
  REQUIRE_EQ(scene.bed.Boxes().size(), 1u);
  CHECK_EQ(scene.bed.Boxes()[0].text, u"Add Printer Successful - " + scene.base);
  // The serial port's configuration dialog, if Wine shows one, is closed behind the case.
  wine_test::TakeStrayBoxes();
}

CASE(SerialRoadInstallsOnTheComPort) { InstallsOnTheChosenPort(WizardPage::Serial, u"COM2:", u"Road Serial"); }

CASE(ParallelRoadInstallsOnTheLptPort) { InstallsOnTheChosenPort(WizardPage::Parallel, u"LPT1:", u"Road Parallel"); }

}  // namespace
