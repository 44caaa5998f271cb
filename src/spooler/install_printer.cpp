#include "spooler/print_system.h"

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/driver_package.h"
#include "spooler/name_compare.h"
#include "spooler/refused_call.h"

namespace {

constexpr std::uint32_t kTempFileChars = 520;
constexpr char16_t kPrnNameTooLong[] = u"PrnName Too Long";
constexpr std::uint32_t kErrorPrinterAlreadyExists = 1802;

// srclient.dll goes into the system directory only when it is not there yet.
void InstallSystemRestoreClient(PrintPlatform& platform, const std::u16string& sourceDir) {
  std::u16string systemDir;
  std::uint32_t length = platform.files.GetSystemDirectoryW(systemDir, kPathCapacity);
  // Without the directory the path would point at the root of the current drive.
  if (length == 0 || length >= kPathCapacity) {
    DebugTrace(u"GetSystemDirectory Failed: srclient.dll not copied");
    return;
  }
  std::u16string target = JoinPath(systemDir, u"srclient.dll");
  if (platform.files.PathFileExistsW(target)) return;
  platform.files.CopyFileW(JoinPath(sourceDir, u"srclient.dll"), target, false);
}

void WritePrinterData(PrintPlatform& platform, PrinterHandle printer, const std::vector<PrinterDataEntry>& entries) {
  for (const PrinterDataEntry& data : entries) {
    if (data.key.size() >= kPathCapacity) {
      // Cut, it would land under another value's name.
      DebugTrace(u"Skip DATA Entry, Name Too Long: %s", data.key);
      continue;
    }
    DebugTrace(u"%s %s", data.key, data.value);
    platform.spooler.SetData(printer, data.key, kRegSz, TextBytesWithoutTerminator(data.value));
  }
}

// Copies the package into the driver directory and describes the driver as it is registered;
// or the failed step.
struct StagedDriver {
  DriverInfo3 driver;
  Outcome failure;
};
StagedDriver StageDriverPackage(const InstallContext& context, const DriverFileNames& names, PrintPlatform& platform) {
  // Asked for the driver's own environment: on 64-bit Windows this 32-bit program's default
  // would be the x86 directory, where the spooler does not look for an x64 driver.
  const std::u16string environment = DriverEnvironment(platform.osBitness);
  const Read<std::u16string> driverDir = platform.spooler.DriverDirectory(environment);
  if (!driverDir) return {{}, Outcome::Failed(u"GetPrinterDriverDirectory Failed", driverDir.code)};

  std::vector<std::pair<PackageFile, std::uint32_t>> refused;
  for (const PackageFile& file : DriverPackageFiles(context, platform.osBitness)) {
    if (const Status copied = InstallDriverFile(platform, file.name, names.sourceDir, driverDir.value); !copied) {
      refused.emplace_back(file, copied.code);
    }
  }
  InstallSystemRestoreClient(platform, names.sourceDir);

  const bool iniFileExists = platform.files.PathFileExistsW(JoinPath(names.sourceDir, names.iniFile));
  const bool uiDllExists = platform.files.PathFileExistsW(JoinPath(names.sourceDir, names.uiDll));
  const bool uniDllExists = platform.files.PathFileExistsW(JoinPath(names.sourceDir, names.uniDll));
  for (const auto& [file, flags] : refused) {
    // An optional file the package does not have is not registered: its copy had nothing to do.
    if (file.optional && !platform.files.PathFileExistsW(JoinPath(names.sourceDir, file.name))) continue;
    return {{}, Outcome::Failed(u"Copy Failed: " + file.name, flags)};
  }

  StagedDriver staged;
  DriverInfo3& driver = staged.driver;
  driver.cVersion = 3;
  driver.name = names.driverName;
  driver.environment = environment;
  driver.driverPath = u"UNIDRV.DLL";
  driver.dataFile = names.gpdFile;
  driver.configFile = u"UNIDRVUI.DLL";
  driver.helpFile = u"UNIDRV.HLP";
  driver.dependentFiles = BuildDependentFiles(names, uiDllExists, iniFileExists, uniDllExists);
  driver.defaultDataType = u"Raw";
  return staged;
}

Installed Failure(std::u16string call, std::uint32_t code) { return Installed::Failed(Outcome::Failed(std::move(call), code)); }

// A registration the spooler refused; marked when the system blocks the driver as such.
Installed DriverRefused(std::u16string call, std::uint32_t code) {
  Installed failed = Failure(std::move(call), code);
  failed.driverBlocked = code == kErrorPrinterDriverBlocked || code == kErrorPrinterDriverWarned;
  return failed;
}

// Registers the driver so that the files just staged replace those of an earlier install
// (AddPrinterDriver keeps a file whose version is not older). A spooler that turns the flag
// down gets the plain call.
std::optional<Installed> RegisterDriverReplacingFiles(PrintPlatform& platform, const DriverInfo3& driver) {
  const Status replaced = platform.spooler.RegisterDriverEx(driver, kApdCopyAllFiles);
  if (replaced) return std::nullopt;
  if (!SpoolerRefusedTheCall(replaced.code)) return DriverRefused(u"AddPrinterDriverEx Failed", replaced.code);
  DebugTrace(u"AddPrinterDriverEx Refused With %u: AddPrinterDriver", replaced.code);
  const Status added = platform.spooler.RegisterDriver(driver);
  if (!added) return DriverRefused(u"AddPrinterDriver Failed", added.code);
  return std::nullopt;
}

}  // namespace

