#pragma once
// What a run checks before its first change, in every mode: the Print Spooler service is
// running (started when stopped, never enabled when disabled), Windows protected print mode is
// off, the process may administer printers. Each check is one log line.
#include <cstdint>
#include <string>
#include <vector>

#include "app/install_road.h"
#include "config/install_context.h"
#include "diag/read.h"
#include "spooler/spooler.h"

enum class ServiceStart { Disabled, Other };
enum class ServiceRun { Stopped, Pending, Running };

struct ServiceState {
  Status status;  // the service manager or the service could not be asked
  ServiceStart start = ServiceStart::Other;
  ServiceRun run = ServiceRun::Running;
  std::uint32_t waitHintMs = 0;
};

class SpoolerService {
 public:
  virtual ~SpoolerService() = default;
  virtual ServiceState Query() = 0;
  virtual Status Start() = 0;
};

// Time as the preflight waits in it: a fake clock in the tests.
class Pause {
 public:
  virtual ~Pause() = default;
  virtual std::uint64_t NowMs() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};

// What the system says about itself, asked once.
struct SystemFacts {
  std::u16string windowsVersion;  // "10.0.26100"
  std::u16string account;         // "SYSTEM" or the user's name
  bool elevated = true;
  bool system = false;
  bool protectedPrint = false;
  std::u16string protectedPrintSource;  // how it was learnt
  std::vector<std::u16string> policyValues;  // "<name>=<value>" found under the printers' policies
};

class SystemProbe {
 public:
  virtual ~SystemProbe() = default;
  virtual SystemFacts Facts() = 0;
};

enum class RunMode { Interactive, Quiet, Uninstall, Verify };

constexpr int kExitPlatformUnsupported = 1633;  // ERROR_INSTALL_PLATFORM_UNSUPPORTED
constexpr std::uint32_t kDefaultSpoolerWaitSeconds = 60;

struct PreflightSeams {
  SpoolerService& service;
  Pause& pause;
  SystemProbe& system;
  Spooler& spooler;  // its first call is retried while the spooler's RPC endpoint comes up
};

// exitCode 0: go on. Otherwise the text was shown (a box, or the log's box line), and
// resultWord names the reason for the log's result line.
struct Preflight {
  int exitCode = 0;
  std::u16string resultWord;
  bool ok() const { return exitCode == 0; }
};

// [ARGS] SpoolerWait in seconds; no value when it is not a number from 0 to 3600.
std::optional<std::uint32_t> SpoolerWaitSeconds(const InstallContext& context);

Preflight RunPreflight(RunMode mode, const InstallContext& context, PreflightSeams seams);
