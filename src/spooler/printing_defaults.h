#pragma once
// The queue's printing defaults for every user: the [DEVMODE] keys (and a /savedefaults file)
// merged by the driver into its DEVMODE and stored as the global DEVMODE (level 8), then read
// back. Levels 2 and 9 are never given a DEVMODE: they set the calling user's own preferences.
#include <optional>
#include <string>

#include "config/install_context.h"
#include "spooler/devmode.h"
#include "spooler/print_system.h"

struct PrintingDefaults {
  DevModeSettings settings;           // the keys
  std::optional<DefaultsFile> file;   // File=, read and checked
  bool Empty() const { return settings.Empty(); }
  // What the queue must hold: the file's public fields, then the keys over them.
  DevModeSettings Wanted() const;
};

// The [DEVMODE] section and its file, checked before anything changes: the refusal names the
// key or the file and why (a bad value, a file that cannot be read, is malformed, or was made
// for another driver than driverName).
struct LoadedDefaults {
  PrintingDefaults defaults;
  Outcome refusal;
};
LoadedDefaults LoadPrintingDefaults(const InstallContext& context, PrintPlatform& platform,
                                    const std::u16string& driverName);

// /savedefaults: the printer's global DEVMODE and its driver's name, written to path in the
// defaults file format. Nothing in the spooler changes.
Outcome SavePrintingDefaults(PrintPlatform& platform, const std::u16string& printerName, const std::u16string& path);

// Sets the defaults on the printer and reads them back; a field the driver did not take fails
// ("Printing defaults not accepted: PaperWidth 60.0 mm wanted, the driver keeps 210.0 mm").
Outcome ApplyPrintingDefaults(const PrintingDefaults& defaults, PrintPlatform& platform,
                              const std::u16string& printerName);
