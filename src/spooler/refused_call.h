#pragma once
// Codes with which a spooler turns down a call or its flags as such, not the request made with it.
#include <cstdint>

// 87 (ERROR_INVALID_PARAMETER): a spooler that does not take the flags (Wine 8's
// DeletePrinterDriverExW takes no delete flag at all); 50 (ERROR_NOT_SUPPORTED) and 120
// (ERROR_CALL_NOT_IMPLEMENTED): a print provider without the call; 127 (ERROR_PROC_NOT_FOUND):
// a winspool.drv without the entry. The caller then makes the older call without flags.
inline bool SpoolerRefusedTheCall(std::uint32_t code) {
  return code == 87 || code == 50 || code == 120 || code == 127;
}

// 5 (ERROR_ACCESS_DENIED) from an open for administration (SERVER_ACCESS_ADMINISTER,
// PRINTER_ALL_ACCESS): this user may not change the spooler, so no later step can either.
inline bool AdministrationDenied(std::uint32_t code) { return code == 5; }
