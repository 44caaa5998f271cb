#include "config/ipv4_text.h"

#include "diag/format.h"

std::u16string Ipv4Text(std::uint32_t address, int filledFields) {
  if (filledFields < 4) return std::u16string();
  return FormatWide(16, u"%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu, (address >> 8) & 0xFFu,
                    address & 0xFFu);
}

std::optional<std::uint32_t> ParseIpv4Address(std::u16string_view text) {
  std::uint32_t address = 0;
  std::size_t at = 0;
  for (int field = 0; field < 4; ++field) {
    if (field > 0) {
      if (at >= text.size() || text[at] != u'.') return std::nullopt;
      ++at;
    }
    const std::size_t start = at;
    std::uint32_t value = 0;
    while (at < text.size() && at - start < 3 && text[at] >= u'0' && text[at] <= u'9') {
      value = value * 10 + static_cast<std::uint32_t>(text[at] - u'0');
      ++at;
    }
    const std::size_t digits = at - start;
    if (digits == 0 || value > 255 || (digits > 1 && text[start] == u'0')) return std::nullopt;
    address = (address << 8) | value;
  }
  if (at != text.size()) return std::nullopt;
  return address;
}

bool IsPrinterAddress(std::uint32_t address) {
  const std::uint32_t first = address >> 24;
  const bool multicast = first >= 224 && first <= 239;
  return address != 0 && address != 0xFFFFFFFFu && !multicast;
}

std::optional<std::uint32_t> ParsePrinterAddress(std::u16string_view text) {
  const std::optional<std::uint32_t> address = ParseIpv4Address(text);
  if (!address || !IsPrinterAddress(*address)) return std::nullopt;
  return address;
}
