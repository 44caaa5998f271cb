#include "fake_print_services.h"

#include "spooler/driver_files.h"

std::u16string FakeFileSystem::Key(const std::u16string& path) {
  std::u16string key = path;
  for (char16_t& unit : key) {
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  }
  return key;
}

std::uint32_t FakeFileSystem::GetSystemDirectoryW(std::u16string& directory, std::uint32_t capacity) {
  directory.clear();
  if (Enter("GetSystemDirectoryW", "GetSystemDirectoryW(" + std::to_string(capacity) + ")")) return 0;
  // As the real call: the length on success, the size needed with its NUL when too small.
  if (systemDirectory.size() + 1 > capacity) return static_cast<std::uint32_t>(systemDirectory.size() + 1);
  directory = systemDirectory;
  return static_cast<std::uint32_t>(systemDirectory.size());
}

bool FakeFileSystem::PathFileExistsW(const std::u16string& path) {
  if (Enter("PathFileExistsW", "PathFileExistsW(" + Quoted(path) + ")")) return false;
  if (!Exists(path)) {
    return false;
  }
  return true;
}

bool FakeFileSystem::CopyFileW(const std::u16string& existingFile, const std::u16string& newFile, bool failIfExists) {
  if (Enter("CopyFileW", "CopyFileW(" + Quoted(existingFile) + ", " + Quoted(newFile) + ", " +
                             (failIfExists ? "1" : "0") + ")")) {
    return false;
  }
  if (!Exists(existingFile)) {
    return false;
  }
  if (failIfExists && Exists(newFile)) {  // ERROR_FILE_EXISTS
    return false;
  }
  AddFile(newFile, Bytes(existingFile));
  copies.emplace_back(existingFile, newFile);
  return true;
}

Status FakeFileSystem::WriteBytes(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
  if (auto code = Failing("WriteBytes", "WriteBytes(" + Quoted(path) + ")")) return Status::Failed(*code);
  AddFile(path, bytes);
  return {};
}

Read<std::vector<std::uint8_t>> FakeFileSystem::ReadBytes(const std::u16string& path) {
  using Result = Read<std::vector<std::uint8_t>>;
  if (auto code = Failing("ReadBytes", "ReadBytes(" + Quoted(path) + ")")) return Result::Failed(ReadStage::FillFailed, *code);
  if (!Exists(path)) return Result::Failed(ReadStage::SizeQueryFailed, kErrorFileNotFound);
  if (!Readable(path)) return Result::Failed(ReadStage::SizeQueryFailed, kErrorAccessDenied);
  return Result::Of(Bytes(path));
}

std::uint32_t FakeVersionInstaller::VerInstallFileW(std::uint32_t flags, const std::u16string& srcFileName,
                                                    const std::u16string& destFileName, const std::u16string& srcDir,
                                                    const std::u16string& destDir, const std::u16string& curDir,
                                                    std::u16string& tmpFile, std::uint32_t& tmpFileLength) {
  tempLengths.push_back(tmpFileLength);
  tmpFile.clear();
  std::string call = "VerInstallFileW(" + std::to_string(flags) + ", " + Quoted(srcFileName) + ", " +
                     Quoted(destFileName) + ", " + Quoted(srcDir) + ", " + Quoted(destDir) + ", " + Quoted(curDir) +
                     ")";
  if (Enter("VerInstallFileW", call)) return kVifCannotReadSrc;
  auto forced = flagsFor.find(srcFileName);
  if (forced != flagsFor.end()) return forced->second;
  if (!files_.Readable(JoinPath(srcDir, srcFileName))) return kVifCannotReadSrc;
  files_.AddFile(JoinPath(destDir, destFileName), files_.Bytes(JoinPath(srcDir, srcFileName)));
  return 0;
}

