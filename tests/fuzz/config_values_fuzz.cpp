// Values read from config.ini: the DATA multi-string split, each entry's name and value, the
// address, and the configuration checks over whatever the file held.
#include <cstdlib>

#include "app/config_checks.h"
#include "config/ipv4_text.h"
#include "config/load_install_context.h"
#include "config/texts.h"
#include "fuzz_input.h"
#include "config/printer_data.h"
#include "config/targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string text = fuzz::Units(data, size);
  const std::u16string entries = WholeSectionEntries(text, static_cast<std::uint32_t>(text.size()));
  // Every entry parsed keeps its name and value whole: joined again they are the entry.
  for (const PrinterDataEntry& entry : ParsePrinterData(entries)) {
    if (entries.find(entry.key + u"=" + entry.value) == std::u16string::npos) std::abort();
  }
  if (std::optional<std::uint32_t> address = ParseIpv4Address(text)) {
    if (ParseIpv4Address(Ipv4Text(*address, 4)) != address) std::abort();  // the round trip holds
  }
  // A range never ends before it starts; a pattern matches itself only where it has no wildcard.
  if (std::optional<Ipv4Range> range = ParseIpv4Range(text)) {
    if (range->last < range->first) std::abort();
  }
  const std::vector<std::u16string> values = fuzz::Pieces(text);
  if (values.size() >= 2) {
    MatchesWildcard(values[0], values[1]);
    if (values[0].find_first_of(u"*?") == std::u16string::npos && !MatchesWildcard(values[0], values[0])) std::abort();
    if (!MatchesWildcard(u"*", values[1])) std::abort();
    Target target;
    const std::vector<NamedValue> target_entries = ParsePrinterData(entries);
    if (!ParseTarget(values[0], target_entries, target) && target.computerNames.empty() && target.ranges.empty()) {
      std::abort();  // a target taken has a match key
    }
  }
  InstallContext context;
  SelectLanguage(context, u"ENG");
  const std::u16string* fields[] = {&context.printerBaseName, &context.driverPrefix, &context.printerAddress,
                                    &context.portMonitorName, &context.portNamePrefix, &context.filterUsbPort};
  for (std::size_t i = 0; i < values.size() && i < sizeof(fields) / sizeof(fields[0]); ++i) {
    *const_cast<std::u16string*>(fields[i]) = values[i].substr(0, kPathCapacity - 1);
  }
  for (WizardPage page : {WizardPage::Network, WizardPage::Usb}) {
    if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, page)) {
      if (RefusalText(context, *refusal).empty()) std::abort();
    }
  }
  return 0;
}
