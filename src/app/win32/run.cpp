#include "app/win32/run.h"

#include "app/command_line.h"
#include "app/config_checks.h"
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
RunStart StartRun(const std::u16string& configFile) {
  Win32SystemInfo system;
  RunStart start;
  start.osBitness = GetOsBitness(system);
  LoadInstallContext(start.context, start.osBitness, configFile);
  start.arm64 = IsArm64System(system);
  start.languageButton = SelectStartLanguage(start.context, GetUserDefaultUILanguage());
  return start;
}

int RunQuiet(InstallContext& context, AppServices& services) {
  const int code = RunQuietInstall(context, services.Print(), services.Usb());
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
  const UninstallPlan plan = PlanUninstall(context, services.Print());
  if (plan.Empty()) {
    ShowMessage(0, Text(context, u"NothingToRemove"), kTitle);
    return kExitInstalled;
  }
  const std::u16string list = Describe(context, plan);
  if (!quiet && !AskYesNo(0, Text(context, u"UninstallAsk") + u"\r\n\r\n" + list, kTitle)) {
    return kExitClosedWithoutInstall;
  }
  if (!CarryOutUninstall(context, services.Print(), plan)) return kExitInstallFailed;
  ShowMessage(0, Text(context, u"Removed") + u"\r\n\r\n" + list, kTitle);
  return kExitInstalled;
}

int Run(HINSTANCE instance, const ParsedCommandLine& parsed, bool quiet) {
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
  RunStart start = StartRun(configFile);
  InstallContext& context = start.context;
  // Windows on ARM reports x64 to this process, but the x64 driver package and monitor cannot
  // serve its spooler. (The interactive wizard says so in the chosen language at Next.)
  if (start.arm64 && quiet) {
    ShowError(0, kErrorNotSupported, LookupTextIn(kEnglishTableIndex, u"Arm64NotSupported"));
    return kExitInstallFailed;
  }
  DebugTrace(u"Config %s", context.configPath);
  AppServices services(start.osBitness);
  if (parsed.line.uninstall) return RunRemoval(context, services, quiet);
  // The uninstall's log never named the width.
  DebugTrace(u"OS width %d", start.osBitness);
  if (quiet) return RunQuiet(context, services);
  Wizard wizard(instance, start, services);
  return wizard.Run();
}

}  // namespace

int RunFromCommandLine(HINSTANCE instance) {
  ParsedCommandLine parsed = ParseCommandLine(ProcessArguments());
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
  const bool quiet = parsed.line.quiet || !visible;
  Win32LogFiles files;
  std::unique_ptr<LogFile> file = OpenRunLog(files, parsed.line.logPath, quiet);
  Win32Clock clock;
  InstallLog log(clock, file.get());
  ScopedLogSinks sinks(log, quiet);
  log.Line(u"PrinterSetup " PRINTERSETUP_VERSION_TEXT);
  log.Line(u"Command line: " + U16(GetCommandLineW()));
  if (!visible) log.Line(u"No visible window station: running quiet");
  const int code = Run(instance, parsed, quiet);
  log.Result(code, parsed.line.uninstall && !parsed.error);
  return code;
}
