// The free printer name and the next numbered port over any lists the spooler could give: the
// chosen name is never one already taken (as the spooler compares names).
#include <cstdlib>

#include "fuzz_input.h"
#include "spooler/name_compare.h"
#include "spooler/port_records.h"
#include "spooler/printer_names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::u16string> pieces = fuzz::Pieces(fuzz::Units(data, size));
  const std::u16string base = pieces.front().substr(0, 40);
  std::vector<PrinterInfo2> printers;
  std::vector<PortInfo> ports;
  for (std::size_t i = 1; i < pieces.size(); ++i) {
    PrinterInfo2 printer;
    printer.printerName = pieces[i];
    printers.push_back(printer);
    PortInfo port;
    port.portName = pieces[i];
    ports.push_back(port);
  }
  const ChosenPrinterName chosen = ChooseUniquePrinterName(base, &printers);
  if (chosen.result == NameChoice::Chosen && PrinterNameTaken(printers, chosen.name) != 0) std::abort();
  if (chosen.result == NameChoice::AllTaken && PrinterNameTaken(printers, base) == 0) std::abort();
  ChooseMonitorPortName(base, &ports);
  return 0;
}
