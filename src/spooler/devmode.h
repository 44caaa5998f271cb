#pragma once
// A queue's printing defaults: the [DEVMODE] keys, the DEVMODEW fields they set, and the file
// /savedefaults writes. Platform-free: a DEVMODE is its bytes, as the driver gave them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/printer_data.h"

// DEVMODEW: the public part's size and the members this program sets.
constexpr std::size_t kDevModePublicSize = 220;
constexpr std::uint32_t kDmOrientation = 0x00000001;
constexpr std::uint32_t kDmPaperSize = 0x00000002;
constexpr std::uint32_t kDmPaperLength = 0x00000004;
constexpr std::uint32_t kDmPaperWidth = 0x00000008;
constexpr std::uint32_t kDmCopies = 0x00000100;
constexpr std::uint32_t kDmPrintQuality = 0x00000400;

struct DevModeSettings {
  std::optional<std::int16_t> paperSize;    // DMPAPER_*
  std::optional<std::int16_t> paperWidth;   // 0.1 mm
  std::optional<std::int16_t> paperLength;  // 0.1 mm
  std::optional<std::int16_t> orientation;  // 1 portrait, 2 landscape
  std::optional<std::int16_t> copies;
  std::optional<std::int16_t> printQuality;  // dpi
  std::u16string file;                       // a /savedefaults file, as written in config.ini
  bool Empty() const {
    return !paperSize && !paperWidth && !paperLength && !orientation && !copies && !printQuality && file.empty();
  }
};

// A [DEVMODE] key at fault and what it allows.
struct DevModeRefusal {
  std::u16string key;
  std::u16string allowed;
};

struct ParsedDevMode {
  DevModeSettings settings;
  std::optional<DevModeRefusal> refusal;
};

// The section's entries; names without regard to case. An unknown key is refused too.
ParsedDevMode ParseDevModeSettings(const std::vector<PrinterDataEntry>& entries);

// "60" or "101.6" millimetres, at most one decimal, from 1.0 to 3276.7 (the most a DEVMODE's
// short holds in tenths): tenths of a millimetre.
std::optional<std::int16_t> ParseMillimetres(std::u16string_view text);
// 600 -> "60.0 mm".
std::u16string MillimetreText(std::int16_t tenths);

// Whether the DEVMODE's sizes hold together: dmSize covers the members set here, and dmSize plus
// dmDriverExtra stays within the bytes.
bool DevModeSound(const std::vector<std::uint8_t>& devMode);

// Sets each configured member and its dmFields bit (a custom size sets dmPaperSize 0).
void ApplyDevModeSettings(const DevModeSettings& settings, std::vector<std::uint8_t>& devMode);

// One configured member as wanted and as the DEVMODE holds it, for the read-back and /verify:
// name "PaperWidth", texts "60.0 mm".
struct DevModeField {
  std::u16string name;
  std::u16string wanted;
  std::u16string found;
  bool Same() const { return wanted == found; }
};
std::vector<DevModeField> CompareDevMode(const DevModeSettings& settings, const std::vector<std::uint8_t>& devMode);

// The public members a /savedefaults file sets, as settings (for comparing File= defaults).
DevModeSettings PublicSettingsOf(const std::vector<std::uint8_t>& devMode);

// The /savedefaults file: "PSDM", format version 1 (u16), the driver name's length in units
// (u16) and its UTF-16LE units, the DEVMODE's size (u32), then its bytes (public and private).
std::vector<std::uint8_t> DefaultsFileBytes(const std::u16string& driverName, const std::vector<std::uint8_t>& devMode);

struct DefaultsFile {
  std::u16string driverName;
  std::vector<std::uint8_t> devMode;
  std::optional<std::u16string> fault;  // why the bytes are no such file
};
DefaultsFile ReadDefaultsFile(const std::vector<std::uint8_t>& bytes);
