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
