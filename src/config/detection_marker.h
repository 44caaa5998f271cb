#pragma once
// What an install leaves for a deployment tool's detection rule: one key a printer,
// HKLM\SOFTWARE\PrinterSetup\Printers\<printer>, holding the version that installed it and what
// it installed. The key goes with the printer, and PrinterSetup with its last key and value.
// Beside Printers, PrinterSetup's value PendingPorts remembers the ports this program made that
// outlived their printer's marker, until an uninstall can take them.
#include <string>
#include <string_view>
#include <vector>

#include "config/registry.h"
#include "diag/install_log.h"

inline constexpr char16_t kMarkerRootKey[] = u"SOFTWARE\\PrinterSetup";
inline constexpr char16_t kMarkerPrintersKey[] = u"SOFTWARE\\PrinterSetup\\Printers";

struct DetectionMarker {
  std::u16string printerName;
  std::u16string version;     // this program's
  std::u16string driverName;
  std::u16string portName;
  std::u16string configPath;  // the configuration file's full path
  LocalTime installedAt;
  // The printer's ports that this program made (REG_MULTI_SZ Ports): the ones to take once
  // nothing uses them.
  std::vector<std::u16string> madePorts;
};

// SOFTWARE\PrinterSetup\Printers\<printer>.
std::u16string MarkerKey(std::u16string_view printerName);

// "YYYY-MM-DDTHH:MM:SS" (ISO 8601, local time, no zone).
std::u16string IsoLocalTime(const LocalTime& time);

struct MarkerValue {
  std::u16string name;
  std::vector<std::u16string> texts;  // one for a REG_SZ value
  bool multi = false;                 // REG_MULTI_SZ
};
// The values in the order they are written: Version last, so that a marker whose writing stopped
// half-way never shows this version.
std::vector<MarkerValue> MarkerValues(const DetectionMarker& marker);

// Writes the marker's values into its key (made when missing); the first failure stops it.
Status WriteDetectionMarker(Registry& registry, const DetectionMarker& marker);

// Deletes the printer's key, then Printers and PrinterSetup when nothing is left in them. A key
// that is not there counts as deleted; the status is that of the printer's key, the keys above
// it are only tidied.
Status RemoveDetectionMarker(Registry& registry, std::u16string_view printerName);

// The marker's Ports; none when there is no marker or no such value.
Read<std::vector<std::u16string>> ReadMarkedPorts(Registry& registry, std::u16string_view printerName);

inline constexpr char16_t kPendingPortsValue[] = u"PendingPorts";
// PrinterSetup's PendingPorts (REG_MULTI_SZ): ports this program made that no printer it marked
// is on any more but that are still there, because another printer used them or their DeletePort
// failed. None when there is no such value.
Read<std::vector<std::u16string>> ReadPendingPorts(Registry& registry);
// Writes PendingPorts; an empty list deletes it, and PrinterSetup when nothing is left in it.
Status WritePendingPorts(Registry& registry, const std::vector<std::u16string>& ports);
