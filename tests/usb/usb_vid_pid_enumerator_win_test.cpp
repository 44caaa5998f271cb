// The SetupAPI enumeration over a fake device tree: calls, records, failed reads and fit rules.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "usb/fake_allocation.h"
#include "usb/fake_device_tree.h"
#include "usb/usb_vid_pid_enumerator_win.h"

namespace {

const std::string kClassSuffix = "{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
const std::string kPlain = "\\\\?\\usb#vid_1a2b&pid_4d5e#5&2f1e&0&1#" + kClassSuffix;
const std::string kMi01 = "\\\\?\\usb#vid_1a2b&pid_4d5e&mi_01#7&2f41d9e&0&0001#" + kClassSuffix;
const std::string kMi0a = "\\\\?\\usb#vid_1a2b&pid_4d5e&mi_0a#7&5d1e2f&0&000a#" + kClassSuffix;
const std::string kUpper = "\\\\?\\USB#VID_1A2B&PID_4D5E#5&2f1e&0&1#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}";
const std::string kUpperMi02 = "\\\\?\\USB#VID_1A2B&PID_4D5E&MI_02#7&1&0&2#{28D78FAD-5A12-11D1-AE5B-0000F803A8C2}";
const std::string kSerialMi = "\\\\?\\usb#vid_1a2b&pid_4d5e#mi_05serial#" + kClassSuffix;
const std::string kNoPid = "\\\\?\\usb#vid_1a2b#5&2f1e&0&1#" + kClassSuffix;
const std::string kOther = "\\\\?\\usb#vid_5e6f&pid_0102#6&1&0&2#" + kClassSuffix;

std::vector<std::string> NarrowItems(const std::vector<char>& buffer) {
  std::vector<std::string> items;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != 0;) {
    items.emplace_back(&buffer[at]);
    at += items.back().size() + 1;
  }
  return items;
}

std::vector<std::u16string> WideItems(const std::vector<char16_t>& buffer) {
  std::vector<std::u16string> items;
  for (std::size_t at = 0; at < buffer.size() && buffer[at] != 0;) {
    items.emplace_back(&buffer[at]);
    at += items.back().size() + 1;
  }
  return items;
}

TEST(UsbVidPidEnumeratorWin, ListsOneItemPerPrinterInterfaceInPlatformOrder) {
  FakeDeviceTree tree;
  tree.devices = {UsbPrinter(1, {kPlain, kMi01}), UsbPrinter(2, {kUpper, kNoPid, kMi0a}),
                  UsbPrinter(3, {kOther, kUpperMi02, kSerialMi})};
  NZUsbVidPidEnumerator_win enumerator(tree);
  std::vector<char> buffer(300, 0);
  std::int32_t total = -1;
  EXPECT_EQ(enumerator.EnumerateA(buffer.data(), 300, &total), 7);
  // The texts do not follow the path's letter case; "mi_" in a serial number is no interface.
  EXPECT_EQ(NarrowItems(buffer),
            (std::vector<std::string>{"VID:0x1A2B,PID:0x4D5E", "VID:0x1A2B,PID:0x4D5E,MI:01", "VID:0x1A2B,PID:0x4D5E",
                                      "VID:0x1A2B,PID:0x4D5E,MI:00", "VID:0x5E6F,PID:0x0102",
                                      "VID:0x1A2B,PID:0x4D5E,MI:02", "VID:0x1A2B,PID:0x4D5E"}));
  // Paths without both identifiers add nothing to the total.
  EXPECT_EQ(total, 23 + 29 + 23 + 29 + 23 + 29 + 23);
  EXPECT_EQ(tree.opened, 1);
  EXPECT_EQ(tree.destroyed, 1);
}

TEST(UsbVidPidEnumeratorWin, MakesThePlatformCallsInOrderWithTheBuildsRecordSizes) {
  for (SetupRecordSizes sizes : {SetupRecordSizes{28, 28}, SetupRecordSizes{32, 32}}) {
    SCOPED_TRACE(sizes.deviceInfo);
    FakeDeviceTree tree;
    tree.sizes = sizes;
    tree.devices = {UsbPrinter(1, {kPlain})};
    NZUsbVidPidEnumerator_win enumerator(tree);
    std::int32_t total = 0;
    EXPECT_EQ(enumerator.DoEnumerate(nullptr, 0, &total), 0);
    EXPECT_EQ(total, 23);
    EXPECT_EQ(tree.calls, (std::vector<std::string>{"SetupDiGetClassDevsA", "SetupDiEnumDeviceInfo 0",
                                                    "SetupDiEnumDeviceInterfaces 0", "DeviceInterfacePath",
                                                    "SetupDiEnumDeviceInterfaces 1", "SetupDiEnumDeviceInfo 1",
                                                    "SetupDiDestroyDeviceInfoList"}));
    for (std::uint32_t cbSize : tree.deviceInfoCbSizes) EXPECT_EQ(cbSize, sizes.deviceInfo);
    for (std::uint32_t cbSize : tree.interfaceCbSizes) EXPECT_EQ(cbSize, sizes.deviceInterface);
  }
}

