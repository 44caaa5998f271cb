#include <gtest/gtest.h>

#include "config/fake_system_info.h"
#include "config/os_platform.h"

namespace {

TEST(IsArm64System, OnlyASuccessfulIsWow64Process2ReportingArm64Counts) {
  struct Case {
    const char* what;
    bool kernel, present, fails;
    std::uint16_t processMachine, nativeMachine;
    bool expected;
    std::vector<std::u16string> calls;
  };
  const std::vector<std::u16string> asked = {u"GetModuleHandleW kernel32", u"GetProcAddress IsWow64Process2",
                                             u"IsWow64Process2"};
  const std::vector<std::u16string> notFound = {u"GetModuleHandleW kernel32", u"GetProcAddress IsWow64Process2"};
  // The exact calls: GetNativeSystemInfo, which answers x64 on ARM64, has no say.
  const Case cases[] = {
      {"32-bit process on ARM64", true, true, false, kImageFileMachineI386, kImageFileMachineArm64, true, asked},
      {"64-bit process on ARM64", true, true, false, kImageFileMachineUnknown, kImageFileMachineArm64, true, asked},
      {"x64 emulated on ARM64", true, true, false, kImageFileMachineAmd64, kImageFileMachineArm64, true, asked},
      {"32-bit process on x64", true, true, false, kImageFileMachineI386, kImageFileMachineAmd64, false, asked},
      {"64-bit process on x64", true, true, false, kImageFileMachineUnknown, kImageFileMachineAmd64, false, asked},
      {"32-bit Windows", true, true, false, kImageFileMachineUnknown, kImageFileMachineI386, false, asked},
      // The process machine is not the system's: only the native answer says ARM64.
      {"process ARM64, native x64", true, true, false, kImageFileMachineArm64, kImageFileMachineAmd64, false, asked},
      {"call fails", true, true, true, kImageFileMachineI386, kImageFileMachineArm64, false, asked},
      {"before Windows 10 1709", true, false, false, kImageFileMachineI386, kImageFileMachineArm64, false, notFound},
      {"no kernel32 handle", false, true, false, kImageFileMachineI386, kImageFileMachineArm64, false,
       {u"GetModuleHandleW kernel32"}},
  };
  for (const Case& k : cases) {
    FakeSystemInfo system;
    system.hasKernel32 = k.kernel;
    system.hasWow64Process2 = k.present;
    system.wow64Process2Fails = k.fails;
    system.processMachine = k.processMachine;
    system.nativeMachine = k.nativeMachine;
    EXPECT_EQ(k.expected, IsArm64System(system)) << k.what;
    EXPECT_EQ(k.calls, system.calls) << k.what;
  }
}

}  // namespace
