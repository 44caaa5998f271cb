#include "app/win32/run.h"

#include "app/command_line.h"
#include "app/config_checks.h"
#include "app/install_records.h"
#include "app/install_road.h"
#include "app/quiet_install.h"
#include "app/start_up.h"
#include "app/win32/app_services.h"
#include "app/win32/command_line_win.h"
#include "app/win32/session_win.h"
#include "app/win32/wizard.h"
#include "config/config_file.h"
#include "config/load_install_context.h"
#include "config/os_platform.h"
#include "config/texts.h"
#include "config/win32/file_probe_win.h"
#include "config/win32/install_context_win.h"
#include "config/win32/module_path_win.h"
#include "config/win32/system_info_win.h"
#include "diag/diagnostics.h"
#include "diag/install_log.h"
#include "diag/log_sinks.h"
#include "diag/win32/install_log_win.h"
#include "diag/win32/wide.h"
#include "app/uninstall_report.h"
#include "app/verify.h"
#include "config/load_install_context.h"
#include "spooler/printing_defaults.h"
#include "app/preflight.h"
#include "app/win32/preflight_win.h"
#include "version.h"

namespace {

constexpr int kExitAlreadyRunning = 1618;    // ERROR_INSTALL_ALREADY_RUNNING
constexpr std::uint32_t kErrorNotSupported = 50;
const std::u16string kTitle = u"PrinterSetup";

// The running exe and its folder; both empty when the path is unknown or too long to be whole.
struct ProgramPaths {
  std::u16string program;
  std::u16string folder;
};
ProgramPaths FindProgramPaths() {
  Win32ModulePath module;
  ProgramPaths paths;
  const std::uint32_t length = module.GetModuleFileNameW(paths.program, kPathCapacity);
  if (length == 0 || length >= kPathCapacity) return {};
  paths.folder = paths.program;
  module.PathRemoveFileSpecW(paths.folder);
  return paths;
}

// The one start-up of a run: config.ini read once, the system asked once.
RunStart StartRun(const CommandLine& line) {
  Win32SystemInfo system;
  RunStart start;
  start.osBitness = GetOsBitness(system);
  LoadInstallContext(start.context, start.osBitness, line.configPath.value_or(u"config.ini"));
  start.resolution = ResolveInstallContext(start.context, line.values, line.showConfig);
  start.arm64 = IsArm64System(system);
  start.languageButton = SelectStartLanguage(start.context, GetUserDefaultUILanguage());
  return start;
}

int RunQuiet(InstallContext& context, AppServices& services) {
  const int code = RunQuietInstall(context, services.Print(), services.Usb(), services.MarkInstalled(context));
  DebugTrace(u"Language %s", context.languageCode);
  return code;
}

std::u16string Text(const InstallContext& context, const char16_t* key) {
  const char16_t* text = LookupText(context, key);
  return text ? text : u"";
}

// What an uninstall removes, one line each, in the current language.
std::u16string Describe(const InstallContext& context, const UninstallPlan& plan) {
  std::u16string list;
  for (const std::u16string& printer : plan.printers) list += Text(context, u"ListPrinter") + printer + u"\r\n";
  for (const std::u16string& port : plan.ports) list += Text(context, u"ListPort") + port + u"\r\n";
  for (const auto& [environment, driver] : plan.drivers) {
    list += Text(context, u"ListDriver") + driver + u" (" + environment + u")\r\n";
  }
  return list;
}

// Removes what this configuration installs: asks first unless quiet; 1602 when the user says no.
int RunRemoval(const InstallContext& context, AppServices& services, bool quiet) {
  // The names must be sound before anything is matched against them.
  if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, WizardPage::Network)) {
    ShowError(0, RefusalCode(*refusal), RefusalText(context, *refusal));
    return kExitInstallFailed;
  }
  Registry& registry = services.MachineRegistry();
  const UninstallPlan plan = PlanUninstall(context, services.Print(), RecordedPorts(registry));
  if (plan.Empty()) {
    SettleRecords(registry, plan, {});
    ShowMessage(0, Text(context, u"NothingToRemove"), kTitle);
    return kExitInstalled;
  }
  const std::u16string list = Describe(context, plan);
  if (!quiet && !AskYesNo(0, Text(context, u"UninstallAsk") + u"\r\n\r\n" + list, kTitle)) {
    return kExitClosedWithoutInstall;
  }
  if (!CarryOutUninstall(context, services.Print(), plan, registry)) return kExitInstallFailed;
  ShowMessage(0, Text(context, u"Removed") + u"\r\n\r\n" + list, kTitle);
  return kExitInstalled;
}

