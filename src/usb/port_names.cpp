#include "usb/port_names.h"

const std::vector<PortInfo>* PortSnapshot::Ports() {
  if (!read_) {
    read_ = true;
    Read<std::vector<PortInfo>> ports = spooler_.Ports(2);
    if (ports) ports_ = std::move(ports.value);
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

void AddPortNamesContaining(Spooler& spooler, ComboBox& combo, std::u16string_view fragment) {
  PortSnapshot snapshot(spooler);
  AddPortNamesContaining(snapshot, combo, fragment);
}
