#pragma once
// Shared ground of the print-system tests under Wine: which prefix this is, the demo folder,
// the monitors, clean-up of what a test made, and reading back what the monitors received.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/install_context.h"
#include "spool_listing.h"
#include "support/wine_check.h"

namespace wine_test {

// The process width and the prefix it runs in.
enum class Scenario { Native32, Native64, Wow64 };
Scenario CurrentScenario();
const char* ScenarioName(Scenario scenario);

std::u16string DemoDir();   // the staged installer folder (package, monitor tools, UTILS)
std::u16string ToolsDir();  // the probe and the Standard TCP/IP stand-in

inline constexpr char16_t kUsbMonitor[] = u"Label USB Monitor";
inline constexpr char16_t kTcpIpMonitor[] = u"Standard TCP/IP Port";

// The installer's context as LoadInstallContext fills it for this OS width.
InstallContext DemoContext(int osBitness, const std::u16string& languageCode, const std::u16string& printerBaseName);

// Both monitors registered and loadable by this process (the USB one from the width's folder).
bool EnsureMonitors();
bool UsbMonitorRegistered();

// Removes the printers named base or base(n), and the monitor ports named exactly or by prefix;
// in any letter case, as the spooler matches names.
void DeletePrinters(const std::u16string& baseName);
void DeleteTcpIpPort(const std::u16string& name);
void DeleteUsbPortsWithPrefix(const std::u16string& prefix);
void ClearLastAddPort(const char16_t* monitor);

// What a monitor kept: the bytes that created a port, or the last "AddPort" it received.
std::optional<std::vector<std::uint8_t>> PortRecord(const char16_t* monitor, const std::u16string& port);
std::optional<std::vector<std::uint8_t>> LastAddPort(const char16_t* monitor);
std::optional<std::vector<std::uint8_t>> LastDeletePort(const char16_t* monitor);

// A copy of the demo package's folder <setupDirName>\<language> under a temporary folder of
// its own, the files renamed from the prefix LBL to prefix (<prefix>ENG.GPD, <prefix>UIENG.DLL,
// ...): a driver no other case and no other test in the prefix uses. Returns the folder to use as
// installDir; empty when the copy failed.
std::u16string StagePackageCopy(const std::u16string& prefix, const std::u16string& setupDirName,
                                const std::u16string& language);
void RemoveFolder(const std::u16string& folder);
bool WriteFileBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes);
// The driver taken out of both environments, whatever uses it; for clean-up.
void DeleteDriverEverywhere(const std::u16string& name);

std::optional<fixture::PortEntry> FindPort(const std::u16string& name);
std::optional<fixture::PrinterEntry> FindPrinter(const std::u16string& name);
std::optional<fixture::DriverEntry> FindDriver(const wchar_t* environment, const std::u16string& name);

std::optional<std::vector<std::uint8_t>> FileBytes(const std::u16string& path);
std::u16string BaseName(const std::wstring& path);
std::u16string DriverDirectory(const wchar_t* environment);  // GetPrinterDriverDirectoryW
std::u16string SystemDirectory();
bool SameTextIgnoringCase(const std::u16string& a, const std::u16string& b);
bool StartsWithIgnoringCase(const std::u16string& text, const std::u16string& prefix);

// A tool's mark file as key=value lines; empty when the tool left none.
std::vector<std::pair<std::u16string, std::u16string>> ReadMark(const std::u16string& path);
std::u16string MarkValue(const std::vector<std::pair<std::u16string, std::u16string>>& mark, const std::u16string& key);

// Closes any dialog box of this process that no test expected (the shell's error windows, a
// box that bypassed the recording sink) and remembers its title, so nothing waits for a click.
std::vector<std::u16string> TakeStrayBoxes();
void StartBoxCloser();
void StopBoxCloser();

// Field writers for expected records, little-endian as the published layouts are.
void PutU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value);
void PutText(std::vector<std::uint8_t>& bytes, std::size_t offset, const std::u16string& text);

// Compares a record with the expected bytes and names the first byte that differs.
bool CheckBytes(const std::optional<std::vector<std::uint8_t>>& actual, const std::vector<std::uint8_t>& expected,
                const char* file, int line, const char* what);
#define CHECK_BYTES(actual, expected) \
  (void)wine_test::CheckBytes((actual), (expected), __FILE__, __LINE__, #actual)

}  // namespace wine_test
