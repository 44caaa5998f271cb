#include "config/config_file.h"

#include <gtest/gtest.h>

#include <functional>

#include "config/fake_file_probe.h"

namespace {

const std::u16string kConfig = u"C:\\Setup\\config.ini";
const std::u16string kProgram = u"C:\\Setup\\PrinterSetup.exe";

TEST(CheckConfigFile, NamesTheFileAndTheErrorWhenItCannotBeRead) {
  using K = FileOpening::Kind;
  struct Case {
    const char* what;
    FileOpening opening;
    bool named;
    std::u16string call;  // empty: ok
    std::uint32_t code;
  } cases[] = {
      {"a file", {K::DiskFile, 0}, true, u"", 0},
      {"a file by default", {K::DiskFile, 0}, false, u"", 0},
      {"missing, named", {K::Missing, 2}, true, u"Config File Not Found: " + kConfig, 2},
      {"missing folder, named", {K::Missing, 3}, true, u"Config File Not Found: " + kConfig, 2},
      {"missing by default: the defaults", {K::Missing, 2}, false, u"", 0},
      {"a folder", {K::Folder, 5}, true, u"Cannot Read Config File: " + kConfig, 336},
      {"a folder by default", {K::Folder, 5}, false, u"Cannot Read Config File: " + kConfig, 336},
      {"a device", {K::Device, 0}, true, u"Cannot Read Config File: " + kConfig, 50},
      {"locked", {K::Failed, 32}, false, u"Cannot Read Config File: " + kConfig, 32},
      {"denied", {K::Failed, 5}, true, u"Cannot Read Config File: " + kConfig, 5},
  };
  for (const Case& c : cases) {
    FakeFileProbe probe;
    probe.openings[kConfig] = c.opening;
    const Outcome outcome = CheckConfigFile(probe, kConfig, c.named);
    EXPECT_EQ(c.call, outcome.call) << c.what;
    EXPECT_EQ(c.code, outcome.code) << c.what;
    EXPECT_FALSE(outcome.plain) << c.what;
  }
}

TEST(CheckConfigFile, ADeviceNameIsRefusedWithoutOpeningIt) {
  for (const char16_t* device : {u"C:\\Setup\\CON", u"C:\\Setup\\nul", u"C:\\Setup\\COM1", u"C:\\Setup\\lpt9.ini"}) {
    FakeFileProbe probe;
    probe.AddFile(device, 1);  // even where the system would open it as a file
    const Outcome outcome = CheckConfigFile(probe, device, true);
    EXPECT_EQ(u"Cannot Read Config File: " + std::u16string(device), outcome.call);
    EXPECT_EQ(50u, outcome.code);
  }
}

TEST(NamesDosDevice, TheReservedNamesInAnyForm) {
  struct Case {
    const char16_t* path;
    bool device;
  } cases[] = {
      {u"CON", true},           {u"C:\\x\\con", true},     {u"C:\\x\\NUL.txt", true}, {u"C:\\x\\Nul ", true},
      {u"COM1", true},          {u"C:\\x\\com9", true},    {u"C:\\x\\LPT3", true},    {u"C:/x/aux", true},
      {u"C:\\x\\PRN.ini", true}, {u"C:\\x\\CONOUT$", true}, {u"C:\\x\\conin$", true}, {u"C:NUL", true},
      {u"C:\\x\\config.ini", false}, {u"C:\\x\\COM10", false}, {u"C:\\x\\COM", false},
      {u"C:\\x\\CONSOLE", false}, {u"C:\\CON\\config.ini", false}, {u"C:\\x\\LPTX", false},
      {u"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.device, NamesDosDevice(c.path)) << std::u16string(c.path).size();
}

TEST(LogTargetRefusal, RefusesEverySpellingOfTheConfigurationAndTheProgram) {
  struct Case {
    const char* what;
    std::u16string log;
    std::function<void(FakeFileProbe&)> arrange;
    std::optional<std::u16string> refusal;
  } cases[] = {
      {"another file", u"C:\\Logs\\install.log", [](FakeFileProbe&) {}, std::nullopt},
      {"an existing other file", u"C:\\Logs\\install.log",
       [](FakeFileProbe& p) { p.AddFile(u"C:\\Logs\\install.log", 3); }, std::nullopt},
      {"the configuration", kConfig, [](FakeFileProbe&) {}, u"/log names the configuration file: " + kConfig},
      {"the configuration in other letters", u"c:\\setup\\CONFIG.INI", [](FakeFileProbe&) {},
       u"/log names the configuration file: c:\\setup\\CONFIG.INI"},
      {"the configuration by another path", u"C:\\Setup\\x\\..\\config.ini",
       [](FakeFileProbe& p) { p.fullPaths[u"C:\\Setup\\x\\..\\config.ini"] = kConfig; },
       u"/log names the configuration file: C:\\Setup\\x\\..\\config.ini"},
      {"the configuration by its short name", u"C:\\Setup\\CONFIG~1.INI",
       [](FakeFileProbe& p) { p.AddFile(u"C:\\Setup\\CONFIG~1.INI", 1); },
       u"/log names the configuration file: C:\\Setup\\CONFIG~1.INI"},
      {"the configuration not there yet", kConfig, [](FakeFileProbe& p) { p.identities.clear(); },
       u"/log names the configuration file: " + kConfig},
      {"the program", kProgram, [](FakeFileProbe&) {}, u"/log names the program itself: " + kProgram},
      {"the program by a link", u"D:\\link.exe", [](FakeFileProbe& p) { p.AddFile(u"D:\\link.exe", 2); },
       u"/log names the program itself: D:\\link.exe"},
      {"same index on another volume", u"D:\\other.log",
       [](FakeFileProbe& p) { p.identities[u"D:\\other.log"] = {8, 1}; }, std::nullopt},
  };
  for (const Case& c : cases) {
    FakeFileProbe probe;
    probe.AddFile(kConfig, 1);
    probe.AddFile(kProgram, 2);
    c.arrange(probe);
    EXPECT_EQ(c.refusal, LogTargetRefusal(probe, c.log, kConfig, kProgram)) << c.what;
  }
}

TEST(LogTargetRefusal, AnUnknownProgramPathRefusesNothingMore) {
  FakeFileProbe probe;
  EXPECT_EQ(std::nullopt, LogTargetRefusal(probe, u"C:\\Logs\\x.log", kConfig, u""));
  EXPECT_EQ(std::nullopt, LogTargetRefusal(probe, u"", kConfig, u""));
}

TEST(InstallerFilePath, RelativeNamesLiveInTheInstallerFolder) {
  EXPECT_EQ(u"C:\\Setup\\config.ini", InstallerFilePath(u"C:\\Setup", u"config.ini"));
  EXPECT_EQ(u"C:\\Setup\\logs\\a.log", InstallerFilePath(u"C:\\Setup", u"logs\\a.log"));
  EXPECT_EQ(u"D:\\x.log", InstallerFilePath(u"C:\\Setup", u"D:\\x.log"));
  EXPECT_EQ(u"\\\\srv\\share\\x.log", InstallerFilePath(u"C:\\Setup", u"\\\\srv\\share\\x.log"));
  EXPECT_EQ(259u, InstallerFilePath(u"C:\\Setup", std::u16string(300, u'a')).size());
}

TEST(LogFilePath, ResolvedLikeTheConfigurationOrAsGiven) {
  EXPECT_EQ(u"C:\\Setup\\rel.log", LogFilePath(u"C:\\Setup", u"rel.log"));
  EXPECT_EQ(u"C:\\Setup\\logs\\rel.log", LogFilePath(u"C:\\Setup", u"logs\\rel.log"));
  EXPECT_EQ(u"D:\\x.log", LogFilePath(u"C:\\Setup", u"D:\\x.log"));
  EXPECT_EQ(u"\\\\srv\\logs\\x.log", LogFilePath(u"C:\\Setup", u"\\\\srv\\logs\\x.log"));
  EXPECT_EQ(u"rel.log", LogFilePath(u"", u"rel.log"));  // the folder unknown: not the drive's root
}

}  // namespace
