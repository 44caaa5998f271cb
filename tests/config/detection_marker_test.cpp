// The detection marker in the fake registry: the values a finished install leaves, and which keys
// are left after a printer's marker goes.
#include "config/detection_marker.h"

#include <gtest/gtest.h>

#include "config/fake_registry.h"

namespace {

const std::u16string kKey = u"SOFTWARE\\PrinterSetup\\Printers\\Label Printer";

DetectionMarker Marker(const std::u16string& printer = u"Label Printer") {
  DetectionMarker marker;
  marker.printerName = printer;
  marker.version = u"1.2.3";
  marker.driverName = u"LBLENG";
  marker.portName = u"10.0.0.5";
  marker.configPath = u"C:\\Deploy\\PrinterSetup\\config.ini";
  marker.installedAt = {2026, 12, 8, 21, 42, 9, 517};
  marker.madePorts = {u"10.0.0.5"};
  return marker;
}

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

TEST(DetectionMarker, IsoLocalTimeHasEveryFieldAtItsWidth) {
  struct Case {
    LocalTime time;
    std::u16string text;
  } cases[] = {
      {{2026, 12, 8, 21, 42, 9, 517}, u"2026-12-08T21:42:09"},
      {{2027, 1, 2, 3, 4, 5, 0}, u"2027-01-02T03:04:05"},
      {{999, 10, 31, 0, 0, 0, 999}, u"0999-10-31T00:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(IsoLocalTime(c.time), c.text);
}

TEST(DetectionMarker, WritesEveryValueUnderThePrintersKey) {
  FakeRegistry registry;
  ASSERT_TRUE(WriteDetectionMarker(registry, Marker()));
  const std::pair<std::u16string, std::u16string> values[] = {
      {u"Version", u"1.2.3"},
      {u"Driver", u"LBLENG"},
      {u"Port", u"10.0.0.5"},
      {u"Config", u"C:\\Deploy\\PrinterSetup\\config.ini"},
      {u"InstalledAt", u"2026-12-08T21:42:09"},
  };
  for (const auto& [name, text] : values) {
    SCOPED_TRACE(Narrow(name));
    EXPECT_EQ(registry.Text(kKey, name), text);
  }
  EXPECT_EQ(registry.Texts(kKey, u"Ports"), std::vector<std::u16string>{u"10.0.0.5"});
  EXPECT_EQ(registry.ValueNames(kKey).size(), std::size(values) + 1);
  EXPECT_EQ(registry.Keys(), (std::vector<std::u16string>{u"SOFTWARE", u"SOFTWARE\\PrinterSetup",
                                                          u"SOFTWARE\\PrinterSetup\\Printers", kKey}));
}

TEST(DetectionMarker, ARunAgainReplacesTheValuesAndLeavesOtherPrinters) {
  FakeRegistry registry;
  ASSERT_TRUE(WriteDetectionMarker(registry, Marker()));
  ASSERT_TRUE(WriteDetectionMarker(registry, Marker(u"Label Printer(2)")));
  DetectionMarker again = Marker(u"LABEL PRINTER");  // the same printer, as the spooler compares names
  again.version = u"1.3.0";
  again.portName = u"10.0.0.9";
  ASSERT_TRUE(WriteDetectionMarker(registry, again));
  EXPECT_EQ(registry.Text(kKey, u"Version"), u"1.3.0");
  EXPECT_EQ(registry.Text(kKey, u"Port"), u"10.0.0.9");
  EXPECT_EQ(registry.Text(MarkerKey(u"Label Printer(2)"), u"Version"), u"1.2.3");
}

TEST(DetectionMarker, AFailedWriteGivesItsCodeAndNeverThisVersion) {
  struct Case {
    const char* what;
    int failingCall;  // 0: every call
    bool keyMade;
  } cases[] = {
      {"the first value", 1, false},
      {"a later value", 3, true},
      {"the version, written last", 5, true},  // after the four REG_SZ values and Ports
      {"every value", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry registry;
    registry.Fail("SetString", kRegistryAccessDenied, c.failingCall);
    const Status written = WriteDetectionMarker(registry, Marker());
    EXPECT_FALSE(written);
    EXPECT_EQ(written.code, kRegistryAccessDenied);
    EXPECT_EQ(registry.HasKey(kKey), c.keyMade);
    EXPECT_EQ(registry.Text(kKey, u"Version"), std::nullopt);
  }
}

TEST(DetectionMarker, RemovalTakesTheKeysAboveItWhenNothingIsLeftInThem) {
  struct Case {
    const char* what;
    std::vector<std::u16string> otherPrinters;
    bool rootHoldsAValue;
    bool printersKeyLeft;
    bool rootLeft;
  } cases[] = {
      {"its own marker only", {}, false, false, false},
      {"another printer's marker", {u"Label Printer(2)"}, false, true, true},
      {"a value beside Printers", {}, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeRegistry registry;
    ASSERT_TRUE(WriteDetectionMarker(registry, Marker()));
    for (const std::u16string& other : c.otherPrinters) {
      ASSERT_TRUE(WriteDetectionMarker(registry, Marker(other)));
    }
    if (c.rootHoldsAValue) {
      ASSERT_TRUE(registry.SetString(kMarkerRootKey, u"Note", u"kept"));
    }
    EXPECT_TRUE(RemoveDetectionMarker(registry, u"label printer"));
    EXPECT_FALSE(registry.HasKey(kKey));
    EXPECT_EQ(registry.HasKey(kMarkerPrintersKey), c.printersKeyLeft);
    EXPECT_EQ(registry.HasKey(kMarkerRootKey), c.rootLeft);
    for (const std::u16string& other : c.otherPrinters) EXPECT_TRUE(registry.HasKey(MarkerKey(other)));
    EXPECT_TRUE(registry.HasKey(u"SOFTWARE"));
  }
}

TEST(DetectionMarker, AMarkerAlreadyGoneCountsAsRemovedAndEmptyKeysAreTidied) {
  FakeRegistry registry;
  ASSERT_TRUE(WriteDetectionMarker(registry, Marker()));
  ASSERT_TRUE(registry.DeleteKey(kKey));
  EXPECT_TRUE(RemoveDetectionMarker(registry, u"Label Printer"));
  EXPECT_FALSE(registry.HasKey(kMarkerRootKey));
  // Nothing at all: still removed.
  EXPECT_TRUE(RemoveDetectionMarker(registry, u"Label Printer"));
}

TEST(DetectionMarker, ARemovalThatFailsKeepsTheMarkerAndGivesTheCode) {
  FakeRegistry registry;
  ASSERT_TRUE(WriteDetectionMarker(registry, Marker()));
  registry.Fail("DeleteKey", kRegistryAccessDenied);
  const Status removed = RemoveDetectionMarker(registry, u"Label Printer");
  EXPECT_FALSE(removed);
  EXPECT_EQ(removed.code, kRegistryAccessDenied);
  EXPECT_EQ(registry.Text(kKey, u"Version"), u"1.2.3");
  // The keys above it cannot be read: they stay, and the marker's own status is what counts.
  registry.Clear("DeleteKey");
  registry.Fail("Counts", kRegistryAccessDenied);
  EXPECT_TRUE(RemoveDetectionMarker(registry, u"Label Printer"));
  EXPECT_TRUE(registry.HasKey(kMarkerRootKey));
}

}  // namespace
