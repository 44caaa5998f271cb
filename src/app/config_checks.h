#pragma once
// Configuration that would corrupt the spooler, or that could only be taken half-guessed, is
// refused before a road changes anything: one box naming the key and what is wrong.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/navigation.h"
#include "config/install_context.h"
#include "diag/read.h"

// SectionTooLong: the section did not fit the reader's buffer; NameTooLong: a name in the
// section is longer than the limit.
enum class ConfigFault { Empty, TooLong, BadName, BadPrinterName, BadAddress, SectionTooLong, NameTooLong };

struct ConfigRefusal {
  const char16_t* key = u"";  // the key as config.ini spells it
  ConfigFault fault = ConfigFault::Empty;
  std::uint32_t limit = 0;    // TooLong, SectionTooLong, NameTooLong: the most characters allowed

  bool operator==(const ConfigRefusal& o) const {
    return std::u16string_view(key) == o.key && fault == o.fault && limit == o.limit;
  }
};

// The local spooler refuses printer names longer than 220 characters (ERROR_INVALID_PRINTER_NAME),
// and a taken name gets a suffix of up to five, "(254)".
constexpr std::size_t kMaxPrinterName = 220;
constexpr std::size_t kMaxPrinterBaseName = kMaxPrinterName - 5;
// A printer-data value name must fit the 260-unit name buffer with its terminator.
constexpr std::size_t kMaxPrinterDataName = 259;

// Letters, digits, '_' and '-' (ASCII): what may go into file, driver and port names unquoted.
bool IsPlainName(std::u16string_view text);

// The first problem of the configuration for a road from this page, or none.
std::optional<ConfigRefusal> FindConfigRefusal(const InstallContext& context, WizardPage page);

// The box of a refusal: its text in the current language, and the error code shown with it.
std::u16string RefusalText(const InstallContext& context, const ConfigRefusal& refusal);
std::uint32_t RefusalCode(const ConfigRefusal& refusal);

// The address typed on the network page, refused as config.ini's IPAddress is when it is no
// address a printer can have (ParsePrinterAddress): its box (code 87), or ok. Ok for every other
// page and for an empty text (an incomplete control, which the road asks to complete).
Outcome CheckTypedAddress(const InstallContext& context, WizardPage page, std::u16string_view typed);

// Values that would be cut in the name and path buffers they are built into: Prefix and the
// install folder for the driver package (PrnName is judged once the name is chosen), then, with a
// port monitor, PortNamePrefix and the tools' paths. The first one's box (code 206), or ok.
Outcome CheckConfiguredLengths(const InstallContext& context);
