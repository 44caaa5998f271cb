#pragma once
// The preflight's seams over the service manager (advapi32), the clock, the process token, the
// printers' policy keys and, where the system has it, the WinRT protected-print status (combase,
// loaded from the system directory).
#include "app/preflight.h"

class Win32SpoolerService : public SpoolerService {
 public:
  ServiceState Query() override;
  Status Start() override;
};

class Win32Pause : public Pause {
 public:
  std::uint64_t NowMs() override;
  void Sleep(std::uint32_t milliseconds) override;
};

class Win32SystemProbe : public SystemProbe {
 public:
  SystemFacts Facts() override;
};