// One line for a caller that redirected the standard output; nothing when there is none.
void WriteOutputLine(const std::u16string& line) {
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (!out || out == INVALID_HANDLE_VALUE) return;
  const std::string utf8 = Utf8FromUtf16(line) + "\r\n";
  DWORD written = 0;
  WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

int RunVerification(const InstallContext& context, AppServices& services, InstallLog& log) {
  const Verification verification = Verify(context, services.Print(), services.Usb());
  for (const std::u16string& line : verification.lines) log.Line(line);
  if (!verification.outputLine.empty()) WriteOutputLine(verification.outputLine);
  return verification.exitCode;
}

// /showconfig: what this run would use, and whether the configuration would be taken.
int ShowConfiguration(const InstallContext& context, const Resolution& resolution, InstallLog& log) {
  for (const std::u16string& line : ShowConfigLines(resolution)) {
    log.Line(line);
    WriteOutputLine(line);
  }
  if (resolution.targetError || resolution.NoTargetMatched()) return JudgeResolution(context, resolution).exitCode;
  const WizardPage page = PageForPortType(context.defaultPortType);
  if (std::optional<ConfigRefusal> refusal = FindConfigRefusal(context, page)) {
    ShowError(0, RefusalCode(*refusal), RefusalText(context, *refusal));
    return kExitInstallFailed;
  }
  const Outcome lengths = CheckConfiguredLengths(context);
  ShowOutcome(0, lengths);
  return lengths.ok() ? kExitInstalled : kExitInstallFailed;
}

// resultWord: set when the log's result line must say more than the exit code's word.
int Run(HINSTANCE instance, const ParsedCommandLine& parsed, bool quiet, InstallLog& log, std::u16string& resultWord) {
  if (parsed.error) {
    ShowMessage(0, *parsed.error + u"\r\n\r\n" + UsageText(), kTitle);
    return kExitInvalidCommandLine;
  }
  if (parsed.line.help) {
    ShowMessage(0, UsageText(), kTitle);
    return kExitInstalled;
  }
  InstallMutex mutex;
  if (!mutex.Taken()) {
    ShowMessage(0, LockRefusalText(mutex.Outcome()), kTitle);
    return kExitAlreadyRunning;
  }
  DebugTrace(mutex.Outcome().privateNamespace ? u"Install lock in a private namespace" : u"Install lock under a global name");
  const std::u16string configFile = parsed.line.configPath.value_or(u"config.ini");
  // Judged before it is read: a named configuration that is not there must not turn into an
  // install with defaults, nor one that is a folder, a device or locked into "PrnName is empty".
  Win32FileProbe probe;
  const Outcome configFault =
      CheckConfigFile(probe, InstallerFilePath(FindProgramPaths().folder, configFile), parsed.line.configPath.has_value());
  if (!configFault.ok()) {
    ShowOutcome(0, configFault);
    return kExitInstallFailed;
  }
  RunStart start = StartRun(parsed.line);
  InstallContext& context = start.context;
  // Windows on ARM reports x64 to this process, but the x64 driver package and monitor cannot
  // serve its spooler. (The interactive wizard says so in the chosen language at Next.)
  if (start.arm64 && quiet) {
    ShowError(0, kErrorNotSupported, LookupTextIn(kEnglishTableIndex, u"Arm64NotSupported"));
    return kExitPlatformUnsupported;
  }
  DebugTrace(u"Config %s", context.configPath);
  if (parsed.line.showConfig) return ShowConfiguration(context, start.resolution, log);
  const ResolutionVerdict verdict = JudgeResolution(context, start.resolution);
  if (!verdict.goOn) return verdict.exitCode;
  AppServices services(start.osBitness);
  const RunMode mode = parsed.line.uninstall ? RunMode::Uninstall
                       : parsed.line.verify  ? RunMode::Verify
                       : quiet               ? RunMode::Quiet
                                             : RunMode::Interactive;
  Win32SpoolerService service;
  Win32Pause pause;
  Win32SystemProbe system;
  const Preflight preflight = RunPreflight(mode, context, {service, pause, system, services.Print().spooler});
  if (!preflight.ok()) {
    resultWord = preflight.resultWord;
    return preflight.exitCode;
  }
  if (parsed.line.uninstall) return RunRemoval(context, services, quiet);
  if (parsed.line.verify) return RunVerification(context, services, log);
  if (parsed.line.saveDefaultsPath) {
    const std::u16string& file = *parsed.line.saveDefaultsPath;
    const Outcome saved = SavePrintingDefaults(services.Print(), context.printerBaseName,
                                               IsFullPath(file) ? file : context.installDir + u"\\" + file);
    ShowOutcome(0, saved);
    return saved.ok() ? kExitInstalled : kExitInstallFailed;
  }
  // The uninstall's log never named the width.
  DebugTrace(u"OS width %d", start.osBitness);
  if (quiet) return RunQuiet(context, services);
  Wizard wizard(instance, start, services);
  return wizard.Run();
}

}  // namespace

