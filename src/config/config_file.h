#pragma once
// The files a run names on its command line, judged before any is read or written: the
// configuration must be a file the run can read, and the log must be neither the configuration
// nor the program.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "diag/read.h"

// What opening a path for reading found.
struct FileOpening {
  enum class Kind { DiskFile, Folder, Device, Missing, Failed };
  Kind kind = Kind::DiskFile;
  std::uint32_t code = 0;  // Missing, Failed: the open's error
};

// An existing file as the file system knows it, whatever the spelling of its path.
struct FileIdentity {
  std::uint32_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FileIdentity& o) const { return volume == o.volume && index == o.index; }
};

class FileProbe {
 public:
  virtual ~FileProbe() = default;
  // Opens path for reading, sharing it with everyone, and closes it again.
  virtual FileOpening OpenForReading(const std::u16string& path) = 0;
  // The identity of an existing file; none when it cannot be opened.
  virtual std::optional<FileIdentity> Identity(const std::u16string& path) = 0;
  // path made full and plain (".", "..", "/" resolved) the way the system opens it; as given
  // when that fails.
  virtual std::u16string FullPath(const std::u16string& path) = 0;
};

// The path a file named on the command line or by default has: a full path as given, otherwise
// inside folder (the installer's). Cut to the 260-unit path buffer.
std::u16string InstallerFilePath(const std::u16string& folder, std::u16string_view file);

// Where a /log file goes: like the configuration, a relative path lives in the installer's
// folder; as given when that folder is unknown (empty).
std::u16string LogFilePath(const std::u16string& folder, std::u16string_view file);

// The last component of path is a name Windows keeps for a device (CON, PRN, AUX, NUL, COM0-9,
// LPT0-9, CONIN$, CONOUT$), in any letter case, with or without an extension or trailing dots and
// blanks: opening it would open the device, not a file.
bool NamesDosDevice(std::u16string_view path);

// The configuration file's own fault, or ok. named: the command line named it (/config), so
// that a missing one fails ("Config File Not Found", code 2) instead of giving the defaults; a
// folder (code 336), a device (code 50, also by its name alone: such a path is never opened) or a file that cannot be opened (its error) fails
// either way ("Cannot Read Config File: <path>").
Outcome CheckConfigFile(FileProbe& probe, const std::u16string& path, bool named);

// What a /log path would overwrite: the configuration file or the program itself (the text of
// the command-line error naming it), or none. Paths are compared as the system resolves them,
// and existing files by identity, so no other spelling of the same file gets through.
std::optional<std::u16string> LogTargetRefusal(FileProbe& probe, const std::u16string& logPath,
                                               const std::u16string& configPath, const std::u16string& programPath);
