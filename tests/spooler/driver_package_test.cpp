// The package check before any change: every file the driver's registration names is there and
// can be read; the optional files only when the package has them.
#include <gtest/gtest.h>

#include "fake_print_services.h"
#include "spooler/driver_package.h"

namespace {

const std::u16string kSource = u"C:\\Setup\\SETUP64\\ENG";

InstallContext PackageContext() {
  InstallContext context;
  context.installDir = u"C:\\Setup";
  context.setupDirName = u"SETUP64";
  context.languageCode = u"ENG";
  context.driverPrefix = u"LBL";
  return context;
}

std::u16string Incomplete(const std::u16string& files) {
  return u"Driver package incomplete: SETUP64\\ENG lacks " + files + u". Nothing was changed.";
}

TEST(CheckDriverPackage, NamesEveryFileTheRegistrationWouldLack) {
  struct Case {
    const char* what;
    std::function<void(FakeFileSystem&)> arrange;
    std::u16string text;  // empty: complete
    std::uint32_t code;
  } cases[] = {
      {"complete", [](FakeFileSystem&) {}, u"", 0},
      {"without the optional files", [](FakeFileSystem& f) {
         for (const char16_t* name : {u"\\LBLENG.INI", u"\\LBLUIENG.DLL", u"\\LBLUNIENG.DLL"}) f.RemoveFile(kSource + name);
       }, u"", 0},
      {"the GPD missing", [](FakeFileSystem& f) { f.RemoveFile(kSource + u"\\LBLENG.GPD"); }, Incomplete(u"LBLENG.GPD"), 2},
      {"the RC DLL and a UNIDRV file missing",
       [](FakeFileSystem& f) {
         f.RemoveFile(kSource + u"\\TTFSUB.GPD");
         f.RemoveFile(kSource + u"\\LBLRCENG.DLL");
       },
       Incomplete(u"LBLRCENG.DLL, TTFSUB.GPD"), 2},
      {"a required file unreadable", [](FakeFileSystem& f) { f.MakeUnreadable(kSource + u"\\UNIDRV.DLL"); },
       Incomplete(u"UNIDRV.DLL"), 5},
      {"an optional file there but unreadable", [](FakeFileSystem& f) { f.MakeUnreadable(kSource + u"\\LBLUIENG.DLL"); },
       Incomplete(u"LBLUIENG.DLL"), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePrintPlatform fake{64};
    const InstallContext context = PackageContext();
    AddDriverPackage(fake.files, context);
    c.arrange(fake.files);
    const Outcome outcome = CheckDriverPackage(context, fake.platform);
    EXPECT_EQ(outcome.call, c.text);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_FALSE(outcome.plain);
    // Read only: nothing is asked of the spooler, nothing copied.
    for (const std::string& method : fake.log.Methods()) {
      EXPECT_TRUE(method == "PathFileExistsW" || method == "ReadBytes") << method;
    }
    EXPECT_TRUE(fake.files.copies.empty());
  }
}

TEST(CheckDriverPackage, AFolderWithoutThePackageListsEveryRequiredFile) {
  FakePrintPlatform fake{32};
  InstallContext context = PackageContext();
  context.setupDirName = u"SETUP";
  const Outcome outcome = CheckDriverPackage(context, fake.platform);
  EXPECT_EQ(outcome.call,
            u"Driver package incomplete: SETUP\\ENG lacks LBLENG.GPD, LBLRCENG.DLL, UNIDRV.DLL, UNIDRVUI.DLL, "
            u"UNIDRV.HLP, UNIRES.DLL, STDNAMES.GPD, TTFSUB.GPD. Nothing was changed.");
  EXPECT_EQ(ErrorBox(outcome.call, outcome.code).size(), ErrorText(outcome.code, outcome.call).size())
      << "the box holds the whole text";
  // The trace names each file by its full path.
  const std::vector<std::u16string> traces = fake.Traces();
  ASSERT_EQ(traces.size(), 8u);
  EXPECT_EQ(traces[0], u"Package File Missing: C:\\Setup\\SETUP\\ENG\\LBLENG.GPD Error 2");
}

TEST(DriverPackageFiles, TheDesiredPrintersListInCopyOrder) {
  const InstallContext context = PackageContext();
  const std::vector<PackageFile> files = DriverPackageFiles(context, 64);
  std::vector<std::u16string> names;
  std::vector<std::u16string> optional;
  for (const PackageFile& file : files) {
    names.push_back(file.name);
    if (file.optional) optional.push_back(file.name);
  }
  EXPECT_EQ(names, (std::vector<std::u16string>{u"LBLENG.GPD", u"LBLUIENG.DLL", u"LBLENG.INI", u"LBLUNIENG.DLL",
                                                u"LBLRCENG.DLL", u"UNIDRV.DLL", u"UNIDRVUI.DLL", u"UNIDRV.HLP",
                                                u"UNIRES.DLL", u"STDNAMES.GPD", u"TTFSUB.GPD"}));
  EXPECT_EQ(optional, (std::vector<std::u16string>{u"LBLUIENG.DLL", u"LBLENG.INI", u"LBLUNIENG.DLL"}));
  EXPECT_EQ(files.size(), MakeDesiredPrinter(context, 64, NetworkPort(u"10.0.0.1")).files.size());
}

}  // namespace
