#pragma once
// The PC's NetBIOS name (kernel32) and the IPv4 addresses of its adapters that are up
// (iphlpapi.dll, not a KnownDLL: loaded from the system directory when first asked).
#include "config/resolve_configuration.h"

class Win32MachineIdentity : public MachineIdentity {
 public:
  Machine Read() override;
};
