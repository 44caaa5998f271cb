#pragma once
// The [DATA] section's name=value entries, as the printer gets them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct PrinterDataEntry {
  std::u16string key;
  std::u16string value;
  bool operator==(const PrinterDataEntry& other) const { return key == other.key && value == other.value; }
};

// Split at the first "="; no value when the entry carries no data.
std::optional<PrinterDataEntry> SplitPrinterDataEntry(std::u16string_view entry);

// The items of a multi-string (each ended by NUL, the list by an empty one, or by its end), in order.
std::vector<std::u16string> SplitEntries(std::u16string_view entries);

// The entries of a multi-string (each ended by NUL, the list by an empty one, or by its end),
// in order; one without "=" carries no data and is left out.
std::vector<PrinterDataEntry> ParsePrinterData(std::u16string_view entries);
