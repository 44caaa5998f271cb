#include "usb/port_names.h"

#include <vector>

#include "spooler/ask_size_then_fill.h"

void AddPortNamesContaining(Spooler& spooler, LastError& lastError, ComboBox& combo, std::u16string_view fragment) {
  std::vector<PortInfo> ports;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized = spooler.EnumPortsW(2, 0, ports, needed, returned);
        return SpoolerSizeAnswer(sized, lastError, needed);
      },
      [&](std::uint32_t size) { return spooler.EnumPortsW(2, size, ports, needed, returned); });
  if (end != TwoCallEnd::Filled) return;
  for (const PortInfo& port : ports) {
    if (port.portName.find(fragment) != std::u16string::npos) combo.AddString(port.portName);
  }
}
