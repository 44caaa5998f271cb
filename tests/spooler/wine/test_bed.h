#pragma once
// What every case stands on: the real Win32 print system for this OS width, recording sinks for
// trace lines and boxes, and a check that no dialog box had to be closed behind the case.
#include <functional>

#include "config/win32/install_context_win.h"
#include "diag/fake_diagnostics.h"
#include "diag/win32/wide.h"
#include "spooler/print_system.h"
#include "spooler/win32/print_platform_win.h"
#include "wine_support.h"

struct TestBed {
  ScopedFakeDiagnostics diagnostics;
  int osBitness;
  Win32PrintSystem system;

  TestBed() : osBitness(GetOsBitness()), system(osBitness) {}
  ~TestBed() {
    std::vector<std::u16string> stray = wine_test::TakeStrayBoxes();
    if (!stray.empty()) wcheck::Fail(__FILE__, __LINE__, "a dialog box had to be closed: " + wcheck::Show(stray));
  }
  PrintPlatform& Platform() { return system.Platform(); }
  const std::vector<RecordedBox>& Boxes() const { return diagnostics.dialogs.boxes; }
  bool Traced(const std::u16string& text) const {
    for (const std::u16string& line : diagnostics.output.wide) {
      if (line.find(text) != std::u16string::npos) return true;
    }
    return false;
  }
};

// Runs its clean-up when the case starts and again when it ends, failed or not, so that a rerun
// in the same prefix starts from the same state.
class CleanUp {
 public:
  explicit CleanUp(std::function<void()> action) : action_(std::move(action)) { action_(); }
  ~CleanUp() { action_(); }
  CleanUp(const CleanUp&) = delete;
  CleanUp& operator=(const CleanUp&) = delete;

 private:
  std::function<void()> action_;
};
