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

ChosenPrinterName ChooseUniquePrinterName(const std::u16string& baseName, const std::vector<PrinterInfo2>* printers) {
  // A name the buffer would cut is a different printer's name: refuse it instead.
  auto fits = [](const std::u16string& name) { return name.size() < kPathCapacity; };
  const ChosenPrinterName tooLong{NameChoice::TooLong, {}};
  if (!fits(baseName)) return tooLong;
  if (!printers || !PrinterNameTaken(*printers, baseName)) return {NameChoice::Chosen, baseName};
  for (int n = 2; n <= kLastPrinterNumber; ++n) {
    std::u16string candidate = baseName + FormatWide(16, u"(%d)", n);
    if (!fits(candidate)) return tooLong;
    if (!PrinterNameTaken(*printers, candidate)) return {NameChoice::Chosen, std::move(candidate)};
  }
  return {NameChoice::AllTaken, {}};
}

std::u16string NoFreePrinterNameText(const std::u16string& baseName) {
  return FormatWide(2 * kPathCapacity + 64, u"No free printer name: %s to %s(%d) are all taken.", baseName, baseName,
                    kLastPrinterNumber);
}
