#pragma once
// What an install leaves for a deployment tool's detection rule: one key a printer,
// HKLM\SOFTWARE\PrinterSetup\Printers\<printer>, holding the version that installed it and what
// it installed. The key goes with the printer, and PrinterSetup with its last key.
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
};

// SOFTWARE\PrinterSetup\Printers\<printer>.
std::u16string MarkerKey(std::u16string_view printerName);

// "YYYY-MM-DDTHH:MM:SS" (ISO 8601, local time, no zone).
std::u16string IsoLocalTime(const LocalTime& time);

struct MarkerValue {
  std::u16string name;
  std::u16string text;
};
// The REG_SZ values in the order they are written: Version last, so that a marker whose writing
// stopped half-way never shows this version.
std::vector<MarkerValue> MarkerValues(const DetectionMarker& marker);

// Writes the marker's values into its key (made when missing); the first failure stops it.
Status WriteDetectionMarker(Registry& registry, const DetectionMarker& marker);

// Deletes the printer's key, then Printers and PrinterSetup when nothing is left in them. A key
// that is not there counts as deleted; the status is that of the printer's key, the keys above
// it are only tidied.
Status RemoveDetectionMarker(Registry& registry, std::u16string_view printerName);
