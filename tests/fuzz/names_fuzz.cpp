// The free printer name and the next numbered port over any lists the spooler could give: the
// chosen name is never one already taken (as the spooler compares names) unless all are.
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
  if (std::optional<std::u16string> chosen = ChooseUniquePrinterName(base, &printers)) {
    bool taken = PrinterNameTaken(printers, *chosen) != 0;
    bool last = chosen->size() >= 5 && chosen->compare(chosen->size() - 5, 5, u"(254)") == 0;
    if (taken && !last) std::abort();
  }
  ChooseMonitorPortName(base, &ports);
  return 0;
}
