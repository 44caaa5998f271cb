#include "app/ipv4_text.h"

#include "diag/format.h"

std::u16string Ipv4Text(std::uint32_t address, int filledFields) {
  if (filledFields <= 0) return std::u16string();
  return FormatWide(16, u"%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu, (address >> 8) & 0xFFu,
                    address & 0xFFu);
}
