// The handle owners: every path closes an owned handle exactly once, through the seam, and never
// a handle of 0 or one given away.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fake_print_services.h"

namespace {

TEST(ScopedPrinterHandle, EveryPathClosesEachOwnedHandleOnce) {
  using Owner = ScopedPrinterHandle;
  struct Row {
    const char* what;
    // Gets printers "A" and "B" open; every owner it makes is gone when it returns.
    std::function<void(FakeSpooler&, PrinterHandle, PrinterHandle)> use;
    std::vector<std::string> closes;
  };
  const Row rows[] = {
      {"the scope's end", [](FakeSpooler& s, PrinterHandle a, PrinterHandle) { Owner owner(s, a); }, {"A"}},
      {"reset, once", [](FakeSpooler& s, PrinterHandle a, PrinterHandle) {
         Owner owner(s, a);
         owner.reset();
         EXPECT_FALSE(owner);
         owner.reset();
       }, {"A"}},
      {"released", [](FakeSpooler& s, PrinterHandle a, PrinterHandle) { EXPECT_EQ(Owner(s, a).release(), a); }, {}},
      {"0 is none", [](FakeSpooler& s, PrinterHandle, PrinterHandle) { Owner owner(s, 0); }, {}},
      {"moved", [](FakeSpooler& s, PrinterHandle a, PrinterHandle) {
         Owner first(s, a);
         Owner second(std::move(first));
         EXPECT_FALSE(first);
         EXPECT_EQ(second.get(), a);
       }, {"A"}},
      {"moved over another: that one first", [](FakeSpooler& s, PrinterHandle a, PrinterHandle b) {
         Owner first(s, a);
         Owner second(s, b);
         second = std::move(first);
         EXPECT_EQ(second.get(), a);
       }, {"B", "A"}},
      {"moved onto itself", [](FakeSpooler& s, PrinterHandle a, PrinterHandle) {
         Owner owner(s, a);
         Owner& same = owner;
         owner = std::move(same);
         EXPECT_EQ(owner.get(), a);
       }, {"A"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    FakePrintPlatform fake;
    fake.spooler.AddPrinter(u"A");
    fake.spooler.AddPrinter(u"B");
    const PrinterHandle a = fake.spooler.Open(u"A", kPrinterAllAccess).handle;
    const PrinterHandle b = fake.spooler.Open(u"B", kPrinterAllAccess).handle;
    ASSERT_TRUE(a && b);
    fake.log.Clear();
    row.use(fake.spooler, a, b);
    std::vector<std::string> expected;
    for (const std::string& name : row.closes) expected.push_back("ClosePrinter(\"" + name + "\")");
    EXPECT_EQ(fake.log.calls, expected);  // closing is all an owner does
    EXPECT_EQ(fake.spooler.OpenHandleCount(), 2 - row.closes.size());
  }
}

TEST(ScopedProcessHandle, ClosesThroughTheShell) {
  FakePrintPlatform fake;
  fake.shell.openProcesses = {0x700};
  { ScopedProcessHandle none(fake.shell, 0); }
  { ScopedProcessHandle process(fake.shell, 0x700); }
  EXPECT_EQ(fake.log.calls, std::vector<std::string>{"CloseHandle(1792)"});
  EXPECT_TRUE(fake.shell.openProcesses.empty());
}

}  // namespace
