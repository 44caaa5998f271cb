#pragma once
// The network page's address as the road reads it: dotted decimal.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// address packed as the IPv4 address control packs it (first field in the top byte).
// Unless all four fields are filled the text is empty: a blank field reads as 0, and the port
// must not be named after an address nobody typed.
std::u16string Ipv4Text(std::uint32_t address, int filledFields);

// A dotted-decimal address ("192.168.1.200": four numbers 0 to 255, no blanks, no leading zeros,
// which some readers take for octal), packed as above; no value for anything else.
std::optional<std::uint32_t> ParseIpv4Address(std::u16string_view text);

// An address a printer can have: not 0.0.0.0 (no host), not 255.255.255.255 (broadcast), not
// multicast (224.0.0.0 to 239.255.255.255). Loopback is allowed.
bool IsPrinterAddress(std::uint32_t address);

// ParseIpv4Address, then IsPrinterAddress: no value for a text that is not a printer's address.
std::optional<std::uint32_t> ParsePrinterAddress(std::u16string_view text);

// The default address of the network page, a private one, packed the same way.
constexpr std::uint32_t kDefaultPrinterAddress = (192u << 24) | (168u << 16) | (1u << 8) | 200u;
