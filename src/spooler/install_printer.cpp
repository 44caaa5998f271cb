#include "spooler/print_system.h"

#include "diag/diagnostics.h"
#include "diag/format.h"
#include "spooler/ask_size_then_fill.h"
#include "spooler/configured_lengths.h"

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

  // Asked for the driver's own environment: on 64-bit Windows this 32-bit program's default
  // would be the x86 directory, where the spooler does not look for an x64 driver.
  const std::u16string environment = DriverEnvironment(platform.osBitness);
  std::u16string driverDir;
  std::uint32_t needed = 0;
  if (!platform.spooler.GetPrinterDriverDirectoryW(environment, 1, kDriverDirectoryBytes, driverDir, needed)) {
    ShowError(mainWindow, platform.lastError.GetLastError(), u"GetPrinterDriverDirectory Failed");
    return 0;
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
  if (!platform.spooler.AddPrinterDriverW(3, driver)) {
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
