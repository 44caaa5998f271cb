#include "spooler/print_system.h"

#include <algorithm>

#include "diag/diagnostics.h"
#include "spooler/configured_lengths.h"

namespace {

void RunTool(PrintPlatform& platform, const std::optional<ToolLaunch>& launch, const InstallContext& context,
             WindowHandle owner) {
  if (!launch) {
    // A cut path would start some other file.
    ShowError(owner, kErrorFilenameExcedRange, InstallFolderTooLong(context.installDir));
    return;
  }
  ShellExecuteInfo info;
  info.fMask = kSeeMaskNoCloseProcess;
  info.hwnd = owner;
  info.lpVerb = u"open";
  info.lpFile = launch->file;
  info.lpParameters = launch->parameters;
  info.lpDirectory = launch->directory;
  info.nShow = kSwHide;
  if (!platform.shell.ShellExecuteExW(info)) return;
  // The shell may start nothing of its own (a document handled by a running program).
  if (!info.hProcess) return;
  platform.shell.WaitForSingleObject(info.hProcess, kInfinite);
  platform.shell.CloseHandle(info.hProcess);
}

}  // namespace

void RunMonitorSetup(const InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  RunTool(platform, MonitorSetupLaunch(context), context, owner);
}

void RunDeletePrintJobs(const InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  RunTool(platform, DeletePrintJobsLaunch(context), context, owner);
}

int QueryMonitorPort(PrintPlatform& platform, const std::u16string& port, CustomPortRecord& answer) {
  platform.lastError.SetLastError(0);
  // A port whose handle name would be cut cannot be asked; it is not the monitor's.
  std::optional<std::u16string> handleName = PortHandleName(port);
  if (!handleName) return 0;
  PrinterHandle handle = 0;
  if (!platform.spooler.OpenPrinterW(*handleName, handle, kServerAccessAdminister)) return 0;
  std::vector<std::uint8_t> output(answer.size(), 0);
  std::uint32_t needed = 0;
  std::uint32_t status = 0;
  bool answered = platform.spooler.XcvDataW(handle, kGetPortCommand, TextBytes(port), output, needed, status);
  std::copy_n(output.begin(), std::min(output.size(), answer.size()), answer.begin());
  platform.spooler.ClosePrinter(handle);
  return answered && status == 0 ? 1 : 0;
}

int GetPrinterJobCount(PrintPlatform& platform, const std::u16string& printer, std::uint32_t& jobCount) {
  // A cut name would open another printer.
  if (printer.size() >= kNameCapacity) return 0;
  PrinterHandle handle = 0;
  if (!platform.spooler.OpenPrinterW(printer, handle, kPrinterAllAccess)) return 0;
  int result = 0;
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  SpoolResult sized = platform.spooler.GetPrinterW(handle, 2, 0, info, needed);
  if (sized == SpoolResult::Failed && platform.lastError.GetLastError() == kErrorInsufficientBuffer && needed > 0) {
    std::uint32_t size = needed;
    if (platform.spooler.GetPrinterW(handle, 2, size, info, needed) == SpoolResult::Succeeded) {
      jobCount = info.cJobs;
      result = 1;
    }
  }
  platform.spooler.ClosePrinter(handle);
  return result;
}

int HasPendingJobsOnMonitorPorts(PrintPlatform& platform) {
  std::vector<PrinterInfo2> printers;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  SpoolResult sized = platform.spooler.EnumPrintersW(kPrinterEnumLocal, std::nullopt, 2, 0, printers, needed, returned);
  if (sized != SpoolResult::Failed || platform.lastError.GetLastError() != kErrorInsufficientBuffer || needed == 0) {
    return 0;
  }
  std::uint32_t size = needed;
  if (platform.spooler.EnumPrintersW(kPrinterEnumLocal, std::nullopt, 2, size, printers, needed, returned) !=
      SpoolResult::Succeeded) {
    return 0;
  }
  CustomPortRecord answer{};
  for (const PrinterInfo2& printer : printers) {
    if (!QueryMonitorPort(platform, printer.portName, answer)) continue;
    std::uint32_t count = 0;
    if (GetPrinterJobCount(platform, printer.printerName, count) && count > 0) return 1;
  }
  return 0;
}