TEST(UsbVidPidEnumeratorWin, NoDeviceSetMeansNothingAndNoTotal) {
  FakeDeviceTree tree;
  tree.failClassDevs = true;
  tree.devices = {UsbPrinter(1, {kPlain})};
  NZUsbVidPidEnumerator_win enumerator(tree);
  std::vector<char16_t> buffer(50, u'Z');
  std::int32_t total = -1;
  EXPECT_EQ(enumerator.EnumerateW(buffer.data(), 100, &total), 0);
  EXPECT_EQ(total, 0);
  EXPECT_EQ(buffer, std::vector<char16_t>(50, u'Z'));
  EXPECT_EQ(tree.destroyed, 0);
  EXPECT_EQ(tree.calls, (std::vector<std::string>{"SetupDiGetClassDevsA"}));
}

TEST(UsbVidPidEnumeratorWin, AnInterfaceWhosePathCannotBeReadGivesNothingAtAnyStage) {
  for (ReadStage stage :
       {ReadStage::SizeQueryFailed, ReadStage::SizeQuerySucceeded, ReadStage::NoMemory, ReadStage::FillFailed}) {
    SCOPED_TRACE(static_cast<int>(stage));
    FakeDeviceTree tree;
    FakeUsbDevice device = UsbPrinter(1, {kPlain, kMi01, kOther, kMi0a});
    device.interfaces[1].failPath = FakeFailure{stage, 1234};
    device.interfaces[2].failPath = FakeFailure{stage, 0};
    tree.devices = {device};
    NZUsbVidPidEnumerator_win enumerator(tree);
    std::vector<char> buffer(100, 0);
    std::int32_t total = 0;
    EXPECT_EQ(enumerator.EnumerateA(buffer.data(), 100, &total), 2);
    EXPECT_EQ(NarrowItems(buffer), (std::vector<std::string>{"VID:0x1A2B,PID:0x4D5E", "VID:0x1A2B,PID:0x4D5E,MI:00"}));
    EXPECT_EQ(total, 23 + 29);
    EXPECT_EQ(tree.destroyed, 1);
  }
}

TEST(UsbVidPidEnumeratorWin, FilterRejectsAddNothingToTheTotal) {
  FakeDeviceTree tree;
  tree.devices = {UsbPrinter(1, {kPlain, kMi01}), UsbPrinter(2, {kOther})};
  const VidPidPair pairs[] = {{0x5E6F, 0x0102}};
  NZUsbVidPidEnumerator_win enumerator(tree);
  enumerator.filterCount = 1;
  enumerator.filterPairs = pairs;
  std::vector<char> buffer(100, 0);
  std::int32_t total = 0;
  EXPECT_EQ(enumerator.EnumerateA(buffer.data(), 100, &total), 1);
  EXPECT_EQ(NarrowItems(buffer), (std::vector<std::string>{"VID:0x5E6F,PID:0x0102"}));
  EXPECT_EQ(total, 23);
}

