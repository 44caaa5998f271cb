#pragma once
// The serial and parallel pages' lists: the spooler's ports whose names hold a fragment.
#include <string_view>

#include "spooler/spooler.h"
#include "usb/combo_box.h"
#include "usb/port_names.h"

// Adds every level-2 port name containing fragment (case-sensitive), in the spooler's order,
// then selects the first entry when there is one. A failed enumeration leaves the list empty.
void FillPortCombo(PortSnapshot& ports, ComboBox& combo, std::u16string_view fragment);
void FillPortCombo(Spooler& spooler, ComboBox& combo, std::u16string_view fragment);
