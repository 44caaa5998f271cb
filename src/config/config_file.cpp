#include "config/config_file.h"

#include "config/load_install_context.h"
#include "diag/capacity.h"
#include "diag/format.h"

namespace {

constexpr std::uint32_t kErrorFileNotFound = 2;
constexpr std::uint32_t kErrorNotSupported = 50;
constexpr std::uint32_t kErrorDirectoryNotSupported = 336;

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

// File names compare without regard to letter case (ASCII here: the paths at stake are the
// installer's own).
bool SamePathText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool SameFile(FileProbe& probe, const std::u16string& a, const std::u16string& b) {
  if (a.empty() || b.empty()) return false;
  if (SamePathText(probe.FullPath(a), probe.FullPath(b))) return true;
  const std::optional<FileIdentity> first = probe.Identity(a);
  if (!first) return false;
  const std::optional<FileIdentity> second = probe.Identity(b);
  return second && *first == *second;
}

}  // namespace

bool NamesDosDevice(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u"\\/:");
  std::u16string_view name = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  // "NUL.txt" and "nul " are the device too.
  const std::size_t dot = name.find(u'.');
  if (dot != std::u16string_view::npos) name = name.substr(0, dot);
  while (!name.empty() && name.back() == u' ') name.remove_suffix(1);
  std::u16string upper;
  for (char16_t c : name) upper.push_back(FoldAscii(c));
  if (upper == u"CON" || upper == u"PRN" || upper == u"AUX" || upper == u"NUL" || upper == u"CONIN$" ||
      upper == u"CONOUT$") {
    return true;
  }
  const bool numbered = upper.size() == 4 && (upper.compare(0, 3, u"COM") == 0 || upper.compare(0, 3, u"LPT") == 0);
  return numbered && upper[3] >= u'0' && upper[3] <= u'9';
}

std::u16string InstallerFilePath(const std::u16string& folder, std::u16string_view file) {
  if (IsFullPath(file)) return CutToCapacity(file, kPathCapacity);
  return FormatWide(kPathCapacity, u"%s\\%s", folder, file);
}

std::u16string LogFilePath(const std::u16string& folder, std::u16string_view file) {
  if (folder.empty()) return std::u16string(file);
  return InstallerFilePath(folder, file);
}

Outcome CheckConfigFile(FileProbe& probe, const std::u16string& path, bool named) {
  const std::u16string unreadable = u"Cannot Read Config File: " + path;
  // Opening a serial port or the console has effects of its own, and reading it may never end.
  if (NamesDosDevice(path)) return Outcome::Failed(unreadable, kErrorNotSupported);
  const FileOpening opening = probe.OpenForReading(path);
  switch (opening.kind) {
    case FileOpening::Kind::DiskFile: return {};
    case FileOpening::Kind::Missing:
      // Without /config a missing config.ini gives the defaults, as it always has.
      if (!named) return {};
      return Outcome::Failed(u"Config File Not Found: " + path, kErrorFileNotFound);
    case FileOpening::Kind::Folder: return Outcome::Failed(unreadable, kErrorDirectoryNotSupported);
    case FileOpening::Kind::Device: return Outcome::Failed(unreadable, kErrorNotSupported);
    case FileOpening::Kind::Failed: break;
  }
  return Outcome::Failed(unreadable, opening.code);
}

std::optional<std::u16string> LogTargetRefusal(FileProbe& probe, const std::u16string& logPath,
                                               const std::u16string& configPath, const std::u16string& programPath) {
  // The log's lines would land in the configuration and be read back as its values, or
  // overwrite the program.
  if (SameFile(probe, logPath, configPath)) return u"/log names the configuration file: " + logPath;
  if (SameFile(probe, logPath, programPath)) return u"/log names the program itself: " + logPath;
  return std::nullopt;
}
