#include "spooler/printing_defaults.h"

#include "config/load_install_context.h"
#include "diag/diagnostics.h"
#include "diag/format.h"

namespace {

constexpr std::uint32_t kErrorInvalidData = 13;  // ERROR_INVALID_DATA
constexpr std::uint32_t kPrinterAccessUse = 0x00000008;  // PRINTER_ACCESS_USE: reading is all

Outcome Refused(const std::u16string& text) { return Outcome::Failed(text, kErrorInvalidData); }

void Overlay(DevModeSettings& base, const DevModeSettings& over) {
  if (over.paperSize || over.paperWidth) {
    base.paperSize = over.paperSize;
    base.paperWidth = over.paperWidth;
    base.paperLength = over.paperLength;
  }
  if (over.orientation) base.orientation = over.orientation;
  if (over.copies) base.copies = over.copies;
  if (over.printQuality) base.printQuality = over.printQuality;
}

}  // namespace

DevModeSettings PrintingDefaults::Wanted() const {
  DevModeSettings wanted;
  if (file) {
    wanted = PublicSettingsOf(file->devMode);
    // A predefined size names the paper; the lengths the driver gave with it follow from it.
    if (wanted.paperSize && *wanted.paperSize != 0) wanted.paperWidth = wanted.paperLength = std::nullopt;
    if (wanted.paperSize && *wanted.paperSize == 0) wanted.paperSize = std::nullopt;
  }
  Overlay(wanted, settings);
  wanted.file.clear();
  return wanted;
}

LoadedDefaults LoadPrintingDefaults(const InstallContext& context, PrintPlatform& platform,
                                    const std::u16string& driverName) {
  LoadedDefaults loaded;
  const ParsedDevMode parsed = ParseDevModeSettings(context.devModeEntries);
  if (parsed.refusal) {
    loaded.refusal = Refused(u"config.ini: [DEVMODE] " + parsed.refusal->key + u" must be " + parsed.refusal->allowed + u".");
    return loaded;
  }
  loaded.defaults.settings = parsed.settings;
  const std::u16string& name = parsed.settings.file;
  if (name.empty()) return loaded;
  const std::u16string path = IsFullPath(name) ? name : context.installDir + u"\\" + name;
  const Read<std::vector<std::uint8_t>> bytes = platform.files.ReadBytes(path);
  if (!bytes) {
    loaded.refusal = Outcome::Failed(u"config.ini: [DEVMODE] File " + path + u" cannot be read", bytes.code);
    return loaded;
  }
  DefaultsFile file = ReadDefaultsFile(bytes.value);
  if (file.fault) {
    loaded.refusal = Refused(u"config.ini: [DEVMODE] File " + path + u" cannot be used: " + *file.fault + u".");
    return loaded;
  }
  if (file.driverName != driverName) {
    loaded.refusal = Refused(u"config.ini: [DEVMODE] File " + path + u" was saved from the driver " + file.driverName +
                             u", not " + driverName + u".");
    return loaded;
  }
  loaded.defaults.file = std::move(file);
  return loaded;
}

Outcome SavePrintingDefaults(PrintPlatform& platform, const std::u16string& printerName, const std::u16string& path) {
  const Opened opened = platform.spooler.Open(printerName, kPrinterAccessUse);
  if (!opened) return Outcome::Failed(u"OpenPrinter Failed: " + printerName, opened.code);
  ScopedPrinterHandle printer(platform.spooler, opened.handle);
  const Read<PrinterInfo2> info = platform.spooler.Printer(printer.get());
  if (!info) return Outcome::Failed(u"GetPrinter Failed: " + printerName, info.code);
  const Read<std::vector<std::uint8_t>> devMode = platform.spooler.GlobalDevMode(printer.get());
  if (!devMode) return Outcome::Failed(u"GetPrinter Failed: " + printerName, devMode.code);
  if (!DevModeSound(devMode.value)) return Refused(u"The printer " + printerName + u" has no printing defaults to save.");
  if (const Status written = platform.files.WriteBytes(path, DefaultsFileBytes(info.value.driverName, devMode.value));
      !written) {
    return Outcome::Failed(u"Printing defaults not saved: " + path, written.code);
  }
  DebugTrace(u"Printing defaults of %s (%s) saved to %s", printerName, info.value.driverName, path);
  return {};
}

Outcome ApplyPrintingDefaults(const PrintingDefaults& defaults, PrintPlatform& platform,
                              const std::u16string& printerName) {
  if (defaults.Empty()) return {};
  const Opened opened = platform.spooler.Open(printerName, kPrinterAllAccess);
  if (!opened) return Outcome::Failed(u"OpenPrinter Failed", opened.code);
  ScopedPrinterHandle printer(platform.spooler, opened.handle);
  Read<std::vector<std::uint8_t>> devMode = platform.spooler.DriverDevMode(printer.get(), printerName, {});
  if (defaults.file && devMode) devMode = platform.spooler.DriverDevMode(printer.get(), printerName, defaults.file->devMode);
  if (!devMode || !DevModeSound(devMode.value)) return Outcome::Failed(u"DocumentProperties Failed", devMode.code);
  const DevModeSettings wanted = defaults.Wanted();
  ApplyDevModeSettings(wanted, devMode.value);
  const Read<std::vector<std::uint8_t>> merged = platform.spooler.DriverDevMode(printer.get(), printerName, devMode.value);
  if (!merged) return Outcome::Failed(u"DocumentProperties Failed", merged.code);
  if (const Status set = platform.spooler.SetGlobalDevMode(printer.get(), merged.value); !set) {
    return Outcome::Failed(u"SetPrinter Failed", set.code);
  }
  const Read<std::vector<std::uint8_t>> stored = platform.spooler.GlobalDevMode(printer.get());
  if (!stored) return Outcome::Failed(u"GetPrinter Failed", stored.code);
  std::u16string refused;
  for (const DevModeField& field : CompareDevMode(wanted, stored.value)) {
    DebugTrace(u"Default %s %s -> %s", field.name, field.wanted, field.found);
    if (!field.Same() && refused.empty()) {
      refused = u"Printing defaults not accepted: " + field.name + u" " + field.wanted + u" wanted, the driver keeps " +
                field.found;
    }
  }
  if (!refused.empty()) return Outcome::Failed(refused, kErrorInvalidData);
  return {};
}
