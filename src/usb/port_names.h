#pragma once
// The spooler's port names holding a fragment, added to a combo box: the USB page's and the
// serial and parallel pages' lists come from the same level-2 enumeration.
#include <string_view>

#include "diag/last_error.h"
#include "spooler/spooler.h"
#include "usb/combo_box.h"

// Adds every port name containing fragment (case-sensitive), in the spooler's order. A failed
// size query, allocation or enumeration adds nothing.
void AddPortNamesContaining(Spooler& spooler, LastError& lastError, ComboBox& combo, std::u16string_view fragment);
