#pragma once
// The printer a configuration wants, what the spooler holds under its name, and the one
// comparison of the two that Repair and /verify act on.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "spooler/devmode.h"
#include "spooler/print_system.h"

// Where the printer is reached: a Standard TCP/IP port named after its address, a numbered port
// of the custom monitor whose name starts with the prefix, or a port the spooler already has.
enum class PortKind { Network, MonitorPort, SpoolerPort };
struct DesiredPort {
  PortKind kind = PortKind::Network;
  std::u16string name;     // the address, the name prefix, or the spooler port's name
  std::u16string monitor;  // Network: the Standard TCP/IP monitor; MonitorPort: PortMonitor
};

struct PackageFile {
  std::u16string name;
  bool optional = false;  // registered only when the package has it
};

struct DesiredPrinter {
  std::u16string printerName;
  DriverFileNames package;
  std::u16string environment;
  std::vector<PackageFile> files;
  DesiredPort port;
  std::vector<PrinterDataEntry> data;
  DevModeSettings defaults;  // the printing defaults the queue must hold (PrintingDefaults::Wanted)
};

// The port as a quiet run would make it from the road's page text.
DesiredPort NetworkPort(const std::u16string& address);
DesiredPort MonitorPortOf(const InstallContext& context);
DesiredPort SpoolerPort(const std::u16string& name);

DesiredPrinter MakeDesiredPrinter(const InstallContext& context, int osBitness, DesiredPort port);

// One package file, as the package beside the exe and the driver directory hold it.
struct InstalledFile {
  PackageFile file;
  Read<std::vector<std::uint8_t>> package;
  Read<std::vector<std::uint8_t>> installed;
};

struct InstalledData {
  std::u16string name;
  Read<PrinterDataValue> value;
};

// What the spooler has for the desired printer; read only, nothing is changed.
struct InstalledPrinter {
  Read<std::vector<PrinterInfo2>> printers;  // the local printers: not read, nothing could be checked
  std::optional<PrinterInfo2> printer;       // the one named exactly PrnName
  Read<std::vector<std::u16string>> drivers;
  Read<std::u16string> driverDirectory;
  std::vector<InstalledFile> files;
  Read<std::vector<PortInfo>> ports;
  Status opened;  // the printer opened to read its data
  std::vector<InstalledData> data;
  Read<std::vector<std::uint8_t>> globalDevMode;  // read when defaults are wanted
};

InstalledPrinter ReadInstalledPrinter(const DesiredPrinter& desired, PrintPlatform& platform);

enum class Verdict { Ok, Differs, Missing };
struct Check {
  Verdict verdict = Verdict::Ok;
  std::u16string item;  // "printer Label Printer", "driver LBLENG", "file LBLENG.GPD", ...
  std::u16string wanted;
  std::u16string found;
};

// Every item in a fixed order: the printer, its driver, the package's files, its port, its data,
// its printing defaults.
std::vector<Check> Compare(const DesiredPrinter& desired, const InstalledPrinter& installed);

bool Compliant(const std::vector<Check>& checks);

// "verify: ok <item>", "verify: differs <item>: wanted "<x>", found "<y>"", "verify: missing <item>".
std::u16string CheckLine(const Check& check);

// "<item>" for a missing item, "<item>: wanted "<x>", found "<y>"" for a differing one.
std::u16string Difference(const Check& check);
