#pragma once
// The process-wide record of what config.ini says and what the wizard chose.
// Texts model fixed 260-unit fields: at most 259 units each (kPathCapacity with its terminator).
#include <cstdint>
#include <string>
#include <vector>

#include "config/printer_data.h"
#include "diag/capacity.h"

constexpr std::size_t kPrinterDataCapacity = 32768;
// The most units the DATA section's entries may take, each with its terminator: the reader
// answers size - 2 both for a section that was cut and for one that just filled the buffer.
constexpr std::size_t kLongestPrinterDataSection = kPrinterDataCapacity - 3;

struct InstallContext {
  std::u16string installDir;
  std::u16string configPath;
  std::u16string caption;
  std::u16string printerBaseName;
  std::u16string driverPrefix;
  std::u16string defaultLanguage;
  std::u16string defaultPortType;
  std::u16string portMonitorName;
  std::u16string portNamePrefix;
  // [ARGS] IPAddress: the network page's address in place of the built-in one; empty when absent.
  std::u16string printerAddress;
  // [ARGS] IfExists: what a run does when the printer is already there (New, Keep, Update).
  std::u16string ifExists;
  // [ARGS] NoTargetMatched: Fail (the default) or Skip, when the file's targets all miss this PC.
  std::u16string noTargetMatched;
  // [ARGS] SpoolerWait: seconds to wait for the Print Spooler to start; empty for the default.
  std::u16string spoolerWait;
  std::uint32_t skipLanguage = 0;
  std::uint32_t skipPort = 0;
  std::uint32_t autoInstall = 0;
  std::u16string filterVid;
  std::u16string filterPid;
  std::u16string filterUsbPort;
  std::u16string setupDirName;
  std::u16string monitorDirName;
  std::u16string languageCode;
  std::int32_t languageIndex = 1;
  // The DATA section's entries in the file's order; none when there is no section.
  std::vector<PrinterDataEntry> printerData;
  // The DATA section did not fit the reader's buffer: printerData lacks the entries past it.
  bool printerDataCut = false;
  // The DEVMODE section's entries (printing defaults), checked where they are used.
  std::vector<PrinterDataEntry> devModeEntries;
};
