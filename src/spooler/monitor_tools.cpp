#include "spooler/print_system.h"

#include <algorithm>

#include "diag/diagnostics.h"
#include "spooler/ask_size_then_fill.h"
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
  ScopedProcessHandle process(platform.shell, info.hProcess);
  // The shell may start nothing of its own (a document handled by a running program).
  if (!process) return;
  platform.shell.WaitForSingleObject(process.get(), kInfinite);
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
  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(*handleName, opened, kServerAccessAdminister)) return 0;
  ScopedPrinterHandle handle(platform.spooler, opened);
  std::vector<std::uint8_t> output(answer.size(), 0);
  std::uint32_t needed = 0;
  std::uint32_t status = 0;
  bool answered = platform.spooler.XcvDataW(handle.get(), kGetPortCommand, TextBytes(port), output, needed, status);
  std::copy_n(output.begin(), std::min(output.size(), answer.size()), answer.begin());
  return answered && status == 0 ? 1 : 0;
}

int GetPrinterJobCount(PrintPlatform& platform, const std::u16string& printer, std::uint32_t& jobCount) {
  // A cut name would open another printer.
  if (printer.size() >= kNameCapacity) return 0;
  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(printer, opened, kPrinterAllAccess)) return 0;
  ScopedPrinterHandle handle(platform.spooler, opened);
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized = platform.spooler.GetPrinterW(handle.get(), 2, 0, info, needed);
        return SpoolerSizeAnswer(sized, platform.lastError, needed);
      },
      [&](std::uint32_t size) { return platform.spooler.GetPrinterW(handle.get(), 2, size, info, needed); });
  if (end != TwoCallEnd::Filled) return 0;
  jobCount = info.cJobs;
  return 1;
}

int HasPendingJobsOnMonitorPorts(PrintPlatform& platform) {
  std::optional<std::vector<PrinterInfo2>> printers = EnumerateLocalPrinters(platform);
  if (!printers) return 0;
  CustomPortRecord answer{};
  for (const PrinterInfo2& printer : *printers) {
    if (!QueryMonitorPort(platform, printer.portName, answer)) continue;
    std::uint32_t count = 0;
    if (GetPrinterJobCount(platform, printer.printerName, count) && count > 0) return 1;
  }
  return 0;
}
