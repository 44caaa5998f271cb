#pragma once
// The runtime's number readings (strtol, wcstol, atoi) with the Windows runtime's 32-bit long,
// so that a reading gives the same value on every build.
#include <cstdint>

// strtol/wcstol: leading white space, an optional sign, in base 16 an optional 0x prefix, then
// digits up to the first non-digit; no digits give 0; the value clamps to the signed 32-bit range.
std::int32_t ReadLong(const char* text, int base);
std::int32_t ReadLong(const char16_t* text, int base);

// atoi: ReadLong in base 10.
std::int32_t ReadDecimal(const char* text);
