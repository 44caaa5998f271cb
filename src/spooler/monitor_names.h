#pragma once
// The spooler's names for monitor and port transaction handles, and the monitor's tools.
#include <optional>
#include <string>
#include <string_view>

#include "config/install_context.h"

inline constexpr char16_t kTcpIpMonitorHandleName[] = u", XcvMonitor Standard TCP/IP Port";
inline constexpr char16_t kAddPortCommand[] = u"AddPort";
inline constexpr char16_t kGetPortCommand[] = u"GetPort";
inline constexpr char16_t kDeletePortCommand[] = u"DeletePort";
inline constexpr char16_t kTcpIpMonitorName[] = u"Standard TCP/IP Port";

// ", XcvMonitor %s"; no value when the monitor name does not fit the 260-unit buffer with it.
std::optional<std::u16string> MonitorHandleName(std::u16string_view monitorName);
// ", XcvPort %s"; no value when the port name does not fit the 260-unit buffer with it.
std::optional<std::u16string> PortHandleName(std::u16string_view portName);

struct ToolLaunch {
  std::u16string file;       // "%s\\%s\\<tool>"
  std::u16string directory;  // "%s\\%s"
  std::optional<std::u16string> parameters;
};

inline constexpr char16_t kUtilsDirName[] = u"UTILS";
inline constexpr char16_t kMonitorSetupFile[] = u"MonitorSetup.exe";
inline constexpr char16_t kDeletePrintJobsFile[] = u"DeletePrintJobs.bat";

// "Install Folder Too Long: %s" with the folder: a path built from it would be cut.
std::u16string InstallFolderTooLong(const std::u16string& folder);

// MonitorSetup.exe "update" from monitorDirName; no value when a path would not fit 260 units.
std::optional<ToolLaunch> MonitorSetupLaunch(const InstallContext& context);
// DeletePrintJobs.bat from UTILS; no value when a path would not fit 260 units.
std::optional<ToolLaunch> DeletePrintJobsLaunch(const InstallContext& context);
