#pragma once
// In-memory sinks for trace lines and boxes.
#include <optional>
#include <string>
#include <vector>

#include "diag/diagnostics.h"

struct RecordedBox {
  WindowHandle owner;
  std::u16string text;
  std::optional<std::u16string> caption;
  std::uint32_t type;
};

class FakeDebugOutput : public DebugOutput {
 public:
  std::vector<std::u16string> wide;
  std::vector<std::string> narrow;
  void OutputDebugStringW(const std::u16string& line) override { wide.push_back(line); }
  void OutputDebugStringA(const std::string& line) override { narrow.push_back(line); }
};

class FakeDialogs : public Dialogs {
 public:
  std::vector<RecordedBox> boxes;
  int MessageBoxW(WindowHandle owner, const std::u16string& text,
                  const std::optional<std::u16string>& caption, std::uint32_t type) override {
    boxes.push_back({owner, text, caption, type});
    return 1;  // IDOK
  }
};

// Installs the fakes as the process's sinks for the lifetime of a test.
class ScopedFakeDiagnostics {
 public:
  FakeDebugOutput output;
  FakeDialogs dialogs;
  ScopedFakeDiagnostics() {
    SetDebugOutput(&output);
    SetDialogs(&dialogs);
  }
  ~ScopedFakeDiagnostics() {
    SetDebugOutput(nullptr);
    SetDialogs(nullptr);
  }
};