TEST(UsbVidPidEnumeratorWin, NarrowFitIsByteExact) {
  struct Row {
    std::uint32_t capacity;
    std::int32_t count;
    std::vector<std::string> items;
  };
  const std::string mi123 = "\\\\?\\usb#vid_1a2b&pid_4d5e&mi_123#1#" + kClassSuffix;  // 28 characters
  const Row rows[] = {
      {23, 1, {"VID:0x1A2B,PID:0x4D5E"}},
      {22, 0, {}},
      // The long item needs 30; after it is skipped the short one still fits.
      {29, 1, {"VID:0x1A2B,PID:0x4D5E"}},
      {30 + 23 - 1, 2, {"VID:0x1A2B,PID:0x4D5E,MI:123", "VID:0x1A2B,PID:0x4D5E"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.capacity);
    FakeDeviceTree tree;
    tree.devices = {UsbPrinter(1, {row.capacity == 23 || row.capacity == 22 ? kPlain : mi123}), UsbPrinter(2, {})};
    if (row.capacity > 23) tree.devices[1] = UsbPrinter(2, {kPlain});
    NZUsbVidPidEnumerator_win enumerator(tree);
    std::vector<char> buffer(row.capacity + 8, 'Z');
    std::int32_t total = 0;
    EXPECT_EQ(enumerator.EnumerateA(buffer.data(), row.capacity, &total), row.count);
    EXPECT_EQ(total, row.capacity > 23 ? 30 + 23 : 23);
    if (row.count == 0) {
      EXPECT_EQ(buffer, std::vector<char>(row.capacity + 8, 'Z'));
    } else {
      EXPECT_EQ(NarrowItems(buffer), row.items);
    }
    // Nothing past the capacity is ever written.
    for (std::size_t i = row.capacity; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 'Z') << i;
  }
}

TEST(UsbVidPidEnumeratorWin, WideFitIsByteExact) {
  for (std::uint32_t capacity : {46u, 45u}) {
    SCOPED_TRACE(capacity);
    FakeDeviceTree tree;
    tree.devices = {UsbPrinter(1, {kPlain})};
    NZUsbVidPidEnumerator_win enumerator(tree);
    std::vector<char16_t> buffer(40, u'Z');
    std::int32_t total = 0;
    EXPECT_EQ(enumerator.EnumerateW(buffer.data(), capacity, &total), capacity == 46 ? 1 : 0);
    EXPECT_EQ(total, 46);
    EXPECT_EQ(buffer[0], capacity == 46 ? u'V' : u'Z');
    EXPECT_EQ(buffer[23], u'Z');
    // Two enumeration passes, each with its own set.
    EXPECT_EQ(tree.opened, 2);
    EXPECT_EQ(tree.destroyed, 2);
  }
}

TEST(UsbVidPidEnumeratorWin, FortyFiveTextsFitIn2000Bytes) {
  FakeDeviceTree tree;
  for (std::uint32_t i = 1; i <= 46; ++i) tree.devices.push_back(UsbPrinter(i, {kPlain}));
  NZUsbVidPidEnumerator_win enumerator(tree);
  std::vector<char16_t> buffer(1000, 0);
  std::int32_t total = 0;
  EXPECT_EQ(enumerator.EnumerateW(buffer.data(), 2000, &total), 45);
  EXPECT_EQ(total, 46 * 46);
  EXPECT_EQ(WideItems(buffer).size(), 45u);
}

TEST(UsbVidPidEnumeratorWin, WideFailuresShrinkTheResult) {
  FakeDeviceTree tree;
  tree.devices = {UsbPrinter(1, {kPlain, kOther})};
  NZUsbVidPidEnumerator_win enumerator(tree);
  {
    // The narrow buffer of the fill pass cannot be had.
    ScopedFakeAllocation allocation;
    allocation.FailNthOfSize(46, 1);
    std::vector<char16_t> buffer(100, u'Z');
    std::int32_t total = -1;
    EXPECT_EQ(enumerator.EnumerateW(buffer.data(), 200, &total), 0);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(buffer[0], u'Z');
  }
  {
    // The first item's conversion fails: it is skipped and not counted.
    ScopedFakeAllocation allocation;
    allocation.FailNthOfSize(22 * sizeof(char16_t), 1);
    std::vector<char16_t> buffer(100, 0);
    std::int32_t total = -1;
    EXPECT_EQ(enumerator.EnumerateW(buffer.data(), 200, &total), 1);
    EXPECT_EQ(total, 46);
    EXPECT_EQ(WideItems(buffer), (std::vector<std::u16string>{u"VID:0x5E6F,PID:0x0102"}));
  }
}

TEST(UsbVidPidEnumeratorWin, ADeviceArrivingBetweenThePassesCannotOverrunTheFill) {
  FakeDeviceTree tree;
  tree.devices = {UsbPrinter(1, {kPlain})};
  tree.onOpen = [](FakeDeviceTree& self, int openCount) {
    if (openCount == 2) self.devices.insert(self.devices.begin(), UsbPrinter(9, {kMi01}));
  };
  NZUsbVidPidEnumerator_win enumerator(tree);
  std::vector<char16_t> buffer(100, 0);
  std::int32_t total = 0;
  // The size pass saw 23 bytes; the fill pass finds a 27-character item first, which cannot fit.
  EXPECT_EQ(enumerator.EnumerateW(buffer.data(), 200, &total), 1);
  EXPECT_EQ(WideItems(buffer), (std::vector<std::u16string>{u"VID:0x1A2B,PID:0x4D5E"}));
  EXPECT_EQ(total, 46);
}

TEST(UsbVidPidEnumeratorWin, NoDevicesLeaveTheBufferUntouched) {
  FakeDeviceTree tree;
  NZUsbVidPidEnumerator_win enumerator(tree);
  ScopedFakeAllocation allocation;
  std::vector<char16_t> buffer(10, u'Z');
  std::int32_t total = -1;
  EXPECT_EQ(enumerator.EnumerateW(buffer.data(), 20, &total), 0);
  EXPECT_EQ(total, 0);
  EXPECT_EQ(buffer, std::vector<char16_t>(10, u'Z'));
  EXPECT_TRUE(allocation.sizes.empty());  // nothing to size, nothing allocated
  EXPECT_EQ(tree.opened, 1);
}

}  // namespace
