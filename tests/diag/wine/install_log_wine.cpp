// The install log's file on a real file system: appends across opens and from two opens at
// once, folders made on the way, and paths that cannot hold a log reported as not opened.
#include <windows.h>

#include <string>
#include <vector>

#include "diag/diagnostics.h"
#include "diag/fake_diagnostics.h"
#include "diag/install_log.h"
#include "diag/win32/install_log_win.h"
#include "diag/win32/wide.h"
#include "support/wine_check.h"

namespace {

// A fresh folder under %TEMP% for one case; removed with what is in it when the case ends.
class Scratch {
 public:
  Scratch() {
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    REQUIRE(length > 0 && length <= MAX_PATH);
    static int count = 0;
    root_ = U16(temp) + u"install_log_wine_" + Number(GetCurrentProcessId()) + u"_" + Number(++count);
    REQUIRE(CreateDirectoryW(W(root_), nullptr));
  }
  ~Scratch() { Remove(root_); }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  std::u16string Path(const std::u16string& relative) const { return root_ + u"\\" + relative; }

 private:
  static std::u16string Number(unsigned long value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  }
  static void Remove(const std::u16string& folder) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(W(folder + u"\\*"), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::u16string name = U16(found.cFileName);
        if (name == u"." || name == u"..") continue;
        const std::u16string path = folder + u"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          Remove(path);
        } else {
          DeleteFileW(W(path));
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(W(folder));
  }

  std::u16string root_;
};

// The whole file as bytes; nothing when it cannot be read.
std::optional<std::string> ReadAll(const std::u16string& path) {
  HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string content;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0) content.append(chunk, got);
  CloseHandle(file);
  return content;
}

