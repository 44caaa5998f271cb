#include "app/preflight.h"

#include <algorithm>

#include "app/install_road.h"
#include "config/texts.h"
#include "diag/diagnostics.h"

namespace {

constexpr std::uint32_t kRpcServerUnavailable = 1722;  // RPC_S_SERVER_UNAVAILABLE
constexpr std::uint32_t kRpcServerTooBusy = 1723;      // RPC_S_SERVER_TOO_BUSY
constexpr std::uint32_t kRpcCallFailed = 1726;         // RPC_S_CALL_FAILED
constexpr std::uint32_t kLongestWaitSeconds = 3600;

std::u16string Text(const InstallContext& context, const char16_t* key) {
  const char16_t* text = LookupText(context, key);
  return text ? text : u"";
}

Preflight Refuse(int code, const char16_t* word, const std::u16string& text) {
  ShowMessage(0, text, std::u16string(u"PrinterSetup"));
  return {code, word};
}

bool SpoolerNotListening(std::uint32_t code) {
  return code == kRpcServerUnavailable || code == kRpcServerTooBusy || code == kRpcCallFailed;
}

// Started when stopped; true once it runs and answers, within limitMs.
bool SpoolerReady(PreflightSeams& seams, std::uint64_t limitMs, ServiceState state) {
  const std::uint64_t start = seams.pause.NowMs();
  const auto elapsed = [&] { return seams.pause.NowMs() - start; };
  if (state.status && state.run == ServiceRun::Stopped) {
    const Status started = seams.service.Start();
    DebugTrace(started ? u"Preflight: Print Spooler stopped, started" : u"Preflight: StartService Failed With %u",
               started.code);
  }
  while (state.status && state.run != ServiceRun::Running) {
    if (elapsed() >= limitMs) return false;
    // The service's own hint, within 1 to 10 s, and never past the limit.
    const std::uint64_t step = std::clamp<std::uint64_t>(state.waitHintMs / 10, 1000, 10000);
    seams.pause.Sleep(static_cast<std::uint32_t>(std::min(step, limitMs - elapsed())));
    state = seams.service.Query();
  }
  // Running by the service manager's word; its endpoint may come up a moment later. The cheapest
  // call that needs the spooler asks: a listing of a crowded spooler would cost seconds.
  while (true) {
    const Read<std::u16string> answer = seams.spooler.DriverDirectory(u"Windows NT x86");
    if (answer || !SpoolerNotListening(answer.code)) break;
    if (elapsed() >= limitMs) return false;
    seams.pause.Sleep(static_cast<std::uint32_t>(std::min<std::uint64_t>(1000, limitMs - elapsed())));
  }
  DebugTrace(u"Preflight: Print Spooler ready after %u ms", static_cast<std::uint32_t>(elapsed()));
  return true;
}

}  // namespace

std::optional<std::uint32_t> SpoolerWaitSeconds(const InstallContext& context) {
  if (context.spoolerWait.empty()) return kDefaultSpoolerWaitSeconds;
  if (context.spoolerWait.size() > 4) return std::nullopt;
  std::uint32_t seconds = 0;
  for (char16_t c : context.spoolerWait) {
    if (c < u'0' || c > u'9') return std::nullopt;
    seconds = seconds * 10 + (c - u'0');
  }
  if (seconds > kLongestWaitSeconds) return std::nullopt;
  return seconds;
}

Preflight RunPreflight(RunMode mode, const InstallContext& context, PreflightSeams seams) {
  const std::optional<std::uint32_t> waitSeconds = SpoolerWaitSeconds(context);
  if (!waitSeconds) {
    ShowError(0, 87, u"config.ini: SpoolerWait must be a number of seconds from 0 to 3600. Nothing was changed.");
    return {kExitInstallFailed, u"failed"};
  }

  const SystemFacts facts = seams.system.Facts();
  DebugTrace(u"Windows %s, account %s, %s", facts.windowsVersion, facts.account,
             facts.system ? u"SYSTEM" : facts.elevated ? u"elevated" : u"not elevated");
  DebugTrace(u"Protected print mode %s (%s)", facts.protectedPrint ? u"on" : u"off", facts.protectedPrintSource);
  for (const std::u16string& value : facts.policyValues) DebugTrace(u"Printer policy %s", value);

  if (!facts.elevated && !facts.system) return Refuse(kExitInstallFailed, u"not-elevated", Text(context, u"NotElevated"));

  const ServiceState state = seams.service.Query();
  if (!state.status) {
    DebugTrace(u"Preflight: Print Spooler service not queried (error %u)", state.status.code);
  } else if (state.start == ServiceStart::Disabled) {
    DebugTrace(u"Preflight: Print Spooler service disabled");
    return Refuse(kExitInstallFailed, u"spooler-disabled", Text(context, u"SpoolerDisabled"));
  }
  if (!SpoolerReady(seams, std::uint64_t{*waitSeconds} * 1000, state)) {
    const char16_t* format = LookupText(context, u"SpoolerNotStarted");
    return Refuse(kExitInstallFailed, u"spooler-unavailable", FormatWide(kTraceCapacity, format ? format : u"%u", *waitSeconds));
  }

  if (facts.protectedPrint) {
    // Nothing is installed by these: they may still look and take away.
    if (mode == RunMode::Uninstall || mode == RunMode::Verify) {
      DebugTrace(u"Preflight: protected print mode is on");
      return {};
    }
    return Refuse(kExitPackageRejected, u"blocked-by-policy", Text(context, u"ProtectedPrintOn"));
  }
  return {};
}
