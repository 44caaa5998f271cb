#pragma once
// Sinks that copy what the run traces and the boxes it shows into the install log. Each one
// passes on to the sink that was in place before it (or to none), so they stack on the
// process's sinks rather than replace them.
#include <string>

#include "diag/debug_output.h"
#include "diag/dialogs.h"
#include "diag/install_log.h"

constexpr int kBoxAnsweredOk = 1;  // IDOK

// Every trace line goes on to the next sink as it is, and into the log without its closing CR LF.
class LogDebugOutput : public DebugOutput {
 public:
  LogDebugOutput(InstallLog& log, DebugOutput* next) : log_(log), next_(next) {}
  void OutputDebugStringW(const std::u16string& line) override;
  // A narrow line widens byte by byte, as the formatter widens narrow text.
  void OutputDebugStringA(const std::string& line) override;

 private:
  InstallLog& log_;
  DebugOutput* next_;
};

// A quiet run: no box is shown (nobody is there to close it); each one is logged and answered OK.
class QuietDialogs : public Dialogs {
 public:
  explicit QuietDialogs(InstallLog& log) : log_(log) {}
  int MessageBoxW(WindowHandle owner, const std::u16string& text, const std::optional<std::u16string>& caption,
                  std::uint32_t type) override;

 private:
  InstallLog& log_;
};

// A run with a window: each box is logged, then shown through the next sink, whose answer it
// returns (0, as a box that failed, without one).
class LoggedDialogs : public Dialogs {
 public:
  LoggedDialogs(InstallLog& log, Dialogs* next) : log_(log), next_(next) {}
  int MessageBoxW(WindowHandle owner, const std::u16string& text, const std::optional<std::u16string>& caption,
                  std::uint32_t type) override;

 private:
  InstallLog& log_;
  Dialogs* next_;
};

// Puts the log's sinks in front of the process's current ones for its lifetime (quiet: boxes are
// kept back; otherwise they are still shown) and the previous ones back when it ends. Nest them
// last in, first out.
class ScopedLogSinks {
 public:
  ScopedLogSinks(InstallLog& log, bool quiet);
  ~ScopedLogSinks();
  ScopedLogSinks(const ScopedLogSinks&) = delete;
  ScopedLogSinks& operator=(const ScopedLogSinks&) = delete;

 private:
  DebugOutput* previousOutput_;
  Dialogs* previousDialogs_;
  LogDebugOutput output_;
  QuietDialogs quietDialogs_;
  LoggedDialogs loggedDialogs_;
};
