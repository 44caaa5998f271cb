#include "spooler/print_system.h"

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/ask_size_then_fill.h"
#include "spooler/configured_lengths.h"
#include "spooler/name_compare.h"
#include "spooler/refused_call.h"

namespace {

constexpr std::uint32_t kDriverDirectoryBytes = 2 * kNameCapacity;
constexpr std::uint32_t kTempFileChars = 520;
constexpr std::size_t kSuccessTextCapacity = 512;

// The eleven files of a package in the order they are copied.
std::vector<std::u16string> PackageFiles(const DriverFileNames& names) {
  std::vector<std::u16string> files = {names.gpdFile, names.uiDll, names.iniFile, names.uniDll, names.rcDll};
  for (const char16_t* name : kUnidrvFiles) files.emplace_back(name);
  return files;
}

// srclient.dll goes into the system directory only when it is not there yet.
void InstallSystemRestoreClient(PrintPlatform& platform, const std::u16string& sourceDir) {
  std::u16string systemDir;
  std::uint32_t length = platform.files.GetSystemDirectoryW(systemDir, kNameCapacity);
  // Without the directory the path would point at the root of the current drive.
  if (length == 0 || length >= kNameCapacity) {
    DebugTrace(u"GetSystemDirectory Failed: srclient.dll not copied");
    return;
  }
  std::u16string target = JoinPath(systemDir, u"srclient.dll");
  if (platform.files.PathFileExistsW(target)) return;
  platform.files.CopyFileW(JoinPath(sourceDir, u"srclient.dll"), target, false);
}

void WritePrinterData(PrintPlatform& platform, PrinterHandle printer, const std::u16string& printerData) {
  std::size_t start = 0;
  while (start < printerData.size() && printerData[start] != u'\0') {
    std::size_t end = printerData.find(u'\0', start);
    if (end == std::u16string::npos) end = printerData.size();
    std::u16string_view entry(printerData.data() + start, end - start);
    start = end + 1;
    std::optional<PrinterDataEntry> data = SplitPrinterDataEntry(entry);
    if (!data) continue;
    if (data->key.size() >= kNameCapacity) {
      // Cut, it would land under another value's name.
      DebugTrace(u"Skip DATA Entry, Name Too Long: %s", data->key);
      continue;
    }
    DebugTrace(u"%s %s", data->key, data->value);
    platform.spooler.SetPrinterDataW(printer, data->key, kRegSz, TextBytesWithoutTerminator(data->value));
  }
}

// Copies the package into the driver directory and describes the driver as it is registered.
// No value after the error box.
std::optional<DriverInfo3> StageDriverPackage(const DriverFileNames& names, PrintPlatform& platform,
                                              WindowHandle mainWindow) {
  // Asked for the driver's own environment: on 64-bit Windows this 32-bit program's default
  // would be the x86 directory, where the spooler does not look for an x64 driver.
  const std::u16string environment = DriverEnvironment(platform.osBitness);
  std::u16string driverDir;
  std::uint32_t needed = 0;
  if (!platform.spooler.GetPrinterDriverDirectoryW(environment, 1, kDriverDirectoryBytes, driverDir, needed)) {
    ShowError(mainWindow, platform.lastError.GetLastError(), u"GetPrinterDriverDirectory Failed");
    return std::nullopt;
  }

  for (const std::u16string& file : PackageFiles(names)) InstallDriverFile(platform, file, names.sourceDir, driverDir);
  InstallSystemRestoreClient(platform, names.sourceDir);

  const bool iniFileExists = platform.files.PathFileExistsW(JoinPath(names.sourceDir, names.iniFile));
  const bool uiDllExists = platform.files.PathFileExistsW(JoinPath(names.sourceDir, names.uiDll));
  const bool uniDllExists = platform.files.PathFileExistsW(JoinPath(names.sourceDir, names.uniDll));

  DriverInfo3 driver;
  driver.cVersion = 3;
  driver.name = names.driverName;
  driver.environment = environment;
  driver.driverPath = u"UNIDRV.DLL";
  driver.dataFile = names.gpdFile;
  driver.configFile = u"UNIDRVUI.DLL";
  driver.helpFile = u"UNIDRV.HLP";
  driver.dependentFiles = BuildDependentFiles(names, uiDllExists, iniFileExists, uniDllExists);
  driver.defaultDataType = u"Raw";
  return driver;
}

// Registers the driver so that the files just staged replace those of an earlier install
// (AddPrinterDriverW keeps a file whose version is not older). A spooler that turns the flag
// down gets the plain call. 1, or 0 after the error box.
int RegisterDriverReplacingFiles(PrintPlatform& platform, const DriverInfo3& driver, WindowHandle mainWindow) {
  if (platform.spooler.AddPrinterDriverExW(3, driver, kApdCopyAllFiles)) return 1;
  const std::uint32_t code = platform.lastError.GetLastError();
  if (!SpoolerRefusedTheCall(code)) {
    ShowError(mainWindow, code, u"AddPrinterDriverEx Failed");
    return 0;
  }
  DebugTrace(u"AddPrinterDriverEx Refused With %u: AddPrinterDriver", code);
  if (!platform.spooler.AddPrinterDriverW(3, driver)) {
    ShowError(mainWindow, platform.lastError.GetLastError(), u"AddPrinterDriver Failed");
    return 0;
  }
  return 1;
}

// Closes the printer, then the error box with the code the failed call left.
int FailOnPrinter(PrintPlatform& platform, ScopedPrinterHandle& printer, WindowHandle mainWindow,
                  std::u16string_view text) {
  const std::uint32_t code = platform.lastError.GetLastError();
  printer.reset();
  ShowError(mainWindow, code, text);
  return 0;
}

}  // namespace

