#include "spooler/print_system.h"

#include <algorithm>

#include "diag/diagnostics.h"

namespace {

Outcome RunTool(PrintPlatform& platform, const std::optional<ToolLaunch>& launch, const InstallContext& context,
                WindowHandle owner) {
  // A cut path would start some other file.
  if (!launch) return Outcome::Failed(InstallFolderTooLong(context.installDir), kErrorFilenameExcedRange);
  ShellExecuteInfo info;
  // The shell's own error box names no file: the road says what could not be started instead.
  info.fMask = kSeeMaskNoCloseProcess | kSeeMaskFlagNoUi;
  info.hwnd = owner;
  info.lpVerb = u"open";
  info.lpFile = launch->file;
  info.lpParameters = launch->parameters;
  info.lpDirectory = launch->directory;
  info.nShow = kSwHide;
  if (const Status started = platform.shell.ShellExecuteExW(info); !started) {
    return Outcome::Failed(u"Cannot Start Tool: " + launch->file, started.code);
  }
  ScopedProcessHandle process(platform.shell, info.hProcess);
  // The shell may start nothing of its own (a document handled by a running program).
  if (process) platform.shell.WaitForSingleObject(process.get(), kInfinite);
  return {};
}

}  // namespace

Outcome RunMonitorSetup(const InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  return RunTool(platform, MonitorSetupLaunch(context), context, owner);
}

Outcome RunDeletePrintJobs(const InstallContext& context, PrintPlatform& platform, WindowHandle owner) {
  return RunTool(platform, DeletePrintJobsLaunch(context), context, owner);
}

bool QueryMonitorPort(PrintPlatform& platform, const std::u16string& port, CustomPortRecord& answer) {
  // A port whose handle name would be cut cannot be asked; it is not the monitor's.
  std::optional<std::u16string> handleName = PortHandleName(port);
  if (!handleName) return false;
  const Opened opened = platform.spooler.Open(*handleName, kServerAccessAdminister);
  if (!opened) return false;
  ScopedPrinterHandle handle(platform.spooler, opened.handle);
  const XcvAnswer reply =
      platform.spooler.Xcv(handle.get(), kGetPortCommand, TextBytes(port), static_cast<std::uint32_t>(answer.size()));
  std::copy_n(reply.output.begin(), std::min(reply.output.size(), answer.size()), answer.begin());
  return reply.Accepted();
}

std::optional<std::uint32_t> GetPrinterJobCount(PrintPlatform& platform, const std::u16string& printer) {
  // A cut name would open another printer.
  if (printer.size() >= kPathCapacity) return std::nullopt;
  const Opened opened = platform.spooler.Open(printer, kPrinterAllAccess);
  if (!opened) return std::nullopt;
  ScopedPrinterHandle handle(platform.spooler, opened.handle);
  const Read<PrinterInfo2> info = platform.spooler.Printer(handle.get());
  if (!info) return std::nullopt;
  return info.value.cJobs;
}

bool HasPendingJobsOnMonitorPorts(PrintPlatform& platform) {
  const Read<std::vector<PrinterInfo2>> printers = LocalPrinters(platform);
  if (!printers) return false;
  CustomPortRecord answer{};
  for (const PrinterInfo2& printer : printers.value) {
    if (!QueryMonitorPort(platform, printer.portName, answer)) continue;
    const std::optional<std::uint32_t> count = GetPrinterJobCount(platform, printer.printerName);
    if (count && *count > 0) return true;
  }
  return false;
}
