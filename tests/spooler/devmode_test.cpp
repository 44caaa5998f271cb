#include "spooler/devmode.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A driver's DEVMODE: the public part and a private part of 16 bytes, A4 portrait.
std::vector<std::uint8_t> DriverDevMode() {
  std::vector<std::uint8_t> devMode(kDevModePublicSize + 16, 0);
  devMode[68] = static_cast<std::uint8_t>(kDevModePublicSize);  // dmSize
  devMode[70] = 16;                                             // dmDriverExtra
  devMode[72] = kDmOrientation | kDmPaperSize;                  // dmFields
  devMode[76] = 1;                                              // portrait
  devMode[78] = 9;                                              // DMPAPER_A4
  devMode[kDevModePublicSize] = 0xAB;                           // the driver's own part
  return devMode;
}

TEST(DevModeKeys, EachKeyTakesWhatItAllows) {
  struct Case {
    std::vector<PrinterDataEntry> entries;
    const char16_t* refusedKey;  // null: taken
  } cases[] = {
      {{{u"PaperWidth", u"60"}, {u"PaperLength", u"40"}}, nullptr},
      {{{u"paperwidth", u"101.6"}, {u"PAPERLENGTH", u"1.0"}}, nullptr},
      {{{u"PaperWidth", u"0.9"}, {u"PaperLength", u"40"}}, u"PaperWidth"},
      {{{u"PaperWidth", u"60.25"}, {u"PaperLength", u"40"}}, u"PaperWidth"},
      {{{u"PaperWidth", u"3276.8"}, {u"PaperLength", u"40"}}, u"PaperWidth"},
      {{{u"PaperWidth", u"60"}}, u"PaperLength"},
      {{{u"PaperLength", u"60"}}, u"PaperWidth"},
      {{{u"PaperSize", u"9"}, {u"PaperWidth", u"60"}, {u"PaperLength", u"40"}}, u"PaperSize"},
      {{{u"PaperSize", u"9"}}, nullptr},
      {{{u"PaperSize", u"A4"}}, u"PaperSize"},
      {{{u"Orientation", u"landscape"}}, nullptr},
      {{{u"Orientation", u"Sideways"}}, u"Orientation"},
      {{{u"Copies", u"9999"}}, nullptr},
      {{{u"Copies", u"0"}}, u"Copies"},
      {{{u"Copies", u"10000"}}, u"Copies"},
      {{{u"PrintQuality", u"203"}}, nullptr},
      {{{u"PrintQuality", u"9601"}}, u"PrintQuality"},
      {{{u"File", u""}}, u"File"},
      {{{u"Colour", u"1"}}, u"Colour"},
  };
  for (const Case& c : cases) {
    const ParsedDevMode parsed = ParseDevModeSettings(c.entries);
    ASSERT_EQ(c.refusedKey != nullptr, parsed.refusal.has_value()) << std::string(c.entries[0].key.begin(), c.entries[0].key.end());
    if (c.refusedKey) {
      EXPECT_EQ(c.refusedKey, parsed.refusal->key);
    }
  }
  EXPECT_EQ(std::optional<std::int16_t>(1016), ParseMillimetres(u"101.6"));
  EXPECT_EQ(u"60.0 mm", MillimetreText(600));
}

TEST(DevMode, ConfiguredFieldsAreSetWithTheirBitsAndReadBack) {
  const ParsedDevMode parsed =
      ParseDevModeSettings({{u"PaperWidth", u"60"}, {u"PaperLength", u"40"}, {u"Orientation", u"Landscape"}});
  std::vector<std::uint8_t> devMode = DriverDevMode();
  ApplyDevModeSettings(parsed.settings, devMode);
  for (const DevModeField& field : CompareDevMode(parsed.settings, devMode)) EXPECT_TRUE(field.Same()) << std::string(field.name.begin(), field.name.end());
  EXPECT_EQ(0, devMode[78]);  // a size of its own
  EXPECT_EQ(0xAB, devMode[kDevModePublicSize]) << "the driver's part is kept";
  const DevModeSettings back = PublicSettingsOf(devMode);
  EXPECT_EQ(parsed.settings.paperWidth, back.paperWidth);
  EXPECT_EQ(parsed.settings.orientation, back.orientation);

  // A driver that keeps its own width: the comparison says what it kept.
  devMode[82] = 0x34;
  devMode[83] = 0x08;  // 2100 tenths
  const std::vector<DevModeField> fields = CompareDevMode(parsed.settings, devMode);
  EXPECT_EQ(u"60.0 mm", fields[0].wanted);
  EXPECT_EQ(u"210.0 mm", fields[0].found);
}

TEST(DefaultsFile, RoundTripAndEachMalformedFileRefused) {
  const std::vector<std::uint8_t> devMode = DriverDevMode();
  const std::vector<std::uint8_t> bytes = DefaultsFileBytes(u"LBLENG", devMode);
  const DefaultsFile read = ReadDefaultsFile(bytes);
  ASSERT_FALSE(read.fault);
  EXPECT_EQ(u"LBLENG", read.driverName);
  EXPECT_EQ(devMode, read.devMode);

  struct Case {
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> spoil;
  } cases[] = {
      {"empty", [](std::vector<std::uint8_t>& b) { b.clear(); }},
      {"another magic", [](std::vector<std::uint8_t>& b) { b[0] = 'X'; }},
      {"another version", [](std::vector<std::uint8_t>& b) { b[4] = 2; }},
      {"cut short", [](std::vector<std::uint8_t>& b) { b.resize(b.size() - 1); }},
      {"a byte too many", [](std::vector<std::uint8_t>& b) { b.push_back(0); }},
      {"no driver name", [](std::vector<std::uint8_t>& b) { b[6] = 0; }},
      {"dmSize below the public part", [](std::vector<std::uint8_t>& b) { b[8 + 12 + 4 + 68] = 40; }},
      {"dmDriverExtra past the end", [](std::vector<std::uint8_t>& b) { b[8 + 12 + 4 + 70] = 200; }},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> spoilt = bytes;
    c.spoil(spoilt);
    EXPECT_TRUE(ReadDefaultsFile(spoilt).fault.has_value()) << c.name;
  }
}

}  // namespace