std::optional<std::vector<PrinterInfo2>> EnumerateLocalPrinters(PrintPlatform& platform) {
  std::vector<PrinterInfo2> printers;
  std::uint32_t needed = 0;
  std::uint32_t returned = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized =
            platform.spooler.EnumPrintersW(kPrinterEnumLocal, std::nullopt, 2, 0, printers, needed, returned);
        return SpoolerSizeAnswer(sized, platform.lastError, needed);
      },
      [&](std::uint32_t size) {
        return platform.spooler.EnumPrintersW(kPrinterEnumLocal, std::nullopt, 2, size, printers, needed, returned);
      });
  // No printer at all: the size query succeeds, and the list is empty.
  if (end == TwoCallEnd::SizeQuerySucceeded) return std::vector<PrinterInfo2>{};
  if (end != TwoCallEnd::Filled) return std::nullopt;
  return printers;
}

int MakeUniquePrinterName(PrintPlatform& platform, const std::u16string& baseName, std::u16string& outName) {
  std::optional<std::vector<PrinterInfo2>> printers = EnumerateLocalPrinters(platform);
  std::optional<std::u16string> chosen = ChooseUniquePrinterName(baseName, printers ? &*printers : nullptr);
  outName = chosen ? *chosen : std::u16string();
  return chosen ? 1 : 0;
}

int InstallDriverFile(PrintPlatform& platform, const std::u16string& fileName, const std::u16string& sourceDir,
                      const std::u16string& driverDir) {
  std::u16string tempFile;
  std::uint32_t tempLength = kTempFileChars;
  std::uint32_t flags = platform.versions.VerInstallFileW(kViffForceInstall, fileName, fileName, sourceDir, driverDir,
                                                          driverDir, tempFile, tempLength);
  DebugTrace(u"Copy %s From %s To %s Result 0x%08X\r\n", fileName, sourceDir, driverDir, flags);
  return flags == 0 ? 1 : 0;
}

