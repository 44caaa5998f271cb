#include "app/port_combo.h"

void FillPortCombo(PortSnapshot& ports, ComboBox& combo, std::u16string_view fragment) {
  AddPortNamesContaining(ports, combo, fragment);
  if (combo.GetCount() > 0) combo.SetCurSel(0);
}

void FillPortCombo(Spooler& spooler, ComboBox& combo, std::u16string_view fragment) {
  PortSnapshot ports(spooler);
  FillPortCombo(ports, combo, fragment);
}