Read<std::vector<PrinterInfo2>> LocalPrinters(PrintPlatform& platform) {
  // No printer at all: the size query succeeds, and the list is empty.
  return AsListing(platform.spooler.LocalPrinters());
}

ChosenPrinterName MakeUniquePrinterName(PrintPlatform& platform, const std::u16string& baseName) {
  const Read<std::vector<PrinterInfo2>> printers = LocalPrinters(platform);
  return ChooseUniquePrinterName(baseName, printers ? &printers.value : nullptr);
}

Status InstallDriverFile(PrintPlatform& platform, const std::u16string& fileName, const std::u16string& sourceDir,
                         const std::u16string& driverDir) {
  std::u16string tempFile;
  std::uint32_t tempLength = kTempFileChars;
  std::uint32_t flags = platform.versions.VerInstallFileW(kViffForceInstall, fileName, fileName, sourceDir, driverDir,
                                                          driverDir, tempFile, tempLength);
  DebugTrace(u"Copy %s From %s To %s Result 0x%08X\r\n", fileName, sourceDir, driverDir, flags);
  if (flags != 0) return Status::Failed(flags);
  return {};
}

Installed InstallPrinter(const InstallContext& context, PrintPlatform& platform, const std::u16string& portName) {
  const ChosenPrinterName chosen = MakeUniquePrinterName(platform, context.printerBaseName);
  if (chosen.result == NameChoice::TooLong) return Failure(kPrnNameTooLong, kErrorFilenameExcedRange);
  // Adding a printer under a taken name would overwrite that printer.
  if (chosen.result == NameChoice::AllTaken) {
    return Failure(NoFreePrinterNameText(context.printerBaseName), kErrorPrinterAlreadyExists);
  }
  const std::u16string& printerName = chosen.name;
  const DriverFileNames names =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);

  const StagedDriver staged = StageDriverPackage(context, names, platform);
  if (!staged.failure.ok()) return Installed::Failed(staged.failure);
  if (const Status added = platform.spooler.RegisterDriver(staged.driver); !added) {
    return DriverRefused(u"AddPrinterDriver Failed", added.code);
  }

  PrinterInfo2 printer;
  printer.printerName = printerName;
  printer.portName = portName;
  printer.driverName = names.driverName;
  printer.printProcessor = u"WinPrint";
  printer.datatype = u"Raw";
  printer.attributes = kPrinterAttributeLocal;
  const Opened opened = platform.spooler.CreatePrinter(printer);
  if (!opened) return Failure(u"AddPrinter Failed", opened.code);
  ScopedPrinterHandle added(platform.spooler, opened.handle);
  WritePrinterData(platform, added.get(), context.printerData);
  return {printerName, {}, names.driverName, portName};
}

std::optional<std::u16string> FindExistingPrinter(PrintPlatform& platform, const std::u16string& name) {
  const Read<std::vector<PrinterInfo2>> printers = LocalPrinters(platform);
  if (!printers) {
    DebugTrace(u"EnumPrinters Failed With %u: No Printer To Update", printers.code);
    return std::nullopt;
  }
  for (const PrinterInfo2& printer : printers.value) {
    if (SameNameIgnoringCase(printer.printerName, name)) return printer.printerName;
  }
  return std::nullopt;
}

Installed UpdatePrinter(const InstallContext& context, PrintPlatform& platform, const std::u16string& portName,
                        const std::u16string& existingName) {
  // A cut name would open another printer.
  if (existingName.size() >= kPathCapacity) return Failure(kPrnNameTooLong, kErrorFilenameExcedRange);
  const DriverFileNames names =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);
  const StagedDriver staged = StageDriverPackage(context, names, platform);
  if (!staged.failure.ok()) return Installed::Failed(staged.failure);
  if (std::optional<Installed> refused = RegisterDriverReplacingFiles(platform, staged.driver)) return *refused;

  const Opened opened = platform.spooler.Open(existingName, kPrinterAllAccess);
  if (!opened) return Failure(u"OpenPrinter Failed", opened.code);
  ScopedPrinterHandle printer(platform.spooler, opened.handle);
  Read<PrinterInfo2> info = platform.spooler.Printer(printer.get());
  if (!info) return Failure(u"GetPrinter Failed", info.code);

  // Everything else the printer has stays: its name, share, comment, processor, attributes,
  // printing defaults.
  DebugTrace(u"Update Printer %s: Driver %s, Port %s", existingName, names.driverName, portName);
  info.value.driverName = names.driverName;
  info.value.portName = portName;
  if (const Status set = platform.spooler.ChangePrinter(printer.get(), info.value); !set) {
    return Failure(u"SetPrinter Failed", set.code);
  }
  WritePrinterData(platform, printer.get(), context.printerData);
  return {existingName, {}, names.driverName, portName};
}
