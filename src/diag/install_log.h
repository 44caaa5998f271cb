#pragma once
// The install log: what a run did, one event a line, appended to a file that support reads
// after an unattended deployment (nobody saw the boxes). Lines are UTF-8,
// "<YYYY-MM-DD HH:MM:SS.mmm local time> <text>"; a CR or LF inside a text is written as the two
// characters "\r" or "\n", so that one event never spans two lines.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct LocalTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// The machine's local time (Win32: GetLocalTime).
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() = 0;
};

// A file opened for appending. Append writes the line and a CR LF at the end of the file in one
// write; false when that failed.
class LogFile {
 public:
  virtual ~LogFile() = default;
  virtual bool Append(const std::string& utf8Line) = 0;
};

// Where logs go on this machine: the default path, folders, files. The Win32 one is
// Win32LogFiles (diag/win32/install_log_win.h).
class LogFiles {
 public:
  virtual ~LogFiles() = default;
  // %ProgramData%\PrinterSetup\install.log; nothing when the system cannot say where
  // %ProgramData% is.
  virtual std::optional<std::u16string> DefaultPath() = 0;
  // Creates the folders of a file's path that do not exist yet; true when its folder exists.
  virtual bool CreateFoldersOf(const std::u16string& filePath) = 0;
  // Opens a file for appending, creating it when missing; null when it cannot be opened.
  virtual std::unique_ptr<LogFile> Open(const std::u16string& path) = 0;
};

inline constexpr char16_t kInstallLogFolder[] = u"PrinterSetup";
inline constexpr char16_t kInstallLogName[] = u"install.log";

// "YYYY-MM-DD HH:MM:SS.mmm", each field zero-padded to its width.
std::string TimestampText(const LocalTime& time);

// UTF-16 to UTF-8; a surrogate that is not half of a pair becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// The text with every CR written as "\r" and every LF as "\n".
std::u16string EscapeLineBreaks(std::u16string_view text);

// The text without the CRs and LFs at its end.
std::u16string_view WithoutTrailingLineBreaks(std::u16string_view text);

// The word a result line gives an exit code: 0 "installed", 1602 "not installed", 1603 "failed",
// 1618 "already running", 1639 "invalid command line", any other "exit code".
// An uninstall says "removed", "not removed" for 0 and 1602; a verification "compliant" and "not
// compliant" for 0 and 1.
enum class RunKind { Install, Removal, Verification };
std::u16string_view ResultWord(int exitCode, RunKind kind = RunKind::Install);

// <folder>\PrinterSetup\install.log for the %ProgramData% folder given.
std::u16string InstallLogPathUnder(std::u16string_view programData);

// The folders that hold a file, outermost first, each as a full path, without the root that no
// one can create ("C:\", "\\server\share\", "\\?\C:\"): C:\a\b\x.log gives C:\a and C:\a\b.
// Both separators are taken; a path without a folder gives none.
std::vector<std::u16string> FolderChain(std::u16string_view filePath);

class InstallLog {
 public:
  // file: null when no log could be opened; the lines are then dropped.
  InstallLog(Clock& clock, LogFile* file) : clock_(clock), file_(file) {}

  // One line; a line that cannot be written is counted and the run goes on.
  void Line(std::u16string_view text);
  // "box: <caption>: <text>", for a message box shown or kept back. No caption is written as
  // "Error", the title Windows gives such a box; the line breaks that end a box text are left out.
  void Box(std::optional<std::u16string_view> caption, std::u16string_view text);
  // "result: <code> <word>": how the run ended.
  // word: in place of the exit code's own word when not empty.
  void Result(int exitCode, RunKind kind = RunKind::Install, std::u16string_view word = {});

  bool HasFile() const { return file_ != nullptr; }
  std::size_t FailedLines() const { return failedLines_; }

 private:
  Clock& clock_;
  LogFile* file_;
  std::size_t failedLines_ = 0;
};

// The log a run writes to: the /log path when one was given, else the default path for a quiet
// run, else none (null without a trace). Its folders are created first. A log that cannot be
// opened stops nothing: it gives null and a trace line on the debugger output says so.
std::unique_ptr<LogFile> OpenRunLog(LogFiles& files, const std::optional<std::u16string>& requestedPath, bool quiet);
