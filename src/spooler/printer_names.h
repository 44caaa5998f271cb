#pragma once
// Choosing a printer name no local printer has.
#include <optional>
#include <string>
#include <vector>

#include "spooler/spooler.h"

constexpr int kLastPrinterNumber = 254;

// 1 when some record's printer name is name without regard to letter case (the spooler's rule:
// "label printer" takes "Label Printer"), else 0.
int PrinterNameTaken(const std::vector<PrinterInfo2>& printers, const std::u16string& name);

// The first of baseName, "baseName(2)" ... "baseName(254)" not taken (PrinterNameTaken); the
// last when all are. No list: baseName. No value when the chosen name would not fit its
// 260-unit buffer.
std::optional<std::u16string> ChooseUniquePrinterName(const std::u16string& baseName,
                                                      const std::vector<PrinterInfo2>* printers);
