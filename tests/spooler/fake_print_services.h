#pragma once
// In-memory file system, version installer and shell for the print system, sharing the
// spooler fake's call log; and FakePrintPlatform, all of them wired into one PrintPlatform.
#include <functional>
#include <set>

#include "diag/fake_diagnostics.h"
#include "fake_call_log.h"
#include "fake_spooler.h"
#include "spooler/print_system.h"

constexpr std::uint32_t kVifCannotReadSrc = 0x00010000;  // VIF_CANNOTREADSRC

// Files by full path; paths compare without regard to letter case, as on Windows.
class FakeFileSystem : public FileSystem, public FakeSeam {
 public:
  using FakeSeam::FakeSeam;
  std::u16string systemDirectory = u"C:\\windows\\system32";
  void AddFile(const std::u16string& path, std::vector<std::uint8_t> bytes = {}) { files_[Key(path)] = std::move(bytes); }
  void RemoveFile(const std::u16string& path) { files_.erase(Key(path)); }
  // The file is there but cannot be opened for reading (ReadBytes: ERROR_ACCESS_DENIED;
  // VerInstallFileW: VIF_CANNOTREADSRC).
  void MakeUnreadable(const std::u16string& path) { unreadable_.insert(Key(path)); }
  bool Readable(const std::u16string& path) const { return Exists(path) && !unreadable_.count(Key(path)); }
  bool Exists(const std::u16string& path) const { return files_.count(Key(path)) != 0; }
  // A file's bytes (none for a file that is not there).
  std::vector<std::uint8_t> Bytes(const std::u16string& path) const {
    auto found = files_.find(Key(path));
    return found == files_.end() ? std::vector<std::uint8_t>{} : found->second;
  }
  std::vector<std::pair<std::u16string, std::u16string>> copies;

  std::uint32_t GetSystemDirectoryW(std::u16string& directory, std::uint32_t capacity) override;
  bool PathFileExistsW(const std::u16string& path) override;
  bool CopyFileW(const std::u16string& existingFile, const std::u16string& newFile, bool failIfExists) override;
  Read<std::vector<std::uint8_t>> ReadBytes(const std::u16string& path) override;
  Status WriteBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) override;

 private:
  static std::u16string Key(const std::u16string& path);
  std::map<std::u16string, std::vector<std::uint8_t>> files_;
  std::set<std::u16string> unreadable_;
};

// Installs a file present in the fake file system by copying it there; flagsFor forces a result.
class FakeVersionInstaller : public VersionInstaller, public FakeSeam {
 public:
  FakeVersionInstaller(CallLog& log, FakeFileSystem& files) : FakeSeam(log), files_(files) {}
  std::map<std::u16string, std::uint32_t> flagsFor;
  // The temporary-name buffer's length as each call received it.
  std::vector<std::uint32_t> tempLengths;

  std::uint32_t VerInstallFileW(std::uint32_t flags, const std::u16string& srcFileName,
                                const std::u16string& destFileName, const std::u16string& srcDir,
                                const std::u16string& destDir, const std::u16string& curDir, std::u16string& tmpFile,
                                std::uint32_t& tmpFileLength) override;

 private:
  FakeFileSystem& files_;
};

// Starts a "process" for any file the fake file system holds; onRun plays the tool.
class FakeShell : public Shell, public FakeSeam {
 public:
  FakeShell(CallLog& log, FakeFileSystem& files) : FakeSeam(log), files_(files) {}
  std::vector<ShellExecuteInfo> executed;
  std::function<void(const ShellExecuteInfo&)> onRun;
  std::set<ProcessHandle> openProcesses;
  // The files the shell's own "not found" box would have named (a start without SEE_MASK_FLAG_NO_UI).
  std::vector<std::u16string> shellBoxes;

  Status ShellExecuteExW(ShellExecuteInfo& info) override;
  std::uint32_t WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) override;
  bool CloseHandle(ProcessHandle handle) override;

 private:
  FakeFileSystem& files_;
  ProcessHandle next_ = 0x700;
};

// Every print-system fake over one log, with the trace and box sinks.
struct FakePrintPlatform {
  explicit FakePrintPlatform(int osBitness = 32)
      : spooler(log),
        files(log),
        versions(log, files),
        shell(log, files),
        platform{spooler, versions, files, shell, osBitness} {
    spooler.onDriverRegistered = [this](const DriverInfo3& driver, bool replace) { CopyToVersionDirectory(driver, replace); };
    spooler.driverFileExists = [this](const std::u16string& path) { return files.Exists(path); };
    spooler.environment = osBitness == 64 ? u"Windows x64" : u"Windows NT x86";
  }
  FakePrintPlatform(const FakePrintPlatform&) = delete;
  FakePrintPlatform& operator=(const FakePrintPlatform&) = delete;

  CallLog log;
  ScopedFakeDiagnostics diagnostics;
  FakeSpooler spooler;
  FakeFileSystem files;
  FakeVersionInstaller versions;
  FakeShell shell;
  PrintPlatform platform;

  // As the spooler: a registered driver's files go from the driver directory into its version
  // directory "3"; one already there stays unless every file is to be replaced.
  void CopyToVersionDirectory(const DriverInfo3& driver, bool replace);

  // The boxes shown and the trace lines without their prefix.
  const std::vector<RecordedBox>& Boxes() const { return diagnostics.dialogs.boxes; }
  std::vector<std::u16string> Traces() const;
};

// "<text> - ERROR CODE: <code>\r\n", an error box's text.
std::u16string ErrorBox(const std::u16string& text, std::uint32_t code);

// The one box an install's or update's outcome is shown with: success naming the printer
// (caption "OK"), or the failed step's ERROR box.
RecordedBox BoxOf(const Installed& installed, WindowHandle owner);

// A driver package of prefix and language under installDir\setupDirName\languageCode: the GPD,
// the RC DLL, the UNIDRV files and srclient.dll, and the three optional files when asked.
void AddDriverPackage(FakeFileSystem& files, const InstallContext& context, bool withIni = true, bool withUi = true,
                      bool withUni = true);