Status FakeShell::ShellExecuteExW(ShellExecuteInfo& info) {
  info.hProcess = 0;
  std::string call = "ShellExecuteExW(" + Quoted(info.lpVerb) + ", " + Quoted(info.lpFile) + ", " +
                     Quoted(info.lpParameters) + ", " + Quoted(info.lpDirectory) + ", " + std::to_string(info.nShow) +
                     ")";
  executed.push_back(info);
  if (std::optional<std::uint32_t> error = Failing("ShellExecuteExW", call)) return Status::Failed(*error);
  // Windows answers a missing file so, and without SEE_MASK_FLAG_NO_UI it also shows its own box.
  if (!files_.Exists(info.lpFile)) {
    if (!(info.fMask & kSeeMaskFlagNoUi)) shellBoxes.push_back(info.lpFile);
    return Status::Failed(2);
  }
  if (info.fMask & kSeeMaskNoCloseProcess) {
    info.hProcess = next_++;
    openProcesses.insert(info.hProcess);
  }
  if (onRun) onRun(info);
  return {};
}

std::uint32_t FakeShell::WaitForSingleObject(ProcessHandle handle, std::uint32_t milliseconds) {
  if (Enter("WaitForSingleObject", "WaitForSingleObject(" + std::to_string(handle) + ", " +
                                       std::to_string(milliseconds) + ")")) {
    return 0xFFFFFFFF;  // WAIT_FAILED
  }
  return openProcesses.count(handle) ? 0 : 0xFFFFFFFF;
}

bool FakeShell::CloseHandle(ProcessHandle handle) {
  if (Enter("CloseHandle", "CloseHandle(" + std::to_string(handle) + ")")) return false;
  return openProcesses.erase(handle) != 0;
}

std::vector<std::u16string> FakePrintPlatform::Traces() const {
  std::vector<std::u16string> lines;
  const std::u16string prefix = kTracePrefix;
  for (const std::u16string& line : diagnostics.output.wide) {
    lines.push_back(line.compare(0, prefix.size(), prefix) == 0 ? line.substr(prefix.size()) : line);
  }
  return lines;
}

void AddDriverPackage(FakeFileSystem& files, const InstallContext& context, bool withIni, bool withUi, bool withUni) {
  DriverFileNames names =
      BuildDriverFileNames(context.driverPrefix, context.languageCode, context.installDir, context.setupDirName);
  // Each file holds its own name, so that a copy can be told from another file.
  const auto add = [&](const std::u16string& name) {
    std::vector<std::uint8_t> bytes(name.begin(), name.end());
    files.AddFile(JoinPath(names.sourceDir, name), std::move(bytes));
  };
  add(names.gpdFile);
  add(names.rcDll);
  if (withIni) add(names.iniFile);
  if (withUi) add(names.uiDll);
  if (withUni) add(names.uniDll);
  for (const char16_t* name : kUnidrvFiles) add(name);
  add(u"srclient.dll");
}

void FakePrintPlatform::CopyToVersionDirectory(const DriverInfo3& driver, bool replace) {
  auto directory = spooler.driverDirectories.find(driver.environment);
  if (directory == spooler.driverDirectories.end()) return;
  std::vector<std::u16string> names = {driver.driverPath, driver.dataFile, driver.configFile, driver.helpFile};
  for (std::size_t start = 0; start < driver.dependentFiles.size();) {
    const std::size_t end = driver.dependentFiles.find(u'\0', start);
    const std::size_t stop = end == std::u16string::npos ? driver.dependentFiles.size() : end;
    if (stop > start) names.push_back(driver.dependentFiles.substr(start, stop - start));
    start = stop + 1;
  }
  for (const std::u16string& name : names) {
    const std::u16string source = JoinPath(directory->second, name);
    const std::u16string target = JoinPath(JoinPath(directory->second, u"3"), name);
    if (files.Exists(source) && (replace || !files.Exists(target))) files.AddFile(target, files.Bytes(source));
  }
}

std::u16string ErrorBox(const std::u16string& text, std::uint32_t code) {
  const std::string digits = std::to_string(code);
  return text + u" - ERROR CODE: " + std::u16string(digits.begin(), digits.end()) + u"\r\n";
}

RecordedBox BoxOf(const Installed& installed, WindowHandle owner) {
  if (installed.ok()) return {owner, u"Add Printer Successful - " + installed.printerName, u"OK", 0};
  return {owner, ErrorBox(installed.failure.call, installed.failure.code), u"ERROR", 0};
}
