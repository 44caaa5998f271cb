// The USB page's choices: spooler ports with the attached printer's tail, and device texts.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "diag/fake_diagnostics.h"
#include "usb/fake_combo_box.h"
#include "usb/fake_device_tree.h"
#include "usb/fake_port_spooler.h"
#include "usb/usb_choices.h"

namespace {

const std::string kClassSuffix = "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

std::string PathOf(const char* ids) { return std::string("\\\\?\\usb#") + ids + "#7&1&0&1" + kClassSuffix; }

// A printer device whose first bus relation is entry.
FakeUsbDevice PrinterWithRelation(std::uint32_t devInst, const std::string& entry) {
  FakeUsbDevice device = UsbPrinter(devInst, {PathOf("vid_1a2b&pid_4d5e")});
  device.busRelations = MultiString({entry});
  return device;
}

struct Harness {
  FakeDeviceTree tree;
  FakePortSpooler spooler;
  FakeComboBox combo;
  UsbPlatform platform{tree, tree, spooler};
  ScopedFakeDiagnostics diagnostics;
};

std::string Suffix(const char (&suffix)[kUsbSuffixCapacity]) { return std::string(suffix); }

TEST(FindUsbPrintDeviceSuffix, TakesTheTailOfTheFirstBusRelation) {
  Harness h;
  h.tree.devices = {PrinterWithRelation(1, "ABC\\PRINTER\\7&2f41d9e&0&USB002")};
  char suffix[kUsbSuffixCapacity] = {};
  FindUsbPrintDeviceSuffix(h.tree, h.tree, suffix);
  EXPECT_EQ(Suffix(suffix), "USB002");
  EXPECT_EQ(h.diagnostics.output.narrow,
            (std::vector<std::string>{"Tollinder - USB\\VID_1A2B&PID_4D5E\\1\r\n",
                                      "Tollinder - ABC\\PRINTER\\7&2f41d9e&0&USB002\r\n", "Tollinder - USB002\r\n"}));
  EXPECT_EQ(h.tree.listFilters, (std::vector<std::string>{"USB\\VID_1A2B&PID_4D5E\\1"}));
  EXPECT_EQ(h.tree.destroyed, 1);
}

TEST(FindUsbPrintDeviceSuffix, TheLastDeviceWithATailWinsAndOthersAreSkipped) {
  struct Row {
    const char* name;
    std::function<void(FakeUsbDevice&)> spoil;  // applied to the last of three devices
    std::string expected;
  };
  const Row rows[] = {
      {"all well", [](FakeUsbDevice&) {}, "USB007"},
      {"third has no &", nullptr, "USB006"},
      {"size fails", [](FakeUsbDevice& d) { d.failId = FakeFailure{ReadStage::SizeQueryFailed, 0x0D}; }, "USB006"},
      {"no memory for the identifier", [](FakeUsbDevice& d) { d.failId = FakeFailure{ReadStage::NoMemory, 8}; },
       "USB006"},
      {"identifier fails", [](FakeUsbDevice& d) { d.failId = FakeFailure{ReadStage::FillFailed, 0x0D}; }, "USB006"},
      {"no memory for the list", [](FakeUsbDevice& d) { d.failRelations = FakeFailure{ReadStage::NoMemory, 8}; },
       "USB006"},
      {"list fails", [](FakeUsbDevice& d) { d.failRelations = FakeFailure{ReadStage::FillFailed, 0x1A}; }, "USB006"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Harness h;
    h.tree.devices = {PrinterWithRelation(1, "P\\7&1&0&USB005"), PrinterWithRelation(2, "P\\7&1&0&USB006"),
                      PrinterWithRelation(3, "P\\7&1&0&USB007")};
    if (row.spoil) {
      row.spoil(h.tree.devices[2]);
    } else {
      h.tree.devices[2].busRelations = MultiString({"NOAMPERSAND", "P\\7&1&0&USB009"});
    }
    char suffix[kUsbSuffixCapacity] = {};
    FindUsbPrintDeviceSuffix(h.tree, h.tree, suffix);
    EXPECT_EQ(Suffix(suffix), row.expected);
  }
}

TEST(FindUsbPrintDeviceSuffix, AFailedIdentifierIsNeverUsedAsAFilter) {
  for (ReadStage stage :
       {ReadStage::SizeQueryFailed, ReadStage::SizeQuerySucceeded, ReadStage::NoMemory, ReadStage::FillFailed}) {
    SCOPED_TRACE(static_cast<int>(stage));
    Harness h;
    h.tree.devices = {PrinterWithRelation(1, "P\\7&1&0&USB005")};
    h.tree.devices[0].failId = FakeFailure{stage, 0x1A};
    char suffix[kUsbSuffixCapacity] = {};
    FindUsbPrintDeviceSuffix(h.tree, h.tree, suffix);
    EXPECT_EQ(Suffix(suffix), "");
    EXPECT_TRUE(h.tree.listFilters.empty());
    EXPECT_TRUE(h.diagnostics.output.narrow.empty());
  }
}

TEST(FindUsbPrintDeviceSuffix, NoDeviceSetOrNoTailLeavesTheBufferAlone) {
  Harness h;
  h.tree.failClassDevs = true;
  h.tree.devices = {PrinterWithRelation(1, "P\\7&1&0&USB005")};
  char suffix[kUsbSuffixCapacity] = {};
  std::strcpy(suffix, "KEEP");
  FindUsbPrintDeviceSuffix(h.tree, h.tree, suffix);
  EXPECT_EQ(Suffix(suffix), "KEEP");
  EXPECT_EQ(h.tree.calls, (std::vector<std::string>{"SetupDiGetClassDevsA"}));

  Harness empty;
  empty.tree.devices = {UsbPrinter(1, {})};  // no relations at all
  FindUsbPrintDeviceSuffix(empty.tree, empty.tree, suffix);
  EXPECT_EQ(Suffix(suffix), "KEEP");
}

TEST(FindUsbPrintDeviceSuffix, ATailIsCopiedOnlyWhenItFits) {
  for (std::size_t length : {std::size_t{999}, std::size_t{1000}}) {
    SCOPED_TRACE(length);
    Harness h;
    h.tree.devices = {PrinterWithRelation(1, "P\\7&" + std::string(length, 't'))};
    char guarded[kUsbSuffixCapacity + 8];
    std::memset(guarded, 'G', sizeof guarded);
    auto& suffix = *reinterpret_cast<char(*)[kUsbSuffixCapacity]>(guarded);
    suffix[0] = 0;
    FindUsbPrintDeviceSuffix(h.tree, h.tree, suffix);
    EXPECT_EQ(Suffix(suffix), length == 999 ? std::string(999, 't') : "");
    for (std::size_t i = kUsbSuffixCapacity; i < sizeof guarded; ++i) EXPECT_EQ(guarded[i], 'G');
  }
}

TEST(FindUsbPrintDeviceSuffix, TraceLinesStayBounded) {
  Harness h;
  FakeUsbDevice device = PrinterWithRelation(1, "");
  device.identifier = "USB\\" + std::string(3000, 'i');
  device.busRelations = std::string(kBusRelationsCapacity, 'X');  // all 2000 bytes, no terminator
  device.busRelations[kBusRelationsCapacity / 2] = '&';
  h.tree.devices = {device};
  char suffix[kUsbSuffixCapacity] = {};
  FindUsbPrintDeviceSuffix(h.tree, h.tree, suffix);
  ASSERT_EQ(h.diagnostics.output.narrow.size(), 3u);
  for (const std::string& line : h.diagnostics.output.narrow) EXPECT_LT(line.size(), kTraceCapacity);
  EXPECT_EQ(Suffix(suffix), std::string(999, 'X'));  // the 999 bytes after the '&' in the middle
}

struct PortRow {
  std::vector<std::u16string> ports;
  std::string tail;
  std::vector<std::u16string> list;
  std::u16string editText;
  std::intptr_t selected;
};

TEST(FillUsbPortsFromSpooler, ListsUsbPortsAndPresetsTheEditText) {
  const PortRow rows[] = {
      {{u"LPT1:", u"COM1:", u"USB001", u"USB002"}, "", {u"USB001", u"USB002"}, u"USB001", 0},
      {{u"LPT1:", u"COM1:"}, "", {}, u"USB001", -1},
      {{u"USB001", u"USB002"}, "USB002", {u"USB001", u"USB002"}, u"USB002", -1},
      {{u"usb003"}, "", {}, u"USB001", -1},
      {{u"LPT1:"}, "USB005", {}, u"USB005", -1},
      {{u"COM2:", u"TOLUSB01:", u"USB004"}, "", {u"TOLUSB01:", u"USB004"}, u"TOLUSB01:", 0},
      {{}, "", {}, u"USB001", -1},
  };
  for (const PortRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "ports " << row.ports.size() << " tail " << row.tail);
    Harness h;
    h.spooler.ports = row.ports;
    if (!row.tail.empty()) h.tree.devices = {PrinterWithRelation(1, "ABC\\PRINTER\\7&2f41d9e&0&" + row.tail)};
    FillUsbPortsFromSpooler(h.platform, h.combo);
    EXPECT_EQ(h.combo.items, row.list);
    EXPECT_EQ(h.combo.editText, row.editText);
    EXPECT_EQ(h.combo.selected, row.selected);
  }
}

TEST(FillUsbPortsFromSpooler, ListsAtLevel2AfterTheDeviceSearch) {
  Harness h;
  h.spooler.ports = {u"USB001"};
  FillUsbPortsFromSpooler(h.platform, h.combo);
  EXPECT_EQ(h.spooler.portLevels, std::vector<std::uint32_t>{2});
  EXPECT_EQ(h.spooler.otherCalls, 0);
  // The device search comes first and closes its set.
  EXPECT_EQ(h.tree.calls.front(), "SetupDiGetClassDevsA");
  EXPECT_EQ(h.tree.calls.back(), "SetupDiDestroyDeviceInfoList");
}

TEST(FillUsbPortsFromSpooler, SpoolerFailuresStillPresetTheText) {
  for (ReadStage failure : {ReadStage::SizeQueryFailed, ReadStage::NoMemory, ReadStage::FillFailed}) {
    SCOPED_TRACE(static_cast<int>(failure));
    for (bool withTail : {false, true}) {
      Harness h;
      h.spooler.ports = {u"USB001", u"USB002"};
      h.spooler.failure = failure;
      if (withTail) h.tree.devices = {PrinterWithRelation(1, "P\\7&1&0&USB002")};
      FillUsbPortsFromSpooler(h.platform, h.combo);
      EXPECT_TRUE(h.combo.items.empty());
      EXPECT_EQ(h.combo.editText, withTail ? u"USB002" : u"USB001");
    }
  }
}

const char* const kDeviceA = "vid_1a2b&pid_4d5e";
const char* const kDeviceAMi01 = "vid_1a2b&pid_4d5e&mi_01";
const char* const kDeviceB = "vid_5e6f&pid_0102";

struct MonitorRow {
  std::u16string filterUsbPort;
  std::u16string filterVid;
  std::u16string filterPid;
  std::vector<std::u16string> list;
};

TEST(FillUsbDevicesForMonitor, OffersTheDeviceTextsByTheFilters) {
  const std::u16string a = u"VID:0x1A2B,PID:0x4D5E";
  const std::u16string a1 = u"VID:0x1A2B,PID:0x4D5E,MI:01";
  const std::u16string b = u"VID:0x5E6F,PID:0x0102";
  const MonitorRow rows[] = {
      {u"", u"", u"", {a, a1, b}},
      {u"", u"1A2B", u"4D5E", {a, a1}},
      {u"", u"1A2B", u"", {a, a1, b}},
      {u"", u"", u"0102", {a, a1, b}},
      {u"VID:0x1A2B,PID:0x4D5E,MI:01", u"", u"", {a1}},
      {u"VID:0x1A2B,PID:0x4D5E,MI:01", u"5E6F", u"0102", {a1}},  // the filters have no effect here
      {u"vid:0x1a2b,pid:0x4d5e", u"", u"", {}},
      {u"", u"0x5e6f", u" 0102;", {b}},
      {u"", u"1A2B", u"FFFF", {a, a1}},  // 65535: the product half matches every device
      {u"", u"zz", u"4D5E", {}},         // no digits: vid_0000
      {u"", u"-1", u"-1", {a, a1, b}},
  };
  for (const MonitorRow& row : rows) {
    SCOPED_TRACE(testing::Message() << "port " << row.filterUsbPort.size() << " vid " << row.filterVid.size() << " pid "
                                    << row.filterPid.size() << " expecting " << row.list.size());
    Harness h;
    h.tree.devices = {UsbPrinter(1, {PathOf(kDeviceA), PathOf(kDeviceAMi01)}), UsbPrinter(2, {PathOf(kDeviceB)})};
    InstallContext context;
    context.portMonitorName = u"Tollinder Port";
    context.filterUsbPort = row.filterUsbPort;
    context.filterVid = row.filterVid;
    context.filterPid = row.filterPid;
    FillUsbDevicesForMonitor(h.platform, context, h.combo);
    EXPECT_EQ(h.combo.items, row.list);
    EXPECT_EQ(h.combo.selected, row.list.empty() ? -1 : 0);
    EXPECT_EQ(h.combo.editText, row.list.empty() ? u"" : row.list[0]);
  }
}

TEST(FillUsbDevicesForMonitor, OneTextAtMostForTheConfiguredPort) {
  Harness h;
  h.tree.devices = {UsbPrinter(1, {PathOf(kDeviceA)}), UsbPrinter(2, {PathOf(kDeviceA)})};
  InstallContext context;
  context.filterUsbPort = u"VID:0x1A2B,PID:0x4D5E";
  FillUsbDevicesForMonitor(h.platform, context, h.combo);
  EXPECT_EQ(h.combo.items, (std::vector<std::u16string>{u"VID:0x1A2B,PID:0x4D5E"}));
}

TEST(FillUsbDevicesForMonitor, NoDeviceSelectsNothing) {
  Harness h;
  InstallContext context;
  FillUsbDevicesForMonitor(h.platform, context, h.combo);
  EXPECT_TRUE(h.combo.items.empty());
  EXPECT_EQ(h.combo.calls, (std::vector<std::string>{"CB_GETCOUNT"}));
  EXPECT_EQ(h.combo.editText, u"");
}

TEST(FillUsbDevicesForMonitor, AtMostFortyFiveTexts) {
  Harness h;
  for (std::uint32_t i = 1; i <= 50; ++i) h.tree.devices.push_back(UsbPrinter(i, {PathOf(kDeviceA)}));
  InstallContext context;
  FillUsbDevicesForMonitor(h.platform, context, h.combo);
  EXPECT_EQ(h.combo.items.size(), 45u);
  EXPECT_EQ(h.combo.selected, 0);
}

}  // namespace
