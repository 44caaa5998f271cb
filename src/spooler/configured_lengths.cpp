#include "spooler/configured_lengths.h"

#include "diag/diagnostics.h"
#include "spooler/print_system.h"

std::u16string InstallFolderTooLong(const std::u16string& folder) {
  return u"Install Folder Too Long: " + folder;
}

int CheckDriverLengths(const InstallContext& context, WindowHandle owner) {
  if (!DriverNamesFit(context.driverPrefix, context.languageCode)) {
    ShowError(owner, kErrorFilenameExcedRange, kPrefixTooLong);
    return 0;
  }
  if (!DriverPathsFit(context.installDir, context.setupDirName, context.languageCode, context.driverPrefix)) {
    ShowError(owner, kErrorFilenameExcedRange, InstallFolderTooLong(context.installDir));
    return 0;
  }
  return 1;
}

int CheckConfiguredLengths(const InstallContext& context, WindowHandle owner) {
  if (!CheckDriverLengths(context, owner)) return 0;
  if (!context.portMonitorName.empty()) {
    if (context.portNamePrefix.size() > kMaxPortNamePrefix) {
      ShowError(owner, kErrorFilenameExcedRange, kPortNamePrefixTooLong);
      return 0;
    }
    if (!MonitorSetupLaunch(context) || !DeletePrintJobsLaunch(context)) {
      ShowError(owner, kErrorFilenameExcedRange, InstallFolderTooLong(context.installDir));
      return 0;
    }
  }
  return 1;
}
