#pragma once
// The network page's address as the road reads it: dotted decimal.
#include <cstdint>
#include <string>

// address packed as the IPv4 address control packs it (first field in the top byte).
// No field filled in gives an empty text, so the port is not named after an address nobody typed.
std::u16string Ipv4Text(std::uint32_t address, int filledFields);

// The default address of the network page, a private one, packed the same way.
constexpr std::uint32_t kDefaultPrinterAddress = (192u << 24) | (168u << 16) | (1u << 8) | 200u;
