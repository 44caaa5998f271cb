#pragma once
// The install log's Windows side: the local clock and the log file on disk.
#include <memory>
#include <optional>
#include <string>

#include "diag/install_log.h"

class Win32Clock : public Clock {
 public:
  LocalTime Now() override;  // GetLocalTime
};

// Opens a file for appending (FILE_APPEND_DATA, others may read and write it too), creating it
// when missing. Null when it cannot be opened, or when the name is a link or a folder rather
// than a plain file: the log is written as SYSTEM, in a folder ordinary users may write to.
std::unique_ptr<LogFile> OpenWin32LogFile(const std::u16string& path);

// Creates each folder of a file's path that does not exist yet (CreateDirectoryW a level);
// true when the file's folder exists afterwards.
bool CreateWin32FoldersOf(const std::u16string& filePath);

// %ProgramData%\PrinterSetup\install.log: the common application data folder as the shell
// knows it, else the ProgramData environment variable; nothing when neither says.
std::optional<std::u16string> Win32DefaultInstallLogPath();

class Win32LogFiles : public LogFiles {
 public:
  std::optional<std::u16string> DefaultPath() override { return Win32DefaultInstallLogPath(); }
  bool CreateFoldersOf(const std::u16string& filePath) override { return CreateWin32FoldersOf(filePath); }
  std::unique_ptr<LogFile> Open(const std::u16string& path) override { return OpenWin32LogFile(path); }
};
