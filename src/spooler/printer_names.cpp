#include "spooler/printer_names.h"

#include "diag/format.h"
#include "spooler/driver_files.h"
#include "spooler/name_compare.h"

int PrinterNameTaken(const std::vector<PrinterInfo2>& printers, const std::u16string& name) {
  for (const PrinterInfo2& printer : printers) {
    if (SameNameIgnoringCase(printer.printerName, name)) return 1;
  }
  return 0;
}

std::optional<std::u16string> ChooseUniquePrinterName(const std::u16string& baseName,
                                                      const std::vector<PrinterInfo2>* printers) {
  // A name the buffer would cut is a different printer's name: refuse it instead.
  auto fits = [](const std::u16string& name) { return name.size() < kPathCapacity; };
  if (!fits(baseName)) return std::nullopt;
  if (!printers || !PrinterNameTaken(*printers, baseName)) return baseName;
  std::u16string candidate;
  for (int n = 2; n <= kLastPrinterNumber; ++n) {
    candidate = baseName + FormatWide(16, u"(%d)", n);
    if (!fits(candidate)) return std::nullopt;
    if (!PrinterNameTaken(*printers, candidate)) return candidate;
  }
  return candidate;
}
