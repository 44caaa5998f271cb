#pragma once
// In-memory clock and log files for the install log; every call that can fail on Windows can be
// made to fail here.
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "diag/install_log.h"

class FakeClock : public Clock {
 public:
  LocalTime time{2024, 3, 7, 9, 5, 4, 32};
  LocalTime Now() override { return time; }
};

class FakeLogFile : public LogFile {
 public:
  std::vector<std::string> lines;     // what was written
  std::size_t attempts = 0;           // every Append, written or not
  std::set<std::size_t> failAttempts;  // the attempts (0-based) that fail
  bool failAll = false;
  bool Append(const std::string& utf8Line) override {
    const std::size_t attempt = attempts++;
    if (failAll || failAttempts.count(attempt)) return false;
    lines.push_back(utf8Line);
    return true;
  }
};

// Each Open that succeeds gives a new FakeLogFile; lastFile points at it while its taker keeps it.
class FakeLogFiles : public LogFiles {
 public:
  std::optional<std::u16string> defaultPath = std::u16string(u"C:\\ProgramData\\PrinterSetup\\install.log");
  bool foldersFail = false;
  bool openFails = false;
  std::vector<std::u16string> createdFoldersOf;
  std::vector<std::u16string> opened;
  FakeLogFile* lastFile = nullptr;

  std::optional<std::u16string> DefaultPath() override { return defaultPath; }
  bool CreateFoldersOf(const std::u16string& filePath) override {
    createdFoldersOf.push_back(filePath);
    return !foldersFail;
  }
  std::unique_ptr<LogFile> Open(const std::u16string& path) override {
    opened.push_back(path);
    if (openFails) return nullptr;
    auto file = std::make_unique<FakeLogFile>();
    lastFile = file.get();
    return file;
  }
};