int InstallPrinter(InstallContext& context, PrintPlatform& platform, WindowHandle mainWindow) {
  // Values too long for their buffers are refused before anything changes on the machine.
  if (!CheckDriverLengths(context, mainWindow)) return 0;

  std::u16string printerName;
  if (!MakeUniquePrinterName(platform, context.printerBaseName, printerName)) {
    ShowError(mainWindow, kErrorFilenameExcedRange, kPrnNameTooLong);
    return 0;
  }
  const std::u16string portName = context.portName;
  const DriverFileNames names =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);

  const std::optional<DriverInfo3> driver = StageDriverPackage(names, platform, mainWindow);
  if (!driver) return 0;
  if (!platform.spooler.AddPrinterDriverW(3, *driver)) {
    ShowError(mainWindow, platform.lastError.GetLastError(), u"AddPrinterDriver Failed");
    return 0;
  }

  PrinterInfo2 printer;
  printer.printerName = printerName;
  printer.portName = portName;
  printer.driverName = names.driverName;
  printer.printProcessor = u"WinPrint";
  printer.datatype = u"Raw";
  printer.attributes = kPrinterAttributeLocal;
  ScopedPrinterHandle added(platform.spooler, platform.spooler.AddPrinterW(2, printer));
  if (!added) {
    ShowError(mainWindow, platform.lastError.GetLastError(), u"AddPrinter Failed");
    return 0;
  }

  WritePrinterData(platform, added.get(), context.printerData);
  // The printer is complete before the box tells so.
  added.reset();
  ShowMessage(mainWindow, FormatWide(kSuccessTextCapacity, u"Add Printer Successful - %s", printerName),
              std::u16string(u"OK"));
  return 1;
}

std::optional<std::u16string> FindExistingPrinter(PrintPlatform& platform, const std::u16string& name) {
  std::optional<std::vector<PrinterInfo2>> printers = EnumerateLocalPrinters(platform);
  if (!printers) {
    DebugTrace(u"EnumPrinters Failed With %u: No Printer To Update", platform.lastError.GetLastError());
    return std::nullopt;
  }
  for (const PrinterInfo2& printer : *printers) {
    if (SameNameIgnoringCase(printer.printerName, name)) return printer.printerName;
  }
  return std::nullopt;
}

int UpdatePrinter(InstallContext& context, PrintPlatform& platform, WindowHandle mainWindow,
                  const std::u16string& existingName) {
  if (!CheckDriverLengths(context, mainWindow)) return 0;
  // A cut name would open another printer.
  if (existingName.size() >= kNameCapacity) {
    ShowError(mainWindow, kErrorFilenameExcedRange, kPrnNameTooLong);
    return 0;
  }
  const DriverFileNames names =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);
  const std::optional<DriverInfo3> driver = StageDriverPackage(names, platform, mainWindow);
  if (!driver) return 0;
  if (!RegisterDriverReplacingFiles(platform, *driver, mainWindow)) return 0;

  PrinterHandle opened = 0;
  if (!platform.spooler.OpenPrinterW(existingName, opened, kPrinterAllAccess)) {
    ShowError(mainWindow, platform.lastError.GetLastError(), u"OpenPrinter Failed");
    return 0;
  }
  ScopedPrinterHandle printer(platform.spooler, opened);
  PrinterInfo2 info;
  std::uint32_t needed = 0;
  const TwoCallEnd end = AskSizeThenFill(
      [&] {
        SpoolResult sized = platform.spooler.GetPrinterW(printer.get(), 2, 0, info, needed);
        return SpoolerSizeAnswer(sized, platform.lastError, needed);
      },
      [&](std::uint32_t size) { return platform.spooler.GetPrinterW(printer.get(), 2, size, info, needed); });
  if (end != TwoCallEnd::Filled) return FailOnPrinter(platform, printer, mainWindow, u"GetPrinter Failed");

  // Everything else the printer has stays: its name, share, comment, processor, attributes.
  DebugTrace(u"Update Printer %s: Driver %s, Port %s", existingName, names.driverName, context.portName);
  info.driverName = names.driverName;
  info.portName = context.portName;
  if (!platform.spooler.SetPrinterW(printer.get(), 2, &info, 0)) {
    return FailOnPrinter(platform, printer, mainWindow, u"SetPrinter Failed");
  }

  WritePrinterData(platform, printer.get(), context.printerData);
  // The printer is complete before the box tells so.
  printer.reset();
  ShowMessage(mainWindow, FormatWide(kSuccessTextCapacity, u"Add Printer Successful - %s", existingName),
              std::u16string(u"OK"));
  return 1;
}
