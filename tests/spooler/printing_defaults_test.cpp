#include "spooler/printing_defaults.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "app/road_context.h"
#include "spooler/fake_print_services.h"

namespace {

const std::u16string kAddress = u"10.1.2.3";

// A printer of the LBL package whose driver answers DocumentPropertiesW as UNIDRV would.
struct Bed {
  Bed() : context(RoadTestContext()) {
    AddDriverPackage(fake.files, context);
    fake.spooler.AddTcpIpMonitor();
    fake.spooler.AddPort(kAddress, kTcpIpMonitorName);
    fake.spooler.driverUis[u"LBLENG"] = FakeDriverUi{};
    EXPECT_TRUE(InstallPrinter(context, fake.platform, kAddress).ok());
  }
  LoadedDefaults Load(std::vector<PrinterDataEntry> entries) {
    context.devModeEntries = std::move(entries);
    return LoadPrintingDefaults(context, fake.platform, u"LBLENG");
  }
  Outcome Apply(std::vector<PrinterDataEntry> entries) {
    const LoadedDefaults loaded = Load(std::move(entries));
    EXPECT_TRUE(loaded.refusal.ok());
    return ApplyPrintingDefaults(loaded.defaults, fake.platform, u"Label Printer");
  }
  FakePrinter& Printer() { return *fake.spooler.FindPrinter(u"Label Printer"); }
  InstallContext context;
  FakePrintPlatform fake;
};

TEST(PrintingDefaults, TheQueueHoldsWhatWasConfiguredAndOnlyLevel8CarriesIt) {
  Bed bed;
  bed.fake.log.calls.clear();
  EXPECT_TRUE(bed.Apply({{u"PaperWidth", u"60"}, {u"PaperLength", u"40"}, {u"Orientation", u"Landscape"}}).ok());
  const DevModeSettings stored = PublicSettingsOf(bed.Printer().globalDevMode);
  EXPECT_EQ(std::optional<std::int16_t>(600), stored.paperWidth);
  EXPECT_EQ(std::optional<std::int16_t>(400), stored.paperLength);
  EXPECT_EQ(std::optional<std::int16_t>(2), stored.orientation);
  for (const std::string& call : bed.fake.log.Named("SetPrinterW")) {
    EXPECT_NE(std::string::npos, call.find(", 8, ")) << "a DEVMODE goes by level 8 only: " << call;
  }
  const std::vector<std::u16string> traces = bed.fake.Traces();
  EXPECT_NE(traces.end(), std::find(traces.begin(), traces.end(), u"Default PaperWidth 60.0 mm -> 60.0 mm"));
}

TEST(PrintingDefaults, WhatTheDriverDoesNotTakeFailsAndNamesBothValues) {
  struct Case {
    const char* name;
    std::function<void(Bed&)> arrange;
    std::vector<PrinterDataEntry> entries;
    std::u16string call;
  } cases[] = {
      {"a size past the driver's range", [](Bed&) {}, {{u"PaperWidth", u"400"}, {u"PaperLength", u"40"}},
       u"Printing defaults not accepted: PaperWidth 400.0 mm wanted, the driver keeps 210.0 mm"},
      {"a driver without its UI", [](Bed& b) { b.fake.spooler.driverUis.clear(); }, {{u"Copies", u"2"}},
       u"DocumentProperties Failed"},
      {"the queue refusing the DEVMODE", [](Bed& b) { b.fake.spooler.Fail("SetPrinterW", 5); }, {{u"Copies", u"2"}},
       u"SetPrinter Failed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bed bed;
    c.arrange(bed);
    EXPECT_EQ(c.call, bed.Apply(c.entries).call);
  }
}

TEST(PrintingDefaults, SavedDefaultsCarryToAnotherPrinterAndOnlyToItsDriver) {
  Bed reference;
  ASSERT_TRUE(reference.Apply({{u"PaperWidth", u"101.6"}, {u"PaperLength", u"50"}, {u"Copies", u"3"}}).ok());
  const std::u16string saved = u"C:\\setup\\label.psdm";
  ASSERT_TRUE(SavePrintingDefaults(reference.fake.platform, u"Label Printer", saved).ok());
  const std::vector<std::uint8_t> file = reference.fake.files.Bytes(saved);

  Bed other;
  other.fake.files.AddFile(u"C:\\setup\\label.psdm", file);
  EXPECT_TRUE(other.Apply({{u"File", u"label.psdm"}}).ok());
  const DevModeSettings stored = PublicSettingsOf(other.Printer().globalDevMode);
  EXPECT_EQ(std::optional<std::int16_t>(1016), stored.paperWidth);
  EXPECT_EQ(std::optional<std::int16_t>(3), stored.copies);

  const std::pair<std::vector<std::uint8_t>, std::u16string> refused[] = {
      {DefaultsFileBytes(u"OTHERENG", ReadDefaultsFile(file).devMode),
       u"config.ini: [DEVMODE] File C:\\setup\\label.psdm was saved from the driver OTHERENG, not LBLENG."},
      {std::vector<std::uint8_t>(file.begin(), file.end() - 1),
       u"config.ini: [DEVMODE] File C:\\setup\\label.psdm cannot be used: its DEVMODE size disagrees with the file's length."},
  };
  for (const auto& [bytes, text] : refused) {
    other.fake.files.AddFile(u"C:\\setup\\label.psdm", bytes);
    EXPECT_EQ(text, other.Load({{u"File", u"label.psdm"}}).refusal.call);
  }
  EXPECT_EQ(u"config.ini: [DEVMODE] File C:\\setup\\gone.psdm cannot be read", other.Load({{u"File", u"gone.psdm"}}).refusal.call);
}

TEST(PrintingDefaults, NoPrinterOrNoDefaultsSavesNothing) {
  Bed bed;
  EXPECT_EQ(u"The printer Label Printer has no printing defaults to save.",
            SavePrintingDefaults(bed.fake.platform, u"Label Printer", u"C:\\x.psdm").call);
  EXPECT_FALSE(bed.fake.files.Exists(u"C:\\x.psdm"));
  EXPECT_FALSE(SavePrintingDefaults(bed.fake.platform, u"Nobody", u"C:\\x.psdm").ok());
}

}  // namespace