int RunFromCommandLine(HINSTANCE instance) {
  const std::vector<std::u16string> arguments = ProcessArguments();
  ParsedCommandLine parsed = ParseCommandLine(arguments);
  // A log into the configuration would be read back as its values, one over the exe would
  // destroy it: refused as a command-line error before a line is written (a quiet run then
  // logs where it logs without /log).
  if (!parsed.error && parsed.line.logPath) {
    Win32FileProbe probe;
    const ProgramPaths paths = FindProgramPaths();
    // A relative log goes beside the exe, as a relative /config is read from there.
    parsed.line.logPath = LogFilePath(paths.folder, *parsed.line.logPath);
    const std::u16string configPath = InstallerFilePath(paths.folder, parsed.line.configPath.value_or(u"config.ini"));
    if (std::optional<std::u16string> refusal = LogTargetRefusal(probe, *parsed.line.logPath, configPath, paths.program)) {
      parsed.error = *refusal;
      parsed.line.logPath.reset();
    }
  }
  // Nobody sees a window station that is not visible (session 0 under SYSTEM): a window or a box
  // there would wait for ever, so such a run is quiet whatever the command line says.
  const bool visible = WindowStationVisible();
  // A verification never shows a box: a detection script waits on nobody.
  // A wrong command line that meant to be quiet must not wait on a usage box either.
  const bool quiet = parsed.line.quiet || parsed.line.verify || parsed.line.showConfig || parsed.line.saveDefaultsPath ||
                     (parsed.error && AsksForQuiet(arguments)) || !visible;
  Win32LogFiles files;
  std::unique_ptr<LogFile> file = OpenRunLog(files, parsed.line.logPath, quiet);
  Win32Clock clock;
  InstallLog log(clock, file.get());
  ScopedLogSinks sinks(log, quiet);
  log.Line(u"PrinterSetup " PRINTERSETUP_VERSION_TEXT);
  log.Line(u"Command line: " + U16(GetCommandLineW()));
  if (!visible) log.Line(u"No visible window station: running quiet");
  std::u16string resultWord;
  const int code = Run(instance, parsed, quiet, log, resultWord);
  RunKind kind = RunKind::Install;
  if (!parsed.error && parsed.line.uninstall) kind = RunKind::Removal;
  if (!parsed.error && parsed.line.verify) kind = RunKind::Verification;
  log.Result(code, kind, resultWord);
  return code;
}