bool IsFolder(const std::u16string& path) {
  DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteFileText(const std::u16string& path, const std::string& text) {
  HANDLE file = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

CASE(AppendsAcrossTwoOpensAndKeepsWhatWasThere) {
  Scratch scratch;
  const std::u16string path = scratch.Path(u"install.log");
  REQUIRE(WriteFileText(path, "earlier run\r\n"));
  {
    std::unique_ptr<LogFile> file = OpenWin32LogFile(path);
    REQUIRE(file != nullptr);
    CHECK(file->Append("first"));
  }
  {
    std::unique_ptr<LogFile> file = OpenWin32LogFile(path);
    REQUIRE(file != nullptr);
    CHECK(file->Append("second"));
    CHECK(file->Append(""));
  }
  CHECK_EQ(ReadAll(path), std::optional<std::string>("earlier run\r\nfirst\r\nsecond\r\n\r\n"));
}

CASE(TwoOpenLogsBothAppendAndTheLogCanBeReadMeanwhile) {
  Scratch scratch;
  const std::u16string path = scratch.Path(u"install.log");
  std::unique_ptr<LogFile> one = OpenWin32LogFile(path);
  std::unique_ptr<LogFile> two = OpenWin32LogFile(path);
  REQUIRE(one != nullptr);
  REQUIRE(two != nullptr);
  CHECK(one->Append("a"));
  CHECK(two->Append("b"));
  CHECK(one->Append("c"));
  // Each write goes to the end as it is then, not where this handle wrote last.
  CHECK_EQ(ReadAll(path), std::optional<std::string>("a\r\nb\r\nc\r\n"));
}

CASE(MissingFoldersAreCreatedLevelByLevel) {
  Scratch scratch;
  const std::u16string path = scratch.Path(u"ProgramData\\PrinterSetup\\deep\\install.log");
  CHECK(!IsFolder(scratch.Path(u"ProgramData")));
  CHECK(CreateWin32FoldersOf(path));
  CHECK(IsFolder(scratch.Path(u"ProgramData\\PrinterSetup\\deep")));
  // Again with everything there already.
  CHECK(CreateWin32FoldersOf(path));
  // Forward slashes as well.
  CHECK(CreateWin32FoldersOf(scratch.Path(u"fwd/a/install.log")));
  CHECK(IsFolder(scratch.Path(u"fwd\\a")));
}

CASE(AWholeRunWritesTimestampedUtf8Lines) {
  Scratch scratch;
  const std::u16string path = scratch.Path(u"logs\\install.log");
  Win32LogFiles files;
  ScopedFakeDiagnostics diagnostics;
  std::unique_ptr<LogFile> file = OpenRunLog(files, path, true);
  REQUIRE(file != nullptr);
  CHECK(diagnostics.output.wide.empty());
  Win32Clock clock;
  InstallLog log(clock, file.get());
  log.Line(u"\u6807\u7B7E\u6253\u5370\u673A added\r\n");
  log.Result(0);
  CHECK_EQ(log.FailedLines(), std::size_t{0});
  file.reset();
  std::optional<std::string> content = ReadAll(path);
  REQUIRE(content.has_value());
  const std::string first = "\xE6\xA0\x87\xE7\xAD\xBE\xE6\x89\x93\xE5\x8D\xB0\xE6\x9C\xBA added\\r\\n\r\n";
  const std::string second = "result: 0 installed\r\n";
  REQUIRE_EQ(content->size(), 24 + first.size() + 24 + second.size());
  CHECK_EQ(content->substr(24, first.size()), first);
  CHECK_EQ(content->substr(24 + first.size() + 24), second);
  // "YYYY-MM-DD HH:MM:SS.mmm " from the local clock.
  const std::string stamp = content->substr(0, 24);
  const std::string shape = "dddd-dd-dd dd:dd:dd.ddd ";
  for (std::size_t i = 0; i < shape.size(); ++i) {
    CHECK(shape[i] == 'd' ? (stamp[i] >= '0' && stamp[i] <= '9') : stamp[i] == shape[i]);
  }
  SYSTEMTIME now{};
  GetLocalTime(&now);
  CHECK_EQ(stamp.substr(0, 4), std::to_string(now.wYear));
}

CASE(APathUnderAFileIsNotOpenedAndSaysSo) {
  Scratch scratch;
  const std::u16string plain = scratch.Path(u"plain.txt");
  REQUIRE(WriteFileText(plain, "not a folder"));
  const std::u16string under = plain + u"\\sub\\install.log";
  CHECK(!CreateWin32FoldersOf(under));
  CHECK(OpenWin32LogFile(under) == nullptr);
  CHECK(OpenWin32LogFile(plain + u"\\install.log") == nullptr);
  Win32LogFiles files;
  ScopedFakeDiagnostics diagnostics;
  CHECK(OpenRunLog(files, under, true) == nullptr);
  CHECK_EQ(diagnostics.output.wide,
           std::vector<std::u16string>{u"Tollinder - Install log: cannot open " + under + u", no log is written"});
  CHECK_EQ(ReadAll(plain), std::optional<std::string>("not a folder"));
}

CASE(AHardLinkUnderTheLogsNameIsNotWrittenThrough) {
  // Someone who may write to the log's folder links the name to a file only SYSTEM may change.
  Scratch scratch;
  const std::u16string target = scratch.Path(u"protected.ini");
  const std::u16string path = scratch.Path(u"install.log");
  REQUIRE(WriteFileText(target, "[keep]\r\n"));
  REQUIRE(CreateHardLinkW(W(path), W(target), nullptr));
  CHECK(OpenWin32LogFile(path) == nullptr);
  CHECK_EQ(ReadAll(target), std::optional<std::string>("[keep]\r\n"));
}

CASE(AFolderOrAnEmptyPathIsNotALog) {
  Scratch scratch;
  REQUIRE(CreateDirectoryW(W(scratch.Path(u"folder.log")), nullptr));
  CHECK(OpenWin32LogFile(scratch.Path(u"folder.log")) == nullptr);
  CHECK(OpenWin32LogFile(u"") == nullptr);
}

CASE(TheDefaultPathIsUnderProgramData) {
  std::optional<std::u16string> path = Win32DefaultInstallLogPath();
  REQUIRE(path.has_value());
  wchar_t programData[MAX_PATH + 1] = {};
  DWORD length = GetEnvironmentVariableW(L"ProgramData", programData, MAX_PATH + 1);
  REQUIRE(length > 0 && length <= MAX_PATH);
  CHECK_EQ(*path, InstallLogPathUnder(U16(programData)));
  Win32LogFiles files;
  CHECK_EQ(files.DefaultPath(), path);
}

}  // namespace

int wmain() { return wcheck::RunAll(); }
