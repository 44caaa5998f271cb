#include "spooler/monitor_names.h"


namespace {

constexpr std::size_t kCapacity = 260;

// Joined without a cut, or no value: a cut path would name a different file or handle.
std::optional<std::u16string> Fitting(std::u16string text) {
  if (text.size() >= kCapacity) return std::nullopt;
  return text;
}

std::optional<ToolLaunch> Launch(const InstallContext& context, std::u16string_view toolDir,
                                 std::u16string_view file, std::optional<std::u16string> parameters) {
  std::u16string directory = context.installDir + u"\\" + std::u16string(toolDir);
  std::optional<std::u16string> path = Fitting(directory + u"\\" + std::u16string(file));
  if (!path || directory.size() >= kCapacity) return std::nullopt;
  return ToolLaunch{*path, directory, std::move(parameters)};
}

}  // namespace

std::optional<std::u16string> MonitorHandleName(std::u16string_view monitorName) {
  return Fitting(u", XcvMonitor " + std::u16string(monitorName));
}

std::optional<std::u16string> PortHandleName(std::u16string_view portName) {
  return Fitting(u", XcvPort " + std::u16string(portName));
}

std::optional<ToolLaunch> MonitorSetupLaunch(const InstallContext& context) {
  return Launch(context, context.monitorDirName, kMonitorSetupFile, std::u16string(u"update"));
}

std::optional<ToolLaunch> DeletePrintJobsLaunch(const InstallContext& context) {
  return Launch(context, kUtilsDirName, kDeletePrintJobsFile, std::nullopt);
}

std::u16string InstallFolderTooLong(const std::u16string& folder) { return u"Install Folder Too Long: " + folder; }
