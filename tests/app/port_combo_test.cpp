#include <gtest/gtest.h>

#include "app/port_combo.h"
#include "usb/fake_combo_box.h"
#include "usb/fake_port_spooler.h"

TEST(FillPortCombo, PortsHoldingTheFragmentFirstSelected) {
  struct Case {
    std::vector<std::u16string> ports;
    std::u16string fragment;
    std::vector<std::u16string> listed;
  };
  const Case cases[] = {
      {{u"LPT1:", u"COM1:", u"XCOM9", u"com3"}, u"COM", {u"COM1:", u"XCOM9"}},  // anywhere, case-sensitive
      {{u"LPT2:", u"COM1:", u"LPT1:"}, u"LPT", {u"LPT2:", u"LPT1:"}},           // the spooler's order
      {{u"COM1:", u"FILE:"}, u"LPT", {}},
  };
  for (const Case& c : cases) {
    FakeLastError lastError;
    FakePortSpooler spooler(lastError);
    spooler.ports = c.ports;
    FakeComboBox combo;
    FillPortCombo(spooler, lastError, combo, c.fragment);
    EXPECT_EQ(c.listed, combo.items);
    EXPECT_EQ(c.listed.empty() ? u"" : c.listed[0], combo.editText);
    EXPECT_EQ(c.listed.empty() ? -1 : 0, combo.selected);
  }
}

TEST(FillPortCombo, AFailedEnumerationLeavesTheListEmpty) {
  for (SpoolResult fill : {SpoolResult::Failed, SpoolResult::NoMemory}) {
    FakeLastError lastError;
    FakePortSpooler spooler(lastError);
    spooler.ports = {u"COM1:"};
    spooler.fillResult = fill;
    FakeComboBox combo;
    FillPortCombo(spooler, lastError, combo, u"COM");
    EXPECT_TRUE(combo.items.empty());
    EXPECT_EQ(-1, combo.selected);
  }
  FakeLastError lastError;
  FakePortSpooler spooler(lastError);
  spooler.ports = {u"COM1:"};
  spooler.sizeQueryError = 1722;
  FakeComboBox combo;
  FillPortCombo(spooler, lastError, combo, u"COM");
  EXPECT_TRUE(combo.items.empty());
}

// The pages made at start share one read of the spooler's ports, whatever each lists from it.
TEST(FillPortCombo, PagesSharingASnapshotReadThePortsOnce) {
  FakeLastError lastError;
  FakePortSpooler spooler(lastError);
  spooler.ports = {u"LPT1:", u"COM1:", u"USB001"};
  PortSnapshot ports(spooler, lastError);
  FakeComboBox serial;
  FakeComboBox parallel;
  FakeComboBox usb;
  FillPortCombo(ports, serial, u"COM");
  FillPortCombo(ports, parallel, u"LPT");
  AddPortNamesContaining(ports, usb, u"USB");
  EXPECT_EQ(std::vector<std::u16string>{u"COM1:"}, serial.items);
  EXPECT_EQ(std::vector<std::u16string>{u"LPT1:"}, parallel.items);
  EXPECT_EQ(std::vector<std::u16string>{u"USB001"}, usb.items);
  EXPECT_EQ(2u, spooler.enumPortsCalls.size());  // the size query and the one fill

  // A failed read is not retried for the next page either: each would fail alike.
  FakePortSpooler failing(lastError);
  failing.ports = {u"COM1:"};
  failing.fillResult = SpoolResult::Failed;
  PortSnapshot none(failing, lastError);
  FillPortCombo(none, serial, u"COM");
  FillPortCombo(none, parallel, u"LPT");
  EXPECT_EQ(nullptr, none.Ports());
  EXPECT_EQ(2u, failing.enumPortsCalls.size());
}
