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

// How the choice of a printer name ended: a name, or why there is none.
enum class NameChoice { Chosen, TooLong, AllTaken };
struct ChosenPrinterName {
  NameChoice result = NameChoice::Chosen;
  std::u16string name;  // the chosen name; empty unless Chosen
  bool operator==(const ChosenPrinterName& o) const { return result == o.result && name == o.name; }
};

// The first of baseName, "baseName(2)" ... "baseName(254)" not taken (PrinterNameTaken); AllTaken
// when every one is, since adding a printer under a taken name would overwrite that printer. No
// list: baseName. TooLong when the chosen name would not fit its 260-unit buffer.
ChosenPrinterName ChooseUniquePrinterName(const std::u16string& baseName, const std::vector<PrinterInfo2>* printers);

// The failure's text when every name is taken: "No free printer name: <base> to <base>(254) are
// all taken."
std::u16string NoFreePrinterNameText(const std::u16string& baseName);
