#include "app/port_combo.h"

#include "usb/port_names.h"

void FillPortCombo(Spooler& spooler, LastError& lastError, ComboBox& combo, std::u16string_view fragment) {
  AddPortNamesContaining(spooler, lastError, combo, fragment);
  if (combo.GetCount() > 0) combo.SetCurSel(0);
}
