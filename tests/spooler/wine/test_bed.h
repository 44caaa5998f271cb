#pragma once
// What every case stands on: the real Win32 print system for this OS width, recording sinks for
// trace lines and boxes, and a check that no dialog box had to be closed behind the case.
#include <functional>

#include "config/win32/install_context_win.h"
#include "diag/fake_diagnostics.h"
#include "diag/win32/wide.h"
#include "spooler/print_system.h"
#include "spooler/uninstall.h"
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
  // An install or update, with the one box its outcome is shown with (as a road shows it): 1
  // when the printer was installed.
  int Install(const InstallContext& context, const std::u16string& port) {
    return Show(InstallPrinter(context, Platform(), port));
  }
  int Update(const InstallContext& context, const std::u16string& port, const std::u16string& existing) {
    return Show(UpdatePrinter(context, Platform(), port, existing));
  }
  int Show(const Installed& installed) {
    if (!installed.ok()) {
      ShowOutcome(0, installed.failure);
      return 0;
    }
    ShowMessage(0, u"Add Printer Successful - " + installed.printerName, std::u16string(u"OK"));
    return 1;
  }
  // A port made as a road makes it, its box included: 1 when it was made or was there.
  int AddTcpIpPort(const std::u16string& name) {
    const Outcome outcome = AddStandardTcpIpPort(Platform(), name, name, kStandardRawPort);
    ShowOutcome(0, outcome);
    return outcome.ok() ? 1 : 0;
  }
  const std::vector<RecordedBox>& Boxes() const { return diagnostics.dialogs.boxes; }
  bool Traced(const std::u16string& text) const {
    for (const std::u16string& line : diagnostics.output.wide) {
      if (line.find(text) != std::u16string::npos) return true;
    }
    return false;
  }
};

// Every step of an uninstall left its object gone.
inline bool AllRemoved(const std::vector<UninstallStep>& steps) {
  for (const UninstallStep& step : steps) {
    if (!step.removed) return false;
  }
  return true;
}

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
