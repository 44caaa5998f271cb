// A printing-defaults file is untrusted input: read it, and read the same bytes as [DEVMODE] keys.
#include <cstdlib>

#include "config/load_install_context.h"
#include "fuzz_input.h"
#include "spooler/devmode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  const DefaultsFile file = ReadDefaultsFile(bytes);
  if (!file.fault) {
    // What was taken is written back byte for byte, and its DEVMODE holds together.
    if (DefaultsFileBytes(file.driverName, file.devMode) != bytes || !DevModeSound(file.devMode)) std::abort();
    std::vector<std::uint8_t> devMode = file.devMode;
    ApplyDevModeSettings(PublicSettingsOf(devMode), devMode);
    CompareDevMode(PublicSettingsOf(devMode), devMode);
  }
  const std::u16string text = fuzz::Units(data, size);
  const ParsedDevMode parsed =
      ParseDevModeSettings(ParsePrinterData(WholeSectionEntries(text, static_cast<std::uint32_t>(text.size()))));
  if (!parsed.refusal && parsed.settings.paperWidth.has_value() != parsed.settings.paperLength.has_value()) std::abort();
  return 0;
}
