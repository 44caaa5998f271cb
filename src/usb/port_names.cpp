#include "usb/port_names.h"

#include <vector>

void AddPortNamesContaining(Spooler& spooler, LastError& lastError, ComboBox& combo, std::u16string_view fragment) {
  std::vector<PortInfo> ports;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  if (spooler.EnumPortsW(2, 0, ports, needed, returned) != SpoolResult::Failed ||
      lastError.GetLastError() != kErrorInsufficientBuffer || needed == 0) {
    return;
  }
  if (spooler.EnumPortsW(2, needed, ports, needed, returned) != SpoolResult::Succeeded) return;
  for (const PortInfo& port : ports) {
    if (port.portName.find(fragment) != std::u16string::npos) combo.AddString(port.portName);
  }
}
