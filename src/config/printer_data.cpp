#include "config/printer_data.h"

std::optional<PrinterDataEntry> SplitPrinterDataEntry(std::u16string_view entry) {
  const std::size_t sign = entry.find(u'=');
  if (sign == std::u16string_view::npos) return std::nullopt;
  return PrinterDataEntry{std::u16string(entry.substr(0, sign)), std::u16string(entry.substr(sign + 1))};
}

std::vector<std::u16string> SplitEntries(std::u16string_view entries) {
  std::vector<std::u16string> items;
  std::size_t start = 0;
  while (start < entries.size() && entries[start] != u'\0') {
    std::size_t end = entries.find(u'\0', start);
    if (end == std::u16string_view::npos) end = entries.size();
    items.emplace_back(entries.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

std::vector<PrinterDataEntry> ParsePrinterData(std::u16string_view entries) {
  std::vector<PrinterDataEntry> parsed;
  for (const std::u16string& item : SplitEntries(entries)) {
    if (std::optional<PrinterDataEntry> entry = SplitPrinterDataEntry(item)) parsed.push_back(std::move(*entry));
  }
  return parsed;
}
