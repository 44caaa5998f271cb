#pragma once
// The spooler's port names holding a fragment, added to a combo box: the USB page's and the
// serial and parallel pages' lists come from the same level-2 enumeration.
#include <optional>
#include <string_view>
#include <vector>

#include "spooler/spooler.h"
#include "usb/combo_box.h"

// The spooler's ports at level 2, read when first asked and then kept: pages filled together
// share one enumeration (each is a round trip to the spooler, slow when it holds many ports).
class PortSnapshot {
 public:
  explicit PortSnapshot(Spooler& spooler) : spooler_(spooler) {}
  // Null when the size query, the allocation or the enumeration failed.
  const std::vector<PortInfo>* Ports();

 private:
  Spooler& spooler_;
  bool read_ = false;
  std::optional<std::vector<PortInfo>> ports_;
};

// Adds every port name containing fragment (case-sensitive), in the spooler's order. A failed
// size query, allocation or enumeration adds nothing.
void AddPortNamesContaining(PortSnapshot& ports, ComboBox& combo, std::u16string_view fragment);
void AddPortNamesContaining(Spooler& spooler, ComboBox& combo, std::u16string_view fragment);
