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
    FakePortSpooler spooler;
    spooler.ports = c.ports;
    FakeComboBox combo;
    FillPortCombo(spooler, combo, c.fragment);
    EXPECT_EQ(c.listed, combo.items);
    EXPECT_EQ(c.listed.empty() ? u"" : c.listed[0], combo.editText);
    EXPECT_EQ(c.listed.empty() ? -1 : 0, combo.selected);
  }
}

TEST(FillPortCombo, AFailedEnumerationLeavesTheListEmpty) {
  for (ReadStage failure : {ReadStage::SizeQueryFailed, ReadStage::NoMemory, ReadStage::FillFailed}) {
    FakePortSpooler spooler;
    spooler.ports = {u"COM1:"};
    spooler.failure = failure;
    FakeComboBox combo;
    FillPortCombo(spooler, combo, u"COM");
    EXPECT_TRUE(combo.items.empty());
    EXPECT_EQ(-1, combo.selected);
  }
}

// The pages made at start share one read of the spooler's ports, whatever each lists from it.
TEST(FillPortCombo, PagesSharingASnapshotReadThePortsOnce) {
  FakePortSpooler spooler;
  spooler.ports = {u"LPT1:", u"COM1:", u"USB001"};
  PortSnapshot ports(spooler);
  FakeComboBox serial;
  FakeComboBox parallel;
  FakeComboBox usb;
  FillPortCombo(ports, serial, u"COM");
  FillPortCombo(ports, parallel, u"LPT");
  AddPortNamesContaining(ports, usb, u"USB");
  EXPECT_EQ(std::vector<std::u16string>{u"COM1:"}, serial.items);
  EXPECT_EQ(std::vector<std::u16string>{u"LPT1:"}, parallel.items);
  EXPECT_EQ(std::vector<std::u16string>{u"USB001"}, usb.items);
  EXPECT_EQ(1u, spooler.portLevels.size());

  // A failed read is not retried for the next page either: each would fail alike.
  FakePortSpooler failing;
  failing.ports = {u"COM1:"};
  failing.failure = ReadStage::FillFailed;
  PortSnapshot none(failing);
  FillPortCombo(none, serial, u"COM");
  FillPortCombo(none, parallel, u"LPT");
  EXPECT_EQ(nullptr, none.Ports());
  EXPECT_EQ(1u, failing.portLevels.size());
}
