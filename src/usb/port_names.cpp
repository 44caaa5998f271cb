#include "usb/port_names.h"

#include "spooler/ask_size_then_fill.h"

const std::vector<PortInfo>* PortSnapshot::Ports() {
  if (!read_) {
    read_ = true;
    std::vector<PortInfo> ports;
    std::uint32_t needed = 0;
    std::uint32_t returned = 0;
    const TwoCallEnd end = AskSizeThenFill(
        [&] {
          SpoolResult sized = spooler_.EnumPortsW(2, 0, ports, needed, returned);
          return SpoolerSizeAnswer(sized, lastError_, needed);
        },
        [&](std::uint32_t size) { return spooler_.EnumPortsW(2, size, ports, needed, returned); });
    if (end == TwoCallEnd::Filled) ports_ = std::move(ports);
  }
  return ports_ ? &*ports_ : nullptr;
}

void AddPortNamesContaining(PortSnapshot& snapshot, ComboBox& combo, std::u16string_view fragment) {
  const std::vector<PortInfo>* ports = snapshot.Ports();
  if (!ports) return;
  for (const PortInfo& port : *ports) {
    if (port.portName.find(fragment) != std::u16string::npos) combo.AddString(port.portName);
  }
}

void AddPortNamesContaining(Spooler& spooler, LastError& lastError, ComboBox& combo, std::u16string_view fragment) {
  PortSnapshot snapshot(spooler, lastError);
  AddPortNamesContaining(snapshot, combo, fragment);
}
